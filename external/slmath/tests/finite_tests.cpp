#include "CheckRecord.h"

#include "slmath/mat4.h"
#include "slmath/quat.h"
#include "slmath/vec3.h"
#include "slmath/vec4.h"

#include <cfloat>
#include <climits>

using namespace slmath;
using namespace slmathtest;

namespace {

// ---- finite boundaries --------------------------------------------------------

TEST(slmathFinite, EveryConstructorAcceptsExactlyTheFiniteValuesInEveryComponent)
{
    for (float value : {0.0f, -0.0f, FLT_MAX, -FLT_MAX, FLT_MIN, 1.0e-39f, kInf, -kInf, kNaN, -kNaN}) {
        SCOPED_TRACE(value);
        const bool finite = std::isfinite(value);
        EXPECT_EQ(isFinite(value), finite);
        for (unsigned i = 0; i < 4; ++i) {
            float v[4] = {1.0f, 2.0f, 3.0f, 4.0f};
            v[i] = value;
            EXPECT_EQ(failedIn([&] { vec4(v[0], v[1], v[2], v[3]); }), finite ? "" : "slmath::vec4::vec4");
            EXPECT_EQ(failedIn([&] { quat(v[0], v[1], v[2], v[3]); }), finite ? "" : "slmath::quat::quat");
            EXPECT_EQ(failedIn([&] { vec3(v[0], v[1], v[2]); }), finite || i == 3 ? "" : "slmath::vec3::vec3");
        }
        EXPECT_EQ(failedIn([&] { mat4{value}; }), finite ? "" : "slmath::vec4::vec4");
    }
    const vec3 zero; // zero, not garbage
    EXPECT_TRUE(zero.x == 0.0f && zero.y == 0.0f && zero.z == 0.0f);
}

// ---- component access ---------------------------------------------------------

TEST(slmathFinite, IndexMustBeInRangeAndConstAccessChecksTheWholeVector)
{
    vec3 v3(1, 2, 3);
    vec4 v4(1, 2, 3, 4);
    mat4 m(1.0f);
    const vec3& c3 = v3;
    const vec4& c4 = v4;
    const mat4& cm = m;
    for (unsigned i : {3u, 4u, UINT_MAX}) {
        EXPECT_EQ(failedIn([&] { v3[i]; }), "slmath::vec3::operator[]") << i;
        EXPECT_EQ(failedIn([&] { c3[i]; }), "slmath::vec3::operator[]") << i;
        EXPECT_EQ(failedIn([&] { v4[i]; }), i < 4 ? "" : "slmath::vec4::operator[]") << i;
        EXPECT_EQ(failedIn([&] { c4[i]; }), i < 4 ? "" : "slmath::vec4::operator[]") << i;
        EXPECT_EQ(failedIn([&] { m[i]; }), i < 4 ? "" : "slmath::mat4::operator[]") << i;
        EXPECT_EQ(failedIn([&] { cm[i]; }), i < 4 ? "" : "slmath::mat4::operator[]") << i;
    }
    // Writable access stores unchecked; the next checked read catches it.
    v4[3] = kNaN;
    v3[2] = kInf;
    EXPECT_EQ(v4[0] + v3[0], 2.0f);
    EXPECT_EQ(failedIn([&] { c4[0]; }), "slmath::vec4::operator[]");
    EXPECT_EQ(failedIn([&] { c3[0]; }), "slmath::vec3::operator[]");
}

} // namespace
