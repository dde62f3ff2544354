#include "Backgrounds.h"

#include "Canvas.h"
#include "PngWriter.h"
#include "Random.h"
#include "Shapes.h"
#include "TileNoise.h"

#include <cmath>

namespace media {

namespace {

constexpr int kTile = 256;

// Fills `shape` and its copies one repeat away on every side, so a shape
// crossing an edge comes back in on the other.
void fillWrapped(Canvas& canvas, const std::function<Shape(float dx, float dy)>& shapeAt, const Rgba& colour)
{
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i)
            canvas.fill(shapeAt(static_cast<float>(i * canvas.width()), static_cast<float>(j * canvas.height())),
                        colour);
    }
}

// Small stars scattered over the whole picture; a few get a faint cross.
void starField(Canvas& canvas, Random& random, int count, bool wrap)
{
    for (int i = 0; i < count; ++i) {
        const float x = random.range(0, static_cast<float>(canvas.width()));
        const float y = random.range(0, static_cast<float>(canvas.height()));
        const float r = random.range(0.5f, 1.1f);
        const Rgba colour = mix(rgb(0x8090C0), rgb(0xF0F4FF), random.uniform());
        const Rgba dot{colour.r, colour.g, colour.b, random.range(0.35f, 0.9f)};
        const bool cross = random.below(7) == 0;
        const auto shapeAt = [=](float dx, float dy) {
            Shape s = circle(x + dx, y + dy, r);
            if (cross)
                s = unite(std::move(s), unite(box(x + dx - 3.5f, y + dy - 0.35f, x + dx + 3.5f, y + dy + 0.35f),
                                              box(x + dx - 0.35f, y + dy - 3.5f, x + dx + 0.35f, y + dy + 3.5f)));
            return s;
        };
        if (wrap)
            fillWrapped(canvas, shapeAt, dot);
        else
            canvas.fill(shapeAt(0, 0), dot);
    }
}

// ---- the three play backgrounds -----------------------------------------------------

// Night sky: drifting clouds over deep blue, and stars.
void writeNight(const std::string& folder)
{
    Canvas canvas(kTile, kTile);
    const TileNoise noise(11, kTile);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const float fx = static_cast<float>(x) + 0.5f;
            const float fy = static_cast<float>(y) + 0.5f;
            const float cloud = noise.fractal(fx, fy, 4, 4);
            const float t = std::max(0.0f, cloud - 0.35f) * 1.6f;
            canvas.set(x, y, mix(rgb(0x080C22), rgb(0x26305E), t));
        }
    }
    Random random(101);
    starField(canvas, random, 70, true);
    writePng(folder, "BG1.png", kTile, kTile, 3, canvas.toRgb());
}

// A lattice of diamonds on dark plum, shaded by slow noise.
void writeLattice(const std::string& folder)
{
    Canvas canvas(kTile, kTile);
    const TileNoise noise(23, kTile);
    constexpr float cell = 32.0f; // divides the repeat, so the lattice tiles
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const float fx = static_cast<float>(x) + 0.5f;
            const float fy = static_cast<float>(y) + 0.5f;
            // Distance to the diamond grid lines (the diagonals of the cells).
            const float u = std::fmod(fx + fy, cell) / cell;
            const float v = std::fmod(fx - fy + kTile, cell) / cell;
            const float line = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v)) * cell;
            const float edge = std::max(0.0f, 1.0f - line / 1.3f);
            const float shade = noise.fractal(fx, fy, 4, 3);
            const Rgba base = mix(rgb(0x120A1E), rgb(0x2A1640), shade);
            canvas.set(x, y, mix(base, rgb(0x4A2C6E), edge * 0.8f));
        }
    }
    Random random(202);
    // Glints at some crossings of the lattice lines.
    for (int i = 0; i < 14; ++i) {
        const float half = random.below(2) == 0 ? 0.0f : cell * 0.5f;
        const float x = cell * static_cast<float>(random.below(8)) + half;
        const float y = cell * static_cast<float>(random.below(8)) + half;
        fillWrapped(
            canvas, [=](float dx, float dy) { return circle(x + dx, y + dy, 1.6f); }, rgb(0xB890E0, 0.6f));
    }
    writePng(folder, "BG2.png", kTile, kTile, 3, canvas.toRgb());
}

