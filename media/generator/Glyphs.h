#pragma once

#include "Canvas.h"

#include <string>

namespace media {

// The characters the game's fonts hold, in the order of their cells: every
// character the game draws (capitals, digits, space, ':', '.', '/', '-').
// The space is not first, since a font description skips a leading space.
extern const char kFontCharacters[];

// How a character is drawn: white-ish strokes of a drawn line font with a
// dark rim, inside a box of the picture. The picture may be shown stretched
// sideways (a font cell drawn wider than it is); strokes are measured on the
// screen, so they keep their thickness there.
struct GlyphStyle {
    float strokeRadius; // screen pixels
    float rim;          // screen pixels of dark rim around the stroke
    Rgba top;           // stroke colour at the box top ...
    Rgba bottom;        // ... and at its bottom
    Rgba rimColour;
    float stretchX; // how much wider the picture is shown than drawn
};

// Draws `c` so that its strokes and rim fill the box [x0, x1) x [y0, y1);
// nothing for the space. Throws std::runtime_error for a character not in
// kFontCharacters.
void drawGlyph(Canvas& canvas, char c, float x0, float y0, float x1, float y1, const GlyphStyle& style);

// Draws `text` in equal cells of `cellWidth` from x0, the glyphs filling
// [y0, y1); the space leaves its cell empty.
void drawText(Canvas& canvas, const std::string& text, float x0, float y0, float y1, float cellWidth,
              const GlyphStyle& style);

} // namespace media
