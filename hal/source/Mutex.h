#pragma once

namespace HAL {

// The engine's one lock primitive: not re-entrant, with a timed acquire.
// Contract: a plain object on the system heap made by createMutexHandle (null
// when allocation fails) and deleted by its owner while free; a second lock by
// the holder waits, and unlocking a free mutex is harmless.
class Mutex {
public:
    static Mutex* createMutexHandle();

    virtual ~Mutex() noexcept(false) = default;
    // True when the mutex was acquired within `timeoutMs` (0 only tries).
    virtual bool lock(int timeoutMs) = 0;
    virtual void lock() = 0;
    virtual void unlock() = 0;
};

} // namespace HAL
