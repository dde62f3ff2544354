// Stands in for: the message queue of the program's thread. Limits: one queue
// for the whole program (the engine runs on one thread; posting from other
// threads is safe, but only the thread that made the first window receives
// window-system events); no timers, paint or sent messages between threads;
// WM_QUIT comes, like on the phone, once every posted message before it has
// been taken. Window-system events (keys, mouse, close button) are fetched
// from SDL whenever the queue is peeked. The wait for a message counts its
// time on the tick, takes no handles and treats every waiting message as
// input. Depends on: Window.h's window records, SDL2 for the events of real
// windows.
#pragma once

#include "wince/Types.h"

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_USER = 0x0400;

// Button and modifier flags in the wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

constexpr DWORD QS_ALLINPUT = 0x04FF;
constexpr DWORD MWMO_INPUTAVAILABLE = 0x0004;

// Mouse messages carry the client x in the low and the client y in the high
// 16 bits of lParam, each as a 16-bit two's-complement number.
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
using LPMSG = MSG*;

// Takes the first waiting message without blocking: for `window` only when it
// is not null, and with a number from `filterMin` to `filterMax` unless both
// are 0. PM_REMOVE removes it, PM_NOREMOVE leaves it. WM_QUIT (wParam the
// exit code, no window) comes once no other posted message matches. FALSE,
// with `message` untouched, when nothing waits or `message` is null.
BOOL PeekMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);

// For WM_KEYDOWN of a key that types a character (letters, lower case unless
// shift is down, digits, space, return, escape, backspace, tab) posts WM_CHAR
// with that character ahead of every other waiting message. Nonzero for every
// key message, whether it typed a character or not; FALSE for anything else.
BOOL TranslateMessage(const MSG* message);

// Waits until a message waits in the queue (WM_QUIT included) or the tick
// has advanced by `milliseconds` (1: up to the next tick; 0: only looks).
// WAIT_OBJECT_0 when a message waits, WAIT_TIMEOUT when the time ran out,
// WAIT_FAILED for handles (`count` must be 0), an empty wake mask or
// INFINITE. A message posted from any thread ends the wait at once; window-
// system and script events and close signals are fetched when the wait
// begins and when it ends, so one that comes in between is seen when the
// time runs out. Every waiting message counts, whatever the wake mask and
// whether it was peeked before (as with MWMO_INPUTAVAILABLE).
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask, DWORD flags);

// Calls the window procedure of the message's window with its four words and
// returns the procedure's result; 0 for a null message, a message without a
// window or a window that no longer exists.
LRESULT DispatchMessageW(const MSG* message);

// Asks for WM_QUIT with `exitCode`; more requests before it is taken still
// give one WM_QUIT, with the last code.
void PostQuitMessage(int exitCode);

// Appends a message for `window` (null: a message for the thread itself).
// FALSE for a window that does not exist or when 10,000 messages wait
// already (the queue's limit, so a flood of input cannot grow it without
// bound).
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
