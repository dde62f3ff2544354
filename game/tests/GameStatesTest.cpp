#include "GameTest.h"

#include "Game.h"
#include "GameCamera.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "GameStateInit.h"
#include "GameStateMenu.h"
#include "GameStateRun.h"
#include "MediaPath.h"
#include "ProgramGlobals.h"

#include "hal/Input.h"
#include "hal/System.h"
#include "hal/win32/WindowProc.h"
#include "render/Background.h"
#include "render/Font2D.h"
#include "render/Light.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"

#include "wince/Input.h"
#include "wince/Messages.h"
#include "wince/SoundTestApi.h"
#include "wince/TestApi.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using game::Game;

namespace {

// A state without work of its own that counts its entries; "init" passes on
// to "menu" at once, as the game's own does.
class CountingState : public game::GameState {
public:
    CountingState(Game* game, const char* name, int& entries) : GameState(game, name), m_entries(entries) {}

protected:
    int update(int) override { return 1; }
    void init() override { m_name.compareTo("init") == 0 ? changeState("menu") : void(++m_entries); }
    void deinit() override {}
    void render(render::Graphics3D*) override {}

private:
    int& m_entries;
};

// The game's menu or its run state between stand-ins, on globals as the
// set-up leaves them without its files and intro (level 1 with a record of
// 12345 ms), on the 240 x 400 screen; the stylus and the keys come from the
// stand-in's test side.
class StatesTest : public gametest::GameTest {
protected:
    // TearDown has released the game; nothing here can throw.
    ~StatesTest() noexcept override {}

    // The state `real` ("menu" or "run") is the game's own; the other one
    // counts its entries in m_entries.
    void start(const std::string& real)
    {
        // The game makes the globals itself.
        game::GameGlobals::deInitClass();
        m_game = VORNIC3D_NEW Game([&](Game& game) {
            game::GameGlobals& g = globals();
            game::GameOde::createOdeClass();
            g.m_level = VORNIC3D_NEW game::GameLevel(0);
            g.m_camera = VORNIC3D_NEW game::GameCamera(0.0f, game::g_screenHeight, game::g_screenWidth, 0.0f);
            game::GameStateInit::fillLevelTable();
            g.m_levels[0].bestTime = 12345;
            g.m_light = VORNIC3D_NEW render::Light();
            g.m_font = render::Font2D::createNewFont(game::mediaPath("simple_font_file.txt").c_str());
            g.m_font2 = render::Font2D::createNewFont(game::mediaPath("simple_font_file2.txt").c_str());
            g.m_text = VORNIC3D_NEW render::Text2D();
            g.m_text->setFont(g.m_font2.get());
            g.m_keyboard = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_KEYBOARD);
            g.m_mouse = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_MOUSE);
            g.m_sprites.setSize(game::GameGlobals::kSpriteSlots);
            g.m_sprites[game::GameGlobals::kDustSlot] = game::GameStateInit::createSprite("dust.png");
            game.addNewState(VORNIC3D_NEW CountingState(&game, "init", m_entries));
            for (const char* name : {"menu", "run"}) {
                if (real != name)
                    game.addNewState(VORNIC3D_NEW CountingState(&game, name, m_entries));
                else if (real == "menu")
                    game.addNewState(VORNIC3D_NEW game::GameStateMenu(&game, name));
                else
                    game.addNewState(VORNIC3D_NEW game::GameStateRun(&game, name));
            }
        });
    }
    void TearDown() override
    {
        m_game = nullptr;
        WinceTestReset();
        GameTest::TearDown();
    }

    // The stylus over screen pixel (x, y).
    static void stylusAt(int x, int y)
    {
        HAL::windowProc(nullptr, WM_MOUSEMOVE, 0, static_cast<LPARAM>((y << 16) | x));
    }
    // The stylus pressed and lifted at (x, y), one update of 10 ms each; the
    // release's result.
    int tap(int x, int y)
    {
        stylusAt(x, y);
        WinceTestSetKeyState(VK_LBUTTON, true);
        m_game->update(10);
        WinceTestSetKeyState(VK_LBUTTON, false);
        return m_game->update(10);
    }
    // The texts of one frame.
    std::vector<gametest::RecordingGraphics3D::Drawn> drawTexts()
    {
        recorder().m_drawn.clear();
        m_game->render(&renderer());
        std::vector<gametest::RecordingGraphics3D::Drawn> texts;
        for (const auto& drawn : recorder().m_drawn)
            if (!drawn.text.empty())
                texts.push_back(drawn);
        return texts;
    }
    // Updates of at most 50 ms.
    void run(int ms)
    {
        for (; ms > 0; ms -= 50)
            m_game->update(ms < 50 ? ms : 50);
    }

    core::Ref<Game> m_game;
    int m_entries = 0;
};

