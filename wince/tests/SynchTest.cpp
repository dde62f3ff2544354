#include "wince/Synch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

// The timed waits and the binary use behind the engine's mutex are tested
// with the mutex; these are the semaphore's own limits.

TEST(Semaphore, CreationRejectsInconsistentCountsAndNamesAndBadHandlesFail)
{
    const struct {
        LONG initial, maximum;
        bool created;
    } cases[] = {
        {1, 1, true}, {0, 3, true}, {3, 3, true}, {-1, 1, false}, {2, 1, false}, {0, 0, false},
    };
    for (const auto& c : cases) {
        HANDLE h = CreateSemaphoreW(nullptr, c.initial, c.maximum, nullptr);
        EXPECT_EQ(h != nullptr, c.created) << c.initial << "/" << c.maximum;
        if (h != nullptr)
            CloseHandle(h);
    }
    EXPECT_EQ(CreateSemaphoreW(nullptr, 1, 1, u"named"), nullptr);

    // Unknown and closed handles fail without touching memory.
    int notAHandle = 0;
    HANDLE h = CreateSemaphoreW(nullptr, 1, 1, nullptr);
    ASSERT_EQ(CloseHandle(h), TRUE);
    for (HANDLE bad : {h, static_cast<HANDLE>(&notAHandle), static_cast<HANDLE>(nullptr)}) {
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_EQ(ReleaseSemaphore(bad, 1, nullptr), FALSE);
        EXPECT_EQ(CloseHandle(bad), FALSE);
    }
}

TEST(Semaphore, ReleaseReportsThePreviousCountAndInfiniteWaitsAreWoken)
{
    HANDLE h = CreateSemaphoreW(nullptr, 0, 2, nullptr);
    LONG previous = -7;
    EXPECT_EQ(ReleaseSemaphore(h, 3, &previous), FALSE);
    EXPECT_EQ(ReleaseSemaphore(h, 0, &previous), FALSE);
    EXPECT_EQ(previous, -7);
    std::atomic<bool> woken{false};
    std::thread waiter([&] { woken = WaitForSingleObject(h, INFINITE) == WAIT_OBJECT_0; });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(woken.load());
    EXPECT_EQ(ReleaseSemaphore(h, 2, &previous), TRUE);
    EXPECT_EQ(previous, 0);
    waiter.join();
    EXPECT_TRUE(woken.load());
    EXPECT_EQ(ReleaseSemaphore(h, 1, &previous), TRUE);
    EXPECT_EQ(previous, 1) << "the waiter took one of the two";
    EXPECT_EQ(CloseHandle(h), TRUE);
}
