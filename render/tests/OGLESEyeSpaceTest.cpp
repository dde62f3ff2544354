#include "OGLESTest.h"

#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Fog.h"
#include "render/Group.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/Sprite3D.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"
#include "render/World.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

using render::Transform;
using testsupport::hexColor;
using testsupport::nearColor;

// Where the camera stands and looks decides what the device computes in eye
// space: the specular highlight, the fog's distance, and the view itself when
// the camera hangs in groups. A 128 x 128 frame under parallel cameras whose
// units are its pixels.
class OGLESEyeSpaceTest : public testsupport::OGLESTest {
protected:
    static constexpr int kSize = 128;
    static constexpr float kHalf = kSize / 2.0f;

    OGLESEyeSpaceTest() : OGLESTest(kSize, kSize) {}

    void SetUp() override
    {
        OGLESTest::SetUp();
        g3d().bindTarget(nullptr);
    }
    // The eye at the frame's centre, seeing 1 to 2000 units ahead.
    static core::Ref<render::Camera> centredCamera()
    {
        core::Ref<render::Camera> camera = VORNIC3D_NEW render::Camera();
        camera->setParallel(-kHalf, kHalf, -kHalf, kHalf, 1.0f, 2000.0f);
        return camera;
    }
    // Where a world point lands in the frame, seen from a camera with this
    // transform.
    static std::array<float, 2> pixelOf(const Transform& camera, const std::array<float, 3>& point)
    {
        Transform view(camera);
        view.invert();
        float m[16];
        view.get(m);
        return {kHalf + m[0] * point[0] + m[1] * point[1] + m[2] * point[2] + m[3],
                kHalf + m[4] * point[0] + m[5] * point[1] + m[6] * point[2] + m[7]};
    }
};

std::array<float, 3> normalised(float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    return {x / length, y / length, z / length};
}

// A sphere at the origin of `slices` x `stacks` vertices with their normals,
// triangles counter-clockwise seen from outside, black but for a white
// specular colour: lit, it shows only its highlight.
core::Ref<render::Mesh> shinySphere(float radius, int slices, int stacks)
{
    constexpr float kPi = 3.14159265f;
    constexpr float kPositionScale = 1.0f / 256.0f;
    std::vector<short> positions;
    std::vector<short> normals;
    for (int i = 0; i <= stacks; ++i) {
        const float latitude = kPi * (static_cast<float>(i) / stacks - 0.5f);
        for (int j = 0; j <= slices; ++j) {
            const float longitude = 2.0f * kPi * static_cast<float>(j) / slices;
            const float n[3] = {std::cos(latitude) * std::cos(longitude), std::sin(latitude),
                                -std::cos(latitude) * std::sin(longitude)};
            for (const float c : n) {
                positions.push_back(static_cast<short>(std::lround(c * radius / kPositionScale)));
                normals.push_back(static_cast<short>(std::lround(c * 32767.0f)));
            }
        }
    }
    std::vector<unsigned short> indices;
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const auto at = [&](int stack, int slice) {
                return static_cast<unsigned short>(stack * (slices + 1) + slice);
            };
            indices.insert(indices.end(),
                           {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i, j), at(i + 1, j + 1), at(i + 1, j)});
        }
    const int count = static_cast<int>(positions.size() / 3);
    core::Ref<render::VertexArray> positionArray =
        VORNIC3D_NEW render::VertexArray(count, 3, render::VertexArray::SHORT);
    positionArray->set(0, count, positions.data());
    core::Ref<render::VertexArray> normalArray = VORNIC3D_NEW render::VertexArray(count, 3, render::VertexArray::SHORT);
    normalArray->set(0, count, normals.data());
    core::Ref<render::VertexBuffer> vertices = VORNIC3D_NEW render::VertexBuffer();
    vertices->setPositions(positionArray.get(), kPositionScale, nullptr);
    vertices->setNormals(normalArray.get());
    core::Ref<render::IndexBuffer> triangles =
        VORNIC3D_NEW render::TriangleListArray(indices.data(), static_cast<int>(indices.size()));

    core::Ref<render::Material> material = VORNIC3D_NEW render::Material();
    material->setColor(render::Material::AMBIENT | render::Material::DIFFUSE, 0xFF000000u);
    material->setColor(render::Material::SPECULAR, 0xFFFFFFu);
    material->setShininess(32.0f);
    core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
    appearance->setMaterial(material.get());
    return VORNIC3D_NEW render::Mesh(vertices.get(), triangles.get(), appearance.get());
}

} // namespace

