#include "hal/win32/Win32Display.h"

#include "hal/HALException.h"
#include "hal/System.h"
#include "hal/win32/Win32WindowState.h"
#include "hal/win32/WindowProc.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"

#include "wince/Module.h"
#include "wince/Thread.h"

#include <GLES/gl.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace HAL {

namespace {

constexpr WCHAR kClassName[] = u"Vornic3DApplication";

bool fitsWindowCoordinate(LONG value)
{
    return value >= -32767 && value <= 32766;
}

// The title widened byte by byte into the main pool; null when the pool's
// allocation hook gives nothing.
WCHAR* widenTitle(const char* title, std::size_t length)
{
    VORNIC3D_CHECK(length < static_cast<std::size_t>(INT_MAX) / sizeof(WCHAR) - 1);
    const int bytes = static_cast<int>((length + 1) * sizeof(WCHAR));
    auto* wide = static_cast<WCHAR*>(VORNIC3D_ALLOC(bytes));
    if (wide == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < length; ++i)
        wide[i] = static_cast<unsigned char>(title[i]);
    wide[length] = 0;
    return wide;
}

} // namespace

// ---- factory ------------------------------------------------------------------------

Display* Display::createDisplayHandle(const DisplayConfig* config, void* parentWindow)
{
    return VORNIC3D_NEW Win32Display(config, static_cast<HWND>(parentWindow));
}

// ---- construction ---------------------------------------------------------------------

Win32Display::Win32Display(const DisplayConfig* config, HWND hostWindow, const SurfaceFormat* exactFormat)
{
    VORNIC3D_CHECK(config != nullptr);
    m_config = *config;
    if (exactFormat != nullptr) {
        m_exactFormat = *exactFormat;
        m_hasExactFormat = true;
    }
    // Checked here, so that a refused record names the constructor.
    if (m_config.windowMode != DisplayConfig::WINDOW_MODE_HOST) {
        VORNIC3D_CHECK(m_config.title != nullptr);
        VORNIC3D_CHECK(m_config.width >= 0);
        VORNIC3D_CHECK(m_config.height >= 0);
        VORNIC3D_CHECK(m_config.bitsPerPixel >= 0);
    }
    try {
        if (m_config.windowMode == DisplayConfig::WINDOW_MODE_HOST)
            adoptHostWindow(hostWindow);
        else
            createOwnWindow();
    } catch (...) {
        // Nothing may stay behind: a registered class or a live window would
        // make the next display fail.
        releasePartial();
        throw;
    }
}

void Win32Display::createOwnWindow()
{
    const std::size_t titleLength = std::strlen(m_config.title);
    if (titleLength == 0)
        throw HALException("Display constructor can not init a display because title length is 0");
    WCHAR* title = widenTitle(m_config.title, titleLength);
    if (title == nullptr) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "Display constructor failed (title error)\n");
        throw HALException("Display constructor can not init a display");
    }

    try {
        if (m_config.bitsPerPixel == 0) {
            const int screenBits = System::getSystemInfo().bitsPerPixel;
            VORNIC3D_CHECK(screenBits <= INT8_MAX);
            m_config.bitsPerPixel = static_cast<std::int8_t>(screenBits);
        }
        m_window = createWindow(m_config.x, m_config.y, m_config.width, m_config.height, m_config.windowMode, title);
        VORNIC3D_CHECK(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL));
        if (m_window == nullptr)
            throw HALException("Display constructor can not create a window");
        core::Debug::printf(core::Debug::LEVEL_NORMAL, "Display constructor ok (%d,%d,%d,%d (%dbit))\n", m_config.x,
                            m_config.y, m_config.width, m_config.height, m_config.bitsPerPixel);
        if (m_config.windowMode == DisplayConfig::WINDOW_MODE_FULLSCREEN)
            setFullscreen(true, m_config.bitsPerPixel);
    } catch (...) {
        VORNIC3D_FREE(title);
        throw;
    }
    VORNIC3D_FREE(title);

    initDisplay();
    ShowWindow(m_window, SW_SHOWNORMAL);
}