class MenuAndIntroTest : public StatesTest {
protected:
    void SetUp() override
    {
        StatesTest::SetUp();
        start("menu");
    }
    // The lines drawn now, '|' between them; those drawn with the texts'
    // default appearance (the highlight's) end with '*'.
    std::string screen()
    {
        const core::Ref<render::Text2D> plain = VORNIC3D_NEW render::Text2D();
        std::string lines;
        for (const auto& drawn : drawTexts())
            lines += (lines.empty() ? "" : "|") + drawn.text + (drawn.appearance == plain->getAppearance() ? "*" : "");
        return lines;
    }
    int levelBuilt() { return globals().m_level->m_levelIndex; }
};

class GameStateRunTest : public StatesTest {
protected:
    void SetUp() override
    {
        StatesTest::SetUp();
        start("run");
    }
    // Loads the first level (the player's start on a floor, the stars out of
    // reach) and enters "run".
    void play()
    {
        globals().m_level->load(game::mediaPath("level0.png"), "PRACTICE");
        m_game->changeState("run");
    }
    // The file name of the sound that plays.
    static std::string sound()
    {
        std::string path = wince::test::soundPlaying();
        return path.erase(0, path.find_last_of('/') + 1);
    }
    // The text lines of one frame, each as "text, cell size and place; ", the
    // place counted from the view's lower-left corner.
    std::string draw()
    {
        std::ostringstream lines;
        for (const auto& t : drawTexts())
            lines << t.text << " " << t.sizeX << "x" << t.sizeY << " at "
                  << gametest::elementOf(t.transform, 3) - gametest::elementOf(recorder().m_cameraTransform, 3) << ","
                  << gametest::elementOf(t.transform, 7) - gametest::elementOf(recorder().m_cameraTransform, 7) << "; ";
        return lines.str();
    }
};

// The list with the entry `highlighted` marked, SELECT LEVEL followed by
// the lines of its level, which share its appearance.
std::string list(int highlighted, std::vector<std::string> level = {"1 : PRACTICE", "RECORD : 12.35 SEC"})
{
    std::vector<std::string> lines = {"SELECT LEVEL"};
    lines.insert(lines.end(), level.begin(), level.end());
    lines.insert(lines.end(), {"START GAME", "INFO", "QUIT GAME"});
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool marked = highlighted == 0 ? i <= level.size() : i == level.size() + std::size_t(highlighted);
        text += (i > 0 ? "|" : "") + lines[i] + (marked ? "*" : "");
    }
    return text;
}

// In a fresh process whose tick starts shortly before its 32-bit wrap: an
// intro screen begun 30 ms before the wrap holds its second frame back for
// 50 ms, and no longer.
[[noreturn]] void introScreenAcrossTheWrap()
{
    while (HAL::getTime() > 0x80000000u && HAL::getTime() < 0xFFFFFFE2u) {
    }
    WinceTestSetKeyState(VK_LBUTTON, true);
    const std::uint32_t before = HAL::getTime();
    const int result = game::GameStateInit::showInitText("DORVANEL", nullptr);
    const std::uint32_t ms = HAL::getTime() - before;
    std::_Exit(result == 0 && ms >= 50 && ms < 1000 ? 0 : 1);
}

} // namespace

// ---- menu ------------------------------------------------------------------------

TEST_F(MenuAndIntroTest, ZonesActOnReleaseAndWrapAround)
{
    stylusAt(120, 380);
    WinceTestSetKeyState(VK_LBUTTON, true);
    for (int i = 0; i < 3; ++i)
        m_game->update(10);
    EXPECT_EQ(screen(), list(0)) << "held: nothing yet";
    WinceTestSetKeyState(VK_LBUTTON, false);
    m_game->update(10);
    EXPECT_EQ(screen(), list(1));

    const struct {
        int x, y;
        std::string after;
    } taps[] = {
        {120, 20, list(0)},  {228, 200, list(0, {"2 : UNAVAILABLE"})},
        {12, 200, list(0)},  {14, 200, list(0, {"13 : UNAVAILABLE"})},
        {230, 200, list(0)}, {180, 200, list(0)},
        {120, 300, list(0)}, // exactly on the zones' borders
        {122, 20, list(3)},  {120, 380, list(0)},
        {122, 380, list(1)}, {228, 200, list(1)}, // the sides change the level only on SELECT LEVEL
    };
    for (const auto& t : taps) {
        SCOPED_TRACE(std::to_string(t.x) + "," + std::to_string(t.y));
        EXPECT_EQ(tap(t.x, t.y), 1);
        EXPECT_EQ(screen(), t.after);
    }
}

