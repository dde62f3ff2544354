#include "render/M3G_Loader.h"

#include "core/Assert.h"
#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/KeyframeSequence.h"
#include "render/Loader_helpers.h"
#include "render/M3G_Records.h"

#include <algorithm>
#include <climits>

namespace render {

namespace {

enum KeyframeEncoding { kFloat32Values = 0, kByteValues = 1, kUint16Values = 2 };
// A stored value of the two packed encodings divided by these is 0..1.
constexpr float kByteRange = 255.0f;
constexpr float kUint16Range = 65535.0f;

// One keyframe of any encoding: its time, then its values.
template <typename Keyframe, typename Read>
void readKeyframes(core::Vector<Keyframe>& keyframes, std::uint32_t keyframeCount, std::uint32_t componentCount,
                   core::DataIO& stream, Read readValue)
{
    keyframes.setSize(static_cast<int>(keyframeCount));
    for (int i = 0; i < keyframes.m_size; ++i) {
        Keyframe& keyframe = keyframes[i];
        stream.getStreamData(keyframe.time);
        keyframe.values.setSize(static_cast<int>(componentCount));
        for (int j = 0; j < keyframe.values.m_size; ++j)
            readValue(keyframe.values.m_data[j]);
    }
}

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

core::Ref<Object3D> M3G_Loader::parseAnimationController()
{
    core::Ref<AnimationController> controller = VORNIC3D_NEW AnimationController();
    parseObject3DPart(controller.get());
    core::DataIO& stream = *m_sectionStream;
    M3G_AnimationController record;
    record.speed = readFloat32(stream);
    record.weight = readFloat32(stream);
    stream.getStreamData(record.activeIntervalStart);
    stream.getStreamData(record.activeIntervalEnd);
    record.referenceSequenceTime = readFloat32(stream);
    stream.getStreamData(record.referenceWorldTime);
    if (record.activeIntervalStart > record.activeIntervalEnd)
        parseError("AnimationController start time is greater than end time.");
    if (record.weight < 0.0f)
        parseError("AnimationController weight less than 0.");

    controller->setSpeed(record.speed, record.referenceWorldTime);
    controller->setWeight(record.weight);
    controller->setActiveInterval(record.activeIntervalStart, record.activeIntervalEnd);
    controller->setPosition(record.referenceSequenceTime, record.referenceWorldTime);
    return core::Ref<Object3D>(controller);
}

// ---- AnimationTrack -------------------------------------------------------------------
//
// A track can name only objects before it in the file, never itself or an
// object that lists it, so no file can make the tracks hold each other in a
// cycle.

core::Ref<Object3D> M3G_Loader::parseAnimationTrack()
{
    M3G_Object3D object3D;
    readObject3DPart(object3D);
    M3G_AnimationTrack record;
    m_sectionStream->getStreamData(record.keyframeSequence);
    m_sectionStream->getStreamData(record.animationController);
    m_sectionStream->getStreamData(record.propertyID);
    if (record.keyframeSequence == 0)
        parseError("KeyframeSequence is 0 in AnimationTrack.");
    if (record.propertyID < AnimationTrack::ALPHA || record.propertyID > AnimationTrack::VISIBILITY)
        parseError("Invalid target property ID value in AnimationTrack.");

    const core::Ref<KeyframeSequence> sequence = getRef<KeyframeSequence>(record.keyframeSequence);
    core::Ref<AnimationTrack> track =
        VORNIC3D_NEW AnimationTrack(sequence.get(), static_cast<int>(record.propertyID));
    setToClass(track.get(), object3D);
    if (record.animationController != 0)
        track->setController(getRef<AnimationController>(record.animationController).get());
    return core::Ref<Object3D>(track);
}

// ---- KeyframeSequence -----------------------------------------------------------------

void M3G_Loader::readKeyframeSequence(M3G_KeyframeSequence& record, core::DataIO& stream)
{
    stream.getStreamData(record.interpolation);
    stream.getStreamData(record.repeatMode);
    stream.getStreamData(record.encoding);
    stream.getStreamData(record.duration);
    stream.getStreamData(record.validRangeFirst);
    stream.getStreamData(record.validRangeLast);
    stream.getStreamData(record.componentCount);
    stream.getStreamData(record.keyframeCount);
    if (record.encoding > kUint16Values)
        return;

    const std::uint32_t components = record.componentCount;
    if (record.encoding != kFloat32Values) {
        requireElements(stream, components, 2 * static_cast<int>(sizeof(float)));
        record.vectorBias.setSize(static_cast<int>(components));
        for (int j = 0; j < record.vectorBias.m_size; ++j)
            record.vectorBias[j] = readFloat32(stream);
        record.vectorScale.setSize(static_cast<int>(components));
        for (int j = 0; j < record.vectorScale.m_size; ++j)
            record.vectorScale[j] = readFloat32(stream);
    }
    // Both counts are checked against the bytes left before anything is
    // sized for them: a keyframe is its time and its values.
    const int valueSize = record.encoding == kFloat32Values ? 4 : record.encoding == kByteValues ? 1 : 2;
    if (record.keyframeCount > 0)
        requireElements(stream, components, valueSize);
    const std::uint64_t keyframeSize = 4 + static_cast<std::uint64_t>(components) * valueSize;
    requireElements(stream, record.keyframeCount, static_cast<int>(std::min<std::uint64_t>(keyframeSize, INT_MAX)));

    const std::uint32_t count = record.keyframeCount;
    switch (record.encoding) {
    case kFloat32Values:
        readKeyframes(record.floatKeyframes, count, components, stream, [&](float& v) { v = readFloat32(stream); });
        break;
    case kByteValues:
        readKeyframes(record.byteKeyframes, count, components, stream,
                      [&](unsigned char& v) { stream.getStreamData(v); });
        break;
    default:
        readKeyframes(record.uint16Keyframes, count, components, stream,
                      [&](unsigned short& v) { stream.getStreamData(v); });
        break;
    }
}

void M3G_Loader::setToClass(KeyframeSequence* sequence, const M3G_KeyframeSequence& record)
{
    VORNIC3D_CHECK(sequence != nullptr);
    sequence->setDuration(static_cast<int>(record.duration));
    sequence->setRepeatMode(record.repeatMode);
    sequence->setValidRange(static_cast<int>(record.validRangeFirst), static_cast<int>(record.validRangeLast));
    switch (record.encoding) {
    case kFloat32Values:
        for (int i = 0; i < record.floatKeyframes.m_size; ++i) {
            const M3G_Float32KeyframeSequence& keyframe = record.floatKeyframes[i];
            sequence->setKeyframe(i, keyframe.time, keyframe.values.m_data, keyframe.values.m_size);
        }
        break;
    case kByteValues:
        setPackedKeyframes(sequence, record, record.byteKeyframes, kByteRange);
        break;
    default:
        setPackedKeyframes(sequence, record, record.uint16Keyframes, kUint16Range);
        break;
    }
}

core::Ref<Object3D> M3G_Loader::parseKeyframeSequence()
{
    M3G_Object3D object3D;
    readObject3DPart(object3D);
    M3G_KeyframeSequence record;
    readKeyframeSequence(record, *m_sectionStream);
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
    if (record.encoding > kUint16Values)
        parseError("Unknown KeyframeSequence encoding.");

    core::Ref<KeyframeSequence> sequence = VORNIC3D_NEW KeyframeSequence(
        static_cast<int>(record.keyframeCount), static_cast<int>(record.componentCount), record.interpolation);
    setToClass(sequence.get(), object3D);
    setToClass(sequence.get(), record);
    return core::Ref<Object3D>(sequence);
}

} // namespace render
