// Engine headers come before Xlib's, whose macros (None, Bool, Status) would
// leak into them.
#include "DisplayFixture.h"
#include "WindowTestSupport.h"

#include "hal/System.h"

#include "wince/Input.h"
#include "wince/Messages.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

namespace {

// Runs `check` until it is true or 5 s have passed; the last result.
bool waitFor(const std::function<bool()>& check)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline)
            return check();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Pumps one message at a time until `check` holds.
bool pumpUntil(const std::function<bool()>& check)
{
    return waitFor([&] {
        HAL::processMessages();
        return check();
    });
}

int xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

// A display on a real X window (scripts/test.sh starts Xvfb): borderless at
// (40, 50), 240 x 320, holding the X input focus, the renderer answering
// with it. The test has an X connection of its own to look at the server's
// side and to act as the window manager.
class DisplayX11Test : public testsupport::DisplayFixture {
protected:
    static constexpr int kLeft = 40;
    static constexpr int kTop = 50;

    void SetUp() override
    {
        DisplayFixture::SetUp();
        // The test script sets VORNIC3D_REQUIRE_X11: there, no server is a failure.
        if (!WinceHasVideo()) {
            ASSERT_EQ(std::getenv("VORNIC3D_REQUIRE_X11"), nullptr) << "no X server, though it is required";
            GTEST_SKIP() << "no X server (run through scripts/test.sh)";
        }
        ASSERT_NE(m_x.get(), nullptr);
        ASSERT_NO_FATAL_FAILURE(startInput(config(0, kLeft, kTop, 240, 320)));
        m_xWindow = WinceTestX11Window(window());
        ASSERT_TRUE(waitFor([this] { return focus() == m_xWindow; })) << "the window did not get the X input focus";
        ASSERT_TRUE(pumpUntil([this] { return GetForegroundWindow() == window(); }));
    }

    Window focus() const
    {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(m_x.get(), &focus, &revert);
        return focus;
    }

    // The colour the X server shows at client point (x, y), as 0xRRGGBB.
    unsigned long shown(int x, int y) const
    {
        XImage* image = XGetImage(m_x.get(), m_xWindow, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return ~0ul;
        const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return value;
    }

    std::unique_ptr<::Display, int (*)(::Display*)> m_x{XOpenDisplay(nullptr), XCloseDisplay};
    Window m_xWindow = 0;
};

} // namespace

// ---- display ----

TEST_F(DisplayX11Test, BorderlessWindowWhereItWasAskedWhoseSurfaceSwapsOntoTheScreen)
{
    XWindowAttributes attributes{};
    ASSERT_NE(XGetWindowAttributes(m_x.get(), m_xWindow, &attributes), 0);
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(m_x.get(), m_xWindow, DefaultRootWindow(m_x.get()), 0, 0, &rootX, &rootY, &child);
    EXPECT_EQ((std::array{attributes.map_state, attributes.width, attributes.height, rootX, rootY}),
              (std::array{IsViewable, 240, 320, kLeft, kTop}));

    EXPECT_EQ(WinceEglSurfaceType(window()), EGL_WINDOW_BIT);
    for (const unsigned long colour : {0xFF0000ul, 0x00FF00ul, 0x0000FFul}) {
        clearTo(colour);
        EXPECT_EQ(pixelAt(239, 319), colour);
        ASSERT_NO_THROW(display()->swapBuffer());
        EXPECT_TRUE(display()->checkError("x11 swap"));
        EXPECT_TRUE(waitFor([&] { return shown(0, 0) == colour && shown(239, 319) == colour; }))
            << std::hex << shown(0, 0) << " " << shown(239, 319);
    }
}

TEST_F(DisplayX11Test, ClosingTheWindowEndsThePumpWithZero)
{
    // What a window manager sends for the close button.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = m_xWindow;
    event.xclient.message_type = XInternAtom(m_x.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_x.get(), "WM_DELETE_WINDOW", False));
    ASSERT_NE(XSendEvent(m_x.get(), m_xWindow, False, NoEventMask, &event), 0);
    XFlush(m_x.get());

    EXPECT_TRUE(waitFor([] { return HAL::processMessages() == 0; }));
    // The frame in progress still has its window; shut-down destroys it.
    XWindowAttributes attributes{};
    EXPECT_NE(XGetWindowAttributes(m_x.get(), m_xWindow, &attributes), 0);
    EXPECT_NO_THROW(display()->swapBuffer());
    unregisterRenderer();
    EXPECT_NO_THROW(m_display = nullptr);
}

