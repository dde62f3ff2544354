#include "GameTest.h"

#include "System.h"

#include <cstdlib>

namespace gametest {

void GameTest::SetUpTestSuite()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

void GameTest::SetUp()
{
    SceneGraphTest::SetUp();
    game::GameGlobals::initClass();
}

void GameTest::TearDown()
{
    HAL::stopSound();
    if (game::GameGlobals::getInstance() != nullptr) {
        EXPECT_NO_THROW(game::GameGlobals::deInitClass());
    }
    SceneGraphTest::TearDown();
}

} // namespace gametest
