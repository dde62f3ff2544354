#include "System.h"

#include "core/Assert.h"

#include <wince/Tick.h>

#include <cstdio>
#include <cstdlib>

namespace HAL {

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

} // namespace HAL
