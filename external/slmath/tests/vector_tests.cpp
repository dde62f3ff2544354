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

TEST(slmathVector, DivisionRejectsDivisorsBelowFltMinAndLeavesTheVectorUnchanged)
{
    for (float divisor : {0.0f, -0.0f, 1.0e-39f, -1.0e-39f, std::nextafter(FLT_MIN, 0.0f), FLT_MIN, -FLT_MIN, 3.0f,
                          -7.5e30f, kInf, kNaN}) {
        SCOPED_TRACE(divisor);
        const bool accepted = std::fabs(divisor) >= FLT_MIN && std::isfinite(divisor);
        const double before[] = {1.0, -2.0, 3.0};
        vec3 v(1.0f, -2.0f, 3.0f);
        EXPECT_EQ(failedIn([&] { v /= divisor; }), accepted ? "" : "slmath::vec3::operator/=");
        const double d = accepted ? divisor : 1.0; // a refused division leaves the vector
        for (unsigned i = 0; i < 3; ++i)
            expectNear(v[i], before[i] / d, std::fabs(before[i] / d), kFloatRelative);
    }
}

TEST(slmathVector, LengthNormalizeAndCrossMatchDoublePrecision)
{
    std::mt19937 rng(1234);
    for (int n = 0; n < 200; ++n) {
        std::uniform_real_distribution<float> d(n < 100 ? -1.0f : -1.0e15f, n < 100 ? 1.0f : 1.0e15f);
        const vec3 a(d(rng), d(rng), d(rng));
        const vec3 b(d(rng), d(rng), d(rng));
        const double ax = a.x, ay = a.y, az = a.z, bx = b.x, by = b.y, bz = b.z;
        const double la = std::sqrt(ax * ax + ay * ay + az * az);
        const double lb = std::sqrt(bx * bx + by * by + bz * bz);
        expectNear(length(a), la, la, kFloatRelative);
        const vec3 u = normalize(a);
        const vec3 c = cross(a, b);
        const double unit[] = {ax / la, ay / la, az / la};
        const double product[] = {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
        for (unsigned i = 0; i < 3; ++i) {
            expectNear(u[i], unit[i], 1.0, kFloatRelative);
            // Cancellation makes the error relative to |a||b|, not to the result.
            expectNear(c[i], product[i], la * lb, kFloatRelative);
        }
    }
    EXPECT_FLOAT_EQ(length(vec3(0, 1.8e19f, 0)), 1.8e19f); // the square passes FLT_MAX in no step
    // Summed from w down to x: the large terms cancel before x is added.
    EXPECT_EQ(dot(vec4(1, 1, 1, 1), vec4(1.0e8f, -1.0e8f, 1, 1)), 0.0f);
}

TEST(slmathVector, FailuresNameTheirCheck)
{
    const struct {
        const char* name;
        std::function<void()> run;
        const char* function;
    } cases[] = {
        {"length overflows", [] { length(vec3(2e38f, 2e38f, 0)); }, "slmath::length"},
        {"normalize zero", [] { normalize(vec3(0, 0, 0)); }, "slmath::normalize"},
        // The squares underflow: too short to normalise although not zero.
        {"normalize tiny", [] { normalize(vec3(1e-30f, 0, 0)); }, "slmath::normalize"},
        {"normalize huge", [] { normalize(vec3(1e20f, 0, 0)); }, "slmath::length"},
        {"cross overflows", [] { cross(vec3(FLT_MAX, 0, 0), vec3(0, 2, 0)); }, "slmath::vec3::vec3"},
        {"difference overflows", [] { vec3(FLT_MAX, 0, 0) - vec3(-FLT_MAX, 0, 0); }, "slmath::vec3::vec3"},
        {"vec4 dot: a product overflows", [] { dot(vec4(FLT_MAX, 0, 0, 0), vec4(2, 0, 0, 0)); }, "slmath::dot"},
        {"vec4 dot: the sum overflows", [] { dot(vec4(FLT_MAX, FLT_MAX, 0, 0), vec4(1, 1, 0, 0)); }, "slmath::dot"},
        {"vec4 scale by NaN", [] { vec4(1, 2, 3, 4) *= kNaN; }, "slmath::vec4::operator*="},
        {"vec3 scale by infinity", [] { vec3(1, 2, 3) *= kInf; }, "slmath::vec3::operator*="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failedIn(c.run), c.function) << c.name;
}

} // namespace
