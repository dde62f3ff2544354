// Stands in for: the system's counting semaphores and the wait on a handle.
// Limits: only unnamed semaphores; WaitForSingleObject waits on semaphores
// only; no wait ever reports "abandoned". Depends on: the C++ thread library
// (std::mutex and std::condition_variable).
#pragma once

#include "wince/Types.h"

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000u;
constexpr DWORD WAIT_ABANDONED = 0x00000080u;
constexpr DWORD WAIT_TIMEOUT = 0x00000102u;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

// A semaphore with the given initial and maximum count. Returns null when the
// counts are inconsistent (maximum < 1, initial < 0 or above the maximum) or a
// name is given (named semaphores are not supported).
HANDLE CreateSemaphoreW(LPSECURITY_ATTRIBUTES attributes, LONG initialCount, LONG maximumCount, LPCWSTR name);

// Takes one count of the semaphore, waiting at most `milliseconds` (0 only
// tries, INFINITE waits for ever). WAIT_OBJECT_0 on success, WAIT_TIMEOUT when
// the time ran out, WAIT_FAILED for a handle that is not a live semaphore.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Gives back `releaseCount` counts. FALSE, with the count unchanged, when that
// would exceed the maximum or the handle is not a live semaphore. The previous
// count is stored through `previousCount` when it is not null.
BOOL ReleaseSemaphore(HANDLE handle, LONG releaseCount, LPLONG previousCount);

// Destroys the object behind a handle. FALSE for an unknown or closed handle.
BOOL CloseHandle(HANDLE handle);
