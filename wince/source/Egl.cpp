// Stands in for: the phone's EGL window system binding. Limits: see
// wince/Egl.h. Depends on: libEGL 1.5 (eglGetPlatformDisplay) with Mesa's
// X11 and surfaceless platforms, the dynamic loader (dl_iterate_phdr,
// dlopen), WindowTable, SdlVideo, ClientArea.
#include "wince/Egl.h"

#include "ClientArea.h"
#include "SdlVideo.h"
#include "WindowTable.h"

#include <EGL/eglext.h>

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <vector>

namespace {

// Mesa unloads its driver (".../dri/*_dri.so") at eglTerminate, although it
// keeps memory in the driver's own statics that it never frees; once
// unloaded, that memory is unreachable and the leak checker of the test
// builds reports it as lost in an unknown module. Marking the loaded driver
// "never unload" keeps it reachable, and a display made again later does
// not load the driver a second time.
int keepDriverLoaded(dl_phdr_info* info, std::size_t, void*)
{
    static constexpr char suffix[] = "_dri.so";
    const char* path = info->dlpi_name;
    const std::size_t length = path != nullptr ? std::strlen(path) : 0;
    const std::size_t suffixLength = sizeof suffix - 1;
    if (length > suffixLength && std::strcmp(path + length - suffixLength, suffix) == 0)
        dlopen(path, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

} // namespace

EGLDisplay WinceEglGetDisplay(HWND window)
{
    const auto record = WindowTable::instance().find(window);
    if (!record)
        return EGL_NO_DISPLAY;
    if (record->native == nullptr)
        return eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    void* xDisplay = nullptr;
    unsigned long xWindow = 0;
    if (!SdlVideo::instance().x11Handles(record->native, xDisplay, xWindow))
        return EGL_NO_DISPLAY;
    // The window's own X connection: a surface on the window must come from
    // the connection that made it.
    return eglGetPlatformDisplay(EGL_PLATFORM_X11_KHR, xDisplay, nullptr);
}

EGLint WinceEglSurfaceType(HWND window)
{
    const auto record = WindowTable::instance().find(window);
    if (!record)
        return 0;
    return record->native != nullptr ? EGL_WINDOW_BIT : EGL_PBUFFER_BIT;
}

EGLSurface WinceEglCreateSurface(EGLDisplay display, EGLConfig config, HWND window, const EGLint* attributes)
{
    const auto record = WindowTable::instance().find(window);
    if (!record)
        return EGL_NO_SURFACE;
    // The display is initialised by now, so its driver is loaded.
    dl_iterate_phdr(keepDriverLoaded, nullptr);
    if (record->native != nullptr) {
        void* xDisplay = nullptr;
        unsigned long xWindow = 0;
        if (!SdlVideo::instance().x11Handles(record->native, xDisplay, xWindow))
            return EGL_NO_SURFACE;
        return eglCreateWindowSurface(display, config, static_cast<EGLNativeWindowType>(xWindow), attributes);
    }
    const auto area = clientAreaOf(window);
    if (!area)
        return EGL_NO_SURFACE;
    std::vector<EGLint> list{EGL_WIDTH, area->width, EGL_HEIGHT, area->height};
    for (const EGLint* a = attributes; a != nullptr && *a != EGL_NONE; a += 2)
        if (a[0] != EGL_WIDTH && a[0] != EGL_HEIGHT)
            list.insert(list.end(), {a[0], a[1]});
    list.push_back(EGL_NONE);
    return eglCreatePbufferSurface(display, config, list.data());
}
