#include "FuzzGame.h"

#include "FuzzEngine.h"

#include "GameGlobals.h"
#include "GameObject.h"
#include "GameOde.h"
#include "GameStateInit.h"

namespace fuzzsupport {

game::GameLevel& newLevel()
{
    startEngine();
    if (game::GameGlobals::getInstance() == nullptr) {
        game::GameGlobals::initClass();
        game::GameStateInit::fillLevelTable();
        game::GameOde::createOdeClass();
    }
    game::GameGlobals& globals = game::GameGlobals::get();
    // Released before the new level is made, so that the two never share
    // the pool.
    globals.m_objects.setSize(0);
    globals.m_level = nullptr;
    globals.m_level = VORNIC3D_NEW game::GameLevel(0);
    return *globals.m_level;
}

} // namespace fuzzsupport
