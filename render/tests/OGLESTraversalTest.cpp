#include "OGLESTest.h"
#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Group.h"
#include "render/Image2D.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/SkinnedMesh.h"
#include "render/Texture2D.h"
#include "render/World.h"

#include <functional>
#include <vector>

namespace {

using render::Light;
using render::Material;
using render::Transform;
using testsupport::hexColor;
using testsupport::kUpright;
using testsupport::nearColor;
using testsupport::outcomeOf;
using testsupport::refused;

class OGLESTraversalTest : public testsupport::OGLESTest {
protected:
    void SetUp() override
    {
        OGLESTest::SetUp();
        g3d().bindTarget(nullptr);
    }
    // A rectangle of the default colour `argb`; with `lit`, a white diffuse
    // material of ambient colour `ambient`.
    static core::Ref<render::Mesh> mesh(int x0, int y0, int x1, int y1, std::uint32_t argb, bool lit = false,
                                        std::uint32_t ambient = 0)
    {
        core::Ref<render::VertexBuffer> vertices = rectangle(x0, y0, x1, y1);
        vertices->setDefaultColor(argb);
        core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
        if (lit) {
            core::Ref<Material> material = VORNIC3D_NEW Material();
            material->setColor(Material::AMBIENT, ambient);
            material->setColor(Material::DIFFUSE, 0xFFFFFFFFu);
            appearance->setMaterial(material.get());
        }
        return VORNIC3D_NEW render::Mesh(vertices.get(), rectangleTriangles().get(), appearance.get());
    }
    // The frame-sized rectangle in blue (where lighting is off) with a white
    // diffuse and ambient material, under the screen camera.
    core::Ref<render::Mesh> litFrame()
    {
        useScreenCamera();
        return mesh(0, 0, kWidth, kHeight, kBlue, true, 0xFFFFFF);
    }
    // The centre pixel of `node` drawn on a frame cleared by clear(null).
    std::uint32_t centreOf(render::Mesh& node)
    {
        g3d().clear(nullptr);
        g3d().render(&node, Transform());
        return pixelAt(32, 24);
    }
    // A world seen through a parallel camera in pixels, cleared to `argb`.
    static core::Ref<render::World> world(std::uint32_t argb)
    {
        core::Ref<render::World> result = VORNIC3D_NEW render::World();
        core::Ref<render::Camera> camera = VORNIC3D_NEW render::Camera();
        camera->setParallel(0.0f, static_cast<float>(kWidth), 0.0f, static_cast<float>(kHeight), -100.0f, 100.0f);
        result->addChild(camera.get());
        result->setActiveCamera(camera.get());
        core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
        background->setColor(argb);
        result->setBackground(background.get());
        return result;
    }
};

} // namespace

// ---- worlds -------------------------------------------------------------------------------------

TEST_F(OGLESTraversalTest, AWorldWithoutCameraFailsBeforeClearing)
{
    clearTo(kRed);
    core::Ref<render::World> empty = VORNIC3D_NEW render::World();
    EXPECT_EQ(outcomeOf([&] { g3d().render(empty.get()); }), refused("World does not have an active camera"));
    EXPECT_EQ(outcomeOf([&] { g3d().render(static_cast<render::World*>(nullptr)); }), refused("world parameter is 0"));
    EXPECT_EQ(hexColor(pixelAt(5, 5)), hexColor(kRed));
    core::Ref<render::Mesh> lone = mesh(0, 0, 8, 8, kBlue);
    EXPECT_EQ(outcomeOf([&] { g3d().render(lone.get(), Transform()); }),
              refused("Graphics3D : active camera is missing"));
}

