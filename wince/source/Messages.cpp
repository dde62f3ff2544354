// Stands in for: the message pump calls of the program's thread. Limits: see
// wince/Messages.h. Depends on: MessageQueue, SdlVideo, InputScript and the
// close signals (events are fetched on every peek), WindowTable
// (procedures), InputState (shift for WM_CHAR).
#include "wince/Messages.h"

#include "CloseSignal.h"
#include "InputScript.h"
#include "InputState.h"
#include "KeyMap.h"
#include "MessageQueue.h"
#include "SdlVideo.h"
#include "WindowTable.h"
#include "wince/Input.h"

// ---- taking and handling ----

BOOL PeekMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (message == nullptr)
        return FALSE;
    SdlVideo::instance().pump();
    InputScript::instance().replay();
    postSignalledClose();
    MSG taken{};
    if (!MessageQueue::instance().take(taken, window, filterMin, filterMax,
                                       (removeFlags & PM_REMOVE) != 0))
        return FALSE;
    *message = taken;
    return TRUE;
}

BOOL TranslateMessage(const MSG* message)
{
    if (message == nullptr || (message->message != WM_KEYDOWN && message->message != WM_KEYUP))
        return FALSE;
    if (message->message == WM_KEYDOWN && message->wParam < 256) {
        const char16_t character = characterOfVirtualKey(
            static_cast<int>(message->wParam), InputState::instance().isDown(VK_SHIFT));
        if (character != 0)
            MessageQueue::instance().postFirst(message->hwnd, WM_CHAR, character,
                                               message->lParam);
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
