#pragma once

#include "Mutex.h"

namespace HAL {

// HAL::Mutex over an unnamed counting semaphore of count 1, which gives the
// non-re-entrant lock with a timed acquire and a harmless extra release.
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
    void* m_semaphore = nullptr;
};

} // namespace HAL
