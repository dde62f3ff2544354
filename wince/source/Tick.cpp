// Stands in for: GetTickCount. Limits: starts at the monotonic clock's value,
// not at boot. Depends on: clock_gettime(CLOCK_MONOTONIC), getenv.
#include "wince/Tick.h"

#include <cstdlib>
#include <ctime>

namespace {

std::int64_t tickOffset()
{
    const char* text = std::getenv("VORNIC3D_TICK_OFFSET");
    return text != nullptr ? std::strtoll(text, nullptr, 10) : 0;
}

} // namespace

DWORD GetTickCount()
{
    static const std::int64_t offset = tickOffset();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t ms = static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    // Truncation to 32 bits is the wrap the callers expect.
    return static_cast<DWORD>(static_cast<std::uint64_t>(ms + offset));
}
