#include "CheckRecord.h"

#include "slmath/mat4.h"
#include "slmath/quat.h"
#include "slmath/vec3.h"
#include "slmath/vec4.h"

#include <cfloat>
#include <climits>
#include <functional>

using namespace slmath;
using namespace slmathtest;

namespace {

// ---- finite boundaries --------------------------------------------------------

struct FiniteCase {
    float value;
    bool finite;
};

const FiniteCase kFiniteCases[] = {
    {0.0f, true},       {-0.0f, true},       {FLT_MAX, true},        {-FLT_MAX, true},
    {FLT_MIN, true},    {1.0e-39f, true},    {kInf, false},          {-kInf, false},
    {kNaN, false},      {-kNaN, false},
};

TEST(slmathFinite, EveryConstructorAcceptsExactlyTheFiniteValuesInEveryComponent)
{
    for (const FiniteCase& c : kFiniteCases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value);
        EXPECT_EQ(isFinite(c.value), c.finite);
        for (unsigned i = 0; i < 4; ++i) {
            float v[4] = {1.0f, 2.0f, 3.0f, 4.0f};
            v[i] = c.value;
            auto make4 = [&] { vec4 q(v[0], v[1], v[2], v[3]); };
            auto makeQuat = [&] { quat q(v[0], v[1], v[2], v[3]); };
            auto make3 = [&] { vec3 q(v[0], v[1], v[2]); };
            if (c.finite) {
                EXPECT_NO_THROW(make4());
                EXPECT_NO_THROW(makeQuat());
                EXPECT_NO_THROW(make3());
                continue;
            }
            EXPECT_CHECK_FAILS("slmath::vec4::vec4", "slmath/vec4.h", make4);
            EXPECT_CHECK_FAILS("slmath::quat::quat", "slmath/quat.h", makeQuat);
            if (i < 3)
                EXPECT_CHECK_FAILS("slmath::vec3::vec3", "slmath/vec3.h", make3);
        }
        if (c.finite)
            EXPECT_NO_THROW(mat4{c.value});
        else
            EXPECT_CHECK_FAILS("slmath::vec4::vec4", "slmath/vec4.h", [&] { mat4 m(c.value); });
    }
}

TEST(slmathFinite, DefaultVec3IsZero)
{
    const vec3 v;
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
}

// ---- component access ---------------------------------------------------------

TEST(slmathFinite, IndexMustBeInRange)
{
    vec3 v3(1, 2, 3);
    vec4 v4(1, 2, 3, 4);
    mat4 m(1.0f);
    const vec3& c3 = v3;
    const vec4& c4 = v4;
    const mat4& cm = m;
    for (unsigned i : {0u, 1u, 2u, 3u, 4u, UINT_MAX}) {
        SCOPED_TRACE(i);
        if (i < 3) {
            EXPECT_EQ(v3[i], static_cast<float>(i + 1));
            EXPECT_EQ(c3[i], static_cast<float>(i + 1));
        } else {
            EXPECT_CHECK_FAILS("slmath::vec3::operator[]", "slmath/vec3.h", [&] { v3[i]; });
            EXPECT_CHECK_FAILS("slmath::vec3::operator[]", "slmath/vec3.h", [&] { c3[i]; });
        }
        if (i < 4) {
            EXPECT_EQ(c4[i], static_cast<float>(i + 1));
            EXPECT_EQ(cm[i][i], 1.0f);
        } else {
            EXPECT_CHECK_FAILS("slmath::vec4::operator[]", "slmath/vec4.h", [&] { v4[i]; });
            EXPECT_CHECK_FAILS("slmath::vec4::operator[]", "slmath/vec4.h", [&] { c4[i]; });
            EXPECT_CHECK_FAILS("slmath::mat4::operator[]", "slmath/mat4.h", [&] { m[i]; });
            EXPECT_CHECK_FAILS("slmath::mat4::operator[]", "slmath/mat4.h", [&] { cm[i]; });
        }
    }
}

