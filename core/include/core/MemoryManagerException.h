#pragma once

#include "core/Vornic3DException.h"

namespace core {

// Thrown by the memory managers for exhaustion, corruption and leaks.
struct MemoryManagerException : Vornic3DException {
    explicit MemoryManagerException(const char* message) : Vornic3DException(message) {}
};

} // namespace core
