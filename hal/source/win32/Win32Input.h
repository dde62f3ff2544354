#pragma once

#include "hal/Input.h"

#include "wince/Types.h"

namespace HAL {

// HAL::Input on the phone: the keyboard reads the key presses the window
// procedure put into the input table, the mouse (stylus) reads the last
// stylus point from that table scaled to the display's client area and the
// buttons from the asynchronous key state. Gamepads can be made, not read.
// Contract: see HAL::Input. A key press is reported once, by the first read
// after it; presses between two reads merge into one.
class Win32Input : public Input {
public:
    // Device types 0, 1, 3 and 4; anything else is the engine assertion.
    explicit Win32Input(int deviceType);
    ~Win32Input() noexcept(false) override;

    void writeInput(int id, float value) override;
    float readInput(int id) override;

private:
    // The rectangle positions are scaled to, in client coordinates, with the
    // screen position of its (0, 0) for the cursor calls.
    struct Area {
        LONG left;
        LONG top;
        LONG right;
        LONG bottom;
        POINT origin;
    };

    // ---- the renderer's window ----
    // False when the renderer's window is not in the foreground; otherwise
    // the area of that window, or of the screen without renderer or display.
    bool findReadArea(Area& area);
    bool findWriteArea(Area& area);
    // The client area of `window` while it is in the foreground; a window
    // whose area cannot be read logs `failure` and throws.
    static bool windowArea(HWND window, const char* failure, Area& area);

    // ---- devices ----
    float readKeyboard(int id);
    float readMouse(int id, const Area& area);
    static float readButton(int virtualKey);
    static POINT cursorPosition();
};

} // namespace HAL
