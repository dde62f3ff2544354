#include "core/AssertationFailedException.h"
#include "core/MutexLock.h"
#include "Mutex.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

TEST(Mutex, TimedLockIsNotReentrantAndUnlockingAFreeMutexKeepsItBinary)
{
    std::unique_ptr<HAL::Mutex> m(HAL::Mutex::createMutexHandle());
    EXPECT_TRUE(m->lock(0));
    EXPECT_FALSE(m->lock(0));
    EXPECT_FALSE(m->lock(20)); // the holder itself waits and runs out
    m->unlock();
    m->unlock(); // already free: must not count up
    EXPECT_TRUE(m->lock(0));
    EXPECT_FALSE(m->lock(0));
    m->unlock();
}

TEST(Mutex, TimedLockSucceedsWhenAnotherThreadReleasesInTime)
{
    std::unique_ptr<HAL::Mutex> m(HAL::Mutex::createMutexHandle());
    m->lock();
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m->unlock();
    });
    EXPECT_TRUE(m->lock(10000));
    other.join();
    m->unlock();
}

TEST(Mutex, DestroyingAHeldMutexFails)
{
    HAL::Mutex* m = HAL::Mutex::createMutexHandle();
    m->lock();
    EXPECT_THROW(delete m, AssertationFailedException);
}

TEST(MutexLock, ReleasesOnExceptionAndRefusesANullMutex)
{
    std::unique_ptr<HAL::Mutex> m(HAL::Mutex::createMutexHandle());
    try {
        core::MutexLock lock(m.get());
        EXPECT_FALSE(m->lock(0));
        throw std::runtime_error("leaving the scope early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(m->lock(0));
    m->unlock();
    EXPECT_THROW(core::MutexLock(nullptr), AssertationFailedException);
}
