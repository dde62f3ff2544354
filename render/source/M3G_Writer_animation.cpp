// Animation data, whose writing stops before its own records, and sprites, which are never written.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/KeyframeSequence.h"
#include "render/Loader_helpers.h"
#include "render/Sprite3D.h"

namespace render {

// Animation data is filled like every other record, but its writers have
// never been tried against the reader: each stops before its own record.

// ---- records --------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_AnimationController& record, AnimationController* controller)
{
    VORNIC3D_CHECK(controller != nullptr);
    record.speed = controller->getSpeed();
    record.weight = controller->getWeight();
    record.activeIntervalStart = controller->getActiveIntervalStart();
    record.activeIntervalEnd = controller->getActiveIntervalEnd();
    record.referenceWorldTime = controller->getReferenceWorldTime();
    record.referenceSequenceTime = controller->getPosition(record.referenceWorldTime);
}

void M3G_Loader::setToStruct(M3G_AnimationTrack& record, AnimationTrack* track)
{
    VORNIC3D_CHECK(track != nullptr);
    record.keyframeSequence = getObjectIndex(track->getKeyframeSequence());
    record.animationController = getObjectIndex(track->getController());
    record.propertyID = static_cast<std::uint32_t>(track->getTargetProperty());
}

void M3G_Loader::setToStruct(M3G_KeyframeSequence& record, KeyframeSequence* sequence)
{
    VORNIC3D_CHECK(sequence != nullptr);
    record.interpolation = static_cast<unsigned char>(sequence->getInterpolationType());
    record.repeatMode = static_cast<unsigned char>(sequence->getRepeatMode());
    record.encoding = 0;
    record.duration = static_cast<std::uint32_t>(sequence->getDuration());
    record.validRangeFirst = static_cast<std::uint32_t>(sequence->getValidRangeFirst());
    record.validRangeLast = static_cast<std::uint32_t>(sequence->getValidRangeLast());
    record.componentCount = static_cast<std::uint32_t>(sequence->getComponentCount());
    record.keyframeCount = static_cast<std::uint32_t>(sequence->getKeyframeCount());
    record.floatKeyframes.setSize(sequence->getKeyframeCount());
    for (int i = 0; i < record.floatKeyframes.m_size; ++i) {
        M3G_Float32KeyframeSequence& keyframe = record.floatKeyframes[i];
        keyframe.values.setSize(sequence->getComponentCount());
        keyframe.time = sequence->getKeyframe(i, keyframe.values.m_data, keyframe.values.m_size);
    }
}

// ---- save members ---------------------------------------------------------------------

void M3G_Loader::saveAnimationController(Object3D* object)
{
    refuseRecord<M3G_AnimationController, M3G_Object3D>(savedAs<AnimationController>(object), "Not tested!");
}

void M3G_Loader::saveAnimationTrack(Object3D* object)
{
    refuseRecord<M3G_AnimationTrack, M3G_Object3D>(savedAs<AnimationTrack>(object), "Not tested!");
}

void M3G_Loader::saveKeyframeSequence(Object3D* object)
{
    refuseRecord<M3G_KeyframeSequence, M3G_Object3D>(savedAs<KeyframeSequence>(object), "Not tested!");
}

// Sprites have no record of their own.
void M3G_Loader::saveSprite(Object3D* object)
{
    savedAs<Sprite3D>(object);
    parseError("No implementation");
}

} // namespace render
