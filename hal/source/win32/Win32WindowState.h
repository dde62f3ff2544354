#pragma once

#include "wince/Window.h"

#include <cstdint>

namespace HAL {

// The state the platform layer's window code shares, one instance per
// program: the main window (set by the display when it creates its window,
// pumped by processMessages) and the input table the window procedure writes
// and the inputs read. Entries 0-254 hold key states by virtual-key code (1
// pressed, 0 released); 255 and 256 the last stylus x and y in client pixels.
struct Win32WindowState {
    static constexpr int kInputTableSize = 257;
    static constexpr int kKeyCount = 255;
    static constexpr int kStylusX = 255;
    static constexpr int kStylusY = 256;

    HWND mainWindow = nullptr;
    std::int32_t inputTable[kInputTableSize] = {};
};

Win32WindowState& windowState();

} // namespace HAL
