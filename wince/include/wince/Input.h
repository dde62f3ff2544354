// Stands in for: the asynchronous key and button state, the cursor and
// synthesised mouse input. Limits: key state comes from the window-system
// events of the stand-in's own windows (and from mouse_event and the test
// API), not from the whole desktop; mouse_event synthesises button presses
// inside the stand-in only (X never sees them) and ignores moves and wheel
// data. Depends on: SDL2 for the real cursor, Messages.h's queue.
#pragma once

#include "wince/Types.h"

// Virtual-key codes: 'A' to 'Z' and '0' to '9' are their own codes.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_XBUTTON1 = 0x05;
constexpr int VK_XBUTTON2 = 0x06;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70; // F2 to F24 follow one by one: VK_F1 + n - 1
constexpr int VK_F2 = 0x71;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F6 = 0x75;
constexpr int VK_F7 = 0x76;
constexpr int VK_F8 = 0x77;
constexpr int VK_F9 = 0x78;
constexpr int VK_F10 = 0x79;
constexpr int VK_F11 = 0x7A;
constexpr int VK_F12 = 0x7B;
constexpr int VK_F24 = 0x87;

constexpr DWORD MOUSEEVENTF_MOVE = 0x0001;
constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004;
constexpr DWORD MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr DWORD MOUSEEVENTF_RIGHTUP = 0x0010;
constexpr DWORD MOUSEEVENTF_MIDDLEDOWN = 0x0020;
constexpr DWORD MOUSEEVENTF_MIDDLEUP = 0x0040;

// ---- key state ----

// Bit 15 set while the key (or mouse button, VK_LBUTTON...) is down; bit 0
// set when it went down since the previous query of this key, which clears
// it. Fetches waiting window-system events first (they stay queued for the
// message pump), so it works in loops that never pump. 0 for codes outside
// 0 to 255.
SHORT GetAsyncKeyState(int virtualKey);

// ---- cursor ----

// The cursor in screen coordinates: the X pointer with video, the stand-in's
// own position (first (0, 0)) without. FALSE only for a null point.
BOOL GetCursorPos(LPPOINT point);

// Moves the cursor (with video, the X pointer). No clamping without video.
// FALSE when the pointer cannot be moved.
BOOL SetCursorPos(int x, int y);

// ---- synthesised input ----

// Presses or releases the left, right or middle button as the flags say (in
// the order down, then up, for each): the button's key state changes and the
// matching WM_xBUTTONDOWN / WM_xBUTTONUP, at the cursor, goes to the window
// whose client area holds the cursor (the foreground window first). `dx`,
// `dy`, `data`, `extraInfo` and MOUSEEVENTF_MOVE are ignored.
void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extraInfo);
