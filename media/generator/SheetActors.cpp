#include "SheetCells.h"

#include <cmath>

namespace media {

namespace {

// A white eye with its pupil looking toward (lookX, lookY).
void eye(Cell& cell, float cx, float cy, float rx, float ry, float lookX, float lookY)
{
    const Point c = cell.at(cx, cy);
    cell.canvas.fill(ellipse(c.x, c.y, rx + 0.9f, ry + 0.9f), palette::ink());
    cell.canvas.fill(ellipse(c.x, c.y, rx, ry), rgb(0xFFFFFF));
    cell.canvas.fill(circle(c.x + lookX, c.y + lookY, rx * 0.55f), palette::ink());
}

} // namespace

// ---- the player and the walker ------------------------------------------------------

void drawPlayer(Cell& cell)
{
    const Tone orange = palette::orange();
    const Point c = cell.at(16, 16);
    cell.canvas.fill(circle(c.x, c.y, 15.4f), palette::ink());
    cell.canvas.fill(circle(c.x, c.y, 14.0f), radialGradient(c.x - 5, c.y - 6, 21, orange.light, orange.dark));
    cell.canvas.fill(ellipse(c.x - 5.5f, c.y - 8, 4, 2.4f), rgb(0xFFFFFF, 0.65f));
    eye(cell, 12, 15, 2.6f, 3.4f, 0.6f, 0.6f);
    eye(cell, 20, 15, 2.6f, 3.4f, 0.6f, 0.6f);
    cell.canvas.fill(stroke({cell.at(12.5f, 22), cell.at(16, 24), cell.at(19.5f, 22)}, 0.8f), palette::ink());
}

void drawWalker(Cell& cell)
{
    const Tone red = palette::red();
    const Point c = cell.at(16, 16);
    cell.canvas.fill(star(c.x, c.y, 15.6f, 11.0f, 9), palette::ink());
    cell.canvas.fill(star(c.x, c.y, 14.0f, 9.8f, 9), red.base);
    cell.canvas.fill(circle(c.x, c.y, 10.5f), radialGradient(c.x - 3, c.y - 4, 13, red.light, red.dark));
    eye(cell, 12, 15, 2.4f, 2.6f, 0.5f, 0.4f);
    eye(cell, 20, 15, 2.4f, 2.6f, -0.5f, 0.4f);
    // Frowning brows and a jagged mouth.
    cell.canvas.fill(capsule(cell.at(9, 10.5f), cell.at(14, 12.5f), 0.9f), palette::ink());
    cell.canvas.fill(capsule(cell.at(23, 10.5f), cell.at(18, 12.5f), 0.9f), palette::ink());
    cell.canvas.fill(
        stroke({cell.at(11, 22), cell.at(13.5f, 20.5f), cell.at(16, 22), cell.at(18.5f, 20.5f), cell.at(21, 22)}, 0.8f),
        palette::ink());
}

// ---- pickups and the door -----------------------------------------------------------

void drawStar(Cell& cell)
{
    const Tone gold = palette::gold();
    const Point c = cell.at(16, 17);
    cell.canvas.fill(star(c.x, c.y, 15.6f, 7.0f, 5), palette::ink());
    cell.canvas.fill(star(c.x, c.y, 13.4f, 5.8f, 5), radialGradient(c.x - 3, c.y - 4, 13, gold.light, gold.dark));
    cell.canvas.fill(star(c.x, c.y, 6.0f, 2.6f, 5), rgb(0xFFFFFF, 0.45f));
}

void drawKey(Cell& cell)
{
    const Tone teal = palette::teal();
    const auto key = [&](float grow) {
        const Point ring = cell.at(9, 16);
        Shape shape = unite(subtract(circle(ring.x, ring.y, 6.8f + grow), circle(ring.x, ring.y, 3.0f - grow)),
                            capsule(cell.at(14, 16), cell.at(29, 16), 2.0f + grow));
        shape = unite(std::move(shape),
                      box(cell.x + 22.5f - grow, cell.y + 16, cell.x + 25.5f + grow, cell.y + 22.5f + grow));
        return unite(std::move(shape), box(cell.x + 27 - grow, cell.y + 16, cell.x + 30 + grow, cell.y + 21 + grow));
    };
    cell.canvas.fill(key(1.2f), palette::ink());
    cell.canvas.fill(key(0.0f), verticalGradient(cell.y + 9, teal.light, cell.y + 23, teal.dark));
    cell.canvas.fill(ellipse(cell.x + 7, cell.y + 12.5f, 2.2f, 1.2f), rgb(0xFFFFFF, 0.7f));
}

void drawDoor(Cell& cell)
{
    const Tone purple = palette::purple();
    // An arched door: a box under a half circle.
    const auto arch = [&](float inset) {
        return unite(box(cell.x + inset, cell.y + 16, cell.x + 32 - inset, cell.y + 64 - inset),
                     circle(cell.x + 16, cell.y + 16, 16 - inset));
    };
    cell.canvas.fill(arch(0.5f), palette::ink());
    cell.canvas.fill(arch(1.7f), verticalGradient(cell.y, purple.light, cell.y + 64, purple.dark));
    cell.canvas.fill(arch(4.0f),
                     verticalGradient(cell.y, purple.base, cell.y + 64, mix(purple.base, purple.dark, 0.5f)));
    for (float x : {11.0f, 21.0f})
        cell.canvas.fill(box(cell.x + x - 0.5f, cell.y + 8, cell.x + x + 0.5f, cell.y + 60), rgb(0x2A1040, 0.5f));
    // The keyhole, rimmed in the key's colour.
    const Point hole = cell.at(16, 34);
    cell.canvas.fill(unite(circle(hole.x, hole.y, 4.6f), polygon({{hole.x - 2.6f, hole.y},
                                                                  {hole.x + 2.6f, hole.y},
                                                                  {hole.x + 3.6f, hole.y + 9.6f},
                                                                  {hole.x - 3.6f, hole.y + 9.6f}})),
                     palette::teal().light);
    cell.canvas.fill(unite(circle(hole.x, hole.y, 3.0f), polygon({{hole.x - 1.4f, hole.y},
                                                                  {hole.x + 1.4f, hole.y},
                                                                  {hole.x + 2.2f, hole.y + 8},
                                                                  {hole.x - 2.2f, hole.y + 8}})),
                     palette::ink());
}

// ---- things that move the player or kill it -----------------------------------------

void drawLift(Cell& cell)
{
    const Point a = cell.at(1, 1);
    const Point b = cell.at(31, 31);
    cell.canvas.fill(roundedBox(a.x, a.y, b.x, b.y, 6),
                     verticalGradient(a.y, rgb(0x7CF070, 0.45f), b.y, rgb(0x2C9A3C, 0.15f)));
    cell.canvas.fill(
        subtract(roundedBox(a.x, a.y, b.x, b.y, 6), roundedBox(a.x + 1.5f, a.y + 1.5f, b.x - 1.5f, b.y - 1.5f, 4.5f)),
        rgb(0x9CFF90, 0.7f));
    for (float y : {12.0f, 22.0f}) {
        const std::vector<Point> chevron = {cell.at(8, y + 5), cell.at(16, y - 3), cell.at(24, y + 5)};
        cell.canvas.fill(stroke(chevron, 3.0f), rgb(0x0A3010, 0.6f));
        cell.canvas.fill(stroke(chevron, 1.8f), rgb(0xD8FFD0));
    }
}

void drawBarrier(Cell& cell)
{
    // A bolt across the cell from the middle of the left edge to the middle
    // of the right one, so barriers side by side (or, turned, one above the
    // other) join up.
    cell.canvas.fill(box(cell.x, cell.y + 6, cell.x + 32, cell.y + 26), [&](float, float y) {
        const float d = std::fabs(y - (cell.y + 16)) / 10.0f;
        return rgb(0xFF3050, 0.55f * (1.0f - d * d));
    });
    std::vector<Point> bolt{cell.at(0, 16)};
    for (int i = 1; i < 6; ++i)
        bolt.push_back(
            cell.at(5.33f * static_cast<float>(i), 16 + (i % 2 == 0 ? -1.0f : 1.0f) * cell.random.range(3, 7)));
    bolt.push_back(cell.at(32, 16));
    cell.canvas.fill(stroke(bolt, 2.6f), rgb(0xFF2040, 0.9f));
    cell.canvas.fill(stroke(bolt, 1.1f), rgb(0xFFF8C0));
}

void drawBeam(Cell& cell)
{
    // A vertical beam whose pattern repeats every 16 rows, so any 32-row
    // window of it (the game scrolls one through it) looks the same.
    cell.canvas.fill(box(cell.x + 1, cell.y, cell.x + 31, cell.y + 64), [&](float x, float) {
        const float d = std::fabs(x - (cell.x + 16)) / 15.0f;
        return mix(rgb(0xFFE0F0, 1.0f), rgb(0xE0206A, 0.0f), std::sqrt(d));
    });
    for (int i = 0; i < 4; ++i) {
        const Point c = cell.at(16, 8.0f + 16.0f * static_cast<float>(i));
        cell.canvas.fill(ellipse(c.x, c.y, 12, 2.2f), rgb(0xFF4890, 0.75f));
        cell.canvas.fill(ellipse(c.x, c.y, 7, 1.0f), rgb(0xFFFFFF, 0.8f));
    }
}

// ---- overlays -----------------------------------------------------------------------

void drawArrow(Cell& cell)
{
    const Tone gold = palette::gold();
    outlinedPolygon(
        cell, {{16, 2}, {29.5f, 15.5f}, {21.5f, 15.5f}, {21.5f, 29.5f}, {10.5f, 29.5f}, {10.5f, 15.5f}, {2.5f, 15.5f}},
        verticalGradient(cell.y + 2, gold.light, cell.y + 30, gold.base), 1.3f);
}

void drawMarker(Cell& cell)
{
    const Tone cyan = palette::cyan();
    const Point c = cell.at(16, 16);
    cell.canvas.fill(ring(c.x, c.y, 14.2f, 8.2f), palette::ink());
    cell.canvas.fill(ring(c.x, c.y, 13.0f, 9.4f), radialGradient(c.x - 4, c.y - 4, 16, cyan.light, cyan.base));
    for (const Point& d : {Point{0, -1}, Point{1, 0}, Point{0, 1}, Point{-1, 0}}) {
        const Point a = {c.x + d.x * 3.5f, c.y + d.y * 3.5f};
        const Point b = {c.x + d.x * 7.0f, c.y + d.y * 7.0f};
        cell.canvas.fill(capsule(a, b, 1.7f), palette::ink());
        cell.canvas.fill(capsule(a, b, 0.8f), cyan.light);
    }
}

void drawHudBand(Cell& cell)
{
    // The game stretches the band ten times sideways, so it is the same in
    // every column; top and bottom match, as it runs along both screen edges.
    cell.canvas.fill(box(cell.x, cell.y + 1, cell.x + 256, cell.y + 31), [&](float, float y) {
        const float d = std::fabs(y - (cell.y + 16)) / 15.0f;
        return mix(rgb(0x141A38, 0.55f), rgb(0x0A0C20, 0.8f), d);
    });
    for (float y : {1.5f, 28.5f})
        cell.canvas.fill(box(cell.x, cell.y + y, cell.x + 256, cell.y + y + 2), rgb(0x70D0F0, 0.9f));
}

} // namespace media
