#include "GameTest.h"
#include "LevelImages.h"
#include "TempFolder.h"

#include "GameLevel.h"
#include "GameObject.h"
#include "GameStateInit.h"
#include "LevelTiles.h"
#include "MediaPath.h"

#include "render/Image2D.h"

#include <ode/ode.h>

#include <string>
#include <vector>

using game::GameObject;
using gametest::TileRows;

namespace {

class GameLevelTest : public gametest::GameTest, protected testsupport::TempFolder {
protected:
    game::GameLevel& level() { return *globals().m_level; }
    testsupport::Outcome load(const TileRows& rows, bool withAlpha = false)
    {
        gametest::writeLevelImage(at("level.png"), rows, withAlpha);
        return testsupport::outcomeOf([&] { level().load(core::String(at("level.png").c_str()), "TEST"); });
    }
    GameObject& object(int index) { return *globals().m_objects[index]; }
    int objectCount() { return globals().m_objects.m_size; }
    // The first tile of the type.
    GameObject& tile(int type)
    {
        for (int i = 4; i < objectCount(); ++i)
            if (object(i).m_type == type)
                return object(i);
        ADD_FAILURE() << "no tile of type " << type;
        return object(0);
    }
};

// The bare assertion after the level's own error line.
const testsupport::Outcome kRefused = testsupport::refused("Vornic3D exception");

TileRows emptyRows(int width, int height)
{
    return TileRows(static_cast<std::size_t>(height), std::vector<int>(static_cast<std::size_t>(width), 0));
}

} // namespace

// ---- tile rules ---------------------------------------------------------------------

TEST(LevelTiles, NeighbourRulesPickThePictureOrTheTurn)
{
    // Codes left, right, above and below; 0 is empty or outside the image.
    const struct { const char* what; int l, r, u, d; int x, y; } blocks[] = {
        {"alone", 0, 0, 0, 0, 32, 0},
        {"middle of a row", 1, 1, 0, 0, 96, 144},
        {"end of a row", 1, 0, 0, 0, 32, 0},
        {"middle of a column", 0, 0, 1, 1, 128, 144},
        {"middle of a column with sides", 1, 1, 1, 1, 128, 144},
        {"top of a column, no side", 0, 0, 0, 1, 32, 0},
        {"corner: side and below, open above", 0, 1, 0, 1, 160, 144},
        {"corner: side and above, open below", 1, 0, 1, 0, 160, 144},
        {"row end with another code above", 0, 1, 5, 1, 32, 0},
        {"row middle below an open cell", 1, 1, 0, 1, 160, 144},
    };
    for (const auto& c : blocks) {
        SCOPED_TRACE(c.what);
        const game::TileKind::Cell cell = game::blockPicture(c.l, c.r, c.u, c.d);
        EXPECT_EQ(cell.x * 1000 + cell.y, c.x * 1000 + c.y);
        EXPECT_EQ(cell.width * 100 + cell.height, 3232);
    }

    const struct { int l, r; int x, y; } platforms[] = {
        {3, 3, 192, 144}, {0, 0, 192, 160}, {3, 0, 0, 32}, {0, 3, 0, 32}, {1, 1, 192, 160},
    };
    for (const auto& c : platforms) {
        SCOPED_TRACE(c.l * 10 + c.r);
        const game::TileKind::Cell cell = game::thinPlatformPicture(c.l, c.r);
        EXPECT_EQ(cell.x * 1000 + cell.y, c.x * 1000 + c.y);
        EXPECT_EQ(cell.width * 100 + cell.height, 3216);
    }

    EXPECT_EQ(game::barrierFlags(17, 0), 0x1803);
    EXPECT_EQ(game::barrierFlags(0, 17), 0x1803);
    EXPECT_EQ(game::barrierFlags(0, 0), 0x1003);
    EXPECT_EQ(game::barrierFlags(1, 1), 0x1003);
}

