#include "SceneGraphTest.h"

#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/KeyframeSequence.h"

#include <climits>
#include <limits>
#include <string>
#include <vector>

using render::AnimationController;
using render::AnimationTrack;
using render::KeyframeSequence;
using namespace testsupport;

namespace {

class KeyframeTest : public EngineTest {};

// What a sequence reports; "-" for a duration or keyframe not set.
std::string describeSequence(const KeyframeSequence& s)
{
    const bool hasDuration = outcomeOf([&] { s.getDuration(); }) == accepted();
    std::string text = "repeat " + std::to_string(s.getRepeatMode()) + " duration " +
                       (hasDuration ? std::to_string(s.getDuration()) : "-") + " keys";
    std::vector<float> values(static_cast<size_t>(s.getComponentCount()));
    for (int i = 0; i < s.getKeyframeCount(); ++i) {
        const bool set = outcomeOf([&] { s.getKeyframe(i, nullptr, 0); }) == accepted();
        text += set ? " " + std::to_string(s.getKeyframe(i, values.data(), s.getComponentCount())) : " -";
        for (size_t v = 0; set && v < values.size(); ++v)
            text += ":" + std::to_string(static_cast<int>(values[v]));
    }
    return text;
}

} // namespace

TEST_F(KeyframeTest, SequenceConstructionChecksItsCountsInOrder)
{
    const struct {
        int keyframes, components, interpolation;
        Outcome outcome;
    } cases[] = {
        {-1, 0, 175, refused("Number of key frames less than zero.")},
        {0, 0, 181, refused("Invalid interpolation mode.")},
        {0, 0, 176, refused("Number of components less than or equal to zero.")},
        {65536, 32768, 176, refused("Number of key frame values too large.")},
        {0, 1, 176, accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.keyframes << " " << c.components << " " << c.interpolation);
        EXPECT_EQ(outcomeOf([&] {
                      core::Ref<KeyframeSequence>(
                          VORNIC3D_NEW KeyframeSequence(c.keyframes, c.components, c.interpolation));
                  }),
                  c.outcome);
    }
}

TEST_F(KeyframeTest, SequenceCallsCheckBeforeTheyStoreOrCopy)
{
    const float v[] = {1, -2, 3};
    float out[2] = {};
    using S = KeyframeSequence;
    const std::vector<SetterCase<S>> cases = {
        {"new sequence", [](S&) {}, accepted(), "repeat 193 duration - keys - -"},
        {"setDuration(1)", [](S& s) { s.setDuration(1); }, accepted(), "duration 1 "},
        {"setDuration(0)", [](S& s) { s.setDuration(0); }, refused("Invalid argument."), ""},
        {"setRepeatMode(194)", [](S& s) { s.setRepeatMode(194); }, refused("Repeat mode not CONSTANT or LOOP."), ""},
        {"setKeyframe(1, time 0)", [&](S& s) { s.setKeyframe(1, 0, v, 2); }, accepted(), "keys - 0:1:-2"},
        {"setKeyframe(-1)", [](S& s) { s.setKeyframe(-1, -1, nullptr, 0); }, refused("Index out of bounds."), ""},
        {"setKeyframe(time -1)", [](S& s) { s.setKeyframe(0, -1, nullptr, 0); }, refused("Time not positive."), ""},
        {"setKeyframe(null)", [](S& s) { s.setKeyframe(0, 0, nullptr, 0); }, refused("NULL value pointer"), ""},
        {"setKeyframe(bufSize 1)", [&](S& s) { s.setKeyframe(0, 0, v, 1); }, refused("Small bufSize"), ""},
        {"getKeyframe(2)", [&](S& s) { s.getKeyframe(2, out, 2); }, refused("Index out of bounds."), ""},
        {"getKeyframe(bufSize 1), not set", [&](S& s) { s.getKeyframe(0, out, 1); }, refused("Invalid argument."), ""},
        {"getKeyframe, not set", [](S& s) { s.getKeyframe(0, nullptr, -5); },
         refused("Keyframe not set for given index."), ""},
    };
    runSetterTable(
        cases, [] { return VORNIC3D_NEW S(2, 2, S::SPLINE); }, describeSequence);
    EXPECT_EQ(out[0], 0.0f);

    core::Ref<S> squad = VORNIC3D_NEW S(1, 4, S::SQUAD);
    const float q[] = {0, 0, 3, 4};
    EXPECT_EQ(outcomeOf([&] { squad->setKeyframe(0, 12, q, 4); }),
              refused("No implementation: Normalize SLERP/SQUAD values..."));
    EXPECT_EQ(describeSequence(*squad), "repeat 193 duration - keys 12:0:0:3:4");
}

TEST_F(KeyframeTest, ControllerChecksAndMapsWorldTimeToSequenceTime)
{
    core::Ref<AnimationController> c = VORNIC3D_NEW AnimationController();
    EXPECT_EQ(outcomeOf([&] { c->setActiveInterval(6, 5); }), refused("Start time is greater than end time."));
    EXPECT_EQ(outcomeOf([&] { c->setWeight(std::numeric_limits<float>::quiet_NaN()); }),
              refused("Weight less than 0."));
    EXPECT_EQ(c->getWeight(), 1.0f);

    const struct {
        const char* call;
        float sequenceTime;
        int referenceTime, speedTime, worldTime;
        float position;
    } cases[] = {
        {"speed set at the reference time", 2.5f, 100, 100, 110, 22.5f},
        // The reference sequence time is not recomputed for the new reference.
        {"speed set later", 2.5f, 100, 200, 200, 2.5f},
        {"across the whole int range", 0.0f, INT_MIN, INT_MIN, INT_MAX, 2.0f * 4294967295.0f},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.call);
        c->setPosition(k.sequenceTime, k.referenceTime);
        c->setSpeed(2.0f, k.speedTime);
        EXPECT_FLOAT_EQ(c->getPosition(k.worldTime), k.position);
    }
}

TEST_F(KeyframeTest, TrackChecksItsSequenceThenItsProperty)
{
    core::Ref<KeyframeSequence> sequence = VORNIC3D_NEW KeyframeSequence(1, 1, KeyframeSequence::LINEAR);
    const struct {
        KeyframeSequence* sequence;
        int property;
        Outcome outcome;
    } cases[] = {
        {nullptr, 255, refused("KeyframeSequence is 0.")},
        {sequence.get(), 255, refused("Invalid target property value.")},
        {sequence.get(), 277, refused("Invalid target property value.")},
        {sequence.get(), 276, accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.property);
        EXPECT_EQ(outcomeOf([&] { core::Ref<AnimationTrack>(VORNIC3D_NEW AnimationTrack(c.sequence, c.property)); }),
                  c.outcome);
    }
}
