#pragma once

#include "core/AssertationFailedException.h"
#include "core/FunctionName.h"

namespace core::detail {

// Logs the text at level 1 (as data, never as a format) and throws the
// assertion record. Defined in the core library.
[[noreturn]] void failAssertion(const char* text, const char* file, const char* function, int line);

} // namespace core::detail

namespace core {

// The text the bare engine assertion carries.
inline constexpr char kBareAssertionText[] = "Vornic3D exception";

} // namespace core

// The engine assertion with a text: when `condition` is false, logs `text` at
// level 1 and throws AssertationFailedException carrying it and the place of
// the check.
#define VORNIC3D_ASSERT(condition, text)                                                                               \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            ::core::detail::failAssertion((text), __FILE__, VORNIC3D_FUNCTION, __LINE__);                              \
        }                                                                                                              \
    } while (0)

// The bare engine assertion: logs nothing and carries core::kBareAssertionText.
// Header-only, so code that uses only bare checks needs no library.
#define VORNIC3D_CHECK(condition)                                                                                      \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            throw AssertationFailedException(::core::kBareAssertionText, __FILE__, VORNIC3D_FUNCTION, __LINE__);       \
        }                                                                                                              \
    } while (0)
