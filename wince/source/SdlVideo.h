// Stands in for: the phone's window system, on SDL2 with the X11 driver
// (internal). Limits: X11 only (a Wayland session is used through XWayland);
// SDL's video stays up until the process ends, because EGL displays made on
// its X connection must stay valid; events are fetched only on the thread
// that brought video up. Depends on: SDL2, X11 through SDL's window-manager
// info.
#pragma once

#include "wince/Types.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

struct SDL_Window;
union SDL_Event;

// The one bridge to SDL: brings video up on first need, makes and removes
// SDL windows, answers their geometry and turns SDL events into window
// messages, key state and the foreground. Every other file reaches SDL's
// video through here.
class SdlVideo {
public:
    static SdlVideo& instance();

    // ---- start-up ----

    // Whether windows are real: the first call tries to bring SDL video up.
    bool available();

    // ---- windows ----

    // A borderless window without WS_CAPTION, a titled one with it, shown
    // when WS_VISIBLE; its client area at (x, y). Null when SDL refuses.
    SDL_Window* createWindow(const std::u16string& title, DWORD style, int x, int y, int width, int height);
    void destroyWindow(SDL_Window* window);
    std::uint32_t windowId(SDL_Window* window);

    // The client area's screen position and size.
    void clientArea(SDL_Window* window, int& x, int& y, int& width, int& height);
    void show(SDL_Window* window, bool visible);

    // Raises the window and gives it the X input focus (on an X server
    // without a window manager raising alone would not).
    void focus(SDL_Window* window);

    // The X display (a Display*) and window behind an SDL window.
    bool x11Handles(SDL_Window* window, void*& display, unsigned long& xWindow);

    // ---- pointer ----

    bool cursor(POINT& point);
    bool warpCursor(int x, int y);

    // ---- events ----

    // Moves every waiting SDL event into the message queue, the key state and
    // the foreground. Does nothing without video or off the video thread.
    void pump();

private:
    void start();
    void translate(const SDL_Event& event);

    std::once_flag m_started;
    std::atomic<bool> m_available{false};
    std::thread::id m_thread;
};
