// Stands in for: the screen's device context, asked only for its colour
// depth. Limits: one shared context for the screen and every window; no
// drawing. Depends on: nothing.
#pragma once

#include "wince/Types.h"

constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;

// The device context of the screen (null window) or of a window; the same
// context for all. Never null.
HDC GetDC(HWND window);

// 16 for BITSPIXEL and 1 for PLANES, the phone's RGB565 screen; 0 for any
// other index or a context that GetDC did not give.
int GetDeviceCaps(HDC dc, int index);

// 1 for a context that GetDC gave, 0 otherwise.
int ReleaseDC(HWND window, HDC dc);
