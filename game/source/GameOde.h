#pragma once

#include "core/Object.h"

#include <ode/ode.h>

namespace game {

// The game's rigid-body world in ODE: one world with gravity, one simple
// space that holds the geom of every game object, and the joint group of the
// contact joints. Play lies in the x/y plane, y up, one unit a pixel of the
// level, velocities in units per second.
// Contract: made once by createOdeClass into the globals' m_ode (the ODE
// library lives as long as this object: initialised by the constructor, shut
// down by the destructor); the game objects' geoms and bodies must be
// destroyed before it goes. step runs the world and the collision callback
// nearCallback (ContactRules.h), which needs the globals' current level and
// player.
class GameOde : public core::Object {
public:
    // Requires the globals and no world in them yet (bare assertions).
    static void createOdeClass();

    GameOde();
    ~GameOde() override;

    // Advances the world by the game time of one update: two passes of a
    // solver step of ms/600 s (0 ms counting as 1), each followed by emptying
    // the contact joints and colliding the space anew, so each pass solves
    // with the contacts the pass before it found.
    void step(int ms);

    dWorldID getWorld() const { return m_world; }
    dSpaceID getSpace() const { return m_space; }
    dJointGroupID getContactGroup() const { return m_contactGroup; }

    GameOde(const GameOde&) = delete;
    GameOde& operator=(const GameOde&) = delete;

private:
    dWorldID m_world = nullptr;
    dSpaceID m_space = nullptr;
    dJointGroupID m_contactGroup = nullptr;
};

} // namespace game
