#include "DisplayFixture.h"
#include "WindowTestSupport.h"

#include "hal/HALException.h"
#include "hal/System.h"
#include "hal/win32/WindowProc.h"

#include "core/Debug.h"

#include "wince/Messages.h"

#include <array>
#include <dlfcn.h>

// Set by a test: EGL's choice of configuration succeeds and finds nothing.
static bool chooseNothing = false;

// Stands between the display and EGL's choice of configuration (the
// program's own definition comes before the library's).
extern "C" EGLBoolean eglChooseConfig(EGLDisplay display, const EGLint* attributes, EGLConfig* configs, EGLint size,
                                      EGLint* count)
{
    using Choose = EGLBoolean (*)(EGLDisplay, const EGLint*, EGLConfig*, EGLint, EGLint*);
    static const auto real = reinterpret_cast<Choose>(dlsym(RTLD_NEXT, "eglChooseConfig"));
    if (!chooseNothing)
        return real(display, attributes, configs, size, count);
    *count = 0;
    return EGL_TRUE;
}

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
    std::array<int, 4> geometry() const
    {
        return {display()->getX(), display()->getY(), display()->getWidth(), display()->getHeight()};
    }
};

} // namespace

// ---- life cycle ------------------------------------------------------------------------

TEST_F(DisplayTest, CreateDestroyCyclesInBothOwnWindowModes)
{
    core::Debug::setVerbosity(core::Debug::LEVEL_NORMAL);
    for (int mode : {1, 0, 1}) {
        SCOPED_TRACE(mode);
        HAL::DisplayConfig setup = config(mode);
        setup.bitsPerPixel = static_cast<std::int8_t>(mode == 0 ? 0 : 16); // 0: the screen's depth
        ASSERT_NE(createDisplay(setup), nullptr);
        const HWND handle = window();
        EXPECT_EQ(HAL::windowState().mainWindow, handle);
        EXPECT_EQ(GetForegroundWindow(), handle);
        EXPECT_EQ(geometry(), (std::array{10, 20, 240, 320}));
        EGLint width = 0;
        eglQuerySurface(eglGetCurrentDisplay(), eglGetCurrentSurface(EGL_DRAW), EGL_WIDTH, &width);
        EXPECT_EQ(width, 240);

        m_display = nullptr;
        EXPECT_FALSE(windowAlive(handle));
        EXPECT_EQ(HAL::windowState().mainWindow, nullptr);
        EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
    }
    EXPECT_EQ(countOf(log(), "Display constructor ok (10,20,240,320 (16bit))\n"), 3);
    EXPECT_EQ(core::Debug::getErrorCount(), 0);
}

