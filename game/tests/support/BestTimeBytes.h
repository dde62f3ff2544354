#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace gametest {

// The bytes of a best-time file holding `times` in order: 32-bit
// little-endian numbers, spelled out here and not by the file's own writer,
// so that a test checks the format rather than the code under test.
template <typename Times>
std::string bestTimeBytes(const Times& times)
{
    std::string bytes;
    for (const std::int32_t time : times)
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>((static_cast<std::uint32_t>(time) >> shift) & 0xFF);
    return bytes;
}

inline std::string bestTimeBytes(std::initializer_list<std::int32_t> times)
{
    return bestTimeBytes<std::initializer_list<std::int32_t>>(times);
}

} // namespace gametest
