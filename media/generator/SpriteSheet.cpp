#include "SpriteSheet.h"

#include "PngWriter.h"
#include "SheetCells.h"

#include <functional>

namespace media {

namespace {

constexpr int kSheetSize = 256;

struct CellPicture {
    int x, y, w, h;
    std::function<void(Cell&)> draw;
};

const std::vector<CellPicture>& cellPictures()
{
    static const std::vector<CellPicture> cells = {
        {0, 0, 32, 32, drawPlayer},
        {32, 0, 32, 32, drawBlock},
        {64, 0, 32, 32, drawStar},
        {96, 0, 32, 32, drawArrow},
        {128, 0, 32, 32, drawLift},
        {160, 0, 32, 32, drawWalker},
        {192, 0, 32, 32, drawCrackable},
        {224, 0, 32, 32, drawCracked},
        {0, 32, 32, 16, drawPlatformEnd},
        {32, 32, 64, 16, drawSpringBar},
        {96, 32, 32, 32, drawMarker},
        {128, 32, 64, 32, drawTimedPlatform},
        {192, 32, 32, 32, drawBrake},
        {224, 32, 32, 8, [](Cell& cell) { drawPusher(cell, 0); }},
        {224, 40, 32, 8, [](Cell& cell) { drawPusher(cell, 1); }},
        {224, 48, 32, 8, [](Cell& cell) { drawPusher(cell, 2); }},
        {0, 48, 96, 16, drawSwingBar},
        {0, 64, 256, 32, drawHudBand},
        {0, 96, 64, 16, drawMovingBar},
        {64, 96, 192, 16, drawTurningBar},
        {0, 112, 32, 64, drawBeam},
        {32, 112, 32, 32, drawCrate},
        {64, 112, 32, 32, drawBarrier},
        {96, 112, 64, 16, drawLedge},
        {160, 112, 96, 32, drawLongBlock},
        {32, 144, 32, 32, drawKey},
        {64, 144, 32, 64, drawDoor},
        {96, 144, 32, 32, drawBlockRow},
        {128, 144, 32, 32, drawBlockColumn},
        {160, 144, 32, 32, drawBlockCorner},
        {192, 144, 32, 16, drawPlatformMiddle},
        {192, 160, 32, 16, drawPlatformAlone},
    };
    return cells;
}

} // namespace

void writeSpriteSheet(const std::string& folder)
{
    Canvas canvas(kSheetSize, kSheetSize);
    for (const CellPicture& picture : cellPictures()) {
        canvas.setClip(picture.x, picture.y, picture.x + picture.w, picture.y + picture.h);
        // Seeded by the cell's place: each picture has its own sequence.
        Cell cell{canvas,
                  static_cast<float>(picture.x),
                  static_cast<float>(picture.y),
                  static_cast<float>(picture.w),
                  static_cast<float>(picture.h),
                  Random(static_cast<std::uint32_t>(picture.x * 977 + picture.y * 131 + 7))};
        picture.draw(cell);
    }
    writePng(folder, "sprites.png", kSheetSize, kSheetSize, 4, canvas.toRgba());
}

} // namespace media
