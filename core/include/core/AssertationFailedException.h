#pragma once

#include "core/Vornic3DException.h"

// The engine assertion's exception: a failed check's text (or "Vornic3D
// exception" for a bare check) with the file, function and line of the check.
struct AssertationFailedException : Vornic3DException {
    using Vornic3DException::Vornic3DException;
};
