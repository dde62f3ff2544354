#include "OGLESTest.h"
#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Mesh.h"

#include <functional>

namespace {

using render::Light;
using render::Material;
using render::Transform;
using testsupport::hexColor;
using testsupport::nearColor;
using testsupport::outcomeOf;
using testsupport::refused;

// A frame-sized rectangle facing +z with a white diffuse and ambient
// material, drawn as a node under a camera whose units are pixels; the
// default colour (blue) shows where lighting is off.
class OGLESLightTest : public testsupport::OGLESTest {
protected:
    void SetUp() override
    {
        OGLESTest::SetUp();
        g3d().bindTarget(nullptr);
        useScreenCamera();
    }
    static core::Ref<render::Mesh> litRectangle()
    {
        core::Ref<render::VertexBuffer> vertices = rectangle(0, 0, kWidth, kHeight);
        vertices->setDefaultColor(kBlue);
        core::Ref<Material> material = VORNIC3D_NEW Material();
        material->setColor(Material::AMBIENT | Material::DIFFUSE, 0xFFFFFFFFu);
        core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
        appearance->setMaterial(material.get());
        return VORNIC3D_NEW render::Mesh(vertices.get(), rectangleTriangles().get(), appearance.get());
    }
    // The centre pixel of `mesh` drawn on a cleared frame.
    std::uint32_t draw(render::Mesh& mesh)
    {
        core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
        g3d().clear(background.get());
        g3d().render(&mesh, Transform());
        return pixelAt(32, 24);
    }
    static core::Ref<Light> light(int mode, unsigned int color)
    {
        core::Ref<Light> result = VORNIC3D_NEW Light();
        result->setMode(mode);
        result->setColor(color);
        return result;
    }
};

} // namespace

// Omni lights are placed in the traversal tests.
TEST_F(OGLESLightTest, LightsByModeAndScopeUpToEight)
{
    const struct { const char* what; std::function<void(Light&)> set; std::uint32_t centre; } cases[] = {
        {"directional, coloured and dimmed", [](Light& l) { l.setColor(0xFF8040); l.setIntensity(0.5f); }, 0xFF804020u},
        {"directional, turned 60 degrees", [](Light& l) { l.setOrientation(60.0f, 1.0f, 0.0f, 0.0f); }, 0xFF808080u},
        {"ambient", [](Light& l) { l.setMode(Light::AMBIENT); l.setColor(0x404040); }, 0xFF404040u},
        {"out of the mesh's scope", [](Light& l) { l.setScope(2); }, kBlue},
        {"not rendering", [](Light& l) { l.setRenderingEnable(false); }, kBlue},
    };
    core::Ref<render::Mesh> mesh = litRectangle();
    mesh->setScope(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        core::Ref<Light> lamp = light(Light::DIRECTIONAL, 0xFFFFFF);
        c.set(*lamp);
        g3d().resetLights();
        EXPECT_EQ(g3d().addLight(lamp.get(), Transform()), 0);
        EXPECT_TRUE(nearColor(draw(*mesh), c.centre));
    }

    g3d().resetLights();
    core::Ref<Light> lamp = light(Light::DIRECTIONAL, 0xFFFFFF);
    EXPECT_EQ(outcomeOf([&] { g3d().addLight(nullptr, Transform()); }), refused("light parameter is 0"));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(g3d().addLight(lamp.get(), Transform()), i);
    EXPECT_EQ(outcomeOf([&] { g3d().setLight(9, lamp.get(), Transform()); }),
              refused("setLight : index parameter is too big"));
    EXPECT_EQ(outcomeOf([&] { draw(*mesh); }), refused("render : Graphics3D does not support this light ID"));
    g3d().resetLights();
    EXPECT_EQ(g3d().getLightCount(), 0);
    EXPECT_EQ(hexColor(draw(*mesh)), hexColor(kBlue));
}

// The renderer's default light shines from the camera: alone when the list
// is empty, beside a lone ambient light; two lights of the list light
// alone. A light set by the application replaces it; none leaves the scene
// unlit, and with lighting switched off no light is used.
TEST_F(OGLESLightTest, TheDefaultLightLightsWhatHasNoOtherLight)
{
    render::Graphics3DConfig config = defaultConfig();
    config.default_light = true;
    restartOnScreen(config);
    ASSERT_NE(g3d().getDefaultLight(), nullptr);
    EXPECT_EQ(g3d().getDefaultLight()->getMode(), Light::DIRECTIONAL);
    core::Ref<render::Mesh> mesh = litRectangle();
    mesh->getAppearance(0)->getMaterial()->setColor(Material::DIFFUSE, 0xFF808080u);
    core::Ref<Light> ambient = light(Light::AMBIENT, 0x404040);
    EXPECT_TRUE(nearColor(draw(*mesh), 0xFF808080u));
    g3d().addLight(ambient.get(), Transform());
    EXPECT_TRUE(nearColor(draw(*mesh), 0xFFC0C0C0u));
    g3d().addLight(ambient.get(), Transform());
    EXPECT_TRUE(nearColor(draw(*mesh), 0xFF808080u));
    g3d().resetLights();
    g3d().setDefaultLight(nullptr);
    EXPECT_EQ(hexColor(draw(*mesh)), hexColor(kBlue));

    config.default_light = false;
    config.lighting = false;
    restartOnScreen(config);
    g3d().addLight(ambient.get(), Transform());
    EXPECT_EQ(hexColor(draw(*mesh)), hexColor(kBlue));
    g3d().resetLights();
}
