#include "SceneGraphTest.h"

#include "render/Background.h"
#include "render/Camera.h"
#include "render/Fog.h"
#include "render/Group.h"
#include "render/Image2D.h"
#include "render/KeyframeSequence.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Object3D_animation_helpers.h"
#include "render/Sprite3D.h"
#include "render/VertexBuffer.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using render::Object3D;
using testsupport::accepted;
using testsupport::bare;
using testsupport::outcomeOf;
using testsupport::refused;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class AnimationHelpersTest : public testsupport::SceneGraphTest {};

std::string format(const char* pattern, double a, double b = 0, double c = 0, double d = 0)
{
    char text[128];
    std::snprintf(text, sizeof text, pattern, a, b, c, d);
    return text;
}

std::string hex(unsigned int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

} // namespace

// ---- interpolators -----------------------------------------------------------------------

TEST_F(AnimationHelpersTest, InterpolatorsCheckTimesThenPointersThenCounts)
{
    const char* const names[] = {"linear", "slerp", "spline", "squad", "step"};
    const float a[4] = {0, 0, 0, 1};
    const float b[4] = {0, 0, 0, 1};
    for (int f = 0; f < 5; ++f) {
        const render::InterpolationFunction interpolate = render::interpolationFunctions[f];
        const std::string countText = std::string("Invalid component count for ") + names[f] + " interpolation";
        const int badCount = (f == 1 || f == 3) ? 3 : 0;
        const struct {
            const char* call;
            int count, t0, t1, t;
            bool nullB;
            testsupport::Outcome outcome;
        } cases[] = {
            {"t == t1", 4, 0, 10, 10, false, refused("Given interpolation times not correct")},
            {"t < t0", 4, 5, 10, 4, false, refused("Given interpolation times not correct")},
            {"t0 < 0", 4, -1, 10, 0, false, refused("Given interpolation times not correct")},
            {"t1 < 0", 4, 0, -1, 0, true, refused("Given interpolation times not correct")},
            {"null b", badCount, 0, 10, 5, true, refused("NULL paremeter")},
            {"bad count", badCount, 0, 10, 5, false, {countText, true}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << names[f] << ": " << c.call);
            float out[4] = {7, 7, 7, 7};
            EXPECT_EQ(outcomeOf([&] { interpolate(out, c.count, c.t0, a, c.t1, c.nullB ? nullptr : b, c.t); }),
                      c.outcome);
            EXPECT_EQ(out[0], 7.0f);
        }
    }
    float out[4];
    EXPECT_EQ(outcomeOf([&] { render::squadInterpolation(out, 4, 0, a, 10, b, 5); }),
              refused("TODO: Implementation"));
}

