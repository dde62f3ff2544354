#include "KeyMap.h"
#include "WindowTestSupport.h"

#include "wince/Input.h"

#include <SDL_keycode.h>

namespace {

class InputTest : public StandInTest {};

std::uint16_t state(int key)
{
    return static_cast<std::uint16_t>(GetAsyncKeyState(key));
}

MSG nextMessage()
{
    MSG message{};
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    return message;
}

std::pair<LONG, LONG> cursor()
{
    POINT point{-1, -1};
    EXPECT_EQ(GetCursorPos(&point), TRUE);
    return xy(point);
}

} // namespace

TEST(KeyMap, SdlKeysBecomeVirtualKeyCodes)
{
    // The letters, digits and F keys are ranges of SDL codes (F13 starts a
    // second run); test the ends of each.
    const struct {
        SDL_Keycode sdl;
        int virtualKey;
    } cases[] = {
        {SDLK_a, 'A'},       {SDLK_z, 'Z'},      {SDLK_0, '0'},     {SDLK_9, '9'},     {SDLK_F1, 0x70},
        {SDLK_F3, 114},      {SDLK_F12, 0x7B},   {SDLK_F13, 0x7C},  {SDLK_F24, 0x87},  {SDLK_ESCAPE, 0x1B},
        {SDLK_RETURN, 0x0D}, {SDLK_SPACE, 0x20}, {SDLK_LEFT, 0x25}, {SDLK_DOWN, 0x28}, {SDLK_RSHIFT, VK_SHIFT},
        {SDLK_UNKNOWN, 0},   {SDLK_CAPSLOCK, 0}, {SDLK_KP_5, 0},    {-1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(virtualKeyFromSdl(c.sdl), c.virtualKey) << "SDL key " << c.sdl;
}

TEST_F(InputTest, AsyncKeyStateBits)
{
    // The changes before the query: 'd' down, 'u' up.
    const struct {
        const char* what;
        int key;
        const char* changes;
        std::uint16_t expected;
    } steps[] = {
        {"never pressed", VK_F3, "", 0x0000},       {"goes down", VK_F3, "d", 0x8001},
        {"held, queried again", VK_F3, "", 0x8000}, {"pressed and released between two queries", 'Q', "du", 0x0001},
        {"queried again", 'Q', "", 0x0000},         {"other keys keep their own bits", VK_F3, "", 0x8000},
        {"released", VK_F3, "u", 0x0000},           {"last in the table", 255, "d", 0x8001},
        {"beyond the table", 256, "d", 0x0000},     {"below the table", -1, "d", 0x0000},
    };
    for (const auto& step : steps) {
        for (const char* change = step.changes; *change != 0; ++change)
            WinceTestSetKeyState(step.key, *change == 'd');
        EXPECT_EQ(state(step.key), step.expected) << step.what;
    }
}

TEST_F(InputTest, PostedStylusMovesTheCursorAndPacksClientCoordinates)
{
    EXPECT_EQ(cursor(), std::pair(0, 0));
    EXPECT_EQ(GetCursorPos(nullptr), FALSE);
    TestWindow window(u"InputTestStylus", WS_VISIBLE, 50, 60, 200, 100);
    const struct {
        UINT message;
        int x, y;
        LPARAM lParam;
        WPARAM buttons;
    } cases[] = {
        {WM_MOUSEMOVE, 80, 20, (20 << 16) | 80, 0},
        {WM_LBUTTONDOWN, 0, 0, 0, MK_LBUTTON},
        {WM_MOUSEMOVE, 199, 99, (99 << 16) | 199, MK_LBUTTON},
        {WM_LBUTTONUP, -1, -2, 0xFFFEFFFF, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WinceTestPostMouse(window.handle(), c.message, c.x, c.y));
        const MSG message = nextMessage();
        EXPECT_EQ(message.message, c.message);
        EXPECT_EQ(message.lParam, c.lParam);
        EXPECT_EQ(message.wParam, c.buttons);
        EXPECT_EQ(cursor(), std::pair(50 + c.x, 60 + c.y));
    }
    EXPECT_EQ(state(VK_LBUTTON), 0x0001);
    EXPECT_FALSE(WinceTestPostMouse(window.handle(), WM_KEYDOWN, 0, 0));
    EXPECT_FALSE(WinceTestPostMouse(nullptr, WM_MOUSEMOVE, 0, 0));
    // Without video the stand-in keeps the cursor, wherever it is put.
    ASSERT_EQ(SetCursorPos(120, -30), TRUE);
    EXPECT_EQ(cursor(), std::pair(120, -30));
}

TEST_F(InputTest, SynthesisedButtonsGoToTheWindowUnderTheCursor)
{
    TestWindow back(u"InputTestBack", WS_VISIBLE, 0, 0, 240, 400);
    TestWindow front(u"InputTestFront", WS_VISIBLE, 40, 40, 100, 100);
    SetForegroundWindow(front.handle());
    const struct {
        POINT cursor;
        HWND window;
        LPARAM lParam;
    } cases[] = {
        {{60, 70}, front.handle(), (30 << 16) | 20},
        {{10, 390}, back.handle(), (390 << 16) | 10},
        {{500, 500}, {}, 0},
    };
    for (const auto& c : cases) {
        SetCursorPos(c.cursor.x, c.cursor.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        EXPECT_EQ(state(VK_LBUTTON), 0x0001) << "down and up in one call";
        for (UINT number : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
            MSG message{};
            ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), c.window != nullptr ? TRUE : FALSE);
            EXPECT_EQ(message.message, c.window != nullptr ? number : 0u);
            EXPECT_EQ(message.hwnd, c.window);
            EXPECT_EQ(message.lParam, c.lParam);
        }
    }
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    EXPECT_EQ(state(VK_RBUTTON), 0x8001);
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    EXPECT_EQ(state(VK_RBUTTON), 0x0000);
}
