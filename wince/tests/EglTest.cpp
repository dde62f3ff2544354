#include "WindowTestSupport.h"

#include "wince/Egl.h"

#include <GLES/gl.h>

#include <array>
#include <cstdint>

namespace {

// A headless window with EGL brought up on it the way the display does:
// display from the seam, RGB565-or-better with a depth buffer of the seam's
// surface type, a context and the seam's surface, current.
class HeadlessEgl : public StandInTest {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        ASSERT_FALSE(WinceHasVideo()) << "headless tests must run without an X server";
        ASSERT_NE(m_window.handle(), nullptr);
        m_display = WinceEglGetDisplay(m_window.handle());
        ASSERT_NE(m_display, EGL_NO_DISPLAY);
        ASSERT_EQ(eglInitialize(m_display, nullptr, nullptr), EGL_TRUE);
        const EGLint attributes[] = {
            EGL_RED_SIZE,     5,
            EGL_GREEN_SIZE,   6,
            EGL_BLUE_SIZE,    5,
            EGL_ALPHA_SIZE,   EGL_DONT_CARE,
            EGL_DEPTH_SIZE,   8,
            EGL_STENCIL_SIZE, EGL_DONT_CARE,
            EGL_SURFACE_TYPE, WinceEglSurfaceType(m_window.handle()),
            EGL_NONE,
        };
        EGLint count = 0;
        ASSERT_EQ(eglChooseConfig(m_display, attributes, &m_config, 1, &count), EGL_TRUE);
        ASSERT_EQ(count, 1);
        m_context = eglCreateContext(m_display, m_config, EGL_NO_CONTEXT, nullptr);
        ASSERT_NE(m_context, EGL_NO_CONTEXT);
    }

    void TearDown() override
    {
        if (m_display != EGL_NO_DISPLAY) {
            eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            if (m_context != EGL_NO_CONTEXT)
                eglDestroyContext(m_display, m_context);
            if (m_surface != EGL_NO_SURFACE)
                eglDestroySurface(m_display, m_surface);
            eglTerminate(m_display);
        }
        StandInTest::TearDown();
    }

    EGLint configValue(EGLint attribute)
    {
        EGLint value = -1;
        eglGetConfigAttrib(m_display, m_config, attribute, &value);
        return value;
    }

    static std::array<GLubyte, 4> pixel(int x, int y)
    {
        std::array<GLubyte, 4> rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    TestWindow m_window{u"HeadlessEgl", WS_VISIBLE, 0, 0, 64, 48};
    EGLDisplay m_display = EGL_NO_DISPLAY;
    EGLConfig m_config = nullptr;
    EGLContext m_context = EGL_NO_CONTEXT;
    EGLSurface m_surface = EGL_NO_SURFACE;
};

} // namespace

TEST_F(HeadlessEgl, PbufferOfClientSizeClearsSwapsAndReadsBack)
{
    EXPECT_EQ(WinceEglSurfaceType(m_window.handle()), EGL_PBUFFER_BIT);
    EXPECT_GE(configValue(EGL_GREEN_SIZE), 6);
    EXPECT_GE(configValue(EGL_DEPTH_SIZE), 8);

    // A size in the attributes is the window's business, not the caller's.
    const EGLint attributes[] = {EGL_WIDTH, 7, EGL_HEIGHT, 9, EGL_NONE};
    m_surface = WinceEglCreateSurface(m_display, m_config, m_window.handle(), attributes);
    ASSERT_NE(m_surface, EGL_NO_SURFACE) << std::hex << eglGetError();
    EGLint width = 0;
    EGLint height = 0;
    eglQuerySurface(m_display, m_surface, EGL_WIDTH, &width);
    eglQuerySurface(m_display, m_surface, EGL_HEIGHT, &height);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 48);
    ASSERT_EQ(eglMakeCurrent(m_display, m_surface, m_surface, m_context), EGL_TRUE);

    struct Colour {
        GLfloat r, g, b;
        std::array<GLubyte, 3> expected;
    };
    const Colour colours[] = {
        {1, 0, 0, {255, 0, 0}}, {0, 1, 0, {0, 255, 0}}, {0, 0, 1, {0, 0, 255}},
    };
    for (const Colour& c : colours) {
        glClearColor(c.r, c.g, c.b, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        // Both corners: the surface has the window's extent.
        for (auto [x, y] : {std::pair{0, 0}, std::pair{63, 47}}) {
            const auto rgba = pixel(x, y);
            EXPECT_EQ(rgba[0], c.expected[0]) << x << "," << y;
            EXPECT_EQ(rgba[1], c.expected[1]) << x << "," << y;
            EXPECT_EQ(rgba[2], c.expected[2]) << x << "," << y;
        }
        EXPECT_EQ(eglSwapBuffers(m_display, m_surface), EGL_TRUE);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    // A scissored clear makes Mesa keep memory in its driver until the
    // process ends: the leak check at exit must still find it reachable.
    glEnable(GL_SCISSOR_TEST);
    glScissor(32, 0, 32, 48);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(pixel(40, 10)[2], 255);
}

TEST_F(HeadlessEgl, UnknownWindowGetsNothing)
{
    HWND stale = reinterpret_cast<HWND>(std::uintptr_t(3));
    EXPECT_EQ(WinceEglGetDisplay(stale), EGL_NO_DISPLAY);
    EXPECT_EQ(WinceEglSurfaceType(stale), 0);
    EXPECT_EQ(WinceEglCreateSurface(m_display, m_config, stale, nullptr), EGL_NO_SURFACE);
}
