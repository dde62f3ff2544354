#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// The sample rate of every sound of the game.
constexpr int kSampleRate = 22050;

// Writes mono 16-bit PCM samples at kSampleRate as a RIFF/WAVE file with
// exactly a "fmt " and a "data" chunk.
void writeWav(const std::string& folder, const std::string& name, const std::vector<std::int16_t>& samples);

} // namespace media
