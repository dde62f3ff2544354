#include "core/BuildInfo.h"

namespace core {

// Compiled into the library, so the date is the library's own, not its caller's.
const char* getBuildDate()
{
    return __DATE__;
}

} // namespace core
