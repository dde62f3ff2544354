#include "hal/win32/WindowProc.h"

#include "hal/win32/Win32WindowState.h"

#include "wince/Messages.h"

#include <cstdint>

namespace HAL {

LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Win32WindowState& state = windowState();
    switch (message) {
    case WM_CLOSE: PostQuitMessage(0); return 0;
    case WM_DESTROY:
        // Only the main window ends the loop: a display that failed half-way
        // has forgotten its window before destroying it, and must not end a
        // program that goes on without it.
        if (window == state.mainWindow)
            PostQuitMessage(0);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wParam < static_cast<WPARAM>(Win32WindowState::kKeyCount))
            state.inputTable[wParam] = message == WM_KEYDOWN ? 1 : 0;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: {
        // Client x and y, each 16 bits, taken as unsigned: a point left of or
        // above the client area lands far outside it.
        const auto bits = static_cast<std::uintptr_t>(lParam);
        state.inputTable[Win32WindowState::kStylusX] = static_cast<std::int32_t>(bits & 0xFFFF);
        state.inputTable[Win32WindowState::kStylusY] = static_cast<std::int32_t>((bits >> 16) & 0xFFFF);
        break;
    }
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace HAL
