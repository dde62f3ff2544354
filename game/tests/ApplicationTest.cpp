#include "GamePacing.h"
#include "ProgramGlobals.h"
#include "Vornic3DApp.h"

#include "core/AssertationFailedException.h"
#include "framework/App.h"
#include "framework/FrameworkSettings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

// The screen the platform reports sizes the game and its display; the pools
// are the game's own. The last row puts the default screen back.
TEST(Application, FactoryTakesTheScreenSizeAndSetsTheGamesPools)
{
    for (const char* screen : {"480x800", ""}) {
        SCOPED_TRACE(screen);
        if (*screen != '\0')
            setenv("VORNIC3D_SCREEN", screen, 1);
        framework::FrameworkSettings settings;
        const std::unique_ptr<framework::App> app(framework::createApplication(&settings));
        unsetenv("VORNIC3D_SCREEN");
        const int size = *screen != '\0' ? 480 * 1000 + 800 : 240 * 1000 + 400;
        EXPECT_EQ(game::g_screenWidth * 1000 + game::g_screenHeight, size);
        EXPECT_EQ(settings.display_config.width * 1000 + settings.display_config.height, size);
        EXPECT_EQ(settings.memory_size, 5242880);
        EXPECT_EQ(settings.string_pool_size, 40960);
        EXPECT_THROW(app->update(20), AssertationFailedException) << "no game before createDevice";
    }
}

TEST(GamePacing, StepsComeInTwoHalvesOfTheGatheredTimeOnlyOnceTenMillisecondsHaveGathered)
{
    // One update call for each elapsed time; what the game's first half-step
    // returns; the half-steps the game saw and the last result.
    const struct {
        const char* name;
        std::vector<int> elapsed;
        int firstHalfResult;
        std::vector<int> halfSteps;
        int lastResult;
    } cases[] = {
        {"3+3+3+3", {3, 3, 3, 3}, 1, {6, 6}, 1},
        {"9", {9}, 1, {}, 1},
        {"10", {10}, 1, {5, 5}, 1},
        {"11 drops the odd millisecond; 9 more is no step", {11, 9}, 1, {5, 5}, 1},
        {"257 counts as 107", {257}, 1, {53, 53}, 1},
        {"a huge stall", {INT_MAX}, 1, {53, 53}, 1},
        {"5 gathered before a huge stall", {5, INT_MAX}, 1, {51, 51}, 1},
        {"first half quits: no second", {20}, 0, {10}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        game::GamePacing pacing;
        std::vector<int> seen;
        int result = -1;
        for (const int ms : c.elapsed)
            result = pacing.update(ms, [&](int half) {
                seen.push_back(half);
                return seen.size() == 1 ? c.firstHalfResult : 1;
            });
        EXPECT_EQ(seen, c.halfSteps);
        EXPECT_EQ(result, c.lastResult);
        EXPECT_EQ(pacing.takePendingFrame(), !seen.empty()) << "a frame is due after a step";
        EXPECT_FALSE(pacing.takePendingFrame()) << "one frame per step";
    }
}
