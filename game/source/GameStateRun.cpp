#include "GameStateRun.h"

#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameSound.h"
#include "GameStateInit.h"
#include "MediaPath.h"
#include "ProgramGlobals.h"
#include "hal/Input.h"

#include "core/Debug.h"
#include "render/Background.h"
#include "render/Font2D.h"
#include "render/Image2D.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"

namespace game {

namespace {

constexpr int kBackgroundCount = 3;
constexpr std::int32_t kReadyCountdown = -3000;

} // namespace

// ---- life cycle -----------------------------------------------------------------------

GameStateRun::GameStateRun(Game* game, const core::String& name) : GameState(game, name)
{
    m_globals->m_backgrounds.setSize(kBackgroundCount);
    m_dustSprite = GameStateInit::createSprite("dust.png");
    const core::String fontPath = mediaPath("simple_font_file.txt");
    m_hudFont = render::Font2D::createNewFont(fontPath.c_str());
    VORNIC3D_CHECK(m_hudFont != nullptr);
    m_hudText = VORNIC3D_NEW render::Text2D();
    VORNIC3D_CHECK(m_hudText != nullptr);
    m_hudText->setFont(m_hudFont.get());
    loadBGImage(0, "BG1.png");
    loadBGImage(1, "BG2.png");
    loadBGImage(2, "BG3.png");
}

GameStateRun::~GameStateRun()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateRun destructor\n");
}

// ---- media --------------------------------------------------------------------------

void GameStateRun::loadBGImage(int index, const char* fileName)
{
    const core::Ref<render::Image2D> image = loadMediaImage(fileName);
    core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
    m_globals->m_backgrounds[index] = background;
    background->setImage(image.get());
    background->setImageMode(render::Background::REPEAT, render::Background::REPEAT);
    background->setCrop(0, 0, static_cast<int>(g_screenWidth), static_cast<int>(g_screenHeight));
    // The image covers the whole view, so clearing the colour is wasted work.
    background->setColorClearEnable(false);
}

// ---- entering and leaving -------------------------------------------------------------

void GameStateRun::init()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateRun init\n");
    followPlayer(1);
    g_steerX = false;
    g_steerY = false;
    // The stylus where the menu left it sets no target.
    m_lastStylusX = m_globals->m_mouse->readInput(HAL::INPUT_MOUSE_X);
    m_lastStylusY = m_globals->m_mouse->readInput(HAL::INPUT_MOUSE_Y);
    m_stateTime = kReadyCountdown;
    m_phase = PHASE_READY;
    m_globals->m_level->reset();
    m_playTime = 0;
    playMediaSound("READY.WAV");
    m_newRecord = false;
}

void GameStateRun::deinit()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateRun deinit\n");
}

} // namespace game
