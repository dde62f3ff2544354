#include "wince/Sound.h"
#include "wince/SoundTestApi.h"
#include "wince/SoundWavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = wince::WavFile::Status;
namespace fs = std::filesystem;

// ---- generated files ----

template <typename T>
void put(Bytes& out, T value) // little-endian
{
    for (std::size_t i = 0; i < sizeof value; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A chunk with its true size, or the size given in `declared`.
Bytes chunk(const char* id, const Bytes& body, std::int64_t declared = -1)
{
    Bytes out(id, id + 4);
    put(out, static_cast<std::uint32_t>(declared >= 0 ? declared : static_cast<std::int64_t>(body.size())));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        out.push_back(0);
    return out;
}

Bytes fmt(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint16_t tag = 1, int blockAlign = -1)
{
    const auto align = static_cast<std::uint16_t>(blockAlign >= 0 ? blockAlign : channels * bits / 8);
    Bytes body;
    put(body, tag);
    put(body, channels);
    put(body, rate);
    put(body, static_cast<std::uint32_t>(rate * align));
    put(body, align);
    put(body, bits);
    return chunk("fmt ", body);
}

Bytes riff(const std::vector<Bytes>& chunks, const char* form = "WAVE")
{
    Bytes body(form, form + 4);
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    return chunk("RIFF", body);
}

Bytes pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::size_t frames)
{
    Bytes samples(frames * channels * bits / 8);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i * 7);
    return riff({fmt(channels, rate, bits), chunk("data", samples)});
}

// A folder of its own, removed with everything in it.
class TempDir {
public:
    ~TempDir() { remove(); }
    void remove() const
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    std::string file(const std::string& name, const Bytes& content) const
    {
        const std::string path = m_path + "/" + name;
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
        return path;
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_pattern = (fs::temp_directory_path() / "sound-test-XXXXXX").string();
    std::string m_path = mkdtemp(m_pattern.data()) != nullptr ? m_pattern : std::string("/nonexistent");
};

// The engine's widening: one unit per byte, zero- or sign-extended.
std::u16string widen(const std::string& bytes, bool signExtend = false)
{
    std::u16string out;
    for (char c : bytes)
        out += signExtend ? static_cast<char16_t>(static_cast<std::int16_t>(static_cast<signed char>(c)))
                          : static_cast<char16_t>(static_cast<unsigned char>(c));
    return out;
}

} // namespace

// ---- the WAV reader ----

