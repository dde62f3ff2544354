#include "WindowTestSupport.h"

#include "wince/Input.h"

namespace {

class InputTest : public StandInTest {};

std::uint16_t state(int key)
{
    return static_cast<std::uint16_t>(GetAsyncKeyState(key));
}

} // namespace

TEST_F(InputTest, AsyncKeyStateBits)
{
    struct Step {
        const char* what;
        int change; // -1 none, 0 up, 1 down
        std::uint16_t expected;
    };
    const Step steps[] = {
        {"never pressed", -1, 0x0000},   {"goes down", 1, 0x8001},
        {"held, queried again", -1, 0x8000}, {"released", 0, 0x0000},
        {"pressed and released unseen", 1, 0x8001}, // queried at once below
    };
    for (const Step& step : steps) {
        if (step.change >= 0)
            WinceTestSetKeyState(VK_F3, step.change == 1);
        EXPECT_EQ(state(VK_F3), step.expected) << step.what;
    }
    WinceTestSetKeyState('Q', true);
    WinceTestSetKeyState('Q', false);
    EXPECT_EQ(state('Q'), 0x0001) << "a press between two queries is still seen";
    EXPECT_EQ(state('Q'), 0x0000);
    EXPECT_EQ(state(VK_F3), 0x8000) << "other keys keep their own bits";
}

TEST_F(InputTest, AsyncKeyStateOutsideTheTableIsZero)
{
    WinceTestSetKeyState(256, true);
    WinceTestSetKeyState(-1, true);
    EXPECT_EQ(state(256), 0);
    EXPECT_EQ(state(-1), 0);
    WinceTestSetKeyState(255, true);
    EXPECT_EQ(state(255), 0x8001);
}

TEST_F(InputTest, PostedKeysReachTheQueueAndTheKeyState)
{
    TestWindow window(u"InputTestKeys");
    ASSERT_TRUE(WinceTestPostKey(window.handle(), VK_F3, true));
    ASSERT_TRUE(WinceTestPostKey(window.handle(), VK_F3, false));
    EXPECT_EQ(state(VK_F3), 0x0001);
    const UINT expected[] = {WM_KEYDOWN, WM_KEYUP};
    for (UINT number : expected) {
        MSG message{};
        ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
        EXPECT_EQ(message.message, number);
        EXPECT_EQ(message.wParam, 114u);
        EXPECT_EQ(message.hwnd, window.handle());
    }
    EXPECT_FALSE(WinceTestPostKey(window.handle(), 255, true));
    EXPECT_FALSE(WinceTestPostKey(nullptr, 'A', true));
}

TEST_F(InputTest, CursorWithoutVideoIsKeptByTheStandIn)
{
    POINT point{-1, -1};
    ASSERT_EQ(GetCursorPos(&point), TRUE);
    EXPECT_EQ(point.x, 0);
    EXPECT_EQ(point.y, 0);
    ASSERT_EQ(SetCursorPos(120, -30), TRUE);
    ASSERT_EQ(GetCursorPos(&point), TRUE);
    EXPECT_EQ(point.x, 120);
    EXPECT_EQ(point.y, -30);
    EXPECT_EQ(GetCursorPos(nullptr), FALSE);
}

TEST_F(InputTest, PostedStylusMovesTheCursorAndPacksClientCoordinates)
{
    TestWindow window(u"InputTestStylus", WS_VISIBLE, 50, 60, 200, 100);
    struct Case {
        UINT message;
        int x, y;
        LPARAM lParam;
        WPARAM buttons;
    };
    const Case cases[] = {
        {WM_MOUSEMOVE, 80, 20, (20 << 16) | 80, 0},
        {WM_LBUTTONDOWN, 0, 0, 0, MK_LBUTTON},
        {WM_MOUSEMOVE, 199, 99, (99 << 16) | 199, MK_LBUTTON},
        {WM_LBUTTONUP, -1, -2, 0xFFFEFFFF, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WinceTestPostMouse(window.handle(), c.message, c.x, c.y));
        MSG message{};
        ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
        EXPECT_EQ(message.message, c.message);
        EXPECT_EQ(message.lParam, c.lParam);
        EXPECT_EQ(message.wParam, c.buttons);
        POINT cursor{};
        GetCursorPos(&cursor);
        EXPECT_EQ(cursor.x, 50 + c.x);
        EXPECT_EQ(cursor.y, 60 + c.y);
    }
    EXPECT_EQ(state(VK_LBUTTON), 0x0001);
    EXPECT_FALSE(WinceTestPostMouse(window.handle(), WM_KEYDOWN, 0, 0));
    EXPECT_FALSE(WinceTestPostMouse(nullptr, WM_MOUSEMOVE, 0, 0));
}

TEST_F(InputTest, SynthesisedButtonsGoToTheWindowUnderTheCursor)
{
    TestWindow back(u"InputTestBack", WS_VISIBLE, 0, 0, 240, 400);
    TestWindow front(u"InputTestFront", WS_VISIBLE, 40, 40, 100, 100);
    SetForegroundWindow(front.handle());

    struct Case {
        POINT cursor;
        HWND window;
        LPARAM lParam;
    };
    const Case cases[] = {
        {{60, 70}, front.handle(), (30 << 16) | 20},
        {{10, 390}, back.handle(), (390 << 16) | 10},
        {{500, 500}, nullptr, 0},
    };
    for (const Case& c : cases) {
        SetCursorPos(c.cursor.x, c.cursor.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        EXPECT_EQ(state(VK_LBUTTON), 0x0001) << "down and up in one call";
        MSG message{};
        if (c.window == nullptr) {
            EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
            continue;
        }
        for (UINT number : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
            ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
            EXPECT_EQ(message.message, number);
            EXPECT_EQ(message.hwnd, c.window);
            EXPECT_EQ(message.lParam, c.lParam);
        }
    }

    SetCursorPos(60, 70);
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    EXPECT_EQ(state(VK_RBUTTON), static_cast<std::uint16_t>(0x8001));
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    EXPECT_EQ(state(VK_RBUTTON), 0x0000);
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_RBUTTONDOWN);
    EXPECT_EQ(message.wParam, MK_RBUTTON);
}
