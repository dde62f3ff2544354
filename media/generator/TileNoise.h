#pragma once

#include <cstdint>

namespace media {

// Smooth value noise that repeats every `size` pixels in both directions, so
// a texture made from it tiles without a seam. A lattice of `period` cells
// across the repeat carries hashed values, blended with smoothstep.
class TileNoise {
public:
    TileNoise(std::uint32_t seed, int size) : m_seed(seed), m_size(size) {}

    // In [0, 1]; `period` is the number of lattice cells across `size`.
    float at(float x, float y, int period) const;
    // Octaves of doubling period, each half as strong; in [0, 1].
    float fractal(float x, float y, int period, int octaves) const;

private:
    float lattice(int ix, int iy, int period) const;

    std::uint32_t m_seed;
    int m_size;
};

} // namespace media
