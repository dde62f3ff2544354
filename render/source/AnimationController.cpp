#include "render/AnimationController.h"

#include "core/Assert.h"

#include <cstdint>

namespace render {

// ---- life cycle -------------------------------------------------------------

AnimationController::AnimationController() = default;

AnimationController::~AnimationController() noexcept(false) = default;

// ---- mapping world time to sequence time ---------------------------------------------

void AnimationController::setSpeed(float speed, int worldTime)
{
    m_speed = speed;
    m_referenceWorldTime = worldTime;
}

void AnimationController::setPosition(float sequenceTime, int worldTime)
{
    m_referenceSequenceTime = sequenceTime;
    m_referenceWorldTime = worldTime;
}

float AnimationController::getPosition(int worldTime) const
{
    // The difference of two ints from files can leave the int range: it is
    // taken in 64 bits, which gives the same float whenever it fits.
    const std::int64_t elapsed = static_cast<std::int64_t>(worldTime) - m_referenceWorldTime;
    return static_cast<float>(elapsed) * m_speed + m_referenceSequenceTime;
}

// ---- activity and blending ------------------------------------------------------------

void AnimationController::setActiveInterval(int start, int end)
{
    VORNIC3D_ASSERT(start <= end, "Start time is greater than end time.");
    m_activeIntervalStart = start;
    m_activeIntervalEnd = end;
}

void AnimationController::setWeight(float weight)
{
    VORNIC3D_ASSERT(weight >= 0.0f, "Weight less than 0.");
    m_weight = weight;
}

} // namespace render
