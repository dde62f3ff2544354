#include "EngineTest.h"

#include "render/ArithmeticException.h"
#include "render/Transform.h"

#include <array>
#include <cstring>
#include <functional>
#include <limits>

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

// The text of the engine exception thrown, after "arithmetic: " for an
// ArithmeticException; "" when none.
std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const render::ArithmeticException& e) {
        return std::string("arithmetic: ") + e.message;
    } catch (const AssertationFailedException& e) {
        return e.message;
    }
    return "";
}

} // namespace

// Rows as get() gives them: row 0 first, the translation in column 3.
TEST_F(TransformTest, PostOperationsMultiplyOnTheRight)
{
    const struct {
        const char* name;
        std::function<void(Transform&)> build;
        Rows rows;
    } cases[] = {
        {"rotate 90 about a long z axis",
         [](Transform& t) { t.postRotate(90, 0, 0, 5); },
         {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {"rotate 90 about x",
         [](Transform& t) { t.postRotate(90, 1, 0, 0); },
         {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1}},
        {"scale, then translate",
         [](Transform& t) { t.postScale(2, 2, 2), t.postTranslate(1, 2, 3); },
         {2, 0, 0, 2, 0, 2, 0, 4, 0, 0, 2, 6, 0, 0, 0, 1}},
        {"translate, then scale",
         [](Transform& t) { t.postTranslate(5, 6, 7), t.postScale(2, 3, 4); },
         {2, 0, 0, 5, 0, 3, 0, 6, 0, 0, 4, 7, 0, 0, 0, 1}},
        {"multiplied by itself",
         [](Transform& t) { t.postTranslate(1, 2, 3), t.postMultiply(t); },
         {1, 0, 0, 2, 0, 1, 0, 4, 0, 0, 1, 6, 0, 0, 0, 1}},
        // Off the diagonal too: a transposed or mis-signed cofactor shows.
        {"moved, turned, scaled, then inverted",
         [](Transform& t) { t.postTranslate(1, 2, 3), t.postRotate(90, 0, 0, 1), t.postScale(2, 2, 2), t.invert(); },
         {0, 0.5f, 0, -1, -0.5f, 0, 0, 0.5f, 0, 0, 0.5f, -1.5f, 0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transform t;
        c.build(t);
        const Rows rows = rowsOf(t);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(rows[i], c.rows[i], 1e-6f) << "element " << i;
    }

    // Determinant 1e-30 is still above FLT_MIN.
    Transform tiny = raw({1e-10f, 0, 0, 0, 0, 1e-10f, 0, 0, 0, 0, 1e-10f, 0, 0, 0, 0, 1});
    tiny.invert();
    EXPECT_FLOAT_EQ(rowsOf(tiny)[10], 1e10f);
}

// A translation is formed without the full product but must give its very
// bits: a zero element keeps its sign only where the full product's sum of
// zeros does, that is where every element of its row is negative or -0.
TEST_F(TransformTest, ATranslationGivesTheFullProductBitForBit)
{
    const struct {
        const char* name;
        Rows start;
        float tx, ty, tz;
    } cases[] = {
        {"identity", {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1, 2, 3},
        {"-0 among positives", {1, -0.0f, 2, 3, -0.0f, 1, 0, 4, 0, 0, 1, -0.0f, 0, 0, 0, 1}, -0.0f, 5, -7},
        {"-0 in rows of negatives",
         {-1, -0.0f, -2, -3, -0.0f, -0.0f, -0.0f, -0.0f, -1, 0, -1, -2, -0.0f, 0, 0, 1},
         2,
         -0.0f,
         0},
        {"turned and scaled",
         {0.25f, -1.5f, 3e-3f, 7, 1.5f, 0.25f, 0, -8, 0, 0, 4, 1e20f, 0, 0, 0, 1},
         1e19f,
         -3,
         0.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transform translated = raw(c.start);
        translated.postTranslate(c.tx, c.ty, c.tz);
        Transform multiplied = raw(c.start);
        multiplied.postMultiply(raw({1, 0, 0, c.tx, 0, 1, 0, c.ty, 0, 0, 1, c.tz, 0, 0, 0, 1}));
        const Rows expected = rowsOf(multiplied);
        const Rows actual = rowsOf(translated);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(std::memcmp(&actual[i], &expected[i], sizeof(float)), 0)
                << "element " << i << ": " << actual[i] << " for " << expected[i];
    }
}

// Every value is checked before any is stored.
TEST_F(TransformTest, EveryFailureLeavesTheMatrixUnchanged)
{
    const Rows affine = {1, 2, 0, 4, 0, 1, 0, 5, 0, 0, 3, 6, 0, 0, 0, 1};
    const Rows singular = {1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1};
    // The determinant overflows while every cofactor is finite; inverted
    // regardless, the matrix would come out as all zeros.
    const Rows hugeDeterminant = {1e10f, 0, 0, 0, 0, 1e10f, 0, 0, 0, 0, 1e10f, 0, 0, 0, 0, 1e10f};
    const Rows infinite = {1, 0, 0, 0, 0, 1, 0, 0, 0, kInf, 1, 0, 0, 0, 0, 1};
    const Rows nanInLastRow = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, kNaN, 0, 1};
    const std::string bare = "Vornic3D exception";
    const std::string notInvertible = "arithmetic: Transform not invertible";
    const struct {
        const char* name;
        const Rows& start;
        std::function<void(Transform&)> action;
        std::string failure;
    } cases[] = {
        {"rotate 10 about a zero axis", affine, [](Transform& t) { t.postRotate(10, 0, 0, 0); },
         "the rotation axis (ax ay az) is zero and angle is nonzero"},
        {"rotate 0 about a zero axis", affine, [](Transform& t) { t.postRotate(0, 0, 0, 0); }, bare},
        {"scale by infinity", affine, [](Transform& t) { t.postScale(1, kInf, 1); }, bare},
        {"translate by NaN", affine, [](Transform& t) { t.postTranslate(0, 0, kNaN); }, bare},
        {"translate a matrix with an infinity", infinite, [](Transform& t) { t.postTranslate(1, 2, 3); }, bare},
        {"translate past FLT_MAX", affine, [](Transform& t) { t.postTranslate(3e38f, 3e38f, 0); }, bare},
        {"multiply by a non-finite matrix", affine, [&](Transform& t) { t.postMultiply(raw(infinite)); }, bare},
        {"set with NaN in the last row", affine, [&](Transform& t) { t.set(nanInLastRow.data()); }, bare},
        {"get into null", affine, [](Transform& t) { t.get(nullptr); }, bare},
        {"invert two proportional rows", singular, [](Transform& t) { t.invert(); }, notInvertible},
        {"invert a determinant beyond FLT_MAX", hugeDeterminant, [](Transform& t) { t.invert(); }, notInvertible},
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
