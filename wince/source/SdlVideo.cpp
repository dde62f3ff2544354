// Stands in for: the phone's window system, on SDL2 (internal). Limits: see
// SdlVideo.h; key auto-repeat is dropped (the phone's keys do not repeat
// into the game), text input events are not used, and the mouse moving
// without its left button held posts no WM_MOUSEMOVE (a stylus is seen only
// while it touches). Depends on: SDL2 (video
// and events), its X11 window-manager info.
#include "SdlVideo.h"

#include "InputState.h"
#include "KeyMap.h"
#include "MessageQueue.h"
#include "Utf8.h"
#include "WindowTable.h"
#include "wince/Input.h"
#include "wince/Window.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdlib>
#include <cstring>

namespace {

struct ButtonMessages {
    int virtualKey;
    UINT down;
    UINT up;
};

// The extra buttons have key state but no messages of their own here.
bool buttonMessages(std::uint8_t button, ButtonMessages& result)
{
    switch (button) {
    case SDL_BUTTON_LEFT: result = {VK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP}; return true;
    case SDL_BUTTON_RIGHT: result = {VK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP}; return true;
    case SDL_BUTTON_MIDDLE: result = {VK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP}; return true;
    case SDL_BUTTON_X1: result = {VK_XBUTTON1, 0, 0}; return true;
    case SDL_BUTTON_X2: result = {VK_XBUTTON2, 0, 0}; return true;
    default: return false;
    }
}

} // namespace

SdlVideo& SdlVideo::instance()
{
    static SdlVideo video;
    return video;
}

// ---- start-up ----

bool SdlVideo::available()
{
    std::call_once(m_started, [this] { start(); });
    return m_available.load();
}

void SdlVideo::start()
{
    // Ctrl-C must still end the program: SDL would turn it into SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A tap on the phone always counts, also the one that brings the window
    // to the front (SDL would drop a click that arrives with the focus).
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A TrueColor window shows the pixels as EGL drew them. SDL prefers a
    // DirectColor visual where the server offers one, and then every pixel
    // passes through a colormap of SDL's that screen capture tools read back
    // wrongly (the blue channel comes out as the alpha byte). SDL reads this
    // switch from the environment only; one set by the user stays.
    setenv("SDL_VIDEO_X11_NODIRECTCOLOR", "1", 0);
    // Default priority, so SDL_VIDEODRIVER in the environment still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return;
    }
    SDL_StopTextInput();
    m_thread = std::this_thread::get_id();
    m_available.store(true);
}

// ---- windows ----

SDL_Window* SdlVideo::createWindow(const std::u16string& title, DWORD style, int x, int y, int width, int height)
{
    Uint32 flags = (style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if ((style & WS_CAPTION) != WS_CAPTION)
        flags |= SDL_WINDOW_BORDERLESS;
    // An unpaired surrogate shows as U+FFFD; the window is made all the same.
    std::string utf8;
    wince::appendUtf8(title, utf8);
    return SDL_CreateWindow(utf8.c_str(), x, y, width, height, flags);
}

void SdlVideo::destroyWindow(SDL_Window* window)
{
    SDL_DestroyWindow(window);
}

std::uint32_t SdlVideo::windowId(SDL_Window* window)
{
    return SDL_GetWindowID(window);
}

void SdlVideo::clientArea(SDL_Window* window, int& x, int& y, int& width, int& height)
{
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
}

void SdlVideo::show(SDL_Window* window, bool visible)
{
    if (visible)
        SDL_ShowWindow(window);
    else
        SDL_HideWindow(window);
}

void SdlVideo::focus(SDL_Window* window)
{
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
}

bool SdlVideo::x11Handles(SDL_Window* window, void*& display, unsigned long& xWindow)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return false;
    display = info.info.x11.display;
    xWindow = info.info.x11.window;
    return true;
}

// ---- pointer ----

bool SdlVideo::cursor(POINT& point)
{
    int x = 0;
    int y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    point = POINT{x, y};
    return true;
}

bool SdlVideo::warpCursor(int x, int y)
{
    return SDL_WarpMouseGlobal(x, y) == 0;
}

// ---- events ----

void SdlVideo::pump()
{
    if (!m_available.load() || std::this_thread::get_id() != m_thread)
        return;
    SDL_PumpEvents();
    SDL_Event batch[64];
    int count = 0;
    while ((count = SDL_PeepEvents(batch, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
        for (int i = 0; i < count; ++i)
            translate(batch[i]);
}

void SdlVideo::translate(const SDL_Event& event)
{
    auto& input = InputState::instance();
    auto& queue = MessageQueue::instance();
    auto& windows = WindowTable::instance();

    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (event.key.repeat != 0)
            return;
        const int virtualKey = virtualKeyFromSdl(event.key.keysym.sym);
        if (virtualKey == 0)
            return;
        const bool down = event.type == SDL_KEYDOWN;
        input.setKey(virtualKey, down);
        if (HWND window = windows.findNative(event.key.windowID))
            // lParam: repeat count 1; a release also sets the previous-state
            // and transition bits, as on the phone.
            queue.post(window, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(virtualKey), down ? 1 : 0xC0000001);
        return;
    }
    case SDL_MOUSEMOTION: {
        HWND window = windows.findNative(event.motion.windowID);
        if (window == nullptr)
            return;
        int left = 0;
        int top = 0;
        SDL_GetWindowPosition(SDL_GetWindowFromID(event.motion.windowID), &left, &top);
        input.setCursor(POINT{left + event.motion.x, top + event.motion.y});
        // The phone's touch screen knows the stylus only while it touches:
        // a mouse gliding over the window without its button reports nothing.
        const WPARAM buttons = input.mouseKeyFlags();
        if ((buttons & MK_LBUTTON) != 0)
            queue.postMouseMove(window, buttons, pointParam(event.motion.x, event.motion.y));
        return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        ButtonMessages button{};
        if (!buttonMessages(event.button.button, button))
            return;
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        input.setKey(button.virtualKey, down);
        HWND window = windows.findNative(event.button.windowID);
        if (window == nullptr || button.down == 0)
            return;
        int left = 0;
        int top = 0;
        SDL_GetWindowPosition(SDL_GetWindowFromID(event.button.windowID), &left, &top);
        input.setCursor(POINT{left + event.button.x, top + event.button.y});
        queue.post(window, down ? button.down : button.up, input.mouseKeyFlags(),
                   pointParam(event.button.x, event.button.y));
        return;
    }
    case SDL_WINDOWEVENT: {
        HWND window = windows.findNative(event.window.windowID);
        if (window == nullptr)
            return;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            queue.post(window, WM_CLOSE, 0, 0);
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            input.setForeground(window);
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            input.dropForeground(window);
        return;
    }
    default: return;
    }
}