// ---- input ----

TEST_F(DisplayX11Test, KeyHeldThroughXReadsOnceAtItsVirtualKey)
{
    ASSERT_EQ(xdotool("keydown F3"), 0);
    // The key state fetches the event itself: some loops never pump.
    EXPECT_TRUE(waitFor([] { return (GetAsyncKeyState(VK_F3) & 0x8000) != 0; }));
    // A read after every message, as the game reads between pump steps; the
    // key is held past the server's auto-repeat delay, which must not repeat it.
    int presses = 0;
    const auto readF3 = [&] { presses += m_keyboard->readInput(114) == 1.0f ? 1 : 0; };
    EXPECT_TRUE(pumpUntil([&] {
        readF3();
        return presses > 0;
    }));
    for (int step = 0; step < 100; ++step) {
        if (step == 90) {
            ASSERT_EQ(xdotool("keyup F3"), 0);
        }
        HAL::processMessages();
        readF3();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(GetAsyncKeyState(VK_F3), 0);
}

TEST_F(DisplayX11Test, ClickReadsItsPositionScaledToTheClientArea)
{
    ASSERT_EQ(xdotool("mousemove --sync " + std::to_string(kLeft + 60) + " " + std::to_string(kTop + 240) + " click 1"),
              0);
    const std::int32_t* table = HAL::windowState().inputTable;
    ASSERT_TRUE(pumpUntil([&] { return table[255] == 60 && table[256] == 240; }));
    EXPECT_FLOAT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_X), -0.5f);
    EXPECT_FLOAT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_Y), 0.5f);
    EXPECT_TRUE(pumpUntil([&] { return m_mouse->readInput(HAL::INPUT_MOUSE_LEFT) == 1.0f; }));
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_LEFT), 0.0f);
    // Centring puts the X pointer in the middle of the window.
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_CENTER_X), 0.0f);
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, kLeft + 120);
}

// The stylus is a stylus: the mouse moving over the window without its
// button is not seen, moving with it held steers, and the press and release
// carry their points.
TEST_F(DisplayX11Test, PointerMovesReachTheProgramOnlyWhileTheButtonIsHeld)
{
    const std::int32_t* table = HAL::windowState().inputTable;
    const auto at = [](int x, int y) { return std::to_string(kLeft + x) + " " + std::to_string(kTop + y); };
    const auto stylus = [&] { return std::array{table[255], table[256]}; };
    // Every event before a key's arrives before it: the key read means the
    // moves before it were taken too.
    const auto takeAllUpTo = [&](const std::string& action) {
        ASSERT_EQ(xdotool(action + " key F4"), 0);
        ASSERT_TRUE(pumpUntil([&] { return m_keyboard->readInput(115) == 1.0f; }));
    };

    ASSERT_EQ(xdotool("mousemove --sync " + at(60, 240) + " click 1"), 0);
    ASSERT_TRUE(pumpUntil([&] { return stylus() == std::array{60, 240}; }));
    takeAllUpTo("mousemove --sync " + at(10, 20) + " mousemove --sync " + at(200, 300));
    EXPECT_EQ(stylus(), (std::array{60, 240})) << "moves without the button";

    takeAllUpTo("mousedown 1 mousemove --sync " + at(100, 200) + " mousemove --sync " + at(120, 210));
    EXPECT_EQ(stylus(), (std::array{120, 210})) << "moves with the button held";
    takeAllUpTo("mouseup 1 mousemove --sync " + at(30, 40));
    EXPECT_EQ(stylus(), (std::array{120, 210})) << "moves after the release";
}

TEST_F(DisplayX11Test, LosingTheInputFocusSilencesTheInputUntilItComesBack)
{
    XSetInputFocus(m_x.get(), PointerRoot, RevertToPointerRoot, CurrentTime);
    XFlush(m_x.get());
    EXPECT_TRUE(pumpUntil([] { return GetForegroundWindow() == nullptr; }));
    HAL::windowState().inputTable[255] = 0;
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_X), 0.0f);
    EXPECT_EQ(SetForegroundWindow(window()), TRUE);
    EXPECT_TRUE(waitFor([this] { return focus() == m_xWindow; }));
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_X), -1.0f);
}
