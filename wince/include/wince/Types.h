// Stands in for: the basic types and constants of the phone's system API that
// the engine uses. Limits: only what the engine names; widths follow a 64-bit
// Linux build (handles and pointer-sized message words are 64 bits wide).
// Depends on: nothing but <cstdint>.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
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

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Security attributes are accepted for signature's sake and never read.
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
