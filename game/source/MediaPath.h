#pragma once

#include "core/Ref.h"
#include "core/String.h"

namespace render {
class Image2D;
}

namespace game {

// The path of a file in the media folder beside the executable, as the game
// names every file it loads: the working directory, "\media\" and the name.
// The file layer turns the '\' into '/'; a name may climb out with "../".
core::String mediaPath(const char* fileName);

// The first object of the file at `path` when it is an image, null when it
// is anything else or the file holds no object; a file that can not be
// loaded fails with the loader's exception.
core::Ref<render::Image2D> loadFirstImage(const core::String& path);

// The image of the media file `fileName`: a file that can not be loaded
// fails with the loader's exception, one holding anything else first, or
// nothing, logs its path and fails the bare assertion.
core::Ref<render::Image2D> loadMediaImage(const char* fileName);

} // namespace game
