#pragma once

#include "core/Vornic3DException.h"

namespace render {

// Thrown by the bitmap-font reader for a description file it cannot read:
// missing data, a width or colour that is no hexadecimal number, a missing
// quote. Carries only its text (no source record), like the other typed
// exceptions.
struct FontException : Vornic3DException {
    explicit FontException(const char* message) : Vornic3DException(message) {}
};

} // namespace render
