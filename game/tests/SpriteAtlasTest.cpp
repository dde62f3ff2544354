#include "GameTest.h"

#include "GameLevel.h"
#include "GameObject.h"

#include "render/Image2D.h"

#include <set>
#include <vector>

using game::GameObject;

namespace {

struct Pixel {
    int r, g, b, a;
    bool operator==(const Pixel& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// A sheet whose pixel (x, y) is (x mod 256, y, 77), opaque on a checkerboard.
core::Ref<render::Image2D> makeSheet(int width, int height, int format = render::Image2D::RGBA)
{
    std::vector<unsigned char> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int rgba[] = {x % 256, y, 77, (x + y) % 2 != 0 ? 255 : 0};
            pixels.insert(pixels.end(), rgba, rgba + render::Image2D::getBpp(format));
        }
    }
    return VORNIC3D_NEW render::Image2D(format, width, height, pixels.data());
}

class SpriteAtlasTest : public gametest::GameTest {
protected:
    game::GameLevel& level() { return *globals().m_level; }
    core::Ref<GameObject> make(int cellX, int cellY, int width = 32, int height = 32)
    {
        const int flags = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;
        return level().createGameObject(GameObject::TYPE_BLOCK, cellX, cellY, flags, width, height);
    }
    Pixel atlasPixel(int x, int y)
    {
        const render::Image2D& atlas = *level().getAtlas();
        const unsigned char* p = atlas.getPixels() + 4 * (y * atlas.getWidth() + x);
        return {p[0], p[1], p[2], p[3]};
    }
};

} // namespace

TEST_F(SpriteAtlasTest, CellsLandApartWithTheirShadowsTwiceTheSheetHeightBelow)
{
    core::Ref<render::Image2D> sheet = makeSheet(512, 256);
    level().setSheet(sheet.get());
    core::Ref<GameObject> first = make(32, 0);
    render::Sprite3D* sprite = level().getSprite();
    core::Ref<GameObject> second = make(64, 0);
    core::Ref<GameObject> corner = make(448, 192, 64, 64); // the sheet's far corner
    EXPECT_EQ(level().getSprite(), sprite) << "the objects share the one sprite";
    ASSERT_EQ(level().getAtlas()->getWidth() * 10000 + level().getAtlas()->getHeight(), 1024 * 10000 + 1024);
    EXPECT_EQ(second->getCrop().x * 1000 + second->getCrop().y, 129 * 1000 + 1);
    EXPECT_EQ(corner->getCrop().x * 1000 + corner->getCrop().y, 897 * 1000 + 385);

    const Pixel blank = {255, 255, 255, 0};
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32; ++i) {
            const bool opaque = (64 + i + j) % 2 != 0;
            ASSERT_EQ(atlasPixel(129 + i, 1 + j), (Pixel{64 + i, j, 77, opaque ? 255 : 0})) << i << "," << j;
            const Pixel shadow = atlasPixel(129 + i, 513 + j);
            ASSERT_EQ(shadow.a, opaque ? 85 : 0);
            ASSERT_TRUE(shadow.r == shadow.g && shadow.r < 30 && shadow.b == 3 * shadow.r);
        }
        // The columns between the two cells and the one after stay blank.
        EXPECT_EQ(atlasPixel(97 + j, 1 + j), blank);
        EXPECT_EQ(atlasPixel(161, 1 + j), blank);
        EXPECT_EQ(atlasPixel(161, 513 + j), blank);
    }
    EXPECT_EQ(atlasPixel(129, 0), blank);
    EXPECT_EQ(atlasPixel(129, 33), blank);

    // Every one of the 30 shades turns up in the corner's shadow.
    std::set<int> shades;
    for (int j = 0; j < 64; ++j)
        for (int i = 0; i < 64; ++i)
            shades.insert(atlasPixel(897 + i, 897 + j).r);
    EXPECT_EQ(shades.size(), 30u);
}

TEST_F(SpriteAtlasTest, ASheetOfAnotherShapeIsRefused)
{
    const struct {
        const char* what;
        int width, height, format;
        bool accepted;
    } cases[] = {
        {"256 x 256", 256, 256, render::Image2D::RGBA, true},
        {"512 x 256", 512, 256, render::Image2D::RGBA, true},
        // Its atlas, 2048 x 1024 RGBA, takes the whole 8 MiB pool.
        {"1024 x 256", 1024, 256, render::Image2D::RGBA, false},
        {"too low", 256, 128, render::Image2D::RGBA, false},
        {"too high", 256, 512, render::Image2D::RGBA, false},
        {"too narrow", 128, 256, render::Image2D::RGBA, false},
        {"not a power of two", 384, 256, render::Image2D::RGBA, false},
        {"without alpha", 256, 256, render::Image2D::RGB, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        globals().m_level = VORNIC3D_NEW game::GameLevel(0);
        core::Ref<render::Image2D> sheet = makeSheet(c.width, c.height, c.format);
        const testsupport::Outcome outcome = testsupport::outcomeOf([&] { level().setSheet(sheet.get()); });
        // The bare assertion after the level's own error line.
        EXPECT_EQ(outcome, c.accepted ? testsupport::accepted() : testsupport::refused("Vornic3D exception"));
    }
    EXPECT_NE(log().find("its atlas of 2048 x 1024 pixels does not fit in the memory pool"), std::string::npos);
}

TEST_F(SpriteAtlasTest, ACellOutsideTheSheetIsRefused)
{
    core::Ref<render::Image2D> sheet = makeSheet(256, 256);
    level().setSheet(sheet.get());
    const struct {
        int x, y, width, height;
    } cells[] = {
        {240, 0, 32, 32}, {0, 250, 32, 8}, {-1, 0, 32, 32}, {0, -2, 32, 32}, {0, 0, 0, 32},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.x * 1000 + c.y);
        EXPECT_EQ(testsupport::outcomeOf([&] { make(c.x, c.y, c.width, c.height); }), testsupport::bare());
    }
    EXPECT_EQ(testsupport::outcomeOf([&] { make(224, 224); }), testsupport::accepted());
    EXPECT_EQ(testsupport::outcomeOf([&] { level().setSheet(sheet.get()); }), testsupport::bare())
        << "a sheet only before the first object";
}