TEST_F(MenuAndIntroTest, TheCentreStartsAnOpenLevelShowsTheCreditsAndQuits)
{
    tap(228, 200);
    tap(120, 380);
    tap(120, 200);
    for (int i = 0; i < 100; ++i)
        m_game->update(10);
    EXPECT_EQ(m_entries, 0) << "level 2 is locked";

    tap(122, 380);
    tap(122, 200);
    const std::string credits = "PROGRAMMING:*|DORVANEL*|ART:*|DORVANEL*|VERSION:*|1.0*|GAME ENGINE:*|VORNIC3D*";
    EXPECT_EQ(m_game->update(3999), 1);
    EXPECT_EQ(screen(), credits);
    HAL::windowProc(nullptr, WM_KEYDOWN, VK_F3, 0);
    EXPECT_EQ(m_game->update(1), 0) << "the quit key works on every page";
    EXPECT_EQ(m_game->update(1), 1);
    EXPECT_EQ(screen(), list(2, {"2 : UNAVAILABLE"}));
    EXPECT_EQ(tap(120, 380), 1);
    EXPECT_EQ(tap(122, 200), 0);

    globals().m_levels[1].bestTime = 7000;
    tap(120, 380);
    tap(122, 380);
    tap(120, 200);
    int updates = 0;
    for (; m_entries == 0 && updates < 100; ++updates)
        m_game->update(10);
    EXPECT_EQ(updates, 62);
    EXPECT_EQ(levelBuilt(), 1) << "leaving builds the selected level";
}

TEST_F(MenuAndIntroTest, AFinishedLevelSelectsTheNextAndStartsItWhenItWasLocked)
{
    auto finish = [&](int row) {
        globals().m_levels[static_cast<std::size_t>(row)].completed = true;
        m_game->changeState("menu");
    };
    tap(12, 200);
    finish(12);
    EXPECT_EQ(levelBuilt(), 0) << "the last level hands over to the first";
    EXPECT_FALSE(globals().m_levels[12].completed);

    tap(228, 200);
    tap(230, 200);
    finish(2);
    EXPECT_EQ(levelBuilt(), 3);
    EXPECT_EQ(globals().m_levels[3].bestTime, game::LevelInfo::kOpenWithoutTime);
    EXPECT_FALSE(globals().m_levels[2].completed);
    EXPECT_EQ(m_entries, 1) << "a locked next level is opened and started";

    m_game->changeState("menu");
    EXPECT_EQ(levelBuilt(), 3) << "a lost level keeps the selection";
    globals().m_levels[4].bestTime = 5000;
    finish(3);
    EXPECT_EQ(levelBuilt(), 4);
    EXPECT_EQ(m_entries, 1) << "an open next level is only selected";
}

TEST_F(MenuAndIntroTest, TheIntrosSecondFrameWaitsAcrossTheTicksWrap)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Set before the fresh process starts: its tick starts 3 s before the wrap.
    setenv("VORNIC3D_TICK_OFFSET", std::to_string((std::int64_t(1) << 32) - HAL::getTime() - 3000).c_str(), 1);
    EXPECT_EXIT(introScreenAcrossTheWrap(), testing::ExitedWithCode(0), "");
    unsetenv("VORNIC3D_TICK_OFFSET");
}

// ---- run ----------------------------------------------------------------------------

TEST_F(GameStateRunTest, PlayStartsPastThreeSecondsAndTheMenuReturnsThreeSecondsAfterTheEnd)
{
    play();
    game::GameLevel& level = *globals().m_level;
    game::LevelInfo& row = globals().m_levels[0];
    // playMs after GO the last star is taken or the player dies; a starless
    // level ends at GO. `wait` ms later the menu is not back yet, 1 ms more it is.
    const struct {
        int best, stars, playMs;
        bool dies;
        const char *sound, *time;
        bool record;
        int wait;
    } cases[] = {
        {game::LevelInfo::kOpenWithoutTime, 1, 10, true, "GAME_OVER.WAV", "", false, 3000}, // first: no row completed
        {game::LevelInfo::kOpenWithoutTime, 0, 0, false, "LEVEL_COMPLETED.WAV", "TIME : 0.00", true, 2998},
        {0, 0, 0, false, "", "TIME : 0.00", false, 2998}, // sounds off; a time equal to the best
        {5000, 1, 1250, false, "LEVEL_COMPLETED.WAV", "TIME : 1.25", true, 2998},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        HAL::stopSound();
        globals().m_sounds = *c.sound != '\0' ? 1 : 0;
        row.bestTime = c.best;
        level.m_starsLeft = c.stars;
        player().setActive(true);
        m_game->changeState("run");
        run(3000);
        EXPECT_NE(sound(), "GO.WAV");
        m_game->update(1);
        if (c.playMs > 0) {
            run(c.playMs - 1);
            EXPECT_EQ(sound(), "GO.WAV");
            level.m_starsLeft = c.dies ? 1 : 0;
            player().setActive(!c.dies);
            m_game->update(1);
        }
        EXPECT_EQ(sound(), c.sound);
        EXPECT_EQ(row.completed, !c.dies);
        EXPECT_EQ(row.bestTime, c.record ? c.playMs : c.best);
        const std::string lines = draw();
        EXPECT_EQ(lines.find(std::string("COMPLETED 18x64 at 39,104; ") + c.time) != std::string::npos, !c.dies);
        EXPECT_EQ(lines.find("NEW RECORD") != std::string::npos, c.record);
        const int entries = m_entries;
        run(c.wait);
        EXPECT_EQ(m_entries, entries);
        m_game->update(1);
        EXPECT_EQ(m_entries, entries + 1);
    }
}

