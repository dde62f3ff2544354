#include "render/Loader_helpers.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/DebugException.h"
#include "core/IOException.h"
#include "core/String.h"

namespace render {

void parseError(const char* message)
{
    VORNIC3D_CHECK(message != nullptr);
    try {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "Parse error: \"%s\"\n", message);
    } catch (const core::DebugException&) {
        // A message too long for a log line: the exception below still carries it.
    }
    throw core::IOException(message, core::String(""));
}

} // namespace render
