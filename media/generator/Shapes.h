#pragma once

#include "Canvas.h"

#include <vector>

namespace media {

struct Point {
    float x = 0, y = 0;
};

// ---- primitive shapes (coordinates in pixels, y down) ----
Shape circle(float cx, float cy, float radius);
Shape ellipse(float cx, float cy, float rx, float ry);
Shape box(float x0, float y0, float x1, float y1);
Shape roundedBox(float x0, float y0, float x1, float y1, float radius);
// Inside by the even-odd rule; any number of corners, in either turn.
Shape polygon(std::vector<Point> corners);
// Every point within `radius` of the segment a-b (a stroke with round ends).
Shape capsule(Point a, Point b, float radius);
// Every point within `radius` of the open polyline.
Shape stroke(std::vector<Point> line, float radius);
Shape ring(float cx, float cy, float outer, float inner);
// The regular star with `points` tips, the first pointing up.
Shape star(float cx, float cy, float outer, float inner, int points);

// ---- combinations ----
Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
// `shape` turned by `degrees` (clockwise on the picture) about (cx, cy).
Shape rotate(Shape shape, float cx, float cy, float degrees);

// ---- paints ----
// c0 at y0, c1 at y1, held beyond.
Paint verticalGradient(float y0, const Rgba& c0, float y1, const Rgba& c1);
// c0 at the centre, c1 at `radius` and beyond.
Paint radialGradient(float cx, float cy, float radius, const Rgba& c0, const Rgba& c1);

} // namespace media
