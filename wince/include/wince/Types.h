// Stands in for: the basic types and constants of the phone's system API that
// the engine uses. Limits: only what the engine names; widths follow a 64-bit
// Linux build (handles and pointer-sized message words are 64 bits wide).
// Handles of different kinds are pointers to distinct incomplete types, so a
// window handle cannot be passed where a device context is expected; callers
// never dereference them. Depends on: nothing but <cstdint>.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using SHORT = std::int16_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using BOOL = int;
using WCHAR = char16_t;
using HANDLE = void*;
using LPLONG = LONG*;
using LPCWSTR = const WCHAR*;
using LPWSTR = WCHAR*;
using LPVOID = void*;
using ATOM = WORD;
using ULONG_PTR = std::uintptr_t;

// Message words: wParam is unsigned and lParam, like a procedure's result,
// signed, both as wide as a pointer.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct WinceWindow;
struct WinceModule;
struct WinceDc;
struct WinceMenu;
struct WinceIcon;
struct WinceCursor;
struct WinceBrush;
using HWND = WinceWindow*;
using HINSTANCE = WinceModule*;
using HMODULE = HINSTANCE;
using HDC = WinceDc*;
using HMENU = WinceMenu*;
using HICON = WinceIcon*;
using HCURSOR = WinceCursor*;
using HBRUSH = WinceBrush*;

struct POINT {
    LONG x;
    LONG y;
};
using LPPOINT = POINT*;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Security attributes are accepted for signature's sake and never read.
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
