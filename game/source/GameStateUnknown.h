#pragma once

#include "GameState.h"

namespace game {

// The state "unknown": registered first and never entered; every operation
// only logs that it ran, and its update goes on.
class GameStateUnknown : public GameState {
public:
    GameStateUnknown(Game* game, const core::String& name);
    ~GameStateUnknown() override;

protected:
    int update(int elapsedMs) override;
    void init() override;
    void deinit() override;
    void render(render::Graphics3D* g3d) override;
};

} // namespace game
