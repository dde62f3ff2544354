#pragma once

#include <cstdint>

namespace HAL {

// The set-up record a display is made from, part of the framework's start-up
// settings. The display keeps a copy; the caller's title must live until the
// display's constructor has returned.
struct DisplayConfig {
    // Full screen, a window with a caption, or drawing into a host window
    // given to Display::createDisplayHandle (position and size then come
    // from the host's client area).
    enum WindowMode { WINDOW_MODE_FULLSCREEN = 0, WINDOW_MODE_WINDOWED = 1, WINDOW_MODE_HOST = 2 };

    std::int16_t x = 0; // left edge in screen pixels
    std::int16_t y = 0; // top edge
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int8_t bitsPerPixel = 0; // 0 takes the screen's depth
    const char* title = nullptr;  // 8-bit text, not empty
    std::int32_t windowMode = WINDOW_MODE_FULLSCREEN;
};

} // namespace HAL
