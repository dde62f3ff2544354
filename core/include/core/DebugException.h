#pragma once

#include "core/Vornic3DException.h"

namespace core {

// Thrown by the log when a message cannot be formatted into its line buffer.
struct DebugException : Vornic3DException {
    explicit DebugException(const char* message) : Vornic3DException(message) {}
};

} // namespace core
