#pragma once

#include "core/Vornic3DException.h"

namespace render {

// The renderer's own failure type. No operation throws it yet; the text
// drawing names it in a handler that lets go of what the call holds before
// passing it on. Carries only its text (no source record), like the other
// typed exceptions.
struct Graphics3DException : Vornic3DException {
    explicit Graphics3DException(const char* message) : Vornic3DException(message) {}
};

} // namespace render
