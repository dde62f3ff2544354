// Stands in for: the WAV reading inside the system's sound player (Sound.h).
// Limits: RIFF/WAVE with uncompressed PCM only, 8-bit unsigned or 16-bit
// signed little-endian samples, one or two channels, 1000 to 384000 frames a
// second. Depends on: POSIX open/fstat/pread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wince {

// The format and samples of one PCM WAV file, read whole by `load`. Every
// chunk size is checked against the file's size before anything is read, so a
// corrupt or cut-off file gives an error status, never an overrun. The RIFF
// size field is not trusted (writers often get it wrong); the file's real
// size bounds every read. A trailing partial frame is dropped.
class WavFile {
public:
    enum class Status {
        Ok,
        Unreadable,  // missing, not a regular file, unreadable, out of memory
        NotWave,     // no RIFF/WAVE header, or no "fmt " or "data" chunk
        Unsupported, // a format other than the limits above, or inconsistent
        Truncated,   // a chunk runs past the end of the file
    };

    // Replaces the contents with the file at `path`; on any status but Ok the
    // object is left empty.
    Status load(const std::string& path);

    int channels() const { return m_channels; }
    int bitsPerSample() const { return m_bitsPerSample; }
    int sampleRate() const { return m_sampleRate; }
    // Bytes of whole frames, interleaved as in the file.
    const std::vector<std::uint8_t>& samples() const { return m_samples; }

private:
    Status read(int fd, std::uint64_t fileSize);

    int m_channels = 0;
    int m_bitsPerSample = 0;
    int m_sampleRate = 0;
    std::vector<std::uint8_t> m_samples;
};

} // namespace wince
