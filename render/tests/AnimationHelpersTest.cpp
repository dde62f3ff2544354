#include "SceneGraphTest.h"

#include "render/Background.h"
#include "render/Camera.h"
#include "render/Group.h"
#include "render/KeyframeSequence.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Object3D_animation_helpers.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using render::Object3D;
using namespace testsupport;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class AnimationHelpersTest : public SceneGraphTest {};

template <typename... Values>
std::string format(const char* pattern, Values... values)
{
    char text[128];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

} // namespace

// ---- interpolators -----------------------------------------------------------------------

TEST_F(AnimationHelpersTest, InterpolatorsCheckTimesThenPointersThenCounts)
{
    const char* const names[] = {"linear", "slerp", "spline", "squad", "step"};
    const float a[4] = {0, 0, 0, 1};
    for (int f = 0; f < 5; ++f) {
        const int badCount = (f == 1 || f == 3) ? 3 : 0;
        const struct {
            int count, t0, t1, t;
            const float* b;
            Outcome outcome;
        } cases[] = {
            {4, -1, 10, 0, a, refused("Given interpolation times not correct")},
            {badCount, 0, 10, 5, nullptr, refused("NULL paremeter")},
            {badCount, 0, 10, 5, a, {std::string("Invalid component count for ") + names[f] + " interpolation", true}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << names[f] << " " << c.outcome);
            float out[4] = {7, 7, 7, 7};
            EXPECT_EQ(outcomeOf([&] { render::interpolationFunctions[f](out, c.count, c.t0, a, c.t1, c.b, c.t); }),
                      c.outcome);
            EXPECT_EQ(out[0], 7.0f);
        }
    }
    float out[4];
    EXPECT_EQ(outcomeOf([&] { render::squadInterpolation(out, 4, 0, a, 10, a, 5); }), refused("TODO: Implementation"));
}

