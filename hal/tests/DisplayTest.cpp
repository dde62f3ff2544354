#include "DisplayFixture.h"

#include "HALException.h"
#include "System.h"
#include "win32/WindowProc.h"

#include "core/Debug.h"

#include <wince/Messages.h>

#include <GLES/gl.h>

namespace {

using testsupport::countOf;
using testsupport::messageOf;

class DisplayTest : public testsupport::DisplayFixture {
protected:
    static bool quitPending()
    {
        MSG message{};
        return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }
    static bool windowAlive(HWND handle)
    {
        RECT rect{};
        return GetClientRect(handle, &rect) != FALSE;
    }
};

} // namespace

// ---- life cycle ------------------------------------------------------------------------

TEST_F(DisplayTest, CreateDestroyCyclesInBothOwnWindowModes)
{
    for (int mode : {1, 0, 1}) {
        SCOPED_TRACE(mode);
        ASSERT_NE(createDisplay(config(mode)), nullptr);
        const HWND handle = window();
        EXPECT_EQ(HAL::windowState().mainWindow, handle);
        EXPECT_EQ(GetForegroundWindow(), handle);
        EXPECT_EQ(display()->getX() * 1000 + display()->getY(), 10020);
        EXPECT_EQ(display()->getWidth() * 1000 + display()->getHeight(), 240320);
        EGLint width = 0;
        eglQuerySurface(eglGetCurrentDisplay(), eglGetCurrentSurface(EGL_DRAW), EGL_WIDTH, &width);
        EXPECT_EQ(width, 240);

        m_display = nullptr;
        EXPECT_FALSE(windowAlive(handle));
        EXPECT_EQ(HAL::windowState().mainWindow, nullptr);
        EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
    }
    EXPECT_EQ(core::Debug::getErrorCount(), 0);
}

TEST_F(DisplayTest, RefusedSetUpsLeaveNothingBehind)
{
    const std::string bare = "Vornic3D exception";
    const std::string noWindow = "Display constructor can not create a window";
    struct Case {
        std::function<void(HAL::DisplayConfig&)> change;
        std::string message;
    };
    const Case cases[] = {
        {[](HAL::DisplayConfig& c) { c.windowMode = 3; }, noWindow},
        {[](HAL::DisplayConfig& c) { c.windowMode = -1; }, noWindow},
        {[](HAL::DisplayConfig& c) { c.title = ""; },
         "Display constructor can not init a display because title length is 0"},
        {[](HAL::DisplayConfig& c) { c.title = nullptr; }, bare},
        {[](HAL::DisplayConfig& c) { c.width = -1; }, bare},
        {[](HAL::DisplayConfig& c) { c.bitsPerPixel = -16; }, bare},
        {[](HAL::DisplayConfig& c) { c.windowMode = 2; }, bare}, // no host window
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        HAL::DisplayConfig setup = config(1);
        c.change(setup);
        const auto create = [&] { createDisplay(setup); };
        const std::string message = c.message == bare ? messageOf<AssertationFailedException>(create)
                                                      : messageOf<HAL::HALException>(create);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(HAL::windowState().mainWindow, nullptr);
        EXPECT_FALSE(quitPending());
        // The class was given back: the next display comes up.
        EXPECT_NE(createDisplay(config(1)), nullptr);
        m_display = nullptr;
        WinceTestReset();
    }
}

TEST_F(DisplayTest, HostModeTakesTheHostsClientAreaAndLeavesItAlive)
{
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.lpszClassName = u"DisplayTestHost";
    ASSERT_NE(RegisterClassW(&hostClass), 0);
    const HWND host = CreateWindowExW(0, u"DisplayTestHost", u"host", WS_VISIBLE, 30, 40, 240, 320, nullptr,
                                      nullptr, nullptr, nullptr);
    HAL::DisplayConfig setup = config(2, 99, 99, 1, 1);
    setup.title = nullptr; // not read in this mode
    ASSERT_NE(createDisplay(setup, host), nullptr);
    EXPECT_EQ(window(), host);
    EXPECT_EQ(display()->getX() * 1000 + display()->getY(), 0);
    EXPECT_EQ(display()->getWidth() * 1000 + display()->getHeight(), 240320);
    EXPECT_NO_THROW(display()->swapBuffer());

    m_display = nullptr;
    EXPECT_TRUE(windowAlive(host));
    DestroyWindow(host);
    UnregisterClassW(u"DisplayTestHost", nullptr);
}

TEST_F(DisplayTest, DepthZeroTakesTheScreensDepthAndLogsIt)
{
    core::Debug::setVerbosity(core::Debug::LEVEL_NORMAL);
    HAL::DisplayConfig setup = config(1);
    setup.bitsPerPixel = 0;
    ASSERT_NE(createDisplay(setup), nullptr);
    EXPECT_EQ(HAL::System::getSystemInfo().bitsPerPixel, 16);
    EXPECT_EQ(countOf(log(), "Display constructor ok (10,20,240,320 (16bit))\n"), 1);
}

// ---- window procedure ------------------------------------------------------------------

