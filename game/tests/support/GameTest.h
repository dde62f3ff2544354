#pragma once

#include "RecordingGraphics3D.h"
#include "SceneGraphTest.h"

#include "GameGlobals.h"

#include "core/Ref.h"
#include "render/Sprite3D.h"
#include "render/Transform.h"

namespace game {
class GameObject;
}

namespace gametest {

// The game fixture: the engine with a renderer that records what it draws,
// the game globals, the physics world, an empty level (row 0) in the globals
// and the follow camera over the screen, around each test. The run-time
// library's and ODE's random sequences start from fixed seeds and the
// program-wide variables at their start values (resetProgramGlobals), so
// every run is the same.
// Sounds play through SDL's silent audio driver, so a test can see which one
// plays (wince::test::soundPlaying). TearDown stops the sound and removes the
// globals with everything they hold before the leak check.
class GameTest : public testsupport::SceneGraphTest {
protected:
    static constexpr int kGamePoolSize = 8 * 1024 * 1024;

    // TearDown has released the sprite; nothing here can throw.
    ~GameTest() noexcept override {}

    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    int mainPoolSize() const override { return kGamePoolSize; }
    testsupport::TestGraphics3D* createRenderer() override;

    game::GameGlobals& globals() { return *game::GameGlobals::getInstance(); }
    RecordingGraphics3D& recorder() { return static_cast<RecordingGraphics3D&>(renderer()); }

    // A sprite to make objects with (a blank 64 x 64 RGBA image).
    render::Sprite3D* sprite();
    // A new object appended to the globals' m_objects (the first one made is
    // the player), its picture the sheet cell (0, 0), active at (x, y).
    game::GameObject& addObject(int type, int flags, float x, float y, int width = 32, int height = 32);
    game::GameObject& player();

private:
    core::Ref<render::Sprite3D> m_sprite;
};

// Element `index` (row order: 4 row + column) of a transform.
float elementOf(const render::Transform& transform, int index);

} // namespace gametest