TEST_F(AnimationHelpersTest, InterpolatorsComputeBetweenKeyframes)
{
    const float s45 = std::sin(0.25f * static_cast<float>(M_PI));
    const struct {
        const char* call;
        int function; // index in the table
        std::vector<float> a, b;
        int t0, t1, t;
        std::vector<float> out;
    } cases[] = {
        {"linear half way", 0, {0, 10}, {10, 20}, 0, 10, 5, {5, 15}},
        {"spline at 0.25", 2, {0, 2}, {1, 6}, 100, 104, 101, {0.203125f, 2.8125f}},
        {"step at half way", 4, {1, 2}, {3, 4}, 0, 10, 5, {3, 4}},
        {"slerp over a quarter turn",
         1,
         {0, 0, 0, 1},
         {0, 0, s45, s45},
         0,
         10,
         5,
         {0, 0, std::sin(0.125f * static_cast<float>(M_PI)), std::cos(0.125f * static_cast<float>(M_PI))}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        std::vector<float> out(c.out.size(), -99.0f);
        const int count = static_cast<int>(c.out.size());
        render::interpolationFunctions[c.function](out.data(), count, c.t0, c.a.data(), c.t1, c.b.data(), c.t);
        for (int i = 0; i < count; ++i)
            EXPECT_NEAR(out[i], c.out[i], 1e-6f) << i;
    }
}

// ---- property setters: the common checks --------------------------------------------------

TEST_F(AnimationHelpersTest, EverySetterChecksValuesTargetCountAndType)
{
    // In table order; the first count is wrong for the property, the second right.
    const struct {
        const char* name;
        int counts[2];
    } properties[] = {
        {"ALPHA", {2, 1}},          {"AMBIENT_COLOR", {4, 3}}, {"COLOR", {1, 3}},          {"CROP", {3, 2}},
        {"DENSITY", {0, 1}},        {"DIFFUSE_COLOR", {2, 3}}, {"EMISSIVE_COLOR", {4, 3}}, {"FAR_DISTANCE", {2, 1}},
        {"FIELD_OF_VIEW", {3, 1}},  {"INTENSITY", {2, 1}},     {"MORPH_WEIGHTS", {0, 1}},  {"NEAR_DISTANCE", {2, 1}},
        {"ORIENTATION", {3, 4}},    {"PICKABILITY", {2, 1}},   {"SCALE", {2, 3}},          {"SHININESS", {2, 1}},
        {"SPECULAR_COLOR", {1, 3}}, {"SPOT_ANGLE", {2, 1}},    {"SPOT_EXPONENT", {0, 1}},  {"TRANSLATION", {1, 3}},
        {"VISIBILITY", {2, 1}},
    };
    // Not an animation target of any property.
    core::Ref<render::KeyframeSequence> sequence = VORNIC3D_NEW render::KeyframeSequence(1, 1, 176);
    for (int p = 0; p < 21; ++p) {
        SCOPED_TRACE(properties[p].name);
        const render::AnimationPropertySetter set = render::animationPropertySetters[p];
        const std::string property = std::string("\"") + properties[p].name + "\" target property.";
        const std::string refusals[2] = {"Component count not correct for " + property,
                                         "Invalid target object type for " + property};
        float values[4] = {0.5f, 0.5f, 0.5f, 0.5f};
        EXPECT_EQ(outcomeOf([&] { set(sequence.get(), 1, nullptr); }), refused("NULL values"));
        EXPECT_EQ(outcomeOf([&] { set(nullptr, 1, values); }), refused("NULL object"));
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(outcomeOf([&] { set(sequence.get(), properties[p].counts[i], values); }).message,
                      p == 10 ? "TODO: Implementation" : refusals[i]);
    }
}

// ---- property setters: what each target receives ---------------------------------------------

namespace {

// The state the setters write, for each class they write to.
std::string stateOf(Object3D& o)
{
    if (auto* l = dynamic_cast<render::Light*>(&o))
        return format("%08X spot %g", l->getColor(), l->getSpotAngle());
    if (auto* c = dynamic_cast<render::Camera*>(&o)) {
        float p[4] = {};
        c->getProjectionParameters(p);
        return format("%g %g %g %g", p[0], p[1], p[2], p[3]);
    }
    if (auto* n = dynamic_cast<render::Node*>(&o))
        return format("alpha %g", n->getAlphaFactor());
    if (auto* m = dynamic_cast<render::Material*>(&o))
        return format("%08X", m->getColor(render::Material::DIFFUSE));
    const auto& b = dynamic_cast<render::Background&>(o);
    return format("%08X crop %d %d %d %d", b.getColor(), b.getCropX(), b.getCropY(), b.getCropWidth(),
                  b.getCropHeight());
}

} // namespace

TEST_F(AnimationHelpersTest, SettersClampAndConvertForTheirTargets)
{
    using Make = std::function<core::Ref<Object3D>()>;
    const Make group = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Group()); };
    const Make material = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Material()); };
    const Make light = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Light()); };
    const Make background = [] {
        core::Ref<render::Background> b = VORNIC3D_NEW render::Background();
        b->setColor(0x80000000u);
        b->setCrop(0, 0, 30, 40);
        return core::Ref<Object3D>(b);
    };
    const Make generic = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Camera()); };
    const Make perspective = [] {
        core::Ref<render::Camera> c = VORNIC3D_NEW render::Camera();
        c->setPerspective(60, 1.5f, 1, 100);
        return core::Ref<Object3D>(c);
    };

    const struct {
        const char* call;
        Make make;
        render::AnimationPropertySetter set;
        std::vector<float> values;
        Outcome outcome;
        std::string writtenBack;
        std::string state;
    } cases[] = {
        {"alpha 1.7 on a group", group, render::setAlpha, {1.7f}, accepted(), "1", "alpha 1"},
        {"alpha 0.5 on a material", material, render::setAlpha, {0.5f}, accepted(), "0.5", "7FCCCCCC"},
        {"alpha NaN on a background",
         background,
         render::setAlpha,
         {kNaN},
         refused("Value not valid for \"ALPHA\" target property."),
         "nan",
         "80000000"},
        {"colour on a background keeps its alpha",
         background,
         render::setColor,
         {1, 0.5f, 0},
         accepted(),
         "1 0.5 0",
         "80FF7F00"},
        {"colour NaN on a light",
         light,
         render::setColor,
         {0, kNaN, 0},
         refused("Value not valid for \"COLOR\" target property."),
         "0 nan 0",
         "00FFFFFF"},
        {"spot angle 100", light, render::setSpotAngle, {100}, accepted(), "90", "spot 90"},
        {"crop x and y rounded, size kept",
         background,
         render::setCrop,
         {1.5f, 2.4f},
         accepted(),
         "1.5 2.4",
         "crop 2 2 30 40"},
        {"crop beyond the int range",
         background,
         render::setCrop,
         {3e9f, 0},
         refused("Value not valid for \"CROP\" target property."),
         "3e+09 0",
         "crop 0 0 30 40"},
        {"perspective far 0",
         perspective,
         render::setFarDistance,
         {0},
         accepted(),
         "1.19209e-07",
         format("60 1.5 1 %g", FLT_EPSILON)},
        {"perspective field of view 200 is refused at 180",
         perspective,
         render::setFieldOfView,
         {200},
         bare(),
         "180",
         "60 1.5 1 100"},
        {"generic camera far",
         generic,
         render::setFarDistance,
         {5},
         refused("Camera Far Distance is tried to animate and camera is not in PERSPECTIVE or PARALLEL mode"),
         "5",
         "0 0 0 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        core::Ref<Object3D> target = c.make();
        std::vector<float> values = c.values;
        EXPECT_EQ(outcomeOf([&] { c.set(target.get(), static_cast<int>(values.size()), values.data()); }), c.outcome);
        std::string written;
        for (float v : values)
            written += format("%g ", v);
        EXPECT_EQ(written, c.writtenBack + " ");
        const std::string state = stateOf(*target);
        EXPECT_NE(state.find(c.state), std::string::npos) << state;
    }
}

TEST_F(AnimationHelpersTest, OrientationTurnsAQuaternionIntoDegreesAboutAnAxis)
{
    const float h = std::sqrt(0.5f);
    const struct {
        const char* call;
        std::vector<float> q;
        Outcome outcome;
        std::vector<float> orientation; // axis x, y, z, angle in degrees
    } cases[] = {
        {"a whole turn", {0, 0, 0, -1}, accepted(), {1, 0, 0, 360}},
        {"a quarter turn about z", {0, 0, h, h}, accepted(), {0, 0, 1, 90}},
        {"not of unit length", {0, -3, 0, 3}, accepted(), {0, -1, 0, 90}},
        {"zero", {0, 0, 0, 0}, bare(), {0.6f, 0.8f, 0, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        core::Ref<render::Group> node = VORNIC3D_NEW render::Group();
        node->setOrientation(30, 3, 4, 0);
        std::vector<float> values = c.q;
        EXPECT_EQ(outcomeOf([&] { render::setOrientation(node.get(), 4, values.data()); }), c.outcome);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(node->getOrientation()[i], c.orientation[i], 1e-4f) << i;
    }
}
