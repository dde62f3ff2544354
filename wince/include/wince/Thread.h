// Stands in for: the thread priority calls. Limits: priorities are accepted
// and never applied; the program's thread keeps the priority Linux gave it.
// Depends on: nothing.
#pragma once

#include "wince/Types.h"

constexpr int THREAD_PRIORITY_TIME_CRITICAL = 0;
constexpr int THREAD_PRIORITY_HIGHEST = 1;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 2;
constexpr int THREAD_PRIORITY_NORMAL = 3;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = 4;
constexpr int THREAD_PRIORITY_LOWEST = 5;
constexpr int THREAD_PRIORITY_ABOVE_IDLE = 6;
constexpr int THREAD_PRIORITY_IDLE = 7;

// A pseudo-handle that stands for the calling thread; it needs no closing.
HANDLE GetCurrentThread();

// TRUE, changing nothing, for the pseudo-handle and a priority from
// THREAD_PRIORITY_TIME_CRITICAL to THREAD_PRIORITY_IDLE; FALSE otherwise.
BOOL SetThreadPriority(HANDLE thread, int priority);
