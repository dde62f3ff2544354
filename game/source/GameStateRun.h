#pragma once

#include "GameState.h"

namespace game {

// The state "run". Its update goes on; nothing else happens in it yet.
class GameStateRun : public GameState {
public:
    GameStateRun(Game* game, const core::String& name);

protected:
    int update(int elapsedMs) override;
    void init() override;
    void deinit() override;
    void render(render::Graphics3D* g3d) override;
};

} // namespace game
