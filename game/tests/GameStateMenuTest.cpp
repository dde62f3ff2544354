#include "GameTest.h"
#include "SetUpGlobals.h"

#include "Game.h"
#include "GameCamera.h"
#include "GameLevel.h"
#include "GameOde.h"
#include "GameStateMenu.h"
#include "Screen.h"

#include "render/Text2D.h"
#include "win32/WindowProc.h"

#include <wince/Input.h>
#include <wince/Messages.h>
#include <wince/TestApi.h>

#include <set>
#include <string>

using game::Game;

namespace {

// "init" passes on to "menu" at once; "run" counts how often it is entered.
class PassState : public game::GameState {
public:
    PassState(Game* game, const char* name, int& runs) : GameState(game, name), m_runs(runs) {}

protected:
    int update(int) override { return 1; }
    void init() override
    {
        if (m_name.compareTo("init") == 0)
            changeState("menu");
        else
            ++m_runs;
    }
    void deinit() override {}
    void render(render::Graphics3D*) override {}

private:
    int& m_runs;
};

// The game's menu between a stand-in "init" and "run", on globals as the
// set-up leaves them, on the 240 x 400 screen; the stylus and the keys come
// from the stand-in's test side.
class GameStateMenuTest : public gametest::GameTest {
protected:
    // TearDown has released the game; nothing here can throw.
    ~GameStateMenuTest() noexcept override {}