void Win32Display::adoptHostWindow(HWND hostWindow)
{
    RECT client{};
    VORNIC3D_CHECK(GetClientRect(hostWindow, &client));
    VORNIC3D_CHECK(fitsWindowCoordinate(client.left));
    VORNIC3D_CHECK(fitsWindowCoordinate(client.right));
    VORNIC3D_CHECK(fitsWindowCoordinate(client.top));
    VORNIC3D_CHECK(fitsWindowCoordinate(client.bottom));
    // The size must fit the record's 16 bits too.
    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    VORNIC3D_CHECK(width >= 0 && width <= INT16_MAX);
    VORNIC3D_CHECK(height >= 0 && height <= INT16_MAX);

    m_config.title = " ";
    m_config.windowMode = DisplayConfig::WINDOW_MODE_HOST;
    m_config.x = static_cast<std::int16_t>(client.left);
    m_config.y = static_cast<std::int16_t>(client.top);
    m_config.width = static_cast<std::int16_t>(width);
    m_config.height = static_cast<std::int16_t>(height);
    m_window = hostWindow;

    initDisplay();
    ShowWindow(m_window, SW_SHOWNORMAL);
}

HWND Win32Display::createWindow(int x, int y, int width, int height, int windowMode, const WCHAR* title)
{
    const HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassW(&windowClass) == 0) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "Display constructor failed (window class error)\n");
        return nullptr;
    }
    m_classRegistered = true;

    DWORD style = 0;
    if (windowMode == DisplayConfig::WINDOW_MODE_FULLSCREEN)
        style = WS_VISIBLE;
    else if (windowMode == DisplayConfig::WINDOW_MODE_WINDOWED)
        style = WS_CAPTION;
    else
        return nullptr;

    const HWND window =
        CreateWindowExW(0, kClassName, title, style, x, y, width, height, nullptr, nullptr, module, nullptr);
    Win32WindowState& state = windowState();
    state.mainWindow = window;
    for (int key = 0; key < Win32WindowState::kKeyCount; ++key)
        state.inputTable[key] = 0;
    if (window == nullptr)
        return nullptr;

    if (!SetForegroundWindow(window))
        core::Debug::printf(core::Debug::LEVEL_WARNING, "Display constructor (SetForegroundWindow) failed\n");
    return window;
}

void Win32Display::initDisplay()
{
    m_eglDisplay = WinceEglGetDisplay(m_window);
    VORNIC3D_CHECK(m_eglDisplay != EGL_NO_DISPLAY);
    VORNIC3D_CHECK(eglGetError() == EGL_SUCCESS);

    EGLint major = 0;
    EGLint minor = 0;
    eglInitialize(m_eglDisplay, &major, &minor);
    VORNIC3D_CHECK(eglGetError() == EGL_SUCCESS);

    const EGLConfig config = chooseConfig();
    // A successful choice that found nothing is as much a failure as an error.
    if (config == nullptr) {
        std::fputs("error choosing window configs \n", stdout);
        std::fflush(stdout);
        VORNIC3D_CHECK(false);
    }

    m_eglContext = eglCreateContext(m_eglDisplay, config, EGL_NO_CONTEXT, nullptr);
    VORNIC3D_CHECK(m_eglContext != EGL_NO_CONTEXT);
    VORNIC3D_CHECK(eglGetError() == EGL_SUCCESS);

    m_eglSurface = WinceEglCreateSurface(m_eglDisplay, config, m_window, nullptr);
    VORNIC3D_CHECK(m_eglSurface != EGL_NO_SURFACE);
    VORNIC3D_CHECK(eglGetError() == EGL_SUCCESS);

    eglMakeCurrent(m_eglDisplay, m_eglSurface, m_eglSurface, m_eglContext);
    VORNIC3D_CHECK(eglGetError() == EGL_SUCCESS);

    // A real display then paces the main loop with its refresh, as the
    // phone's did. A driver that refuses keeps its own pace; its refusal is
    // cleared here, so no later check reports it.
    if (eglSwapInterval(m_eglDisplay, 1) != EGL_TRUE)
        eglGetError();
}

