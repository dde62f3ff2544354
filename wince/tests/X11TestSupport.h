// For the tests that need a real X server (scripts/test.sh starts Xvfb): a
// window of the stand-in on X, a second X connection of the test's own to
// look at the server's side, xdotool, and bounded waits for messages.
#pragma once

#include "WindowTestSupport.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

// Skips when there is no X server, unless VORNIC3D_REQUIRE_X11 is set (as the
// test script does), where a missing server is a failure.
#define REQUIRE_X11()                                                                     \
    do {                                                                                  \
        if (!WinceHasVideo()) {                                                           \
            if (std::getenv("VORNIC3D_REQUIRE_X11") != nullptr)                          \
                FAIL() << "no X server, though VORNIC3D_REQUIRE_X11 is set";              \
            GTEST_SKIP() << "no X server (run through scripts/test.sh)";                  \
        }                                                                                 \
    } while (0)

// Runs `check` until it is true or `seconds` have passed; the last result.
inline bool waitFor(const std::function<bool()>& check, double seconds = 5.0)
{
    const auto deadline = std::chrono::steady_clock::now()
                          + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline)
            return check();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Pumps (and dispatches) until a message with this number for this window
// arrives; the message is returned through `found`.
inline bool waitForMessage(HWND window, UINT number, MSG& found, double seconds = 5.0)
{
    return waitFor(
        [&] {
            MSG message{};
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
                if (message.hwnd == window && message.message == number) {
                    found = message;
                    return true;
                }
            }
            return false;
        },
        seconds);
}

inline int runCommand(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// The test's own connection to the X server, apart from SDL's.
class XConnection {
public:
    XConnection() : m_display(XOpenDisplay(nullptr)) {}
    ~XConnection()
    {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* get() const { return m_display; }

private:
    Display* m_display;
};
