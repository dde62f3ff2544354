#include "OGLESTest.h"

#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Group.h"
#include "render/Mesh.h"
#include "render/Sprite3D.h"
#include "render/World.h"

namespace {

using testsupport::hexColor;

// Where the camera stands decides the view: also when the camera hangs in
// groups. A 128 x 128 frame under parallel cameras whose units are its
// pixels.
class OGLESEyeSpaceTest : public testsupport::OGLESTest {
protected:
    static constexpr int kSize = 128;

    OGLESEyeSpaceTest() : OGLESTest(kSize, kSize) {}

    void SetUp() override
    {
        OGLESTest::SetUp();
        g3d().bindTarget(nullptr);
    }
};

} // namespace

// The camera, moved by (8, 0), hangs in a group moved by (0, 8) inside one
// moved by (16, 0): it stands at (24, 8), with the frame's lower left corner
// there. A red 8 x 8 mesh at (24, 8) shows in that corner, and a green
// sprite at (24 + 40, 8 + 24) at (40, 24) of the frame: batched quads are
// placed with the same view.
TEST_F(OGLESEyeSpaceTest, ACameraInAGroupLooksFromWhereItsGroupsPutIt)
{
    core::Ref<render::World> world = VORNIC3D_NEW render::World();
    core::Ref<render::Background> black = VORNIC3D_NEW render::Background();
    black->setColor(kBlack);
    world->setBackground(black.get());
    core::Ref<render::Group> outer = VORNIC3D_NEW render::Group();
    outer->setTranslation(16.0f, 0.0f, 0.0f);
    core::Ref<render::Group> inner = VORNIC3D_NEW render::Group();
    inner->setTranslation(0.0f, 8.0f, 0.0f);
    core::Ref<render::Camera> camera = VORNIC3D_NEW render::Camera();
    camera->setParallel(0.0f, kSize, 0.0f, kSize, -100.0f, 100.0f);
    camera->setTranslation(8.0f, 0.0f, 0.0f);
    inner->addChild(camera.get());
    outer->addChild(inner.get());
    world->addChild(outer.get());
    world->setActiveCamera(camera.get());

    core::Ref<render::VertexBuffer> vertices = rectangle(24, 8, 32, 16);
    vertices->setDefaultColor(kRed);
    core::Ref<render::Appearance> plainLook = VORNIC3D_NEW render::Appearance();
    core::Ref<render::Mesh> square = VORNIC3D_NEW render::Mesh(vertices.get(), rectangleTriangles().get(), plainLook.get());
    world->addChild(square.get());
    core::Ref<render::Image2D> image = plain(kGreen, 8, 8);
    core::Ref<render::Appearance> spriteLook = VORNIC3D_NEW render::Appearance();
    core::Ref<render::Sprite3D> sprite = VORNIC3D_NEW render::Sprite3D(false, image.get(), spriteLook.get());
    sprite->setTranslation(64.0f, 32.0f, 0.0f);
    world->addChild(sprite.get());

    g3d().render(world.get());
    g3d().releaseTarget();
    EXPECT_EQ(extentOf(kBlack), "0,0 44x28");
    EXPECT_EQ(hexColor(pixelAt(4, 4)), hexColor(kRed));
    EXPECT_EQ(hexColor(pixelAt(40, 24)), hexColor(kGreen));
    EXPECT_EQ(hexColor(pixelAt(20, 12)), hexColor(kBlack));
}
