#include "GameTest.h"
#include "M3GFrame.h"
#include "PngWriter.h"
#include "TempFolder.h"

#include "GameLevel.h"
#include "GameObject.h"
#include "GameStateInit.h"
#include "LevelTiles.h"
#include "LoggedText.h"
#include "MediaPath.h"
#include "ProgramGlobals.h"

#include "hal/File.h"
#include "hal/HALException.h"
#include "hal/System.h"
#include "render/Image2D.h"

#include "wince/SoundTestApi.h"

#include <ode/ode.h>

#include <fstream>
#include <string>
#include <vector>

using game::GameObject;

namespace {

constexpr int kTile = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;
constexpr int kWalkerFlags = GameObject::OBJ_LETHAL | GameObject::OBJ_PULSE | GameObject::OBJ_CREATURE;
constexpr int kBarrierFlags = GameObject::OBJ_LETHAL | kTile;

// Rows of tile codes, top row first; every row as long as the first.
using TileRows = std::vector<std::vector<int>>;

TileRows emptyRows(int width, int height)
{
    return TileRows(static_cast<std::size_t>(height), std::vector<int>(static_cast<std::size_t>(width), 0));
}

class GameLevelTest : public gametest::GameTest, protected testsupport::TempFolder {
protected:
    game::GameLevel& level() { return *globals().m_level; }
    // The rows as a level image (a PNG whose red bytes are the codes, green
    // and blue 7 and 9, alpha 255 when asked for), loaded into the level.
    testsupport::Outcome load(const TileRows& rows, bool withAlpha = false)
    {
        testsupport::PngImage image;
        image.height = static_cast<int>(rows.size());
        image.width = static_cast<int>(rows.front().size());
        image.colorType = withAlpha ? 6 : 2; // PNG_COLOR_TYPE_RGB_ALPHA, PNG_COLOR_TYPE_RGB
        for (const std::vector<int>& row : rows) {
            for (const int code : row) {
                image.rows.insert(image.rows.end(), {static_cast<unsigned char>(code), 7, 9});
                if (withAlpha)
                    image.rows.push_back(255);
            }
        }
        const testsupport::Bytes file = testsupport::writePng(image);
        std::ofstream(at("level.png"), std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        return testsupport::outcomeOf([&] { level().load(core::String(at("level.png").c_str()), "TEST"); });
    }
    GameObject& object(int index) { return *globals().m_objects[index]; }
    int objectCount() { return globals().m_objects.m_size; }
    // The first tile of the type.
    GameObject& tile(int type)
    {
        for (int i = game::GameGlobals::kFirstTileSlot; i < objectCount(); ++i)
            if (object(i).m_type == type)
                return object(i);
        ADD_FAILURE() << "no tile of type " << type;
        return player();
    }
};

// The bare assertion after the level's own error line.
const testsupport::Outcome kRefused = testsupport::refused("Vornic3D exception");

// A level of 20 empty rows: the four fixed objects, the camera at (0, 0) on
// the 240 x 400 screen, the player at (0, 0).
class GameLevelUpdateTest : public GameLevelTest {
protected:
    void SetUp() override
    {
        GameLevelTest::SetUp();
        load(emptyRows(1, 20));
        level().reset();
    }
    // A tile of the level at (x, y), inactive as loaded tiles start.
    GameObject& addTile(int type, int flags, float x, float y, int width = 32, int height = 32)
    {
        core::Ref<GameObject> o = level().createGameObject(type, 0, 0, flags, width, height);
        globals().m_objects.pushBack(o);
        o->setPosition(x, y, 0.0f);
        return *o;
    }
    // One drawn frame: the two updates of which the second works.
    void frame(int ms = 10)
    {
        level().update(ms);
        level().update(ms);
    }
};

} // namespace

// ---- tile rules ---------------------------------------------------------------------

TEST(LevelTiles, NeighbourRulesPickThePictureOrTheTurn)
{
    // Codes left, right, above and below; 0 is empty or outside the image.
    const struct {
        const char* what;
        int l, r, u, d;
        int x, y;
    } blocks[] = {
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

    const struct {
        int l, r;
        int x, y;
    } platforms[] = {
        {3, 3, 192, 144}, {0, 0, 192, 160}, {3, 0, 0, 32}, {0, 3, 0, 32}, {1, 1, 192, 160},
    };
    for (const auto& c : platforms) {
        SCOPED_TRACE(c.l * 10 + c.r);
        const game::TileKind::Cell cell = game::thinPlatformPicture(c.l, c.r);
        EXPECT_EQ(cell.x * 1000 + cell.y, c.x * 1000 + c.y);
        EXPECT_EQ(cell.width * 100 + cell.height, 3216);
    }

    // Barriers beside barriers turn: the RGB and RGBA levels below.
    EXPECT_EQ(game::barrierFlags(0, 0), kBarrierFlags);
    EXPECT_EQ(game::barrierFlags(1, 1), kBarrierFlags);
}

// ---- loading ------------------------------------------------------------------------

TEST_F(GameLevelTest, AnEmptyImageGivesTheFourFixedObjectsAndNoStars)
{
    load(emptyRows(3, 2));
    ASSERT_EQ(objectCount(), 4);
    const int types[] = {GameObject::TYPE_PLAYER, GameObject::TYPE_ARROW, GameObject::TYPE_HUD_BAND,
                         GameObject::TYPE_MARKER};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(object(i).m_type, types[i]) << i;
        EXPECT_TRUE(object(i).m_active) << i;
    }
    const slmath::vec3 aside = player().getPosition();
    EXPECT_EQ(aside.x + aside.y + aside.z, -3000.0f);
    EXPECT_EQ(level().m_starsLeft + level().m_starsTotal + level().m_keys, 0);

    // Without a start tile the player starts at the origin.
    level().reset();
    const slmath::vec3 start = player().getPosition();
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
    const struct {
        int type;
        float x, y;
        float sine;
    } cases[] = {
        {GameObject::TYPE_SPINNING_BAR, 64, -116, 0}, {GameObject::TYPE_DOOR, 32, -144, 0},
        {GameObject::TYPE_LEDGE, 16, 0, 0},           {GameObject::TYPE_MOVING_BAR, 128, -32, 1},
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
    EXPECT_EQ(player().getPosition().x, 32.0f) << "the player is moved to each start at once";
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
        const struct {
            int index;
            int type;
            float cropX, cropY;
            int flags;
        } cases[] = {
            {5, GameObject::TYPE_BARRIER, 129, 225, kBarrierFlags | GameObject::OBJ_TURN_90},
            {6, GameObject::TYPE_BARRIER, 129, 225, kBarrierFlags | GameObject::OBJ_TURN_90},
            {7, GameObject::TYPE_BLOCK, 65, 1, kTile},    // row end
            {9, GameObject::TYPE_BLOCK, 193, 289, kTile}, // row middle
            {10, GameObject::TYPE_THIN_PLATFORM, 385, 289, kTile},
            {8, GameObject::TYPE_THIN_PLATFORM, 1, 65, kTile},
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
    EXPECT_EQ(testsupport::outcomeOf([&] { level().load(core::String(at("text.png").c_str()), "X"); }), kRefused);
    EXPECT_EQ(level().getImage(), nullptr);
    EXPECT_EQ(objectCount(), 0);

    // A file that is not there is no bad image: it is said so, and the file
    // layer's failure, which names it, goes on. A deep path shows its end,
    // which names the file.
    const std::string deep = at(std::string(150, 'd') + "/missing.png");
    const struct {
        std::string path;
        std::string shown;
    } cases[] = {
        {at("missing.png"), at("missing.png")},
        {deep, deep.substr(deep.size() - game::kLoggedPathLength)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        clearLog();
        EXPECT_EQ(testsupport::messageOf<HAL::HALException>([&] { level().load(core::String(c.path.c_str()), "X"); }),
                  "GeneralFile: can not open the file");
        EXPECT_EQ(level().getImage(), nullptr);
        EXPECT_NE(log().find("| GameLevel: can not open the level image " + c.shown + ": No such file or directory\n"),
                  std::string::npos)
            << log();
        EXPECT_EQ(log().find("is not a level image"), std::string::npos);
    }
}

TEST_F(GameLevelTest, AFileWithoutAnyObjectHoldsNoImageAndAsMediaIsRefusedByName)
{
    const testsupport::Bytes empty = testsupport::m3gFile(testsupport::M3GHeader(), {});
    put("empty.m3g", std::string(empty.begin(), empty.end()));
    EXPECT_EQ(game::loadFirstImage(core::String(at("empty.m3g").c_str())), nullptr);

    // The name climbs from the media folder to the root, then down to the file.
    const std::string media = std::string(HAL::File::getWorkingDirectory().c_str()) + "media/";
    std::string climb;
    for (const char c : media)
        climb += c == '/' ? "../" : "";
    const std::string name = climb + at("empty.m3g").substr(1);
    EXPECT_EQ(testsupport::outcomeOf([&] { game::loadMediaImage(name.c_str()); }), kRefused);
    EXPECT_NE(log().find(name + " holds no image\n"), std::string::npos) << log();
}

// As a level, a file of no object fails the list's index check, which logs
// nothing; a first object that is no image is an empty image, which logs
// "NULL pointer". Either way the level's own line names the file.
TEST_F(GameLevelTest, ALevelFileWithoutAnImageIsRefusedAfterTheCheckThatFailed)
{
    const struct {
        const char* name;
        testsupport::Bytes file;
        int nullPointerLines;
    } cases[] = {
        {"none.m3g", testsupport::m3gFile(testsupport::M3GHeader(), {}), 0},
        {"group.m3g", testsupport::m3gFile(testsupport::groupObject()), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put(c.name, std::string(c.file.begin(), c.file.end()));
        clearLog();
        EXPECT_EQ(testsupport::outcomeOf([&] { level().load(core::String(at(c.name).c_str()), "X"); }), kRefused);
        EXPECT_EQ(level().getImage(), nullptr);
        EXPECT_EQ(testsupport::countOf(log(), "| NULL pointer"), c.nullPointerLines) << log();
        EXPECT_NE(log().find("GameLevel: " + at(c.name) + " is not a level image"), std::string::npos) << log();
    }
}

TEST_F(GameLevelTest, AnUnknownCodeFailsAfterTheTilesBeforeIt)
{
    EXPECT_EQ(load({{1, 0}, {29, 1}}), kRefused);
    EXPECT_EQ(objectCount(), 5) << "the block above it was made";
    EXPECT_NE(log().find("unknown tile code 29"), std::string::npos);
}

TEST_F(GameLevelTest, EveryLevelOfTheTableLoadsWithAStartAndStars)
{
    game::GameStateInit::fillLevelTable();
    for (const game::LevelInfo& row : globals().m_levels) {
        SCOPED_TRACE(row.fileName);
        globals().m_level = VORNIC3D_NEW game::GameLevel(0);
        level().load(game::mediaPath(row.fileName), row.displayName);
        EXPECT_GT(level().m_starsTotal, 0);
        EXPECT_EQ(player().getPosition().x * 1000 + player().getPosition().y,
                  level().getStartPosition().x * 1000 + level().getStartPosition().y);
    }
}

// ---- level update ------------------------------------------------------------------

TEST_F(GameLevelUpdateTest, TilesTakePartOnlyNearTheView)
{
    const struct {
        const char* what;
        int type;
        float x, y;
        bool active;
    } cases[] = {
        {"left, inside the margin", GameObject::TYPE_BLOCK, -100, 0, true},
        {"left, beyond the margin", GameObject::TYPE_BLOCK, -140, 0, false},
        {"centre below the bottom", GameObject::TYPE_BLOCK, 0, -33, false},
        {"near the top", GameObject::TYPE_BLOCK, 0, 399, true},
        {"beyond the top", GameObject::TYPE_BLOCK, 0, 400, false},
        {"right, inside the margin", GameObject::TYPE_BLOCK, 335, 0, true},
        {"walker on screen", GameObject::TYPE_WALKER, 10, 50, true},
        {"walker in the top band", GameObject::TYPE_WALKER, 0, 336, false},
    };
    std::vector<GameObject*> tiles;
    for (const auto& c : cases)
        tiles.push_back(&addTile(c.type, c.type == GameObject::TYPE_WALKER ? kWalkerFlags : kTile, c.x, c.y));
    frame();
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(tiles[i]->m_active, cases[i].active);
    }
    // A walker out of its view turns on every working call.
    GameObject& walker = *tiles.back();
    const bool before = walker.m_reversed;
    frame();
    EXPECT_NE(walker.m_reversed, before);
    frame();
    EXPECT_EQ(walker.m_reversed, before);
}

TEST_F(GameLevelUpdateTest, BelowTheFallLineThePlayerDiesAndTilesDropOut)
{
    // 20 rows: the line lies at (-10 - 20) x 32 = -960.
    GameObject& deep = addTile(GameObject::TYPE_BLOCK, kTile, 0, -970);
    deep.setActive(true);
    GameObject& player = *globals().m_objects[game::GameGlobals::kPlayerSlot];
    player.setPosition(0, -959, 0);
    frame();
    EXPECT_TRUE(player.m_active);
    EXPECT_FALSE(deep.m_active);
    player.setPosition(0, -961, 0);
    frame();
    EXPECT_FALSE(player.m_active);
}

TEST_F(GameLevelUpdateTest, StarsAndKeysArePickedUpWithinTwentyUnitsAndTheLastStarIsSilent)
{
    GameObject& near = addTile(GameObject::TYPE_STAR, GameObject::OBJ_NO_PHYSICS, 19.9f, 0);
    GameObject& far = addTile(GameObject::TYPE_STAR, GameObject::OBJ_NO_PHYSICS, 0, 20);
    level().m_starsLeft = level().m_starsTotal = 2;
    frame();
    EXPECT_EQ(near.m_vanishCountdown, 20);
    EXPECT_EQ(far.m_vanishCountdown, 0);
    EXPECT_EQ(level().m_starsLeft, 1);
    EXPECT_NE(wince::test::soundPlaying().find("/media/SCORE.wav"), std::string::npos);
    frame(); // a vanishing star is not counted twice
    EXPECT_EQ(level().m_starsLeft, 1);

    HAL::stopSound();
    far.setPosition(0, 19.5f, 0);
    frame();
    EXPECT_EQ(level().m_starsLeft, 0);
    EXPECT_EQ(wince::test::soundPlaying(), "") << "the completion sound is the run state's";

    GameObject& key = addTile(GameObject::TYPE_KEY, GameObject::OBJ_NO_PHYSICS | GameObject::OBJ_WOBBLE, 5, 5);
    frame();
    EXPECT_EQ(level().m_keys, 1);
    EXPECT_EQ(key.m_vanishCountdown, 20);
    EXPECT_NE(wince::test::soundPlaying().find("/media/SCORE.wav"), std::string::npos);
}

TEST_F(GameLevelUpdateTest, TimedPlatformsShareTheFourSecondCycle)
{
    GameObject& early = addTile(GameObject::TYPE_EARLY_PLATFORM, kTile, 64, 0, 64, 32);
    GameObject& late = addTile(GameObject::TYPE_LATE_PLATFORM, kTile, 160, 0, 64, 32);
    const struct {
        int clockBefore;
        int ms;
        bool early;
        bool late;
        int clockAfter;
    } cases[] = {
        {1990, 10, true, false, 2000},
        {2000, 1, false, true, 2001},
        // The first platform takes the 4000 off, so the second already sees
        // the new cycle's first half and the early one is not back yet.
        {3999, 2, false, false, 1},
        {1, 10, true, false, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clockBefore + c.ms);
        game::g_levelClock = c.clockBefore;
        frame(c.ms);
        EXPECT_EQ(early.m_active, c.early);
        EXPECT_EQ(late.m_active, c.late);
        EXPECT_EQ(game::g_levelClock, c.clockAfter);
    }
    level().update(10);
    EXPECT_EQ(game::g_levelClock, 11) << "the first of a frame's two calls does no work";
}

TEST_F(GameLevelUpdateTest, BeamsSlideAndThePusherAndScrollingBeamAnimate)
{
    GameObject& sliding = addTile(GameObject::TYPE_SLIDING_BEAM, kTile | GameObject::OBJ_LETHAL, 100, -100, 32, 64);
    GameObject& rising = addTile(GameObject::TYPE_RISING_BEAM, kTile | GameObject::OBJ_LETHAL, 5000, 0, 32, 64);
    GameObject& pusher = addTile(GameObject::TYPE_PUSHER, kTile, 64, 64, 32, 8);
    for (int call = 1; call <= 31; ++call)
        frame();
    EXPECT_EQ(sliding.getPosition().x, 162.0f);
    EXPECT_EQ(rising.getPosition().y, 62.0f) << "out of view too";
    frame();
    EXPECT_EQ(sliding.getPosition().x, 100.0f) << "back where it began after 32";
    // 32 working calls: the frame index is 32 mod 3 = 2.
    EXPECT_EQ(pusher.getCrop().y, 97.0f);
    frame();
    EXPECT_EQ(pusher.getCrop().y, 65.0f);
    EXPECT_EQ(pusher.getSize().y, 8.0f);

    GameObject& scrolling = addTile(GameObject::TYPE_SCROLLING_BEAM, kTile, 0, 64);
    // 0.01 x 157 is near a quarter turn: the picture's lowest row.
    game::g_levelClock = 157;
    frame(0);
    EXPECT_EQ(scrolling.getCrop().x * 1000 + scrolling.getCrop().y, 1000 + 257);
    game::g_levelClock = 471 - 1; // near three quarters: its highest
    frame(1);
    EXPECT_EQ(scrolling.getCrop().y, 225.0f);
}

TEST_F(GameLevelUpdateTest, BarriersAreOffForThreeSecondsThenFlickerForThree)
{
    GameObject& barrier = addTile(GameObject::TYPE_BARRIER, kBarrierFlags, 64, 64);
    std::string seen;
    for (int i = 0; i < 6; ++i) {
        frame(1000);
        seen += !barrier.m_active ? '-' : (barrier.m_flags & GameObject::OBJ_TURN_180) != 0 ? 'T' : 'o';
    }
    // On from the fourth second, turned on every second working call.
    EXPECT_EQ(seen, "---ToT");
}

TEST_F(GameLevelUpdateTest, TheLiftPushesThePlayerUpWithinReach)
{
    addTile(GameObject::TYPE_LIFT, GameObject::OBJ_NO_PHYSICS, 0, 10);
    GameObject& player = *globals().m_objects[game::GameGlobals::kPlayerSlot];
    player.setActive(true);
    frame();
    // A force of ten times the push for the next solver step; 25 units away
    // nothing more.
    EXPECT_NEAR(dBodyGetForce(player.m_body)[1], 50.0, 1e-9);
    player.setPosition(0, -15, 0);
    frame();
    EXPECT_NEAR(dBodyGetForce(player.m_body)[1], 50.0, 1e-9);
}

// Better and equal times: the run state's endings.
TEST_F(GameLevelUpdateTest, EndKeepsTheBestOverAWorseTimeAndChecksItsRow)
{
    globals().m_levels[0].bestTime = 4999;
    EXPECT_FALSE(level().end(6000));
    EXPECT_EQ(globals().m_levels[0].bestTime, 4999);
    EXPECT_TRUE(globals().m_levels[0].completed);
    globals().m_level = VORNIC3D_NEW game::GameLevel(13);
    EXPECT_EQ(testsupport::outcomeOf([&] { level().end(1); }), testsupport::bare());
}
