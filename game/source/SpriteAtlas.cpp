#include "SpriteAtlas.h"

#include "core/Debug.h"
#include "core/MemoryManager.h"
#include "render/Image2D.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace game {

namespace {

constexpr int kBytesPerPixel = 4;
constexpr int kShadowShades = 30;

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

struct AtlasSize {
    int width;
    int height;
};

// Cells stand apart (twice the sheet's width and height) and the shadows
// take a second such half below.
AtlasSize atlasSizeOf(const render::Image2D& sheet)
{
    return {2 * sheet.getWidth(), 4 * sheet.getHeight()};
}

} // namespace

void checkSpriteSheet(const render::Image2D& sheet)
{
    if (sheet.getFormat() != render::Image2D::RGBA || sheet.getPalette() != nullptr ||
        sheet.getHeight() != kSheetHeight || sheet.getWidth() < kMinSheetWidth || !isPowerOfTwo(sheet.getWidth())) {
        core::Debug::printf(core::Debug::LEVEL_ERROR,
                            "GameLevel: the sprite sheet must be an RGBA image %d pixels high and a power of two, "
                            "at least %d, wide\n",
                            kSheetHeight, kMinSheetWidth);
        VORNIC3D_CHECK(false);
    }
    // A wide sheet's atlas would end in the pool's own assertion.
    const AtlasSize atlas = atlasSizeOf(sheet);
    const std::int64_t atlasBytes = std::int64_t{kBytesPerPixel} * atlas.width * atlas.height;
    if (!core::MemoryManager::getMemoryInfo()->canHold(atlasBytes)) {
        core::Debug::printf(core::Debug::LEVEL_ERROR,
                            "GameLevel: the sprite sheet is too wide: its atlas of %d x %d pixels does not fit in "
                            "the memory pool\n",
                            atlas.width, atlas.height);
        VORNIC3D_CHECK(false);
    }
}

core::Ref<render::Image2D> createAtlas(const render::Image2D& sheet)
{
    const AtlasSize size = atlasSizeOf(sheet);
    core::Ref<render::Image2D> atlas = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, size.width, size.height);
    VORNIC3D_CHECK(atlas != nullptr);
    return atlas;
}

void copyCellToAtlas(const render::Image2D& sheet, render::Image2D& atlas, int cellX, int cellY, int width, int height)
{
    const int sheetWidth = sheet.getWidth();
    const int sheetHeight = sheet.getHeight();
    VORNIC3D_CHECK(cellX >= 0 && cellY >= 0 && width > 0 && height > 0);
    VORNIC3D_CHECK(cellX <= sheetWidth - width && cellY <= sheetHeight - height);
    const int atlasWidth = atlas.getWidth();
    const AtlasSize size = atlasSizeOf(sheet);
    VORNIC3D_CHECK(atlas.isMutable() && atlasWidth == size.width && atlas.getHeight() == size.height);

    const unsigned char* source = sheet.getPixels();
    unsigned char* target = atlas.getPixels();
    for (int j = 0; j < height; ++j)
        std::memcpy(target + kBytesPerPixel * (atlasWidth * (2 * cellY + j + 1) + 2 * cellX + 1),
                    source + kBytesPerPixel * ((cellY + j) * sheetWidth + cellX), kBytesPerPixel * width);
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            const unsigned char* from = source + kBytesPerPixel * ((cellY + j) * sheetWidth + cellX + i);
            unsigned char* to =
                target + kBytesPerPixel * (atlasWidth * (2 * sheetHeight + 2 * cellY + j + 1) + 2 * cellX + i + 1);
            const int shade = std::rand() % kShadowShades;
            to[0] = static_cast<unsigned char>(shade);
            to[1] = static_cast<unsigned char>(shade);
            to[2] = static_cast<unsigned char>(3 * shade);
            to[3] = static_cast<unsigned char>(static_cast<float>(from[3]) * (1.0f / 3.0f));
        }
    }
}

} // namespace game
