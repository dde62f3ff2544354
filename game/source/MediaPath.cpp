#include "MediaPath.h"

#include "File.h"

namespace game {

core::String mediaPath(const char* fileName)
{
    return HAL::File::getWorkingDirectory() + "\\media\\" + fileName;
}

} // namespace game
