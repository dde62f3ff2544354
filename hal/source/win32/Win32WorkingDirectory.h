#pragma once

#include "core/String.h"

#include "wince/Types.h"

namespace HAL {

// The folder of an executable named by its full, zero-terminated path:
// everything before the last '\' or '/', then one '/', with every '\' turned
// into '/'. An executable in the root folder gives "/"; a path without any
// separator fails the engine assertion. HAL::File::getWorkingDirectory
// applies it to the running program's path.
core::String executableFolder(const WCHAR* path);

} // namespace HAL
