#pragma once

#include "GameState.h"

#include "core/Object.h"
#include "core/Ref.h"
#include "core/String.h"
#include "core/Vector.h"

#include <functional>

namespace render {
class Graphics3D;
}

namespace game {

// The game's state machine: owns the named states, forwards the
// application's update and render to the current one and switches between
// them by exact name.
// Contract: constructing it builds the whole game: the game globals, then the
// states in registration order ("unknown", "init", "menu", "run"), each
// constructed to its end before the next, then it enters "init", which passes
// on to "menu" inside that call. A switch deinitialises the current state and
// initialises the new one at once, inside the caller (also when both are the
// same state); an unknown name logs "can not change a state" and fails with
// the current state left as it was. Destruction leaves the current state,
// destroys the registered states while the globals still exist, removes the
// globals and releases the formerly current state last.
class Game : public core::Object {
public:
    using StateRegistration = std::function<void(Game&)>;

    Game();
    // The machine with the states `registerStates` adds instead of the game's
    // own; entered at "init" all the same. For tests of the machine.
    explicit Game(const StateRegistration& registerStates);
    ~Game() override;

    // Appends a state (held by counted reference); null is the bare assertion.
    void addNewState(GameState* state);
    void changeState(const core::String& name);
    // Forwards to the current state; 1 goes on, 0 ends the program.
    int update(int elapsedMs);
    void render(render::Graphics3D* g3d);
    // The best times, written as at the exit (GameStateInit::saveRecords),
    // for a program that a failure ends without the game's teardown; nothing
    // when there is no "init" state of the game's own.
    void saveRecords();

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

private:
    // The game's four states, in their order.
    void initGameStates();
    // The registered state of exactly that name; null when there is none.
    GameState* findState(const core::String& name) const;
    // Leaves the current state, empties the states and removes the globals
    // (the last two also when leaving the state fails).
    void tearDown();
    void removeStates();

    core::Ref<GameState> m_currentState;
    core::Vector<core::Ref<GameState>> m_states;
};

} // namespace game
