#include "GamePacing.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using game::GamePacing;

namespace {

struct PacingCase {
    const char* name;
    std::vector<int> elapsed;  // one update call each
    int firstHalfResult;       // what the game's first half-step returns
    std::vector<int> halfSteps; // the half-steps the game saw, in order
    int lastResult;
    bool framePending;
};

} // namespace

TEST(GamePacing, StepsComeInTwoHalvesOfTheGatheredTimeOnlyOnceTenMillisecondsHaveGathered)
{
    const PacingCase cases[] = {
        {"3+3+3 is no step yet", {3, 3, 3}, 1, {}, 1, false},
        {"3+3+3+3", {3, 3, 3, 3}, 1, {6, 6}, 1, true},
        {"9", {9}, 1, {}, 1, false},
        {"10", {10}, 1, {5, 5}, 1, true},
        {"11 drops the odd millisecond", {11}, 1, {5, 5}, 1, true},
        {"11 then 9: nothing is carried over", {11, 9}, 1, {5, 5}, 1, true},
        {"99", {99}, 1, {49, 49}, 1, true},
        {"100", {100}, 1, {50, 50}, 1, true},
        {"250 counts as 100", {250}, 1, {50, 50}, 1, true},
        {"257 counts as 107", {257}, 1, {53, 53}, 1, true},
        {"a huge stall", {INT_MAX}, 1, {53, 53}, 1, true},
        {"5 gathered before a huge stall", {5, INT_MAX}, 1, {51, 51}, 1, true},
        {"first half quits: no second", {20}, 0, {10}, 0, true},
    };
    for (const PacingCase& c : cases) {
        SCOPED_TRACE(c.name);
        GamePacing pacing;
        std::vector<int> seen;
        int result = -1;
        for (const int ms : c.elapsed)
            result = pacing.update(ms, [&](int half) {
                seen.push_back(half);
                return seen.size() == 1 ? c.firstHalfResult : 1;
            });
        EXPECT_EQ(seen, c.halfSteps);
        EXPECT_EQ(result, c.lastResult);
        EXPECT_EQ(pacing.takePendingFrame(), c.framePending);
        EXPECT_FALSE(pacing.takePendingFrame()) << "one frame per step";
    }
}
