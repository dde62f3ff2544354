#pragma once

#include <string>
#include <vector>

namespace mediatest {

// Every file the game opens from its media folder, with what it must be.
// The check reads them from the committed media/ folder, by hand and through
// the engine as the game loads them.
enum class MediaKind {
    Texture,    // an image the renderer uploads: sides powers of two
    LevelImage, // a tile map, at most 32 x 32, red = tile code
    Font,       // a bitmap-font description
    Sound,      // PCM WAV
};

struct MediaFile {
    std::string name;
    MediaKind kind;
    int width = 0;    // images: exact size; 0 for level images
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

// The committed media folder, and the source files beside the media in it
// (everything else in it is generated).
std::string mediaFolder();
bool isMediaSource(const std::string& name);

} // namespace mediatest
