// Stands in for: the user in front of the phone, for tests and headless runs:
// key presses, stylus taps, the close button and another program taking the
// foreground, posted as the window system would post them. Limits: the
// events are the stand-in's own; with video, X and SDL never see them.
// Depends on: the message queue, window records and key state.
#pragma once

#include "wince/Types.h"

// True when windows are real SDL windows on X11. The first call (or the
// first window) tries to bring SDL's video up: the SDL_VIDEODRIVER hint is
// honoured, and X11 is asked for when it is not set; any other driver,
// dummy included, counts as none.
bool WinceHasVideo();

// The X window behind a window handle (for tools such as xdotool), 0 without
// video or for a window that does not exist.
unsigned long WinceTestX11Window(HWND window);

// A key going down or up: its key state changes and WM_KEYDOWN / WM_KEYUP
// with the virtual-key code is posted to the window. False for a window that
// does not exist or a code outside 1 to 254.
bool WinceTestPostKey(HWND window, UINT virtualKey, bool down);

// The stylus at client point (x, y) of the window: the cursor moves to that
// point, and for WM_LBUTTONDOWN / WM_LBUTTONUP (and the right and middle
// buttons) the button state changes; then the message is posted with the
// point in lParam. False for a window that does not exist or a message that
// is not one of the mouse messages of Messages.h.
bool WinceTestPostMouse(HWND window, UINT message, int x, int y);

// The window's close button: posts WM_CLOSE. False for a window that does
// not exist.
bool WinceTestPostClose(HWND window);

// Sets the foreground window without any check: null stands for another
// program's window in front.
void WinceTestSetForeground(HWND window);

// Changes a key's state without any message (down also marks it pressed
// since the last query). Codes outside 0 to 255 are ignored.
void WinceTestSetKeyState(int virtualKey, bool down);

// Empties the message queue, forgets a pending WM_QUIT, releases every key,
// clears the foreground and, without video, puts the cursor at (0, 0).
// Windows and classes stay.
void WinceTestReset();
