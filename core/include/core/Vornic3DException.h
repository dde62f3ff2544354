#pragma once

#include <cstdint>

// Root of the engine's exceptions: a plain record naming a failed check.
// Contract: every string points at a literal (or, for core::IOException and
// HAL::HALException, at text that exception owns), so throwing never
// allocates; thrown by value, copied member by member. Typed exceptions carry
// an empty source record. `subject` names what failed (a file's path) for a
// reader of the failure, beside the message, which stays the system's own
// text; empty when there is nothing to name.
struct Vornic3DException {
    explicit Vornic3DException(const char* message_, const char* sourceFile_ = "", const char* function_ = "",
                               std::int32_t line_ = 0)
        : message(message_), sourceFile(sourceFile_), function(function_), line(line_)
    {
    }

    const char* message;
    const char* sourceFile;
    const char* function;
    std::int32_t line;
    const char* subject = "";
};
