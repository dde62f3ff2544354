#pragma once

#include "hal/Mutex.h"

#include <atomic>
#include <cstdint>

namespace HAL {

// HAL::Mutex over an unnamed semaphore, which gives the non-re-entrant lock
// with a timed acquire and a harmless extra release. Every allocation of the
// engine takes and gives a mutex, so a free one is taken and given with one
// atomic step of its own; the semaphore only puts a waiter to sleep and
// wakes it, and is touched only when somebody had to wait.
class Win32Mutex : public Mutex {
public:
    Win32Mutex();
    ~Win32Mutex() noexcept(false) override;

    bool lock(int timeoutMs) override;
    void lock() override;
    void unlock() override;

    Win32Mutex(const Win32Mutex&) = delete;
    Win32Mutex& operator=(const Win32Mutex&) = delete;

private:
    enum State { FREE = 0, HELD = 1, HELD_WITH_WAITERS = 2 };

    bool tryLock();
    bool waitForLock(std::uint32_t timeoutMs);

    std::atomic<int> m_state{FREE};
    // Count 0 or 1: one wake-up owed to a waiter.
    void* m_semaphore = nullptr;
};

} // namespace HAL
