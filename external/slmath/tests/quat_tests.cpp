#include "CheckRecord.h"

#include "slmath/quat.h"

#include <cfloat>
#include <cmath>

using namespace slmath;
using namespace slmathtest;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kQuatTolerance = 4.0 * FLT_EPSILON;

// The rotation by `angle` radians about the unit axis (ax, ay, az).
quat rotation(double angle, double ax, double ay, double az)
{
    const double s = std::sin(angle / 2.0);
    return quat(static_cast<float>(ax * s), static_cast<float>(ay * s), static_cast<float>(az * s),
                static_cast<float>(std::cos(angle / 2.0)));
}

void expectQuatNear(const quat& actual, const quat& expected)
{
    expectNear(actual.x, expected.x, 1.0, kQuatTolerance);
    expectNear(actual.y, expected.y, 1.0, kQuatTolerance);
    expectNear(actual.z, expected.z, 1.0, kQuatTolerance);
    expectNear(actual.w, expected.w, 1.0, kQuatTolerance);
}

void expectQuatEq(const quat& actual, const quat& expected)
{
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.z, expected.z);
    EXPECT_EQ(actual.w, expected.w);
}

// ---- slerp --------------------------------------------------------------------------

struct SlerpCase {
    const char* name;
    quat a, b;
    float t;
    quat expected;
    bool exact;
};

const quat kIdentity(0, 0, 0, 1);
const quat kDiagonal(0.5f, 0.5f, 0.5f, 0.5f);
const quat kQuarterZ = rotation(kPi / 2, 0, 0, 1);

const SlerpCase kSlerpCases[] = {
    {"quarter turn, t = 0", kIdentity, kQuarterZ, 0.0f, kIdentity, false},
    {"quarter turn, t = 1", kIdentity, kQuarterZ, 1.0f, kQuarterZ, false},
    {"quarter turn, midpoint", kIdentity, kQuarterZ, 0.5f, rotation(kPi / 4, 0, 0, 1), false},
    {"quarter turn, extrapolated", kIdentity, kQuarterZ, 2.0f, rotation(kPi, 0, 0, 1), false},
    // dot(a, b) < 0: b is not negated, so the midpoint lies on the longer arc.
    {"longer arc", kIdentity, rotation(1.5 * kPi, 0, 0, 1), 0.5f, rotation(0.75 * kPi, 0, 0, 1), false},
    {"equal, t = 0", kDiagonal, kDiagonal, 0.0f, kDiagonal, true},
    {"equal, midpoint", kDiagonal, kDiagonal, 0.5f, kDiagonal, true},
    {"equal, t = 1", kDiagonal, kDiagonal, 1.0f, kDiagonal, true},
    {"equal, extrapolated", kDiagonal, kDiagonal, 2.5f, kDiagonal, true},
    {"opposite, midpoint", kDiagonal, quat(-0.5f, -0.5f, -0.5f, -0.5f), 0.5f, kDiagonal, true},
    {"opposite identity, t = 1", kIdentity, quat(0, 0, 0, -1), 1.0f, kIdentity, true},
};

TEST(slmathQuat, Slerp)
{
    for (const SlerpCase& c : kSlerpCases) {
        SCOPED_TRACE(c.name);
        const quat q = slerp(c.a, c.b, c.t);
        if (c.exact)
            expectQuatEq(q, c.expected);
        else
            expectQuatNear(q, c.expected);
    }
}

// ---- unit tolerance -----------------------------------------------------------------

