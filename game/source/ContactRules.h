#pragma once

#include <ode/ode.h>

namespace game {

// The collision callback of GameOde::step (data: the GameOde): for every pair
// of geoms whose bounding boxes overlap it applies the game's contact rules
// in their fixed order (walkers turn, lethal objects kill the player,
// bouncers bounce harder, doors take a key and open, blocks crack and then
// vanish, pushers push, brake blocks slow the player), then creates up to 10
// contact joints for the next solver step and carries out the player's
// pending jump on a contact below its centre. The rules run before the
// contact test, so a door takes a key as soon as the boxes overlap, on every
// call while it vanishes. Needs the globals, their level (whose map must know
// both geoms) and the player in element 0 of m_objects.
void nearCallback(void* data, dGeomID o1, dGeomID o2);

} // namespace game