TEST_F(DisplayTest, RefusedSetUpsLeaveNothingBehind)
{
    const std::string bare = "Vornic3D exception";
    const std::string noWindow = "Display constructor can not create a window";
    const struct {
        std::function<void(HAL::DisplayConfig&)> change;
        std::string message;
    } cases[] = {
        {[](HAL::DisplayConfig& c) { c.windowMode = 3; }, noWindow},
        {[](HAL::DisplayConfig& c) { c.windowMode = -1; }, noWindow},
        {[](HAL::DisplayConfig& c) { c.title = ""; },
         "Display constructor can not init a display because title length is 0"},
        {[](HAL::DisplayConfig& c) { c.title = nullptr; }, bare},
        {[](HAL::DisplayConfig& c) { c.width = -1; }, bare},
        {[](HAL::DisplayConfig& c) { c.windowMode = 2; }, bare}, // no host window
        {[](HAL::DisplayConfig&) { chooseNothing = true; }, bare},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        clearLog();
        HAL::DisplayConfig setup = config(1);
        c.change(setup);
        EXPECT_EQ(messageOf<Vornic3DException>([&] { createDisplay(setup); }), c.message);
        EXPECT_EQ(countOf(log(), "error choosing window configs"), chooseNothing ? 1 : 0);
        chooseNothing = false;
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
    TestWindow host(u"DisplayTestHost", WS_VISIBLE, 30, 40, 240, 320, DefWindowProcW);
    HAL::DisplayConfig setup = config(2, 99, 99, 1, 1);
    setup.title = nullptr; // not read in this mode
    ASSERT_NE(createDisplay(setup, host.handle()), nullptr);
    EXPECT_EQ(window(), host.handle());
    EXPECT_EQ(geometry(), (std::array{0, 0, 240, 320}));
    EXPECT_NO_THROW(display()->swapBuffer());
    m_display = nullptr;
    EXPECT_TRUE(windowAlive(host.handle()));
}

// ---- window procedure ------------------------------------------------------------------

TEST_F(DisplayTest, WindowProcRecordsKeysAndStylus)
{
    ASSERT_NE(createDisplay(config(1)), nullptr);
    const auto at = [](unsigned x, unsigned y) { return static_cast<LPARAM>((y << 16) | x); };
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int entry;
        std::int32_t expected;
    } steps[] = {
        {WM_KEYDOWN, 65, 0, 65, 1},
        {WM_KEYUP, 65, 0, 65, 0},
        {WM_MOUSEMOVE, 0, at(80, 200), 255, 80},
        {WM_MOUSEMOVE, 0, at(80, 200), 256, 200},
        {WM_KEYDOWN, 255, 0, 255, 80}, // codes from 255 on would hit the stylus entries
        {WM_LBUTTONDOWN, 1, at(3, 5), 256, 5},
        {WM_LBUTTONUP, 0, at(9, 9), 255, 3},
        {WM_MOUSEMOVE, 0, at(0xFFFF, 7), 255, 0xFFFF}, // left of the area: unsigned
    };
    for (const auto& s : steps) {
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
    // The line logged, null for none.
    const struct {
        bool glError, eglError;
        const char* line;
    } cases[] = {
        {false, false, nullptr},
        {true, false, "OpenGL ERROR (probe): code = 1280 (0x500)\n"},
        {false, true, "OpenGL ES ERROR (probe): code = 12300 (0x300C)\n"},
        {true, true, "OpenGL ES ERROR (probe): code = 12300 (0x300C)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.glError << c.eglError);
        clearLog();
        if (c.glError)
            glEnable(0x7FFF); // GL_INVALID_ENUM
        if (c.eglError)
            eglQueryString(eglGetCurrentDisplay(), 0x7FFF); // EGL_BAD_PARAMETER
        EXPECT_EQ(display()->checkError("probe"), c.line == nullptr);
        EXPECT_EQ(countOf(log(), "ERROR ("), c.line ? 1 : 0);
        if (c.line != nullptr) {
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
    EGLConfig config = nullptr;
    EGLint count = 0;
    ASSERT_TRUE(eglGetConfigs(egl, &config, 1, &count) && count == 1);
    const EGLContext foreign = eglCreateContext(egl, config, EGL_NO_CONTEXT, nullptr);
    ASSERT_TRUE(eglMakeCurrent(egl, EGL_NO_SURFACE, EGL_NO_SURFACE, foreign));

    EXPECT_THROW(display()->swapBuffer(), AssertationFailedException);
    ASSERT_TRUE(eglMakeCurrent(egl, surface, surface, context));
    eglDestroyContext(egl, foreign);
    EXPECT_NO_THROW(display()->swapBuffer());
}

TEST_F(DisplayTest, ClearedColourReadsBackAroundASwap)
{
    ASSERT_NE(createDisplay(config(1)), nullptr);
    for (const unsigned long colour : {0xFF0000ul, 0x0000FFul}) {
        clearTo(colour);
        EXPECT_NO_THROW(display()->swapBuffer());
        EXPECT_EQ(pixelAt(0, 0), colour);
        EXPECT_EQ(pixelAt(239, 319), colour);
        EXPECT_TRUE(display()->checkError("clear test"));
    }
}

TEST_F(DisplayTest, AnExactSurfaceFormatIsMetOrRefused)
{
    const HAL::DisplayConfig setup = config(1);
    const HAL::Win32Display::SurfaceFormat exact{8, 8, 8, 8, 24};
    m_display = VORNIC3D_NEW HAL::Win32Display(&setup, nullptr, &exact);
    const EGLDisplay egl = eglGetCurrentDisplay();
    EGLint id = 0;
    eglQueryContext(egl, eglGetCurrentContext(), EGL_CONFIG_ID, &id);
    const EGLint wanted[] = {EGL_CONFIG_ID, id, EGL_NONE};
    EGLConfig chosen = nullptr;
    EGLint count = 0;
    ASSERT_TRUE(eglChooseConfig(egl, wanted, &chosen, 1, &count) && count == 1);
    std::array<EGLint, 5> sizes{};
    const EGLint attributes[] = {EGL_RED_SIZE, EGL_GREEN_SIZE, EGL_BLUE_SIZE, EGL_ALPHA_SIZE, EGL_DEPTH_SIZE};
    for (std::size_t i = 0; i < sizes.size(); ++i)
        eglGetConfigAttrib(egl, chosen, attributes[i], &sizes[i]);
    EXPECT_EQ(sizes, (std::array<EGLint, 5>{8, 8, 8, 8, 24}));
    m_display = nullptr;

    // Sizes are minimums to EGL, never to this display.
    const HAL::Win32Display::SurfaceFormat unusual{8, 8, 8, 8, 17};
    const auto make = [&] { m_display = VORNIC3D_NEW HAL::Win32Display(&setup, nullptr, &unusual); };
    EXPECT_EQ(messageOf<Vornic3DException>(make), "Vornic3D exception");
    EXPECT_EQ(countOf(log(), "error choosing window configs"), 1);
    EXPECT_EQ(HAL::windowState().mainWindow, nullptr);
}
