#pragma once

#include "core/Assert.h"
#include "slmath/float_helpers.h"
#include "slmath/vec3.h"

namespace slmath {

// A rotation quaternion: the floats x, y, z (vector part) and w (scalar part),
// in that order, a plain value. Contract: as the vectors, every operation
// checks that its operands are finite before it computes; the operations that
// need a rotation (toAngleAxis, slerp) also require unit length within
// kUnitTolerance. Only what keyframe interpolation needs is offered.
class quat {
public:
    quat(float x_, float y_, float z_, float w_);

    quat operator+(const quat& q) const;
    quat operator*(float s) const;

    float x;
    float y;
    float z;
    float w;
};

// A quaternion q counts as unit length when |sqrt(dot(q, q)) - 1| is below this.
constexpr float kUnitTolerance = 0.001f;

inline bool isFinite(const quat& q)
{
    return isFinite(q.x) && isFinite(q.y) && isFinite(q.z) && isFinite(q.w);
}

// ---- construction and arithmetic --------------------------------------------

inline quat::quat(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_)
{
    VORNIC3D_CHECK(isFinite(*this));
}

inline quat quat::operator+(const quat& q) const
{
    VORNIC3D_CHECK(isFinite(q));
    VORNIC3D_CHECK(isFinite(*this));
    return quat(x + q.x, y + q.y, z + q.z, w + q.w);
}

inline quat quat::operator*(float s) const
{
    VORNIC3D_CHECK(isFinite(s));
    VORNIC3D_CHECK(isFinite(*this));
    return quat(x * s, y * s, z * s, w * s);
}

// ---- free functions ---------------------------------------------------------

// Summed from w down to x, as the vec4 dot product.
inline float dot(const quat& a, const quat& b)
{
    VORNIC3D_CHECK(isFinite(a));
    VORNIC3D_CHECK(isFinite(b));
    const float sum = ((a.w * b.w + a.z * b.z) + a.y * b.y) + a.x * b.x;
    VORNIC3D_CHECK(isFinite(sum));
    return sum;
}

// q scaled to unit length; the length must be strictly above FLT_MIN.
quat normalize(const quat& q);

// The rotation of unit quaternion q as an angle in radians and an axis. The
// identity gives angle 0 and the zero axis; the outputs are written only
// when q passes the unit check.
void toAngleAxis(const quat& q, float& angle, vec3& axis);

// Interpolates along the arc from unit a (t = 0) to unit b (t = 1). b is not
// negated when dot(a, b) < 0, so the longer arc is taken; equal and exactly
// opposite inputs give a; t outside 0..1 extrapolates.
quat slerp(const quat& a, const quat& b, float t);

} // namespace slmath
