#pragma once

#include <cstdint>

namespace HAL {

// Fixed facts about the device and the default sizes of the two memory pools,
// filled once by HAL::System's constructor. Callers copy the whole record.
struct SystemInfo {
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    // Bits per pixel times colour planes of the screen; always below 255.
    std::uint8_t bitsPerPixel = 0;
    // Pool sizes in bytes for start-up settings that give 0.
    std::int32_t defaultMemoryPoolSize = 0;
    std::int32_t defaultStringPoolSize = 0;
};

} // namespace HAL