// The phone's choice is the first configuration EGL ranks best for the
// minimum sizes (RGB565, depth 8); an exact format takes the first ranked
// configuration whose sizes are the asked ones, as EGL treats sizes as
// minimums. Null when nothing fits or the choice fails.
EGLConfig Win32Display::chooseConfig()
{
    const SurfaceFormat phone{5, 6, 5, 0, 8};
    const SurfaceFormat& wanted = m_hasExactFormat ? m_exactFormat : phone;
    const EGLint attributes[] = {
        EGL_RED_SIZE,     wanted.red,
        EGL_GREEN_SIZE,   wanted.green,
        EGL_BLUE_SIZE,    wanted.blue,
        EGL_ALPHA_SIZE,   m_hasExactFormat ? wanted.alpha : EGL_DONT_CARE,
        EGL_DEPTH_SIZE,   wanted.depth,
        EGL_STENCIL_SIZE, EGL_DONT_CARE,
        EGL_SURFACE_TYPE, WinceEglSurfaceType(m_window),
        EGL_NONE,
    };
    EGLint count = 0;
    if (eglChooseConfig(m_eglDisplay, attributes, nullptr, 0, &count) != EGL_TRUE || count < 1)
        return nullptr;
    std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
    if (eglChooseConfig(m_eglDisplay, attributes, configs.data(), count, &count) != EGL_TRUE || count < 1)
        return nullptr;
    if (!m_hasExactFormat)
        return configs[0];
    const auto size = [this](EGLConfig config, EGLint attribute) {
        EGLint value = -1;
        eglGetConfigAttrib(m_eglDisplay, config, attribute, &value);
        return static_cast<int>(value);
    };
    for (EGLint i = 0; i < count; ++i) {
        const EGLConfig config = configs[static_cast<std::size_t>(i)];
        if (size(config, EGL_RED_SIZE) == wanted.red && size(config, EGL_GREEN_SIZE) == wanted.green &&
            size(config, EGL_BLUE_SIZE) == wanted.blue && size(config, EGL_ALPHA_SIZE) == wanted.alpha &&
            size(config, EGL_DEPTH_SIZE) == wanted.depth)
            return config;
    }
    return nullptr;
}

// ---- drawing ----------------------------------------------------------------------------

void Win32Display::swapBuffer()
{
    VORNIC3D_CHECK(eglGetCurrentContext() == m_eglContext);
    VORNIC3D_CHECK(eglGetCurrentDisplay() == m_eglDisplay);
    VORNIC3D_CHECK(eglGetCurrentSurface(EGL_DRAW) == m_eglSurface);
    VORNIC3D_CHECK(eglGetCurrentSurface(EGL_READ) == m_eglSurface);
    if (eglSwapBuffers(m_eglDisplay, m_eglSurface) != EGL_TRUE)
        throw HALException("Win32Display : swapBuffer failed");
}

bool Win32Display::checkError(const char* name)
{
    VORNIC3D_CHECK(name != nullptr);
    // Both are fetched, and so cleared, whichever is reported.
    const GLenum glError = glGetError();
    const EGLint eglError = eglGetError();
    if (eglError != EGL_SUCCESS) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "OpenGL ES ERROR (%s): code = %d (0x%X)\n", name, eglError,
                            static_cast<unsigned>(eglError));
        return false;
    }
    if (glError != GL_NO_ERROR) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "OpenGL ERROR (%s): code = %d (0x%X)\n", name,
                            static_cast<int>(glError), static_cast<unsigned>(glError));
        return false;
    }
    return true;
}

void Win32Display::setFullscreen(bool /*on*/, int /*bitsPerPixel*/)
{
    // The window already covers what it was given; there is no mode to switch.
    VORNIC3D_CHECK(m_window != nullptr);
}

