#include "render/Transform.h"

#include "render/ArithmeticException.h"

#include "core/Assert.h"
#include "slmath/vec3.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace render {

namespace {

// π/180 and as the nearest float, so a rotation comes out bit for bit the
// same wherever it is computed.
constexpr float kDegreesToRadians = 0.0174532924f;

// The row-order matrix with these rows: each row of the transform is a
// column of the mat4 that holds it.
slmath::mat4 fromRows(const slmath::vec4& row0, const slmath::vec4& row1, const slmath::vec4& row2,
                      const slmath::vec4& row3)
{
    slmath::mat4 m(0.0f);
    m[0] = row0;
    m[1] = row1;
    m[2] = row2;
    m[3] = row3;
    return m;
}

// The row-order product a × b: the mat4s hold the transposes, and
// (a × b)ᵀ = bᵀ × aᵀ.
slmath::mat4 rowOrderProduct(const slmath::mat4& a, const slmath::mat4& b)
{
    return b * a;
}

} // namespace

// ---- life cycle -------------------------------------------------------------

Transform::Transform() : m_matrix(1.0f) {}

Transform::Transform(const slmath::mat4& m) : m_matrix(m) {}

Transform::~Transform() noexcept(false) = default;

// ---- the 16 floats ----------------------------------------------------------------

void Transform::getMatrix(slmath::mat4& out) const
{
    out = m_matrix;
}

void Transform::setMatrix(const slmath::mat4& m)
{
    m_matrix = m;
}

void Transform::get(float* out) const
{
    VORNIC3D_CHECK(out != nullptr);
    // Copied as raw floats: a matrix set with setMatrix may hold anything,
    // and reading it back must not fail.
    std::memcpy(out, &m_matrix, sizeof m_matrix);
}

void Transform::set(const float* values)
{
    VORNIC3D_CHECK(values != nullptr);
    // All four rows are built (and so checked) before any is stored: a
    // refused value leaves the matrix as it was.
    m_matrix = fromRows(slmath::vec4(values[0], values[1], values[2], values[3]),
                        slmath::vec4(values[4], values[5], values[6], values[7]),
                        slmath::vec4(values[8], values[9], values[10], values[11]),
                        slmath::vec4(values[12], values[13], values[14], values[15]));
}

void Transform::set(const Transform& other)
{
    m_matrix = other.m_matrix;
}

void Transform::setIdentity()
{
    m_matrix = slmath::mat4(1.0f);
}

// ---- post operations ----------------------------------------------------------------

void Transform::postMultiply(const Transform& t)
{
    m_matrix = rowOrderProduct(m_matrix, t.m_matrix);
}

