#include "DisplayX11Fixture.h"

#include <GLES/gl.h>
#include <X11/Xutil.h>

namespace {

class DisplayX11Test : public testsupport::DisplayX11Fixture {
protected:
    ~DisplayX11Test() noexcept override {}

    // The colour the X server shows at client point (x, y), as 0xRRGGBB.
    unsigned long shown(int x, int y)
    {
        XImage* image = XGetImage(m_x.get(), m_xWindow, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return ~0ul;
        const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return value;
    }
};

} // namespace

TEST_F(DisplayX11Test, WindowSurfaceSwapsOntoTheScreen)
{
    EXPECT_EQ(WinceEglSurfaceType(window()), EGL_WINDOW_BIT);
    for (const unsigned long colour : {0xFF0000ul, 0x0000FFul}) {
        glClearColor(colour == 0xFF0000 ? 1 : 0, 0, colour == 0xFF ? 1 : 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_NO_THROW(display()->swapBuffer());
        EXPECT_TRUE(display()->checkError("x11 swap"));
        EXPECT_TRUE(waitFor([&] { return shown(0, 0) == colour && shown(239, 319) == colour; }))
            << std::hex << shown(0, 0);
    }
}

TEST_F(DisplayX11Test, ClosingTheWindowEndsThePumpWithZero)
{
    // What a window manager sends for the close button.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = m_xWindow;
    event.xclient.message_type = XInternAtom(m_x.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_x.get(), "WM_DELETE_WINDOW", False));
    ASSERT_NE(XSendEvent(m_x.get(), m_xWindow, False, NoEventMask, &event), 0);
    XFlush(m_x.get());

    int result = 1;
    EXPECT_TRUE(waitFor([&] { return (result = HAL::processMessages()) == 0; }));
    // The frame in progress still has its window; shut-down destroys it.
    XWindowAttributes attributes{};
    EXPECT_NE(XGetWindowAttributes(m_x.get(), m_xWindow, &attributes), 0);
    EXPECT_NO_THROW(display()->swapBuffer());
    unregisterRenderer();
    EXPECT_NO_THROW(m_display = nullptr);
}
