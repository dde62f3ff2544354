// Stands in for: the system's key state, cursor and foreground window
// (internal). Limits: see InputState.h. Depends on: std::mutex.
#include "InputState.h"

#include "wince/Input.h"
#include "wince/Messages.h"

InputState& InputState::instance()
{
    static InputState state;
    return state;
}

// ---- keys and buttons ----

void InputState::setKey(int virtualKey, bool down)
{
    if (virtualKey < 0 || virtualKey > 255)
        return;
    std::lock_guard<std::mutex> guard(m_lock);
    auto& key = m_keys[static_cast<std::size_t>(virtualKey)];
    if (down)
        key = static_cast<std::uint8_t>(key | downBit | pressedBit);
    else
        key = static_cast<std::uint8_t>(key & ~downBit);
}

SHORT InputState::takeAsyncState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    std::lock_guard<std::mutex> guard(m_lock);
    auto& key = m_keys[static_cast<std::size_t>(virtualKey)];
    std::uint16_t state = 0;
    if (key & downBit)
        state |= 0x8000u;
    if (key & pressedBit)
        state |= 0x0001u;
    key = static_cast<std::uint8_t>(key & ~pressedBit);
    return static_cast<SHORT>(state);
}

bool InputState::isDown(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255)
        return false;
    std::lock_guard<std::mutex> guard(m_lock);
    return (m_keys[static_cast<std::size_t>(virtualKey)] & downBit) != 0;
}

WPARAM InputState::mouseKeyFlags()
{
    struct Flag {
        int key;
        WPARAM flag;
    };
    static constexpr Flag flags[] = {
        {VK_LBUTTON, MK_LBUTTON}, {VK_RBUTTON, MK_RBUTTON}, {VK_MBUTTON, MK_MBUTTON},
        {VK_SHIFT, MK_SHIFT},     {VK_CONTROL, MK_CONTROL},
    };
    std::lock_guard<std::mutex> guard(m_lock);
    WPARAM result = 0;
    for (const Flag& f : flags)
        if (m_keys[static_cast<std::size_t>(f.key)] & downBit)
            result |= f.flag;
    return result;
}

// ---- cursor ----

POINT InputState::cursor()
{
    return lockedRead(m_cursor);
}

void InputState::setCursor(POINT point)
{
    lockedWrite(m_cursor, point);
}

// ---- foreground ----

HWND InputState::foreground()
{
    return lockedRead(m_foreground);
}

void InputState::setForeground(HWND window)
{
    lockedWrite(m_foreground, window);
}

void InputState::dropForeground(HWND window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_foreground == window)
        m_foreground = nullptr;
}

void InputState::reset()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_keys.fill(0);
    m_cursor = POINT{0, 0};
    m_foreground = nullptr;
}
