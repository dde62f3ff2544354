#include "SceneGraphTest.h"

#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/KeyframeSequence.h"

#include <climits>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

using render::AnimationController;
using render::AnimationTrack;
using render::KeyframeSequence;
using testsupport::accepted;
using testsupport::bare;
using testsupport::outcomeOf;
using testsupport::refused;
using testsupport::runSetterTable;

namespace {

class KeyframeTest : public testsupport::EngineTest {};

// Everything a sequence reports; "-" for a duration or keyframe not set.
std::string describeSequence(const KeyframeSequence& s)
{
    char text[128];
    std::string duration = "-";
    try {
        duration = std::to_string(s.getDuration());
    } catch (const AssertationFailedException&) {
    }
    std::snprintf(text, sizeof text, "interpolation %d repeat %d duration %s range %d %d components %d keys",
                  s.getInterpolationType(), s.getRepeatMode(), duration.c_str(), s.getValidRangeFirst(),
                  s.getValidRangeLast(), s.getComponentCount());
    std::string description = text;
    std::vector<float> values(static_cast<size_t>(s.getComponentCount()));
    for (int i = 0; i < s.getKeyframeCount(); ++i) {
        try {
            description += " " + std::to_string(s.getKeyframe(i, values.data(), s.getComponentCount()));
            for (float v : values) {
                std::snprintf(text, sizeof text, " %g", v);
                description += text;
            }
        } catch (const AssertationFailedException&) {
            description += " -";
        }
    }
    return description;
}

std::string describeController(const AnimationController& c)
{
    char text[128];
    std::snprintf(text, sizeof text, "speed %g weight %g interval %d %d reference %d position(0) %g", c.getSpeed(),
                  c.getWeight(), c.getActiveIntervalStart(), c.getActiveIntervalEnd(), c.getReferenceWorldTime(),
                  c.getPosition(0));
    return text;
}

} // namespace

// ---- keyframe sequences ------------------------------------------------------------------

TEST_F(KeyframeTest, SequenceConstructionChecksItsCountsInOrder)
{
    const struct {
        int keyframes, components, interpolation;
        testsupport::Outcome outcome;
    } cases[] = {
        {-1, 0, 175, refused("Number of key frames less than zero.")},
        {0, 0, 175, refused("Invalid interpolation mode.")},
        {0, 1, 181, refused("Invalid interpolation mode.")},
        {0, 0, 176, refused("Number of components less than or equal to zero.")},
        {0, -3, 180, refused("Number of components less than or equal to zero.")},
        {65536, 32768, 176, refused("Number of key frame values too large.")},
        {INT_MAX, 2, 176, refused("Number of key frame values too large.")},
        {0, 1, 176, accepted()},
        {3, 4, 180, accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.keyframes << " " << c.components << " " << c.interpolation);
        EXPECT_EQ(outcomeOf([&] {
                      core::Ref<KeyframeSequence> s =
                          VORNIC3D_NEW KeyframeSequence(c.keyframes, c.components, c.interpolation);
                      EXPECT_EQ(s->getKeyframeCount(), c.keyframes);
                  }),
                  c.outcome);
        EXPECT_EQ(mainPool()->getAllocatedBlocks(), 0);
    }
}

TEST_F(KeyframeTest, SequenceSettersCheckBeforeTheyStore)
{
    const float v[] = {1.5f, -2.0f, 3.0f};
    using Case = testsupport::SetterCase<KeyframeSequence>;
    const std::vector<Case> cases = {
        {"new sequence", [](KeyframeSequence&) {}, accepted(),
         "interpolation 178 repeat 193 duration - range 0 0 components 2 keys - -"},
        {"setDuration(1)", [](KeyframeSequence& s) { s.setDuration(1); }, accepted(), "duration 1 "},
        {"setDuration(0)", [](KeyframeSequence& s) { s.setDuration(0); }, refused("Invalid argument."), ""},
        {"setRepeatMode(192)", [](KeyframeSequence& s) { s.setRepeatMode(192); }, accepted(), "repeat 192"},
        {"setRepeatMode(194)", [](KeyframeSequence& s) { s.setRepeatMode(194); },
         refused("Repeat mode not CONSTANT or LOOP."), ""},
        {"setValidRange(5, -3)", [](KeyframeSequence& s) { s.setValidRange(5, -3); }, accepted(), "range 5 -3"},
        {"setKeyframe(1, 0, v, 2)", [&](KeyframeSequence& s) { s.setKeyframe(1, 0, v, 2); }, accepted(),
         "keys - 0 1.5 -2"},
        {"setKeyframe(0, 7, v, 3)", [&](KeyframeSequence& s) { s.setKeyframe(0, 7, v + 1, 3); }, accepted(),
         "keys 7 -2 3 -"},
        {"setKeyframe(-1)", [&](KeyframeSequence& s) { s.setKeyframe(-1, -1, nullptr, 0); },
         refused("Index out of bounds."), ""},
        {"setKeyframe(2)", [&](KeyframeSequence& s) { s.setKeyframe(2, 0, v, 2); }, refused("Index out of bounds."),
         ""},
        {"setKeyframe(time -1)", [&](KeyframeSequence& s) { s.setKeyframe(0, -1, nullptr, 0); },
         refused("Time not positive."), ""},
        {"setKeyframe(null)", [&](KeyframeSequence& s) { s.setKeyframe(0, 0, nullptr, 0); },
         refused("NULL value pointer"), ""},
        {"setKeyframe(bufSize 1)", [&](KeyframeSequence& s) { s.setKeyframe(0, 0, v, 1); }, refused("Small bufSize"),
         ""},
    };
    runSetterTable(cases, [] { return VORNIC3D_NEW KeyframeSequence(2, 2, KeyframeSequence::SPLINE); },
                   describeSequence);
}

