#include "Glyphs.h"

#include "Shapes.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <vector>

namespace media {

const char kFontCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789:./-";

namespace {

using Strokes = std::vector<std::vector<Point>>;

constexpr float kGridWidth = 4.0f;
constexpr float kGridHeight = 6.0f;

// ---- the line font ------------------------------------------------------------------
//
// Chamfered capitals on a 4 x 6 grid: straight strokes with cut corners read
// well at the sizes the HUD uses (a few pixels wide) and scale up cleanly.

const std::vector<Point> kRoundBox = {{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}};

const std::map<char, Strokes>& glyphTable()
{
    static const std::map<char, Strokes> table = {
        {'A', {{{0, 6}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 6}}, {{0, 3.5f}, {4, 3.5f}}}},
        {'B', {{{0, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}}}},
        {'C', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}}}},
        {'D', {{{0, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {0, 6}, {0, 0}}}},
        {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
        {'F', {{{4, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}}},
        {'G', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3}, {2, 3}}}},
        {'H', {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}}},
        {'I', {{{1, 0}, {3, 0}}, {{2, 0}, {2, 6}}, {{1, 6}, {3, 6}}}},
        {'J', {{{4, 0}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
        {'K', {{{0, 0}, {0, 6}}, {{4, 0}, {1, 3}, {0, 3}}, {{1, 3}, {4, 6}}}},
        {'L', {{{0, 0}, {0, 6}, {4, 6}}}},
        {'M', {{{0, 6}, {0, 0}, {2, 3}, {4, 0}, {4, 6}}}},
        {'N', {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}},
        {'O', {kRoundBox}},
        {'P', {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}}},
        {'Q', {kRoundBox, {{2.5f, 4.5f}, {4, 6}}}},
        {'R', {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}, {{2, 3}, {4, 6}}}},
        {'S', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
        {'T', {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
        {'U', {{{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}}}},
        {'V', {{{0, 0}, {0, 3}, {2, 6}, {4, 3}, {4, 0}}}},
        {'W', {{{0, 0}, {0, 6}, {2, 4}, {4, 6}, {4, 0}}}},
        {'X', {{{0, 0}, {0, 1}, {4, 5}, {4, 6}}, {{4, 0}, {4, 1}, {0, 5}, {0, 6}}}},
        {'Y', {{{0, 0}, {0, 1}, {2, 3}, {4, 1}, {4, 0}}, {{2, 3}, {2, 6}}}},
        {'Z', {{{0, 0}, {4, 0}, {4, 1}, {0, 5}, {0, 6}, {4, 6}}}},
        {' ', {}},
        {'0', {kRoundBox, {{3, 1.5f}, {1, 4.5f}}}},
        {'1', {{{1, 1}, {2, 0}, {2, 6}}, {{1, 6}, {3, 6}}}},
        {'2', {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {0, 6}, {4, 6}}}},
        {'3',
         {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}, {{1, 3}, {3, 3}}}},
        {'4', {{{3, 6}, {3, 0}, {0, 4}, {4, 4}}}},
        {'5', {{{4, 0}, {0, 0}, {0, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {0, 6}}}},
        {'6', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}, {0, 3}}}},
        {'7', {{{0, 0}, {4, 0}, {4, 1}, {1, 6}}}},
        {'8',
         {{{1, 3},
           {0, 2},
           {0, 1},
           {1, 0},
           {3, 0},
           {4, 1},
           {4, 2},
           {3, 3},
           {1, 3},
           {0, 4},
           {0, 5},
           {1, 6},
           {3, 6},
           {4, 5},
           {4, 4},
           {3, 3}}}},
        {'9', {{{0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 3}, {4, 3}}}},
        {':', {{{2, 1.5f}}, {{2, 4.5f}}}},
        {'.', {{{2, 5.7f}}}},
        {'/', {{{4, 0}, {0, 6}}}},
        {'-', {{{0.8f, 3}, {3.2f, 3}}}},
    };
    return table;
}

// The strokes of `c` on the grid (y down); a stroke of one point is a dot.
const Strokes& glyphStrokes(char c)
{
    const auto& table = glyphTable();
    const auto found = table.find(c);
    if (found == table.end())
        throw std::runtime_error(std::string("no glyph for the character '") + c + "'");
    return found->second;
}

// A stroke of the glyph in screen space, tested at picture coordinates: the
// picture's x is stretched about the box's left edge before the test.
Shape stretched(Shape screenShape, float originX, float stretchX, float y0, float y1)
{
    Shape shape;
    shape.x0 = originX + (screenShape.x0 - originX) / stretchX;
    shape.x1 = originX + (screenShape.x1 - originX) / stretchX;
    shape.y0 = std::max(y0, screenShape.y0);
    shape.y1 = std::min(y1, screenShape.y1);
    shape.contains = [inner = std::move(screenShape.contains), originX, stretchX](float x, float y) {
        return inner(originX + (x - originX) * stretchX, y);
    };
    return shape;
}

// The union of the glyph's strokes, thickened by `radius`, in screen space.
Shape glyphShape(const Strokes& strokes, float left, float top, float unitX, float unitY, float radius)
{
    Shape shape;
    for (const std::vector<Point>& line : strokes) {
        std::vector<Point> placed;
        for (const Point& p : line)
            placed.push_back({left + p.x * unitX, top + p.y * unitY});
        // A dot is a little larger than a line's width, so it reads as one.
        Shape part = stroke(std::move(placed), line.size() == 1 ? radius * 1.25f : radius);
        shape = shape.contains ? unite(std::move(shape), std::move(part)) : std::move(part);
    }
    return shape;
}

} // namespace

// ---- drawing ------------------------------------------------------------------------

void drawGlyph(Canvas& canvas, char c, float x0, float y0, float x1, float y1, const GlyphStyle& style)
{
    const Strokes& strokes = glyphStrokes(c);
    if (strokes.empty())
        return;
    // Screen space: the box is stretchX times wider than in the picture.
    const float pad = style.strokeRadius + style.rim;
    const float screenWidth = (x1 - x0) * style.stretchX;
    const float unitX = (screenWidth - 2 * pad) / kGridWidth;
    const float unitY = (y1 - y0 - 2 * pad) / kGridHeight;
    const float left = x0 + pad;
    const float top = y0 + pad;

    const Shape rim = glyphShape(strokes, left, top, unitX, unitY, pad);
    const Shape body = glyphShape(strokes, left, top, unitX, unitY, style.strokeRadius);
    canvas.fill(stretched(rim, x0, style.stretchX, y0, y1), style.rimColour);
    canvas.fill(stretched(body, x0, style.stretchX, y0, y1),
                verticalGradient(y0 + pad, style.top, y1 - pad, style.bottom));
}

void drawText(Canvas& canvas, const std::string& text, float x0, float y0, float y1, float cellWidth,
              const GlyphStyle& style)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const float left = x0 + cellWidth * static_cast<float>(i);
        drawGlyph(canvas, text[i], left, y0, left + cellWidth, y1, style);
    }
}

} // namespace media
