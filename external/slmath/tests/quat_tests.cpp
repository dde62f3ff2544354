#include "CheckRecord.h"

#include "slmath/quat.h"

#include <cfloat>
#include <cmath>

using namespace slmath;
using namespace slmathtest;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The rotation by `angle` radians about the unit axis (ax, ay, az).
quat rotation(double angle, double ax, double ay, double az)
{
    const double s = std::sin(angle / 2.0);
    return quat(static_cast<float>(ax * s), static_cast<float>(ay * s), static_cast<float>(az * s),
                static_cast<float>(std::cos(angle / 2.0)));
}

// Within `tolerance` in each component; 0 asks for the exact floats.
void expectQuat(const quat& actual, const quat& expected, double tolerance)
{
    const float a[] = {actual.x, actual.y, actual.z, actual.w};
    const float e[] = {expected.x, expected.y, expected.z, expected.w};
    for (int i = 0; i < 4; ++i)
        expectNear(a[i], e[i], 1.0, tolerance);
}

const quat kIdentity(0, 0, 0, 1);
const quat kDiagonal(0.5f, 0.5f, 0.5f, 0.5f);
const quat kQuarterZ = rotation(kPi / 2, 0, 0, 1);

TEST(slmathQuat, Slerp)
{
    const double kNear = 4.0 * FLT_EPSILON;
    const struct {
        const char* name;
        quat a, b;
        float t;
        quat expected;
        double tolerance;
    } cases[] = {
        {"quarter turn, t = 0", kIdentity, kQuarterZ, 0.0f, kIdentity, kNear},
        {"quarter turn, t = 1", kIdentity, kQuarterZ, 1.0f, kQuarterZ, kNear},
        {"quarter turn, midpoint", kIdentity, kQuarterZ, 0.5f, rotation(kPi / 4, 0, 0, 1), kNear},
        {"quarter turn, extrapolated", kIdentity, kQuarterZ, 2.0f, rotation(kPi, 0, 0, 1), kNear},
        // dot(a, b) < 0: b is not negated, so the midpoint lies on the longer arc.
        {"longer arc", kIdentity, rotation(1.5 * kPi, 0, 0, 1), 0.5f, rotation(0.75 * kPi, 0, 0, 1), kNear},
        {"equal, midpoint", kDiagonal, kDiagonal, 0.5f, kDiagonal, 0},
        {"equal, extrapolated", kDiagonal, kDiagonal, 2.5f, kDiagonal, 0},
        {"opposite, midpoint", kDiagonal, quat(-0.5f, -0.5f, -0.5f, -0.5f), 0.5f, kDiagonal, 0},
        {"opposite identity, t = 1", kIdentity, quat(0, 0, 0, -1), 1.0f, kIdentity, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectQuat(slerp(c.a, c.b, c.t), c.expected, c.tolerance);
    }
}

TEST(slmathQuat, UnitToleranceEdge)
{
    for (float length : {1.0f, 1.0009f, 0.9991f, 1.002f, 0.998f, 0.0f}) {
        SCOPED_TRACE(length);
        const quat q = rotation(0.6, 0, 1, 0) * length;
        const bool accepted = std::fabs(length - 1.0f) < 0.001f;
        float angle = -7.0f;
        vec3 axis(9, 9, 9);
        EXPECT_EQ(failedIn([&] { toAngleAxis(q, angle, axis); }), accepted ? "" : "slmath::toAngleAxis");
        EXPECT_EQ(failedIn([&] { slerp(q, kIdentity, 0.5f); }), accepted ? "" : "slmath::slerp");
        EXPECT_EQ(failedIn([&] { slerp(kIdentity, q, 0.5f); }), accepted ? "" : "slmath::slerp");
        if (!accepted) {
            EXPECT_TRUE(angle == -7.0f && axis.x == 9.0f) << "a refused quaternion writes nothing";
        }
    }
}

TEST(slmathQuat, ToAngleAxis)
{
    const struct {
        const char* name;
        quat q;
        float angle;
        vec3 axis;
    } cases[] = {
        {"identity", kIdentity, 0.0f, vec3(0, 0, 0)},
        {"half radian about z", rotation(0.5, 0, 0, 1), 0.5f, vec3(0, 0, 1)},
        {"three radians about z", rotation(3.0, 0, 0, 1), 3.0f, vec3(0, 0, 1)},
        {"oblique axis", rotation(1.2, 2.0 / 3, 1.0 / 3, 2.0 / 3), 1.2f, vec3(2.0f / 3, 1.0f / 3, 2.0f / 3)},
        // w a little above 1 passes the tolerance; it must read as no rotation, not as NaN.
        {"w one ulp above 1", quat(0, 0, 0, std::nextafter(1.0f, 2.0f)), 0.0f, vec3(0, 0, 0)},
        {"w at the tolerance", quat(0.01f, 0, 0, 1.0009f), 0.0f, vec3(0.01f, 0, 0)},
        {"w below -1", quat(0, 0, 0, -1.0009f), static_cast<float>(2 * kPi), vec3(0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        float angle = kNaN;
        vec3 axis;
        toAngleAxis(c.q, angle, axis);
        expectNear(angle, c.angle, 1.0, 2.0e-6);
        for (unsigned i = 0; i < 3; ++i)
            expectNear(axis[i], c.axis[i], 1.0, 4.0e-6);
    }
}

TEST(slmathQuat, NormalizeAndFailures)
{
    expectQuat(normalize(quat(0, 0, 0, 2)), kIdentity, 0);
    expectQuat(normalize(quat(3, 0, 0, 4)), quat(0.6f, 0, 0, 0.8f), 4.0 * FLT_EPSILON);
    EXPECT_EQ(failedIn([] { normalize(quat(0, 0, 0, 0)); }), "slmath::normalize");
    // The square underflows to 0: too short to normalise although not zero.
    EXPECT_EQ(failedIn([] { normalize(quat(1e-23f, 0, 0, 0)); }), "slmath::normalize");
    EXPECT_EQ(failedIn([] { normalize(quat(1e20f, 0, 0, 0)); }), "slmath::dot");
    EXPECT_EQ(failedIn([] { quat(FLT_MAX, 0, 0, 0) + quat(FLT_MAX, 0, 0, 0); }), "slmath::quat::quat");
    EXPECT_EQ(failedIn([] { kIdentity* kInf; }), "slmath::quat::operator*");
    EXPECT_EQ(failedIn([] { slerp(kIdentity, kQuarterZ, kNaN); }), "slmath::quat::operator*");
}

} // namespace
