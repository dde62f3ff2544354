#include "System.h"

#include <wince/Messages.h>
#include <wince/TestApi.h>
#include <wince/Window.h>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

std::vector<MSG>& delivered()
{
    static std::vector<MSG> messages;
    return messages;
}

LRESULT recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    delivered().push_back({window, message, wParam, lParam, 0, {}});
    return 0;
}

// A window whose procedure records what the pump delivers; the stand-in's
// queue is emptied around each test.
class MessagePumpTest : public testing::Test {
protected:
    void SetUp() override
    {
        WinceTestReset();
        delivered().clear();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.lpszClassName = u"MessagePumpTest";
        ASSERT_NE(RegisterClassW(&windowClass), 0);
        m_window = CreateWindowExW(0, u"MessagePumpTest", u"", WS_VISIBLE, 0, 0, 240, 400, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
        delivered().clear();
    }
    void TearDown() override
    {
        DestroyWindow(m_window);
        UnregisterClassW(u"MessagePumpTest", nullptr);
        WinceTestReset();
    }

    HWND m_window = nullptr;
};

} // namespace

TEST_F(MessagePumpTest, EmptyQueueGoesOnAndQuitStopsOnce)
{
    EXPECT_EQ(HAL::processMessages(), 1);
    ASSERT_EQ(PostMessageW(m_window, WM_USER, 1, 2), TRUE);
    PostQuitMessage(0);
    EXPECT_EQ(HAL::processMessages(), 1);
    EXPECT_EQ(HAL::processMessages(), 0);
    EXPECT_EQ(HAL::processMessages(), 1); // the quit message was taken
    ASSERT_EQ(delivered().size(), 1u);
    EXPECT_EQ(delivered()[0].message, WM_USER);
}

TEST_F(MessagePumpTest, PostedMessageReachesItsProcedureWithExactWords)
{
    const struct {
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {0, 0},
        {std::numeric_limits<WPARAM>::max(), std::numeric_limits<LPARAM>::min()},
        {0x123456789ABCDEFull, -1},
    };
    for (const auto& c : cases) {
        delivered().clear();
        ASSERT_EQ(PostMessageW(m_window, WM_USER + 7, c.wParam, c.lParam), TRUE);
        EXPECT_EQ(HAL::processMessages(), 1);
        ASSERT_EQ(delivered().size(), 1u);
        EXPECT_EQ(delivered()[0].hwnd, m_window);
        EXPECT_EQ(delivered()[0].message, WM_USER + 7);
        EXPECT_EQ(delivered()[0].wParam, c.wParam);
        EXPECT_EQ(delivered()[0].lParam, c.lParam);
    }
}

TEST_F(MessagePumpTest, KeyMessagesAreTranslatedOneStepAtATime)
{
    ASSERT_TRUE(WinceTestPostKey(m_window, 'A', true));
    EXPECT_EQ(HAL::processMessages(), 1);
    EXPECT_EQ(HAL::processMessages(), 1);
    ASSERT_EQ(delivered().size(), 2u);
    EXPECT_EQ(delivered()[0].message, WM_KEYDOWN);
    EXPECT_EQ(delivered()[1].message, WM_CHAR);
    EXPECT_EQ(delivered()[1].wParam, WPARAM('a'));
}
