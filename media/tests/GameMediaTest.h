#pragma once

#include "OGLESTest.h"

#include "core/Ref.h"
#include "core/String.h"

#include <string>
#include <vector>

namespace render {
class Font2D;
class Image2D;
} // namespace render

namespace mediatest {

// Every file the game opens from its media folder, with what it must be.
enum class MediaKind {
    Texture,    // an image the renderer uploads: sides powers of two
    LevelImage, // a tile map, at most 32 x 32, red = tile code
    Font,       // a bitmap-font description
    Sound,      // PCM WAV
};

struct MediaFile {
    std::string name;
    MediaKind kind;
    int width = 0; // textures: exact size
    int height = 0;
    int channels = 0; // images: 3 RGB or 4 RGBA
};
const std::vector<MediaFile>& mediaFiles();

// The game's thirteen levels in their order: image file and display name.
struct LevelRow {
    std::string fileName;
    std::string displayName;
};
const std::vector<LevelRow>& levelTable();

// The committed media folder (generated files and their sources).
inline std::string mediaFolder()
{
    return VORNIC3D_MEDIA_FOLDER;
}

// The engine as the game starts it, for the media: the game's 5 MiB main
// pool and 40 KiB string pool, the real renderer with the game's switches
// (six batching buffers of 1,500 quads, no default light, no overlay) on a
// headless frame wide enough for the game's longest line of text. Images are
// decoded by the engine's loader, as the game decodes them. Every test is a
// leak test, as under the engine fixture.
class GameMediaTest : public testsupport::OGLESTest {
protected:
    static constexpr int kGameMainPoolSize = 5242880;
    static_assert(kStringPoolSize == 40960, "the engine fixture's string pool is the game's");

    GameMediaTest() : OGLESTest(288, 40) {}
    ~GameMediaTest() noexcept override {}

    void SetUp() override;
    int mainPoolSize() const override { return kGameMainPoolSize; }

    // The path the game opens: the executable's folder (where a link to the
    // committed media lies), "\media\" and the name.
    static core::String mediaPath(const char* name);
    // The first object of the file, which must be an image.
    static core::Ref<render::Image2D> loadImage(const core::String& path);
    static core::Ref<render::Font2D> loadFont(const char* name);
};

// Byte c of pixel (x, y) of a loaded image, rows from the top.
int sample(const render::Image2D& image, int x, int y, int c);

} // namespace mediatest
