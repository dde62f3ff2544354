#pragma once

#include "core/Object.h"
#include "core/Ref.h"
#include "core/String.h"

#include <cstdint>

namespace render {
class Font2D;
class Graphics3D;
} // namespace render

namespace game {

class Game;
class GameGlobals;

// One named state of the game's machine ("unknown", "init", "menu", "run").
// Contract: made after the game globals exist (the constructor takes them and
// the globals' first font) and registered with its owning Game, which calls
// the wrappers: initState when the state is entered (the state time restarts
// at 0), deinitState when it is left, updateState and renderState while it
// is current. A state switches the machine only through changeState, which
// runs the switch at once, inside the caller. A state never sees a step of
// 0 ms: it counts as 1, so its clock always moves.
class GameState : public core::Object {
public:
    GameState(Game* game, const core::String& name);
    ~GameState() override;

    // ---- the machine's calls ----
    void initState(render::Graphics3D* g3d);
    void deinitState();
    int updateState(int elapsedMs);
    void renderState(render::Graphics3D* g3d);

    const core::String& getStateName() const { return m_name; }
    // Asks the owning machine to switch to the state of that name.
    void changeState(const core::String& name);

    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

protected:
    // ---- what each state does ----
    // One step; 1 goes on, 0 ends the program.
    virtual int update(int elapsedMs) = 0;
    virtual void init() = 0;
    virtual void deinit() = 0;
    virtual void render(render::Graphics3D* g3d) = 0;

    // Milliseconds since the state was last entered; states may set it.
    std::int32_t m_stateTime = 0;
    GameGlobals* m_globals = nullptr;
    // The globals' first font when the state was made (empty before set-up).
    core::Ref<render::Font2D> m_font;
    Game* m_game = nullptr;
    core::String m_name;
};

} // namespace game
