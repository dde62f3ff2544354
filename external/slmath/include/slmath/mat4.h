#pragma once

#include "core/Assert.h"
#include "slmath/vec4.h"

#include <type_traits>

namespace slmath {

// A single-precision 4x4 matrix of four vec4 columns, column 0 first:
// element (row r, column c) is m[c][r], and the matrix is exactly 16
// consecutive floats with that element at index 4c + r, the order OpenGL ES
// takes, so callers may copy the floats as a block. Contract: as the vectors,
// every operation checks that its operands are finite; the one operation that
// may fail part-way is operator*=, which scales column by column.
class mat4 {
public:
    // The diagonal matrix d; mat4(1) is the identity.
    explicit mat4(float d);

    vec4& operator[](unsigned i);
    const vec4& operator[](unsigned i) const;

    // Scales columns 0 to 3 in turn, each with its own checks: a non-finite
    // later column fails after the earlier ones were scaled.
    mat4& operator*=(float s);
    // The matrix product this x m; both operands and the result must be finite.
    mat4 operator*(const mat4& m) const;

private:
    vec4 m_columns[4];
};

static_assert(sizeof(mat4) == 16 * sizeof(float), "mat4 must be 16 consecutive floats");
static_assert(std::is_trivially_copyable_v<mat4>, "mat4 must be copyable as raw floats");

// Checks columns 0 to 3 in order.
inline bool isFinite(const mat4& m)
{
    return isFinite(m[0]) && isFinite(m[1]) && isFinite(m[2]) && isFinite(m[3]);
}

// ---- construction and access -------------------------------------------------

inline mat4::mat4(float d)
    : m_columns{vec4(d, 0.0f, 0.0f, 0.0f), vec4(0.0f, d, 0.0f, 0.0f), vec4(0.0f, 0.0f, d, 0.0f),
                vec4(0.0f, 0.0f, 0.0f, d)}
{
}

inline vec4& mat4::operator[](unsigned i)
{
    VORNIC3D_CHECK(i < 4);
    return m_columns[i];
}

inline const vec4& mat4::operator[](unsigned i) const
{
    VORNIC3D_CHECK(i < 4);
    return m_columns[i];
}

// ---- arithmetic ---------------------------------------------------------------

inline mat4& mat4::operator*=(float s)
{
    m_columns[0] *= s;
    m_columns[1] *= s;
    m_columns[2] *= s;
    m_columns[3] *= s;
    return *this;
}

// ---- free functions -----------------------------------------------------------

// result[j][i] = m[i][j]. Reads m through the checking const accessors, so a
// non-finite column fails there.
mat4 transpose(const mat4& m);

} // namespace slmath
