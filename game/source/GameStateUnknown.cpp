#include "GameStateUnknown.h"

#include "core/Debug.h"

namespace game {

GameStateUnknown::GameStateUnknown(Game* game, const core::String& name) : GameState(game, name)
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateUnknown constructor\n");
}

GameStateUnknown::~GameStateUnknown()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateUnknown destructor\n");
}

int GameStateUnknown::update(int /*elapsedMs*/)
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateUnknown update\n");
    return 1;
}

void GameStateUnknown::init()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateUnknown init\n");
}

void GameStateUnknown::deinit()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateUnknown deinit\n");
}

void GameStateUnknown::render(render::Graphics3D* /*g3d*/)
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateUnknown render\n");
}

} // namespace game
