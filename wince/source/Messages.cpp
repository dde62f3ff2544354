// Stands in for: the message pump calls of the program's thread. Limits: see
// wince/Messages.h. Depends on: MessageQueue, SdlVideo, InputScript and the
// close signals (events are fetched on every peek), WindowTable
// (procedures), InputState (shift for WM_CHAR), std::chrono::steady_clock
// being the monotonic clock that the tick counts.
#include "wince/Messages.h"

#include "CloseSignal.h"
#include "InputScript.h"
#include "InputState.h"
#include "KeyMap.h"
#include "MessageQueue.h"
#include "SdlVideo.h"
#include "WindowTable.h"
#include "wince/Input.h"
#include "wince/Synch.h"

#include <chrono>

namespace {

// Moves what the window system, the input script and the close signals
// have for the program into the queue.
void fetchEvents()
{
    SdlVideo::instance().pump();
    InputScript::instance().replay();
    postSignalledClose();
}

// The moment the tick will have advanced by `milliseconds`: the tick counts
// the whole milliseconds of the monotonic clock.
std::chrono::steady_clock::time_point tickDeadline(DWORD milliseconds)
{
    const auto now = std::chrono::steady_clock::now();
    return std::chrono::floor<std::chrono::milliseconds>(now) + std::chrono::milliseconds(milliseconds);
}

} // namespace

// ---- taking and handling ----

BOOL PeekMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (message == nullptr)
        return FALSE;
    fetchEvents();
    MSG taken{};
    if (!MessageQueue::instance().take(taken, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0))
        return FALSE;
    *message = taken;
    return TRUE;
}

BOOL TranslateMessage(const MSG* message)
{
    if (message == nullptr || (message->message != WM_KEYDOWN && message->message != WM_KEYUP))
        return FALSE;
    if (message->message == WM_KEYDOWN && message->wParam < 256) {
        const char16_t character =
            characterOfVirtualKey(static_cast<int>(message->wParam), InputState::instance().isDown(VK_SHIFT));
        if (character != 0)
            MessageQueue::instance().postFirst(message->hwnd, WM_CHAR, character, message->lParam);
    }
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* message)
{
    if (message == nullptr || message->hwnd == nullptr)
        return 0;
    const auto record = WindowTable::instance().find(message->hwnd);
    if (!record)
        return 0;
    return record->procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

// ---- waiting ----

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* /*handles*/, DWORD milliseconds, DWORD wakeMask,
                                  DWORD /*flags*/)
{
    if (count != 0 || wakeMask == 0 || milliseconds == INFINITE)
        return WAIT_FAILED;
    const auto deadline = tickDeadline(milliseconds);
    fetchEvents();
    if (MessageQueue::instance().waitUntil(deadline))
        return WAIT_OBJECT_0;
    fetchEvents();
    MSG waiting{};
    return MessageQueue::instance().take(waiting, nullptr, 0, 0, false) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

// ---- posting ----

void PostQuitMessage(int exitCode)
{
    MessageQueue::instance().requestQuit(exitCode);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != nullptr && !WindowTable::instance().find(window))
        return FALSE;
    return MessageQueue::instance().post(window, message, wParam, lParam) ? TRUE : FALSE;
}