// ---- loading ------------------------------------------------------------------------

TEST_F(GameLevelTest, AnEmptyImageGivesTheFourFixedObjectsAndNoStars)
{
    load(emptyRows(3, 2));
    ASSERT_EQ(objectCount(), 4);
    const struct { int type; float cropX, cropY, width, height; } fixed[] = {
        {GameObject::TYPE_PLAYER, 1, 1, 32, 32},
        {GameObject::TYPE_ARROW, 193, 1, 32, 32},
        {GameObject::TYPE_HUD_BAND, 1, 129, 256, 32},
        {GameObject::TYPE_MARKER, 193, 65, 32, 32},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(object(i).m_type, fixed[i].type);
        EXPECT_TRUE(object(i).m_active);
        EXPECT_EQ(object(i).getCrop().x * 1000 + object(i).getCrop().y, fixed[i].cropX * 1000 + fixed[i].cropY);
        EXPECT_EQ(object(i).m_width * 1000 + object(i).m_height, fixed[i].width * 1000 + fixed[i].height);
    }
    EXPECT_EQ(object(0).m_flags, 0x50);
    EXPECT_EQ(object(1).m_flags & GameObject::OBJ_NO_PHYSICS, GameObject::OBJ_NO_PHYSICS);
    const slmath::vec3 aside = object(0).getPosition();
    EXPECT_EQ(aside.x + aside.y + aside.z, -3000.0f);
    EXPECT_EQ(level().m_starsLeft + level().m_starsTotal + level().m_keys, 0);

    // Without a start tile the player starts at the origin.
    level().reset();
    const slmath::vec3 start = object(0).getPosition();
    EXPECT_EQ(start.x * start.x + start.y * start.y + start.z * start.z, 0.0f);
    // The sprite draws from the finished atlas.
    EXPECT_EQ(level().getSprite()->getImage(), level().getAtlas());
}

TEST_F(GameLevelTest, TilesSitAtTheirCellsWithTheirOffsetsAndTurnsAndStartInactive)
{
    TileRows rows = emptyRows(6, 6);
    rows[3][2] = 5;  // spinning bar, 20 lower
    rows[5][1] = 23; // door, 16 higher
    rows[0][0] = 24; // ledge, 16 to the right
    rows[1][4] = 18; // bobbing bar, upright
    rows[2][5] = 21; // long block, turned the other way
    load(rows);
    const struct { int type; float x, y; float sine; } cases[] = {
        {GameObject::TYPE_SPINNING_BAR, 64, -116, 0},
        {GameObject::TYPE_DOOR, 32, -144, 0},
        {GameObject::TYPE_LEDGE, 16, 0, 0},
        {GameObject::TYPE_MOVING_BAR, 128, -32, 1},
        {GameObject::TYPE_LONG_BLOCK, 160, -64, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        GameObject& o = tile(c.type);
        EXPECT_EQ(o.getPosition().x * 1000 + o.getPosition().y, c.x * 1000 + c.y);
        // Row 1, column 0 of the rotation: the sine of the turn.
        EXPECT_NEAR(dGeomGetRotation(o.m_geom)[4], c.sine, 1e-6);
        EXPECT_FALSE(o.m_active);
    }
}

TEST_F(GameLevelTest, TilesComeColumnByColumnAndTheLastStartInThatOrderWins)
{
    load({{16, 2}, {2, 20}});
    ASSERT_EQ(objectCount(), 6);
    EXPECT_EQ(object(4).m_type, GameObject::TYPE_CRATE);
    EXPECT_EQ(object(5).m_type, GameObject::TYPE_LONG_BLOCK);
    EXPECT_EQ(level().getStartPosition().x * 1000 + level().getStartPosition().y, 32000.0f);
    EXPECT_EQ(object(0).getPosition().x, 32.0f) << "the player is moved to each start at once";
}

// The neighbours are read from the image itself, which an RGBA level holds
// in four bytes a pixel.
TEST_F(GameLevelTest, StarsAreCountedAndNeighbourRulesApplyInRgbAndRgbaLevels)
{
    for (const bool withAlpha : {false, true}) {
        SCOPED_TRACE(withAlpha ? "RGBA" : "RGB");
        globals().m_level = VORNIC3D_NEW game::GameLevel(0);
        load({{4, 1, 1, 1, 4}, {17, 3, 3, 3, 0}, {17, 0, 0, 0, 0}}, withAlpha);
        EXPECT_EQ(level().getImage()->getFormat(), withAlpha ? render::Image2D::RGBA : render::Image2D::RGB);
        EXPECT_EQ(level().m_starsLeft * 10 + level().m_starsTotal, 22);
        ASSERT_EQ(objectCount(), 4 + 10);
        // Scan order: column 0 (star, barrier, barrier), column 1 (block,
        // platform), ...
        const struct { int index; int type; float cropX, cropY; int flags; } cases[] = {
            {5, GameObject::TYPE_BARRIER, 129, 225, 0x1803},
            {6, GameObject::TYPE_BARRIER, 129, 225, 0x1803},
            {7, GameObject::TYPE_BLOCK, 65, 1, 0x3},        // row end
            {9, GameObject::TYPE_BLOCK, 193, 289, 0x3},     // row middle
            {10, GameObject::TYPE_THIN_PLATFORM, 385, 289, 0x3},
            {8, GameObject::TYPE_THIN_PLATFORM, 1, 65, 0x3},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.index);
            EXPECT_EQ(object(c.index).m_type, c.type);
            EXPECT_EQ(object(c.index).getCrop().x * 1000 + object(c.index).getCrop().y, c.cropX * 1000 + c.cropY);
            EXPECT_EQ(object(c.index).m_flags, c.flags);
        }
    }
}

