#include "WindowTestSupport.h"

#include "wince/Module.h"

#include <climits>
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

// ---- classes ----

TEST_F(WindowTest, ClassRegistrationRefusesDuplicatesAndIncompleteRecords)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.lpszClassName = u"Vornic3DApplication";
    const ATOM first = RegisterClassW(&windowClass);
    EXPECT_NE(first, 0);
    EXPECT_EQ(RegisterClassW(&windowClass), 0);

    WNDCLASSW noProcedure = windowClass;
    noProcedure.lpfnWndProc = nullptr;
    noProcedure.lpszClassName = u"Other";
    EXPECT_EQ(RegisterClassW(&noProcedure), 0);
    EXPECT_EQ(RegisterClassW(nullptr), 0);

    EXPECT_EQ(UnregisterClassW(u"Vornic3DApplication", GetModuleHandleW(nullptr)), TRUE);
    EXPECT_EQ(UnregisterClassW(u"Vornic3DApplication", nullptr), FALSE);
    EXPECT_NE(RegisterClassW(&windowClass), 0);
    EXPECT_EQ(UnregisterClassW(u"Vornic3DApplication", nullptr), TRUE);
}

TEST_F(WindowTest, ClassWithAWindowCannotBeUnregistered)
{
    TestWindow window(u"WindowTestBusy");
    ASSERT_NE(window.handle(), nullptr);
    EXPECT_EQ(UnregisterClassW(u"WindowTestBusy", nullptr), FALSE);
    ASSERT_EQ(DestroyWindow(window.handle()), TRUE);
    window.forget();
    EXPECT_EQ(UnregisterClassW(u"WindowTestBusy", nullptr), TRUE);
    EXPECT_EQ(CreateWindowExW(0, u"WindowTestBusy", u"", WS_VISIBLE, 0, 0, 10, 10, nullptr,
                              nullptr, nullptr, nullptr),
              nullptr);
}

// ---- destruction ----

TEST_F(WindowTest, DestroySendsDestroyBeforeReturningWhileTheWindowStillAnswers)
{
    TestWindow window(u"WindowTestDestroy", WS_VISIBLE, 0, 0, 240, 400, DestroyProbe::procedure);
    ASSERT_NE(window.handle(), nullptr);
    SetForegroundWindow(window.handle());
    ASSERT_EQ(DestroyWindow(window.handle()), TRUE);
    window.forget();

    ASSERT_EQ(recordedMessages().size(), 1u);
    EXPECT_EQ(recordedMessages()[0].message, WM_DESTROY);
    EXPECT_TRUE(DestroyProbe::clientRectDuringDestroy);
    EXPECT_EQ(DestroyProbe::nestedDestroy, FALSE);
    EXPECT_EQ(GetForegroundWindow(), nullptr);

    RECT rect{};
    EXPECT_EQ(GetClientRect(recordedMessages()[0].window, &rect), FALSE);
    EXPECT_EQ(DestroyWindow(recordedMessages()[0].window), FALSE);
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_QUIT);
}

TEST_F(WindowTest, DefaultProcedureKeepsTheWindowOnClose)
{
    TestWindow window(u"WindowTestClose");
    ASSERT_TRUE(WinceTestPostClose(window.handle()));
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_CLOSE);
    EXPECT_EQ(message.hwnd, window.handle());
    EXPECT_EQ(DispatchMessageW(&message), 0);
    ASSERT_EQ(recordedMessages().size(), 1u);
    EXPECT_EQ(recordedMessages()[0].message, WM_CLOSE);
    RECT rect{};
    EXPECT_EQ(GetClientRect(window.handle(), &rect), TRUE);
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
    EXPECT_FALSE(WinceTestPostClose(nullptr));
}

// ---- geometry without video ----

TEST_F(WindowTest, HeadlessClientAreaIsTheGivenRectangle)
{
    struct Case {
        int x, y, width, height;
        LONG right, bottom;
    };
    const Case cases[] = {
        {0, 0, 240, 400, 240, 400},
        {10, 20, 100, 50, 100, 50},
        {-5, -7, -3, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TestWindow window(u"WindowTestGeometry", WS_CAPTION, c.x, c.y, c.width, c.height);
        ASSERT_NE(window.handle(), nullptr);
        RECT rect{-1, -1, -1, -1};
        ASSERT_EQ(GetClientRect(window.handle(), &rect), TRUE);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.right, c.right);
        EXPECT_EQ(rect.bottom, c.bottom);

        POINT point{3, 4};
        ASSERT_EQ(ClientToScreen(window.handle(), &point), TRUE);
        EXPECT_EQ(point.x, c.x + 3);
        EXPECT_EQ(point.y, c.y + 4);
        ASSERT_EQ(ScreenToClient(window.handle(), &point), TRUE);
        EXPECT_EQ(point.x, 3);
        EXPECT_EQ(point.y, 4);
    }
}

TEST_F(WindowTest, CoordinateTransformsSaturateAndRefuseBadArguments)
{
    TestWindow window(u"WindowTestSaturate", WS_VISIBLE, 100, -100, 10, 10);
    POINT point{INT32_MAX, INT32_MAX};
    ASSERT_EQ(ClientToScreen(window.handle(), &point), TRUE);
    EXPECT_EQ(point.x, INT32_MAX);
    EXPECT_EQ(point.y, INT32_MAX - 100);
    point = POINT{INT32_MIN, INT32_MIN};
    ASSERT_EQ(ScreenToClient(window.handle(), &point), TRUE);
    EXPECT_EQ(point.x, INT32_MIN);
    EXPECT_EQ(point.y, INT32_MIN + 100);

    RECT rect{};
    EXPECT_EQ(GetClientRect(reinterpret_cast<HWND>(std::uintptr_t(1)), &rect), FALSE);
    EXPECT_EQ(ClientToScreen(window.handle(), nullptr), FALSE);
}

// ---- foreground ----

TEST_F(WindowTest, ForegroundFollowsSetForegroundWindowAndTheTestApi)
{
    TestWindow first(u"WindowTestFront1");
    TestWindow second(u"WindowTestFront2");
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_EQ(SetForegroundWindow(first.handle()), TRUE);
    EXPECT_EQ(GetForegroundWindow(), first.handle());
    EXPECT_EQ(SetForegroundWindow(second.handle()), TRUE);
    EXPECT_EQ(GetForegroundWindow(), second.handle());
    EXPECT_EQ(SetForegroundWindow(nullptr), FALSE);
    EXPECT_EQ(GetForegroundWindow(), second.handle());
    WinceTestSetForeground(nullptr);
    EXPECT_EQ(GetForegroundWindow(), nullptr);
}
