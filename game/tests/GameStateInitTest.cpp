#include "GameTest.h"
#include "SetUpGlobals.h"

#include "Game.h"
#include "GameLevel.h"
#include "GameStateInit.h"
#include "MediaPath.h"

#include "System.h"
#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Material.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"

#include <wince/Input.h>
#include <wince/SoundTestApi.h>
#include <wince/TestApi.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// One screen of the intro on globals as the set-up leaves them.
class IntroTest : public gametest::GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        gametest::fillSetUpGlobals();
    }
    void TearDown() override
    {
        WinceTestReset();
        GameTest::TearDown();
    }
    int textsDrawn()
    {
        int count = 0;
        for (const auto& drawn : recorder().m_drawn)
            count += drawn.text.empty() ? 0 : 1;
        return count;
    }
};

// In a fresh process whose tick starts shortly before its 32-bit wrap: a
// screen begun 30 ms before the wrap still holds its second frame back for
// 50 ms, and then goes on.
[[noreturn]] void screenAcrossTheWrap()
{
    while (HAL::getTime() > 0x80000000u && HAL::getTime() < 0xFFFFFFE2u) {
    }
    if (HAL::getTime() < 0x80000000u)
        std::_Exit(2);
    WinceTestSetKeyState(VK_LBUTTON, true);
    const auto before = std::chrono::steady_clock::now();
    const int result = game::GameStateInit::showInitText("DORVANEL", nullptr);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - before).count();
    std::_Exit(result == 0 && ms >= 45 && ms < 1000 ? 0 : 1);
}

// The whole game on the recording renderer, the stylus held so that the
// intro ends after its first frame. The settings and best-time files are
// the program's own beside the test program, so these tests run one at a
// time (game/CMakeLists.txt); each starts without them.
class GameStateInitTest : public gametest::GameTest {
protected:
    // TearDown has released the game; nothing here can throw.
    ~GameStateInitTest() noexcept override {}

    void SetUp() override
    {
        GameTest::SetUp();
        // The game makes the globals itself.
        game::GameGlobals::deInitClass();
        removeFiles();
        WinceTestSetKeyState(VK_LBUTTON, true);
    }
    void TearDown() override
    {
        m_game = nullptr;
        removeFiles();
        WinceTestReset();
        GameTest::TearDown();
    }
    static std::filesystem::path fileOf(const char* name)
    {
        std::string path = game::mediaPath(name).c_str();
        std::replace(path.begin(), path.end(), '\\', '/');
        return std::filesystem::path(path).lexically_normal();
    }
    static std::string contentOf(const char* name)
    {
        std::ifstream in(fileOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void removeFiles()
    {
        std::filesystem::remove(fileOf("hiscore.bin"));
        std::filesystem::remove(fileOf("../config.txt"));
    }
    std::vector<std::int32_t> bestTimes() const
    {
        std::vector<std::int32_t> times;
        for (const game::LevelInfo& row : game::GameGlobals::getInstance()->m_levels)
            times.push_back(row.bestTime);
        return times;
    }

    core::Ref<game::Game> m_game;
};

std::string littleEndian(const std::vector<std::int32_t>& values)
{
    std::string bytes;
    for (const std::int32_t value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>(static_cast<std::uint32_t>(value) >> shift);
    return bytes;
}

const std::vector<std::int32_t> kDefaultTimes = {998001, 999000, 999000, 999000, 999000, 999000, 999000,
                                                 999000, 999000, 999000, 999000, 999000, 999000};

} // namespace

TEST_F(IntroTest, AHeldStylusEndsAScreenAfterOneFrameAndAnUntouchedOneRunsOut)
{
    render::Text2D& text = *globals().m_text;
    render::Sprite3D* logo = globals().m_sprites[1].get();
    const struct { bool held; const char* text; int result, frames, texts, sprites; } cases[] = {
        {true, "DORVANEL", 0, 2, 1, 0},
        {false, nullptr, 1, 271, 0, 270},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.held);
        recorder().m_drawn.clear();
        recorder().m_frames = 0;
        WinceTestSetKeyState(VK_LBUTTON, c.held);
        EXPECT_EQ(game::GameStateInit::showInitText(c.text, c.held ? nullptr : logo), c.result);
        EXPECT_EQ(recorder().m_frames, c.frames) << "frames presented, the closing one included";
        EXPECT_EQ(textsDrawn(), c.texts);
        EXPECT_EQ(int(recorder().m_drawn.size()) - c.texts, c.sprites);
        EXPECT_EQ(text.getSizeX() * 100 + text.getSizeY(), 1032) << "the font's glyph size again";
        EXPECT_EQ(text.getAppearance()->getMaterial()->getColor(render::Material::DIFFUSE), 0xFFFFFFFFu);
        EXPECT_NE(wince::test::soundPlaying().find("/media/theme.wav"), std::string::npos);
    }
    EXPECT_EQ(logo->getAppearance()->getMaterial()->getColor(render::Material::DIFFUSE), 0x02FFFFFFu)
        << "the logo keeps its last alpha";
}

TEST_F(IntroTest, TheSecondFramesWaitSurvivesTheTicksWrap)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Set before the fresh process starts, so its tick starts 3 s before the wrap.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t monotonicMs = std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    if (std::getenv("VORNIC3D_TICK_OFFSET") == nullptr)
        setenv("VORNIC3D_TICK_OFFSET", std::to_string((std::int64_t(1) << 32) - monotonicMs - 3000).c_str(), 1);
    EXPECT_EXIT(screenAcrossTheWrap(), testing::ExitedWithCode(0), "");
    unsetenv("VORNIC3D_TICK_OFFSET");
}

