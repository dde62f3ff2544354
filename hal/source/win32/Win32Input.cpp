#include "hal/win32/Win32Input.h"

#include "hal/HALException.h"
#include "hal/System.h"
#include "hal/win32/Win32Display.h"
#include "hal/win32/Win32WindowState.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/Globals.h"
#include "render/Graphics3D.h"

#include "wince/Input.h"
#include "wince/Window.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace HAL {

namespace {

// The renderer's display, or null while there is no renderer or it has no
// display yet (start-up). The slot is read directly: an empty one is a normal
// state here, not the failure getInstance reports.
Win32Display* rendererDisplay()
{
    render::Graphics3D* renderer = core::Globals::get()->m_graphics3D;
    if (renderer == nullptr)
        return nullptr;
    Display* display = renderer->getDisplay();
    if (display == nullptr)
        return nullptr;
    auto* win32Display = dynamic_cast<Win32Display*>(display);
    VORNIC3D_CHECK(win32Display != nullptr);
    return win32Display;
}

int clampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

// ---- factory and life cycle ---------------------------------------------------------

Input* Input::createInputHandle(int deviceType)
{
    return VORNIC3D_NEW Win32Input(deviceType);
}

Win32Input::Win32Input(int deviceType)
{
    const bool legal = deviceType == INPUT_DEVICE_KEYBOARD || deviceType == INPUT_DEVICE_MOUSE ||
                       deviceType == INPUT_DEVICE_GAMEPAD || deviceType == INPUT_DEVICE_GAMEPAD2;
    VORNIC3D_ASSERT(legal, "Win32Input constructor failed because input_device_type parameter is illegal.");
    m_inputDeviceType = deviceType;
}

Win32Input::~Win32Input() noexcept(false)
{
    VORNIC3D_ASSERT(m_inputDeviceType != UNKNOWN_INPUT_DEVICE,
                    "Win32Input destructor m_inputDeviceType is UNKNOWN_INPUT_DEVICE");
}

// ---- reading ------------------------------------------------------------------------

float Win32Input::readInput(int id)
{
    VORNIC3D_ASSERT(m_inputDeviceType != UNKNOWN_INPUT_DEVICE, "m_inputDeviceType is UNKNOWN_INPUT_DEVICE");
    Area area{};
    if (!findReadArea(area))
        return 0.0f;
    switch (m_inputDeviceType) {
    case INPUT_DEVICE_KEYBOARD: return readKeyboard(id);
    case INPUT_DEVICE_MOUSE: return readMouse(id, area);
    case INPUT_DEVICE_GAMEPAD:
    case INPUT_DEVICE_GAMEPAD2: throw HALException("HAL: can not read gamepads");
    default:
        core::Debug::printf(core::Debug::LEVEL_ERROR, "HAL:readInput : unknown input_dev_id\n");
        VORNIC3D_CHECK(false);
        return 0.0f;
    }
}

bool Win32Input::findReadArea(Area& area)
{
    Win32Display* display = rendererDisplay();
    if (display == nullptr) {
        const SystemInfo& info = System::getSystemInfo();
        area = Area{0, 0, info.screenWidth, info.screenHeight, POINT{0, 0}};
        return true;
    }
    return windowArea(display->getWindowHandle(), "HAL:readInput : can not read window size\n", area);
}

bool Win32Input::windowArea(HWND window, const char* failure, Area& area)
{
    if (GetForegroundWindow() != window)
        return false;
    RECT rect{};
    area.origin = POINT{0, 0};
    if (!GetClientRect(window, &rect) || !ClientToScreen(window, &area.origin)) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "%s", failure);
        throw HALException("HAL: can not read window size");
    }
    area.left = rect.left;
    area.top = rect.top;
    area.right = rect.right;
    area.bottom = rect.bottom;
    return true;
}

float Win32Input::readKeyboard(int id)
{
    if (id < 0 || id > INPUT_KEY_LAST)
        return 0.0f;
    std::int32_t& key = windowState().inputTable[id];
    if (key == 0)
        return 0.0f;
    // Taken by this read: holding the key does not repeat it.
    key = 0;
    return 1.0f;
}

