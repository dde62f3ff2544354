#include "EngineTest.h"
#include "TempFolder.h"

#include "System.h"
#include "core/String.h"

#include <wince/SoundTestApi.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A mono 8-bit PCM WAV file of one second at 8000 Hz: long enough to be still
// playing when the test looks.
std::string oneSecondWav()
{
    const auto word = [](std::uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>(value >> (8 * i));
        return out;
    };
    const std::uint32_t samples = 8000;
    return "RIFF" + word(36 + samples, 4) + "WAVEfmt " + word(16, 4) + word(1, 2) + word(1, 2) + word(8000, 4) +
           word(8000, 4) + word(1, 2) + word(8, 2) + "data" + word(samples, 4) + std::string(samples, '\x80');
}

class SoundTest : public testsupport::EngineTest, protected testsupport::TempFolder {
protected:
    static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override
    {
        HAL::stopSound();
        EngineTest::TearDown();
    }
};

} // namespace

TEST(Screen, SizeComesFromThePlatformWithoutAnyEngineObject)
{
    EXPECT_EQ(HAL::getScreenWidth() * 1000 + HAL::getScreenHeight(), 240400);
    setenv("VORNIC3D_SCREEN", "480x800", 1);
    EXPECT_EQ(HAL::getScreenWidth() * 1000 + HAL::getScreenHeight(), 480800);
    unsetenv("VORNIC3D_SCREEN");
}

TEST_F(SoundTest, LongPathsPlayWholeEachCallReplacesAndStopEnds)
{
    // Deeper than any fixed buffer of 100 units would hold.
    const std::string deep = std::string(120, 'd');
    std::filesystem::create_directories(at(deep));
    put(deep + "/first.wav", oneSecondWav());
    put("second.wav", oneSecondWav());
    const std::string first = at(deep + "/first.wav");
    ASSERT_GT(first.size(), 100u);

    EXPECT_TRUE(HAL::playSound(core::String(first.c_str())));
    EXPECT_EQ(wince::test::soundPlaying(), first);
    // The engine's media paths separate with '\'.
    std::string second = at("second.wav");
    second[second.rfind('/')] = '\\';
    EXPECT_TRUE(HAL::playSound(core::String(second.c_str())));
    EXPECT_EQ(wince::test::soundPlaying(), at("second.wav"));
    HAL::stopSound();
    EXPECT_EQ(wince::test::soundPlaying(), "");

    EXPECT_TRUE(HAL::playSound(core::String(first.c_str())));
    EXPECT_FALSE(HAL::playSound(core::String(at("missing.wav").c_str())));
    EXPECT_EQ(wince::test::soundPlaying(), "") << "a failed call stops what played";
}
