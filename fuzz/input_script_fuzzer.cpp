// Raw bytes as the stand-in's input script (VORNIC3D_INPUT_SCRIPT): every
// text must end in a list of events within their bounds, or in a refusal
// that names the line and what is wrong with it.
#include "InputScript.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool withinBounds(const ScriptEvent& event)
{
    if (event.delayMs > 0x7FFFFFFFu)
        return false;
    if (event.kind == ScriptEvent::KEY_DOWN || event.kind == ScriptEvent::KEY_UP)
        return event.virtualKey >= 1 && event.virtualKey <= 254;
    return event.x >= -32768 && event.x <= 32767 && event.y >= -32768 && event.y <= 32767;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 16)
        return 0;
    std::vector<ScriptEvent> events;
    std::string error;
    if (parseInputScript(std::string(reinterpret_cast<const char*>(data), size), events, error)) {
        for (const ScriptEvent& event : events)
            if (!withinBounds(event))
                std::abort();
    } else if (error.rfind("line ", 0) != 0) {
        std::abort();
    }
    return 0;
}
