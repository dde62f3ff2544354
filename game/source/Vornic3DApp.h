#pragma once

#include "GamePacing.h"

#include "core/Ref.h"
#include "framework/App.h"

namespace HAL {
class Input;
}

namespace game {

class Game;

// The game as the framework sees it: makes the state machine when the
// renderer is ready, paces its updates (GamePacing) and lets it draw only
// after a step has run, so passes without a step draw nothing.
// Contract: a plain object on the system heap, made by the application
// factory before any engine singleton exists and deleted by the framework
// after the main loop, before the engine goes. update and render before
// createDevice are the bare assertion. A failure of update or render ends
// the program: the game's best times are written first, as at the exit,
// and the failure passes on as it came. Destruction releases the keyboard
// input, then the game, which takes the states and the globals with it; an
// engine failure there (leaving the menu builds the selected level) is
// logged as an error, not thrown.
class Vornic3DApp : public framework::App {
public:
    Vornic3DApp();
    ~Vornic3DApp() noexcept override;

    int update(int elapsedMs) override;
    void render(render::Graphics3D* g3d) override;
    // Builds the whole game (set-up and intro included); the renderer
    // argument is not used.
    void createDevice(render::Graphics3D* g3d) override;
    void suspend() override {}
    void resume() override {}

private:
    // What the player earned this session is kept when a failure ends the
    // program after start-up; a failure of the save itself is logged.
    void saveRecordsOnFailure();

    core::Ref<Game> m_game;
    GamePacing m_pacing;
    // Made with the game and held until the end; the game reads its keys
    // through the globals' inputs.
    core::Ref<HAL::Input> m_input;
};

} // namespace game
