// Stands in for: the module calls that name the running program. Limits: the
// program is the only module; no DLLs can be named or loaded. Depends on:
// Linux's /proc/self/exe.
#pragma once

#include "wince/Types.h"

// The program's own module for a null name; null for any other name (no
// other module exists).
HMODULE GetModuleHandleW(LPCWSTR moduleName);

// Writes the full path of the running executable into `buffer`, each byte of
// the Linux path widened to one character, so narrowing each character back
// gives the original bytes. Returns the number of characters written without
// the terminator. When the path does not fit, writes the first size - 1
// characters and a terminator and returns `size`. Returns 0 when the path
// cannot be read, `buffer` is null, `size` is 0 or `module` is neither null
// nor the program's module.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
