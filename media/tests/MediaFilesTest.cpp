#include "MediaManifest.h"
#include "OutputFile.h"
#include "PngFile.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using mediatest::MediaFile;
using mediatest::MediaKind;

std::set<std::string> filesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!mediatest::isMediaSource(name))
            names.insert(name);
    }
    return names;
}

// Runs the generator into `output`; its exit status.
int runGenerator(const fs::path& output)
{
    const std::string program = VORNIC3D_MEDIA_GENERATOR;
    const std::string levels = mediatest::mediaFolder() + "/levels";
    const std::string folder = output.string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(levels.c_str()),
                    const_cast<char*>(folder.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A folder of its own under the system's temporary folder, removed with it.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "media_check_XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

} // namespace

// ---- reproducible -------------------------------------------------------------------

// The committed media are exactly what the generator makes now. PNG files are
// compared by chunk list and decoded pixels rather than bytes, so a zlib that
// compresses differently does not fail the check; every other file byte for
// byte. Every file of the list is made, and nothing else.
TEST(MediaFilesTest, GeneratorRemakesTheCommittedMedia)
{
    TemporaryFolder output;
    ASSERT_FALSE(output.path().empty());
    ASSERT_EQ(0, runGenerator(output.path()));

    const std::set<std::string> made = filesIn(output.path());
    EXPECT_EQ(made, filesIn(mediatest::mediaFolder())) << "stale or missing media: run the generator";
    std::set<std::string> listed;
    for (const MediaFile& file : mediatest::mediaFiles())
        listed.insert(file.name);
    EXPECT_EQ(listed, made);

    for (const std::string& name : made) {
        SCOPED_TRACE(name);
        const std::string committed = mediatest::mediaFolder() + "/" + name;
        const std::string fresh = (output.path() / name).string();
        if (fs::path(name).extension() == ".png") {
            const mediatest::PngFile a = mediatest::readPng(committed);
            const mediatest::PngFile b = mediatest::readPng(fresh);
            ASSERT_EQ("", a.error);
            ASSERT_EQ("", b.error);
            EXPECT_EQ(b.chunks, a.chunks);
            EXPECT_EQ(b.width, a.width);
            EXPECT_EQ(b.height, a.height);
            EXPECT_TRUE(b.pixels == a.pixels) << "pixels differ";
        } else if (fs::exists(committed)) {
            EXPECT_TRUE(media::readInputFile(committed) == media::readInputFile(fresh)) << "bytes differ";
        }
    }
}

TEST(MediaFilesTest, GeneratorFailsOnAFolderItCannotWrite)
{
    TemporaryFolder output;
    const fs::path missing = output.path() / "no" / "such" / "folder";
    EXPECT_EQ(1, runGenerator(missing));
}

// ---- formats ------------------------------------------------------------------------

// 8-bit, not interlaced, no chunk but IHDR, IDAT and IEND (libpng warns about
// some ancillary chunks, and a warning fails a load). Formats and sizes are
// the engine's to check (EngineLoadTest).
TEST(MediaFilesTest, ImagesAreEncodedPlainly)
{
    for (const MediaFile& file : mediatest::mediaFiles()) {
        if (file.kind != MediaKind::Texture && file.kind != MediaKind::LevelImage)
            continue;
        SCOPED_TRACE(file.name);
        const mediatest::PngFile png = mediatest::readPng(mediatest::mediaFolder() + "/" + file.name);
        ASSERT_EQ("", png.error);
        EXPECT_EQ(8, png.bitDepth);
        EXPECT_EQ(0, png.interlace);
        ASSERT_LE(3u, png.chunks.size());
        EXPECT_EQ("IHDR", png.chunks.front());
        EXPECT_EQ("IEND", png.chunks.back());
        for (std::size_t i = 1; i + 1 < png.chunks.size(); ++i)
            EXPECT_EQ("IDAT", png.chunks[i]);
    }
}

// Mono 16-bit PCM at 22,050 Hz, decoded by SDL as the stand-in's sound player
// decodes them, with a correct RIFF size; the theme and the menu tap at most
// four seconds, the others under one; none silent.
TEST(MediaFilesTest, SoundsAreShortPcmWaves)
{
    for (const MediaFile& file : mediatest::mediaFiles()) {
        if (file.kind != MediaKind::Sound)
            continue;
        SCOPED_TRACE(file.name);
        const std::string path = mediatest::mediaFolder() + "/" + file.name;
        SDL_AudioSpec spec{};
        Uint8* buffer = nullptr;
        Uint32 size = 0;
        ASSERT_NE(nullptr, SDL_LoadWAV(path.c_str(), &spec, &buffer, &size)) << SDL_GetError();
        const std::vector<std::int16_t> samples(reinterpret_cast<const std::int16_t*>(buffer),
                                                reinterpret_cast<const std::int16_t*>(buffer) + size / 2);
        SDL_FreeWAV(buffer);
        EXPECT_EQ(1, spec.channels);
        EXPECT_EQ(AUDIO_S16LSB, spec.format);
        EXPECT_EQ(22050, spec.freq);

        const std::vector<std::uint8_t> bytes = media::readInputFile(path);
        const std::uint32_t riffSize = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::uint32_t>(bytes[7]) << 24;
        EXPECT_EQ(bytes.size() - 8, riffSize);

        const double seconds = static_cast<double>(samples.size()) / 22050;
        const bool mayBeLong = file.name == "theme.wav" || file.name == "menu.wav";
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, mayBeLong ? 4.0 : 1.0);
        int loudest = 0;
        for (std::int16_t sample : samples)
            loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
        EXPECT_GT(loudest, 8000);
    }
}
