// Stands in for: the system's millisecond tick. Limits: the count starts near
// 0 when the process first asks, not at boot. Depends on: CLOCK_MONOTONIC.
#pragma once

#include "wince/Types.h"

// Milliseconds on a monotonic clock as a 32-bit count that wraps after 2^32 ms;
// callers measure intervals by unsigned subtraction, which survives the wrap.
// The environment variable VORNIC3D_TICK_OFFSET (decimal, may be negative) is
// added, read once on the first call, so tests can run across the wrap.
DWORD GetTickCount();
