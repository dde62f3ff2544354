#pragma once

#include <string>

namespace media {

// Writes the game's sounds, mono 16-bit PCM at 22,050 Hz, synthesised from
// tones and noise: "theme.wav" (the intro's jingle, about three seconds),
// "menu.wav" (a tap in the menu), "SCORE.wav" (a star or key taken),
// "READY.WAV", "GO.WAV", "GAME_OVER.WAV" and "LEVEL_COMPLETED.WAV" (the
// phases of a level), each well under a second.
void writeSounds(const std::string& folder);

} // namespace media
