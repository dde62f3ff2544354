#include "WindowTestSupport.h"

#include "wince/Input.h"
#include "wince/Synch.h"
#include "wince/Tick.h"

#include <chrono>
#include <cstdint>
#include <thread>

namespace {

class MessageQueueTest : public StandInTest {
protected:
    // The next message taken from the queue; WM_NULL (0) when it is empty.
    static MSG next(UINT flags = PM_REMOVE)
    {
        MSG message{};
        return PeekMessageW(&message, nullptr, 0, 0, flags) ? message : MSG{};
    }

    TestWindow m_window{u"MessageQueueTest"};
    HWND window() const { return m_window.handle(); }
};

} // namespace

TEST_F(MessageQueueTest, EmptyQueueLeavesTheMessageAndQuitComesOnceAfterWhatWasPosted)
{
    MSG message{};
    message.message = 0x1234;
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
    EXPECT_EQ(message.message, 0x1234u);
    EXPECT_EQ(PeekMessageW(nullptr, nullptr, 0, 0, PM_REMOVE), FALSE);

    ASSERT_EQ(PostMessageW(window(), WM_USER, 1, 0), TRUE);
    PostQuitMessage(1);
    PostQuitMessage(7);
    EXPECT_EQ(next().message, WM_USER);
    EXPECT_EQ(next(PM_NOREMOVE).message, WM_QUIT);
    message = next();
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(next().message, 0u);
}

TEST_F(MessageQueueTest, ThreadMessagesBadWindowsAndDestroyedWindows)
{
    EXPECT_EQ(PostMessageW(reinterpret_cast<HWND>(std::uintptr_t(0xDEAD)), WM_USER, 0, 0), FALSE);
    ASSERT_EQ(PostMessageW(nullptr, WM_USER + 1, 3, 4), TRUE);
    MSG message = next();
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.message, WM_USER + 1);
    EXPECT_EQ(DispatchMessageW(&message), 0);
    EXPECT_EQ(DispatchMessageW(nullptr), 0);
    EXPECT_TRUE(recordedMessages().empty());

    // What waits for a window that goes is dropped with it.
    TestWindow doomed(u"MessageQueueDoomed");
    PostMessageW(doomed.handle(), WM_USER, 0, 0);
    PostMessageW(window(), WM_USER + 2, 0, 0);
    ASSERT_EQ(DestroyWindow(doomed.handle()), TRUE);
    doomed.forget();
    EXPECT_EQ(next().message, WM_USER + 2);
    EXPECT_EQ(next().message, 0u);
}

TEST_F(MessageQueueTest, FullQueueRefusesFurtherMessages)
{
    int accepted = 0;
    while (PostMessageW(window(), WM_USER, 0, 0) == TRUE && accepted <= 10000)
        ++accepted;
    EXPECT_EQ(accepted, 10000);
    EXPECT_EQ(next().message, WM_USER);
    EXPECT_EQ(PostMessageW(window(), WM_USER, 0, 0), TRUE);
}

TEST_F(MessageQueueTest, UnreadMouseMovesAreMergedButNotAcrossOtherMessages)
{
    WinceTestPostMouse(window(), WM_MOUSEMOVE, 1, 1);
    WinceTestPostMouse(window(), WM_MOUSEMOVE, 2, 2);
    WinceTestPostMouse(window(), WM_LBUTTONDOWN, 2, 2);
    WinceTestPostMouse(window(), WM_MOUSEMOVE, 3, 3);
    const UINT expected[][2] = {{WM_MOUSEMOVE, 2}, {WM_LBUTTONDOWN, 2}, {WM_MOUSEMOVE, 3}};
    for (const auto& e : expected) {
        const MSG message = next();
        EXPECT_EQ(message.message, e[0]);
        EXPECT_EQ(message.lParam, static_cast<LPARAM>((e[1] << 16) | e[1]));
    }
    EXPECT_EQ(next().message, 0u);
}

TEST_F(MessageQueueTest, TranslatedKeysTypeCharactersNext)
{
    // A character of 0: none.
    const struct {
        UINT key;
        bool shift;
        WPARAM character;
    } cases[] = {
        {'A', false, u'a'},
        {'A', true, u'A'},
        {VK_RETURN, false, u'\r'},
        {VK_F3, false, 0},
    };
    for (const auto& c : cases) {
        WinceTestReset();
        WinceTestSetKeyState(VK_SHIFT, c.shift);
        ASSERT_TRUE(WinceTestPostKey(window(), c.key, true));
        EXPECT_LT(GetAsyncKeyState(static_cast<int>(c.key)), 0) << "down now";
        PostMessageW(window(), WM_USER, 0, 0);
        MSG message = next();
        EXPECT_EQ(TranslateMessage(&message), TRUE);
        message = next();
        if (c.character != 0) {
            EXPECT_EQ(message.message, WM_CHAR) << c.key;
            EXPECT_EQ(message.wParam, c.character) << c.key;
            message = next();
        }
        EXPECT_EQ(message.message, WM_USER) << c.key;
    }
    MSG user{};
    user.message = WM_USER;
    EXPECT_EQ(TranslateMessage(&user), FALSE);
    EXPECT_FALSE(WinceTestPostKey(window(), 255, true));
    EXPECT_FALSE(WinceTestPostKey(nullptr, 'A', true));
}

// ---- waiting for a message ----

TEST_F(MessageQueueTest, WaitEndsWithAMessageOrOnTheTick)
{
    const struct {
        const char* what;
        DWORD count;
        DWORD milliseconds;
        DWORD wakeMask;
        DWORD result;
    } refused[] = {{"a handle", 1, 1, QS_ALLINPUT, WAIT_FAILED},
                   {"no wake mask", 0, 1, 0, WAIT_FAILED},
                   {"for ever", 0, INFINITE, QS_ALLINPUT, WAIT_FAILED},
                   {"only a look", 0, 0, QS_ALLINPUT, WAIT_TIMEOUT}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MsgWaitForMultipleObjectsEx(c.count, nullptr, c.milliseconds, c.wakeMask, MWMO_INPUTAVAILABLE),
                  c.result);
    }

    const DWORD before = GetTickCount();
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 3, QS_ALLINPUT, MWMO_INPUTAVAILABLE), WAIT_TIMEOUT);
    EXPECT_GE(GetTickCount() - before, 3u);

    // A waiting message, peeked before or not, ends the wait and stays.
    ASSERT_EQ(PostMessageW(window(), WM_USER, 0, 0), TRUE);
    EXPECT_EQ(next(PM_NOREMOVE).message, WM_USER);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 60000, QS_ALLINPUT, MWMO_INPUTAVAILABLE), WAIT_OBJECT_0);
    EXPECT_EQ(next().message, WM_USER);
    PostQuitMessage(0);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 60000, QS_ALLINPUT, MWMO_INPUTAVAILABLE), WAIT_OBJECT_0);
    EXPECT_EQ(next().message, WM_QUIT);
}

TEST_F(MessageQueueTest, MessagePostedByAnotherThreadEndsTheWait)
{
    std::thread poster([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostMessageW(window(), WM_USER + 3, 0, 0);
    });
    const DWORD before = GetTickCount();
    const DWORD result = MsgWaitForMultipleObjectsEx(0, nullptr, 60000, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    const DWORD waited = GetTickCount() - before;
    poster.join();
    EXPECT_EQ(result, WAIT_OBJECT_0);
    EXPECT_LT(waited, 10000u) << "the post woke the wait";
    EXPECT_EQ(next().message, WM_USER + 3);
}
