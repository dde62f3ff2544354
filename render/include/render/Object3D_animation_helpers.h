#pragma once

namespace render {

class Object3D;

// The two halves of one keyframe-animation step, as free functions: the
// interpolators compute a component vector between two keyframes, the
// property setters write such a vector into a scene object. The tables list
// them in the order of their constants (KeyframeSequence::Interpolation from
// 176, AnimationTrack::TargetProperty from 256). Nothing in the engine calls
// them: they are the parts from which an animation step can be built.
//
// Interpolators: out receives componentCount values for time t between the
// keyframe a at t0 and the keyframe b at t1. They check, in this order:
// 0 <= t0 <= t < t1 with t1 >= 0, then that a, b and out are not null, then
// the component count, and write out only after every check.
//
// Property setters: values holds componentCount floats for the target. They
// check that values and target are not null and the component count, then
// pick the first fitting class of the target by dynamic type; a target of no
// fitting class is refused. Some setters clamp or replace values and write
// them back into the caller's array (hence not const); a target's own checks
// still apply to what it is given.

using InterpolationFunction = void (*)(float* out, int componentCount, int t0, const float* a, int t1, const float* b,
                                       int t);
using AnimationPropertySetter = void (*)(Object3D* target, int componentCount, float* values);

// ---- interpolators ----
// Any count >= 1: b x s + a x (1 - s), with s = (t - t0) / (t1 - t0).
void linearInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t);
// Four components (x, y, z, w), both unit quaternions: the arc from a to b.
void slerpInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t);
// Any count >= 1: the cubic Hermite curve from a to b whose end tangents are
// both half the difference.
void splineInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t);
// Four components; not computed: every call that passes the checks fails.
void squadInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t);
// Any count >= 1: the nearer keyframe, b from half way on.
void stepInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t);

extern const InterpolationFunction interpolationFunctions[5];

// ---- property setters ----
// Colours are bytes of components clamped to 0..1 (c x 255, truncated).
void setAlpha(Object3D* target, int componentCount, float* values);
void setAmbientColor(Object3D* target, int componentCount, float* values);
void setColor(Object3D* target, int componentCount, float* values);
void setCrop(Object3D* target, int componentCount, float* values);
void setDensity(Object3D* target, int componentCount, float* values);
void setDiffuseColor(Object3D* target, int componentCount, float* values);
void setEmissiveColor(Object3D* target, int componentCount, float* values);
void setFarDistance(Object3D* target, int componentCount, float* values);
void setFieldOfView(Object3D* target, int componentCount, float* values);
void setIntensity(Object3D* target, int componentCount, float* values);
// Not computed: every call with values and a target fails.
void setMorphWeights(Object3D* target, int componentCount, float* values);
void setNearDistance(Object3D* target, int componentCount, float* values);
// A quaternion x, y, z, w; any non-zero length.
void setOrientation(Object3D* target, int componentCount, float* values);
void setPickability(Object3D* target, int componentCount, float* values);
void setScale(Object3D* target, int componentCount, float* values);
void setShininess(Object3D* target, int componentCount, float* values);
void setSpecularColor(Object3D* target, int componentCount, float* values);
void setSpotAngle(Object3D* target, int componentCount, float* values);
void setSpotExponent(Object3D* target, int componentCount, float* values);
void setTranslation(Object3D* target, int componentCount, float* values);
void setVisibility(Object3D* target, int componentCount, float* values);

extern const AnimationPropertySetter animationPropertySetters[21];

} // namespace render