TEST(slmathQuat, UnitToleranceEdge)
{
    const struct {
        float length;
        bool accepted;
    } cases[] = {{1.0f, true}, {1.0009f, true}, {0.9991f, true}, {1.002f, false}, {0.998f, false},
                 {0.0f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const quat q = rotation(0.6, 0, 1, 0) * c.length;
        float angle = -7.0f;
        vec3 axis(9, 9, 9);
        if (c.accepted) {
            EXPECT_NO_THROW(toAngleAxis(q, angle, axis));
            EXPECT_NO_THROW(slerp(q, kIdentity, 0.5f));
            EXPECT_NO_THROW(slerp(kIdentity, q, 0.5f));
            continue;
        }
        EXPECT_CHECK_FAILS("slmath::toAngleAxis", "source/quat.cpp",
                           [&] { toAngleAxis(q, angle, axis); });
        EXPECT_EQ(angle, -7.0f);
        EXPECT_EQ(axis.x, 9.0f);
        EXPECT_CHECK_FAILS("slmath::slerp", "source/quat.cpp", [&] { slerp(q, kIdentity, 0.5f); });
        EXPECT_CHECK_FAILS("slmath::slerp", "source/quat.cpp", [&] { slerp(kIdentity, q, 0.5f); });
    }
}

// ---- angle and axis -------------------------------------------------------------------

struct AngleAxisCase {
    const char* name;
    quat q;
    float angle;
    vec3 axis;
};

const AngleAxisCase kAngleAxisCases[] = {
    {"identity", kIdentity, 0.0f, vec3(0, 0, 0)},
    {"half radian about z", rotation(0.5, 0, 0, 1), 0.5f, vec3(0, 0, 1)},
    {"three radians about z", rotation(3.0, 0, 0, 1), 3.0f, vec3(0, 0, 1)},
    {"oblique axis", rotation(1.2, 2.0 / 3, 1.0 / 3, 2.0 / 3), 1.2f, vec3(2.0f / 3, 1.0f / 3, 2.0f / 3)},
    // w a little above 1 passes the tolerance; it must read as no rotation,
    // not as NaN.
    {"w one ulp above 1", quat(0, 0, 0, std::nextafter(1.0f, 2.0f)), 0.0f, vec3(0, 0, 0)},
    {"w at the tolerance", quat(0.01f, 0, 0, 1.0009f), 0.0f, vec3(0.01f, 0, 0)},
    {"w below -1", quat(0, 0, 0, -1.0009f), static_cast<float>(2 * kPi), vec3(0, 0, 0)},
};

TEST(slmathQuat, ToAngleAxis)
{
    for (const AngleAxisCase& c : kAngleAxisCases) {
        SCOPED_TRACE(c.name);
        float angle = kNaN;
        vec3 axis;
        toAngleAxis(c.q, angle, axis);
        ASSERT_TRUE(isFinite(angle));
        ASSERT_TRUE(isFinite(axis));
        expectNear(angle, c.angle, 1.0, 2.0e-6);
        expectNear(axis.x, c.axis.x, 1.0, 4.0e-6);
        expectNear(axis.y, c.axis.y, 1.0, 4.0e-6);
        expectNear(axis.z, c.axis.z, 1.0, 4.0e-6);
    }
}

// ---- normalisation and arithmetic ---------------------------------------------------

TEST(slmathQuat, Normalize)
{
    expectQuatEq(normalize(quat(0, 0, 0, 2)), kIdentity);
    expectQuatNear(normalize(quat(3, 0, 0, 4)), quat(0.6f, 0, 0, 0.8f));
}

TEST(slmathQuat, Failures)
{
    EXPECT_CHECK_FAILS("slmath::normalize", "source/quat.cpp", [] { normalize(quat(0, 0, 0, 0)); });
    // The square underflows to 0: too short to normalise although not zero.
    EXPECT_CHECK_FAILS("slmath::normalize", "source/quat.cpp", [] { normalize(quat(1e-23f, 0, 0, 0)); });
    EXPECT_CHECK_FAILS("slmath::dot", "slmath/quat.h", [] { normalize(quat(1e20f, 0, 0, 0)); });
    EXPECT_CHECK_FAILS("slmath::quat::quat", "slmath/quat.h",
                       [] { quat(FLT_MAX, 0, 0, 0) + quat(FLT_MAX, 0, 0, 0); });
    EXPECT_CHECK_FAILS("slmath::quat::operator*", "slmath/quat.h", [] { kIdentity * kInf; });
    EXPECT_CHECK_FAILS("slmath::quat::operator*", "slmath/quat.h",
                       [] { slerp(kIdentity, kQuarterZ, kNaN); });
}

} // namespace
