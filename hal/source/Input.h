#pragma once

#include "core/Object.h"

#include <cstdint>

namespace HAL {

// The device kinds an input can be made for. 2 names no device and is
// refused; the gamepads can be made but not read.
enum InputDeviceType {
    INPUT_DEVICE_KEYBOARD = 0,
    INPUT_DEVICE_MOUSE = 1,
    INPUT_DEVICE_GAMEPAD = 3,
    INPUT_DEVICE_GAMEPAD2 = 4,
    UNKNOWN_INPUT_DEVICE = 7,
};

// Input ids: 0 to 254 are virtual-key codes (keyboard); the mouse (stylus)
// has these.
enum InputId {
    INPUT_KEY_LAST = 254,
    INPUT_MOUSE_X = 255,        // -1 left edge .. 1 right edge of the area
    INPUT_MOUSE_Y = 256,        // -1 top edge .. 1 bottom edge
    INPUT_MOUSE_Z = 257,        // no such axis: always -1
    INPUT_MOUSE_CENTER_X = 258, // reads 0, puts the cursor in the horizontal middle
    INPUT_MOUSE_CENTER_Y = 259, // reads 0, puts the cursor in the vertical middle
    INPUT_MOUSE_WHEEL = 260,    // no wheel: always 0
    INPUT_MOUSE_LEFT = 261,     // buttons: 1 pressed since last read, -1 held, 0 up
    INPUT_MOUSE_RIGHT = 262,
    INPUT_MOUSE_MIDDLE = 263,
    INPUT_MOUSE_XBUTTON1 = 264,
    INPUT_MOUSE_XBUTTON2 = 265,
};

// A polled input device: the caller asks for one input id at a time.
// Contract: made by createInputHandle, which takes no reference (the caller
// takes the first). Reads and writes answer only while the renderer's
// display window is in the foreground (0.0 / nothing otherwise); positions
// are scaled to that window's client area, or to the screen when there is no
// renderer or display yet. Misuse (wrong device, unknown id) is the engine
// assertion; failed system calls throw HAL::HALException.
class Input : public core::Object {
public:
    // Null only when the allocation gives null; an illegal type fails.
    static Input* createInputHandle(int deviceType);

    ~Input() noexcept(false) override;

    virtual void writeInput(int id, float value) = 0;
    virtual float readInput(int id) = 0;

protected:
    Input() = default;

    std::int32_t m_inputDeviceType = UNKNOWN_INPUT_DEVICE;
};

} // namespace HAL
