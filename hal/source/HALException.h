#pragma once

#include "core/Vornic3DException.h"

namespace HAL {

// The platform layer's exception: a failed system call (window, file, cursor),
// as opposed to misuse, which is the engine assertion. Carries its literal
// text with an empty source record, like the other typed exceptions. A failed
// call on a file also names the file (the root's `subject`, held in a buffer
// of the exception's own, so throwing still allocates nothing; a longer path
// keeps its end, which names the file) and keeps the system's error number,
// so that a caller can tell a file that is not there from one that can not
// be read.
struct HALException : Vornic3DException {
    static constexpr int kPathCapacity = 512;

    explicit HALException(const char* message) : Vornic3DException(message) {}
    HALException(const char* message, const char* path, int systemError);
    HALException(const HALException& other);
    HALException& operator=(const HALException& other);

    // The file does not exist (nor the folder it would be in).
    bool isMissingFile() const;
    // The system's words for the error number; the message when there is none.
    const char* reason() const;

    // errno of the failed call; 0 when the failure was not a system call's.
    int systemError = 0;

private:
    void keepPath(const char* path);

    char m_path[kPathCapacity] = {};
};

} // namespace HAL
