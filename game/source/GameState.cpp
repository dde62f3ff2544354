#include "GameState.h"

#include "Game.h"
#include "GameGlobals.h"

#include "render/Font2D.h"
#include "render/Graphics3D.h"

namespace game {

// ---- life cycle -----------------------------------------------------------------------

GameState::GameState(Game* game, const core::String& name) : m_game(game), m_name(name)
{
    VORNIC3D_CHECK(m_game != nullptr);
    m_globals = GameGlobals::getInstance();
    VORNIC3D_CHECK(m_globals != nullptr);
    m_font = m_globals->m_font;
}

GameState::~GameState() = default;

// ---- the machine's calls ------------------------------------------------------------

void GameState::initState(render::Graphics3D* g3d)
{
    VORNIC3D_CHECK(m_game != nullptr);
    VORNIC3D_CHECK(g3d != nullptr);
    m_stateTime = 0;
    init();
}

void GameState::deinitState()
{
    VORNIC3D_CHECK(m_game != nullptr);
    deinit();
}

int GameState::updateState(int elapsedMs)
{
    VORNIC3D_CHECK(m_game != nullptr);
    const int step = elapsedMs == 0 ? 1 : elapsedMs;
    m_stateTime += step;
    return update(step);
}

void GameState::renderState(render::Graphics3D* g3d)
{
    VORNIC3D_CHECK(m_game != nullptr);
    VORNIC3D_CHECK(g3d != nullptr);
    render(g3d);
}

void GameState::changeState(const core::String& name)
{
    VORNIC3D_CHECK(m_game != nullptr);
    m_game->changeState(name);
}

} // namespace game
