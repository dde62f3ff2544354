#pragma once

#include "hal/Display.h"
#include "hal/DisplayConfig.h"

#include "wince/Egl.h"
#include "wince/Window.h"

namespace HAL {

// HAL::Display on the phone's window system: registers the window class
// "Vornic3DApplication", creates the program's one window (or adopts the
// host window in mode 2), brings EGL up on it (RGB565 with a depth buffer,
// or exactly the sizes a caller asks for) and keeps the context and surface
// current. A window on a real display presents with the display's refresh
// (swap interval 1) where the driver honours it.
// Contract: one at a time (the class stays registered while it lives). A
// failing constructor undoes what it made (EGL objects, window, class) before
// it throws. The window procedure ends the program on close, and the
// destructor destroys the window, so a closed window is never drawn into
// after it is gone.
class Win32Display : public Display {
public:
    // Channel and depth sizes in bits that the surface must have exactly,
    // for callers that compare pixels read back (the renderer's tests);
    // the program itself takes the phone's choice.
    struct SurfaceFormat {
        int red;
        int green;
        int blue;
        int alpha;
        int depth;
    };

    // Without `exactFormat`, the phone's choice: at least RGB565 and an
    // 8-bit depth buffer.
    Win32Display(const DisplayConfig* config, HWND hostWindow, const SurfaceFormat* exactFormat = nullptr);
    ~Win32Display() noexcept(false) override;

    void swapBuffer() override;
    bool checkError(const char* name) override;

    // ---- geometry ----
    int getWidth() override { return m_config.width; }
    int getHeight() override { return m_config.height; }
    int getX() override { return m_config.x; }
    int getY() override { return m_config.y; }

    // The window drawn into (the host window in mode 2).
    HWND getWindowHandle() const { return m_window; }

    // Fails without a window; nothing to switch on this platform.
    void setFullscreen(bool on, int bitsPerPixel);

private:
    // ---- set-up and tear-down ----
    void adoptHostWindow(HWND hostWindow);
    // A window of its own from the record the constructor has checked.
    void createOwnWindow();
    HWND createWindow(int x, int y, int width, int height, int windowMode, const WCHAR* title);
    void initDisplay();
    EGLConfig chooseConfig();
    void deInitDisplay();
    void destroyOwnWindow();
    // Undoes whatever a failing constructor made; never throws.
    void releasePartial() noexcept;

    DisplayConfig m_config;
    SurfaceFormat m_exactFormat{};
    bool m_hasExactFormat = false;
    EGLDisplay m_eglDisplay = EGL_NO_DISPLAY;
    EGLSurface m_eglSurface = EGL_NO_SURFACE;
    EGLContext m_eglContext = EGL_NO_CONTEXT;
    HWND m_window = nullptr;
    bool m_classRegistered = false;
};

} // namespace HAL
