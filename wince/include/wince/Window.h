// Stands in for: window classes, windows and the foreground window. Limits:
// top-level windows only (a parent is accepted and ignored); the styles that
// matter are WS_VISIBLE and WS_CAPTION; no painting, sizing messages or
// window text calls. With a video driver (X11 through SDL2) each window is a
// real SDL window: borderless without WS_CAPTION (the phone's full-screen
// window), with a title bar with it, placed so its client area starts at the
// given position. Without one (no DISPLAY, or SDL_VIDEODRIVER=dummy) a window
// is only a record: its client area has the given size at the given
// position, and the stand-in itself keeps the foreground window.
// Coordinates of the virtual phone screen (Metrics.h) are those of the X
// screen. Depends on: SDL2, Messages.h's queue.
#pragma once

#include "wince/Types.h"

// Class styles: redraw on a change of width (CS_HREDRAW) or height
// (CS_VREDRAW); recorded, without effect.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Only the style, the procedure and the class name are used; the other
// fields are accepted for the signature's sake.
struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};

// ---- classes ----

// Registers a class by name (any module). Returns a nonzero atom, or 0 when
// the class exists already or the record, its procedure or its name is null
// or the name is empty.
ATOM RegisterClassW(const WNDCLASSW* windowClass);

// FALSE when no such class exists or a window of it still exists.
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);

// ---- windows ----

// Creates a window of a registered class, sends it WM_CREATE (a result of -1
// destroys it again and gives null) and returns it. Negative sizes count as
// 0. Null for an unknown class, or when a video driver is there but SDL
// cannot make the window.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);

// Sends WM_DESTROY to the window procedure before returning, then removes the
// window, its waiting messages and, if it was the foreground window, the
// foreground. FALSE for a window that does not exist or is being destroyed.
BOOL DestroyWindow(HWND window);

// The default handling of every message: returns 0 and does nothing. Unlike
// the desktop system's, it does not destroy the window on WM_CLOSE: the
// engine's window procedure ends the program on WM_CLOSE and destroys the
// window itself at shut-down, which would fail on a window already gone.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// SW_HIDE hides the window, any other command shows it. Returns nonzero when
// it was visible before, FALSE when not or when the window does not exist.
BOOL ShowWindow(HWND window, int command);

// (0, 0, client width, client height). FALSE for a window that does not
// exist.
BOOL GetClientRect(HWND window, LPRECT rect);

// Turn a point between the window's client coordinates and screen
// coordinates. FALSE for a window that does not exist or a null point.
BOOL ClientToScreen(HWND window, LPPOINT point);
BOOL ScreenToClient(HWND window, LPPOINT point);

// ---- foreground ----

// The window that receives the user's input, or null when another program's
// window does (a real window that loses the X input focus) or none is set.
HWND GetForegroundWindow();

// Makes the window the foreground window (and with video raises it and gives
// it the input focus). FALSE for a window that does not exist.
BOOL SetForegroundWindow(HWND window);