    void SetUp() override
    {
        GameTest::SetUp();
        game::g_menuStylusDown = false;
        game::g_menuLastX = game::g_menuLastY = -2.0f;
        // The game makes the globals itself.
        game::GameGlobals::deInitClass();
        m_game = VORNIC3D_NEW Game([this](Game& game) {
            game::GameOde::createOdeClass();
            globals().m_camera = VORNIC3D_NEW game::GameCamera(0.0f, game::g_screenHeight, game::g_screenWidth, 0.0f);
            gametest::fillSetUpGlobals();
            globals().m_levels[0].bestTime = 12345;
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
    // The lines drawn now, '|' between them; an entry drawn highlighted ends
    // with '*'.
    std::string screen()
    {
        static const std::set<std::string> labels = {"SELECT LEVEL", "START GAME", "INFO", "QUIT GAME"};
        // A new text shares the texts' default appearance, the highlight's.
        const core::Ref<render::Text2D> plain = VORNIC3D_NEW render::Text2D();
        recorder().m_drawn.clear();
        m_game->render(&renderer());
        std::string lines;
        for (const auto& drawn : recorder().m_drawn) {
            if (drawn.text.empty())
                continue;
            const bool marked = labels.count(drawn.text) != 0 && drawn.appearance == plain->getAppearance();
            lines += (lines.empty() ? "" : "|") + drawn.text + (marked ? "*" : "");
        }
        return lines;
    }
    game::GameLevel& level() { return *globals().m_level; }

    core::Ref<Game> m_game;
    int m_runs = 0;
};

const char* const kFirstLevel = "1 : PRACTICE|RECORD : 12.35 SEC|";

} // namespace

TEST_F(GameStateMenuTest, ZonesActOnReleaseAndWrapAround)
{
    EXPECT_EQ(screen(), std::string("SELECT LEVEL*|") + kFirstLevel + "START GAME|INFO|QUIT GAME");
    EXPECT_EQ(level().m_levelIndex, 0) << "the selected level is built on entering";

    // Pressed and held at the bottom: nothing until it is lifted.
    HAL::windowProc(nullptr, WM_MOUSEMOVE, 0, (380 << 16) | 120);
    WinceTestSetKeyState(VK_LBUTTON, true);
    for (int i = 0; i < 3; ++i)
        m_game->update(10);
    EXPECT_EQ(screen(), std::string("SELECT LEVEL*|") + kFirstLevel + "START GAME|INFO|QUIT GAME");
    WinceTestSetKeyState(VK_LBUTTON, false);
    m_game->update(10);
    EXPECT_EQ(screen(), std::string("SELECT LEVEL|") + kFirstLevel + "START GAME*|INFO|QUIT GAME");

    const struct { int x, y; std::string after; } taps[] = {
        {120, 20, std::string("SELECT LEVEL*|") + kFirstLevel + "START GAME|INFO|QUIT GAME"},
        {228, 200, "SELECT LEVEL*|2 : UNAVAILABLE|START GAME|INFO|QUIT GAME"},
        {12, 200, std::string("SELECT LEVEL*|") + kFirstLevel + "START GAME|INFO|QUIT GAME"},
        {14, 200, "SELECT LEVEL*|13 : UNAVAILABLE|START GAME|INFO|QUIT GAME"},
        {230, 200, std::string("SELECT LEVEL*|") + kFirstLevel + "START GAME|INFO|QUIT GAME"},
        {180, 200, std::string("SELECT LEVEL*|") + kFirstLevel + "START GAME|INFO|QUIT GAME"}, // x 0.5
        {120, 300, std::string("SELECT LEVEL*|") + kFirstLevel + "START GAME|INFO|QUIT GAME"}, // y 0.5
        {122, 20, std::string("SELECT LEVEL|") + kFirstLevel + "START GAME|INFO|QUIT GAME*"},
        {120, 380, std::string("SELECT LEVEL*|") + kFirstLevel + "START GAME|INFO|QUIT GAME"},
        {122, 380, std::string("SELECT LEVEL|") + kFirstLevel + "START GAME*|INFO|QUIT GAME"},
        {228, 200, std::string("SELECT LEVEL|") + kFirstLevel + "START GAME*|INFO|QUIT GAME"},
    };
    for (const auto& t : taps) {
        SCOPED_TRACE(std::to_string(t.x) + "," + std::to_string(t.y));
        EXPECT_EQ(tap(t.x, t.y), 1);
        EXPECT_EQ(screen(), t.after);
    }
    EXPECT_EQ(level().m_levelIndex, 0) << "only entering and leaving build a level";
}

TEST_F(GameStateMenuTest, StartGameStartsOnlyAnOpenLevelInThe62ndUpdate)
{
    tap(228, 200);
    tap(120, 380);
    tap(120, 200);
    for (int i = 0; i < 100; ++i)
        m_game->update(10);
    EXPECT_EQ(m_runs, 0) << "level 2 is locked";

    tap(120, 20);
    tap(12, 200);
    tap(122, 380);
    tap(122, 200);
    int updates = 0;
    while (m_runs == 0 && updates < 100) {
        m_game->update(10);
        ++updates;
    }
    EXPECT_EQ(updates, 62);
    EXPECT_EQ(level().m_levelIndex, 0) << "leaving builds the selected level";
}

TEST_F(GameStateMenuTest, InfoShowsTheCreditsForFourSecondsAndBothQuitsEndTheProgram)
{
    tap(120, 380);
    tap(122, 380);
    tap(120, 200);
    const std::string credits = "PROGRAMMING:|DORVANEL|ART:|DORVANEL|VERSION:|1.0|GAME ENGINE:|VORNIC3D";
    EXPECT_EQ(screen(), credits);
    EXPECT_EQ(m_game->update(3999), 1);
    EXPECT_EQ(screen(), credits);
    HAL::windowProc(nullptr, WM_KEYDOWN, VK_F3, 0);
    EXPECT_EQ(m_game->update(1), 0) << "the quit key works on every page";
    EXPECT_EQ(m_game->update(1), 1);
    EXPECT_EQ(screen(), std::string("SELECT LEVEL|") + kFirstLevel + "START GAME|INFO*|QUIT GAME");

    EXPECT_EQ(tap(120, 380), 1);
    EXPECT_EQ(tap(122, 200), 0);
}

TEST_F(GameStateMenuTest, AFinishedLevelSelectsTheNextAndStartsItWhenItWasLocked)
{
    auto finish = [&](int row) {
        globals().m_levels[static_cast<std::size_t>(row)].completed = true;
        m_game->changeState("menu");
    };
    // The last level hands over to the first, which is open.
    tap(12, 200);
    finish(12);
    EXPECT_EQ(level().m_levelIndex, 0);
    EXPECT_FALSE(globals().m_levels[12].completed);
    EXPECT_EQ(m_runs, 0);

    tap(228, 200);
    tap(230, 200);
    finish(2);
    EXPECT_EQ(level().m_levelIndex, 3);
    EXPECT_EQ(level().m_name.compareTo("WASTED"), 0);
    EXPECT_EQ(globals().m_levels[3].bestTime, game::LevelInfo::kOpenWithoutTime);
    EXPECT_FALSE(globals().m_levels[2].completed);
    EXPECT_EQ(m_runs, 1) << "a locked next level is opened and started";

    m_game->changeState("menu");
    EXPECT_EQ(level().m_levelIndex, 3) << "a lost level keeps the selection";
    globals().m_levels[4].bestTime = 5000;
    finish(3);
    EXPECT_EQ(level().m_levelIndex, 4);
    EXPECT_EQ(m_runs, 1) << "an open next level is only selected";
}

TEST_F(GameStateMenuTest, TheListRestsWithTheHighlightedEntryMidScreen)
{
    const struct { int tapY; float cameraY; } cases[] = {{0, -35.0f}, {380, -70.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cameraY);
        if (c.tapY != 0)
            tap(120, c.tapY);
        screen();
        m_game->update(1000);
        screen();
        EXPECT_EQ(gametest::elementOf(recorder().m_cameraTransform, 7), c.cameraY);
        std::vector<float> heights;
        for (const auto& drawn : recorder().m_drawn)
            if (!drawn.text.empty())
                heights.push_back(gametest::elementOf(drawn.transform, 7));
        EXPECT_EQ(heights, (std::vector<float>{165.0f, 130.0f, 105.0f, 80.0f, 45.0f, 10.0f}));
    }
}
