#pragma once

#include "GameState.h"

namespace game {

// The state "init": its construction sets the game up; entering it passes on
// to "menu" at once, so it is current only for the moment of that switch.
// Its update goes on and its render draws nothing.
class GameStateInit : public GameState {
public:
    GameStateInit(Game* game, const core::String& name);

protected:
    int update(int elapsedMs) override;
    void init() override;
    void deinit() override;
    void render(render::Graphics3D* g3d) override;
};

} // namespace game
