#include "CheckRecord.h"

#include "slmath/vec3.h"
#include "slmath/vec4.h"

#include <cfloat>
#include <cmath>
#include <functional>
#include <random>

using namespace slmath;
using namespace slmathtest;

namespace {

// Two roundings (reciprocal, product) or a short sum of single-precision terms.
constexpr double kFloatRelative = 4.0 * FLT_EPSILON;

vec3 randomVec3(std::mt19937& rng, float range)
{
    std::uniform_real_distribution<float> d(-range, range);
    const float x = d(rng), y = d(rng), z = d(rng);
    return vec3(x, y, z);
}

// ---- division -------------------------------------------------------------------

struct DivisorCase {
    float divisor;
    bool accepted;
};

const DivisorCase kDivisorCases[] = {
    {0.0f, false},     {-0.0f, false},    {1.0e-39f, false},  {-1.0e-39f, false},
    {std::nextafter(FLT_MIN, 0.0f), false}, {FLT_MIN, true},  {-FLT_MIN, true},
    {3.0f, true},      {-7.5e30f, true},  {kInf, false},      {kNaN, false},
};

TEST(slmathVector, DivisionRejectsDivisorsBelowFltMinAndLeavesTheVectorUnchanged)
{
    for (const DivisorCase& c : kDivisorCases) {
        SCOPED_TRACE(testing::Message() << "divisor " << c.divisor);
        vec3 v(1.0f, -2.0f, 3.0f);
        if (!c.accepted) {
            EXPECT_CHECK_FAILS("slmath::vec3::operator/=", "slmath/vec3.h", [&] { v /= c.divisor; });
            EXPECT_EQ(v.x, 1.0f);
            EXPECT_EQ(v.y, -2.0f);
            EXPECT_EQ(v.z, 3.0f);
            continue;
        }
        v /= c.divisor;
        const double d = c.divisor;
        expectNear(v.x, 1.0 / d, std::fabs(1.0 / d), kFloatRelative);
        expectNear(v.y, -2.0 / d, std::fabs(2.0 / d), kFloatRelative);
        expectNear(v.z, 3.0 / d, std::fabs(3.0 / d), kFloatRelative);
    }
}

// ---- results against double precision ---------------------------------------

TEST(slmathVector, LengthNormalizeAndCrossMatchDoublePrecision)
{
    std::mt19937 rng(1234);
    for (int n = 0; n < 200; ++n) {
        const float range = n < 100 ? 1.0f : 1.0e15f;
        const vec3 a = randomVec3(rng, range);
        const vec3 b = randomVec3(rng, range);
        const double ax = a.x, ay = a.y, az = a.z, bx = b.x, by = b.y, bz = b.z;
        const double la = std::sqrt(ax * ax + ay * ay + az * az);
        const double lb = std::sqrt(bx * bx + by * by + bz * bz);

        expectNear(length(a), la, la, kFloatRelative);

        const vec3 u = normalize(a);
        expectNear(u.x, ax / la, 1.0, kFloatRelative);
        expectNear(u.y, ay / la, 1.0, kFloatRelative);
        expectNear(u.z, az / la, 1.0, kFloatRelative);

        // Cancellation makes the error relative to |a||b|, not to the result.
        const vec3 c = cross(a, b);
        expectNear(c.x, ay * bz - az * by, la * lb, kFloatRelative);
        expectNear(c.y, az * bx - ax * bz, la * lb, kFloatRelative);
        expectNear(c.z, ax * by - ay * bx, la * lb, kFloatRelative);
    }
}

TEST(slmathVector, KnownResults)
{
    const vec3 u = normalize(vec3(3.0f, 0.0f, 4.0f));
    EXPECT_FLOAT_EQ(u.x, 0.6f);
    EXPECT_EQ(u.y, 0.0f);
    EXPECT_FLOAT_EQ(u.z, 0.8f);
    const vec3 z = cross(vec3(1, 0, 0), vec3(0, 1, 0));
    EXPECT_EQ(z.x, 0.0f);
    EXPECT_EQ(z.y, 0.0f);
    EXPECT_EQ(z.z, 1.0f);
    EXPECT_FLOAT_EQ(length(vec3(0, 1.8e19f, 0)), 1.8e19f);
    vec4 v(1, 2, 3, 4);
    v *= 0.5f;
    EXPECT_EQ(dot(v, vec4(2, 2, 2, 2)), 10.0f);
    // Summed from w down to x: the large terms cancel before x is added.
    EXPECT_EQ(dot(vec4(1, 1, 1, 1), vec4(1.0e8f, -1.0e8f, 1, 1)), 0.0f);
}

// ---- failures --------------------------------------------------------------------

struct FailureCase {
    const char* name;
    std::function<void()> run;
    const char* function;
    const char* file;
};

const FailureCase kFailureCases[] = {
    {"length overflows", [] { length(vec3(2e38f, 2e38f, 0)); }, "slmath::length", "slmath/vec3.h"},
    {"normalize zero", [] { normalize(vec3(0, 0, 0)); }, "slmath::normalize", "source/vec3.cpp"},
    // The squares underflow: too short to normalise although not zero.
    {"normalize tiny", [] { normalize(vec3(1e-30f, 0, 0)); }, "slmath::normalize", "source/vec3.cpp"},
    {"normalize huge", [] { normalize(vec3(1e20f, 0, 0)); }, "slmath::length", "slmath/vec3.h"},
    {"cross overflows", [] { cross(vec3(FLT_MAX, 0, 0), vec3(0, 2, 0)); }, "slmath::vec3::vec3",
     "slmath/vec3.h"},
    {"difference overflows", [] { vec3(FLT_MAX, 0, 0) - vec3(-FLT_MAX, 0, 0); }, "slmath::vec3::vec3",
     "slmath/vec3.h"},
    {"vec4 dot: a product overflows", [] { dot(vec4(FLT_MAX, 0, 0, 0), vec4(2, 0, 0, 0)); },
     "slmath::dot", "slmath/vec4.h"},
    {"vec4 dot: the sum overflows", [] { dot(vec4(FLT_MAX, FLT_MAX, 0, 0), vec4(1, 1, 0, 0)); },
     "slmath::dot", "slmath/vec4.h"},
    {"vec4 scale by NaN", [] { vec4(1, 2, 3, 4) *= kNaN; }, "slmath::vec4::operator*=", "slmath/vec4.h"},
    {"vec3 scale by infinity", [] { vec3(1, 2, 3) *= kInf; }, "slmath::vec3::operator*=",
     "slmath/vec3.h"},
};

TEST(slmathVector, FailuresNameTheirCheck)
{
    for (const FailureCase& c : kFailureCases) {
        SCOPED_TRACE(c.name);
        EXPECT_CHECK_FAILS(c.function, c.file, c.run);
    }
}

} // namespace
