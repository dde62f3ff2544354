#pragma once

#include "core/String.h"

namespace game {

// The path of a file in the media folder beside the executable, as the game
// names every file it loads: the working directory, "\media\" and the name.
// The file layer turns the '\' into '/'; a name may climb out with "../".
core::String mediaPath(const char* fileName);

} // namespace game
