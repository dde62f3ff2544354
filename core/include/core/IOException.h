#pragma once

#include "core/Vornic3DException.h"

namespace core {

class String;

// The readers' exception for content that cannot be read: "IO Name: %s.
// Message: %s" with the stream's name and the message, in a buffer of its own
// from the main pool (the one engine exception that owns memory).
// Contract: the main memory manager must exist while an IOException is made,
// copied or destroyed; a full pool makes the constructor throw the memory
// manager's exception instead. Copies are deep, so each one frees only its
// own buffer.
struct IOException : Vornic3DException {
    IOException(const char* message, const String& name);
    IOException(const IOException& other);
    IOException& operator=(const IOException& other);
    ~IOException();

    char* buffer;
};

} // namespace core
