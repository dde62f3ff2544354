#include "Pictures.h"

#include "Canvas.h"
#include "Glyphs.h"
#include "Palette.h"
#include "PngWriter.h"
#include "Random.h"
#include "Shapes.h"

#include <cmath>

namespace media {

namespace {

void writeDust(const std::string& folder)
{
    constexpr int size = 32;
    constexpr float centre = 16.0f;
    Random random(505);
    struct Blob {
        float x, y, r, weight;
    };
    std::vector<Blob> blobs = {{centre, centre, 8.5f, 1.0f}};
    for (int i = 0; i < 6; ++i) {
        const float angle = random.range(0.0f, 6.2831853f);
        const float distance = random.range(3.0f, 6.5f);
        blobs.push_back({centre + distance * std::cos(angle), centre + distance * std::sin(angle),
                         random.range(3.5f, 5.5f), random.range(0.5f, 0.9f)});
    }
    Canvas canvas(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float fx = static_cast<float>(x) + 0.5f;
            const float fy = static_cast<float>(y) + 0.5f;
            float density = 0.0f;
            for (const Blob& b : blobs) {
                const float d2 = ((fx - b.x) * (fx - b.x) + (fy - b.y) * (fy - b.y)) / (b.r * b.r);
                density += b.weight * std::exp(-d2);
            }
            // Faded to nothing before the border, so the zoomed puff has no edge.
            const float r = std::sqrt((fx - centre) * (fx - centre) + (fy - centre) * (fy - centre)) / 15.0f;
            const float window = r >= 1.0f ? 0.0f : (1.0f - r * r) * (1.0f - r * r);
            const float alpha = std::min(1.0f, density * 0.85f) * window;
            const Rgba colour = mix(rgb(0xFFFAF0), rgb(0xC8C0B8), fy / static_cast<float>(size));
            canvas.set(x, y, {colour.r, colour.g, colour.b, alpha});
        }
    }
    writePng(folder, "dust.png", size, size, 4, canvas.toRgba());
}

void writeLogo(const std::string& folder)
{
    constexpr int width = 256;
    constexpr int height = 128;
    Canvas canvas(width, height);

    const GlyphStyle title{3.0f, 2.0f, rgb(0xFFF0A0), rgb(0xFF8A20), rgb(0x1A0C24), 1.0f};
    drawText(canvas, "TESSLY", 62, 6, 44, 28, title);
    drawText(canvas, "MORDANE", 30, 48, 86, 28, title);

    // The hero rolling in from the left, with speed lines behind it.
    const Tone orange = palette::orange();
    for (int i = 0; i < 3; ++i) {
        const float y = 17.0f + 6.0f * static_cast<float>(i);
        canvas.fill(capsule({6.0f + 4.0f * static_cast<float>(i % 2), y}, {26, y}, 1.3f), rgb(0xFFD070, 0.7f));
    }
    canvas.fill(circle(42, 23, 14), palette::ink());
    canvas.fill(circle(42, 23, 12.6f), radialGradient(37, 17, 20, orange.light, orange.dark));
    canvas.fill(ellipse(37, 15.5f, 3.6f, 2.2f), rgb(0xFFFFFF, 0.65f));

    canvas.fill(box(40, 94, 216, 95.5f), rgb(0x70D0F0, 0.8f));
    const GlyphStyle studio{1.1f, 1.0f, rgb(0xE0F4FF), rgb(0x90C8F0), rgb(0x0A0A20, 0.8f), 1.0f};
    drawText(canvas, "DORVANEL", 80, 101, 121, 12, studio);
    writePng(folder, "tessly_mordane_logo_2.png", width, height, 4, canvas.toRgba());
}

} // namespace

void writePictures(const std::string& folder)
{
    writeDust(folder);
    writeLogo(folder);
}

} // namespace media