TEST(SoundWavFile, ReadsPcmAndRefusesWhatItCannotPlay)
{
    const Bytes data16(40, 3);
    const Bytes fmtLong = chunk("fmt ", Bytes{1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0, 0, 0});
    Bytes riffSizeZero = pcm(1, 8000, 8, 4);
    std::fill_n(riffSizeZero.begin() + 4, 4, 0);
    Bytes cut = pcm(2, 44100, 16, 100);
    cut.resize(cut.size() / 2);
    // The format and the size of the samples when the status is Ok.
    const struct { const char* name; Bytes content; Status status;
                   int channels = 0, bits = 0, rate = 0; std::size_t sampleBytes = 0; } cases[] = {
        {"16-bit stereo", riff({fmt(2, 44100, 16), chunk("data", data16)}), Status::Ok, 2, 16, 44100, 40},
        {"8-bit mono, odd data", pcm(1, 8000, 8, 7), Status::Ok, 1, 8, 8000, 7},
        {"odd chunk and fmt after data", riff({chunk("LIST", Bytes(3, 9)), chunk("data", data16), fmt(1, 22050, 16)}),
         Status::Ok, 1, 16, 22050, 40},
        {"partial frame dropped", riff({fmt(2, 11025, 16), chunk("data", Bytes(7, 1))}), Status::Ok, 2, 16, 11025, 4},
        {"empty data", riff({fmt(1, 8000, 8), chunk("data", {})}), Status::Ok, 1, 8, 8000, 0},
        {"18-byte fmt", riff({fmtLong, chunk("data", Bytes(5, 1))}), Status::Ok, 1, 8, 8000, 5},
        {"RIFF size zero", riffSizeZero, Status::Ok, 1, 8, 8000, 4},
        {"huge tag after data", riff({fmt(1, 8000, 8), chunk("data", Bytes(2, 1)), chunk("junk", {}, 0xFFFFFFF0u)}),
         Status::Ok, 1, 8, 8000, 2},
        {"empty file", {}, Status::NotWave},
        {"other RIFF form", riff({fmt(1, 8000, 8), chunk("data", data16)}, "AVI "), Status::NotWave},
        {"no fmt", riff({chunk("data", data16)}), Status::NotWave},
        {"no data", riff({fmt(1, 8000, 8)}), Status::NotWave},
        {"float", riff({fmt(1, 8000, 32, 3), chunk("data", data16)}), Status::Unsupported},
        {"24-bit", riff({fmt(1, 8000, 24), chunk("data", data16)}), Status::Unsupported},
        {"3 channels", riff({fmt(3, 8000, 16), chunk("data", data16)}), Status::Unsupported},
        {"0 channels", riff({fmt(0, 8000, 16), chunk("data", data16)}), Status::Unsupported},
        {"rate too low", riff({fmt(1, 999, 8), chunk("data", data16)}), Status::Unsupported},
        {"rate too high", riff({fmt(1, 384001, 8), chunk("data", data16)}), Status::Unsupported},
        {"bad block align", riff({fmt(2, 8000, 16, 1, 2), chunk("data", data16)}), Status::Unsupported},
        {"short fmt", riff({chunk("fmt ", Bytes(14, 1)), chunk("data", data16)}), Status::Unsupported},
        {"huge data size", riff({fmt(1, 8000, 8), chunk("data", data16, 0xFFFFFFFFu)}), Status::Truncated},
        {"cut in the data", cut, Status::Truncated},
    };
    // One reader for all: a failure must leave nothing of the previous file.
    TempDir dir;
    wince::WavFile wav;
    for (const auto& c : cases) {
        ASSERT_EQ(wav.load(dir.file("case.wav", c.content)), c.status) << c.name;
        EXPECT_EQ(wav.channels(), c.channels) << c.name;
        EXPECT_EQ(wav.bitsPerSample(), c.bits) << c.name;
        EXPECT_EQ(wav.sampleRate(), c.rate) << c.name;
        EXPECT_EQ(wav.samples().size(), c.sampleBytes) << c.name;
    }
}

// ---- PlaySoundW ----

class PlaySound : public testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override { PlaySoundW(nullptr, nullptr, 0); }

    std::string play(const std::string& name, const Bytes& content)
    {
        const std::string path = m_dir.file(name, content);
        EXPECT_EQ(PlaySoundW(widen(path).c_str(), nullptr, SND_ASYNC), TRUE) << path;
        return path;
    }

    TempDir m_dir;
    const Bytes m_long = pcm(2, 44100, 16, 3 * 44100);
};

TEST_F(PlaySound, ReturnsAtOnceAndPlaysUntilTheEndOrTheNextCallOrAStop)
{
    const auto start = std::chrono::steady_clock::now();
    const std::string path = play("long.wav", m_long);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(wince::test::soundPlaying(), path);

    play("short.wav", pcm(1, 8000, 8, 800));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!wince::test::soundPlaying().empty() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(wince::test::soundPlaying(), "") << "the sound did not end";

    play("first.wav", m_long);
    const std::string second = play("second.wav", pcm(1, 22050, 16, 3 * 22050));
    EXPECT_EQ(wince::test::soundPlaying(), second);
    EXPECT_EQ(PlaySoundW(nullptr, nullptr, 0), TRUE);
    EXPECT_EQ(wince::test::soundPlaying(), "");
    EXPECT_EQ(PlaySoundW(nullptr, nullptr, 0), TRUE);
}

TEST_F(PlaySound, BadFilesGiveFalseAtOnceAndStopWhatPlays)
{
    const std::string pipe = m_dir.path() + "/pipe.wav";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0); // opening it must not block
    // What the reader refuses is tested with the reader; here one of each kind.
    const std::string bad[] = {
        m_dir.path() + "/missing.wav", m_dir.file("text.wav", Bytes(100, 'x')), m_dir.path(), pipe, "",
    };
    for (const std::string& path : bad) {
        play("long.wav", m_long);
        EXPECT_EQ(PlaySoundW(widen(path).c_str(), nullptr, SND_ASYNC), FALSE) << path;
        EXPECT_EQ(wince::test::soundPlaying(), "") << path;
    }
    // Flags it does not know change nothing.
    const std::string path = play("long.wav", m_long);
    EXPECT_EQ(PlaySoundW(widen(path).c_str(), nullptr, SND_ASYNC | 0x0004), FALSE);
    EXPECT_EQ(wince::test::soundPlaying(), path);
}