// Dark teal bricks, each of its own shade, with worn mortar.
void writeBricks(const std::string& folder)
{
    Canvas canvas(kTile, kTile);
    const TileNoise noise(37, kTile);
    constexpr int brickWidth = 64;
    constexpr int brickHeight = 32;
    Random random(303);
    float shades[kTile / brickHeight][kTile / brickWidth];
    for (auto& row : shades) {
        for (float& shade : row)
            shade = random.range(0.0f, 1.0f);
    }
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const int row = y / brickHeight;
            const int shifted = (x + (row % 2) * brickWidth / 2) % kTile;
            const int column = shifted / brickWidth;
            const int bx = shifted % brickWidth;
            const int by = y % brickHeight;
            const float fx = static_cast<float>(x) + 0.5f;
            const float fy = static_cast<float>(y) + 0.5f;
            const float grain = noise.fractal(fx, fy, 16, 3);
            Rgba c = mix(rgb(0x0A2226), rgb(0x184246), shades[row][column] * 0.7f + grain * 0.3f);
            if (bx < 2 || by < 2)
                c = mix(rgb(0x040E10), c, noise.at(fx, fy, 32) * 0.5f); // mortar
            else if (by < 4 || bx < 4)
                c = mix(c, rgb(0x2C5C60), 0.5f); // lit upper-left edge of a brick
            canvas.set(x, y, c);
        }
    }
    writePng(folder, "BG3.png", kTile, kTile, 3, canvas.toRgb());
}

// ---- the menu backdrop --------------------------------------------------------------

void writeMenuBackdrop(const std::string& folder)
{
    constexpr int width = 256;
    constexpr int height = 512;
    Canvas canvas(width, height);
    canvas.fill(box(0, 0, width, height), verticalGradient(0, rgb(0x1A0E30), height, rgb(0x061430)));
    Random random(404);
    starField(canvas, random, 90, false);

    // A large ringed planet, faint, behind the menu's right half.
    const float px = 190.0f;
    const float py = 230.0f;
    const auto planetRing = [&] {
        return subtract(rotate(ellipse(px, py, 92, 16), px, py, -16), rotate(ellipse(px, py, 74, 10), px, py, -16));
    };
    canvas.fill(planetRing(), rgb(0x8A70C8, 0.35f));
    canvas.fill(circle(px, py, 58), radialGradient(px - 20, py - 24, 90, rgb(0x5A3C8C, 0.75f), rgb(0x1C1038, 0.75f)));
    // The near half of the ring passes in front of the planet.
    canvas.fill(intersect(planetRing(), rotate(box(px - 100, py, px + 100, py + 40), px, py, -16)),
                rgb(0x8A70C8, 0.35f));

    // Rolling hills of blocks along the bottom, in silhouette.
    for (int layer = 0; layer < 2; ++layer) {
        const float base = layer == 0 ? 420.0f : 455.0f;
        const Rgba colour = layer == 0 ? rgb(0x120C28) : rgb(0x0A061A);
        std::vector<Point> ridge = {{0, static_cast<float>(height)}};
        for (int x = 0; x <= width; x += 16)
            ridge.push_back(
                {static_cast<float>(x),
                 base + 18.0f * std::sin(static_cast<float>(x) * 0.03f + layer * 2.0f) + random.range(-4, 4)});
        ridge.push_back({static_cast<float>(width), static_cast<float>(height)});
        canvas.fill(polygon(ridge), colour);
    }
    // A ball resting on the near hill, lit by the planet.
    canvas.fill(circle(58, 452, 9), rgb(0x0A061A));
    canvas.fill(circle(58, 452, 7.8f), radialGradient(62, 448, 11, rgb(0xC86A20), rgb(0x3A1806)));
    writePng(folder, "tausta.png", width, height, 3, canvas.toRgb());
}

} // namespace

void writeBackgrounds(const std::string& folder)
{
    writeNight(folder);
    writeLattice(folder);
    writeBricks(folder);
    writeMenuBackdrop(folder);
}

} // namespace media
