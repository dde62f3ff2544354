#include "SceneGraphTest.h"

#include "render/Background.h"
#include "render/Fog.h"
#include "render/Image2D.h"
#include "render/Light.h"

#include <cstdio>
#include <limits>
#include <vector>

using render::Background;
using render::Fog;
using render::Light;
using namespace testsupport;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class LightFogBackgroundTest : public EngineTest {};

std::string describeLight(const Light& l)
{
    char text[160];
    std::snprintf(text, sizeof text, "mode %d color %x intensity %g attenuation %g %g %g spot %g %g", l.getMode(),
                  l.getColor(), l.getIntensity(), l.getConstantAttenuation(), l.getLinearAttenuation(),
                  l.getQuadraticAttenuation(), l.getSpotAngle(), l.getSpotExponent());
    return text;
}

std::string describeFog(const Fog& f)
{
    char text[120];
    std::snprintf(text, sizeof text, "mode %d color %x density %g linear %g %g", f.getMode(), f.getColor(),
                  f.getDensity(), f.getNearDistance(), f.getFarDistance());
    return text;
}

std::string describeBackground(const Background& b)
{
    char text[160];
    std::snprintf(text, sizeof text, "color %x image %p modes %d %d crop %d %d %d %d clear depth %d color %d",
                  b.getColor(), static_cast<void*>(b.getImage()), b.getImageModeX(), b.getImageModeY(), b.getCropX(),
                  b.getCropY(), b.getCropWidth(), b.getCropHeight(), b.isDepthClearEnabled(), b.isColorClearEnabled());
    return text;
}

} // namespace

TEST_F(LightFogBackgroundTest, LightSetters)
{
    const char* const angle = "IllegalArgument in Light::setSpotAngle()";
    const char* const exponent = "IllegalArgument in Light::setSpotExponent()";
    const char* const attenuation = "IllegalArgument in Light::setAttenuation()";
    const std::vector<SetterCase<Light>> cases = {
        {"setMode(128)", [](Light& l) { l.setMode(128); }, accepted(), "mode 128"},
        {"setMode(132)", [](Light& l) { l.setMode(132); }, refused("IllegalArgument in Light::setMode()"), ""},
        {"setColor(0x12345678)", [](Light& l) { l.setColor(0x12345678); }, accepted(), "color 345678"},
        {"setSpotAngle(90)", [](Light& l) { l.setSpotAngle(90); }, accepted(), "spot 90 0"},
        {"setSpotAngle(90.01)", [](Light& l) { l.setSpotAngle(90.01f); }, refused(angle), ""},
        {"setSpotAngle(-0.5)", [](Light& l) { l.setSpotAngle(-0.5f); }, refused(angle), ""},
        {"setSpotAngle(NaN)", [](Light& l) { l.setSpotAngle(kNaN); }, refused(angle), ""},
        {"setSpotExponent(128)", [](Light& l) { l.setSpotExponent(128); }, accepted(), "spot 45 128"},
        {"setSpotExponent(128.5)", [](Light& l) { l.setSpotExponent(128.5f); }, refused(exponent), ""},
        {"setAttenuation(0, 0, 1)", [](Light& l) { l.setAttenuation(0, 0, 1); }, accepted(), "attenuation 0 0 1"},
        {"setAttenuation(0, 0, 0)", [](Light& l) { l.setAttenuation(0, 0, 0); }, refused(attenuation), ""},
        {"setAttenuation(2, -1, 0)", [](Light& l) { l.setAttenuation(2, -1, 0); }, refused(attenuation), ""},
        {"setAttenuation(NaN, 1, 0)", [](Light& l) { l.setAttenuation(kNaN, 1, 0); }, refused(attenuation), ""},
    };
    runSetterTable(
        cases, [] { return VORNIC3D_NEW Light(); }, describeLight);
}

TEST_F(LightFogBackgroundTest, FogSetters)
{
    const std::vector<SetterCase<Fog>> cases = {
        {"setMode(80)", [](Fog& f) { f.setMode(80); }, accepted(), "mode 80"},
        {"setMode(82)", [](Fog& f) { f.setMode(82); }, refused("IllegalArgumentException"), ""},
        {"setColor(0xFF102030)", [](Fog& f) { f.setColor(0xFF102030); }, accepted(), "color 102030"},
        {"setDensity(0.001)", [](Fog& f) { f.setDensity(0.001f); }, accepted(), "density 0.001"},
        {"setDensity(0)", [](Fog& f) { f.setDensity(0); }, refused("IllegalArgumentException"), ""},
        {"setDensity(NaN)", [](Fog& f) { f.setDensity(kNaN); }, refused("IllegalArgumentException"), ""},
    };
    runSetterTable(
        cases, [] { return VORNIC3D_NEW Fog(); }, describeFog);
}

TEST_F(LightFogBackgroundTest, BackgroundSetters)
{
    core::Ref<render::Image2D> rgba = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 64, 32);
    core::Ref<render::Image2D> rgb = VORNIC3D_NEW render::Image2D(render::Image2D::RGB, 8, 4);
    core::Ref<render::Image2D> luminance = VORNIC3D_NEW render::Image2D(render::Image2D::LUMINANCE, 8, 8);
    const std::vector<SetterCase<Background>> cases = {
        {"setColor(0x80FF0000)", [](Background& b) { b.setColor(0x80FF0000); }, accepted(), "color 80ff0000"},
        {"setImageMode(33, 32)", [](Background& b) { b.setImageMode(33, 32); }, accepted(), "modes 33 32"},
        {"setImageMode(32, 34)", [](Background& b) { b.setImageMode(32, 34); }, refused("IllegalArgumentException"),
         ""},
        {"setCrop(-5, -5, 10, 10)", [](Background& b) { b.setCrop(-5, -5, 10, 10); }, accepted(), "crop -5 -5 10 10"},
        {"setCrop(0, 0, 10, -1)", [](Background& b) { b.setCrop(0, 0, 10, -1); }, refused("IllegalArgumentException"),
         ""},
        {"setImage(RGBA 64 x 32)", [&](Background& b) { b.setImage(rgba.get()); }, accepted(), "crop 0 0 64 32"},
        {"setImage(LUMINANCE)", [&](Background& b) { b.setImage(luminance.get()); },
         refused("IllegalArgumentException"), ""},
        {"setImage(null)", [](Background& b) { b.setImage(nullptr); }, refused("IllegalArgumentException"), ""},
    };
    runSetterTable(
        cases,
        [&] {
            Background* b = VORNIC3D_NEW Background();
            b->setImage(rgb.get());
            return b;
        },
        describeBackground);
    EXPECT_EQ(std::pair(rgba->getRefCount(), rgb->getRefCount()), std::pair(1, 1));
}
