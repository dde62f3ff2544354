#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace media {

// A colour with straight (not premultiplied) alpha, each part from 0 to 1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// An 8-bit colour written as 0xRRGGBB, with an alpha from 0 to 1.
Rgba rgb(std::uint32_t hex, float alpha = 1.0f);
// a + (b - a) * t for every part.
Rgba mix(const Rgba& a, const Rgba& b, float t);

// A region of the plane with the box that holds it. Pixel (x, y) covers
// [x, x + 1) x [y, y + 1), y running down.
struct Shape {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    std::function<bool(float x, float y)> contains;
};

// The colour a shape is filled with at a point.
using Paint = std::function<Rgba(float x, float y)>;

// A picture being drawn: shapes are filled one over the other, each sampled
// 4 x 4 times per pixel (which is what smooths their edges), and composited
// with premultiplied alpha. A clip rectangle keeps a drawing inside one cell
// of a sheet. Starts fully transparent.
class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Only pixels inside [x0, x1) x [y0, y1) change until the next setClip.
    void setClip(int x0, int y0, int x1, int y1);

    void fill(const Shape& shape, const Paint& paint);
    void fill(const Shape& shape, const Rgba& colour);
    // Makes the shape's area transparent again (as far as it covers a pixel).
    void erase(const Shape& shape);
    // Replaces pixel (x, y).
    void set(int x, int y, const Rgba& colour);
    Rgba get(int x, int y) const;

    // Rows from the top, 4 bytes a pixel; a transparent pixel is 0, 0, 0, 0.
    std::vector<std::uint8_t> toRgba() const;
    // Rows from the top, 3 bytes a pixel; alpha is dropped.
    std::vector<std::uint8_t> toRgb() const;

private:
    struct Premultiplied {
        float r = 0, g = 0, b = 0, a = 0;
    };

    // Samples the shape over every pixel of its box inside the clip and
    // composites the paint there, or with `erase` takes its coverage away.
    void composite(const Shape& shape, const Paint& paint, bool erase);

    Premultiplied& at(int x, int y) { return m_pixels[static_cast<std::size_t>(y * m_width + x)]; }
    const Premultiplied& at(int x, int y) const { return m_pixels[static_cast<std::size_t>(y * m_width + x)]; }

    int m_width;
    int m_height;
    int m_clipX0, m_clipY0, m_clipX1, m_clipY1;
    std::vector<Premultiplied> m_pixels;
};

} // namespace media
