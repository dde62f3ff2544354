#include "System.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/Globals.h"

#include <wince/Gdi.h>
#include <wince/Messages.h>
#include <wince/Metrics.h>
#include <wince/Tick.h>

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

int processMessages()
{
    // The phone needed a window-management call with the main window before
    // each peek; the stand-in's windows need none, so the step is left out.
    MSG message{};
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return 1;
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
