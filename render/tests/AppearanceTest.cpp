#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Material.h"
#include "render/PolygonMode.h"
#include "render/Texture2D.h"

#include <cstdio>
#include <limits>
#include <vector>

using render::Appearance;
using render::CompositingMode;
using render::Material;
using render::PolygonMode;
using namespace testsupport;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class AppearanceTest : public SceneGraphTest {};

std::string describeCompositing(const CompositingMode& c)
{
    char text[120];
    std::snprintf(text, sizeof text, "blending %d threshold %g offset %g %g depth %d%d write %d%d", c.getBlending(),
                  c.getAlphaThreshold(), c.getDepthOffsetFactor(), c.getDepthOffsetUnits(), c.isDepthTestEnabled(),
                  c.isDepthWriteEnabled(), c.isColorWriteEnabled(), c.isAlphaWriteEnabled());
    return text;
}

std::string describePolygon(const PolygonMode& p)
{
    char text[120];
    std::snprintf(text, sizeof text, "culling %d shading %d winding %d line %g flags %d%d%d", p.getCulling(),
                  p.getShading(), p.getWinding(), p.getLineWidth(), p.isTwoSidedLightingEnabled(),
                  p.isLocalCameraLightingEnabled(), p.isPerspectiveCorrectionEnabled());
    return text;
}

std::string describeMaterial(const Material& m)
{
    char text[120];
    std::snprintf(text, sizeof text, "colors %08x %08x %08x %08x shininess %g tracking %d",
                  m.getColor(Material::AMBIENT), m.getColor(Material::DIFFUSE), m.getColor(Material::EMISSIVE),
                  m.getColor(Material::SPECULAR), m.getShininess(), m.isVertexColorTrackingEnabled());
    return text;
}

} // namespace

// ---- appearance ------------------------------------------------------------------------

TEST_F(AppearanceTest, TextureUnitsFollowTheRenderersCount)
{
    core::Ref<render::Texture2D> texture = renderer().createNewTexture();
    core::Ref<Appearance> one = VORNIC3D_NEW Appearance();
    renderer().properties().numTextureUnits = 2;
    core::Ref<Appearance> two = VORNIC3D_NEW Appearance();
    one->setTexture(0, texture.get());
    two->setTexture(1, texture.get());
    EXPECT_EQ(texture->getRefCount(), 3);
    for (int unit : {1, -1}) {
        EXPECT_EQ(outcomeOf([&] { one->setTexture(unit, texture.get()); }), bare()) << unit;
        EXPECT_EQ(outcomeOf([&] { one->getTexture(unit); }), bare()) << unit;
    }
    one->setTexture(0, nullptr);
    EXPECT_EQ(texture->getRefCount(), 2);

    for (int layer : {-63, 63})
        EXPECT_EQ(outcomeOf([&] { one->setLayer(layer); }), accepted()) << layer;
    for (int layer : {-64, 64})
        EXPECT_EQ(outcomeOf([&] { one->setLayer(layer); }), bare()) << layer;
    EXPECT_EQ(one->getLayer(), 63);
}

// Setting the held material again must not count it twice; the leak check
// at teardown sees the dead appearance's components released.
TEST_F(AppearanceTest, ComponentsAreSharedByCountedReference)
{
    core::Ref<Material> shared = VORNIC3D_NEW Material();
    core::Ref<Appearance> a = VORNIC3D_NEW Appearance();
    core::Ref<Appearance> b = VORNIC3D_NEW Appearance();
    a->setMaterial(shared.get());
    b->setMaterial(shared.get());
    a->setMaterial(shared.get());
    a->setPolygonMode(VORNIC3D_NEW PolygonMode());
    a->setCompositingMode(VORNIC3D_NEW CompositingMode());
    a->setFog(VORNIC3D_NEW render::Fog());
    EXPECT_EQ(shared->getRefCount(), 3);
    a = nullptr;
    b->setMaterial(nullptr);
    EXPECT_EQ(shared->getRefCount(), 1);
}

