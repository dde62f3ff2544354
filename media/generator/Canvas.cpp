#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace media {

namespace {

constexpr int kSamples = 4; // per pixel side

float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

std::uint8_t toByte(float v)
{
    return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f));
}

} // namespace

Rgba rgb(std::uint32_t hex, float alpha)
{
    return {static_cast<float>(hex >> 16 & 0xFF) / 255.0f, static_cast<float>(hex >> 8 & 0xFF) / 255.0f,
            static_cast<float>(hex & 0xFF) / 255.0f, alpha};
}

Rgba mix(const Rgba& a, const Rgba& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// ---- construction and clip ----------------------------------------------------------

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_clipX0(0), m_clipY0(0), m_clipX1(width), m_clipY1(height)
{
    if (width < 1 || height < 1)
        throw std::runtime_error("canvas: empty size");
    m_pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

void Canvas::setClip(int x0, int y0, int x1, int y1)
{
    m_clipX0 = std::max(0, x0);
    m_clipY0 = std::max(0, y0);
    m_clipX1 = std::min(m_width, x1);
    m_clipY1 = std::min(m_height, y1);
}

// ---- drawing ------------------------------------------------------------------------

void Canvas::composite(const Shape& shape, const Paint& paint, bool erase)
{
    const int x0 = std::max(m_clipX0, static_cast<int>(std::floor(shape.x0)));
    const int y0 = std::max(m_clipY0, static_cast<int>(std::floor(shape.y0)));
    const int x1 = std::min(m_clipX1, static_cast<int>(std::ceil(shape.x1)));
    const int y1 = std::min(m_clipY1, static_cast<int>(std::ceil(shape.y1)));
    constexpr float step = 1.0f / kSamples;
    constexpr float weight = 1.0f / (kSamples * kSamples);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            Premultiplied sum;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const float sx = static_cast<float>(x) + (static_cast<float>(i) + 0.5f) * step;
                    const float sy = static_cast<float>(y) + (static_cast<float>(j) + 0.5f) * step;
                    if (!shape.contains(sx, sy))
                        continue;
                    const Rgba c = paint(sx, sy);
                    const float a = clamp01(c.a) * weight;
                    sum.r += c.r * a;
                    sum.g += c.g * a;
                    sum.b += c.b * a;
                    sum.a += a;
                }
            }
            if (sum.a <= 0.0f)
                continue;
            // Erasing keeps what the shape leaves uncovered and adds nothing.
            const Premultiplied over = erase ? Premultiplied{} : sum;
            Premultiplied& d = at(x, y);
            const float keep = 1.0f - sum.a;
            d.r = over.r + d.r * keep;
            d.g = over.g + d.g * keep;
            d.b = over.b + d.b * keep;
            d.a = over.a + d.a * keep;
        }
    }
}

void Canvas::fill(const Shape& shape, const Paint& paint)
{
    composite(shape, paint, false);
}

void Canvas::fill(const Shape& shape, const Rgba& colour)
{
    fill(shape, [colour](float, float) { return colour; });
}

void Canvas::erase(const Shape& shape)
{
    // Opaque, so the coverage alone sets what is taken away.
    composite(
        shape,
        [](float, float) {
            return Rgba{0, 0, 0, 1};
        },
        true);
}

void Canvas::set(int x, int y, const Rgba& colour)
{
    const float a = clamp01(colour.a);
    at(x, y) = {colour.r * a, colour.g * a, colour.b * a, a};
}

Rgba Canvas::get(int x, int y) const
{
    const Premultiplied& p = at(x, y);
    if (p.a <= 0.0f)
        return {};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

// ---- output -------------------------------------------------------------------------

std::vector<std::uint8_t> Canvas::toRgba() const
{
    std::vector<std::uint8_t> out;
    out.reserve(m_pixels.size() * 4);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const Rgba c = get(x, y);
            const std::uint8_t alpha = toByte(c.a);
            // A pixel that rounds to transparent carries no colour, so the
            // file never depends on invisible leftovers.
            out.push_back(alpha == 0 ? 0 : toByte(c.r));
            out.push_back(alpha == 0 ? 0 : toByte(c.g));
            out.push_back(alpha == 0 ? 0 : toByte(c.b));
            out.push_back(alpha);
        }
    }
    return out;
}

std::vector<std::uint8_t> Canvas::toRgb() const
{
    std::vector<std::uint8_t> out;
    out.reserve(m_pixels.size() * 3);
    for (const Premultiplied& p : m_pixels) {
        // Premultiplied parts over black: an opaque picture keeps its colours.
        out.push_back(toByte(p.r));
        out.push_back(toByte(p.g));
        out.push_back(toByte(p.b));
    }
    return out;
}

} // namespace media
