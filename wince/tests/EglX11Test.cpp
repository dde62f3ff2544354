#include "X11TestSupport.h"

#include "wince/Egl.h"

#include <GLES/gl.h>
#include <X11/Xutil.h>

#include <array>
#include <memory>

namespace {

// EGL on a real window, brought up the way the display does it.
class X11Egl : public StandInTest {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        REQUIRE_X11();
        m_window = std::make_unique<TestWindow>(u"X11Egl", WS_VISIBLE, 20, 30, 64, 48);
        ASSERT_NE(m_window->handle(), nullptr);
        m_display = WinceEglGetDisplay(m_window->handle());
        ASSERT_NE(m_display, EGL_NO_DISPLAY);
        ASSERT_EQ(eglInitialize(m_display, nullptr, nullptr), EGL_TRUE);
        const EGLint attributes[] = {
            EGL_RED_SIZE,     5,
            EGL_GREEN_SIZE,   6,
            EGL_BLUE_SIZE,    5,
            EGL_ALPHA_SIZE,   EGL_DONT_CARE,
            EGL_DEPTH_SIZE,   8,
            EGL_STENCIL_SIZE, EGL_DONT_CARE,
            EGL_SURFACE_TYPE, WinceEglSurfaceType(m_window->handle()),
            EGL_NONE,
        };
        EGLint count = 0;
        ASSERT_EQ(eglChooseConfig(m_display, attributes, &m_config, 1, &count), EGL_TRUE);
        ASSERT_EQ(count, 1);
        m_context = eglCreateContext(m_display, m_config, EGL_NO_CONTEXT, nullptr);
        ASSERT_NE(m_context, EGL_NO_CONTEXT);
        m_surface = WinceEglCreateSurface(m_display, m_config, m_window->handle(), nullptr);
        ASSERT_NE(m_surface, EGL_NO_SURFACE) << std::hex << eglGetError();
        ASSERT_EQ(eglMakeCurrent(m_display, m_surface, m_surface, m_context), EGL_TRUE);
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
        m_window.reset();
        StandInTest::TearDown();
    }

    // The colour the X server shows at a client point, as 8-bit red, green
    // and blue, read through the test's own connection.
    std::array<int, 3> shown(int x, int y)
    {
        std::array<int, 3> rgb{-1, -1, -1};
        const Window xWindow = WinceTestX11Window(m_window->handle());
        XImage* image = XGetImage(m_x.get(), xWindow, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return rgb;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        auto channel = [pixel](unsigned long mask) {
            int shift = 0;
            while (mask != 0 && (mask & 1) == 0) {
                mask >>= 1;
                ++shift;
            }
            return mask == 0 ? -1 : static_cast<int>(((pixel >> shift) & mask) * 255 / mask);
        };
        rgb = {channel(image->red_mask), channel(image->green_mask), channel(image->blue_mask)};
        XDestroyImage(image);
        return rgb;
    }

    XConnection m_x;
    std::unique_ptr<TestWindow> m_window;
    EGLDisplay m_display = EGL_NO_DISPLAY;
    EGLConfig m_config = nullptr;
    EGLContext m_context = EGL_NO_CONTEXT;
    EGLSurface m_surface = EGL_NO_SURFACE;
};

} // namespace

TEST_F(X11Egl, WindowSurfaceClearsReadsBackAndSwapsOntoTheServer)
{
    ASSERT_NE(m_x.get(), nullptr);
    EXPECT_EQ(WinceEglSurfaceType(m_window->handle()), EGL_WINDOW_BIT);
    EGLint depth = 0;
    eglGetConfigAttrib(m_display, m_config, EGL_DEPTH_SIZE, &depth);
    EXPECT_GE(depth, 8);

    struct Colour {
        GLfloat r, g, b;
        std::array<int, 3> expected;
    };
    const Colour colours[] = {
        {1, 0, 0, {255, 0, 0}}, {0, 1, 0, {0, 255, 0}}, {0, 0, 1, {0, 0, 255}},
    };
    for (const Colour& c : colours) {
        glClearColor(c.r, c.g, c.b, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        std::array<GLubyte, 4> rgba{};
        glReadPixels(63, 47, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        EXPECT_EQ(rgba[0], c.expected[0]);
        EXPECT_EQ(rgba[1], c.expected[1]);
        EXPECT_EQ(rgba[2], c.expected[2]);
        ASSERT_EQ(eglSwapBuffers(m_display, m_surface), EGL_TRUE);
        for (auto [x, y] : {std::pair{0, 0}, std::pair{63, 47}})
            EXPECT_TRUE(waitFor([&] { return shown(x, y) == c.expected; }, 3.0))
                << "shown at " << x << "," << y << ": " << shown(x, y)[0] << " "
                << shown(x, y)[1] << " " << shown(x, y)[2];
    }
}
