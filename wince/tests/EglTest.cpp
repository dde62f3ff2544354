#include "WindowTestSupport.h"

#include "wince/Egl.h"

#include <cstdint>

using HeadlessEgl = StandInTest;

// Without video the seam gives Mesa's surfaceless display and a pbuffer of
// the window's client size, which draws and swaps like a window surface.
TEST_F(HeadlessEgl, DrawsIntoAPbufferOfTheClientSize)
{
    ASSERT_FALSE(WinceHasVideo()) << "headless tests must run without an X server";
    TestWindow window(u"HeadlessEgl", WS_VISIBLE, 0, 0, 64, 48);
    const EGLDisplay display = WinceEglGetDisplay(window.handle());
    ASSERT_EQ(eglInitialize(display, nullptr, nullptr), EGL_TRUE);
    ASSERT_EQ(WinceEglSurfaceType(window.handle()), EGL_PBUFFER_BIT);
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    ASSERT_TRUE(eglChooseConfig(display, configAttributes, &config, 1, &count) && count == 1);
    // A size in the attributes is the window's business, not the caller's.
    const EGLint attributes[] = {EGL_WIDTH, 7, EGL_HEIGHT, 9, EGL_NONE};
    const EGLSurface surface = WinceEglCreateSurface(display, config, window.handle(), attributes);
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    ASSERT_EQ(eglMakeCurrent(display, surface, surface, context), EGL_TRUE) << std::hex << eglGetError();
    EGLint width = 0;
    EGLint height = 0;
    eglQuerySurface(display, surface, EGL_WIDTH, &width);
    eglQuerySurface(display, surface, EGL_HEIGHT, &height);
    EXPECT_EQ(std::pair(width, height), std::pair(64, 48));

    clearTo(0x0000FF);
    EXPECT_EQ(pixelAt(63, 47), 0x0000FFul);
    EXPECT_EQ(eglSwapBuffers(display, surface), EGL_TRUE);
    // A scissored clear makes Mesa keep memory in its driver until the
    // process ends: the leak check at exit must still find it reachable.
    glEnable(GL_SCISSOR_TEST);
    glScissor(32, 0, 32, 48);
    clearTo(0xFF0000);
    EXPECT_EQ(pixelAt(40, 10), 0xFF0000ul);
    EXPECT_EQ(pixelAt(10, 10), 0x0000FFul);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    HWND stale = reinterpret_cast<HWND>(std::uintptr_t(3));
    EXPECT_EQ(WinceEglGetDisplay(stale), EGL_NO_DISPLAY);
    EXPECT_EQ(WinceEglSurfaceType(stale), 0);
    EXPECT_EQ(WinceEglCreateSurface(display, config, stale, nullptr), EGL_NO_SURFACE);

    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, context);
    eglDestroySurface(display, surface);
    eglTerminate(display);
}
