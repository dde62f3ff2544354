#pragma once

#include "render/Object3D.h"

namespace render {

// The timing of a set of animation tracks: speed, blending weight, the
// active interval of world time and the reference point that maps world
// time to sequence time (sequence = (world - reference world) x speed +
// reference sequence).
// Contract: setters store their values as given except for the two checked
// ones (weight >= 0, interval start <= end), which refuse before they store.
// The engine keeps and reports this timing; nothing in it plays animations.
class AnimationController : public Object3D {
public:
    AnimationController();
    ~AnimationController() noexcept(false) override;

    // ---- mapping world time to sequence time ----
    // Changes the speed from worldTime on; the reference sequence time is
    // kept, not recomputed for the new reference world time.
    void setSpeed(float speed, int worldTime);
    float getSpeed() const { return m_speed; }
    void setPosition(float sequenceTime, int worldTime);
    float getPosition(int worldTime) const;
    int getReferenceWorldTime() const { return m_referenceWorldTime; }

    // ---- activity and blending ----
    // start <= end; start == end is accepted.
    void setActiveInterval(int start, int end);
    int getActiveIntervalStart() const { return m_activeIntervalStart; }
    int getActiveIntervalEnd() const { return m_activeIntervalEnd; }
    // weight >= 0 (NaN is refused).
    void setWeight(float weight);
    float getWeight() const { return m_weight; }

private:
    float m_speed = 1.0f;
    float m_weight = 1.0f;
    float m_referenceSequenceTime = 0.0f;
    int m_activeIntervalStart = 0;
    int m_activeIntervalEnd = 0;
    int m_referenceWorldTime = 0;
};

} // namespace render
