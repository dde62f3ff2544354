// Stands in for: the user in front of the phone (test API). Limits: see
// wince/TestApi.h. Depends on: MessageQueue, WindowTable, InputState,
// SdlVideo, ClientArea.
#include "wince/TestApi.h"

#include "ClientArea.h"
#include "InputState.h"
#include "MessageQueue.h"
#include "SdlVideo.h"
#include "WindowTable.h"
#include "wince/Input.h"
#include "wince/Messages.h"

#include <algorithm>
#include <climits>

// ---- video ----

bool WinceHasVideo()
{
    return SdlVideo::instance().available();
}

unsigned long WinceTestX11Window(HWND window)
{
    const auto record = WindowTable::instance().find(window);
    if (!record || record->native == nullptr)
        return 0;
    void* display = nullptr;
    unsigned long xWindow = 0;
    return SdlVideo::instance().x11Handles(record->native, display, xWindow) ? xWindow : 0;
}

// ---- the user's input ----

bool WinceTestPostKey(HWND window, UINT virtualKey, bool down)
{
    if (virtualKey < 1 || virtualKey > 254 || !WindowTable::instance().find(window))
        return false;
    InputState::instance().setKey(static_cast<int>(virtualKey), down);
    return MessageQueue::instance().post(window, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, down ? 1 : 0xC0000001);
}

bool WinceTestPostMouse(HWND window, UINT message, int x, int y)
{
    struct Button {
        UINT message;
        int virtualKey;
        bool down;
    };
    static constexpr Button buttons[] = {
        {WM_MOUSEMOVE, 0, false},           {WM_LBUTTONDOWN, VK_LBUTTON, true}, {WM_LBUTTONUP, VK_LBUTTON, false},
        {WM_RBUTTONDOWN, VK_RBUTTON, true}, {WM_RBUTTONUP, VK_RBUTTON, false},  {WM_MBUTTONDOWN, VK_MBUTTON, true},
        {WM_MBUTTONUP, VK_MBUTTON, false},
    };
    const Button* button = nullptr;
    for (const Button& candidate : buttons)
        if (candidate.message == message)
            button = &candidate;
    const auto area = clientAreaOf(window);
    if (button == nullptr || !area)
        return false;

    auto& input = InputState::instance();
    auto screen = [](int origin, int offset) {
        return static_cast<LONG>(std::clamp<long long>(static_cast<long long>(origin) + offset, INT32_MIN, INT32_MAX));
    };
    input.setCursor(POINT{screen(area->x, x), screen(area->y, y)});
    if (button->virtualKey != 0)
        input.setKey(button->virtualKey, button->down);
    auto& queue = MessageQueue::instance();
    if (message == WM_MOUSEMOVE)
        return queue.postMouseMove(window, input.mouseKeyFlags(), pointParam(x, y));
    return queue.post(window, message, input.mouseKeyFlags(), pointParam(x, y));
}

bool WinceTestPostClose(HWND window)
{
    if (!WindowTable::instance().find(window))
        return false;
    return MessageQueue::instance().post(window, WM_CLOSE, 0, 0);
}

// ---- state ----

void WinceTestSetForeground(HWND window)
{
    InputState::instance().setForeground(window);
}

void WinceTestSetKeyState(int virtualKey, bool down)
{
    InputState::instance().setKey(virtualKey, down);
}

void WinceTestReset()
{
    MessageQueue::instance().clear();
    InputState::instance().reset();
}
