#pragma once

#include <string>

namespace media {

// Writes "sprites.png": the RGBA 256 x 256 sheet with every picture of the
// game's levels and overlays at the cell the game crops it from. Cells:
//   row 0   (y 0):   player, block, star, arrow, lift, walker, crackable and
//                    cracked block, each 32 x 32, from x 0 in steps of 32
//   y 32:   thin platform end (0, 32 x 16), spring bar (32, 64 x 16), marker
//           (96, 32 x 32), timed platform (128, 64 x 32), brake block (192),
//           the pusher's three frames (224; 32 x 8 at y 32, 40 and 48)
//   y 48:   swinging bar (0, 96 x 16)
//   y 64:   HUD band (0, 256 x 32)
//   y 96:   moving bar (0, 64 x 16), turning bar (64, 192 x 16)
//   y 112:  beam (0, 32 x 64), crate (32), barrier (64), ledge (96, 64 x 16),
//           long block (160, 96 x 32)
//   y 144:  key (32), door (64, 32 x 64), block in a row (96), in a column
//           (128), at a corner (160), thin platform middle (192, 32 x 16)
//   y 160:  thin platform alone (192, 32 x 16)
// Everything outside the cells is transparent.
void writeSpriteSheet(const std::string& folder);

} // namespace media
