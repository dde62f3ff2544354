#include "GameStateInit.h"

#include "core/Debug.h"

namespace game {

GameStateInit::GameStateInit(Game* game, const core::String& name) : GameState(game, name) {}

int GameStateInit::update(int /*elapsedMs*/)
{
    return 1;
}

void GameStateInit::init()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateInit init\n");
    changeState("menu");
}

void GameStateInit::deinit() {}

void GameStateInit::render(render::Graphics3D* /*g3d*/) {}

} // namespace game
