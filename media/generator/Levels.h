#pragma once

#include <string>

namespace media {

// Converts every text map of `mapsFolder` (LevelMap.h) into the level image
// of the same name in `folder`: RGB, one pixel a cell, red the tile code,
// green and blue 0.
void writeLevels(const std::string& mapsFolder, const std::string& folder);

} // namespace media
