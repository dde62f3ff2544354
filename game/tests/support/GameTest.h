#pragma once

#include "SceneGraphTest.h"

#include "GameGlobals.h"

namespace gametest {

// The game fixture: the engine with the renderer that draws nothing
// (SceneGraphTest) and the game globals around each test; sounds play through
// SDL's silent audio driver, so a test can see which one plays
// (wince::test::soundPlaying). TearDown stops the sound and removes the
// globals with everything they still hold before the leak check.
class GameTest : public testsupport::SceneGraphTest {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    game::GameGlobals& globals() { return *game::GameGlobals::getInstance(); }
};

} // namespace gametest
