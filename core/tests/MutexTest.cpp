#include "core/AssertationFailedException.h"
#include "core/MutexLock.h"
#include "Mutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

struct MutexDeleter {
    void operator()(HAL::Mutex* m) const
    {
        try {
            delete m;
        } catch (...) {
            ADD_FAILURE() << "a free mutex failed to close";
        }
    }
};
using MutexPtr = std::unique_ptr<HAL::Mutex, MutexDeleter>;

MutexPtr makeMutex()
{
    return MutexPtr(HAL::Mutex::createMutexHandle());
}

} // namespace

TEST(Mutex, TimedLockOnlyTriesAtZeroAndIsNotReentrant)
{
    MutexPtr m = makeMutex();
    EXPECT_TRUE(m->lock(0));
    EXPECT_FALSE(m->lock(0));
    EXPECT_FALSE(m->lock(20)); // the holder itself waits and runs out
    m->unlock();
    EXPECT_TRUE(m->lock(0));
    m->unlock();
}

TEST(Mutex, UnlockingAFreeMutexLeavesItFree)
{
    MutexPtr m = makeMutex();
    m->unlock();
    m->unlock();
    EXPECT_TRUE(m->lock(0));
    EXPECT_FALSE(m->lock(0)); // still a count of one at most
    m->unlock();
}

TEST(Mutex, TimedLockSucceedsWhenAnotherThreadReleasesInTime)
{
    MutexPtr m = makeMutex();
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
    try {
        delete m;
        FAIL() << "no exception";
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ(e.function, "HAL::Win32Mutex::~Win32Mutex");
    }
}

TEST(MutexLock, ReleasesOnExceptionAndRefusesANullMutex)
{
    MutexPtr m = makeMutex();
    try {
        core::MutexLock lock(m.get());
        EXPECT_FALSE(m->lock(0));
        throw std::runtime_error("leaving the scope early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(m->lock(0));
    m->unlock();

    try {
        core::MutexLock lock(nullptr);
        FAIL() << "no exception";
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ(e.function, "core::MutexLock::MutexLock");
    }
}
