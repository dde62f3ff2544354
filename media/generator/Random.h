#pragma once

#include <cstdint>

namespace media {

// A small pseudo-random sequence (xorshift32) of our own, so the media come
// out the same with every C library. Each picture and sound seeds its own
// sequence, so redrawing one leaves the others byte for byte as they were.
class Random {
public:
    explicit Random(std::uint32_t seed) : m_state(seed != 0 ? seed : 0x9E3779B9u) {}

    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

    // Uniform in [0, 1).
    float uniform() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }
    // Uniform in [low, high).
    float range(float low, float high) { return low + (high - low) * uniform(); }
    // Uniform whole number in [0, count); count must be above 0.
    int below(int count) { return static_cast<int>(next() % static_cast<std::uint32_t>(count)); }

private:
    std::uint32_t m_state;
};

} // namespace media
