#include "render/BuildInfo.h"

namespace render {

// Compiled into the library, so the date is the library's own, not its caller's.
const char* getBuildDate()
{
    return __DATE__;
}

} // namespace render
