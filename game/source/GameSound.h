#pragma once

namespace game {

// The game's sounds: WAV files of the media folder, played alongside the game
// only while the settings turn sounds on (the globals' m_sounds). A sound
// replaces the one that plays; nothing waits for it, and a sound that can not
// be played is skipped. Both need the game globals (the bare assertion
// otherwise).
void playMediaSound(const char* fileName);
// Stops the sound that plays; nothing happens while sounds are off.
void stopMediaSound();

} // namespace game
