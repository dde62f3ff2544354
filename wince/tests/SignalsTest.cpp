#include "WindowTestSupport.h"

#include "wince/Signals.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// The first WM_CLOSE the pump hands out, after any other messages; null when
// none came.
HWND closed()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message == WM_CLOSE)
            return message.hwnd;
    return nullptr;
}

} // namespace

// A signal reaches the program as its window's close button does, also one
// that came before there was a window (a closed terminal's hang-up too); the
// second one, of any of them, ends the process at once. Each runs in a child (threadsafe death-test style), as the handlers
// belong to the whole process.
TEST(CloseSignals, TheFirstClosesTheWindowsAndTheSecondEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        int first;
        int second;
    } cases[] = {{SIGINT, SIGINT}, {SIGTERM, SIGINT}, {SIGINT, SIGTERM}, {SIGHUP, SIGTERM}, {SIGTERM, SIGHUP}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first * 100 + c.second);
        auto run = [&] {
            WinceCloseOnSignals();
            std::raise(c.first);
            bool ok = closed() == nullptr; // no window yet: the request waits
            {
                TestWindow window(u"CloseSignals");
                ok = ok && closed() == window.handle() && closed() == nullptr;
            }
            std::fprintf(stderr, ok ? "closed as asked\n" : "not closed as asked\n");
            std::raise(c.second);
            std::exit(0);
        };
        EXPECT_EXIT(run(), testing::KilledBySignal(c.second), "^closed as asked\n$");
    }
}

// A signal the process was started ignoring (a background job) stays
// ignored, also after the other one has asked for the close.
TEST(CloseSignals, AnIgnoredSignalStaysIgnored)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = [] {
        std::signal(SIGINT, SIG_IGN);
        WinceCloseOnSignals();
        TestWindow window(u"CloseSignalsIgnored");
        std::raise(SIGINT);
        bool ok = closed() == nullptr;
        std::raise(SIGTERM);
        ok = ok && closed() == window.handle();
        std::raise(SIGINT);
        std::exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
}
