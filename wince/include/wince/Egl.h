// Stands in for: the phone's EGL window system binding: the "default display"
// and a window surface on a window handle. The display code calls these
// instead of eglGetDisplay (EGL_DEFAULT_DISPLAY) and eglCreateWindowSurface;
// everything else is plain EGL. Limits: with a real X11 window the display
// is the window's own X connection and the surface a window surface; without
// video (no DISPLAY, SDL's dummy driver) the display is Mesa's surfaceless
// platform and the surface a pbuffer of the window's client size, fixed when
// it is made, so the program draws and swaps headless (the swap shows
// nothing). Mesa's driver, once loaded, stays loaded until the process ends.
// Depends on: libEGL (Mesa), SDL2's window-manager info, the dynamic loader.
#pragma once

#include "wince/Types.h"

#include <EGL/egl.h>

// The EGL display to use for the window (not yet initialised);
// EGL_NO_DISPLAY for a window that does not exist or when EGL offers no
// display for it.
EGLDisplay WinceEglGetDisplay(HWND window);

// The surface type to ask of the configuration: EGL_WINDOW_BIT for a real
// window, EGL_PBUFFER_BIT without video, 0 for a window that does not exist.
EGLint WinceEglSurfaceType(HWND window);

// The drawing surface for the window: a window surface on the X window, or a
// pbuffer of the client-area size (EGL_WIDTH and EGL_HEIGHT in `attributes`
// are replaced by it; the other attributes are passed on). EGL_NO_SURFACE,
// with EGL's error set where EGL failed, when it cannot be made or the
// window does not exist.
EGLSurface WinceEglCreateSurface(EGLDisplay display, EGLConfig config, HWND window, const EGLint* attributes);
