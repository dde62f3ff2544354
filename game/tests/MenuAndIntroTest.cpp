#include "GameTest.h"

#include "Game.h"
#include "GameCamera.h"
#include "GameLevel.h"
#include "GameOde.h"
#include "GameStateInit.h"
#include "GameStateMenu.h"
#include "Screen.h"

#include "Input.h"
#include "System.h"
#include "render/Font2D.h"
#include "render/Light.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "win32/WindowProc.h"

#include <wince/Input.h>
#include <wince/Messages.h>
#include <wince/TestApi.h>

#include <cstdlib>
#include <string>
#include <vector>

using game::Game;

namespace {

// Cells of the large media font's size, for tests that need only sizes.
class CellFont : public render::Font2D {
public:
    int getSizeX() override { return 10; }
    int getSizeY() override { return 32; }
};

// "init" passes on to "menu" at once; "run" counts how often it is entered.
class PassState : public game::GameState {
public:
    PassState(Game* game, const char* name, int& runs) : GameState(game, name), m_runs(runs) {}

protected:
    int update(int) override { return 1; }
    void init() override { m_name.compareTo("init") == 0 ? changeState("menu") : void(++m_runs); }
    void deinit() override {}
    void render(render::Graphics3D*) override {}

private:
    int& m_runs;
};

// The game's menu between a stand-in "init" and "run", on globals as the
// set-up leaves them, without its files and intro (level 1 with a record of
// 12345 ms), on the 240 x 400 screen; the stylus and the keys come from the
// stand-in's test side.
class MenuAndIntroTest : public gametest::GameTest {
protected:
    // TearDown has released the game; nothing here can throw.
    ~MenuAndIntroTest() noexcept override {}

    void SetUp() override
    {
        GameTest::SetUp();
        game::g_menuStylusDown = false;
        game::g_menuLastX = game::g_menuLastY = -2.0f;
        // The game makes the globals itself.
        game::GameGlobals::deInitClass();
        m_game = VORNIC3D_NEW Game([this](Game& game) {
            game::GameGlobals& g = globals();
            game::GameOde::createOdeClass();
            g.m_camera = VORNIC3D_NEW game::GameCamera(0.0f, game::g_screenHeight, game::g_screenWidth, 0.0f);
            game::GameStateInit::fillLevelTable();
            g.m_levels[0].bestTime = 12345;
            g.m_light = VORNIC3D_NEW render::Light();
            g.m_font2 = VORNIC3D_NEW CellFont();
            g.m_text = VORNIC3D_NEW render::Text2D();
            g.m_text->setFont(g.m_font2.get());
            g.m_keyboard = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_KEYBOARD);
            g.m_mouse = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_MOUSE);
            g.m_sprites.setSize(4);
            g.m_sprites[1] = game::GameStateInit::createSprite("dust.png");
            game.addNewState(VORNIC3D_NEW PassState(&game, "init", m_runs));
            game.addNewState(VORNIC3D_NEW game::GameStateMenu(&game, "menu"));
            game.addNewState(VORNIC3D_NEW PassState(&game, "run", m_runs));
        });
    }
    void TearDown() override
    {
        m_game = nullptr;
        WinceTestReset();
        GameTest::TearDown();
    }

    // The stylus pressed and lifted at screen pixel (x, y), one update of
    // 10 ms each; the release's result.
    int tap(int x, int y)
    {
        HAL::windowProc(nullptr, WM_MOUSEMOVE, 0, static_cast<LPARAM>((y << 16) | x));
        WinceTestSetKeyState(VK_LBUTTON, true);
        m_game->update(10);
        WinceTestSetKeyState(VK_LBUTTON, false);
        return m_game->update(10);
    }
    // The lines drawn now, '|' between them; those drawn with the texts'
    // default appearance (the highlight's) end with '*'.
    std::string screen()
    {
        const core::Ref<render::Text2D> plain = VORNIC3D_NEW render::Text2D();
        recorder().m_drawn.clear();
        m_game->render(&renderer());
        const render::Appearance* highlight = plain->getAppearance();
        std::string lines;
        for (const auto& drawn : recorder().m_drawn)
            if (!drawn.text.empty())
                lines += (lines.empty() ? "" : "|") + drawn.text + (drawn.appearance == highlight ? "*" : "");
        return lines;
    }
    int levelBuilt() { return globals().m_level->m_levelIndex; }

    core::Ref<Game> m_game;
    int m_runs = 0;
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

TEST_F(MenuAndIntroTest, ZonesActOnReleaseAndWrapAround)
{
    HAL::windowProc(nullptr, WM_MOUSEMOVE, 0, (380 << 16) | 120);
    WinceTestSetKeyState(VK_LBUTTON, true);
    for (int i = 0; i < 3; ++i)
        m_game->update(10);
    EXPECT_EQ(screen(), list(0)) << "held: nothing yet";
    WinceTestSetKeyState(VK_LBUTTON, false);
    m_game->update(10);
    EXPECT_EQ(screen(), list(1));

    const struct { int x, y; std::string after; } taps[] = {
        {120, 20, list(0)},   {228, 200, list(0, {"2 : UNAVAILABLE"})}, {12, 200, list(0)},
        {14, 200, list(0, {"13 : UNAVAILABLE"})},  {230, 200, list(0)},
        {180, 200, list(0)}, {120, 300, list(0)}, // exactly on the zones' borders
        {122, 20, list(3)},  {120, 380, list(0)}, {122, 380, list(1)},
        {228, 200, list(1)}, // the sides change the level only on SELECT LEVEL
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
    EXPECT_EQ(m_runs, 0) << "level 2 is locked";

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
    for (; m_runs == 0 && updates < 100; ++updates)
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
    EXPECT_EQ(m_runs, 1) << "a locked next level is opened and started";

    m_game->changeState("menu");
    EXPECT_EQ(levelBuilt(), 3) << "a lost level keeps the selection";
    globals().m_levels[4].bestTime = 5000;
    finish(3);
    EXPECT_EQ(levelBuilt(), 4);
    EXPECT_EQ(m_runs, 1) << "an open next level is only selected";
}

TEST_F(MenuAndIntroTest, TheIntrosSecondFrameWaitsAcrossTheTicksWrap)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Set before the fresh process starts: its tick starts 3 s before the wrap.
    setenv("VORNIC3D_TICK_OFFSET", std::to_string((std::int64_t(1) << 32) - HAL::getTime() - 3000).c_str(), 1);
    EXPECT_EXIT(introScreenAcrossTheWrap(), testing::ExitedWithCode(0), "");
    unsetenv("VORNIC3D_TICK_OFFSET");
}
