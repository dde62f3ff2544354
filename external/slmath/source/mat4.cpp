#include "slmath/mat4.h"

namespace slmath {

namespace {

// One element of a product: row (a0..a3) of the left operand times column b
// of the right one, accumulated from the last term down to the first.
inline float rowTimesColumn(float a0, float a1, float a2, float a3, const vec4& b)
{
    return ((a3 * b.w + a2 * b.z) + a1 * b.y) + a0 * b.x;
}

} // namespace

// ---- arithmetic ---------------------------------------------------------------

mat4 mat4::operator*(const mat4& m) const
{
    VORNIC3D_CHECK(isFinite(m));
    VORNIC3D_CHECK(isFinite(*this));

    // Written out element by element: this runs for every node of every frame.
    const vec4* a = m_columns;
    const vec4* b = m.m_columns;
    mat4 result(0.0f);
    for (unsigned i = 0; i < 4; ++i) {
        vec4& out = result.m_columns[i];
        out.x = rowTimesColumn(a[0].x, a[1].x, a[2].x, a[3].x, b[i]);
        out.y = rowTimesColumn(a[0].y, a[1].y, a[2].y, a[3].y, b[i]);
        out.z = rowTimesColumn(a[0].z, a[1].z, a[2].z, a[3].z, b[i]);
        out.w = rowTimesColumn(a[0].w, a[1].w, a[2].w, a[3].w, b[i]);
    }
    VORNIC3D_CHECK(isFinite(result));
    return result;
}

// ---- free functions -----------------------------------------------------------

mat4 transpose(const mat4& m)
{
    mat4 result(0.0f);
    for (unsigned i = 0; i < 4; ++i)
        for (unsigned j = 0; j < 4; ++j)
            result[j][i] = m[i][j];
    return result;
}

} // namespace slmath
