#include "hal/System.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/Globals.h"

#include "wince/Gdi.h"
#include "wince/Messages.h"
#include "wince/Metrics.h"
#include "wince/Synch.h"
#include "wince/Tick.h"

#include <cstdio>
#include <cstdlib>

namespace HAL {

// ---- system information ---------------------------------------------------------

System::System(bool console)
{
    m_info.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_info.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_info.defaultMemoryPoolSize = kDefaultMemoryPoolSize;
    m_info.defaultStringPoolSize = kDefaultStringPoolSize;

    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    // The record keeps the depth in one byte.
    VORNIC3D_CHECK(bits >= 0 && bits < 255);
    m_info.bitsPerPixel = static_cast<std::uint8_t>(bits);

    std::srand(0);
    if (console)
        core::Debug::printf(core::Debug::LEVEL_WARNING,
                            "HAL::createConsoleWindow failed : _WIN32_WCE does not provide console\n");
}

const SystemInfo& System::getSystemInfo()
{
    const System* system = core::Globals::get()->m_system;
    VORNIC3D_CHECK(system != nullptr);
    return system->m_info;
}

// ---- console output -----------------------------------------------------------

void System::printf(const char* text, int length)
{
    VORNIC3D_CHECK(length >= 0 && length <= kMaxPrintLength);
    VORNIC3D_CHECK(text != nullptr);
    if (length == 0)
        return;
    // Narrow bytes, written whole and flushed, so the line that explains a
    // failure is never lost in a buffer.
    std::fwrite(text, 1, static_cast<std::size_t>(length), stdout);
    std::fflush(stdout);
}

// ---- screen ---------------------------------------------------------------------

int getScreenWidth()
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int getScreenHeight()
{
    return GetSystemMetrics(SM_CYSCREEN);
}

// ---- tick and heap ------------------------------------------------------------

std::uint32_t getTime()
{
    return GetTickCount();
}

void* malloc(std::size_t size)
{
    return std::malloc(size);
}

void free(void* pointer)
{
    std::free(pointer);
}

// ---- message pump ---------------------------------------------------------------

namespace {

// The tick at which the pump last found the queue empty; `seen` is cleared
// by every message taken.
struct EmptyPump {
    bool seen = false;
    std::uint32_t tick = 0;
};
EmptyPump g_emptyPump;

// The phone's display swap paced the main loop, which never sleeps; here
// nothing does. A pass that finds no message in the same tick as the empty
// pass before it has nothing new to show (the application sees time only
// through the tick, and every input comes with a message), so it waits for
// a message, at most until the next tick. True when a message came, taken
// into `message`.
bool waitForMessage(MSG& message)
{
    const std::uint32_t now = GetTickCount();
    const bool sameTick = g_emptyPump.seen && g_emptyPump.tick == now;
    g_emptyPump = EmptyPump{true, now};
    if (!sameTick)
        return false;
    const DWORD woken = MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    g_emptyPump.tick = GetTickCount();
    return woken == WAIT_OBJECT_0 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
}

} // namespace

int processMessages()
{
    // The phone needed a window-management call with the main window before
    // each peek; the stand-in's windows need none, so the step is left out.
    MSG message{};
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && !waitForMessage(message))
        return 1;
    g_emptyPump.seen = false;
    if (message.message == WM_QUIT)
        return 0;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return 1;
}

// ---- build information ----------------------------------------------------------

const char* getBuildDate()
{
    return __DATE__;
}

} // namespace HAL

void emptyFunction(void* /*system*/) {}
