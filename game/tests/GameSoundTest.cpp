#include "GameTest.h"

#include "GameSound.h"

#include <wince/SoundTestApi.h>

#include <string>

using GameSoundTest = gametest::GameTest;

TEST_F(GameSoundTest, MediaSoundsPlayAndStopOnlyWhileSoundsAreOn)
{
    globals().m_sounds = 0;
    game::playMediaSound("SCORE.wav");
    EXPECT_EQ(wince::test::soundPlaying(), "");
    globals().m_sounds = 1;
    game::playMediaSound("GO.WAV");
    EXPECT_NE(wince::test::soundPlaying().find("/media/GO.WAV"), std::string::npos) << wince::test::soundPlaying();

    globals().m_sounds = 0;
    game::stopMediaSound();
    EXPECT_NE(wince::test::soundPlaying(), "") << "sounds off: nothing is touched";
    globals().m_sounds = 1;
    game::stopMediaSound();
    EXPECT_EQ(wince::test::soundPlaying(), "");
}