TEST_F(DisplayTest, WindowProcRecordsKeysAndStylus)
{
    ASSERT_NE(createDisplay(config(1)), nullptr);
    const auto at = [](unsigned x, unsigned y) { return static_cast<LPARAM>((y << 16) | x); };
    struct Step {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int entry;
        std::int32_t expected;
    };
    const Step steps[] = {
        {WM_KEYDOWN, 65, 0, 65, 1},           {WM_KEYUP, 65, 0, 65, 0},
        {WM_MOUSEMOVE, 0, at(80, 200), 255, 80}, {WM_MOUSEMOVE, 0, at(80, 200), 256, 200},
        {WM_KEYDOWN, 255, 0, 255, 80}, // codes from 255 on would hit the stylus entries
        {WM_LBUTTONDOWN, 1, at(3, 5), 256, 5},  {WM_LBUTTONUP, 0, at(9, 9), 255, 3},
        {WM_MOUSEMOVE, 0, at(0xFFFF, 7), 255, 0xFFFF}, // left of the area: unsigned
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.message << " " << s.entry);
        EXPECT_EQ(HAL::windowProc(window(), s.message, s.wParam, s.lParam), 0);
        EXPECT_EQ(HAL::windowState().inputTable[s.entry], s.expected);
    }
    EXPECT_FALSE(quitPending());
}

TEST_F(DisplayTest, CloseEndsThePumpAndLeavesTheWindowToShutDown)
{
    ASSERT_NE(createDisplay(config(1)), nullptr);
    const HWND handle = window();
    ASSERT_TRUE(WinceTestPostClose(handle));
    int result = 1;
    for (int step = 0; step < 10 && result == 1; ++step)
        result = HAL::processMessages();
    EXPECT_EQ(result, 0);
    // Still there for the frame in progress and for an orderly destruction.
    EXPECT_TRUE(windowAlive(handle));
    EXPECT_NO_THROW(display()->swapBuffer());
    EXPECT_NO_THROW(m_display = nullptr);
    EXPECT_FALSE(windowAlive(handle));
}

// ---- errors and drawing ------------------------------------------------------------------

TEST_F(DisplayTest, CheckErrorReportsTheEglErrorFirstAndClearsBoth)
{
    ASSERT_NE(createDisplay(config(1)), nullptr);
    struct Case {
        bool glError, eglError;
        const char* line; // null: no error
    };
    const Case cases[] = {
        {false, false, nullptr},
        {true, false, "OpenGL ERROR (probe): code = 1280 (0x500)\n"},
        {false, true, "OpenGL ES ERROR (probe): code = 12300 (0x300C)\n"},
        {true, true, "OpenGL ES ERROR (probe): code = 12300 (0x300C)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.glError << c.eglError);
        clearLog();
        if (c.glError)
            glEnable(0x7FFF); // GL_INVALID_ENUM
        if (c.eglError)
            eglQueryString(eglGetCurrentDisplay(), 0x7FFF); // EGL_BAD_PARAMETER
        EXPECT_EQ(display()->checkError("probe"), c.line == nullptr);
        EXPECT_EQ(countOf(log(), "ERROR ("), c.line ? 1 : 0);
        if (c.line) {
            EXPECT_EQ(countOf(log(), c.line), 1);
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ(eglGetError(), EGL_SUCCESS);
    }
}

TEST_F(DisplayTest, SwapWithAForeignContextCurrentFails)
{
    ASSERT_NE(createDisplay(config(1)), nullptr);
    const EGLDisplay egl = eglGetCurrentDisplay();
    const EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
    const EGLContext context = eglGetCurrentContext();
    const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_NONE};
    const EGLint size[] = {EGL_WIDTH, 4, EGL_HEIGHT, 4, EGL_NONE};
    EGLConfig foreignConfig = nullptr;
    EGLint count = 0;
    ASSERT_TRUE(eglChooseConfig(egl, attributes, &foreignConfig, 1, &count) && count == 1);
    const EGLSurface foreignSurface = eglCreatePbufferSurface(egl, foreignConfig, size);
    const EGLContext foreign = eglCreateContext(egl, foreignConfig, EGL_NO_CONTEXT, nullptr);
    ASSERT_TRUE(eglMakeCurrent(egl, foreignSurface, foreignSurface, foreign));

    try {
        display()->swapBuffer();
        ADD_FAILURE() << "swap with a foreign context succeeded";
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ(e.message, "Vornic3D exception");
        EXPECT_STREQ(e.function, "HAL::Win32Display::swapBuffer");
    }
    ASSERT_TRUE(eglMakeCurrent(egl, surface, surface, context));
    eglDestroyContext(egl, foreign);
    eglDestroySurface(egl, foreignSurface);
    EXPECT_NO_THROW(display()->swapBuffer());
}

TEST_F(DisplayTest, ClearedColourReadsBackAroundASwap)
{
    ASSERT_NE(createDisplay(config(1)), nullptr);
    for (const GLubyte red : {255, 0}) {
        glClearColor(red / 255.0f, 0, 1.0f - red / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        EXPECT_NO_THROW(display()->swapBuffer());
        for (auto [x, y] : {std::pair{0, 0}, std::pair{239, 319}}) {
            GLubyte rgba[4] = {};
            glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
            EXPECT_EQ(rgba[0], red) << x << "," << y;
            EXPECT_EQ(rgba[2], 255 - red) << x << "," << y;
        }
        EXPECT_TRUE(display()->checkError("clear test"));
    }
}