TEST_F(KeyframeTest, GetKeyframeChecksBeforeItCopies)
{
    core::Ref<KeyframeSequence> s = VORNIC3D_NEW KeyframeSequence(2, 3, KeyframeSequence::LINEAR);
    const float v[] = {1, 2, 3};
    s->setKeyframe(0, 40, v, 3);
    float out[3] = {-1, -1, -1};
    const struct {
        const char* call;
        int index, bufSize;
        bool withBuffer;
        testsupport::Outcome outcome;
    } cases[] = {
        {"index -1", -1, 3, true, refused("Index out of bounds.")},
        {"index 2", 2, 3, true, refused("Index out of bounds.")},
        {"small buffer", 0, 2, true, refused("Invalid argument.")},
        {"not set", 1, 3, true, refused("Keyframe not set for given index.")},
        {"not set, time only", 1, 0, false, refused("Keyframe not set for given index.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(outcomeOf([&] { s->getKeyframe(c.index, c.withBuffer ? out : nullptr, c.bufSize); }), c.outcome);
        EXPECT_EQ(out[0], -1.0f);
    }
    // A null buffer asks for the time alone, whatever the size.
    EXPECT_EQ(s->getKeyframe(0, nullptr, -5), 40);
    EXPECT_EQ(s->getKeyframe(0, out, 3), 40);
    EXPECT_EQ(out[2], 3.0f);

    core::Ref<KeyframeSequence> empty = VORNIC3D_NEW KeyframeSequence(0, 1, KeyframeSequence::STEP);
    EXPECT_EQ(outcomeOf([&] { empty->getKeyframe(0, nullptr, 0); }), refused("Index out of bounds."));
}

TEST_F(KeyframeTest, SquadKeyframeIsStoredThenRefused)
{
    core::Ref<KeyframeSequence> s = VORNIC3D_NEW KeyframeSequence(1, 4, KeyframeSequence::SQUAD);
    const float q[] = {0, 0, 0.6f, 0.8f};
    EXPECT_EQ(outcomeOf([&] { s->setKeyframe(0, 12, q, 4); }),
              refused("No implementation: Normalize SLERP/SQUAD values..."));
    float out[4] = {};
    EXPECT_EQ(s->getKeyframe(0, out, 4), 12);
    EXPECT_EQ(out[3], 0.8f);

    // Slerp values are stored as given, not normalised.
    core::Ref<KeyframeSequence> slerp = VORNIC3D_NEW KeyframeSequence(1, 4, KeyframeSequence::SLERP);
    const float unnormalised[] = {0, 0, 3, 4};
    slerp->setKeyframe(0, 0, unnormalised, 4);
    slerp->getKeyframe(0, out, 4);
    EXPECT_EQ(out[3], 4.0f);
}

// ---- animation controllers -----------------------------------------------------------------

TEST_F(KeyframeTest, ControllerSettersCheckBeforeTheyStore)
{
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    using Case = testsupport::SetterCase<AnimationController>;
    const std::vector<Case> cases = {
        {"new controller", [](AnimationController&) {}, accepted(),
         "speed 1 weight 1 interval 0 0 reference 0 position(0) 0"},
        {"setActiveInterval(5, 5)", [](AnimationController& c) { c.setActiveInterval(5, 5); }, accepted(),
         "interval 5 5"},
        {"setActiveInterval(6, 5)", [](AnimationController& c) { c.setActiveInterval(6, 5); },
         refused("Start time is greater than end time."), ""},
        {"setWeight(0)", [](AnimationController& c) { c.setWeight(0.0f); }, accepted(), "weight 0 "},
        {"setWeight(-0.5)", [](AnimationController& c) { c.setWeight(-0.5f); }, refused("Weight less than 0."), ""},
        {"setWeight(NaN)", [=](AnimationController& c) { c.setWeight(kNaN); }, refused("Weight less than 0."), ""},
        {"setSpeed(-2, 10)", [](AnimationController& c) { c.setSpeed(-2.0f, 10); }, accepted(),
         "speed -2 weight 1 interval 0 0 reference 10 position(0) 20"},
    };
    runSetterTable(cases, [] { return VORNIC3D_NEW AnimationController(); }, describeController);
}

TEST_F(KeyframeTest, ControllerMapsWorldTimeToSequenceTime)
{
    const struct {
        const char* call;
        std::function<void(AnimationController&)> set;
        int worldTime;
        float position;
    } cases[] = {
        {"new", [](AnimationController&) {}, 1234, 1234.0f},
        {"position then speed at once", [](AnimationController& c) { c.setPosition(2.5f, 100), c.setSpeed(2.0f, 100); },
         110, 22.5f},
        // The reference sequence time is not recomputed for the new reference.
        {"speed later", [](AnimationController& c) { c.setPosition(2.5f, 100), c.setSpeed(2.0f, 200); }, 200, 2.5f},
        {"across the whole int range", [](AnimationController& c) { c.setPosition(0.0f, INT_MIN); }, INT_MAX,
         4294967295.0f},
        {"backwards across the int range", [](AnimationController& c) { c.setPosition(1.0f, INT_MAX); }, INT_MIN,
         -4294967294.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        core::Ref<AnimationController> controller = VORNIC3D_NEW AnimationController();
        c.set(*controller);
        EXPECT_FLOAT_EQ(controller->getPosition(c.worldTime), c.position);
    }
}

// ---- animation tracks ----------------------------------------------------------------------

TEST_F(KeyframeTest, TrackChecksItsSequenceThenItsProperty)
{
    core::Ref<KeyframeSequence> sequence = VORNIC3D_NEW KeyframeSequence(1, 1, KeyframeSequence::LINEAR);
    const struct {
        bool withSequence;
        int property;
        testsupport::Outcome outcome;
    } cases[] = {
        {false, 256, refused("KeyframeSequence is 0.")},
        {false, 255, refused("KeyframeSequence is 0.")},
        {true, 255, refused("Invalid target property value.")},
        {true, 277, refused("Invalid target property value.")},
        {true, 256, accepted()},
        {true, 276, accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.withSequence << " " << c.property);
        EXPECT_EQ(outcomeOf([&] {
                      core::Ref<AnimationTrack> track =
                          VORNIC3D_NEW AnimationTrack(c.withSequence ? sequence.get() : nullptr, c.property);
                      EXPECT_EQ(track->getKeyframeSequence(), sequence.get());
                      EXPECT_EQ(track->getTargetProperty(), c.property);
                      EXPECT_EQ(track->getController(), nullptr);
                  }),
                  c.outcome);
        // A refused track gives its reference back.
        EXPECT_EQ(sequence->getRefCount(), 1);
    }
}

TEST_F(KeyframeTest, TrackHoldsItsPartsCounted)
{
    core::Ref<KeyframeSequence> sequence = VORNIC3D_NEW KeyframeSequence(1, 1, KeyframeSequence::LINEAR);
    core::Ref<AnimationController> first = VORNIC3D_NEW AnimationController();
    core::Ref<AnimationController> second = VORNIC3D_NEW AnimationController();
    core::Ref<AnimationTrack> track = VORNIC3D_NEW AnimationTrack(sequence.get(), AnimationTrack::TRANSLATION);
    track->setController(first.get());
    track->setController(first.get());
    EXPECT_EQ(first->getRefCount(), 2);
    track->setController(second.get());
    EXPECT_EQ(track->getController(), second.get());
    EXPECT_EQ(first->getRefCount(), 1);
    track->setController(nullptr);
    EXPECT_EQ(track->getController(), nullptr);
    EXPECT_EQ(second->getRefCount(), 1);
    track->setController(second.get());
    track = nullptr;
    EXPECT_EQ(sequence->getRefCount(), 1);
    EXPECT_EQ(second->getRefCount(), 1);
}
