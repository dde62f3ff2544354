#pragma once

#include "render/Image2D.h"

#include "core/Ref.h"

namespace render {

// The built-in font: 44 glyphs of 8 x 8 pixels (capitals, three accented
// capitals, digits, ':', '.', '-', '/' and the space), enough for the
// renderer's overlay lines. Each glyph is eight rows from the top, bit 7 the
// leftmost pixel, drawn in the top seven rows of its cell.
constexpr int kBuiltInFontGlyphCount = 44;
constexpr int kBuiltInFontCellSize = 8;
constexpr int kBuiltInFontImageWidth = 128;
constexpr int kBuiltInFontImageHeight = 32;

// The character of each cell, in cell order.
extern const unsigned short kBuiltInFontCharacters[kBuiltInFontGlyphCount];
// The rows of each cell's glyph, in cell order.
extern const unsigned char kBuiltInFontRows[kBuiltInFontGlyphCount][kBuiltInFontCellSize];

// The font's RGBA image: the cells in rows of 16 from the top left, opaque
// white on a glyph's set bits and transparent black everywhere else.
core::Ref<Image2D> createBuiltInFontImage();

} // namespace render
