#include "core/Assert.h"

#include "core/Debug.h"

namespace core::detail {

void failAssertion(const char* text, const char* file, const char* function, int line)
{
    Debug::printf(Debug::LEVEL_ERROR, "%s", text);
    throw AssertationFailedException(text, file, function, line);
}

} // namespace core::detail
