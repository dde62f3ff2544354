#include "CheckRecord.h"

#include "slmath/mat4.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>

using namespace slmath;
using namespace slmathtest;

namespace {

mat4 fromFloats(const float (&f)[16])
{
    mat4 m(0.0f);
    std::memcpy(&m, f, sizeof f);
    return m;
}

mat4 randomMat4(std::mt19937& rng)
{
    std::uniform_real_distribution<float> d(-10.0f, 10.0f);
    mat4 m(0.0f);
    for (unsigned c = 0; c < 4; ++c)
        for (unsigned r = 0; r < 4; ++r)
            m[c][r] = d(rng);
    return m;
}

// Element by element, so that -0 equals 0.
void expectEqualMatrices(const mat4& a, const mat4& b)
{
    for (unsigned c = 0; c < 4; ++c)
        for (unsigned r = 0; r < 4; ++r)
            EXPECT_EQ(a[c][r], b[c][r]) << "row " << r << ", column " << c;
}

// ---- layout ----------------------------------------------------------------------

TEST(slmathMat4, ElementRowRColumnCIsFloat4CPlusR)
{
    mat4 m(0.0f);
    for (unsigned c = 0; c < 4; ++c)
        for (unsigned r = 0; r < 4; ++r)
            m[c][r] = static_cast<float>(4 * c + r);
    float f[16];
    std::memcpy(f, &m, sizeof f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(f[i], static_cast<float>(i));
    const mat4 t = transpose(m);
    EXPECT_EQ(t[1][2], m[2][1]);
    expectEqualMatrices(transpose(t), m);
}

// Floats in row order read as a mat4 are the transpose, so the row-order
// product A x B is the mat4 product with the operands exchanged.
TEST(slmathMat4, RowOrderProductIsTheExchangedProduct)
{
    const float translate[16] = {1, 0, 0, 5, 0, 1, 0, 6, 0, 0, 1, 7, 0, 0, 0, 1};
    const float scale[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};
    const float expected[16] = {2, 0, 0, 5, 0, 3, 0, 6, 0, 0, 4, 7, 0, 0, 0, 1};
    expectEqualMatrices(fromFloats(scale) * fromFloats(translate), fromFloats(expected));
}

// ---- product ---------------------------------------------------------------------

TEST(slmathMat4, ProductMatchesDoublePrecision)
{
    std::mt19937 rng(99);
    const mat4 identity(1.0f);
    for (int n = 0; n < 100; ++n) {
        const mat4 a = randomMat4(rng);
        const mat4 b = randomMat4(rng);
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
        expectEqualMatrices(identity * a, a);
        expectEqualMatrices(a * identity, a);
    }
}

TEST(slmathMat4, ProductFailures)
{
    mat4 big(FLT_MAX);
    mat4 bad(1.0f);
    bad[3][0] = kNaN;
    EXPECT_CHECK_FAILS("slmath::mat4::operator*", "source/mat4.cpp", [&] { big * mat4(2.0f); });
    EXPECT_CHECK_FAILS("slmath::mat4::operator*", "source/mat4.cpp", [&] { mat4(1.0f) * bad; });
    EXPECT_CHECK_FAILS("slmath::mat4::operator*", "source/mat4.cpp", [&] { bad * mat4(1.0f); });
    EXPECT_CHECK_FAILS("slmath::vec4::operator[]", "slmath/vec4.h", [&] { transpose(bad); });
}

// ---- scaling ---------------------------------------------------------------------

TEST(slmathMat4, ScalingFailsColumnByColumn)
{
    mat4 m(1.0f);
    m[2][2] = kInf;
    EXPECT_CHECK_FAILS("slmath::vec4::operator*=", "slmath/vec4.h", [&] { m *= 2.0f; });
    EXPECT_EQ(m[0][0], 2.0f);
    EXPECT_EQ(m[1][1], 2.0f);
    EXPECT_EQ(m[3][3], 1.0f);

    mat4 n(1.0f);
    EXPECT_CHECK_FAILS("slmath::vec4::operator*=", "slmath/vec4.h", [&] { n *= kNaN; });
    expectEqualMatrices(n, mat4(1.0f));
    n *= -0.5f;
    expectEqualMatrices(n, mat4(-0.5f));
}

} // namespace
