#include "WindowTestSupport.h"

#include "wince/Input.h"

#include <cstdint>
#include <limits>

namespace {

class MessageQueueTest : public StandInTest {
protected:
    TestWindow m_window{u"MessageQueueTest"};
    HWND window() const { return m_window.handle(); }
};

} // namespace

TEST_F(MessageQueueTest, EmptyQueueReturnsFalseAndLeavesTheMessage)
{
    MSG message{};
    message.message = 0x1234;
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
    EXPECT_EQ(message.message, 0x1234u);
    EXPECT_EQ(PeekMessageW(nullptr, nullptr, 0, 0, PM_REMOVE), FALSE);
}

TEST_F(MessageQueueTest, QuitIsReturnedOnceWithItsCode)
{
    PostQuitMessage(7);
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE), TRUE);
    EXPECT_EQ(message.message, WM_QUIT);
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
}

TEST_F(MessageQueueTest, QuitComesAfterMessagesPostedBeforeItAndRepeatedRequestsGiveOne)
{
    ASSERT_EQ(PostMessageW(window(), WM_USER, 1, 0), TRUE);
    PostQuitMessage(1);
    PostQuitMessage(2);
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_USER);
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 2u);
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
}

TEST_F(MessageQueueTest, PostedMessageReachesItsProcedureWithExactWords)
{
    struct Case {
        WPARAM wParam;
        LPARAM lParam;
    };
    const Case cases[] = {
        {0, 0},
        {std::numeric_limits<WPARAM>::max(), std::numeric_limits<LPARAM>::min()},
        {0x123456789ABCDEFull, -1},
        {114, (40 << 16) | 30},
    };
    for (const Case& c : cases) {
        recordedMessages().clear();
        ASSERT_EQ(PostMessageW(window(), WM_USER + 5, c.wParam, c.lParam), TRUE);
        MSG message{};
        ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
        EXPECT_EQ(message.hwnd, window());
        EXPECT_EQ(TranslateMessage(&message), FALSE);
        DispatchMessageW(&message);
        ASSERT_EQ(recordedMessages().size(), 1u);
        EXPECT_EQ(recordedMessages()[0].window, window());
        EXPECT_EQ(recordedMessages()[0].message, WM_USER + 5);
        EXPECT_EQ(recordedMessages()[0].wParam, c.wParam);
        EXPECT_EQ(recordedMessages()[0].lParam, c.lParam);
    }
}

TEST_F(MessageQueueTest, ThreadMessagesAndBadWindows)
{
    EXPECT_EQ(PostMessageW(reinterpret_cast<HWND>(std::uintptr_t(0xDEAD)), WM_USER, 0, 0), FALSE);
    ASSERT_EQ(PostMessageW(nullptr, WM_USER + 1, 3, 4), TRUE);
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.message, WM_USER + 1);
    EXPECT_EQ(DispatchMessageW(&message), 0);
    EXPECT_TRUE(recordedMessages().empty());
    EXPECT_EQ(DispatchMessageW(nullptr), 0);
}

TEST_F(MessageQueueTest, FullQueueRefusesFurtherMessages)
{
    int accepted = 0;
    while (PostMessageW(window(), WM_USER, 0, 0) == TRUE && accepted <= 10000)
        ++accepted;
    EXPECT_EQ(accepted, 10000);
    MSG message{};
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(PostMessageW(window(), WM_USER, 0, 0), TRUE);
}

TEST_F(MessageQueueTest, UnreadMouseMovesAreMergedButNotAcrossOtherMessages)
{
    WinceTestPostMouse(window(), WM_MOUSEMOVE, 1, 1);
    WinceTestPostMouse(window(), WM_MOUSEMOVE, 2, 2);
    WinceTestPostMouse(window(), WM_LBUTTONDOWN, 2, 2);
    WinceTestPostMouse(window(), WM_MOUSEMOVE, 3, 3);
    const UINT expected[][2] = {
        {WM_MOUSEMOVE, 2}, {WM_LBUTTONDOWN, 2}, {WM_MOUSEMOVE, 3},
    };
    for (const auto& e : expected) {
        MSG message{};
        ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
        EXPECT_EQ(message.message, e[0]);
        EXPECT_EQ(message.lParam, static_cast<LPARAM>((e[1] << 16) | e[1]));
    }
    MSG message{};
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
}

TEST_F(MessageQueueTest, TranslatedKeysTypeCharactersNext)
{
    struct Case {
        UINT key;
        bool shift;
        WPARAM character; // 0: none
    };
    const Case cases[] = {
        {'A', false, u'a'}, {'A', true, u'A'}, {VK_RETURN, false, u'\r'}, {VK_F3, false, 0},
    };
    for (const Case& c : cases) {
        WinceTestReset();
        WinceTestSetKeyState(VK_SHIFT, c.shift);
        ASSERT_TRUE(WinceTestPostKey(window(), c.key, true));
        PostMessageW(window(), WM_USER, 0, 0);
        MSG message{};
        ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
        EXPECT_EQ(TranslateMessage(&message), TRUE);
        ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
        if (c.character != 0) {
            EXPECT_EQ(message.message, WM_CHAR) << c.key;
            EXPECT_EQ(message.wParam, c.character) << c.key;
            ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
        }
        EXPECT_EQ(message.message, WM_USER) << c.key;
    }
}

TEST_F(MessageQueueTest, MessagesOfADestroyedWindowAreDropped)
{
    TestWindow doomed(u"MessageQueueDoomed");
    PostMessageW(doomed.handle(), WM_USER, 0, 0);
    PostMessageW(window(), WM_USER + 1, 0, 0);
    ASSERT_EQ(DestroyWindow(doomed.handle()), TRUE);
    doomed.forget();
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_USER + 1);
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
}