TEST_F(GameLevelTest, ImagesOverThirtyTwoPixelsOrUnreadableFilesFailAndKeepNoImage)
{
    EXPECT_EQ(load(emptyRows(32, 32)), testsupport::accepted());
    for (const TileRows& rows : {emptyRows(33, 1), emptyRows(1, 33)}) {
        SCOPED_TRACE(rows.size());
        clearLog();
        EXPECT_EQ(load(rows), kRefused);
        EXPECT_EQ(level().getImage(), nullptr);
        EXPECT_NE(log().find("is not a level image of at most 32 x 32 pixels"), std::string::npos);
    }
    put("text.png", "not an image at all");
    for (const char* name : {"text.png", "missing.png"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(testsupport::outcomeOf([&] { level().load(core::String(at(name).c_str()), "X"); }), kRefused);
        EXPECT_EQ(level().getImage(), nullptr);
        EXPECT_EQ(objectCount(), 0);
    }
}

TEST_F(GameLevelTest, AnUnknownCodeFailsAfterTheTilesBeforeIt)
{
    for (const int code : {29, 255}) {
        SCOPED_TRACE(code);
        clearLog();
        EXPECT_EQ(load({{1, 0}, {code, 1}}), kRefused);
        EXPECT_EQ(objectCount(), 5) << "the block above it was made";
        EXPECT_NE(log().find("unknown tile code " + std::to_string(code)), std::string::npos);
    }
}

TEST_F(GameLevelTest, EveryLevelOfTheTableLoadsWithAStartAndStars)
{
    game::GameStateInit::fillLevelTable();
    for (const game::LevelInfo& row : globals().m_levels) {
        SCOPED_TRACE(row.fileName);
        globals().m_level = VORNIC3D_NEW game::GameLevel(0);
        level().load(game::mediaPath(row.fileName), row.displayName);
        EXPECT_GT(level().m_starsTotal, 0);
        EXPECT_EQ(object(0).getPosition().x * 1000 + object(0).getPosition().y,
                  level().getStartPosition().x * 1000 + level().getStartPosition().y);
    }
}
