#include "win32/Win32Mutex.h"

#include "core/Assert.h"

#include <wince/Synch.h>

#include <new>

namespace HAL {

Mutex* Mutex::createMutexHandle()
{
    return new (std::nothrow) Win32Mutex;
}

Win32Mutex::Win32Mutex() : m_semaphore(CreateSemaphoreW(nullptr, 1, 1, nullptr))
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
    // A negative time-out would read as INFINITE: treat it as "only try".
    const DWORD wait = timeoutMs > 0 ? static_cast<DWORD>(timeoutMs) : 0;
    const DWORD result = WaitForSingleObject(m_semaphore, wait);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void Win32Mutex::lock()
{
    VORNIC3D_CHECK(m_semaphore != nullptr);
    WaitForSingleObject(m_semaphore, INFINITE);
}

void Win32Mutex::unlock()
{
    VORNIC3D_CHECK(m_semaphore != nullptr);
    // At the maximum count already (a free mutex) the release fails harmlessly.
    ReleaseSemaphore(m_semaphore, 1, nullptr);
}

} // namespace HAL