// A shiny sphere lit from far away along (0, 1, 1), seen from the +x side by
// a camera turned 90 degrees about y. The highlight stands where the normal
// is the half-vector between the light and the camera's viewing axis
// (+x): the brightest pixel is the vertex nearest to that point, within the
// tessellation's spacing of about 6 pixels.
TEST_F(OGLESEyeSpaceTest, ASpecularHighlightIsWhereTheCameraSeesIt)
{
    constexpr float kRadius = 48.0f;
    core::Ref<render::World> world = VORNIC3D_NEW render::World();
    core::Ref<render::Background> black = VORNIC3D_NEW render::Background();
    black->setColor(kBlack);
    world->setBackground(black.get());
    world->addChild(shinySphere(kRadius, 48, 24).get());
    core::Ref<render::Camera> camera = centredCamera();
    camera->setTranslation(500.0f, 0.0f, 0.0f);
    camera->setOrientation(90.0f, 0.0f, 1.0f, 0.0f);
    world->addChild(camera.get());
    world->setActiveCamera(camera.get());
    const std::array<float, 3> toLight = normalised(0.0f, 1.0f, 1.0f);
    core::Ref<render::Light> lamp = VORNIC3D_NEW render::Light();
    lamp->setMode(render::Light::OMNI);
    lamp->setTranslation(1.0e4f * toLight[0], 1.0e4f * toLight[1], 1.0e4f * toLight[2]);
    world->addChild(lamp.get());

    g3d().render(world.get());
    int brightest = -1;
    int bestX = 0;
    int bestY = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int green = static_cast<int>(pixelAt(x, y) >> 8 & 0xFFu);
            if (green > brightest) {
                brightest = green;
                bestX = x;
                bestY = y;
            }
        }

    const std::array<float, 3> half = normalised(toLight[0] + 1.0f, toLight[1], toLight[2]);
    Transform cameraTransform;
    camera->getCompositeTransform(&cameraTransform);
    const std::array<float, 2> expected =
        pixelOf(cameraTransform, {kRadius * half[0], kRadius * half[1], kRadius * half[2]});
    EXPECT_GT(brightest, 200);
    EXPECT_LE(std::hypot(bestX + 0.5f - expected[0], bestY + 0.5f - expected[1]), 5.0f)
        << "brightest at " << bestX << "," << bestY << "; expected " << expected[0] << "," << expected[1];
}

// A black quad in white linear fog from 50 to 150, facing the camera 100
// units in front of it: half fogged wherever the camera stands and looks.
// 200 units away it is all fog.
TEST_F(OGLESEyeSpaceTest, LinearFogIsMeasuredFromTheCamera)
{
    core::Ref<render::VertexBuffer> vertices = rectangle(-64, -64, 64, 64);
    vertices->setDefaultColor(kBlack);
    core::Ref<render::Fog> fog = VORNIC3D_NEW render::Fog();
    fog->setColor(0xFFFFFF);
    fog->setMode(render::Fog::LINEAR);
    fog->setLinear(50.0f, 150.0f);
    core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
    appearance->setFog(fog.get());
    core::Ref<render::Mesh> quad =
        VORNIC3D_NEW render::Mesh(vertices.get(), rectangleTriangles().get(), appearance.get());
    core::Ref<render::Camera> camera = centredCamera();

    // The camera and the quad stand at the same place, turned alike; the
    // quad `distance` further along the camera's viewing axis.
    const struct {
        const char* where;
        float x, y, z, turn;
        float distance;
        std::uint32_t centre;
    } cases[] = {
        {"at the origin", 0.0f, 0.0f, 100.0f, 0.0f, 100.0f, 0xFF808080u},
        {"far from the origin", 3000.0f, -2000.0f, 1000.0f, 0.0f, 100.0f, 0xFF808080u},
        {"far and turned", 1000.0f, 500.0f, 0.0f, 90.0f, 100.0f, 0xFF808080u},
        {"beyond the fog's end", 3000.0f, -2000.0f, 1000.0f, 0.0f, 200.0f, kWhite},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        Transform cameraTransform;
        cameraTransform.postTranslate(c.x, c.y, c.z);
        cameraTransform.postRotate(c.turn, 0.0f, 1.0f, 0.0f);
        Transform place(cameraTransform);
        place.postTranslate(0.0f, 0.0f, -c.distance);
        clearTo(kBlue);
        g3d().setCamera(camera.get(), cameraTransform);
        g3d().render(quad.get(), place);
        EXPECT_TRUE(nearColor(pixelAt(64, 64), c.centre));
    }
    g3d().setCamera(nullptr, Transform());
}

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
    core::Ref<render::Mesh> square =
        VORNIC3D_NEW render::Mesh(vertices.get(), rectangleTriangles().get(), plainLook.get());
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
