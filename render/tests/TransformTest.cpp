#include "EngineTest.h"

#include "render/ArithmeticException.h"
#include "render/Transform.h"

#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <random>

using render::Transform;

namespace {

using Rows = std::array<float, 16>;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class TransformTest : public testsupport::EngineTest {};

Rows rowsOf(const Transform& t)
{
    Rows rows;
    t.get(rows.data());
    return rows;
}

// Without the finiteness checks of set().
Transform raw(const Rows& rows)
{
    slmath::mat4 m(0.0f);
    for (unsigned i = 0; i < 16; ++i)
        m[i / 4][i % 4] = rows[i];
    return Transform(m);
}

Transform fromRows(const Rows& rows)
{
    Transform t;
    t.set(rows.data());
    return t;
}

void expectNear(const Rows& actual, const Rows& expected, float tolerance = 1e-6f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

// The message of the engine exception thrown, tagged by its kind; "" when none.
std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const render::ArithmeticException& e) {
        return std::string("arithmetic: ") + e.message;
    } catch (const AssertationFailedException& e) {
        return std::string("assertion: ") + e.message;
    }
    return "";
}

const Rows kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

} // namespace

// ---- layout --------------------------------------------------------------------

TEST_F(TransformTest, RowOrderHoldsTheTransposeOfTheColumnMajorMatrix)
{
    Transform t;
    t.postTranslate(1, 2, 3);
    expectNear(rowsOf(t), {1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1}, 0.0f);

    // What OpenGL ES is handed is the transpose, whose column 3 is the
    // translation.
    slmath::mat4 m(0.0f);
    t.getMatrix(m);
    const slmath::mat4 gl = slmath::transpose(m);
    EXPECT_EQ(gl[3][0], 1.0f);
    EXPECT_EQ(gl[3][1], 2.0f);
    EXPECT_EQ(gl[3][2], 3.0f);
    EXPECT_EQ(gl[3][3], 1.0f);

    const Rows values = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(rowsOf(fromRows(values)), values);
}

// ---- post operations -------------------------------------------------------------

