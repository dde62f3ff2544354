#include "hal/Mutex.h"
#include "core/AssertationFailedException.h"
#include "core/MutexLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

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

// Waiters sleep and are woken through the semaphore only when the mutex is
// contended: a lost wake-up hangs here, a broken exclusion loses counts.
TEST(Mutex, ContendedLockingLosesNoCountAndNoWakeUp)
{
    std::unique_ptr<HAL::Mutex> m(HAL::Mutex::createMutexHandle());
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    long counter = 0;
    std::atomic<bool> start{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            while (!start)
                std::this_thread::yield();
            for (int i = 0; i < kRounds; ++i) {
                if ((i + t) % 3 == 0)
                    EXPECT_TRUE(m->lock(10000));
                else
                    m->lock();
                ++counter;
                if (i % 64 == 0)
                    std::this_thread::yield(); // let the others queue up
                m->unlock();
            }
        });
    start = true;
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(counter, long{kThreads} * kRounds);
    EXPECT_TRUE(m->lock(0));
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
