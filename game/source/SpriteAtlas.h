#pragma once

#include "core/Ref.h"

namespace render {
class Image2D;
}

namespace game {

// A level's sprite atlas: every picture of a level is a cell of the sprite
// sheet, copied into an atlas of twice the sheet's width and four times its
// height, where cells stand apart (sheet pixel (x, y) lands at (2x + 1,
// 2y + 1)) with transparent pixels between them, and where the lower half
// holds a shadow of each cell (2 x sheet height rows below it): a dark,
// slightly blue copy of the cell's outline at a third of its opacity, with a
// fresh shade from the run-time library's rand for every pixel.
// Contract: the sheet is RGBA, exactly kSheetHeight high (shadows are cut 512
// rows below each picture) and a power of two at least kMinSheetWidth wide
// (the widest picture is the 256-pixel HUD band), and narrow enough for its
// atlas to fit in the main pool; checkSpriteSheet logs and throws the bare
// assertion for any other. A cell must lie wholly inside the
// sheet (bare assertion otherwise), so no read leaves the sheet and no write
// leaves the atlas.
constexpr int kSheetHeight = 256;
constexpr int kMinSheetWidth = 256;

void checkSpriteSheet(const render::Image2D& sheet);
// A blank (white, transparent) mutable RGBA atlas for the sheet.
core::Ref<render::Image2D> createAtlas(const render::Image2D& sheet);
void copyCellToAtlas(const render::Image2D& sheet, render::Image2D& atlas, int cellX, int cellY, int width, int height);

} // namespace game
