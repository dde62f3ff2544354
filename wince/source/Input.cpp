// Stands in for: the asynchronous key state, the cursor and synthesised mouse
// input. Limits: see wince/Input.h. Depends on: InputState, SdlVideo (events
// and the X pointer), InputScript (scripted events), WindowTable and
// MessageQueue (the synthesised button messages).
#include "wince/Input.h"

#include "ClientArea.h"
#include "InputScript.h"
#include "InputState.h"
#include "MessageQueue.h"
#include "SdlVideo.h"
#include "WindowTable.h"
#include "wince/Messages.h"

namespace {

// The window whose client area holds the point: the foreground window before
// the others, visible windows only.
HWND windowAt(POINT point, ClientArea& area)
{
    const HWND front = InputState::instance().foreground();
    if (const auto frontArea = clientAreaOf(front); frontArea && frontArea->contains(point)) {
        area = *frontArea;
        return front;
    }
    for (const WindowRecord& record : WindowTable::instance().all()) {
        if (!record.visible || record.destroying)
            continue;
        if (const auto candidate = clientAreaOf(record.handle); candidate && candidate->contains(point)) {
            area = *candidate;
            return record.handle;
        }
    }
    return nullptr;
}

void synthesiseButton(int virtualKey, bool down, UINT message)
{
    auto& input = InputState::instance();
    input.setKey(virtualKey, down);
    POINT point{};
    GetCursorPos(&point);
    ClientArea area{};
    if (HWND window = windowAt(point, area))
        MessageQueue::instance().post(window, message, input.mouseKeyFlags(),
                                      pointParam(point.x - area.x, point.y - area.y));
}

} // namespace

// ---- key state ----

SHORT GetAsyncKeyState(int virtualKey)
{
    // A program that polls keys without peeking messages (a loop of its own)
    // still gets its input.
    SdlVideo::instance().pump();
    InputScript::instance().replay();
    return InputState::instance().takeAsyncState(virtualKey);
}

// ---- cursor ----

BOOL GetCursorPos(LPPOINT point)
{
    if (point == nullptr)
        return FALSE;
    auto& video = SdlVideo::instance();
    if (video.available())
        return video.cursor(*point) ? TRUE : FALSE;
    *point = InputState::instance().cursor();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    auto& video = SdlVideo::instance();
    if (video.available() && !video.warpCursor(x, y))
        return FALSE;
    InputState::instance().setCursor(POINT{x, y});
    return TRUE;
}

// ---- synthesised input ----

void mouse_event(DWORD flags, DWORD, DWORD, DWORD, ULONG_PTR)
{
    struct Button {
        DWORD downFlag;
        DWORD upFlag;
        int virtualKey;
        UINT downMessage;
        UINT upMessage;
    };
    static constexpr Button buttons[] = {
        {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, VK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
        {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, VK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
        {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, VK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP},
    };
    for (const Button& button : buttons) {
        if (flags & button.downFlag)
            synthesiseButton(button.virtualKey, true, button.downMessage);
        if (flags & button.upFlag)
            synthesiseButton(button.virtualKey, false, button.upMessage);
    }
}
