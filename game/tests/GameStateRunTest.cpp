#include "GameTest.h"
#include "LevelImages.h"
#include "TempFolder.h"

#include "Game.h"
#include "GameCamera.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "GameStateRun.h"
#include "MediaPath.h"
#include "Screen.h"

#include "Input.h"
#include "System.h"
#include "render/Background.h"
#include "render/Font2D.h"
#include "render/Text2D.h"

#include <wince/SoundTestApi.h>

#include <sstream>
#include <utility>
#include <vector>

namespace {

// An input that reads what the test wrote into it.
struct ScriptedInput : HAL::Input {
    explicit ScriptedInput(int deviceType) { m_inputDeviceType = deviceType; }
    void writeInput(int id, float value) override { m_values[id] = value; }
    float readInput(int id) override { return m_values[id]; }
    float m_values[HAL::INPUT_MOUSE_XBUTTON2 + 1] = {};
};

// A state without work of its own that counts its entries.
struct StubState : game::GameState {
    StubState(game::Game* game, const char* name, int& entries) : GameState(game, name), m_entries(entries) {}
    int update(int) override { return 1; }
    void init() override { ++m_entries; }
    void deinit() override {}
    void render(render::Graphics3D*) override {}
    int& m_entries;
};

// The recorder that also writes down each text line drawn, as "text, cell
// size and place", the place counted from the view's lower-left corner.
struct TextRecorder : gametest::RecordingGraphics3D {
    using RecordingGraphics3D::render;
    void render(render::Node* node, const render::Transform& t) override
    {
        RecordingGraphics3D::render(node, t);
        if (auto* text = dynamic_cast<render::Text2D*>(node)) {
            std::ostringstream line;
            line << text->getText().c_str() << " " << text->getSizeX() << "x" << text->getSizeY() << " at "
                 << gametest::elementOf(t, 3) - gametest::elementOf(m_cameraTransform, 3) << ","
                 << gametest::elementOf(t, 7) - gametest::elementOf(m_cameraTransform, 7) << "; ";
            m_lines += line.str();
        }
    }
    std::string m_lines;
};

class GameStateRunTest : public gametest::GameTest, protected testsupport::TempFolder {
protected:
    // TearDown has released the game; nothing here can throw.
    ~GameStateRunTest() noexcept override {}

    testsupport::TestGraphics3D* createRenderer() override { return VORNIC3D_NEW TextRecorder(); }
    // The machine makes the globals itself, so the world is built again in
    // its own, with both fonts and inputs the test controls.
    void SetUp() override
    {
        GameTest::SetUp();
        game::GameGlobals::deInitClass();
        m_game = VORNIC3D_NEW game::Game([this](game::Game& g) {
            game::GameOde::createOdeClass();
            globals().m_level = VORNIC3D_NEW game::GameLevel(0);
            globals().m_camera = VORNIC3D_NEW game::GameCamera(0, game::g_screenHeight, game::g_screenWidth, 0);
            globals().m_mouse = m_mouse = VORNIC3D_NEW ScriptedInput(HAL::INPUT_DEVICE_MOUSE);
            globals().m_keyboard = m_keyboard = VORNIC3D_NEW ScriptedInput(HAL::INPUT_DEVICE_KEYBOARD);
            globals().m_font = render::Font2D::createNewFont(game::mediaPath("simple_font_file.txt").c_str());
            globals().m_font2 = render::Font2D::createNewFont(game::mediaPath("simple_font_file2.txt").c_str());
            for (const char* name : {"init", "menu"})
                g.addNewState(VORNIC3D_NEW StubState(&g, name, m_menuEntries));
            g.addNewState(VORNIC3D_NEW game::GameStateRun(&g, "run"));
        });
    }
    void TearDown() override { m_game = nullptr; GameTest::TearDown(); }
    // Loads the level "PRACTICE" (the player's start on a floor, a star out
    // of reach) and enters "run".
    void play()
    {
        gametest::writeLevelImage(at("level.png"), {{0, 2, 0, 0, 4}, {1, 1, 1, 1, 1}});
        globals().m_level->load(core::String(at("level.png").c_str()), "PRACTICE");
        m_game->changeState("run");
    }
    // Updates of at most 50 ms.
    void run(int ms)
    {
        for (; ms > 0; ms -= 50)
            m_game->update(ms < 50 ? ms : 50);
    }
    // The file name of the sound that plays.
    std::string sound()
    {
        std::string path = wince::test::soundPlaying();
        return path.erase(0, path.find_last_of('/') + 1);
    }
    // The text lines of one frame, each ended by "; ".
    std::string draw()
    {
        m_game->render(&renderer());
        return std::exchange(static_cast<TextRecorder&>(renderer()).m_lines, "");
    }

