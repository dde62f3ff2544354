#include "wince/Tick.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

namespace {

std::int64_t monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Runs in a fresh process (threadsafe death-test style), where the tick has
// not read its offset yet.
[[noreturn]] void crossTheWrap()
{
    const std::int64_t offset = (std::int64_t(1) << 32) - monotonicMs() - 60;
    setenv("VORNIC3D_TICK_OFFSET", std::to_string(offset).c_str(), 1);
    const DWORD before = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const DWORD after = GetTickCount();
    const bool wrapped = before > 0xFFFFFF00u && after < 1000u;
    const DWORD elapsed = after - before;
    std::exit(wrapped && elapsed >= 150 && elapsed < 1000 ? 0 : 1);
}

} // namespace

TEST(Tick, AdvancesInMilliseconds)
{
    const DWORD before = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const DWORD elapsed = GetTickCount() - before;
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(Tick, WrapsAndUnsignedDifferenceSurvives)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(crossTheWrap(), testing::ExitedWithCode(0), "");
}
