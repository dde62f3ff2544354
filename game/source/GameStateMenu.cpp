#include "GameStateMenu.h"

namespace game {

GameStateMenu::GameStateMenu(Game* game, const core::String& name) : GameState(game, name) {}

int GameStateMenu::update(int /*elapsedMs*/)
{
    return 1;
}

void GameStateMenu::init() {}

void GameStateMenu::deinit() {}

void GameStateMenu::render(render::Graphics3D* /*g3d*/) {}

} // namespace game
