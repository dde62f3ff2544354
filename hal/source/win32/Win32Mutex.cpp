#include "hal/win32/Win32Mutex.h"

#include "core/Assert.h"

#include "wince/Synch.h"
#include "wince/Tick.h"

#include <new>

namespace HAL {

Mutex* Mutex::createMutexHandle()
{
    return new (std::nothrow) Win32Mutex;
}

Win32Mutex::Win32Mutex() : m_semaphore(CreateSemaphoreW(nullptr, 0, 1, nullptr))
{
    VORNIC3D_CHECK(m_semaphore != nullptr);
}

Win32Mutex::~Win32Mutex() noexcept(false)
{
    VORNIC3D_CHECK(m_semaphore != nullptr);
    const bool wasFree = lock(0);
    // Closed either way: a mutex destroyed while held is reported, not leaked.
    CloseHandle(m_semaphore);
    m_semaphore = nullptr;
    VORNIC3D_CHECK(wasFree);
}

bool Win32Mutex::lock(int timeoutMs)
{
    VORNIC3D_CHECK(m_semaphore != nullptr);
    if (tryLock())
        return true;
    // A negative time-out would read as INFINITE: treat it as "only try".
    return timeoutMs > 0 && waitForLock(static_cast<DWORD>(timeoutMs));
}

void Win32Mutex::lock()
{
    VORNIC3D_CHECK(m_semaphore != nullptr);
    if (!tryLock())
        waitForLock(INFINITE);
}

// Unlocking a free mutex leaves it free; a wake-up is owed only when
// somebody may be waiting (and the semaphore never counts past one).
void Win32Mutex::unlock()
{
    VORNIC3D_CHECK(m_semaphore != nullptr);
    if (m_state.exchange(FREE, std::memory_order_acq_rel) == HELD_WITH_WAITERS)
        ReleaseSemaphore(m_semaphore, 1, nullptr);
}

bool Win32Mutex::tryLock()
{
    int expected = FREE;
    return m_state.compare_exchange_strong(expected, HELD, std::memory_order_acquire, std::memory_order_relaxed);
}

// A waiter marks the mutex as waited for before it sleeps, so the holder's
// unlock gives the wake-up; a woken waiter (or one woken by an older, unused
// wake-up) simply tries again. It takes the mutex as waited for, since others
// may still sleep.
bool Win32Mutex::waitForLock(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (m_state.exchange(HELD_WITH_WAITERS, std::memory_order_acquire) == FREE)
            return true;
        DWORD wait = INFINITE;
        if (timeoutMs != INFINITE) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs)
                return false;
            wait = timeoutMs - elapsed;
        }
        WaitForSingleObject(m_semaphore, wait);
    }
}

} // namespace HAL
