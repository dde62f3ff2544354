// A display on a real X window (scripts/test.sh starts Xvfb): borderless at
// (40, 50), 240 x 320, holding the X input focus, the renderer answering
// with it. Engine headers come before Xlib's, whose macros (None, Bool,
// Status) would leak into them.
#pragma once

#include "DisplayFixture.h"

#include "System.h"

#include "X11TestSupport.h"

namespace testsupport {

class DisplayX11Fixture : public DisplayFixture {
protected:
    static constexpr int kLeft = 40;
    static constexpr int kTop = 50;

    ~DisplayX11Fixture() noexcept override {}

    void SetUp() override
    {
        DisplayFixture::SetUp();
        REQUIRE_X11();
        ASSERT_NE(createDisplay(config(0, kLeft, kTop, 240, 320)), nullptr);
        registerRenderer();
        m_xWindow = WinceTestX11Window(window());
        ASSERT_TRUE(waitFor([this] {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(m_x.get(), &focus, &revert);
            return focus == m_xWindow;
        })) << "the window did not get the X input focus";
        ASSERT_TRUE(pumpUntil([this] { return GetForegroundWindow() == window(); }));
    }

    // Pumps one message at a time until `check` holds (at most 5 s).
    static bool pumpUntil(const std::function<bool()>& check)
    {
        return waitFor([&] {
            HAL::processMessages();
            return check();
        });
    }

    XConnection m_x;
    unsigned long m_xWindow = 0;
};

} // namespace testsupport
