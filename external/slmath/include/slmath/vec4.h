#pragma once

#include "core/Assert.h"
#include "slmath/float_helpers.h"

namespace slmath {

// A single-precision 4-vector: exactly the floats x, y, z, w, a plain value;
// also the column of slmath::mat4. Contract: as slmath::vec3, every operation
// checks its operands are finite before it changes anything; the const
// accessor checks the whole vector, the writable one only the index.
class vec4 {
public:
    vec4(float x_, float y_, float z_, float w_);

    vec4& operator*=(float s);

    float& operator[](unsigned i);
    float operator[](unsigned i) const;

    float x;
    float y;
    float z;
    float w;
};

inline bool isFinite(const vec4& v)
{
    return isFinite(v.x) && isFinite(v.y) && isFinite(v.z) && isFinite(v.w);
}

// ---- construction and arithmetic --------------------------------------------

inline vec4::vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_)
{
    VORNIC3D_CHECK(isFinite(*this));
}

inline vec4& vec4::operator*=(float s)
{
    VORNIC3D_CHECK(isFinite(s));
    VORNIC3D_CHECK(isFinite(*this));
    x *= s;
    y *= s;
    z *= s;
    w *= s;
    return *this;
}

// ---- component access -------------------------------------------------------

inline float& vec4::operator[](unsigned i)
{
    VORNIC3D_CHECK(i < 4);
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: return w;
    }
}

inline float vec4::operator[](unsigned i) const
{
    VORNIC3D_CHECK(i < 4);
    VORNIC3D_CHECK(isFinite(*this));
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: return w;
    }
}

// ---- free functions ---------------------------------------------------------

// Summed from w down to x, so that results repeat bit for bit wherever the
// same products are summed.
inline float dot(const vec4& a, const vec4& b)
{
    VORNIC3D_CHECK(isFinite(a));
    VORNIC3D_CHECK(isFinite(b));
    const float sum = ((a.w * b.w + a.z * b.z) + a.y * b.y) + a.x * b.x;
    VORNIC3D_CHECK(isFinite(sum));
    return sum;
}

} // namespace slmath