TEST_F(GameStateRunTest, HudLinesStandAtTheirAnchorsAndALongNameIsCut)
{
    play();
    game::GameLevel& level = *globals().m_level;
    level.m_starsTotal = 5;
    level.m_starsLeft = 2;
    level.m_keys = 12;
    // On the 240 x 400 screen: the keys end at the right edge (240 - 9 x 9),
    // the name is centred, READY bobs 11 up at -3000 ms.
    EXPECT_EQ(draw(), "STARS : 3/5 9x32 at 1,-17; TIME  : 0.00 9x32 at 1,-5; KEYS : 12 9x32 at 159,-17; "
                      "LEVEL : PRACTICE 9x64 at 48,332; READY 18x64 at 75,211; ");
    const std::string name(150, 'N');
    level.m_name = name.c_str();
    EXPECT_NE(draw().find(("LEVEL : " + name).substr(0, 99) + " 9x64"), std::string::npos);
}

TEST_F(GameStateRunTest, OnlyANewStylusReadingSetsTheTargetAndTheBackgroundScrolls)
{
    stylusAt(150, 200);
    play();
    m_game->update(10);
    EXPECT_FALSE(game::g_steerX || game::g_steerY) << "the stylus as the menu left it";

    stylusAt(180, 100);
    m_game->update(10);
    draw();
    const render::Transform view = globals().m_camera->getTransform();
    const slmath::vec3 marker = globals().m_objects[game::GameGlobals::kMarkerSlot]->getPosition();
    EXPECT_FLOAT_EQ(marker.x, gametest::elementOf(view, 3) + 120 + 60);
    EXPECT_FLOAT_EQ(marker.y, gametest::elementOf(view, 7) + 200 + 100);
    // The target lies above and to the right of the player, who is centred.
    EXPECT_GT(dBodyGetLinearVel(player().m_body)[0], 0.0);
    EXPECT_TRUE(player().m_jumpRequest);

    // At a fifth of the player's position, the remainders signed as it is
    // (the player away from the level's tiles).
    const struct {
        float x, y;
        int cropX, cropY;
    } cases[] = {{-1283.7f, 0.0f, 0, 0}, {-1291.0f, 1292.0f, -2, -2}, {1302.0f, -1292.0f, 4, 2}};
    for (const auto& c : cases) {
        player().setPosition(c.x, c.y, 0.0f);
        m_game->update(1);
        const render::Background& b = *globals().m_backgrounds[globals().m_backgroundIndex];
        EXPECT_EQ(std::vector<int>({b.getCropX(), b.getCropY(), b.getCropWidth(), b.getCropHeight()}),
                  std::vector<int>({c.cropX, c.cropY, 240, 400}))
            << c.x;
    }
}

TEST_F(GameStateRunTest, ABallOnPushersIsCarriedLeftWithinASecondOfPlay)
{
    // "LAST CARES": a row of pushers in row 4 from column 2 to 9, each 8
    // high at the middle of its cell.
    globals().m_level->load(game::mediaPath("level3.png"), "LAST CARES");
    m_game->changeState("run");
    run(3000);
    m_game->update(1);
    // Resting on the pusher of column 7 as play begins.
    const float startX = 7 * 32.0f;
    player().setPosition(startX, -4 * 32.0f + 4 + 16, 0.0f);
    dBodySetLinearVel(player().m_body, 0, 0, 0);
    run(1000);
    EXPECT_LT(player().getPosition().x, startX - 32) << "carried left by more than a tile";
    EXPECT_LT(dBodyGetLinearVel(player().m_body)[0], 0.0);
}
