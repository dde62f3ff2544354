#include "X11TestSupport.h"

#include "wince/Input.h"

#include <X11/Xatom.h>

#include <memory>

namespace {

// A borderless (full-screen style) window at (40, 50), 160 x 120, in front.
class X11Window : public StandInTest {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        REQUIRE_X11();
        ASSERT_NE(m_x.get(), nullptr);
        m_window = std::make_unique<TestWindow>(u"X11Window", WS_VISIBLE, 40, 50, 160, 120);
        ASSERT_NE(handle(), nullptr);
        m_xWindow = WinceTestX11Window(handle());
        ASSERT_NE(m_xWindow, 0u);
        ASSERT_EQ(SetForegroundWindow(handle()), TRUE);
        ASSERT_TRUE(waitFor([this] {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(m_x.get(), &focus, &revert);
            return focus == m_xWindow;
        })) << "the window did not get the X input focus";
    }

    void TearDown() override
    {
        m_window.reset();
        StandInTest::TearDown();
    }

    HWND handle() const { return m_window ? m_window->handle() : nullptr; }

    XConnection m_x;
    std::unique_ptr<TestWindow> m_window;
    unsigned long m_xWindow = 0;
};

} // namespace

TEST_F(X11Window, IsARealWindowWhereItWasAsked)
{
    XWindowAttributes attributes{};
    ASSERT_NE(XGetWindowAttributes(m_x.get(), m_xWindow, &attributes), 0);
    EXPECT_EQ(attributes.width, 160);
    EXPECT_EQ(attributes.height, 120);
    EXPECT_EQ(attributes.map_state, IsViewable);
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(m_x.get(), m_xWindow, DefaultRootWindow(m_x.get()), 0, 0, &rootX,
                          &rootY, &child);
    EXPECT_EQ(rootX, 40);
    EXPECT_EQ(rootY, 50);

    RECT rect{};
    ASSERT_EQ(GetClientRect(handle(), &rect), TRUE);
    EXPECT_EQ(rect.right, 160);
    EXPECT_EQ(rect.bottom, 120);
    POINT origin{0, 0};
    ASSERT_EQ(ClientToScreen(handle(), &origin), TRUE);
    EXPECT_EQ(origin.x, 40);
    EXPECT_EQ(origin.y, 50);
    EXPECT_EQ(GetForegroundWindow(), handle());
}

TEST_F(X11Window, KeyPressThroughXBecomesKeyDownAndAsyncStateWithoutThePump)
{
    ASSERT_EQ(runCommand("xdotool keydown F3"), 0);
    // Only the key-state call here: it must fetch the event itself.
    ASSERT_TRUE(waitFor([] { return (GetAsyncKeyState(VK_F3) & 0x8000) != 0; }));

    MSG message{};
    ASSERT_TRUE(waitForMessage(handle(), WM_KEYDOWN, message)) << "the event was lost";
    EXPECT_EQ(message.wParam, 114u);

    // Held past the server's auto-repeat delay: still a single key-down.
    std::this_thread::sleep_for(std::chrono::milliseconds(900));
    ASSERT_EQ(runCommand("xdotool keyup F3"), 0);
    ASSERT_TRUE(waitForMessage(handle(), WM_KEYUP, message));
    EXPECT_EQ(message.wParam, 114u);
    int keyDowns = 0;
    for (const RecordedMessage& recorded : recordedMessages())
        keyDowns += recorded.message == WM_KEYDOWN ? 1 : 0;
    EXPECT_EQ(keyDowns, 1) << "auto-repeat must be dropped";
    EXPECT_EQ(static_cast<std::uint16_t>(GetAsyncKeyState(VK_F3)), 0x0000);
}

TEST_F(X11Window, ClickAtAKnownPointGivesClientCoordinates)
{
    ASSERT_EQ(runCommand("xdotool mousemove --sync 70 90 click 1"), 0);
    MSG message{};
    ASSERT_TRUE(waitForMessage(handle(), WM_LBUTTONDOWN, message));
    EXPECT_EQ(message.lParam & 0xFFFF, 30);
    EXPECT_EQ((message.lParam >> 16) & 0xFFFF, 40);
    EXPECT_NE(message.wParam & MK_LBUTTON, 0u);
    ASSERT_TRUE(waitForMessage(handle(), WM_LBUTTONUP, message));
    EXPECT_EQ(static_cast<std::uint16_t>(GetAsyncKeyState(VK_LBUTTON)), 0x0001);

    bool sawMove = false;
    for (const RecordedMessage& recorded : recordedMessages())
        if (recorded.message == WM_MOUSEMOVE && recorded.lParam == ((40 << 16) | 30))
            sawMove = true;
    EXPECT_TRUE(sawMove);

    POINT cursor{};
    ASSERT_EQ(GetCursorPos(&cursor), TRUE);
    EXPECT_EQ(cursor.x, 70);
    EXPECT_EQ(cursor.y, 90);
}

TEST_F(X11Window, SetCursorPosMovesTheXPointer)
{
    ASSERT_EQ(SetCursorPos(123, 77), TRUE);
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    XQueryPointer(m_x.get(), DefaultRootWindow(m_x.get()), &root, &child, &rootX, &rootY, &x, &y,
                  &mask);
    EXPECT_EQ(rootX, 123);
    EXPECT_EQ(rootY, 77);
    POINT cursor{};
    ASSERT_EQ(GetCursorPos(&cursor), TRUE);
    EXPECT_EQ(cursor.x, 123);
    EXPECT_EQ(cursor.y, 77);
}

TEST_F(X11Window, CloseRequestFromTheWindowManagerBecomesWmClose)
{
    // What a window manager sends for the close button.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = m_xWindow;
    event.xclient.message_type = XInternAtom(m_x.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_x.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    ASSERT_NE(XSendEvent(m_x.get(), m_xWindow, False, NoEventMask, &event), 0);
    XFlush(m_x.get());

    MSG message{};
    ASSERT_TRUE(waitForMessage(handle(), WM_CLOSE, message));
    RECT rect{};
    EXPECT_EQ(GetClientRect(handle(), &rect), TRUE) << "WM_CLOSE alone destroys nothing";
}

TEST_F(X11Window, LosingTheInputFocusLeavesNoForegroundWindow)
{
    XSetInputFocus(m_x.get(), PointerRoot, RevertToPointerRoot, CurrentTime);
    XFlush(m_x.get());
    EXPECT_TRUE(waitFor([] {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        return GetForegroundWindow() == nullptr;
    }));
    EXPECT_EQ(SetForegroundWindow(handle()), TRUE);
    EXPECT_EQ(GetForegroundWindow(), handle());
}
