#include "GameStateRun.h"

namespace game {

GameStateRun::GameStateRun(Game* game, const core::String& name) : GameState(game, name) {}

int GameStateRun::update(int /*elapsedMs*/)
{
    return 1;
}

void GameStateRun::init() {}

void GameStateRun::deinit() {}

void GameStateRun::render(render::Graphics3D* /*g3d*/) {}

} // namespace game
