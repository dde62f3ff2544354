#include "GameGlobals.h"

#include "GameCamera.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "SettingsFile.h"

#include "core/Debug.h"
#include "hal/Input.h"
#include "render/Background.h"
#include "render/Font2D.h"
#include "render/Light.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"

namespace game {

GameGlobals* GameGlobals::s_instance = nullptr;

// ---- singleton ----------------------------------------------------------------------

void GameGlobals::initClass()
{
    VORNIC3D_CHECK(s_instance == nullptr);
    GameGlobals* globals = VORNIC3D_NEW GameGlobals();
    globals->addRef();
    s_instance = globals;
}

void GameGlobals::deInitClass()
{
    VORNIC3D_CHECK(s_instance != nullptr);
    // Cleared only after the release: the members' destructors may ask for
    // the instance while it goes. The slot is cleared even when one of them
    // throws, so a failed shut-down leaves no dangling instance.
    GameGlobals* globals = s_instance;
    try {
        if (globals->releaseRef() == 0)
            delete globals;
    } catch (...) {
        s_instance = nullptr;
        throw;
    }
    s_instance = nullptr;
}

GameGlobals* GameGlobals::getInstance()
{
    return s_instance;
}

GameGlobals& GameGlobals::get()
{
    VORNIC3D_CHECK(s_instance != nullptr);
    return *s_instance;
}

// ---- life cycle -----------------------------------------------------------------------

GameGlobals::GameGlobals()
    : m_quitKey(SettingsFile::kDefaultQuitKey), m_shadows(SettingsFile::kDefaultShadows),
      m_sounds(SettingsFile::kDefaultSounds)
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameGlobals constructor\n");
    VORNIC3D_CHECK(s_instance == nullptr);
}

GameGlobals::~GameGlobals()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameGlobals destructor\n");
    VORNIC3D_CHECK(s_instance != nullptr);
}

} // namespace game
