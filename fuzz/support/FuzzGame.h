#pragma once

#include "GameLevel.h"

#include "core/Ref.h"

namespace fuzzsupport {

// For harnesses of the game's own use of files: the engine (startEngine),
// then the game's globals with the level table, and the physics world, made
// on the first call and kept for the whole run. Each call gives a new, empty
// level for row 0, held by the globals as the menu holds the level it loads;
// the level of the call before and its objects are released first.
game::GameLevel& newLevel();

} // namespace fuzzsupport
