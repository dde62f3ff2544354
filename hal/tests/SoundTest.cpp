// What the sound player does with a file (replacing, stopping, refusing) is
// the stand-in's and tested there; the screen size is read through the
// game's application factory (game/tests/ApplicationTest.cpp).
#include "EngineTest.h"
#include "TempFolder.h"

#include "core/String.h"
#include "hal/System.h"

#include "wince/SoundTestApi.h"

#include <cstdint>
#include <cstdio>
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
    return "RIFF" + word(36 + 8000, 4) + "WAVEfmt " + word(16, 4) + word(1, 2) + word(1, 2) + word(8000, 4) +
           word(8000, 4) + word(1, 2) + word(8, 2) + "data" + word(8000, 4) + std::string(8000, '\x80');
}

class SoundTest : public testsupport::EngineTest, protected testsupport::TempFolder {
protected:
    static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

} // namespace

TEST_F(SoundTest, ALongPathPlaysWholeUntilStopped)
{
    // Deeper than any fixed buffer of 100 units would hold.
    const std::string deep = std::string(120, 'd');
    std::filesystem::create_directories(at(deep));
    put(deep + "/sound.wav", oneSecondWav());
    const std::string path = at(deep + "/sound.wav");

    EXPECT_TRUE(HAL::playSound(core::String(path.c_str())));
    EXPECT_EQ(wince::test::soundPlaying(), path);
    HAL::stopSound();
    EXPECT_EQ(wince::test::soundPlaying(), "");
    EXPECT_FALSE(HAL::playSound(core::String(at("missing.wav").c_str())));
}

// Without an audio device the game plays on silently, and its log says so
// once. The driver is chosen once per process: in a child of its own.
TEST_F(SoundTest, WithoutADeviceOneWarningSaysSo)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    put("sound.wav", oneSecondWav());
    const core::String path(at("sound.wav").c_str());
    auto run = [&] {
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        const bool silent = !HAL::playSound(path) && !HAL::playSound(path);
        const bool warnedOnce =
            testsupport::countOf(log(), "WARNING |") == 1 &&
            log().find("HAL: no audio device can be opened; sounds are not played\n") != std::string::npos;
        std::fprintf(stderr, "%s", silent && warnedOnce ? "" : log().c_str());
        std::_Exit(silent && warnedOnce ? 0 : 1);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(0), "^$");
}