void Transform::postRotate(float angle, float ax, float ay, float az)
{
    VORNIC3D_ASSERT(!(ax == 0.0f && ay == 0.0f && az == 0.0f && angle != 0.0f),
                    "the rotation axis (ax ay az) is zero and angle is nonzero");
    const float a = angle * kDegreesToRadians;
    const float c = static_cast<float>(std::cos(static_cast<double>(a)));
    const float s = static_cast<float>(std::sin(static_cast<double>(a)));
    const float t = 1.0f - c;
    const slmath::vec3 axis = slmath::normalize(slmath::vec3(ax, ay, az));
    const float x = axis.x;
    const float y = axis.y;
    const float z = axis.z;
    const float tx = t * x;
    const float ty = t * y;
    const float tz = t * z;
    const slmath::mat4 rotation =
        fromRows(slmath::vec4(tx * x + c, tx * y - s * z, tx * z + s * y, 0.0f),
                 slmath::vec4(tx * y + s * z, ty * y + c, ty * z - s * x, 0.0f),
                 slmath::vec4(tx * z - s * y, ty * z + s * x, tz * z + c, 0.0f), slmath::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    m_matrix = rowOrderProduct(m_matrix, rotation);
}

void Transform::postScale(float sx, float sy, float sz)
{
    const slmath::mat4 scale = fromRows(slmath::vec4(sx, 0.0f, 0.0f, 0.0f), slmath::vec4(0.0f, sy, 0.0f, 0.0f),
                                        slmath::vec4(0.0f, 0.0f, sz, 0.0f), slmath::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    m_matrix = rowOrderProduct(m_matrix, scale);
}

// Sprites and texts are placed by a translation each, every frame, so the
// product M x T is formed here from the terms that matter, bit for bit as
// the full product forms it. Each row keeps its first three elements, plus
// the row's products with T's zeros: 0 x v is a zero of v's sign, so the sum
// leaves a non-zero element as it is and gives a zero element the sign the
// full product gives it (negative only when every term is). The last
// element is the row times (tx, ty, tz, 1), summed as the product sums.
// 0 x v is 0 exactly when v is finite, so the same zeros tell whether M and
// the result pass the product's checks; when they do not, the full product
// runs and fails as it always has.
void Transform::postTranslate(float tx, float ty, float tz)
{
    // Checked as the translation's rows are.
    const slmath::vec4 t(tx, ty, tz, 1.0f);
    slmath::mat4 product(m_matrix);
    float zeros = 0.0f;
    for (unsigned row = 0; row < 4; ++row) {
        const slmath::vec4& m = m_matrix[row];
        const float rowZeros = (0.0f * m.x + 0.0f * m.y) + (0.0f * m.z + 0.0f * m.w);
        slmath::vec4& r = product[row];
        r.x = m.x + rowZeros;
        r.y = m.y + rowZeros;
        r.z = m.z + rowZeros;
        r.w = ((m.w + t.z * m.z) + t.y * m.y) + t.x * m.x;
        zeros += rowZeros + 0.0f * r.w;
    }
    if (zeros == 0.0f) {
        m_matrix = product;
        return;
    }
    const slmath::mat4 translation = fromRows(slmath::vec4(1.0f, 0.0f, 0.0f, tx), slmath::vec4(0.0f, 1.0f, 0.0f, ty),
                                              slmath::vec4(0.0f, 0.0f, 1.0f, tz), slmath::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    m_matrix = rowOrderProduct(m_matrix, translation);
}

// ---- inverse ------------------------------------------------------------------------

void Transform::invert()
{
    if (!slmath::isFinite(m_matrix))
        throw ArithmeticException("Components of the matrix are not valid numbers so transform not invertible");

    // a(r, c) is element (row r, column c), read from the raw floats: the
    // matrix was checked once above.
    float e[16];
    std::memcpy(e, &m_matrix, sizeof e);
    const auto a = [&e](int r, int c) { return e[4 * r + c]; };

    // The 2x2 sub-determinants of rows 0-1 (s) and rows 2-3 (c), from which
    // every cofactor and the determinant are built.
    const float s0 = a(0, 0) * a(1, 1) - a(1, 0) * a(0, 1);
    const float s1 = a(0, 0) * a(1, 2) - a(1, 0) * a(0, 2);
    const float s2 = a(0, 0) * a(1, 3) - a(1, 0) * a(0, 3);
    const float s3 = a(0, 1) * a(1, 2) - a(1, 1) * a(0, 2);
    const float s4 = a(0, 1) * a(1, 3) - a(1, 1) * a(0, 3);
    const float s5 = a(0, 2) * a(1, 3) - a(1, 2) * a(0, 3);
    const float c5 = a(2, 2) * a(3, 3) - a(3, 2) * a(2, 3);
    const float c4 = a(2, 1) * a(3, 3) - a(3, 1) * a(2, 3);
    const float c3 = a(2, 1) * a(3, 2) - a(3, 1) * a(2, 2);
    const float c2 = a(2, 0) * a(3, 3) - a(3, 0) * a(2, 3);
    const float c1 = a(2, 0) * a(3, 2) - a(3, 0) * a(2, 2);
    const float c0 = a(2, 0) * a(3, 1) - a(3, 0) * a(2, 1);
    const float d = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;

    // A determinant that overflowed would make the "inverse" all zeros.
    if ((d > -FLT_MIN && d < FLT_MIN) || !slmath::isFinite(d))
        throw ArithmeticException("Transform not invertible");

    slmath::mat4 inverse =
        fromRows(slmath::vec4(a(1, 1) * c5 - a(1, 2) * c4 + a(1, 3) * c3, -a(0, 1) * c5 + a(0, 2) * c4 - a(0, 3) * c3,
                              a(3, 1) * s5 - a(3, 2) * s4 + a(3, 3) * s3, -a(2, 1) * s5 + a(2, 2) * s4 - a(2, 3) * s3),
                 slmath::vec4(-a(1, 0) * c5 + a(1, 2) * c2 - a(1, 3) * c1, a(0, 0) * c5 - a(0, 2) * c2 + a(0, 3) * c1,
                              -a(3, 0) * s5 + a(3, 2) * s2 - a(3, 3) * s1, a(2, 0) * s5 - a(2, 2) * s2 + a(2, 3) * s1),
                 slmath::vec4(a(1, 0) * c4 - a(1, 1) * c2 + a(1, 3) * c0, -a(0, 0) * c4 + a(0, 1) * c2 - a(0, 3) * c0,
                              a(3, 0) * s4 - a(3, 1) * s2 + a(3, 3) * s0, -a(2, 0) * s4 + a(2, 1) * s2 - a(2, 3) * s0),
                 slmath::vec4(-a(1, 0) * c3 + a(1, 1) * c1 - a(1, 2) * c0, a(0, 0) * c3 - a(0, 1) * c1 + a(0, 2) * c0,
                              -a(3, 0) * s3 + a(3, 1) * s1 - a(3, 2) * s0, a(2, 0) * s3 - a(2, 1) * s1 + a(2, 2) * s0));
    inverse *= 1.0f / d;
    // The adjugate may be finite and its scaled copy not.
    if (!slmath::isFinite(inverse))
        throw ArithmeticException("Transform not invertible");
    m_matrix = inverse;
}

} // namespace render