// Left half in the world, right half in a moved group; a light in a moved
// group 10 above the left half's centre; a group whose scope shuts out its
// child; a mesh that is not rendered. A world render before it, seen from
// elsewhere, leaves its own camera's view loaded: the lights must be placed
// with this world's.
TEST_F(OGLESTraversalTest, AWorldDrawsItsGroupsWithTheirLightsAndScopes)
{
    core::Ref<render::World> scene = world(kBlue);
    scene->addChild(mesh(0, 0, 32, kHeight, kBlack, true).get());
    core::Ref<render::Group> moved = VORNIC3D_NEW render::Group();
    moved->setTranslation(32.0f, 0.0f, 0.0f);
    moved->addChild(mesh(0, 0, 32, kHeight, kBlack, true).get());
    scene->addChild(moved.get());

    core::Ref<render::Group> lamps = VORNIC3D_NEW render::Group();
    lamps->setTranslation(16.0f, 24.0f, 0.0f);
    core::Ref<render::Light> lamp = VORNIC3D_NEW render::Light();
    lamp->setMode(render::Light::OMNI);
    lamp->setTranslation(0.0f, 0.0f, 10.0f);
    lamps->addChild(lamp.get());
    scene->addChild(lamps.get());

    core::Ref<render::Group> scoped = VORNIC3D_NEW render::Group();
    scoped->setScope(1);
    core::Ref<render::Mesh> outside = mesh(0, 40, kWidth, kHeight, kRed);
    outside->setScope(2);
    scoped->addChild(outside.get());
    scene->addChild(scoped.get());
    core::Ref<render::Mesh> hidden = mesh(0, 0, 8, 8, kRed);
    hidden->setRenderingEnable(false);
    scene->addChild(hidden.get());

    core::Ref<render::World> before = world(kBlack);
    before->getActiveCamera()->setTranslation(100.0f, 0.0f, 0.0f);
    g3d().render(before.get());
    g3d().render(scene.get());
    // Lit per vertex: the left half's corners each 16 by 24 from under the
    // light, the right half's outer corners farther.
    EXPECT_TRUE(nearColor(pixelAt(16, 24), 0xFF545454u));
    EXPECT_TRUE(nearColor(pixelAt(4, 4), 0xFF545454u));
    EXPECT_TRUE(nearColor(pixelAt(16, 44), 0xFF545454u));
    EXPECT_TRUE(nearColor(pixelAt(60, 24), 0xFF333333u));
    // Outside the world render every draw loads camera and lights again.
    g3d().resetLights();
    core::Ref<render::Mesh> after = mesh(0, 0, 8, 8, kRed);
    g3d().render(after.get(), Transform());
    EXPECT_EQ(hexColor(pixelAt(2, 2)), hexColor(kRed));
}

// ---- lights -------------------------------------------------------------------------------------

// Omni lights are placed in the world tests above.
TEST_F(OGLESTraversalTest, LightsByModeAndScopeUpToEight)
{
    const struct {
        const char* what;
        std::function<void(Light&)> set;
        std::uint32_t centre;
    } cases[] = {
        {"directional, coloured and dimmed",
         [](Light& l) {
             l.setColor(0xFF8040);
             l.setIntensity(0.5f);
         },
         0xFF804020u},
        {"directional, turned 60 degrees", [](Light& l) { l.setOrientation(60.0f, 1.0f, 0.0f, 0.0f); }, 0xFF808080u},
        {"ambient",
         [](Light& l) {
             l.setMode(Light::AMBIENT);
             l.setColor(0x404040);
         },
         0xFF404040u},
        {"out of the mesh's scope", [](Light& l) { l.setScope(2); }, kBlue},
        {"not rendering", [](Light& l) { l.setRenderingEnable(false); }, kBlue},
    };
    core::Ref<render::Mesh> lit = litFrame();
    lit->setScope(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        core::Ref<Light> lamp = VORNIC3D_NEW Light();
        c.set(*lamp);
        g3d().resetLights();
        EXPECT_EQ(g3d().addLight(lamp.get(), Transform()), 0);
        EXPECT_TRUE(nearColor(centreOf(*lit), c.centre));
    }

    g3d().resetLights();
    core::Ref<Light> lamp = VORNIC3D_NEW Light();
    EXPECT_EQ(outcomeOf([&] { g3d().addLight(nullptr, Transform()); }), refused("light parameter is 0"));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(g3d().addLight(lamp.get(), Transform()), i);
    EXPECT_EQ(outcomeOf([&] { g3d().setLight(9, lamp.get(), Transform()); }),
              refused("setLight : index parameter is too big"));
    EXPECT_EQ(outcomeOf([&] { centreOf(*lit); }), refused("render : Graphics3D does not support this light ID"));
    g3d().resetLights();
    EXPECT_EQ(g3d().getLightCount(), 0);
    EXPECT_EQ(hexColor(centreOf(*lit)), hexColor(kBlue));
}

