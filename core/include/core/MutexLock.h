#pragma once

namespace HAL {
class Mutex;
}

namespace core {

// Holds a HAL::Mutex for the lifetime of the lock object, so a scope that
// throws never leaves its mutex held.
class MutexLock {
public:
    explicit MutexLock(HAL::Mutex* mutex);
    ~MutexLock() noexcept(false);

    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    HAL::Mutex* m_mutex;
};

} // namespace core
