#pragma once

#include "wince/Window.h"

namespace HAL {

// The procedure of every window of the display's class. Records key states
// and the stylus position into the shared input table (Win32WindowState) and
// ends the program's main loop (the quit message) when the main window is
// closed or destroyed. Close is answered here and not passed on: the default
// handling would destroy the window under the running frame, while the
// orderly shut-down destroys it after the loop has ended.
LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace HAL
