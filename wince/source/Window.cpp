// Stands in for: window classes, windows and the foreground window. Limits:
// see wince/Window.h. Depends on: WindowTable (records), SdlVideo (real
// windows), MessageQueue (purged on destruction), InputState (foreground).
#include "wince/Window.h"

#include "ClientArea.h"
#include "InputState.h"
#include "MessageQueue.h"
#include "SdlVideo.h"
#include "WindowTable.h"
#include "wince/Messages.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

std::u16string textOf(LPCWSTR text)
{
    return text != nullptr ? std::u16string(text) : std::u16string();
}

LONG saturate(long long value)
{
    return static_cast<LONG>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

} // namespace

std::optional<ClientArea> clientAreaOf(HWND window)
{
    const auto record = WindowTable::instance().find(window);
    if (!record)
        return std::nullopt;
    ClientArea area{record->x, record->y, record->width, record->height};
    if (record->native != nullptr)
        SdlVideo::instance().clientArea(record->native, area.x, area.y, area.width, area.height);
    return area;
}

// ---- classes ----

ATOM RegisterClassW(const WNDCLASSW* windowClass)
{
    if (windowClass == nullptr || windowClass->lpfnWndProc == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpszClassName[0] == 0)
        return 0;
    return WindowTable::instance().registerClass(windowClass->lpszClassName, windowClass->style,
                                                 windowClass->lpfnWndProc);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE)
{
    if (className == nullptr)
        return FALSE;
    return WindowTable::instance().unregisterClass(className) ? TRUE : FALSE;
}

// ---- windows ----

HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width, int height,
                     HWND, HMENU, HINSTANCE, LPVOID)
{
    auto& table = WindowTable::instance();
    if (className == nullptr || table.classProcedure(className) == nullptr)
        return nullptr;

    WindowRecord record;
    record.className = className;
    record.style = style;
    record.x = x;
    record.y = y;
    record.width = std::max(width, 0);
    record.height = std::max(height, 0);
    record.visible = (style & WS_VISIBLE) != 0;

    auto& video = SdlVideo::instance();
    if (video.available()) {
        record.native = video.createWindow(textOf(windowName), style, x, y, record.width, record.height);
        if (record.native == nullptr)
            return nullptr;
        record.nativeId = video.windowId(record.native);
    }
    SDL_Window* native = record.native;
    const HWND handle = table.add(std::move(record));
    if (handle == nullptr && native != nullptr)
        video.destroyWindow(native);
    return handle;
}

BOOL DestroyWindow(HWND window)
{
    auto& table = WindowTable::instance();
    const auto record = table.beginDestroy(window);
    if (!record)
        return FALSE;
    // Sent, not posted: the procedure sees WM_DESTROY before this returns,
    // while the window still answers its geometry.
    record->procedure(window, WM_DESTROY, 0, 0);
    table.remove(window);
    if (record->native != nullptr)
        SdlVideo::instance().destroyWindow(record->native);
    MessageQueue::instance().purge(window);
    InputState::instance().dropForeground(window);
    return TRUE;
}

LRESULT DefWindowProcW(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

BOOL ShowWindow(HWND window, int command)
{
    const bool visible = command != SW_HIDE;
    const auto was = WindowTable::instance().setVisible(window, visible);
    if (!was)
        return FALSE;
    if (const auto record = WindowTable::instance().find(window); record && record->native)
        SdlVideo::instance().show(record->native, visible);
    return *was ? TRUE : FALSE;
}

BOOL GetClientRect(HWND window, LPRECT rect)
{
    const auto area = clientAreaOf(window);
    if (!area || rect == nullptr)
        return FALSE;
    *rect = RECT{0, 0, area->width, area->height};
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point)
{
    const auto area = clientAreaOf(window);
    if (!area || point == nullptr)
        return FALSE;
    point->x = saturate(static_cast<long long>(point->x) + area->x);
    point->y = saturate(static_cast<long long>(point->y) + area->y);
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point)
{
    const auto area = clientAreaOf(window);
    if (!area || point == nullptr)
        return FALSE;
    point->x = saturate(static_cast<long long>(point->x) - area->x);
    point->y = saturate(static_cast<long long>(point->y) - area->y);
    return TRUE;
}

// ---- foreground ----

HWND GetForegroundWindow()
{
    return InputState::instance().foreground();
}

BOOL SetForegroundWindow(HWND window)
{
    const auto record = WindowTable::instance().find(window);
    if (!record || record->destroying)
        return FALSE;
    if (record->native != nullptr)
        SdlVideo::instance().focus(record->native);
    InputState::instance().setForeground(window);
    return TRUE;
}
