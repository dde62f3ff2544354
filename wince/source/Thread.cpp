// Stands in for: the thread priority calls. Limits: see wince/Thread.h.
// Depends on: nothing.
#include "wince/Thread.h"

namespace {

// The phone's pseudo-handle for "the calling thread" is -2 as well.
const HANDLE currentThread = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-2));

} // namespace

HANDLE GetCurrentThread()
{
    return currentThread;
}

BOOL SetThreadPriority(HANDLE thread, int priority)
{
    if (thread != currentThread || priority < THREAD_PRIORITY_TIME_CRITICAL || priority > THREAD_PRIORITY_IDLE)
        return FALSE;
    return TRUE;
}
