#pragma once

#include "core/Vornic3DException.h"

namespace HAL {

// The platform layer's exception: a failed system call (window, file, cursor),
// as opposed to misuse, which is the engine assertion. Carries its literal
// text with an empty source record, like the other typed exceptions.
struct HALException : Vornic3DException {
    explicit HALException(const char* message) : Vornic3DException(message) {}
};

} // namespace HAL