TEST_F(AppearanceTest, DyingDefaultTextAppearanceClearsItsSlot)
{
    core::Globals* globals = core::Globals::get();
    core::Ref<Appearance> shared = VORNIC3D_NEW Appearance();
    globals->m_defaultTextAppearance = shared.get();
    core::Ref<Appearance> other = VORNIC3D_NEW Appearance();
    other = nullptr;
    EXPECT_EQ(globals->m_defaultTextAppearance, shared.get());
    shared = nullptr;
    EXPECT_EQ(globals->m_defaultTextAppearance, nullptr);
}

// ---- components --------------------------------------------------------------------------

TEST_F(AppearanceTest, CompositingModeSetters)
{
    const std::vector<SetterCase<CompositingMode>> cases = {
        {"setBlending(64)", [](CompositingMode& c) { c.setBlending(64); }, accepted(), "blending 64"},
        {"setBlending(69)", [](CompositingMode& c) { c.setBlending(69); }, accepted(), "blending 69"},
        {"setBlending(63)", [](CompositingMode& c) { c.setBlending(63); }, bare(), ""},
        {"setBlending(70)", [](CompositingMode& c) { c.setBlending(70); }, bare(), ""},
        {"setAlphaThreshold(1)", [](CompositingMode& c) { c.setAlphaThreshold(1); }, accepted(), "threshold 1"},
        {"setAlphaThreshold(-0.001)", [](CompositingMode& c) { c.setAlphaThreshold(-0.001f); }, bare(), ""},
        {"setAlphaThreshold(1.001)", [](CompositingMode& c) { c.setAlphaThreshold(1.001f); }, bare(), ""},
        {"setAlphaThreshold(NaN)", [](CompositingMode& c) { c.setAlphaThreshold(kNaN); }, bare(), ""},
    };
    runSetterTable(
        cases, [] { return VORNIC3D_NEW CompositingMode(); }, describeCompositing);
}

TEST_F(AppearanceTest, PolygonModeSetters)
{
    const std::vector<SetterCase<PolygonMode>> cases = {
        {"setCulling(162)", [](PolygonMode& p) { p.setCulling(162); }, accepted(), "culling 162"},
        {"setCulling(163)", [](PolygonMode& p) { p.setCulling(163); }, bare(), ""},
        {"setShading(164)", [](PolygonMode& p) { p.setShading(164); }, accepted(), "shading 164"},
        {"setShading(166)", [](PolygonMode& p) { p.setShading(166); }, bare(), ""},
        {"setWinding(169)", [](PolygonMode& p) { p.setWinding(169); }, accepted(), "winding 169"},
        {"setWinding(167)", [](PolygonMode& p) { p.setWinding(167); }, bare(), ""},
    };
    runSetterTable(
        cases, [] { return VORNIC3D_NEW PolygonMode(); }, describePolygon);
}

TEST_F(AppearanceTest, MaterialSetters)
{
    const std::vector<SetterCase<Material>> cases = {
        {"setColor(AMBIENT | DIFFUSE)", [](Material& m) { m.setColor(0x400 | 0x800, 0x80123456); }, accepted(),
         "colors 80123456 80123456 00000000 00000000"},
        {"setColor(AMBIENT | low bit)", [](Material& m) { m.setColor(0x400 | 0x1, 0x11); }, accepted(),
         "colors 00000011 ffcccccc"},
        {"setColor(0x2200)", [](Material& m) { m.setColor(0x2200, 0x22); }, accepted(),
         "colors 00333333 ffcccccc 00000000 00000022"},
        {"setColor(0x200)", [](Material& m) { m.setColor(0x200, 0x22); }, refused("IllegalArgumentException"), ""},
        {"getColor(AMBIENT | DIFFUSE)", [](Material& m) { m.getColor(0x400 | 0x800); },
         refused("IllegalArgumentException"), ""},
        {"setShininess(128)", [](Material& m) { m.setShininess(128); }, accepted(), "shininess 128"},
        {"setShininess(128.5)", [](Material& m) { m.setShininess(128.5f); }, refused("IllegalArgumentException"), ""},
        {"setShininess(NaN)", [](Material& m) { m.setShininess(kNaN); }, refused("IllegalArgumentException"), ""},
    };
    runSetterTable(
        cases, [] { return VORNIC3D_NEW Material(); }, describeMaterial);
}
