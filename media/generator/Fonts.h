#pragma once

#include <string>

namespace media {

// Writes the two bitmap fonts of the game, each a description file and its
// image: "simple_font_file.txt" (the HUD's small font) and
// "simple_font_file2.txt" (the large font of menu, intro and level end).
//
// Layout of both: the image is one row of equal cells from its left edge, one
// cell per character of the description's list, in list order; its width is
// the next power of two, the cells after the last character stay empty. A
// cell is as high as the image (32 pixels); the strokes stand in its upper
// part, so lines of the HUD and of the level end that the game draws 12 to
// 32 pixels apart do not overlap. The description names the image relative
// to the executable's folder ("media/...") and has no separator colour.
void writeFonts(const std::string& folder);

} // namespace media
