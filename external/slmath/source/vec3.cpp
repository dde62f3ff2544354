#include "slmath/vec3.h"

#include <cfloat>

namespace slmath {

// ---- free functions ---------------------------------------------------------

vec3 normalize(const vec3& v)
{
    VORNIC3D_CHECK(isFinite(v));
    const float len = length(v);
    VORNIC3D_CHECK(len >= FLT_MIN);
    // One reciprocal, three products.
    const float r = 1.0f / len;
    const vec3 result(v.x * r, v.y * r, v.z * r);
    VORNIC3D_CHECK(isFinite(result));
    return result;
}

vec3 cross(const vec3& a, const vec3& b)
{
    VORNIC3D_CHECK(isFinite(a));
    VORNIC3D_CHECK(isFinite(b));
    const vec3 result(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    VORNIC3D_CHECK(isFinite(result));
    return result;
}

} // namespace slmath