TEST_F(PlaySound, LongPathsBackslashesAndWidenedBytes)
{
    const std::string deep = "a-folder-with-a-long-name/another-folder-with-a-long-name/and-a-third-one/x.wav";
    const std::string path = play(deep, m_long);
    ASSERT_GT(path.size(), 100u);
    EXPECT_EQ(wince::test::soundPlaying(), path);
    std::u16string windows = widen(path);
    std::replace(windows.begin(), windows.end(), u'/', u'\\');
    EXPECT_EQ(PlaySoundW(nullptr, nullptr, 0), TRUE);
    EXPECT_EQ(PlaySoundW(windows.c_str(), nullptr, SND_ASYNC | SND_FILENAME), TRUE);
    EXPECT_EQ(wince::test::soundPlaying(), path);

    // Bytes above 0x7F name the same file however the engine widened them;
    // a lone surrogate names nothing.
    const std::string latin = m_dir.file("caf\xC3\xA9.wav", m_long);
    for (bool signExtend : {false, true}) {
        EXPECT_EQ(PlaySoundW(widen(latin, signExtend).c_str(), nullptr, SND_ASYNC), TRUE) << signExtend;
        EXPECT_EQ(wince::test::soundPlaying(), latin) << signExtend;
    }
    EXPECT_EQ(PlaySoundW((widen(m_dir.path()) + u"/\xD83D.wav").c_str(), nullptr, SND_ASYNC), FALSE);
}

// The audio driver is chosen once per process: these run in a child each
// (threadsafe death-test style), which leaves through exit and so skips the
// folder's destructor.
TEST(PlaySoundWithoutDevice, ReturnsFalseAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const std::u16string path = widen(dir.file("a.wav", pcm(1, 8000, 8, 8000)));
    auto run = [&] {
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        const bool ok = PlaySoundW(path.c_str(), nullptr, SND_ASYNC) == FALSE
                        && PlaySoundW(path.c_str(), nullptr, SND_ASYNC) == FALSE
                        && PlaySoundW(nullptr, nullptr, 0) == TRUE && wince::test::soundPlaying().empty();
        dir.remove();
        std::exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
}

// SDL's disk driver writes what reaches the device to a file: the samples must
// arrive unchanged in the device's format, 16-bit stereo at 44100 frames a
// second, 8-bit mono widened to both channels.
TEST(PlaySoundToDisk, DeliversTheSamples)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    constexpr std::size_t frames = 44100 / 5;
    const Bytes stereo = pcm(2, 44100, 16, frames);
    Bytes mono = pcm(1, 44100, 8, frames);
    Bytes monoDelivered;
    for (std::size_t i = 44; i < mono.size(); ++i) {
        mono[i] = static_cast<std::uint8_t>(i % 2 == 0 ? 0xC0 : 0x40);
        for (int channel = 0; channel < 2; ++channel)
            put(monoDelivered, static_cast<std::uint16_t>((mono[i] - 128) * 256));
    }
    auto run = [&dir](const Bytes& wav, const Bytes& delivered) {
        const std::string output = dir.path() + "/device.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        const auto begin = std::chrono::steady_clock::now();
        // Without SND_ASYNC the call returns when the sound (200 ms) has ended.
        bool ok = PlaySoundW(widen(dir.file("a.wav", wav)).c_str(), nullptr, SND_SYNC) == TRUE
                  && std::chrono::steady_clock::now() - begin >= std::chrono::milliseconds(150);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::ifstream file(output, std::ios::binary);
        const Bytes out{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        // Silence may come before the sound.
        ok = ok && std::search(out.begin(), out.end(), delivered.begin(), delivered.end()) != out.end();
        dir.remove();
        std::exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(run(stereo, Bytes(stereo.begin() + 44, stereo.end())), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(run(mono, monoDelivered), testing::ExitedWithCode(0), "");
}