TEST(slmathFinite, ConstAccessChecksTheWholeVectorWritableAccessDoesNot)
{
    vec4 v4(1, 2, 3, 4);
    vec3 v3(1, 2, 3);
    v4[3] = kNaN;
    v3[2] = kInf;
    EXPECT_EQ(v4[0], 1.0f);
    EXPECT_EQ(v3[0], 1.0f);
    EXPECT_CHECK_FAILS("slmath::vec4::operator[]", "slmath/vec4.h",
                       [&] { static_cast<const vec4&>(v4)[0]; });
    EXPECT_CHECK_FAILS("slmath::vec3::operator[]", "slmath/vec3.h",
                       [&] { static_cast<const vec3&>(v3)[0]; });
}

TEST(slmathFinite, Clamp)
{
    const struct {
        float x, expected;
    } cases[] = {{5.0f, 1.0f}, {-5.0f, 0.0f}, {0.5f, 0.5f}, {0.0f, 0.0f}, {1.0f, 1.0f}, {-kInf, 0.0f}};
    for (const auto& c : cases)
        EXPECT_EQ(clamp(c.x, 0.0f, 1.0f), c.expected) << c.x;
    EXPECT_TRUE(std::isnan(clamp(kNaN, 0.0f, 1.0f)));
}

// ---- order of the checks ------------------------------------------------------

// Each operation gets two bad operands: it must fail at the same check as
// when only the operand it tests first is bad, and at another check than
// when only the other one is.
struct OrderCase {
    const char* name;
    std::function<void(bool firstBad, bool secondBad)> run;
};

vec3 vec3Of(bool bad) { vec3 v(1, 2, 3); if (bad) v[1] = kNaN; return v; }
vec4 vec4Of(bool bad) { vec4 v(1, 2, 3, 4); if (bad) v[1] = kNaN; return v; }
mat4 mat4Of(bool bad) { mat4 m(1.0f); if (bad) m[2][1] = kInf; return m; }
quat unitOrLong(bool bad) { return bad ? quat(0, 0, 0, 1.5f) : quat(0, 0, 0, 1); }
quat quatOf(bool bad) { quat q(0, 0, 0, 1); if (bad) q.y = kNaN; return q; }
float scaleOf(bool bad) { return bad ? kInf : 2.0f; }

const OrderCase kOrderCases[] = {
    {"vec3 -: argument, then this", [](bool f, bool t) { vec3Of(t) - vec3Of(f); }},
    {"vec3 *=: scale, then this", [](bool f, bool t) { vec3Of(t) *= scaleOf(f); }},
    {"vec3 /=: this, then divisor", [](bool f, bool d) { vec3Of(f) /= scaleOf(d); }},
    {"vec4 *=: scale, then this", [](bool f, bool t) { vec4Of(t) *= scaleOf(f); }},
    {"vec4 dot: a, then b", [](bool a, bool b) { dot(vec4Of(a), vec4Of(b)); }},
    {"mat4 *: argument, then this", [](bool f, bool t) { mat4Of(t) * mat4Of(f); }},
    {"quat +: argument, then this", [](bool f, bool t) { quatOf(t) + quatOf(f); }},
    {"quat *: scale, then this", [](bool f, bool t) { quatOf(t) * scaleOf(f); }},
    {"quat dot: a, then b", [](bool a, bool b) { dot(quatOf(a), quatOf(b)); }},
    {"slerp: a, then b", [](bool a, bool b) { slerp(unitOrLong(a), unitOrLong(b), 0.5f); }},
};

TEST(slmathFinite, ChecksRunInTheirOrder)
{
    for (const OrderCase& c : kOrderCases) {
        SCOPED_TRACE(c.name);
        const int both = failureOf([&] { c.run(true, true); }).line;
        EXPECT_EQ(both, failureOf([&] { c.run(true, false); }).line);
        EXPECT_NE(both, failureOf([&] { c.run(false, true); }).line);
        EXPECT_NO_THROW(c.run(false, false));
    }
}

} // namespace