    core::Ref<game::Game> m_game;
    ScriptedInput* m_mouse = nullptr;
    ScriptedInput* m_keyboard = nullptr;
    // Entries into "init" and "menu".
    int m_menuEntries = 0;
};

} // namespace

TEST_F(GameStateRunTest, PlayStartsPastThreeSecondsAndTheMenuReturnsThreeSecondsAfterTheEnd)
{
    play();
    game::GameLevel& level = *globals().m_level;
    game::LevelInfo& row = globals().m_levels[0];
    // playMs after GO the last star is taken or the player dies; a starless
    // level ends at GO. `wait` ms later the menu is not back yet, 1 ms more it is.
    const struct { int best, stars, playMs; bool dies; const char *sound, *time; bool record; int wait; } cases[] = {
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
        const int entries = m_menuEntries;
        run(c.wait);
        EXPECT_EQ(m_menuEntries, entries);
        m_game->update(1);
        EXPECT_EQ(m_menuEntries, entries + 1);
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

TEST_F(GameStateRunTest, OnlyANewStylusReadingSetsTheTargetTheBackgroundScrollsAndTheQuitKeyEnds)
{
    m_mouse->writeInput(HAL::INPUT_MOUSE_X, 0.25f);
    play();
    EXPECT_EQ(m_game->update(10), 1);
    EXPECT_FALSE(game::g_steerX || game::g_steerY) << "the stylus as the menu left it";

    m_mouse->writeInput(HAL::INPUT_MOUSE_X, 0.5f);
    m_mouse->writeInput(HAL::INPUT_MOUSE_Y, -0.5f);
    m_game->update(10);
    draw();
    const render::Transform view = globals().m_camera->getTransform();
    const slmath::vec3 marker = globals().m_objects[3]->getPosition();
    EXPECT_FLOAT_EQ(marker.x, gametest::elementOf(view, 3) + 120 + 60);
    EXPECT_FLOAT_EQ(marker.y, gametest::elementOf(view, 7) + 200 + 100);
    // The target lies above and to the right of the player, who is centred.
    EXPECT_GT(dBodyGetLinearVel(player().m_body)[0], 0.0);
    EXPECT_TRUE(player().m_jumpRequest);

    // At a fifth of the player's position, the remainders signed as it is.
    const struct { float x, y; int cropX, cropY; } cases[] = {
        {-3.7f, 0.0f, 0, 0}, {-11.0f, 12.0f, -2, -2}, {1302.0f, -1292.0f, 4, 2}};
    for (const auto& c : cases) {
        player().setPosition(c.x, c.y, 0.0f);
        m_game->update(1);
        const render::Background& b = *globals().m_backgrounds[globals().m_backgroundIndex];
        EXPECT_EQ(std::vector<int>({b.getCropX(), b.getCropY(), b.getCropWidth(), b.getCropHeight()}),
                  std::vector<int>({c.cropX, c.cropY, 240, 400})) << c.x;
    }
    m_keyboard->writeInput(globals().m_quitKey, 1.0f);
    EXPECT_EQ(m_game->update(10), 0);
}
