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

void put32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

Bytes chunk(const char* id, const Bytes& body, std::uint32_t declared)
{
    Bytes out(id, id + 4);
    put32(out, declared);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        out.push_back(0);
    return out;
}

Bytes chunk(const char* id, const Bytes& body)
{
    return chunk(id, body, static_cast<std::uint32_t>(body.size()));
}

Bytes fmt(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint16_t tag = 1,
          int blockAlign = -1)
{
    const auto align = static_cast<std::uint16_t>(blockAlign >= 0 ? blockAlign : channels * bits / 8);
    Bytes body;
    put16(body, tag);
    put16(body, channels);
    put32(body, rate);
    put32(body, rate * align);
    put16(body, align);
    put16(body, bits);
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

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "sound-test-XXXXXX").string();
        m_path = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempDir()
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
    std::string m_path;
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

bool endsWithin(std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!wince::test::soundPlaying().empty()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace

// ---- the WAV reader ----

TEST(SoundWavFile, ReadsPcmAndRefusesWhatItCannotPlay)
{
    const Bytes data16(40, 3);
    const Bytes fmtLong = chunk("fmt ", Bytes{1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0, 0, 0});
    Bytes riffSizeZero = pcm(1, 8000, 8, 4);
    riffSizeZero[4] = riffSizeZero[5] = riffSizeZero[6] = riffSizeZero[7] = 0;
    Bytes cut = pcm(2, 44100, 16, 100);
    cut.resize(cut.size() / 2);
    struct Case {
        const char* name;
        Bytes content;
        Status status;
        int channels, bits, rate;
        std::size_t sampleBytes;
    };
    const Case cases[] = {
        {"16-bit stereo", riff({fmt(2, 44100, 16), chunk("data", data16)}), Status::Ok, 2, 16, 44100, 40},
        {"8-bit mono, odd data", pcm(1, 8000, 8, 7), Status::Ok, 1, 8, 8000, 7},
        {"odd chunk and fmt after data", riff({chunk("LIST", Bytes(3, 9)), chunk("data", data16), fmt(1, 22050, 16)}),
         Status::Ok, 1, 16, 22050, 40},
        {"partial frame dropped", riff({fmt(2, 11025, 16), chunk("data", Bytes(7, 1))}), Status::Ok, 2, 16, 11025, 4},
        {"empty data", riff({fmt(1, 8000, 8), chunk("data", {})}), Status::Ok, 1, 8, 8000, 0},
        {"18-byte fmt", riff({fmtLong, chunk("data", Bytes(5, 1))}), Status::Ok, 1, 8, 8000, 5},
        {"RIFF size zero", riffSizeZero, Status::Ok, 1, 8, 8000, 4},
        {"tag after data", riff({fmt(1, 8000, 8), chunk("data", Bytes(2, 1)), chunk("junk", {}, 0xFFFFFFF0u)}),
         Status::Ok, 1, 8, 8000, 2},
        {"empty file", {}, Status::NotWave, 0, 0, 0, 0},
        {"text", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e', ' ', 'f', 'i', 'l', 'e'}, Status::NotWave, 0, 0, 0, 0},
        {"other RIFF form", riff({fmt(1, 8000, 8), chunk("data", data16)}, "AVI "), Status::NotWave, 0, 0, 0, 0},
        {"no fmt", riff({chunk("data", data16)}), Status::NotWave, 0, 0, 0, 0},
        {"no data", riff({fmt(1, 8000, 8)}), Status::NotWave, 0, 0, 0, 0},
        {"float", riff({fmt(1, 8000, 32, 3), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"extensible", riff({fmt(2, 8000, 16, 0xFFFE), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"24-bit", riff({fmt(1, 8000, 24), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"3 channels", riff({fmt(3, 8000, 16), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"0 channels", riff({fmt(0, 8000, 16), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"rate too low", riff({fmt(1, 999, 8), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"rate too high", riff({fmt(1, 384001, 8), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"bad block align", riff({fmt(2, 8000, 16, 1, 2), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"short fmt", riff({chunk("fmt ", Bytes(14, 1)), chunk("data", data16)}), Status::Unsupported, 0, 0, 0, 0},
        {"huge data size", riff({fmt(1, 8000, 8), chunk("data", data16, 0xFFFFFFFFu)}), Status::Truncated, 0, 0, 0, 0},
        {"huge fmt size", riff({chunk("fmt ", Bytes(16, 1), 0x7FFFFFFFu)}), Status::Truncated, 0, 0, 0, 0},
        {"huge chunk before data", riff({fmt(1, 8000, 8), chunk("LIST", {}, 0x80000000u), chunk("data", data16)}),
         Status::Truncated, 0, 0, 0, 0},
        {"cut in the data", cut, Status::Truncated, 0, 0, 0, 0},
    };
    // One reader for all: a failure must leave nothing of the previous file.
    TempDir dir;
    wince::WavFile wav;
    for (const Case& c : cases) {
        ASSERT_EQ(wav.load(dir.file("case.wav", c.content)), c.status) << c.name;
        EXPECT_EQ(wav.channels(), c.channels) << c.name;
        EXPECT_EQ(wav.bitsPerSample(), c.bits) << c.name;
        EXPECT_EQ(wav.sampleRate(), c.rate) << c.name;
        EXPECT_EQ(wav.samples().size(), c.sampleBytes) << c.name;
    }
}

TEST(SoundWavFile, RefusesFoldersAndPipesWithoutBlocking)
{
    TempDir dir;
    const std::string fifo = dir.path() + "/pipe.wav";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    wince::WavFile wav;
    EXPECT_EQ(wav.load(dir.path() + "/missing.wav"), Status::Unreadable);
    EXPECT_EQ(wav.load(dir.path()), Status::Unreadable);
    EXPECT_EQ(wav.load(fifo), Status::Unreadable);
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

TEST_F(PlaySound, ReturnsAtOnceAndPlaysUntilTheEnd)
{
    const auto start = std::chrono::steady_clock::now();
    const std::string path = play("long.wav", m_long);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(wince::test::soundPlaying(), path);

    play("short.wav", pcm(1, 8000, 8, 800));
    EXPECT_TRUE(endsWithin(std::chrono::seconds(5)));
}

TEST_F(PlaySound, SecondCallReplacesTheFirstAndNullStops)
{
    play("first.wav", m_long);
    const std::string second = play("second.wav", pcm(1, 22050, 16, 3 * 22050));
    EXPECT_EQ(wince::test::soundPlaying(), second);
    EXPECT_EQ(PlaySoundW(nullptr, nullptr, 0), TRUE);
    EXPECT_EQ(wince::test::soundPlaying(), "");
    EXPECT_EQ(PlaySoundW(nullptr, nullptr, 0), TRUE);
}

TEST_F(PlaySound, BadFilesGiveFalseAndStopWhatPlays)
{
    Bytes cut = m_long;
    cut.resize(cut.size() / 3);
    const std::string missing = m_dir.path() + "/missing.wav";
    const std::string text = m_dir.file("text.wav", Bytes(100, 'x'));
    const std::string truncated = m_dir.file("cut.wav", cut);
    const std::string stereo24 = m_dir.file("24.wav", riff({fmt(2, 8000, 24), chunk("data", Bytes(60, 0))}));
    for (const std::string& bad : {missing, text, truncated, stereo24, m_dir.path(), std::string()}) {
        play("long.wav", m_long);
        EXPECT_EQ(PlaySoundW(widen(bad).c_str(), nullptr, SND_ASYNC), FALSE) << bad;
        EXPECT_EQ(wince::test::soundPlaying(), "") << bad;
    }
}

TEST_F(PlaySound, UnknownFlagsChangeNothing)
{
    const std::string path = play("long.wav", m_long);
    const std::string other = m_dir.file("other.wav", m_long);
    EXPECT_EQ(PlaySoundW(widen(other).c_str(), nullptr, SND_ASYNC | 0x0004), FALSE);
    EXPECT_EQ(wince::test::soundPlaying(), path);
}

TEST_F(PlaySound, WithoutAsyncReturnsWhenTheSoundHasEnded)
{
    const std::string path = m_dir.file("short.wav", pcm(1, 11025, 16, 11025 / 5));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PlaySoundW(widen(path).c_str(), nullptr, SND_SYNC | SND_FILENAME), TRUE);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(wince::test::soundPlaying(), "");
}

TEST_F(PlaySound, LongPathsAndBackslashes)
{
    const std::string deep = "a-folder-with-a-long-name/another-folder-with-a-long-name/and-a-third-one/x.wav";
    const std::string path = play(deep, m_long);
    ASSERT_GT(path.size(), 100u);
    EXPECT_EQ(wince::test::soundPlaying(), path);

    std::u16string windows = widen(path);
    for (char16_t& unit : windows)
        unit = unit == u'/' ? u'\\' : unit;
    EXPECT_EQ(PlaySoundW(nullptr, nullptr, 0), TRUE);
    EXPECT_EQ(PlaySoundW(windows.c_str(), nullptr, SND_ASYNC | SND_FILENAME), TRUE);
    EXPECT_EQ(wince::test::soundPlaying(), path);
}

TEST_F(PlaySound, NarrowsEngineWidenedBytesAndUtf16)
{
    const std::string latin = m_dir.file("caf\xC3\xA9.wav", m_long);
    for (bool signExtend : {false, true}) {
        EXPECT_EQ(PlaySoundW(widen(latin, signExtend).c_str(), nullptr, SND_ASYNC), TRUE) << signExtend;
        EXPECT_EQ(wince::test::soundPlaying(), latin) << signExtend;
    }
    const std::string beyond = m_dir.file("\xD0\xB6\xF0\x9F\x98\x80.wav", m_long);
    EXPECT_EQ(PlaySoundW((widen(m_dir.path()) + u"/\u0436\U0001F600.wav").c_str(), nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(wince::test::soundPlaying(), beyond);
    EXPECT_EQ(PlaySoundW((widen(m_dir.path()) + u"/\xD83D.wav").c_str(), nullptr, SND_ASYNC), FALSE);
    EXPECT_EQ(wince::test::soundPlaying(), "");
}

TEST(PlaySoundWithoutDevice, ReturnsFalseAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const std::string path = dir.file("a.wav", pcm(1, 8000, 8, 8000));
    // The child leaves through exit, which skips the folder's destructor.
    auto run = [&dir, &path] {
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        const bool ok = PlaySoundW(widen(path).c_str(), nullptr, SND_ASYNC) == FALSE &&
                        PlaySoundW(widen(path).c_str(), nullptr, SND_ASYNC) == FALSE &&
                        PlaySoundW(nullptr, nullptr, 0) == TRUE && wince::test::soundPlaying().empty();
        fs::remove_all(dir.path());
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
    const Bytes stereo = pcm(2, 44100, 16, 44100 / 5);
    Bytes mono = pcm(1, 44100, 8, 44100 / 5);
    for (std::size_t i = 44; i < mono.size(); ++i)
        mono[i] = static_cast<std::uint8_t>(i % 2 == 0 ? 0xC0 : 0x40);
    auto run = [&dir, &stereo, &mono](bool eightBit) {
        const std::string output = dir.path() + "/device.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        const std::string path = dir.file("a.wav", eightBit ? mono : stereo);
        bool ok = PlaySoundW(widen(path).c_str(), nullptr, SND_SYNC) == TRUE;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::ifstream file(output, std::ios::binary);
        const Bytes out{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        std::size_t start = 0; // silence may come before the sound
        while (start + 4 <= out.size() && out[start] == 0 && out[start + 1] == 0)
            start += 2;
        const std::size_t frames = 44100 / 5;
        ok = ok && out.size() >= start + frames * 4;
        for (std::size_t f = 0; ok && f < frames; ++f) {
            const auto sample = [&](std::size_t i) {
                return static_cast<std::int16_t>(out[start + i] | out[start + i + 1] << 8);
            };
            if (eightBit) {
                const int expected = (mono[44 + f] - 128) * 256;
                ok = sample(4 * f) == sample(4 * f + 2) && std::abs(sample(4 * f) - expected) <= 256;
            } else {
                ok = std::equal(out.begin() + static_cast<long>(start + 4 * f),
                                out.begin() + static_cast<long>(start + 4 * f + 4),
                                stereo.begin() + static_cast<long>(44 + 4 * f));
            }
        }
        fs::remove_all(dir.path());
        std::exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(run(false), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(run(true), testing::ExitedWithCode(0), "");
}