TEST_F(AnimationHelpersTest, InterpolatorsComputeBetweenKeyframes)
{
    const float s45 = std::sin(0.25f * static_cast<float>(M_PI));
    const float s22 = std::sin(0.125f * static_cast<float>(M_PI));
    const float c22 = std::cos(0.125f * static_cast<float>(M_PI));
    const struct {
        const char* call;
        int function; // index in the table
        std::vector<float> a, b;
        int t0, t1, t;
        std::vector<float> out;
    } cases[] = {
        {"linear half way", 0, {0, 10}, {10, 20}, 0, 10, 5, {5, 15}},
        {"linear at t0", 0, {3, 4}, {10, 20}, 2, 10, 2, {3, 4}},
        {"spline at 0.5", 2, {0}, {1}, 0, 10, 5, {0.5f}},
        {"spline at 0.25", 2, {0, 2}, {1, 6}, 100, 104, 101, {0.203125f, 2.8125f}},
        {"spline at t0", 2, {3}, {9}, 0, 10, 0, {3}},
        {"step before half way", 4, {1, 2}, {3, 4}, 0, 10, 4, {1, 2}},
        {"step at half way", 4, {1, 2}, {3, 4}, 0, 10, 5, {3, 4}},
        {"slerp over a quarter turn", 1, {0, 0, 0, 1}, {0, 0, s45, s45}, 0, 10, 5, {0, 0, s22, c22}},
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
    const struct {
        const char* name;
        int wrongCount;
        int rightCount;
    } properties[] = {
        {"ALPHA", 2, 1},         {"AMBIENT_COLOR", 4, 3}, {"COLOR", 1, 3},          {"CROP", 3, 2},
        {"DENSITY", 0, 1},       {"DIFFUSE_COLOR", 2, 3}, {"EMISSIVE_COLOR", 4, 3}, {"FAR_DISTANCE", 2, 1},
        {"FIELD_OF_VIEW", 3, 1}, {"INTENSITY", 2, 1},     {"MORPH_WEIGHTS", 0, 1},  {"NEAR_DISTANCE", 2, 1},
        {"ORIENTATION", 3, 4},   {"PICKABILITY", 2, 1},   {"SCALE", 2, 3},          {"SHININESS", 2, 1},
        {"SPECULAR_COLOR", 1, 3}, {"SPOT_ANGLE", 2, 1},   {"SPOT_EXPONENT", 0, 1},  {"TRANSLATION", 1, 3},
        {"VISIBILITY", 2, 1},
    };
    // Not an animation target of any property.
    core::Ref<render::KeyframeSequence> sequence = VORNIC3D_NEW render::KeyframeSequence(1, 1, 176);
    for (int p = 0; p < 21; ++p) {
        const auto& property = properties[p];
        SCOPED_TRACE(property.name);
        const render::AnimationPropertySetter set = render::animationPropertySetters[p];
        const bool morph = p == 10;
        const std::string name = property.name;
        float values[4] = {0.5f, 0.5f, 0.5f, 0.5f};
        EXPECT_EQ(outcomeOf([&] { set(sequence.get(), property.rightCount, nullptr); }), refused("NULL values"));
        EXPECT_EQ(outcomeOf([&] { set(nullptr, property.rightCount, values); }), refused("NULL object"));
        const testsupport::Outcome countRefused = {
            morph ? "TODO: Implementation" : "Component count not correct for \"" + name + "\" target property.", true};
        EXPECT_EQ(outcomeOf([&] { set(sequence.get(), property.wrongCount, values); }), countRefused);
        const testsupport::Outcome typeRefused = {
            morph ? "TODO: Implementation" : "Invalid target object type for \"" + name + "\" target property.", true};
        EXPECT_EQ(outcomeOf([&] { set(sequence.get(), property.rightCount, values); }), typeRefused);
    }
}

// ---- property setters: what each target receives ---------------------------------------------

TEST_F(AnimationHelpersTest, SettersClampAndConvertForTheirTargets)
{
    using Make = std::function<core::Ref<Object3D>()>;
    const Make group = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Group()); };
    const Make material = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Material()); };
    const Make light = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Light()); };
    const Make fog = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Fog()); };
    const Make background = [] {
        auto* b = VORNIC3D_NEW render::Background();
        b->setColor(0x80000000u);
        b->setCrop(0, 0, 30, 40);
        return core::Ref<Object3D>(b);
    };
    const Make perspective = [] {
        auto* c = VORNIC3D_NEW render::Camera();
        c->setPerspective(60, 1.5f, 1, 100);
        return core::Ref<Object3D>(c);
    };
    const Make parallel = [] {
        auto* c = VORNIC3D_NEW render::Camera();
        c->setParallel(10, 2, 1, 100);
        return core::Ref<Object3D>(c);
    };
    const Make generic = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::Camera()); };
    const Make vertices = [] { return core::Ref<Object3D>(VORNIC3D_NEW render::VertexBuffer()); };
    const Make sprite = [] {
        core::Ref<render::Image2D> image = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 16, 8);
        return core::Ref<Object3D>(VORNIC3D_NEW render::Sprite3D(false, image.get(), nullptr));
    };

    using Read = std::function<std::string(Object3D&)>;
    const Read alpha = [](Object3D& o) { return format("%g", dynamic_cast<render::Node&>(o).getAlphaFactor()); };
    const Read diffuse = [](Object3D& o) {
        return hex(dynamic_cast<render::Material&>(o).getColor(render::Material::DIFFUSE));
    };
    const Read backgroundColor = [](Object3D& o) { return hex(dynamic_cast<render::Background&>(o).getColor()); };
    const Read crop = [](Object3D& o) {
        const auto& b = dynamic_cast<render::Background&>(o);
        return format("%g %g %g %g", b.getCropX(), b.getCropY(), b.getCropWidth(), b.getCropHeight());
    };
    const Read defaultColor = [](Object3D& o) {
        return hex(dynamic_cast<render::VertexBuffer&>(o).getDefaultColor());
    };
    const Read spriteCrop = [](Object3D& o) {
        const auto& s = dynamic_cast<render::Sprite3D&>(o);
        return format("%g %g", s.getCropWidth(), s.getCropHeight());
    };
    const Read projection = [](Object3D& o) {
        float p[4] = {};
        dynamic_cast<render::Camera&>(o).getProjectionParameters(p);
        return format("%g %g %g %g", p[0], p[1], p[2], p[3]);
    };
    const Read fogLinear = [](Object3D& o) {
        const auto& f = dynamic_cast<render::Fog&>(o);
        return format("%g %g density %g", f.getNearDistance(), f.getFarDistance(), f.getDensity());
    };
    const Read lightState = [](Object3D& o) {
        const auto& l = dynamic_cast<render::Light&>(o);
        return hex(l.getColor()) + format(" spot %g %g", l.getSpotAngle(), l.getSpotExponent());
    };
    const Read node = [](Object3D& o) {
        const auto& n = dynamic_cast<render::Node&>(o);
        const slmath::vec3& s = n.getScale();
        return format("rendering %g picking %g scale %g %g", n.isRenderingEnabled(), n.isPickingEnabled(), s.x, s.y) +
               format(" %g", s.z);
    };

    const std::string fogText = "IllegalArgumentException";
    const struct {
        const char* call;
        Make make;
        render::AnimationPropertySetter set;
        std::vector<float> values;
        testsupport::Outcome outcome;
        std::vector<float> writtenBack;
        Read read;
        std::string state;
    } cases[] = {
        {"alpha 1.7 on a group", group, render::setAlpha, {1.7f}, accepted(), {1.0f}, alpha, "1"},
        {"alpha 0.5 on a material", material, render::setAlpha, {0.5f}, accepted(), {0.5f}, diffuse, "7FCCCCCC"},
        {"alpha -1 on a background", background, render::setAlpha, {-1.0f}, accepted(), {0.0f}, backgroundColor,
         "00000000"},
        {"alpha NaN on a background", background, render::setAlpha, {kNaN},
         refused("Value not valid for \"ALPHA\" target property."), {kNaN}, backgroundColor, "80000000"},
        {"colour on a background keeps its alpha", background, render::setColor, {1, 0.5f, 0}, accepted(),
         {1, 0.5f, 0}, backgroundColor, "80FF7F00"},
        {"colour clamped on a light", light, render::setColor, {2, 0.5f, -1}, accepted(), {1, 0.5f, 0}, lightState,
         "00FF7F00 spot 45 0"},
        {"colour NaN on a light", light, render::setColor, {0, kNaN, 0},
         refused("Value not valid for \"COLOR\" target property."), {0, kNaN, 0}, lightState, "00FFFFFF spot 45 0"},
        {"alpha 0.5 on a vertex buffer", vertices, render::setAlpha, {0.5f}, accepted(), {0.5f}, defaultColor,
         "7FFFFFFF"},
        {"colour on a vertex buffer", vertices, render::setColor, {1, 0.5f, 0}, accepted(), {1, 0.5f, 0},
         defaultColor, "00FF7F00"},
        {"spot angle 100", light, render::setSpotAngle, {100}, accepted(), {90}, lightState, "00FFFFFF spot 90 0"},
        {"spot exponent -3", light, render::setSpotExponent, {-3}, accepted(), {0}, lightState, "00FFFFFF spot 45 0"},
        {"crop x and y rounded, size kept", background, render::setCrop, {1.5f, 2.4f}, accepted(), {1.5f, 2.4f}, crop,
         "2 2 30 40"},
        {"crop with a size", background, render::setCrop, {-1.2f, 0, 5.5f, 6.49f}, accepted(), {-1.2f, 0, 5.5f, 6.49f},
         crop, "0 0 6 6"},
        {"sprite crop, size kept", sprite, render::setCrop, {1.5f, 2.4f}, accepted(), {1.5f, 2.4f}, spriteCrop,
         "16 8"},
        {"sprite crop with a size", sprite, render::setCrop, {0, 0, 5.5f, 6.49f}, accepted(), {0, 0, 5.5f, 6.49f},
         spriteCrop, "6 6"},
        {"crop beyond the int range", background, render::setCrop, {3e9f, 0},
         refused("Value not valid for \"CROP\" target property."), {3e9f, 0}, crop, "0 0 30 40"},
        {"density -1 becomes 0, which fog refuses", fog, render::setDensity, {-1}, refused(fogText.c_str()), {0},
         fogLinear, "0 1 density 1"},
        {"fog far", fog, render::setFarDistance, {50}, accepted(), {50}, fogLinear, "0 50 density 1"},
        {"fog near", fog, render::setNearDistance, {-5}, accepted(), {-5}, fogLinear, "-5 1 density 1"},
        {"perspective far 0", perspective, render::setFarDistance, {0}, accepted(), {FLT_EPSILON}, projection,
         format("60 1.5 1 %g", FLT_EPSILON)},
        {"perspective field of view 200 is refused at 180", perspective, render::setFieldOfView, {200}, bare(), {180},
         projection, "60 1.5 1 100"},
        {"parallel height -1", parallel, render::setFieldOfView, {-1}, accepted(), {FLT_EPSILON}, projection,
         format("%g 2 1 100", FLT_EPSILON)},
        {"parallel near -1 is kept", parallel, render::setNearDistance, {-1}, accepted(), {-1}, projection,
         "10 2 -1 100"},
        {"generic camera far", generic, render::setFarDistance, {5},
         refused("Camera Far Distance is tried to animate and camera is not in PERSPECTIVE or PARALLEL mode"), {5},
         projection, "0 0 0 0"},
        {"generic camera field of view", generic, render::setFieldOfView, {5}, bare(), {5}, projection, "0 0 0 0"},
        {"shininess 200", material, render::setShininess, {200}, accepted(), {128},
         [](Object3D& o) { return format("%g", dynamic_cast<render::Material&>(o).getShininess()); }, "128"},
        {"visibility 0.5", group, render::setVisibility, {0.5f}, accepted(), {0.5f}, node, "rendering 0 picking 1"},
        {"pickability 0.51", group, render::setPickability, {0.51f}, accepted(), {0.51f}, node,
         "rendering 1 picking 1"},
        {"pickability 0.5", group, render::setPickability, {0.5f}, accepted(), {0.5f}, node, "rendering 1 picking 0"},
        {"scale of one component", group, render::setScale, {2}, accepted(), {2}, node, "scale 2 2 2"},
        {"scale of three", group, render::setScale, {2, 3, 4}, accepted(), {2, 3, 4}, node, "scale 2 3 4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        core::Ref<Object3D> target = c.make();
        std::vector<float> values = c.values;
        EXPECT_EQ(outcomeOf([&] { c.set(target.get(), static_cast<int>(values.size()), values.data()); }),
                  c.outcome);
        for (size_t i = 0; i < values.size(); ++i) {
            if (std::isnan(c.writtenBack[i]))
                EXPECT_TRUE(std::isnan(values[i])) << i;
            else
                EXPECT_FLOAT_EQ(values[i], c.writtenBack[i]) << i;
        }
        const std::string state = c.read(*target);
        EXPECT_NE(state.find(c.state), std::string::npos) << state;
    }
}

TEST_F(AnimationHelpersTest, OrientationTurnsAQuaternionIntoDegreesAboutAnAxis)
{
    const float h = std::sqrt(0.5f);
    const struct {
        const char* call;
        std::vector<float> q;
        testsupport::Outcome outcome;
        std::vector<float> orientation; // axis x, y, z, angle in degrees
    } cases[] = {
        {"identity", {0, 0, 0, 1}, accepted(), {1, 0, 0, 0}},
        {"a whole turn", {0, 0, 0, -1}, accepted(), {1, 0, 0, 360}},
        {"a quarter turn about z", {0, 0, h, h}, accepted(), {0, 0, 1, 90}},
        {"not of unit length", {0, -3, 0, 3}, accepted(), {0, -1, 0, 90}},
        {"nearly the identity", {1e-30f, 0, 0, 1}, accepted(), {1, 0, 0, 0}},
        {"zero", {0, 0, 0, 0}, bare(), {0.6f, 0.8f, 0, 30}},
        {"infinite", {INFINITY, 0, 0, 1}, bare(), {0.6f, 0.8f, 0, 30}},
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
