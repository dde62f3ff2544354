#include "render/KeyframeSequence.h"

#include "core/Assert.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace render {

// ---- life cycle -------------------------------------------------------------

KeyframeSequence::KeyframeSequence(int keyframeCount, int componentCount, int interpolation)
    : m_interpolation(interpolation), m_componentCount(componentCount)
{
    VORNIC3D_ASSERT(keyframeCount >= 0, "Number of key frames less than zero.");
    VORNIC3D_ASSERT(interpolation >= LINEAR && interpolation <= STEP, "Invalid interpolation mode.");
    VORNIC3D_ASSERT(componentCount > 0, "Number of components less than or equal to zero.");
    // Both counts come from files: their product must fit the value block's int size.
    VORNIC3D_ASSERT(static_cast<std::int64_t>(keyframeCount) * componentCount <= INT_MAX,
                    "Number of key frame values too large.");
    m_values.setSize(keyframeCount * componentCount, 0.0f);
    m_keyframes.setSize(keyframeCount, Keyframe());
}

// The members go in reverse order: the keyframes first, then the values.
KeyframeSequence::~KeyframeSequence() noexcept(false) = default;

int KeyframeSequence::getKeyframeCount() const
{
    VORNIC3D_CHECK(m_keyframes.m_size >= 0);
    return m_keyframes.m_size;
}

// ---- timing -------------------------------------------------------------------------

void KeyframeSequence::setDuration(int duration)
{
    VORNIC3D_ASSERT(duration >= 1, "Invalid argument.");
    m_duration = duration;
}

int KeyframeSequence::getDuration() const
{
    VORNIC3D_ASSERT(m_duration >= 0, "Keyframe sequence duration not set.");
    return m_duration;
}

void KeyframeSequence::setRepeatMode(int mode)
{
    VORNIC3D_ASSERT(mode == CONSTANT || mode == LOOP, "Repeat mode not CONSTANT or LOOP.");
    m_repeatMode = mode;
}

int KeyframeSequence::getRepeatMode() const
{
    VORNIC3D_CHECK(m_repeatMode == CONSTANT || m_repeatMode == LOOP);
    return m_repeatMode;
}

void KeyframeSequence::setValidRange(int first, int last)
{
    m_validRangeFirst = first;
    m_validRangeLast = last;
}

// ---- keyframes ----------------------------------------------------------------------

void KeyframeSequence::setKeyframe(int index, int time, const float* value, int bufSize)
{
    VORNIC3D_ASSERT(index >= 0, "Index out of bounds.");
    VORNIC3D_ASSERT(index < m_keyframes.m_size, "Index out of bounds.");
    VORNIC3D_ASSERT(time >= 0, "Time not positive.");
    VORNIC3D_ASSERT(value != nullptr, "NULL value pointer");
    VORNIC3D_ASSERT(bufSize >= m_componentCount, "Small bufSize");
    m_keyframes[index].time = time;
    std::memcpy(m_values.m_data + index * m_componentCount, value, sizeof(float) * m_componentCount);
    // Slerp keyframes are kept as given; squad ones would need normalising,
    // which does not exist: the keyframe stays stored, the caller hears of it.
    VORNIC3D_ASSERT(m_interpolation != SQUAD, "No implementation: Normalize SLERP/SQUAD values...");
}

int KeyframeSequence::getKeyframe(int index, float* value, int bufSize) const
{
    VORNIC3D_ASSERT(index >= 0 && index < m_keyframes.m_size, "Index out of bounds.");
    VORNIC3D_ASSERT(value == nullptr || bufSize >= m_componentCount, "Invalid argument.");
    const int time = m_keyframes[index].time;
    VORNIC3D_ASSERT(time >= 0, "Keyframe not set for given index.");
    if (value != nullptr)
        std::memcpy(value, m_values.m_data + index * m_componentCount, sizeof(float) * m_componentCount);
    return time;
}

} // namespace render
