#pragma once

#include "Canvas.h"
#include "Palette.h"
#include "Random.h"
#include "Shapes.h"

#include <vector>

namespace media {

// One cell of the sprite sheet being drawn: its rectangle, with the canvas
// clipped to it, and a random sequence of its own. Drawing code works in the
// cell's coordinates (0, 0 at its top-left corner) through at().
struct Cell {
    Canvas& canvas;
    float x, y, w, h;
    Random random;

    Point at(float px, float py) const { return {x + px, y + py}; }
};

// ---- shared drawing steps ----
// A block with an outline, a bevelled rim lit from the top and a flat face;
// the rectangle is in cell coordinates.
void bevelBox(Cell& cell, float x0, float y0, float x1, float y1, const Tone& tone, float radius = 3.0f);
// A polygon (cell coordinates) filled with `paint` and outlined.
void outlinedPolygon(Cell& cell, const std::vector<Point>& corners, const Paint& paint, float outline = 1.2f);
// A round-ended bar across the cell's middle, outlined, with a highlight.
void capsuleBar(Cell& cell, float x0, float x1, float cy, float radius, const Tone& tone);
// Small dark cracks from `from` in random directions.
void cracks(Cell& cell, Point from, int count, float length, float width);
// A rivet: a small lit dome.
void rivet(Cell& cell, float cx, float cy, float radius = 1.6f);

} // namespace media
