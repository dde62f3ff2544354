#pragma once

#include <string>
#include <vector>

namespace gametest {

// Rows of tile codes, top row first; every row as long as the first.
using TileRows = std::vector<std::vector<int>>;

// Writes the rows as a level image (a PNG whose red bytes are the codes,
// green and blue 7 and 9, alpha 255 when asked for) to `path`.
void writeLevelImage(const std::string& path, const TileRows& rows, bool withAlpha = false);

} // namespace gametest
