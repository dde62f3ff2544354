#include "SheetCells.h"

#include <cmath>

namespace media {

namespace {

// A dark line with a lit line beside it: a groove cut into a face.
void groove(Cell& cell, Point a, Point b, Point light)
{
    cell.canvas.fill(capsule(cell.at(a.x, a.y), cell.at(b.x, b.y), 0.7f), rgb(0x101830, 0.7f));
    cell.canvas.fill(capsule(cell.at(a.x + light.x, a.y + light.y), cell.at(b.x + light.x, b.y + light.y), 0.5f),
                     rgb(0xFFFFFF, 0.35f));
}

// Thin darker streaks along a plank.
void woodGrain(Cell& cell, float x0, float x1, float y0, float y1, int count)
{
    for (int i = 0; i < count; ++i) {
        const float y = cell.random.range(y0, y1);
        const float from = cell.random.range(x0, (x0 + x1) * 0.5f);
        const float to = cell.random.range((x0 + x1) * 0.5f, x1);
        cell.canvas.fill(capsule(cell.at(from, y), cell.at(to, y), 0.45f), rgb(0x5A3210, 0.45f));
    }
}

// The part of a bar inside its outline, for stripes that must not spill.
Shape barInside(Cell& cell, float x0, float x1, float cy, float radius)
{
    return capsule(cell.at(x0 + radius, cy), cell.at(x1 - radius, cy), radius - 1.3f);
}

} // namespace

// ---- blocks -------------------------------------------------------------------------
//
// The four block pictures stand for the same wall; each is a whole bevelled
// block, since the game picks them by like neighbours on some sides only,
// and its marks (a panel, a groove, rivets) tell a mass's rows, columns and
// corners apart.

void drawBlock(Cell& cell)
{
    bevelBox(cell, 0.5f, 0.5f, 31.5f, 31.5f, palette::steel(), 4.0f);
    const Point a = cell.at(9, 9);
    const Point b = cell.at(23, 23);
    cell.canvas.fill(
        subtract(roundedBox(a.x, a.y, b.x, b.y, 2), roundedBox(a.x + 1.2f, a.y + 1.2f, b.x - 1.2f, b.y - 1.2f, 1)),
        rgb(0x1A2E58, 0.6f));
}

void drawBlockRow(Cell& cell)
{
    bevelBox(cell, 0.5f, 0.5f, 31.5f, 31.5f, palette::steel(), 4.0f);
    groove(cell, {4, 15.5f}, {28, 15.5f}, {0, 1.2f});
}

void drawBlockColumn(Cell& cell)
{
    bevelBox(cell, 0.5f, 0.5f, 31.5f, 31.5f, palette::steel(), 4.0f);
    groove(cell, {15.5f, 4}, {15.5f, 28}, {1.2f, 0});
}

void drawBlockCorner(Cell& cell)
{
    bevelBox(cell, 0.5f, 0.5f, 31.5f, 31.5f, palette::steel(), 4.0f);
    for (const Point& p : {Point{8, 8}, Point{24, 8}, Point{8, 24}, Point{24, 24}})
        rivet(cell, p.x, p.y, 2.0f);
}

void drawCrate(Cell& cell)
{
    bevelBox(cell, 0.5f, 0.5f, 31.5f, 31.5f, palette::wood(), 2.0f);
    woodGrain(cell, 5, 27, 6, 26, 5);
    const Tone wood = palette::wood();
    for (const auto& brace : {std::pair<Point, Point>{{6, 6}, {26, 26}}, std::pair<Point, Point>{{26, 6}, {6, 26}}}) {
        cell.canvas.fill(capsule(cell.at(brace.first.x, brace.first.y), cell.at(brace.second.x, brace.second.y), 2.4f),
                         palette::ink());
        cell.canvas.fill(capsule(cell.at(brace.first.x, brace.first.y), cell.at(brace.second.x, brace.second.y), 1.4f),
                         wood.light);
    }
    for (const Point& p : {Point{5, 5}, Point{27, 5}, Point{5, 27}, Point{27, 27}})
        rivet(cell, p.x, p.y, 1.5f);
}

void drawLongBlock(Cell& cell)
{
    bevelBox(cell, 0.5f, 0.5f, 95.5f, 31.5f, palette::steel(), 4.0f);
    // A truss: zigzag struts across the face.
    std::vector<Point> truss;
    for (int i = 0; i <= 7; ++i)
        truss.push_back(cell.at(6.0f + 12.0f * static_cast<float>(i), i % 2 == 0 ? 8.0f : 24.0f));
    cell.canvas.fill(stroke(truss, 1.6f), rgb(0x16284C, 0.8f));
    cell.canvas.fill(stroke(truss, 0.6f), rgb(0xB8D4F8, 0.5f));
    rivet(cell, 5, 16, 1.8f);
    rivet(cell, 91, 16, 1.8f);
}

void drawLedge(Cell& cell)
{
    bevelBox(cell, 0.5f, 0.5f, 63.5f, 15.5f, palette::stone(), 3.0f);
    for (int i = 0; i < 9; ++i) {
        // Height before width: the order the committed sheet was drawn in.
        const float y = cell.random.range(5, 11);
        const float x = cell.random.range(5, 59);
        const Point p = cell.at(x, y);
        cell.canvas.fill(circle(p.x, p.y, cell.random.range(0.6f, 1.2f)), rgb(0x403C36, 0.55f));
    }
}

// ---- blocks that break or slow ------------------------------------------------------

void drawCrackable(Cell& cell)
{
    bevelBox(cell, 0.5f, 0.5f, 31.5f, 31.5f, palette::sand(), 3.0f);
    cracks(cell, {11, 10}, 2, 7, 0.5f);
    cracks(cell, {22, 21}, 2, 6, 0.5f);
}

void drawCracked(Cell& cell)
{
    // A chipped corner, and cracks running from the middle.
    bevelBox(cell, 0.5f, 0.5f, 31.5f, 31.5f, palette::sand(), 3.0f);
    const std::vector<Point> chip = {cell.at(19, 0), cell.at(32, 0), cell.at(32, 12), cell.at(25, 7)};
    cell.canvas.erase(polygon(chip));
    cell.canvas.fill(stroke({chip[0], chip[3], chip[2]}, 0.9f), palette::ink());
    cracks(cell, {15, 16}, 5, 13, 0.75f);
    cracks(cell, {8, 25}, 2, 6, 0.55f);
}

void drawBrake(Cell& cell)
{
    const Tone tar{rgb(0xB088B8), rgb(0x5C3A66), rgb(0x24142C)};
    bevelBox(cell, 0.5f, 0.5f, 31.5f, 31.5f, tar, 4.0f);
    for (int i = 0; i < 6; ++i) {
        const float r = cell.random.range(1.6f, 3.2f);
        const float y = cell.random.range(6, 26); // height first, as in drawLedge
        const float x = cell.random.range(6, 26);
        const Point p = cell.at(x, y);
        cell.canvas.fill(circle(p.x, p.y, r), rgb(0x8A5C96, 0.9f));
        cell.canvas.fill(circle(p.x - r * 0.35f, p.y - r * 0.35f, r * 0.35f), rgb(0xFFFFFF, 0.6f));
    }
}

void drawPusher(Cell& cell, int frame)
{
    const Point a = cell.at(0, 0.5f);
    const Point b = cell.at(32, 7.5f);
    cell.canvas.fill(roundedBox(a.x, a.y, b.x, b.y, 2.5f), palette::ink());
    cell.canvas.fill(roundedBox(a.x + 1, a.y + 1, b.x - 1, b.y - 1, 1.5f),
                     verticalGradient(a.y, rgb(0x505868), b.y, rgb(0x262A34)));
    // Arrows pointing left, 8 apart, moved left by a third of that per frame.
    constexpr float period = 8.0f;
    const float shift = period * static_cast<float>(frame) / 3.0f;
    for (int i = -1; i <= 4; ++i) {
        const float x = 3.0f + period * static_cast<float>(i) - shift;
        cell.canvas.fill(stroke({cell.at(x + 2.6f, 1.9f), cell.at(x, 4), cell.at(x + 2.6f, 6.1f)}, 0.85f),
                         rgb(0xFFD040));
    }
}

void drawTimedPlatform(Cell& cell)
{
    const Tone crystal{rgb(0xE0FCFF), rgb(0x38B8E0), rgb(0x10507A)};
    bevelBox(cell, 0.5f, 0.5f, 63.5f, 31.5f, crystal, 5.0f);
    // Three cut diamonds.
    for (int i = 0; i < 3; ++i) {
        const float cx = 14.0f + 18.0f * static_cast<float>(i);
        outlinedPolygon(cell, {{cx, 8}, {cx + 7, 16}, {cx, 24}, {cx - 7, 16}},
                        verticalGradient(cell.y + 8, rgb(0xFFFFFF), cell.y + 24, rgb(0x60D8F8)), 0.9f);
        cell.canvas.fill(polygon({cell.at(cx, 8), cell.at(cx + 7, 16), cell.at(cx, 16)}), rgb(0xFFFFFF, 0.45f));
    }
}

// ---- platforms ----------------------------------------------------------------------

void drawPlatformEnd(Cell& cell)
{
    bevelBox(cell, 0.5f, 1.0f, 31.5f, 15.0f, palette::wood(), 4.0f);
    woodGrain(cell, 4, 28, 5, 11, 3);
    rivet(cell, 16, 8, 1.6f);
}

void drawPlatformMiddle(Cell& cell)
{
    // Square ends that meet the next plank, outlined along top and bottom.
    const Tone wood = palette::wood();
    const Point a = cell.at(0, 1);
    const Point b = cell.at(32, 15);
    cell.canvas.fill(box(a.x, a.y, b.x, b.y), palette::ink());
    cell.canvas.fill(box(a.x, a.y + 1.2f, b.x, b.y - 1.2f), verticalGradient(a.y, wood.light, b.y, wood.dark));
    cell.canvas.fill(box(a.x, a.y + 3.1f, b.x, b.y - 3.1f),
                     verticalGradient(a.y, mix(wood.base, wood.light, 0.25f), b.y, mix(wood.base, wood.dark, 0.35f)));
    woodGrain(cell, 1, 31, 5, 11, 3);
}

void drawPlatformAlone(Cell& cell)
{
    bevelBox(cell, 0.5f, 1.0f, 31.5f, 15.0f, palette::wood(), 7.0f);
    woodGrain(cell, 7, 25, 5, 11, 2);
    rivet(cell, 9, 8, 1.5f);
    rivet(cell, 23, 8, 1.5f);
}

// ---- bars ---------------------------------------------------------------------------

void drawSpringBar(Cell& cell)
{
    capsuleBar(cell, 0.5f, 63.5f, 8, 7.5f, palette::green());
    const Shape inside = barInside(cell, 0.5f, 63.5f, 8, 7.5f);
    for (int i = 0; i < 6; ++i) {
        const float x = 9.0f + 9.5f * static_cast<float>(i);
        cell.canvas.fill(intersect(inside, capsule(cell.at(x - 3, 15), cell.at(x + 3, 1), 1.3f)), rgb(0x1E5A1C, 0.6f));
    }
}

void drawSwingBar(Cell& cell)
{
    capsuleBar(cell, 0.5f, 95.5f, 8, 7.5f, palette::gold());
    rivet(cell, 9, 8, 1.7f);
    rivet(cell, 87, 8, 1.7f);
    const Point c = cell.at(48, 8);
    cell.canvas.fill(circle(c.x, c.y, 4.5f), palette::ink());
    cell.canvas.fill(circle(c.x, c.y, 3.3f), radialGradient(c.x - 1, c.y - 1, 4, rgb(0xFFFFFF), rgb(0xA07010)));
}

void drawMovingBar(Cell& cell)
{
    capsuleBar(cell, 0.5f, 63.5f, 8, 7.5f, palette::teal());
    rivet(cell, 9, 8, 1.7f);
    rivet(cell, 55, 8, 1.7f);
    groove(cell, {20, 8}, {44, 8}, {0, 1});
}

void drawTurningBar(Cell& cell)
{
    capsuleBar(cell, 0.5f, 191.5f, 8, 7.5f, palette::purple());
    const Shape inside = barInside(cell, 0.5f, 191.5f, 8, 7.5f);
    for (int i = 0; i < 7; ++i) {
        const float x = 18.0f + 26.0f * static_cast<float>(i);
        if (i == 3)
            continue; // the pivot sits there
        cell.canvas.fill(intersect(inside, box(cell.x + x - 3, cell.y, cell.x + x + 3, cell.y + 16)),
                         rgb(0xF0E0FF, 0.5f));
    }
    const Point c = cell.at(96, 8);
    cell.canvas.fill(circle(c.x, c.y, 5), palette::ink());
    cell.canvas.fill(circle(c.x, c.y, 3.8f), radialGradient(c.x - 1, c.y - 1, 4.5f, rgb(0xFFFFFF), rgb(0x6A3A90)));
}

} // namespace media
