#pragma once

#include "render/Object3D.h"

namespace render {

// A fixed number of keyframes, each a time and componentCount floats, with
// the interpolation type, the repeat mode, the duration and a valid range
// of keyframes. Filled by the scene-file reader; animation tracks refer to it.
// Contract: both counts are fixed at construction and every setter checks
// before it stores (the one exception: a SQUAD keyframe is stored, then the
// call fails, since squad values cannot be normalised yet). A keyframe's
// time is -1 until it is set, and setting is the only way to change it. The
// engine stores this data; nothing in it samples a sequence.
class KeyframeSequence : public Object3D {
public:
    enum Interpolation { LINEAR = 176, SLERP = 177, SPLINE = 178, SQUAD = 179, STEP = 180 };
    enum RepeatMode { CONSTANT = 192, LOOP = 193 };

    // One keyframe's time; its values live in the sequence's value block.
    struct Keyframe {
        int time = -1;
    };

    // keyframeCount >= 0, componentCount >= 1, interpolation 176..180; the
    // values start at 0.0 and every keyframe unset.
    KeyframeSequence(int keyframeCount, int componentCount, int interpolation);
    ~KeyframeSequence() noexcept(false) override;

    int getKeyframeCount() const;
    int getComponentCount() const { return m_componentCount; }
    int getInterpolationType() const { return m_interpolation; }

    // ---- timing ----
    // duration >= 1; getDuration fails until one is set.
    void setDuration(int duration);
    int getDuration() const;
    // CONSTANT or LOOP.
    void setRepeatMode(int mode);
    int getRepeatMode() const;
    // Stored as given: nothing reads the range back but its getters.
    void setValidRange(int first, int last);
    int getValidRangeFirst() const { return m_validRangeFirst; }
    int getValidRangeLast() const { return m_validRangeLast; }

    // ---- keyframes ----
    // Copies componentCount floats from value (bufSize of them available);
    // time >= 0.
    void setKeyframe(int index, int time, const float* value, int bufSize);
    // Returns the keyframe's time and, when value is not null, copies its
    // componentCount floats there; fails for a keyframe never set.
    int getKeyframe(int index, float* value, int bufSize) const;

private:
    int m_interpolation;
    int m_repeatMode = LOOP;
    int m_duration = -1;
    int m_validRangeFirst = 0;
    int m_validRangeLast = 0;
    int m_componentCount;
    core::Vector<float> m_values;
    core::Vector<Keyframe> m_keyframes;
};

} // namespace render
