#include "CheckRecord.h"

#include "slmath/mat4.h"

#include <cfloat>
#include <cstring>
#include <random>

using namespace slmath;
using namespace slmathtest;

namespace {

TEST(slmathMat4, ElementRowRColumnCIsFloat4CPlusR)
{
    mat4 m(0.0f);
    for (unsigned c = 0; c < 4; ++c)
        for (unsigned r = 0; r < 4; ++r)
            m[c][r] = static_cast<float>(4 * c + r);
    float f[16];
    std::memcpy(f, &m, sizeof f);
    const mat4 t = transpose(m);
    for (unsigned i = 0; i < 16; ++i) {
        EXPECT_EQ(f[i], static_cast<float>(i));
        EXPECT_EQ(t[i % 4][i / 4], f[i]);
    }
}

TEST(slmathMat4, ProductMatchesDoublePrecision)
{
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> d(-10.0f, 10.0f);
    mat4 a(0.0f), b(0.0f);
    for (int n = 0; n < 100; ++n) {
        for (unsigned c = 0; c < 4; ++c)
            for (unsigned r = 0; r < 4; ++r) {
                a[c][r] = d(rng);
                b[c][r] = d(rng);
            }
        const mat4 p = a * b;
        for (unsigned c = 0; c < 4; ++c)
            for (unsigned r = 0; r < 4; ++r) {
                double sum = 0.0, magnitude = 0.0;
                for (unsigned k = 0; k < 4; ++k) {
                    sum += static_cast<double>(a[k][r]) * b[c][k];
                    magnitude += std::fabs(static_cast<double>(a[k][r]) * b[c][k]);
                }
                expectNear(p[c][r], sum, magnitude, 4.0 * FLT_EPSILON);
            }
    }
}

TEST(slmathMat4, FailuresAndPartialScaling)
{
    mat4 bad(1.0f);
    bad[3][0] = kNaN;
    EXPECT_EQ(failedIn([&] { mat4(FLT_MAX) * mat4(2.0f); }), "slmath::mat4::operator*"); // the result overflows
    EXPECT_EQ(failedIn([&] { mat4(1.0f) * bad; }), "slmath::mat4::operator*");
    EXPECT_EQ(failedIn([&] { bad* mat4(1.0f); }), "slmath::mat4::operator*");
    EXPECT_EQ(failedIn([&] { transpose(bad); }), "slmath::vec4::operator[]");
    EXPECT_EQ(failedIn([&] { mat4(1.0f) *= kNaN; }), "slmath::vec4::operator*=");

    // Scaling goes column by column: a bad column fails after the ones before it.
    mat4 m(1.0f);
    m[2][2] = kInf;
    EXPECT_EQ(failedIn([&] { m *= 2.0f; }), "slmath::vec4::operator*=");
    EXPECT_EQ(m[1][1], 2.0f);
    EXPECT_EQ(m[3][3], 1.0f);
}

} // namespace
