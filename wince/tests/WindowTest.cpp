#include "WindowTestSupport.h"

#include "wince/Module.h"

#include <cstdint>

namespace {

class WindowTest : public StandInTest {};

// The engine's pattern: the procedure ends the program when its window goes.
struct DestroyProbe {
    static inline bool clientRectDuringDestroy = false;
    static inline BOOL nestedDestroy = TRUE;

    static LRESULT procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DESTROY) {
            RECT rect{};
            clientRectDuringDestroy = GetClientRect(window, &rect) == TRUE;
            nestedDestroy = DestroyWindow(window);
            PostQuitMessage(0);
        }
        return recordingProcedure(window, message, wParam, lParam);
    }
};

} // namespace

TEST_F(WindowTest, ClassRegistrationRefusesDuplicatesIncompleteRecordsAndBusyClasses)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.lpszClassName = u"Vornic3DApplication";
    EXPECT_NE(RegisterClassW(&windowClass), 0);
    EXPECT_EQ(RegisterClassW(&windowClass), 0);
    EXPECT_EQ(RegisterClassW(nullptr), 0);
    windowClass.lpszClassName = u"Other";
    windowClass.lpfnWndProc = nullptr;
    EXPECT_EQ(RegisterClassW(&windowClass), 0);
    EXPECT_EQ(UnregisterClassW(u"Vornic3DApplication", GetModuleHandleW(nullptr)), TRUE);
    EXPECT_EQ(UnregisterClassW(u"Vornic3DApplication", nullptr), FALSE);

    // A class stays while one of its windows lives.
    TestWindow window(u"WindowTestBusy");
    EXPECT_EQ(UnregisterClassW(u"WindowTestBusy", nullptr), FALSE);
    ASSERT_EQ(DestroyWindow(window.handle()), TRUE);
    window.forget();
    EXPECT_EQ(UnregisterClassW(u"WindowTestBusy", nullptr), TRUE);
    EXPECT_EQ(CreateWindowExW(0, u"WindowTestBusy", u"", 0, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowTest, DestroySendsDestroyBeforeReturningWhileTheWindowStillAnswers)
{
    TestWindow window(u"WindowTestDestroy", WS_VISIBLE, 0, 0, 240, 400, DestroyProbe::procedure);
    const HWND handle = window.handle();
    SetForegroundWindow(handle);
    ASSERT_EQ(DestroyWindow(handle), TRUE);
    window.forget();

    ASSERT_EQ(recordedMessages().size(), 1u);
    EXPECT_EQ(recordedMessages()[0].message, WM_DESTROY);
    EXPECT_TRUE(DestroyProbe::clientRectDuringDestroy);
    EXPECT_EQ(DestroyProbe::nestedDestroy, FALSE);
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    RECT rect{};
    EXPECT_EQ(GetClientRect(handle, &rect), FALSE);
    EXPECT_EQ(DestroyWindow(handle), FALSE);
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_QUIT);
}

TEST_F(WindowTest, HeadlessClientAreaIsTheGivenRectangle)
{
    const struct {
        int x, y, width, height;
        LONG right, bottom;
    } cases[] = {
        {0, 0, 240, 400, 240, 400},
        {10, 20, 100, 50, 100, 50},
        {-5, -7, -3, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TestWindow window(u"WindowTestGeometry", WS_CAPTION, c.x, c.y, c.width, c.height);
        RECT rect{-1, -1, -1, -1};
        ASSERT_EQ(GetClientRect(window.handle(), &rect), TRUE);
        EXPECT_EQ(rect.left + rect.top, 0);
        EXPECT_EQ(std::pair(rect.right, rect.bottom), std::pair(c.right, c.bottom));
        POINT point{3, 4};
        ASSERT_EQ(ClientToScreen(window.handle(), &point), TRUE);
        EXPECT_EQ(xy(point), std::pair(c.x + 3, c.y + 4));
        ASSERT_EQ(ScreenToClient(window.handle(), &point), TRUE);
        EXPECT_EQ(xy(point), std::pair(3, 4));
        EXPECT_EQ(ClientToScreen(window.handle(), nullptr), FALSE);
    }
    RECT rect{};
    EXPECT_EQ(GetClientRect(reinterpret_cast<HWND>(std::uintptr_t(1)), &rect), FALSE);
}
