#pragma once

#include "core/Assert.h"
#include "slmath/float_helpers.h"

#include <cfloat>
#include <cmath>

namespace slmath {

// A single-precision 3-vector: exactly the floats x, y, z, a plain value
// copied freely. Contract: every operation checks that its operands (and,
// where stated, its result) are finite and fails a bare engine assertion
// otherwise, before it changes anything, so a NaN or an infinity is caught
// where it first appears instead of spreading through the scene. The public
// fields and the writable accessor store unchecked; the next operation that
// reads the vector catches a bad value.
class vec3 {
public:
    // Zero, not garbage: containers copy default-made vectors around.
    vec3() : x(0.0f), y(0.0f), z(0.0f) {}
    vec3(float x_, float y_, float z_);

    vec3 operator-(const vec3& b) const;
    vec3& operator*=(float s);
    // Multiplies by one reciprocal; |s| must be at least FLT_MIN.
    vec3& operator/=(float s);

    float& operator[](unsigned i);
    float operator[](unsigned i) const;

    float x;
    float y;
    float z;
};

inline bool isFinite(const vec3& v)
{
    return isFinite(v.x) && isFinite(v.y) && isFinite(v.z);
}

// ---- construction and arithmetic --------------------------------------------

inline vec3::vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_)
{
    VORNIC3D_CHECK(isFinite(*this));
}

inline vec3 vec3::operator-(const vec3& b) const
{
    VORNIC3D_CHECK(isFinite(b));
    VORNIC3D_CHECK(isFinite(*this));
    return vec3(x - b.x, y - b.y, z - b.z);
}

inline vec3& vec3::operator*=(float s)
{
    VORNIC3D_CHECK(isFinite(s));
    VORNIC3D_CHECK(isFinite(*this));
    x *= s;
    y *= s;
    z *= s;
    return *this;
}

inline vec3& vec3::operator/=(float s)
{
    VORNIC3D_CHECK(isFinite(*this));
    VORNIC3D_CHECK(isFinite(s));
    VORNIC3D_CHECK(std::fabs(s) >= FLT_MIN);
    const float r = 1.0f / s;
    x *= r;
    y *= r;
    z *= r;
    return *this;
}

// ---- component access -------------------------------------------------------

inline float& vec3::operator[](unsigned i)
{
    VORNIC3D_CHECK(i < 3);
    return i == 0 ? x : (i == 1 ? y : z);
}

inline float vec3::operator[](unsigned i) const
{
    VORNIC3D_CHECK(i < 3);
    VORNIC3D_CHECK(isFinite(*this));
    return i == 0 ? x : (i == 1 ? y : z);
}

// ---- free functions ---------------------------------------------------------

// Euclidean length in single precision; fails when the sum of squares
// overflows (the result must lie in 0..FLT_MAX).
inline float length(const vec3& v)
{
    VORNIC3D_CHECK(isFinite(v));
    const float r = std::sqrt((v.x * v.x + v.y * v.y) + v.z * v.z);
    VORNIC3D_CHECK(r >= 0.0f && r <= FLT_MAX);
    return r;
}

// v scaled to unit length; fails for a length below FLT_MIN.
vec3 normalize(const vec3& v);

vec3 cross(const vec3& a, const vec3& b);

} // namespace slmath
