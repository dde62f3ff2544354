#include "GameTest.h"

#include "GameSound.h"

#include <wince/SoundTestApi.h>

#include <string>

namespace {

class GameSoundTest : public gametest::GameTest {};

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

TEST_F(GameSoundTest, MediaSoundsPlayAndStopOnlyWhileSoundsAreOn)
{
    globals().m_sounds = 0;
    game::playMediaSound("SCORE.wav");
    EXPECT_EQ(wince::test::soundPlaying(), "");

    globals().m_sounds = 1;
    game::playMediaSound("SCORE.wav");
    EXPECT_TRUE(endsWith(wince::test::soundPlaying(), "/media/SCORE.wav")) << wince::test::soundPlaying();
    game::playMediaSound("GO.WAV");
    EXPECT_TRUE(endsWith(wince::test::soundPlaying(), "/media/GO.WAV")) << "each sound replaces the last";

    globals().m_sounds = 0;
    game::stopMediaSound();
    EXPECT_FALSE(wince::test::soundPlaying().empty()) << "sounds off: nothing is touched";
    globals().m_sounds = 1;
    game::stopMediaSound();
    EXPECT_EQ(wince::test::soundPlaying(), "");
}