TEST_F(GameStateInitTest, WithoutFilesTheDefaultsHoldAndAreWrittenAtExit)
{
    m_game = VORNIC3D_NEW game::Game();
    game::GameGlobals& g = globals();
    EXPECT_EQ(bestTimes(), kDefaultTimes);
    EXPECT_STREQ(g.m_levels[12].fileName, "level4.png");
    EXPECT_STREQ(g.m_levels[12].displayName, "RUDIS REGGAE");
    EXPECT_EQ(contentOf("../config.txt"),
              "GENERATED ASCII CODE CONFIG FOR SAMSUNG OMNIA\nQUIT 114\nSHADOWS 1\nSOUNDS 1");
    EXPECT_EQ(g.m_quitKey * 100 + g.m_shadows * 10 + g.m_sounds, 11411);
    ASSERT_EQ(g.m_sprites.m_size, 4);
    EXPECT_TRUE(g.m_sprites[0] != nullptr && g.m_sprites[1] != nullptr);
    EXPECT_TRUE(g.m_sprites[2] == nullptr && g.m_sprites[3] == nullptr);
    const render::Background& backdrop = *g.m_background;
    EXPECT_EQ(std::vector<int>({backdrop.getCropX(), backdrop.getCropY(), backdrop.getCropWidth(),
                                backdrop.getCropHeight()}),
              std::vector<int>({0, 512 - 400, 240, 400}))
        << "the bottom of the 256 x 512 backdrop";
    int texts = 0;
    for (const auto& drawn : recorder().m_drawn)
        texts += drawn.text == "DORVANEL" ? 1 : drawn.text.empty() ? 0 : 100;
    EXPECT_EQ(texts, 1) << "the held stylus ends the intro after its first frame";

    m_game = nullptr;
    EXPECT_EQ(contentOf("hiscore.bin"), littleEndian(kDefaultTimes));
}

TEST_F(GameStateInitTest, BestTimesSurviveARestartAfterACompletedLevel)
{
    m_game = VORNIC3D_NEW game::Game();
    globals().m_level->end(5000);
    m_game->changeState("menu");
    m_game = nullptr;
    std::vector<std::int32_t> times = kDefaultTimes;
    times[0] = 5000;
    times[1] = 998001;
    EXPECT_EQ(contentOf("hiscore.bin"), littleEndian(times));

    m_game = VORNIC3D_NEW game::Game();
    EXPECT_EQ(bestTimes(), times);
}
