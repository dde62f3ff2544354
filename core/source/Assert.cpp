#include "core/Assert.h"

#include "core/Debug.h"

#include <cstring>

namespace core::detail {

void failAssertion(const char* text, const char* file, const char* function, int line)
{
    // Most texts carry no line end of their own, and the next line of the
    // log would run on after them.
    const std::size_t length = std::strlen(text);
    const bool ended = length > 0 && text[length - 1] == '\n';
    Debug::printf(Debug::LEVEL_ERROR, ended ? "%s" : "%s\n", text);
    throw AssertationFailedException(text, file, function, line);
}

} // namespace core::detail
