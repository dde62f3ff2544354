// Reading animation controllers, animation tracks and keyframe sequences.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/KeyframeSequence.h"
#include "render/Loader_helpers.h"

namespace render {

namespace {

using Sequence = M3G_KeyframeSequence;
// A stored value of the two packed encodings divided by these is 0..1.
constexpr float kByteRange = 255.0f;
constexpr float kUint16Range = 65535.0f;

// bias + scale x stored / range for every keyframe, in single precision.
template <typename Keyframe>
void setPackedKeyframes(KeyframeSequence* sequence, const M3G_KeyframeSequence& record,
                        const core::Vector<Keyframe>& keyframes, float range)
{
    core::Vector<float> values;
    values.setSize(static_cast<int>(record.componentCount));
    for (int i = 0; i < keyframes.m_size; ++i) {
        for (int j = 0; j < values.m_size; ++j)
            values[j] = record.vectorBias[j] + record.vectorScale[j] * (keyframes[i].values[j] / range);
        sequence->setKeyframe(i, keyframes[i].time, values.m_data, values.m_size);
    }
}

} // namespace

// ---- AnimationController --------------------------------------------------------------

void M3G_Loader::check(const M3G_AnimationController& record)
{
    if (record.activeIntervalStart > record.activeIntervalEnd)
        parseError("AnimationController start time is greater than end time.");
    if (record.weight < 0.0f)
        parseError("AnimationController weight less than 0.");
}

void M3G_Loader::setToClass(AnimationController* controller, const M3G_AnimationController& record)
{
    VORNIC3D_CHECK(controller != nullptr);
    controller->setSpeed(record.speed, record.referenceWorldTime);
    controller->setWeight(record.weight);
    controller->setActiveInterval(record.activeIntervalStart, record.activeIntervalEnd);
    controller->setPosition(record.referenceSequenceTime, record.referenceWorldTime);
}

core::Ref<Object3D> M3G_Loader::parseAnimationController()
{
    return parseRecords<M3G_Object3D, M3G_AnimationController>(VORNIC3D_NEW AnimationController());
}

// ---- AnimationTrack -------------------------------------------------------------------
//
// A track can name only objects before it in the file, never itself or an
// object that lists it, so no file can make the tracks hold each other in a
// cycle.

void M3G_Loader::check(const M3G_AnimationTrack& record)
{
    if (record.keyframeSequence == 0)
        parseError("KeyframeSequence is 0 in AnimationTrack.");
    if (record.propertyID < AnimationTrack::ALPHA || record.propertyID > AnimationTrack::VISIBILITY)
        parseError("Invalid target property ID value in AnimationTrack.");
}

core::Ref<Object3D> M3G_Loader::parseAnimationTrack()
{
    M3G_Object3D object3D;
    readRecord(object3D);
    M3G_AnimationTrack record;
    readRecord(record);

    const core::Ref<KeyframeSequence> sequence = getRef<KeyframeSequence>(record.keyframeSequence);
    core::Ref<AnimationTrack> track = VORNIC3D_NEW AnimationTrack(sequence.get(), static_cast<int>(record.propertyID));
    setToClass(track.get(), object3D);
    if (record.animationController != 0)
        track->setController(getRef<AnimationController>(record.animationController).get());
    return core::Ref<Object3D>(track);
}

// ---- KeyframeSequence -----------------------------------------------------------------

void M3G_Loader::check(const M3G_KeyframeSequence& record)
{
    if (static_cast<std::int32_t>(record.keyframeCount) <= 0)
        parseError("Keyframe count is less than or equal to zero in KeyframeSequence.");
    if (static_cast<std::int32_t>(record.componentCount) <= 0)
        parseError("Component count is less than or equal to zero in KeyframeSequence.");
    if (record.interpolation < KeyframeSequence::LINEAR || record.interpolation > KeyframeSequence::STEP)
        parseError("Invalid interpolation type in KeyframeSequence.");
    if (record.repeatMode != KeyframeSequence::CONSTANT && record.repeatMode != KeyframeSequence::LOOP)
        parseError("Invalid repeat mode in KeyframeSequence.");
    if (static_cast<std::int32_t>(record.duration) < 0)
        parseError("Duration less than zero in KeyframeSequence.");
    if (record.encoding > Sequence::kUint16Values)
        parseError("Unknown KeyframeSequence encoding.");
}

void M3G_Loader::setToClass(KeyframeSequence* sequence, const M3G_KeyframeSequence& record)
{
    VORNIC3D_CHECK(sequence != nullptr);
    sequence->setDuration(static_cast<int>(record.duration));
    sequence->setRepeatMode(record.repeatMode);
    sequence->setValidRange(static_cast<int>(record.validRangeFirst), static_cast<int>(record.validRangeLast));
    switch (record.encoding) {
    case Sequence::kFloat32Values:
        for (int i = 0; i < record.floatKeyframes.m_size; ++i) {
            const M3G_Float32KeyframeSequence& keyframe = record.floatKeyframes[i];
            sequence->setKeyframe(i, keyframe.time, keyframe.values.m_data, keyframe.values.m_size);
        }
        break;
    case Sequence::kByteValues: setPackedKeyframes(sequence, record, record.byteKeyframes, kByteRange); break;
    default: setPackedKeyframes(sequence, record, record.uint16Keyframes, kUint16Range); break;
    }
}

core::Ref<Object3D> M3G_Loader::parseKeyframeSequence()
{
    M3G_Object3D object3D;
    readRecord(object3D);
    M3G_KeyframeSequence record;
    readRecord(record);

    core::Ref<KeyframeSequence> sequence = VORNIC3D_NEW KeyframeSequence(
        static_cast<int>(record.keyframeCount), static_cast<int>(record.componentCount), record.interpolation);
    setToClass(sequence.get(), object3D);
    setToClass(sequence.get(), record);
    return core::Ref<Object3D>(sequence);
}

} // namespace render
