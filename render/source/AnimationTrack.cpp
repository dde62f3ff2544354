#include "render/AnimationTrack.h"

#include "render/AnimationController.h"
#include "render/KeyframeSequence.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

// The arguments are stored before they are checked; a refused track is
// destroyed at once, releasing the sequence it took.
AnimationTrack::AnimationTrack(KeyframeSequence* sequence, int property)
    : m_keyframeSequence(sequence), m_targetProperty(property)
{
    VORNIC3D_ASSERT(sequence != nullptr, "KeyframeSequence is 0.");
    VORNIC3D_ASSERT(property >= ALPHA && property <= VISIBILITY, "Invalid target property value.");
}

// The members go in reverse order: the sequence first, then the controller.
AnimationTrack::~AnimationTrack() noexcept(false) = default;

// ---- parts ----------------------------------------------------------------------

void AnimationTrack::setController(AnimationController* controller)
{
    m_controller = controller;
}

AnimationController* AnimationTrack::getController() const
{
    return m_controller.get();
}

KeyframeSequence* AnimationTrack::getKeyframeSequence() const
{
    return m_keyframeSequence.get();
}

} // namespace render