// The renderer's default light shines from the camera: alone when the list
// is empty, beside a lone ambient light; two lights of the list light
// alone. A light set by the application replaces it; none leaves the scene
// unlit, and with lighting switched off no light is used.
TEST_F(OGLESTraversalTest, TheDefaultLightLightsWhatHasNoOtherLight)
{
    render::Graphics3DConfig config = defaultConfig();
    config.default_light = true;
    restartOnScreen(config);
    ASSERT_NE(g3d().getDefaultLight(), nullptr);
    EXPECT_EQ(g3d().getDefaultLight()->getMode(), Light::DIRECTIONAL);
    core::Ref<render::Mesh> lit = litFrame();
    lit->getAppearance(0)->getMaterial()->setColor(Material::DIFFUSE, 0xFF808080u);
    core::Ref<Light> ambient = VORNIC3D_NEW Light();
    ambient->setMode(Light::AMBIENT);
    ambient->setColor(0x404040);
    EXPECT_TRUE(nearColor(centreOf(*lit), 0xFF808080u));
    g3d().addLight(ambient.get(), Transform());
    EXPECT_TRUE(nearColor(centreOf(*lit), 0xFFC0C0C0u));
    g3d().addLight(ambient.get(), Transform());
    EXPECT_TRUE(nearColor(centreOf(*lit), 0xFF808080u));
    g3d().resetLights();
    g3d().setDefaultLight(nullptr);
    EXPECT_EQ(hexColor(centreOf(*lit)), hexColor(kBlue));

    config.default_light = false;
    config.lighting = false;
    restartOnScreen(config);
    g3d().addLight(ambient.get(), Transform());
    EXPECT_EQ(hexColor(centreOf(*lit)), hexColor(kBlue));
    g3d().resetLights();
}

// ---- skinned meshes -------------------------------------------------------------------------------

// A red 16 x 16 skin bound whole to a bone that carries a green 8 x 8 mesh
// of its own beside the skin; the unbound skeleton root moves both.
TEST_F(OGLESTraversalTest, ASkinnedMeshShowsItsSkinWhereItsBonesAreAndTheBonesMeshes)
{
    useScreenCamera();
    core::Ref<render::Group> skeleton = VORNIC3D_NEW render::Group();
    core::Ref<render::Group> bone = VORNIC3D_NEW render::Group();
    skeleton->addChild(bone.get());
    bone->addChild(mesh(16, 0, 24, 8, kGreen).get());
    core::Ref<render::VertexBuffer> vertices = rectangle(0, 0, 16, 16);
    vertices->setDefaultColor(kRed);
    core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
    core::Ref<render::SkinnedMesh> skin = VORNIC3D_NEW render::SkinnedMesh(
        vertices.get(), testsupport::vectorOf(std::vector<core::Ref<render::IndexBuffer>>{rectangleTriangles()}),
        testsupport::vectorOf(std::vector<core::Ref<render::Appearance>>{appearance}), skeleton.get());
    skin->addTransform(bone.get(), 65535, 0, 4);
    skeleton->setTranslation(0.0f, 16.0f, 0.0f);

    // Each draw takes the bones' pose of that moment.
    const struct {
        float boneX;
        int skinX; // the skin's left edge; the bone's mesh starts 16 further
    } poses[] = {{24.0f, 24}, {0.0f, 0}};
    for (const auto& pose : poses) {
        SCOPED_TRACE(pose.skinX);
        clearTo(kBlack);
        bone->setTranslation(pose.boneX, 0.0f, 0.0f);
        g3d().render(skin.get(), Transform());
        EXPECT_EQ(extentOf(kBlack), std::to_string(pose.skinX) + ",16 24x16");
        EXPECT_EQ(hexColor(pixelAt(pose.skinX + 8, 24)), hexColor(kRed));
        EXPECT_EQ(hexColor(pixelAt(pose.skinX + 20, 20)), hexColor(kGreen));
        EXPECT_EQ(hexColor(pixelAt(pose.skinX + 20, 28)), hexColor(kBlack));
    }
}

