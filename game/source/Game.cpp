#include "Game.h"

#include "GameGlobals.h"
#include "GameStateInit.h"
#include "GameStateMenu.h"
#include "GameStateRun.h"
#include "GameStateUnknown.h"

#include "core/Debug.h"
#include "render/Graphics3D.h"

namespace game {

// ---- life cycle -----------------------------------------------------------------------

Game::Game() : Game([](Game& game) { game.initGameStates(); }) {}

Game::Game(const StateRegistration& registerStates)
{
    GameGlobals::initClass();
    try {
        registerStates(*this);
        changeState("init");
    } catch (...) {
        // No destructor runs for a half-made game: without this the globals
        // and every state made so far would outlive it.
        tearDown();
        throw;
    }
}

Game::~Game()
{
    tearDown();
    // The state that was current goes last, after the globals.
    m_currentState = nullptr;
}

void Game::initGameStates()
{
    addNewState(VORNIC3D_NEW GameStateUnknown(this, "unknown"));
    addNewState(VORNIC3D_NEW GameStateInit(this, "init"));
    addNewState(VORNIC3D_NEW GameStateMenu(this, "menu"));
    addNewState(VORNIC3D_NEW GameStateRun(this, "run"));
}

void Game::tearDown()
{
    // Leaving the state may take memory (the menu builds the selected
    // level): when that fails, the states and the globals go all the same
    // before the failure passes on, or they would outlive the game.
    try {
        if (m_currentState != nullptr)
            m_currentState->deinitState();
    } catch (...) {
        removeStates();
        throw;
    }
    removeStates();
}

void Game::removeStates()
{
    // States not held elsewhere die here, while the globals still exist.
    m_states.clear();
    GameGlobals::deInitClass();
}

// ---- states -------------------------------------------------------------------------

void Game::addNewState(GameState* state)
{
    VORNIC3D_CHECK(state != nullptr);
    m_states.pushBack(state);
}

GameState* Game::findState(const core::String& name) const
{
    for (int i = 0; i < m_states.m_size; ++i) {
        VORNIC3D_CHECK(m_states[i] != nullptr);
        if (m_states[i]->getStateName().compareTo(name) == 0)
            return m_states[i].get();
    }
    return nullptr;
}

void Game::changeState(const core::String& name)
{
    GameState* found = findState(name);
    if (found == nullptr) {
        core::Debug::printf(core::Debug::LEVEL_WARNING, "can not change a state\n");
        VORNIC3D_CHECK(found != nullptr);
    }
    if (m_currentState != nullptr)
        m_currentState->deinitState();
    m_currentState = found;
    found->initState(render::Graphics3D::getInstance());
}

// ---- forwarding ----------------------------------------------------------------------

int Game::update(int elapsedMs)
{
    VORNIC3D_CHECK(m_currentState != nullptr);
    return m_currentState->updateState(elapsedMs);
}

void Game::render(render::Graphics3D* g3d)
{
    VORNIC3D_CHECK(g3d != nullptr);
    VORNIC3D_CHECK(m_currentState != nullptr);
    m_currentState->renderState(g3d);
}

// ---- records --------------------------------------------------------------------------

void Game::saveRecords()
{
    if (auto* init = dynamic_cast<GameStateInit*>(findState("init")))
        init->saveRecords();
}

} // namespace game
