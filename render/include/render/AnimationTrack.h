#pragma once

#include "render/Object3D.h"

namespace render {

class AnimationController;
class KeyframeSequence;

// Binds one keyframe sequence and, optionally, one controller to one
// animated property of a scene object; objects keep their tracks in
// Object3D's track list, which accepts nothing else.
// Contract: the sequence is fixed at construction and never null, the
// property one of the 21 TargetProperty values; the controller can be
// replaced or removed at any time. Both are held by counted reference. The
// engine stores tracks; nothing in it applies one to its target.
class AnimationTrack : public Object3D {
public:
    enum TargetProperty {
        ALPHA = 256,
        AMBIENT_COLOR = 257,
        COLOR = 258,
        CROP = 259,
        DENSITY = 260,
        DIFFUSE_COLOR = 261,
        EMISSIVE_COLOR = 262,
        FAR_DISTANCE = 263,
        FIELD_OF_VIEW = 264,
        INTENSITY = 265,
        MORPH_WEIGHTS = 266,
        NEAR_DISTANCE = 267,
        ORIENTATION = 268,
        PICKABILITY = 269,
        SCALE = 270,
        SHININESS = 271,
        SPECULAR_COLOR = 272,
        SPOT_ANGLE = 273,
        SPOT_EXPONENT = 274,
        TRANSLATION = 275,
        VISIBILITY = 276,
    };
    static constexpr int kTargetPropertyCount = VISIBILITY - ALPHA + 1;

    // sequence not null, property 256..276.
    AnimationTrack(KeyframeSequence* sequence, int property);
    ~AnimationTrack() noexcept(false) override;

    // Null removes the controller.
    void setController(AnimationController* controller);
    // Null when none.
    AnimationController* getController() const;
    KeyframeSequence* getKeyframeSequence() const;
    int getTargetProperty() const { return m_targetProperty; }

private:
    core::Ref<AnimationController> m_controller;
    core::Ref<KeyframeSequence> m_keyframeSequence;
    int m_targetProperty;
};

} // namespace render