TEST_F(TransformTest, PostOperationsMultiplyOnTheRight)
{
    const struct {
        const char* name;
        std::function<void(Transform&)> build;
        Rows rows;
    } cases[] = {
        {"rotate 90 about z", [](Transform& t) { t.postRotate(90, 0, 0, 1); },
         {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {"rotate 90 about a long z axis", [](Transform& t) { t.postRotate(90, 0, 0, 5); },
         {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {"rotate 90 about x", [](Transform& t) { t.postRotate(90, 1, 0, 0); },
         {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1}},
        {"scale, then translate", [](Transform& t) { t.postScale(2, 2, 2), t.postTranslate(1, 2, 3); },
         {2, 0, 0, 2, 0, 2, 0, 4, 0, 0, 2, 6, 0, 0, 0, 1}},
        {"translate, then scale", [](Transform& t) { t.postTranslate(5, 6, 7), t.postScale(2, 3, 4); },
         {2, 0, 0, 5, 0, 3, 0, 6, 0, 0, 4, 7, 0, 0, 0, 1}},
        {"multiplied by itself", [](Transform& t) { t.postTranslate(1, 2, 3), t.postMultiply(t); },
         {1, 0, 0, 2, 0, 1, 0, 4, 0, 0, 1, 6, 0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transform t;
        c.build(t);
        expectNear(rowsOf(t), c.rows);
    }
}

// ---- inverse ------------------------------------------------------------------------

TEST_F(TransformTest, InvertGivesTheTrueInverse)
{
    Transform t = fromRows({2, 0, 0, 1, 0, 3, 0, 2, 0, 0, 4, 3, 0, 0, 0, 1});
    t.invert();
    expectNear(rowsOf(t), {0.5f, 0, 0, -0.5f, 0, 1 / 3.0f, 0, -2 / 3.0f, 0, 0, 0.25f, -0.75f, 0, 0, 0, 1});

    // Determinant 1e-30 is still above FLT_MIN.
    Transform tiny = fromRows({1e-10f, 0, 0, 0, 0, 1e-10f, 0, 0, 0, 0, 1e-10f, 0, 0, 0, 0, 1});
    tiny.invert();
    const Rows rows = rowsOf(tiny);
    for (int i : {0, 5, 10})
        EXPECT_FLOAT_EQ(rows[i], 1e10f);
    EXPECT_FLOAT_EQ(rows[15], 1.0f);
}

TEST_F(TransformTest, RandomAffineTimesItsInverseIsTheIdentity)
{
    std::mt19937 random(2009);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (int i = 0; i < 200; ++i) {
        Transform m;
        m.postTranslate(10 * unit(random), 10 * unit(random), 10 * unit(random));
        m.postRotate(180 * unit(random), unit(random), unit(random), unit(random) + 2.0f);
        m.postScale(1.5f + unit(random), 1.5f + unit(random), 1.5f + unit(random));
        Transform inverse = m;
        inverse.invert();
        m.postMultiply(inverse);
        SCOPED_TRACE(i);
        expectNear(rowsOf(m), kIdentity, 1e-4f);
    }
}

// ---- failures -------------------------------------------------------------------------

TEST_F(TransformTest, EveryFailureLeavesTheMatrixUnchanged)
{
    const Rows affine = {1, 2, 0, 4, 0, 1, 0, 5, 0, 0, 3, 6, 0, 0, 0, 1};
    const Rows singular = {1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1};
    // The determinant overflows while every cofactor is finite; inverted
    // regardless, the matrix would come out as all zeros.
    const Rows hugeDeterminant = {1e10f, 0, 0, 0, 0, 1e10f, 0, 0, 0, 0, 1e10f, 0, 0, 0, 0, 1e10f};
    const Rows infinite = {1, 0, 0, 0, 0, 1, 0, 0, 0, kInf, 1, 0, 0, 0, 0, 1};
    const Rows nanInLastRow = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, kNaN, 0, 1};
    const struct {
        const char* name;
        const Rows& start;
        std::function<void(Transform&)> action;
        std::string failure;
    } cases[] = {
        {"rotate 10 about a zero axis", affine, [](Transform& t) { t.postRotate(10, 0, 0, 0); },
         "assertion: the rotation axis (ax ay az) is zero and angle is nonzero"},
        {"rotate 0 about a zero axis", affine, [](Transform& t) { t.postRotate(0, 0, 0, 0); },
         "assertion: Vornic3D exception"},
        {"rotate by NaN", affine, [](Transform& t) { t.postRotate(kNaN, 0, 0, 1); },
         "assertion: Vornic3D exception"},
        {"scale by infinity", affine, [](Transform& t) { t.postScale(1, kInf, 1); },
         "assertion: Vornic3D exception"},
        {"translate by NaN", affine, [](Transform& t) { t.postTranslate(0, 0, kNaN); },
         "assertion: Vornic3D exception"},
        {"multiply by a non-finite matrix", affine, [&](Transform& t) { t.postMultiply(raw(infinite)); },
         "assertion: Vornic3D exception"},
        {"set with NaN in the last row", affine, [&](Transform& t) { t.set(nanInLastRow.data()); },
         "assertion: Vornic3D exception"},
        {"set from null", affine, [](Transform& t) { t.set(static_cast<const float*>(nullptr)); },
         "assertion: Vornic3D exception"},
        {"get into null", affine, [](Transform& t) { t.get(nullptr); }, "assertion: Vornic3D exception"},
        {"invert two proportional rows", singular, [](Transform& t) { t.invert(); },
         "arithmetic: Transform not invertible"},
        {"invert a determinant beyond FLT_MAX", hugeDeterminant, [](Transform& t) { t.invert(); },
         "arithmetic: Transform not invertible"},
        {"invert with an infinity", infinite, [](Transform& t) { t.invert(); },
         "arithmetic: Components of the matrix are not valid numbers so transform not invertible"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transform t = raw(c.start);
        EXPECT_EQ(failureOf([&] { c.action(t); }), c.failure);
        const Rows after = rowsOf(t);
        EXPECT_EQ(std::memcmp(after.data(), c.start.data(), sizeof after), 0);
    }
}
