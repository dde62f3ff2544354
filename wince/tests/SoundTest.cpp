#include "wince/Sound.h"
#include "wince/SoundTestApi.h"

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

// Format tags.
constexpr std::uint16_t pcmTag = 1;
constexpr std::uint16_t floatTag = 3;
constexpr std::uint16_t aLawTag = 6;
constexpr std::uint16_t muLawTag = 7;
constexpr std::uint16_t imaAdpcmTag = 0x11;
constexpr std::uint16_t mpegTag = 0x55;

// A "fmt " chunk; `extension` (after its size) only when given.
Bytes fmt(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint16_t tag = pcmTag,
          int blockAlign = -1, const Bytes* extension = nullptr)
{
    const auto align = static_cast<std::uint16_t>(blockAlign >= 0 ? blockAlign : channels * bits / 8);
    Bytes body;
    put(body, tag);
    put(body, channels);
    put(body, rate);
    put(body, static_cast<std::uint32_t>(rate * align));
    put(body, align);
    put(body, bits);
    if (extension != nullptr) {
        put(body, static_cast<std::uint16_t>(extension->size()));
        body.insert(body.end(), extension->begin(), extension->end());
    }
    return chunk("fmt ", body);
}

Bytes riff(const std::vector<Bytes>& chunks)
{
    Bytes body{'W', 'A', 'V', 'E'};
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

// Mono IMA ADPCM of 65 frames a block. Each block holds only its first
// sample (the block's number times 100, less 5000) and zero steps, which
// with step index 0 repeat it, so the block decodes to 65 equal samples.
constexpr std::size_t imaBlockAlign = 36;
constexpr std::uint16_t imaFramesPerBlock = 65;

std::int16_t imaBlockSample(std::size_t block)
{
    return static_cast<std::int16_t>(static_cast<int>(block) * 100 - 5000);
}

Bytes imaAdpcm(std::uint32_t rate, std::size_t blocks, std::size_t extraBytes = 0)
{
    Bytes extension;
    put(extension, imaFramesPerBlock);
    Bytes data;
    for (std::size_t block = 0; block < blocks; ++block) {
        put(data, imaBlockSample(block));
        data.resize(data.size() + imaBlockAlign - sizeof(std::int16_t), 0);
    }
    data.resize(data.size() + extraBytes, 0);
    return riff({fmt(1, rate, 4, imaAdpcmTag, imaBlockAlign, &extension), chunk("data", data)});
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

// The three-second sound still plays when the call has returned.
TEST_F(PlaySound, PlaysInTheBackgroundUntilTheEndOrTheNextCallOrAStop)
{
    EXPECT_EQ(waveOutGetNumDevs(), 1u);
    const std::string path = play("long.wav", m_long);
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

TEST_F(PlaySound, PlaysEveryFormatSdlDecodes)
{
    // One second of each, silence or near it.
    const struct {
        const char* name;
        Bytes content;
    } cases[] = {
        {"24-bit PCM", riff({fmt(2, 8000, 24), chunk("data", Bytes(8000 * 6, 0))})},
        {"IEEE float", riff({fmt(1, 22050, 32, floatTag), chunk("data", Bytes(22050 * 4, 0))})},
        {"A-law", riff({fmt(1, 8000, 8, aLawTag), chunk("data", Bytes(8000, 0xD5))})},
        {"mu-law", riff({fmt(1, 8000, 8, muLawTag), chunk("data", Bytes(8000, 0xFF))})},
        {"the highest rate", riff({fmt(1, 384000, 8), chunk("data", Bytes(384000, 0x80))})},
        {"the lowest rate", riff({fmt(1, 1, 8), chunk("data", Bytes(2, 0x80))})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = play("format.wav", c.content);
        EXPECT_EQ(wince::test::soundPlaying(), path);
    }
}

TEST_F(PlaySound, BadFilesGiveFalseAtOnceAndStopWhatPlays)
{
    const std::string pipe = m_dir.path() + "/pipe.wav";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0); // opening it must not block
    Bytes cut = pcm(2, 44100, 16, 100);
    cut.resize(cut.size() / 2);
    const std::string bad[] = {
        m_dir.path() + "/missing.wav",
        m_dir.file("cut.wav", cut),
        m_dir.file("partial-block.wav", imaAdpcm(8000, 2, imaBlockAlign / 2)),
        m_dir.file("mpeg.wav", riff({fmt(1, 8000, 0, mpegTag, 1), chunk("data", Bytes(100, 0))})),
        m_dir.file("no-data.wav", riff({fmt(1, 8000, 8)})),
        // 48 bytes: a rate no sound card plays, which SDL's resampler can not size.
        m_dir.file("5-MHz.wav", riff({fmt(1, 5000000, 8), chunk("data", Bytes(4, 0))})),
        m_dir.file("384001-Hz.wav", riff({fmt(1, 384001, 8), chunk("data", Bytes(4, 0))})),
        m_dir.file("0-Hz.wav", riff({fmt(1, 0, 8), chunk("data", Bytes(4, 0))})),
        m_dir.path(),
        pipe,
        "",
    };
    for (const std::string& path : bad) {
        SCOPED_TRACE(path);
        play("long.wav", m_long);
        EXPECT_EQ(PlaySoundW(widen(path).c_str(), nullptr, SND_ASYNC), FALSE);
        EXPECT_EQ(wince::test::soundPlaying(), "");
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
// Without a device the calls return FALSE at once, no device is counted,
// and the standard error stays clean of what the audio back end has to say
// (ALSA's library writes a line of its own for a card that is not there).
TEST(PlaySoundWithoutDevice, ReturnsFalseAtOnceAndQuietly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const std::u16string path = widen(dir.file("a.wav", pcm(1, 8000, 8, 8000)));
    const struct {
        const char* driver;
        const char* device;
    } cases[] = {
        {"no-such-driver", ""},
        {"alsa", "hw:CARD=NoSuchCard"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.driver);
        auto run = [&] {
            setenv("SDL_AUDIODRIVER", c.driver, 1);
            setenv("AUDIODEV", c.device, 1);
            const bool ok = PlaySoundW(path.c_str(), nullptr, SND_ASYNC) == FALSE &&
                            PlaySoundW(path.c_str(), nullptr, SND_ASYNC) == FALSE && waveOutGetNumDevs() == 0 &&
                            PlaySoundW(nullptr, nullptr, 0) == TRUE && wince::test::soundPlaying().empty();
            dir.remove();
            std::exit(ok ? 0 : 1);
        };
        EXPECT_EXIT(run(), testing::ExitedWithCode(0), "^$");
    }
}

// SDL's disk driver writes what reaches the device to a file: IMA ADPCM
// samples must arrive decoded and unchanged in the device's format, 16-bit
// stereo at 44100 frames a second, the mono widened to both channels.
TEST(PlaySoundToDisk, DeliversTheSamples)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const std::size_t blocks = 44100 / 5 / imaFramesPerBlock + 1;
    Bytes delivered;
    for (std::size_t block = 0; block < blocks; ++block)
        for (int sample = 0; sample < 2 * imaFramesPerBlock; ++sample)
            put(delivered, imaBlockSample(block));
    auto run = [&] {
        const std::string output = dir.path() + "/device.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        const auto begin = std::chrono::steady_clock::now();
        // Without SND_ASYNC the call returns when the sound (200 ms) has ended.
        bool ok = PlaySoundW(widen(dir.file("a.wav", imaAdpcm(44100, blocks))).c_str(), nullptr, SND_SYNC) == TRUE &&
                  std::chrono::steady_clock::now() - begin >= std::chrono::milliseconds(150);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::ifstream file(output, std::ios::binary);
        const Bytes out{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        // Silence may come before the sound.
        ok = ok && std::search(out.begin(), out.end(), delivered.begin(), delivered.end()) != out.end();
        dir.remove();
        std::exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
}
