#include "GameMediaTest.h"
#include "LevelMap.h"
#include "OutputFile.h"
#include "TempFolder.h"

#include "render/Image2D.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
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

class MediaFilesTest : public mediatest::GameMediaTest {};

// The generated files of a folder: all but the sources beside the media.
std::set<std::string> filesIn(const std::string& folder)
{
    const std::set<std::string> sources = {"CMakeLists.txt", "README.md", "generator", "levels", "tests"};
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (sources.count(entry.path().filename().string()) == 0)
            names.insert(entry.path().filename().string());
    return names;
}

// Runs the generator into `output`; its exit status.
int runGenerator(const std::string& output)
{
    const std::string program = VORNIC3D_MEDIA_GENERATOR;
    const std::string levels = mediatest::mediaFolder() + "/levels";
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(levels.c_str()),
                    const_cast<char*>(output.c_str()), nullptr};
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0 ||
        waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

// The committed media are exactly what the generator makes now: images by
// their decoded pixels through the engine's loader (a zlib that compresses
// differently does not fail the check), every other file byte for byte.
// Every file of the list is made, and nothing else; a folder it cannot write
// fails the generator. Images are RGB or RGBA as listed, textures at their
// listed size; level images are their text maps, one pixel a cell, the tile
// code in the red byte.
TEST_F(MediaFilesTest, GeneratorRemakesTheCommittedMediaAsListed)
{
    const std::vector<media::LevelMap> maps = media::readLevelMaps(mediatest::mediaFolder() + "/levels");
    const testsupport::TempFolder output;
    ASSERT_EQ(0, runGenerator(output.folder()));
    const std::set<std::string> made = filesIn(output.folder());
    EXPECT_EQ(made, filesIn(mediatest::mediaFolder())) << "stale or missing media: run the generator";
    std::set<std::string> listed;
    for (const MediaFile& file : mediatest::mediaFiles())
        listed.insert(file.name);
    EXPECT_EQ(listed, made);

    for (const MediaFile& file : mediatest::mediaFiles()) {
        const std::string& name = file.name;
        SCOPED_TRACE(name);
        const std::string committed = mediatest::mediaFolder() + "/" + name;
        if (file.kind != MediaKind::Texture && file.kind != MediaKind::LevelImage) {
            EXPECT_TRUE(media::readInputFile(committed) == media::readInputFile(output.at(name))) << "bytes differ";
            continue;
        }
        const core::Ref<render::Image2D> a = loadImage(core::String(committed.c_str()));
        const core::Ref<render::Image2D> b = loadImage(core::String(output.at(name).c_str()));
        ASSERT_TRUE(a != nullptr && b != nullptr);
        const auto shape = [](const render::Image2D& i) {
            return std::vector<int>{i.getFormat(), i.getWidth(), i.getHeight()};
        };
        ASSERT_EQ(shape(*a), shape(*b));
        const int size = a->getWidth() * a->getHeight() * render::Image2D::getBpp(a->getFormat());
        EXPECT_TRUE(std::equal(a->getPixels(), a->getPixels() + size, b->getPixels())) << "pixels differ";

        EXPECT_EQ(a->getFormat(), file.channels == 4 ? render::Image2D::RGBA : render::Image2D::RGB);
        if (file.kind == MediaKind::Texture) {
            EXPECT_EQ(std::pair(a->getWidth(), a->getHeight()), std::pair(file.width, file.height));
            continue;
        }
        const auto map =
            std::find_if(maps.begin(), maps.end(), [&](const media::LevelMap& m) { return m.name + ".png" == name; });
        ASSERT_NE(map, maps.end());
        ASSERT_EQ(std::pair(a->getWidth(), a->getHeight()), std::pair(map->width, map->height));
        for (int y = 0; y < map->height; ++y)
            for (int x = 0; x < map->width; ++x) {
                ASSERT_EQ(map->code(x, y), mediatest::sample(*a, x, y, 0)) << "cell (" << x << ", " << y << ")";
                ASSERT_EQ(0, mediatest::sample(*a, x, y, 1) + mediatest::sample(*a, x, y, 2));
            }
    }
    EXPECT_EQ(1, runGenerator(output.at("no/such/folder")));
}

// Mono 16-bit PCM at 22,050 Hz, decoded by SDL as the stand-in's sound player
// decodes them, with a correct RIFF size; the theme and the menu tap at most
// four seconds, the others under one; none silent.
TEST_F(MediaFilesTest, SoundsAreShortPcmWaves)
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
        EXPECT_EQ((std::vector<int>{1, AUDIO_S16LSB, 22050}),
                  (std::vector<int>{spec.channels, spec.format, spec.freq}));

        const std::vector<std::uint8_t> bytes = media::readInputFile(path);
        const std::uint32_t riffSize =
            bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::uint32_t>(bytes[7]) << 24;
        EXPECT_EQ(bytes.size() - 8, riffSize);

        const double seconds = static_cast<double>(samples.size()) / 22050;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, file.name == "theme.wav" || file.name == "menu.wav" ? 4.0 : 1.0);
        int loudest = 0;
        for (std::int16_t sample : samples)
            loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
        EXPECT_GT(loudest, 8000);
    }
}
