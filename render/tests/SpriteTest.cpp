#include "BatchMeshes.h"
#include "SceneGraphTest.h"
#include "TestTexture2D.h"

#include "render/Appearance.h"
#include "render/Image2D.h"
#include "render/Mesh.h"
#include "render/Sprite3D.h"
#include "render/TriangleListArray.h"
#include "render/VertexBuffer.h"

#include <vector>

using render::Image2D;
using render::Mesh;
using render::Sprite3D;
using render::Transform;
using render::VertexArray;
using namespace testsupport;

namespace {

class SpriteTest : public SceneGraphTest {
protected:
    core::Ref<Image2D> image(int width, int height) { return VORNIC3D_NEW Image2D(Image2D::RGBA, width, height); }
    core::Ref<Sprite3D> sprite(Image2D* image)
    {
        core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
        return VORNIC3D_NEW Sprite3D(false, image, appearance.get());
    }
};

// A quarter turn about z, exactly, then a shift along x.
Transform quarterTurnShiftedBy(float x)
{
    const float rows[16] = {0, -1, 0, x, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    Transform turn;
    turn.set(rows);
    return turn;
}

} // namespace

// ---- crop -------------------------------------------------------------

TEST_F(SpriteTest, CropIsBoundedByTheRenderer)
{
    core::Ref<Image2D> picture = image(8, 8);
    core::Ref<Sprite3D> s = sprite(picture.get());
    const struct {
        int x, y, width, height;
        bool accepted;
    } cases[] = {
        {1000, 0, 24, 10, true},      {1000, 0, 25, 10, false},          {0, 1000, 10, 25, false},
        {0x7FFFFFFF, 0, 1, 1, false}, {-0x7FFFFFFF, -5, -5, 1029, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << ", " << c.width << ", " << c.height);
        EXPECT_EQ(outcomeOf([&] { s->setCrop(c.x, c.y, c.width, c.height); }),
                  c.accepted ? accepted() : refused("Sprite3D setCrop failed. width or height parameter is too big"));
    }
    EXPECT_EQ(s->getCropWidth(), -5);
    renderer().properties().maxSpriteCropDimension = 16;
    EXPECT_EQ(outcomeOf([&] { s->setCrop(0, 0, 17, 1); }).message,
              "Sprite3D setCrop failed. width or height parameter is too big");

    // Refused images change nothing.
    core::Ref<Image2D> huge = image(17, 1);
    EXPECT_EQ(outcomeOf([&] { s->setImage(nullptr); }), refused("Sprite3D setImage failed. image parameter is 0"));
    EXPECT_EQ(outcomeOf([&] { s->setImage(huge.get()); }),
              refused("Sprite3D setCrop failed. width or height parameter is too big"));
    EXPECT_EQ(s->getImage(), picture.get());
    EXPECT_EQ(outcomeOf([&] { core::Ref<Sprite3D> none = VORNIC3D_NEW Sprite3D(true, nullptr, nullptr); }),
              refused("Sprite3D constructor failed. image parameter is 0"));
}

// ---- batching --------------------------------------------------------------------------------

TEST_F(SpriteTest, QuadsFollowTheImageCropAndSpriteTransform)
{
    core::Ref<Image2D> wide = image(64, 32);
    core::Ref<Sprite3D> s = sprite(wide.get());
    core::Ref<Mesh> mesh = batchMesh(2, 2);

    EXPECT_EQ(s->renderSprite3DToMesh(mesh.get(), 0, translation(1, 2, 3)), 6);
    EXPECT_EQ(positionsOf(*mesh, 0, 4), (Shorts{15, 17, 30, 5, 17, 30, 5, 22, 30, 15, 22, 30}));
    EXPECT_EQ(texelsOf(*mesh, 0, 4), (Shorts{64, 64, 0, 64, 0, 0, 64, 0}));
    EXPECT_EQ(indicesOf(*mesh, 0, 6), (Indices{0, 3, 1, 2, 1, 3}));
    EXPECT_EQ(scalesOf(*mesh), (std::vector<float>{0.1f, 0, 0, 0, 1.0f / 64, 0, 0, 0}));

    // The sprite transform turns the corners about the centre; its shift is
    // one fixed-point unit.
    const Transform turn = quarterTurnShiftedBy(1);
    s->setSpriteTransform(&turn);
    s->renderSprite3DToMesh(mesh.get(), 0, translation(1, 2, 3));
    EXPECT_EQ(positionsOf(*mesh, 0, 4), (Shorts{14, 25, 30, 14, 15, 30, 9, 15, 30, 9, 25, 30}));
    s->setSpriteTransform(nullptr);

    // The second quad follows the first; a crop reaching past the image is
    // placed by its own size but sized and textured by the part inside.
    s->setCrop(32, 16, 64, 64);
    Transform doubleWidth = translation(2, 0, 0);
    doubleWidth.postScale(2, 1, 1);
    EXPECT_EQ(s->renderSprite3DToMesh(mesh.get(), 6, doubleWidth), 12);
    EXPECT_EQ(positionsOf(*mesh, 4, 4), (Shorts{20, 3, 0, 10, 3, 0, 10, 5, 0, 20, 5, 0}));
    EXPECT_EQ(texelsOf(*mesh, 4, 4), (Shorts{64, 64, 32, 64, 32, 32, 64, 32}));
    EXPECT_EQ(indicesOf(*mesh, 6, 6), (Indices{4, 7, 5, 6, 5, 7}));

    // A new image brings a new texture, its own crop, aspect and texel
    // scale; the old image is let go.
    core::Ref<Image2D> square = image(32, 32);
    s->setImage(square.get());
    EXPECT_EQ(static_cast<TestTexture2D*>(s->getTexture())->getSetImageCount(), 1);
    EXPECT_EQ(wide->getRefCount(), 1);
    s->renderSprite3DToMesh(mesh.get(), 0, translation(1, 2, 3));
    EXPECT_EQ(positionsOf(*mesh, 0, 4), (Shorts{15, 15, 30, 5, 15, 30, 5, 25, 30, 15, 25, 30}));
    EXPECT_EQ(texelsOf(*mesh, 0, 4), (Shorts{32, 32, 0, 32, 0, 0, 32, 0}));
    EXPECT_EQ(scalesOf(*mesh)[4], 1.0f / 32);
}

// Each edge is the centre or the edge before it plus a term truncated on
// its own: a term's fraction is dropped toward zero whatever the sign of the
// sum. A 64 x 32 image, full crop: half a unit of width is 2.5 units.
TEST_F(SpriteTest, EachEdgeAddsItsTermTruncated)
{
    core::Ref<Image2D> wide = image(64, 32);
    core::Ref<Sprite3D> s = sprite(wide.get());
    core::Ref<Mesh> mesh = batchMesh(1, 1);
    const auto scaled = [](float x, float y, float sx, float sy) {
        Transform t = translation(x, y, 3);
        t.postScale(sx, sy, 1);
        return t;
    };
    const struct {
        const char* name;
        Transform transform;
        short left, top, right, bottom;
    } cases[] = {
        {"whole terms", scaled(1, 2, 1, 1), 5, 22, 15, 17},
        {"half width", scaled(1, 2, 0.5f, 1), 8, 22, 13, 17},
        {"below the axis", scaled(1, -2, 1, 1), 5, -18, 15, -23},
        {"left of the axis, half width", scaled(-1, 2, 0.5f, 1), -12, 22, -7, 17},
        {"mirrored", scaled(1, 2, -0.5f, -1), 12, 18, 7, 23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(s->renderSprite3DToMesh(mesh.get(), 0, c.transform), 6);
        EXPECT_EQ(positionsOf(*mesh, 0, 4),
                  (Shorts{c.right, c.bottom, 30, c.left, c.bottom, 30, c.left, c.top, 30, c.right, c.top, 30}));
    }
}

// Vertices are counted against vertices, indices against indices.
TEST_F(SpriteTest, BufferTakesTheQuadsItsSizeSays)
{
    core::Ref<Image2D> picture = image(8, 8);
    core::Ref<Sprite3D> s = sprite(picture.get());
    const struct {
        const char* name;
        int vertexQuads, indexQuads, placed;
    } cases[] = {
        {"vertices for 2", 2, 3, 2},
        {"indices for 2", 3, 2, 2},
        {"room for 1", 1, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Ref<Mesh> mesh = batchMesh(c.vertexQuads, c.indexQuads);
        int count = 0;
        for (int i = 0; i < c.placed; ++i)
            count = s->renderSprite3DToMesh(mesh.get(), count, translation(0, 0, 0));
        EXPECT_EQ(count, 6 * c.placed);
        const std::vector<float> before = snapshot(*mesh);
        EXPECT_EQ(s->renderSprite3DToMesh(mesh.get(), count, translation(0, 0, 0)), count);
        EXPECT_EQ(snapshot(*mesh), before);
    }
}

TEST_F(SpriteTest, PositionsOutOfRangeAreRefusedBeforeAnythingIsWritten)
{
    core::Ref<Image2D> wide = image(64, 32);
    core::Ref<Sprite3D> s = sprite(wide.get());
    core::Ref<Mesh> mesh = batchMesh(1, 1);
    const Transform far = quarterTurnShiftedBy(40000);
    const struct {
        const char* name;
        Transform transform;
        const Transform* spriteTransform;
        const char* message;
    } cases[] = {
        {"x", translation(3300, 0, 0), nullptr, "Sprite3D rendering failed because x-position is invalid"},
        {"x beyond any integer", translation(1e9f, 0, 0), nullptr,
         "Sprite3D rendering failed because x-position is invalid"},
        {"y", translation(0, -3300, 0), nullptr, "Sprite3D rendering failed because y-position is invalid"},
        {"z", translation(0, 0, 3280), nullptr, "Sprite3D rendering failed because z-position is invalid"},
        {"right edge", translation(3276.25f, 0, 0), nullptr,
         "Sprite3D rendering failed because x+width-position is invalid"},
        {"bottom edge", translation(0, -3276.625f, 0), nullptr,
         "Sprite3D rendering failed because y+height-position is invalid"},
        {"turned far out", translation(0, 0, 0), &far, "Sprite3D rendering failed because x-position is invalid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s->setSpriteTransform(c.spriteTransform);
        const std::vector<float> before = snapshot(*mesh);
        EXPECT_EQ(outcomeOf([&] { s->renderSprite3DToMesh(mesh.get(), 0, c.transform); }), refused(c.message));
        EXPECT_EQ(snapshot(*mesh), before);
    }
    s->setSpriteTransform(nullptr);
    EXPECT_EQ(s->renderSprite3DToMesh(mesh.get(), 0, translation(3276.125f, -3276.4375f, -3276.75f)), 6);
    EXPECT_EQ(positionsOf(*mesh, 0, 4),
              (Shorts{32766, -32767, -32767, 32756, -32767, -32767, 32756, -32762, -32767, 32766, -32762, -32767}));

    core::Ref<Sprite3D> plain = VORNIC3D_NEW Sprite3D(true, wide.get(), nullptr);
    EXPECT_EQ(outcomeOf([&] { plain->renderSprite3DToMesh(mesh.get(), 0, Transform()); }),
              refused("renderSprite3DToMesh failed because appearance is 0"));
    EXPECT_EQ(outcomeOf([&] { s->renderSprite3DToMesh(mesh.get(), 7, Transform()); }), bare());
}
