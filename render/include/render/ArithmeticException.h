#pragma once

#include "core/Vornic3DException.h"

namespace render {

// Thrown where a matrix cannot be computed: a singular or non-finite
// transform asked to invert, a projection whose near and far planes meet.
// Carries only its text (no source record) and is thrown without a log line,
// so callers that can recover need not see an error in the log.
struct ArithmeticException : Vornic3DException {
    explicit ArithmeticException(const char* message) : Vornic3DException(message) {}
};

} // namespace render
