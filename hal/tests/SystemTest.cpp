#include "EngineTest.h"
#include "WindowTestSupport.h"

#include "core/AssertationFailedException.h"
#include "core/Globals.h"
#include "hal/System.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>
#include <thread>

using HAL::System;

namespace {

class SystemTest : public testsupport::EngineTest {
protected:
    // Replaces the fixture's registered System (null leaves the slot empty).
    static void registerSystem(System* system)
    {
        delete core::Globals::get()->m_system;
        core::Globals::get()->m_system = system;
    }
};

// The pump, one step at a time, for a window whose procedure records what
// it is given.
class MessagePumpTest : public StandInTest {
protected:
    TestWindow m_window{u"MessagePumpTest"};
};

// Runs in a fresh process (threadsafe death-test style), where the tick has
// not read its offset yet: starts 60 ms before the 32-bit wrap.
[[noreturn]] void crossTheWrap()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t monotonicMs = std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    setenv("VORNIC3D_TICK_OFFSET", std::to_string((std::int64_t(1) << 32) - monotonicMs - 60).c_str(), 1);
    const std::uint32_t before = HAL::getTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const std::uint32_t after = HAL::getTime();
    const std::uint32_t elapsed = after - before;
    std::exit(before > 0xFFFFFF00u && after < 1000u && elapsed >= 150 && elapsed < 1000 ? 0 : 1);
}

} // namespace

TEST_F(SystemTest, PrintWritesExactlyTheGivenBytesOrRefusesBeforePrinting)
{
    const std::string longest(System::kMaxPrintLength + 1, 'x');
    const struct {
        const char* text;
        int length;
        bool fails;
    } cases[] = {
        {"abc", 0, false},        {"abcdef", 3, false},          {longest.c_str(), 999, false},
        {"\x80\xff\n", 3, false}, {longest.c_str(), 1000, true}, {"abc", -1, true},
        {nullptr, 0, true},
    };
    for (const auto& c : cases) {
        clearLog();
        if (c.fails)
            EXPECT_THROW(System::printf(c.text, c.length), AssertationFailedException) << c.length;
        else
            System::printf(c.text, c.length);
        EXPECT_EQ(log(), c.fails ? "" : std::string(c.text, static_cast<std::size_t>(c.length))) << c.length;
    }
}

TEST_F(SystemTest, RecordHoldsTheScreenAndThePoolDefaultsOfTheRegisteredSystem)
{
    HAL::SystemInfo info = System::getSystemInfo();
    EXPECT_EQ(info.screenWidth * 1000 + info.screenHeight, 240400);
    EXPECT_EQ(info.bitsPerPixel, 16);
    EXPECT_EQ(info.defaultMemoryPoolSize, 102400000);
    EXPECT_EQ(info.defaultStringPoolSize, 51200000);

    // The stand-in reads the variable on every call: no fresh process needed.
    setenv("VORNIC3D_SCREEN", "480x800", 1);
    registerSystem(new System(true));
    unsetenv("VORNIC3D_SCREEN");
    info = System::getSystemInfo();
    EXPECT_EQ(info.screenWidth * 1000 + info.screenHeight, 480800);
    EXPECT_EQ(log(), "WARNING |000001| HAL::createConsoleWindow failed : _WIN32_WCE does not provide console\n");
    registerSystem(nullptr);
    EXPECT_THROW(System::getSystemInfo(), AssertationFailedException) << "without a registered System";
}

TEST(SystemTick, WrapsAndIntervalsSurvive)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(crossTheWrap(), testing::ExitedWithCode(0), "");
}

// ---- the message pump ----

TEST_F(MessagePumpTest, EmptyQueueGoesOnAndQuitStopsOnce)
{
    EXPECT_EQ(HAL::processMessages(), 1);
    ASSERT_EQ(PostMessageW(m_window.handle(), WM_USER, 1, 2), TRUE);
    PostQuitMessage(0);
    EXPECT_EQ(HAL::processMessages(), 1);
    EXPECT_EQ(HAL::processMessages(), 0);
    EXPECT_EQ(HAL::processMessages(), 1); // the quit message was taken
    ASSERT_EQ(recordedMessages().size(), 1u);
    EXPECT_EQ(recordedMessages()[0].message, WM_USER);
}

// Nothing paces the main loop on this platform: a loop of empty steps runs
// once a tick, not as fast as the processor goes, and a message still comes
// at once.
TEST_F(MessagePumpTest, EmptyStepsWaitForTheNextTick)
{
    const std::uint32_t start = HAL::getTime();
    for (int step = 0; step < 20; ++step)
        ASSERT_EQ(HAL::processMessages(), 1);
    // The first step or two may meet a tick of their own.
    EXPECT_GE(HAL::getTime() - start, 18u);

    ASSERT_EQ(PostMessageW(m_window.handle(), WM_USER, 0, 0), TRUE);
    EXPECT_EQ(HAL::processMessages(), 1);
    EXPECT_EQ(recordedMessages().size(), 1u);
}

TEST_F(MessagePumpTest, PostedMessageReachesItsProcedureWithExactWords)
{
    const struct {
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {0, 0},
        {std::numeric_limits<WPARAM>::max(), std::numeric_limits<LPARAM>::min()},
        {0x123456789ABCDEFull, -1},
    };
    for (const auto& c : cases) {
        recordedMessages().clear();
        ASSERT_EQ(PostMessageW(m_window.handle(), WM_USER + 7, c.wParam, c.lParam), TRUE);
        EXPECT_EQ(HAL::processMessages(), 1);
        ASSERT_EQ(recordedMessages().size(), 1u);
        EXPECT_EQ(recordedMessages()[0].window, m_window.handle());
        EXPECT_EQ(recordedMessages()[0].message, WM_USER + 7);
        EXPECT_EQ(recordedMessages()[0].wParam, c.wParam);
        EXPECT_EQ(recordedMessages()[0].lParam, c.lParam);
    }
}

TEST_F(MessagePumpTest, KeyMessagesAreTranslatedOneStepAtATime)
{
    ASSERT_TRUE(WinceTestPostKey(m_window.handle(), 'A', true));
    EXPECT_EQ(HAL::processMessages(), 1);
    EXPECT_EQ(HAL::processMessages(), 1);
    ASSERT_EQ(recordedMessages().size(), 2u);
    EXPECT_EQ(recordedMessages()[0].message, WM_KEYDOWN);
    EXPECT_EQ(recordedMessages()[1].message, WM_CHAR);
    EXPECT_EQ(recordedMessages()[1].wParam, WPARAM('a'));
}
