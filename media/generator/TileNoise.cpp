#include "TileNoise.h"

#include <cmath>

namespace media {

namespace {

// An integer hash (a few multiply-xorshift rounds) of lattice point and seed.
std::uint32_t hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float smooth(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

float TileNoise::lattice(int ix, int iy, int period) const
{
    const auto wrap = [period](int i) { return static_cast<std::uint32_t>(((i % period) + period) % period); };
    return static_cast<float>(hash(wrap(ix), wrap(iy), m_seed + static_cast<std::uint32_t>(period)) >> 8) / 16777215.0f;
}

float TileNoise::at(float x, float y, int period) const
{
    const float cell = static_cast<float>(m_size) / static_cast<float>(period);
    const float u = x / cell;
    const float v = y / cell;
    const int ix = static_cast<int>(std::floor(u));
    const int iy = static_cast<int>(std::floor(v));
    const float fx = smooth(u - static_cast<float>(ix));
    const float fy = smooth(v - static_cast<float>(iy));
    const float top = lattice(ix, iy, period) + (lattice(ix + 1, iy, period) - lattice(ix, iy, period)) * fx;
    const float bottom =
        lattice(ix, iy + 1, period) + (lattice(ix + 1, iy + 1, period) - lattice(ix, iy + 1, period)) * fx;
    return top + (bottom - top) * fy;
}

float TileNoise::fractal(float x, float y, int period, int octaves) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += at(x, y, period) * weight;
        total += weight;
        weight *= 0.5f;
        period *= 2;
    }
    return sum / total;
}

} // namespace media