// ---- textures as quads ---------------------------------------------------------------------------

TEST_F(OGLESTraversalTest, ATextureIsDrawnUprightCentredOnItsTransform)
{
    core::Ref<render::Image2D> image = quadrants();
    core::Ref<render::Texture2D> texture = g3d().createNewTexture();
    texture->setImage(image.get());
    // Without a camera, in screen pixels.
    clearTo(kBlack);
    g3d().render(texture.get(), translation(32.0f, 24.0f, 0.0f), nullptr);
    EXPECT_EQ(around(32, 24), kUpright);
    EXPECT_EQ(hexColor(pixelAt(27, 24)), hexColor(kBlack));
    EXPECT_EQ(hexColor(pixelAt(36, 24)), hexColor(kBlack));
    EXPECT_EQ(g3d().getCamera(nullptr), nullptr);

    // In the space of a parallel camera: here twice the size.
    clearTo(kBlack);
    core::Ref<render::Camera> zoom = VORNIC3D_NEW render::Camera();
    zoom->setParallel(0.0f, 32.0f, 0.0f, 24.0f, -100.0f, 100.0f);
    g3d().setCamera(zoom.get(), Transform());
    g3d().render(texture.get(), translation(16.0f, 12.0f, 0.0f), nullptr);
    EXPECT_EQ(around(32, 24, 7), kUpright);
    EXPECT_EQ(g3d().getCamera(nullptr), zoom.get());
    g3d().setCamera(nullptr, Transform());
    EXPECT_EQ(outcomeOf([&] { g3d().render(static_cast<render::Texture2D*>(nullptr), Transform(), nullptr); }),
              refused("render failed because texture parameter is 0"));
}

// The copy takes the lower left corner of the frame, the texture's size,
// in the device's row order: the frame's bottom row becomes the image's row
// 0, which a drawn texture shows at the top. The release leaves the screen
// bound with the default hints.
TEST_F(OGLESTraversalTest, ATextureTargetTakesTheLowerLeftCornerOfTheFrame)
{
    core::Ref<render::Image2D> image = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 16, 16);
    core::Ref<render::Texture2D> target = g3d().createNewTexture();
    target->setImage(image.get());
    useScreenCamera();
    g3d().bindTarget(target.get(), true, 4);
    clearTo(kBlack);
    core::Ref<render::Mesh> left = mesh(0, 0, 8, 16, kRed);
    core::Ref<render::Mesh> lowerRight = mesh(8, 0, 16, 8, kGreen);
    core::Ref<render::Mesh> beyond = mesh(16, 0, kWidth, kHeight, kBlue);
    g3d().render(left.get(), Transform());
    g3d().render(lowerRight.get(), Transform());
    g3d().render(beyond.get(), Transform());
    g3d().releaseTarget();
    EXPECT_EQ(g3d().getTarget(), &g3d());
    EXPECT_EQ(g3d().getHints(), 1);

    g3d().setCamera(nullptr, Transform());
    g3d().render(target.get(), translation(32.0f, 24.0f, 0.0f), nullptr);
    EXPECT_EQ(around(32, 24, 4), (std::array{hexColor(kRed), hexColor(kGreen), hexColor(kRed), hexColor(kBlack)}));
}
