// Stands in for: the system's key and button state, its cursor position and
// its foreground window (internal). Limits: 256 keys; the cursor kept here is
// the last known one (with video, GetCursorPos asks X instead). Depends on:
// std::mutex.
#pragma once

#include "wince/Types.h"

#include <array>
#include <mutex>

// What the user is doing right now, as far as the stand-in has seen it: the
// window-system events, mouse_event and the test API write it; the key-state,
// cursor and foreground calls read it. Locked, so it may be read from any
// thread; it calls nothing else while it holds its lock.
class InputState {
public:
    static InputState& instance();

    // ---- keys and buttons ----

    // Codes outside 0 to 255 are ignored. Going down also marks the key as
    // pressed since its last query.
    void setKey(int virtualKey, bool down);

    // Bit 15 down now, bit 0 pressed since the last query (cleared here).
    SHORT takeAsyncState(int virtualKey);

    bool isDown(int virtualKey);

    // MK_LBUTTON, MK_RBUTTON, MK_MBUTTON, MK_SHIFT and MK_CONTROL as they are
    // now, for the wParam of mouse messages.
    WPARAM mouseKeyFlags();

    // ---- cursor ----

    POINT cursor();
    void setCursor(POINT point);

    // ---- foreground ----

    HWND foreground();
    void setForeground(HWND window);

    // Clears the foreground when it is `window` (destroyed, or lost focus).
    void dropForeground(HWND window);

    void reset();

private:
    static constexpr std::uint8_t downBit = 0x01;
    static constexpr std::uint8_t pressedBit = 0x02;

    // One field read or written under the lock.
    template <typename T>
    T lockedRead(const T& field)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return field;
    }
    template <typename T>
    void lockedWrite(T& field, T value)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        field = value;
    }

    std::mutex m_lock;
    std::array<std::uint8_t, 256> m_keys{};
    POINT m_cursor{0, 0};
    HWND m_foreground = nullptr;
};
