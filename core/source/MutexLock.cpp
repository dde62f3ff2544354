#include "core/MutexLock.h"

#include "core/Assert.h"
#include "hal/Mutex.h"

namespace core {

MutexLock::MutexLock(HAL::Mutex* mutex) : m_mutex(mutex)
{
    VORNIC3D_CHECK(m_mutex != nullptr);
    m_mutex->lock();
}

MutexLock::~MutexLock() noexcept(false)
{
    m_mutex->unlock();
}

} // namespace core
