#pragma once

#include "LevelMap.h"

#include <string>
#include <vector>

namespace mediatest {

// The rules every level of the game keeps, checked from its text map; one
// line per fault found, empty when the level keeps them all:
// - exactly one start, on a cell whose cell below is solid (its floor);
// - at least one star;
// - closed walls: every cell of the map's border is a block (code 1);
// - objects wider or taller than one cell (bars, long blocks, doors, the
//   beams' paths) lie inside the map, over empty cells, apart from the rest;
// - every star and key can be reached, and no door is ever touched while
//   more than one key is held (a door takes every key it touches while it
//   vanishes, so a second key would be lost), by the movement model of
//   LevelRules.cpp.
std::vector<std::string> checkLevel(const media::LevelMap& map);

} // namespace mediatest