float Win32Input::readMouse(int id, const Area& area)
{
    switch (id) {
    case INPUT_MOUSE_X:
    case INPUT_MOUSE_Y:
    case INPUT_MOUSE_CENTER_X:
    case INPUT_MOUSE_CENTER_Y: break;
    case INPUT_MOUSE_Z: return -1.0f;
    case INPUT_MOUSE_WHEEL: return 0.0f;
    case INPUT_MOUSE_LEFT: return readButton(VK_LBUTTON);
    case INPUT_MOUSE_RIGHT: return readButton(VK_RBUTTON);
    case INPUT_MOUSE_MIDDLE: return readButton(VK_MBUTTON);
    case INPUT_MOUSE_XBUTTON1: return readButton(VK_XBUTTON1);
    case INPUT_MOUSE_XBUTTON2: return readButton(VK_XBUTTON2);
    default:
        core::Debug::printf(core::Debug::LEVEL_WARNING, "unsupported mouse axis_id = %d\n", id);
        VORNIC3D_CHECK(false);
    }

    POINT cursor{};
    if (id == INPUT_MOUSE_CENTER_X || id == INPUT_MOUSE_CENTER_Y)
        cursor = cursorPosition();

    const long long width = static_cast<long long>(area.right) - area.left;
    const long long height = static_cast<long long>(area.bottom) - area.top;
    const Win32WindowState& state = windowState();
    const long long x = state.inputTable[Win32WindowState::kStylusX];
    const long long y = state.inputTable[Win32WindowState::kStylusY];
    // An empty area holds no point (and would divide by zero below).
    if (width <= 0 || height <= 0 || x < area.left || x > area.right || y < area.top || y > area.bottom)
        return 0.0f;

    switch (id) {
    case INPUT_MOUSE_X:
        return static_cast<float>(1.0 - 2.0 * static_cast<double>(area.right - x) / static_cast<double>(width));
    case INPUT_MOUSE_Y:
        return static_cast<float>(1.0 - 2.0 * static_cast<double>(area.bottom - y) / static_cast<double>(height));
    case INPUT_MOUSE_CENTER_X:
        // The cursor lives in screen coordinates, the area in client ones.
        SetCursorPos(clampToInt(area.origin.x + (area.left + width) / 2), cursor.y);
        return 0.0f;
    default: // INPUT_MOUSE_CENTER_Y
        SetCursorPos(cursor.x, clampToInt(area.origin.y + (area.top + height) / 2));
        return 0.0f;
    }
}

float Win32Input::readButton(int virtualKey)
{
    const auto state = static_cast<std::uint16_t>(GetAsyncKeyState(virtualKey));
    if (state & 0x0001)
        return 1.0f; // pressed since the last query
    if (state & 0x8000)
        return -1.0f; // held
    return 0.0f;
}

POINT Win32Input::cursorPosition()
{
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        throw HALException("HAL: can not get mouse cursor position");
    return cursor;
}

// ---- writing ------------------------------------------------------------------------

void Win32Input::writeInput(int id, float value)
{
    VORNIC3D_ASSERT(m_inputDeviceType == INPUT_DEVICE_MOUSE, "writeInput : m_inputDeviceType != INPUT_DEVICE_MOUSE");
    Area area{};
    if (!findWriteArea(area))
        return;
    POINT cursor{};
    GetCursorPos(&cursor);

    switch (id) {
    case INPUT_MOUSE_X:
    case INPUT_MOUSE_Y: {
        const bool horizontal = id == INPUT_MOUSE_X;
        const LONG low = horizontal ? area.left : area.top;
        const LONG high = horizontal ? area.right : area.bottom;
        // The inverse of the read mapping; a value that lands nowhere near a
        // screen point (infinite, not a number) is refused, not truncated.
        const float position = static_cast<float>(low) + (value + 1.0f) * static_cast<float>(high - low) * 0.5f;
        VORNIC3D_CHECK(std::isfinite(position) && std::fabs(position) < 1.0e9f);
        const long long offset = static_cast<long long>(position);
        if (horizontal)
            SetCursorPos(clampToInt(area.origin.x + offset), cursor.y);
        else
            SetCursorPos(cursor.x, clampToInt(area.origin.y + offset));
        return;
    }
    case INPUT_MOUSE_LEFT:
        GetCursorPos(&cursor);
        mouse_event(value != 0.0f ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        return;
    case INPUT_MOUSE_RIGHT:
        GetCursorPos(&cursor);
        mouse_event(value != 0.0f ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
        return;
    default: VORNIC3D_CHECK(false);
    }
}

bool Win32Input::findWriteArea(Area& area)
{
    const SystemInfo& info = System::getSystemInfo();
    VORNIC3D_CHECK(info.screenWidth > 0 && info.screenHeight > 0);
    area = Area{0, 0, info.screenWidth, info.screenHeight, POINT{0, 0}};

    Win32Display* display = rendererDisplay();
    if (display == nullptr || display->getWindowHandle() == nullptr)
        return true;
    return windowArea(display->getWindowHandle(), "Win32Input:writeInput : can not read window size\n", area);
}

} // namespace HAL
