#include "Shapes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace media {

namespace {

constexpr float kPi = 3.14159265358979f;

float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

float segmentDistanceSquared(Point p, Point a, Point b)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = 0.0f;
    if (lengthSquared > 0.0f)
        t = clamp01(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared);
    const float ex = p.x - (a.x + t * dx);
    const float ey = p.y - (a.y + t * dy);
    return ex * ex + ey * ey;
}

} // namespace

// ---- primitive shapes ---------------------------------------------------------------

Shape circle(float cx, float cy, float radius)
{
    return ellipse(cx, cy, radius, radius);
}

Shape ellipse(float cx, float cy, float rx, float ry)
{
    return {cx - rx, cy - ry, cx + rx, cy + ry, [=](float x, float y) {
                const float u = (x - cx) / rx;
                const float v = (y - cy) / ry;
                return u * u + v * v <= 1.0f;
            }};
}

Shape box(float x0, float y0, float x1, float y1)
{
    return {x0, y0, x1, y1, [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }};
}

Shape roundedBox(float x0, float y0, float x1, float y1, float radius)
{
    return {x0, y0, x1, y1, [=](float x, float y) {
                if (x < x0 || x >= x1 || y < y0 || y >= y1)
                    return false;
                const float cx = std::min(std::max(x, x0 + radius), x1 - radius);
                const float cy = std::min(std::max(y, y0 + radius), y1 - radius);
                return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
            }};
}

Shape polygon(std::vector<Point> corners)
{
    Shape shape;
    shape.x0 = shape.y0 = 1e9f;
    shape.x1 = shape.y1 = -1e9f;
    for (const Point& p : corners) {
        shape.x0 = std::min(shape.x0, p.x);
        shape.y0 = std::min(shape.y0, p.y);
        shape.x1 = std::max(shape.x1, p.x);
        shape.y1 = std::max(shape.y1, p.y);
    }
    shape.contains = [corners = std::move(corners)](float x, float y) {
        bool inside = false;
        for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
            const Point& a = corners[i];
            const Point& b = corners[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
        return inside;
    };
    return shape;
}

Shape capsule(Point a, Point b, float radius)
{
    return stroke({a, b}, radius);
}

Shape stroke(std::vector<Point> line, float radius)
{
    Shape shape;
    shape.x0 = shape.y0 = 1e9f;
    shape.x1 = shape.y1 = -1e9f;
    for (const Point& p : line) {
        shape.x0 = std::min(shape.x0, p.x - radius);
        shape.y0 = std::min(shape.y0, p.y - radius);
        shape.x1 = std::max(shape.x1, p.x + radius);
        shape.y1 = std::max(shape.y1, p.y + radius);
    }
    const float limit = radius * radius;
    shape.contains = [line = std::move(line), limit](float x, float y) {
        if (line.size() == 1)
            return segmentDistanceSquared({x, y}, line[0], line[0]) <= limit;
        for (std::size_t i = 1; i < line.size(); ++i) {
            if (segmentDistanceSquared({x, y}, line[i - 1], line[i]) <= limit)
                return true;
        }
        return false;
    };
    return shape;
}

Shape ring(float cx, float cy, float outer, float inner)
{
    return subtract(circle(cx, cy, outer), circle(cx, cy, inner));
}

Shape star(float cx, float cy, float outer, float inner, int points)
{
    std::vector<Point> corners;
    for (int i = 0; i < points * 2; ++i) {
        const float angle = kPi * static_cast<float>(i) / static_cast<float>(points);
        const float r = i % 2 == 0 ? outer : inner;
        corners.push_back({cx + r * std::sin(angle), cy - r * std::cos(angle)});
    }
    return polygon(std::move(corners));
}

// ---- combinations -------------------------------------------------------------------

Shape unite(Shape a, Shape b)
{
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1),
            [a = std::move(a.contains), b = std::move(b.contains)](float x, float y) { return a(x, y) || b(x, y); }};
}

Shape subtract(Shape a, Shape b)
{
    return {a.x0, a.y0, a.x1, a.y1,
            [a = std::move(a.contains), b = std::move(b.contains)](float x, float y) { return a(x, y) && !b(x, y); }};
}

Shape intersect(Shape a, Shape b)
{
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1),
            [a = std::move(a.contains), b = std::move(b.contains)](float x, float y) { return a(x, y) && b(x, y); }};
}

Shape rotate(Shape shape, float cx, float cy, float degrees)
{
    const float angle = degrees * kPi / 180.0f;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    // The turned bounds: the box around the four turned corners.
    Shape turned;
    turned.x0 = turned.y0 = 1e9f;
    turned.x1 = turned.y1 = -1e9f;
    for (const Point& p :
         {Point{shape.x0, shape.y0}, Point{shape.x1, shape.y0}, Point{shape.x0, shape.y1}, Point{shape.x1, shape.y1}}) {
        const float x = cx + (p.x - cx) * c - (p.y - cy) * s;
        const float y = cy + (p.x - cx) * s + (p.y - cy) * c;
        turned.x0 = std::min(turned.x0, x);
        turned.y0 = std::min(turned.y0, y);
        turned.x1 = std::max(turned.x1, x);
        turned.y1 = std::max(turned.y1, y);
    }
    turned.contains = [inner = std::move(shape.contains), cx, cy, c, s](float x, float y) {
        // Turn the point back and ask the original shape.
        return inner(cx + (x - cx) * c + (y - cy) * s, cy - (x - cx) * s + (y - cy) * c);
    };
    return turned;
}

// ---- paints -------------------------------------------------------------------------

Paint verticalGradient(float y0, const Rgba& c0, float y1, const Rgba& c1)
{
    return [=](float, float y) { return mix(c0, c1, clamp01((y - y0) / (y1 - y0))); };
}

Paint radialGradient(float cx, float cy, float radius, const Rgba& c0, const Rgba& c1)
{
    return [=](float x, float y) {
        return mix(c0, c1, clamp01(std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / radius));
    };
}

} // namespace media
