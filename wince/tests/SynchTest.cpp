#include "wince/Synch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

struct CreateCase {
    LONG initial;
    LONG maximum;
    bool created;
};

class Semaphore : public testing::Test {
protected:
    void TearDown() override
    {
        if (m_handle != nullptr) {
            EXPECT_EQ(CloseHandle(m_handle), TRUE);
        }
    }
    HANDLE m_handle = CreateSemaphoreW(nullptr, 1, 1, nullptr);
};

} // namespace

TEST(SemaphoreCreate, RejectsInconsistentCounts)
{
    const CreateCase cases[] = {
        {1, 1, true}, {0, 1, true}, {0, 3, true}, {3, 3, true},
        {-1, 1, false}, {2, 1, false}, {0, 0, false}, {1, -1, false},
    };
    for (const auto& c : cases) {
        HANDLE h = CreateSemaphoreW(nullptr, c.initial, c.maximum, nullptr);
        EXPECT_EQ(h != nullptr, c.created) << c.initial << "/" << c.maximum;
        if (h != nullptr)
            CloseHandle(h);
    }
    EXPECT_EQ(CreateSemaphoreW(nullptr, 1, 1, u"named"), nullptr);
}

TEST_F(Semaphore, ZeroTimeoutOnlyTries)
{
    EXPECT_EQ(WaitForSingleObject(m_handle, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(m_handle, 0), WAIT_TIMEOUT);
    EXPECT_EQ(ReleaseSemaphore(m_handle, 1, nullptr), TRUE);
    EXPECT_EQ(WaitForSingleObject(m_handle, 0), WAIT_OBJECT_0);
    EXPECT_EQ(ReleaseSemaphore(m_handle, 1, nullptr), TRUE);
}

TEST_F(Semaphore, ReleaseBeyondMaximumFailsAndKeepsCount)
{
    LONG previous = -7;
    EXPECT_EQ(ReleaseSemaphore(m_handle, 1, &previous), FALSE);
    EXPECT_EQ(previous, -7);
    EXPECT_EQ(WaitForSingleObject(m_handle, 0), WAIT_OBJECT_0);
    EXPECT_EQ(ReleaseSemaphore(m_handle, 1, &previous), TRUE);
    EXPECT_EQ(previous, 0);
    EXPECT_EQ(ReleaseSemaphore(m_handle, 0, nullptr), FALSE);
}

TEST_F(Semaphore, TimedWaitRunsOutThenSucceedsWhenReleasedByAnotherThread)
{
    ASSERT_EQ(WaitForSingleObject(m_handle, 0), WAIT_OBJECT_0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(m_handle, 40), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));

    std::thread releaser([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ReleaseSemaphore(m_handle, 1, nullptr);
    });
    EXPECT_EQ(WaitForSingleObject(m_handle, 10000), WAIT_OBJECT_0);
    releaser.join();
    ReleaseSemaphore(m_handle, 1, nullptr);
}

TEST_F(Semaphore, InfiniteWaitIsWokenByRelease)
{
    ASSERT_EQ(WaitForSingleObject(m_handle, 0), WAIT_OBJECT_0);
    std::atomic<bool> woken{false};
    std::thread waiter([&] {
        woken = WaitForSingleObject(m_handle, INFINITE) == WAIT_OBJECT_0;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(woken.load());
    ReleaseSemaphore(m_handle, 1, nullptr);
    waiter.join();
    EXPECT_TRUE(woken.load());
    ReleaseSemaphore(m_handle, 1, nullptr);
}

TEST(SemaphoreHandles, UnknownAndClosedHandlesFailWithoutTouchingMemory)
{
    int notAHandle = 0;
    HANDLE h = CreateSemaphoreW(nullptr, 1, 1, nullptr);
    ASSERT_EQ(CloseHandle(h), TRUE);
    for (HANDLE bad : {h, static_cast<HANDLE>(&notAHandle), static_cast<HANDLE>(nullptr)}) {
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_EQ(ReleaseSemaphore(bad, 1, nullptr), FALSE);
        EXPECT_EQ(CloseHandle(bad), FALSE);
    }
}