// ---- tear-down --------------------------------------------------------------------------

Win32Display::~Win32Display() noexcept(false)
{
    VORNIC3D_CHECK(m_window != nullptr);
    try {
        deInitDisplay();
    } catch (...) {
        // The window and the class go all the same, so a new display can be made.
        releasePartial();
        throw;
    }
    if (m_config.windowMode == DisplayConfig::WINDOW_MODE_HOST)
        return;
    if (m_config.windowMode == DisplayConfig::WINDOW_MODE_FULLSCREEN)
        setFullscreen(false, 0);
    destroyOwnWindow();
    core::Debug::printf(core::Debug::LEVEL_LOW, "HAL::deinitDisplay ok\n");
}

void Win32Display::deInitDisplay()
{
    static constexpr char kName[] = "HAL::Win32Display::deInitDisplay";
    // Released first: a context or surface still current would outlive its
    // destruction and the display's termination.
    const EGLBoolean released = eglMakeCurrent(m_eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    VORNIC3D_ASSERT(released == EGL_TRUE || checkError(kName), "OpenGLES error");
    VORNIC3D_ASSERT(checkError(kName), "OpenGLES error");

    const EGLBoolean contextGone = eglDestroyContext(m_eglDisplay, m_eglContext);
    m_eglContext = EGL_NO_CONTEXT;
    VORNIC3D_ASSERT(contextGone == EGL_TRUE || checkError(kName), "OpenGLES error");
    VORNIC3D_ASSERT(checkError(kName), "OpenGLES error");

    const EGLBoolean surfaceGone = eglDestroySurface(m_eglDisplay, m_eglSurface);
    m_eglSurface = EGL_NO_SURFACE;
    VORNIC3D_ASSERT(surfaceGone == EGL_TRUE || checkError(kName), "OpenGLES error");
    VORNIC3D_ASSERT(checkError(kName), "OpenGLES error");

    const EGLBoolean terminated = eglTerminate(m_eglDisplay);
    m_eglDisplay = EGL_NO_DISPLAY;
    VORNIC3D_ASSERT(terminated == EGL_TRUE || checkError(kName), "OpenGLES error");
    VORNIC3D_ASSERT(checkError(kName), "OpenGLES error");
}

void Win32Display::destroyOwnWindow()
{
    // Destroyed while still the main window, so the loop is told to end.
    const BOOL destroyed = DestroyWindow(m_window);
    if (windowState().mainWindow == m_window)
        windowState().mainWindow = nullptr;
    if (!destroyed) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "HAL::deinitDisplay failed\n");
        throw HALException("HAL: can not close the window");
    }
    m_window = nullptr;
    if (!UnregisterClassW(kClassName, GetModuleHandleW(nullptr))) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "HAL::deinitDisplay can not destroy the window\n");
        throw HALException("HAL: can not close the window");
    }
    m_classRegistered = false;
}

void Win32Display::releasePartial() noexcept
{
    if (m_eglDisplay != EGL_NO_DISPLAY) {
        eglMakeCurrent(m_eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (m_eglContext != EGL_NO_CONTEXT)
            eglDestroyContext(m_eglDisplay, m_eglContext);
        if (m_eglSurface != EGL_NO_SURFACE)
            eglDestroySurface(m_eglDisplay, m_eglSurface);
        eglTerminate(m_eglDisplay);
        m_eglContext = EGL_NO_CONTEXT;
        m_eglSurface = EGL_NO_SURFACE;
        m_eglDisplay = EGL_NO_DISPLAY;
    }
    if (m_config.windowMode != DisplayConfig::WINDOW_MODE_HOST && m_window != nullptr) {
        // Forgotten first: a window that never became a working display must
        // not end the program's loop when it goes.
        if (windowState().mainWindow == m_window)
            windowState().mainWindow = nullptr;
        DestroyWindow(m_window);
    }
    m_window = nullptr;
    if (m_classRegistered) {
        UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
        m_classRegistered = false;
    }
}

} // namespace HAL
