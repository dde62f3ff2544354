#pragma once

#include <string>

namespace media {

// Writes the play backgrounds "BG1.png", "BG2.png" and "BG3.png" (RGB
// 256 x 256, dark, repeating without a seam in both directions, since the
// game tiles and scrolls them) and the menu backdrop "tausta.png" (RGB
// 256 x 512; the menu shows its bottom screen-sized part).
void writeBackgrounds(const std::string& folder);

} // namespace media
