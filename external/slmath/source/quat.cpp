#include "slmath/quat.h"

#include <cfloat>
#include <cmath>

namespace slmath {

namespace {

bool isUnit(const quat& q)
{
    return std::fabs(std::sqrt(dot(q, q)) - 1.0f) < kUnitTolerance;
}

} // namespace

// ---- free functions ---------------------------------------------------------

quat normalize(const quat& q)
{
    const float len = std::sqrt(dot(q, q));
    VORNIC3D_CHECK(len > FLT_MIN);
    return q * (1.0f / len);
}

void toAngleAxis(const quat& q, float& angle, vec3& axis)
{
    VORNIC3D_CHECK(isUnit(q));
    // The tolerance admits |w| slightly above 1, where acos and the square
    // root would give NaN: such a q is the identity rotation within tolerance.
    const float w = clamp(q.w, -1.0f, 1.0f);
    angle = 2.0f * static_cast<float>(std::acos(static_cast<double>(w)));
    const float oneMinusW2 = 1.0f - w * w;
    const float s = std::sqrt(oneMinusW2 > 0.0f ? oneMinusW2 : 0.0f);
    if (s <= FLT_MIN) {
        axis.x = q.x;
        axis.y = q.y;
        axis.z = q.z;
        return;
    }
    const float r = 1.0f / s;
    axis.x = q.x * r;
    axis.y = q.y * r;
    axis.z = q.z * r;
}

quat slerp(const quat& a, const quat& b, float t)
{
    VORNIC3D_CHECK(isUnit(a));
    VORNIC3D_CHECK(isUnit(b));
    const float c = clamp(dot(a, b), -1.0f, 1.0f);
    const float theta = static_cast<float>(std::acos(static_cast<double>(c)));
    const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
    // Equal inputs give theta 0; exactly opposite ones give the float nearest
    // pi, just above it, whose sine is a tiny negative number.
    if (s < FLT_MIN)
        return a;
    const float r = 1.0f / s;
    const float wb = static_cast<float>(std::sin(static_cast<double>(t * theta))) * r;
    const float wa = static_cast<float>(std::sin(static_cast<double>((1.0f - t) * theta))) * r;
    const quat bPart = b * wb;
    const quat aPart = a * wa;
    return aPart + bPart;
}

} // namespace slmath
