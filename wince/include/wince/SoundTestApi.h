// Stands in for: nothing of the system; lets tests see what the stand-in's
// sound player (Sound.h) is doing, which the real system does not tell.
// Limits: a view only, it changes nothing. Depends on: Sound.cpp's player.
#pragma once

#include <string>

namespace wince::test {

// The narrowed path (after '\' became '/') of the sound still playing, or an
// empty string when nothing plays.
std::string soundPlaying();

} // namespace wince::test
