#include "SheetDrawing.h"

#include <cmath>

namespace media {

void bevelBox(Cell& cell, float x0, float y0, float x1, float y1, const Tone& tone, float radius)
{
    const Point a = cell.at(x0, y0);
    const Point b = cell.at(x1, y1);
    cell.canvas.fill(roundedBox(a.x, a.y, b.x, b.y, radius), palette::ink());
    cell.canvas.fill(roundedBox(a.x + 1.2f, a.y + 1.2f, b.x - 1.2f, b.y - 1.2f, radius - 0.8f),
                     verticalGradient(a.y, tone.light, b.y, tone.dark));
    const float inset = std::min(3.2f, (b.y - a.y) * 0.22f);
    cell.canvas.fill(roundedBox(a.x + inset, a.y + inset, b.x - inset, b.y - inset, std::max(0.5f, radius - 2.0f)),
                     verticalGradient(a.y, mix(tone.base, tone.light, 0.25f), b.y, mix(tone.base, tone.dark, 0.35f)));
}

void outlinedPolygon(Cell& cell, const std::vector<Point>& corners, const Paint& paint, float outline)
{
    std::vector<Point> placed;
    for (const Point& p : corners)
        placed.push_back(cell.at(p.x, p.y));
    cell.canvas.fill(polygon(placed), paint);
    placed.push_back(placed.front());
    cell.canvas.fill(stroke(placed, outline), palette::ink());
}

void capsuleBar(Cell& cell, float x0, float x1, float cy, float radius, const Tone& tone)
{
    const Point a = cell.at(x0 + radius, cy);
    const Point b = cell.at(x1 - radius, cy);
    cell.canvas.fill(capsule(a, b, radius), palette::ink());
    cell.canvas.fill(capsule(a, b, radius - 1.3f), verticalGradient(a.y - radius, tone.light, a.y + radius, tone.dark));
    cell.canvas.fill(capsule({a.x, a.y - radius * 0.35f}, {b.x, b.y - radius * 0.35f}, radius * 0.22f),
                     rgb(0xFFFFFF, 0.55f));
}

void cracks(Cell& cell, Point from, int count, float length, float width)
{
    for (int i = 0; i < count; ++i) {
        std::vector<Point> line{cell.at(from.x, from.y)};
        float angle = cell.random.range(0.0f, 6.2831853f);
        Point p = from;
        for (int step = 0; step < 3; ++step) {
            angle += cell.random.range(-0.7f, 0.7f);
            p.x += std::cos(angle) * length / 3.0f;
            p.y += std::sin(angle) * length / 3.0f;
            line.push_back(cell.at(p.x, p.y));
        }
        cell.canvas.fill(stroke(line, width), rgb(0x2A1C10, 0.85f));
    }
}

void rivet(Cell& cell, float cx, float cy, float radius)
{
    const Point c = cell.at(cx, cy);
    cell.canvas.fill(circle(c.x, c.y, radius), palette::ink());
    cell.canvas.fill(circle(c.x, c.y, radius - 0.6f),
                     radialGradient(c.x - 0.5f, c.y - 0.5f, radius, rgb(0xFFFFFF), rgb(0x8090A8)));
}

} // namespace media
