#include "GameStateInit.h"

#include "BestTimeFile.h"
#include "GameCamera.h"
#include "GameGlobals.h"
#include "GameOde.h"
#include "MediaPath.h"
#include "ProgramGlobals.h"
#include "SettingsFile.h"

#include "core/Debug.h"
#include "core/MemoryManagerException.h"
#include "hal/Input.h"
#include "render/Appearance.h"
#include "render/Background.h"
#include "render/CompositingMode.h"
#include "render/Font2D.h"
#include "render/Graphics3D.h"
#include "render/Image2D.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Texture2D.h"
#include "render/Transform.h"

namespace game {

namespace {

// The level table: the row is the level's number everywhere in the game.
// Only the practice level is open at first.
struct LevelRow {
    const char* fileName;
    const char* displayName;
};
constexpr LevelRow kLevelRows[BestTimeFile::kLevelCount] = {
    {"level0.png", "PRACTICE"},         {"level0_1.png", "MORONS"},        {"level0_2.png", "ACE"},
    {"level1.png", "WASTED"},           {"level1_1.png", "RIP IT OUT"},    {"level1_2.png", "I DONT MIND"},
    {"level2.png", "SHOCK ME"},         {"level2_1.png", "BLACK DIAMOND"}, {"level2_2.png", "ASYLUM"},
    {"level2_3.png", "HYBRID MOMENTS"}, {"level3.png", "LAST CARES"},      {"level3_1.png", "ALL WE WANNA DO"},
    {"level4.png", "RUDIS REGGAE"},
};

// The light stands far in front of the scene while the game is set up.
constexpr float kLightDistance = 10000.0f;

BestTimeFile::Times bestTimesOf(const GameGlobals& g)
{
    BestTimeFile::Times times;
    for (std::size_t row = 0; row < times.size(); ++row)
        times[row] = g.m_levels[row].bestTime;
    return times;
}

} // namespace

// ---- life cycle -----------------------------------------------------------------------

GameStateInit::GameStateInit(Game* game, const core::String& name) : GameState(game, name)
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateInit constructor\n");
    GameGlobals& g = GameGlobals::get();
    fillLevelTable();
    createLight();
    GameOde::createOdeClass();
    createFonts();
    g.m_camera = VORNIC3D_NEW GameCamera(0.0f, g_screenHeight, g_screenWidth, 0.0f);
    createInputs();
    createBackdrop();
    loadConfig();
    g.m_sprites.setSize(GameGlobals::kSpriteSlots);
    g.m_sprites[GameGlobals::kLogoSlot] = createSprite("tessly_mordane_logo_2.png");
    g.m_sprites[GameGlobals::kDustSlot] = createSprite("dust.png");
    playIntro();
    g.m_light->setTranslation(0.0f, 0.0f, 0.0f);
}

GameStateInit::~GameStateInit()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateInit destructor\n");
    saveRecords();
}

void GameStateInit::saveRecords()
{
    if (!m_started)
        return;
    // The game removes its states one after the other and can not lose one
    // midway: a full pool while the records are written is logged here, and
    // the old file stays.
    try {
        saveBestTimes();
    } catch (const core::MemoryManagerException& e) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "GameStateInit: the best times are not saved: %s\n", e.message);
    }
}

// ---- the set-up's parts ---------------------------------------------------------------

void GameStateInit::fillLevelTable()
{
    GameGlobals& g = GameGlobals::get();
    for (std::size_t row = 0; row < g.m_levels.size(); ++row) {
        LevelInfo& level = g.m_levels[row];
        level.fileName = kLevelRows[row].fileName;
        level.displayName = kLevelRows[row].displayName;
        level.bestTime = row == 0 ? LevelInfo::kOpenWithoutTime : LevelInfo::kLocked;
        level.completed = false;
    }
}

void GameStateInit::createLight()
{
    GameGlobals& g = GameGlobals::get();
    g.m_light = VORNIC3D_NEW render::Light();
    g.m_light->setMode(render::Light::OMNI);
    g.m_light->setColor(0x00FFFFFF);
    render::Transform place;
    place.postTranslate(0.0f, 0.0f, kLightDistance);
    render::Graphics3D::getInstance()->addLight(g.m_light.get(), place);
}

void GameStateInit::createFonts()
{
    GameGlobals& g = GameGlobals::get();
    g.m_font = render::Font2D::createNewFont(mediaPath("simple_font_file.txt").c_str());
    g.m_font2 = render::Font2D::createNewFont(mediaPath("simple_font_file2.txt").c_str());
    // The intro's text node, with the texts' shared default appearance.
    g.m_text = VORNIC3D_NEW render::Text2D();
    g.m_text->setFont(g.m_font2.get());
}

void GameStateInit::createInputs()
{
    GameGlobals& g = GameGlobals::get();
    g.m_keyboard = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_KEYBOARD);
    g.m_mouse = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_MOUSE);
    VORNIC3D_CHECK(g.m_keyboard != nullptr && g.m_mouse != nullptr);
}

void GameStateInit::createBackdrop()
{
    const core::Ref<render::Image2D> image = loadMediaImage("tausta.png");
    core::Ref<render::Background> backdrop = VORNIC3D_NEW render::Background();
    backdrop->setImage(image.get());
    backdrop->setImageMode(render::Background::BORDER, render::Background::BORDER);
    backdrop->setColor(0);
    // The bottom screen-sized part of the image.
    const int top = static_cast<int>(static_cast<float>(image->getHeight()) - g_screenHeight);
    backdrop->setCrop(0, top, static_cast<int>(g_screenWidth), static_cast<int>(g_screenHeight));
    backdrop->setColorClearEnable(true);
    GameGlobals::get().m_background = backdrop;
}

core::Ref<render::Sprite3D> GameStateInit::createSprite(const char* fileName)
{
    const core::Ref<render::Image2D> image = loadMediaImage(fileName);
    core::Ref<render::Material> material = VORNIC3D_NEW render::Material();
    material->setColor(render::Material::DIFFUSE, 0xFFFFFFFF);
    material->setColor(render::Material::AMBIENT, 0x00FFFFFF);
    core::Ref<render::CompositingMode> compositing = VORNIC3D_NEW render::CompositingMode();
    compositing->setBlending(render::CompositingMode::ALPHA);
    compositing->setDepthTestEnable(false);
    compositing->setDepthWriteEnable(false);
    core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
    appearance->setMaterial(material.get());
    appearance->setCompositingMode(compositing.get());

    core::Ref<render::Sprite3D> sprite = VORNIC3D_NEW render::Sprite3D(false, image.get(), appearance.get());
    sprite->setSpriteTransform(nullptr);
    sprite->getTexture()->setFiltering(render::Texture2D::FILTER_LINEAR, render::Texture2D::FILTER_LINEAR);
    return sprite;
}

void GameStateInit::playIntro()
{
    GameGlobals& g = GameGlobals::get();
    const bool ranOut = showInitText("DORVANEL", nullptr) == 1 && showInitText("PRODUCTION", nullptr) == 1 &&
                        showInitText("PRESENTS", nullptr) == 1;
    if (ranOut)
        showInitText(nullptr, g.m_sprites[GameGlobals::kLogoSlot].get());
}

// ---- the settings and best-time files --------------------------------------------------

void GameStateInit::loadConfig()
{
    GameGlobals& g = GameGlobals::get();
    SettingsFile::load(mediaPath("../config.txt"), g.m_quitKey, g.m_shadows, g.m_sounds);
    BestTimeFile::Times times = bestTimesOf(g);
    m_bestTimesWritable = BestTimeFile::load(mediaPath("hiscore.bin"), times);
    for (std::size_t row = 0; row < times.size(); ++row)
        g.m_levels[row].bestTime = times[row];
}

void GameStateInit::saveBestTimes()
{
    if (m_bestTimesWritable)
        BestTimeFile::save(mediaPath("hiscore.bin"), bestTimesOf(GameGlobals::get()));
    else
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateInit: the best times are not saved: the file "
                                                      "could not be read at start\n");
}

// ---- the machine's slots ----------------------------------------------------------------

int GameStateInit::update(int /*elapsedMs*/)
{
    return 1;
}

void GameStateInit::init()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateInit init\n");
    changeState("menu");
    m_started = true;
}

void GameStateInit::deinit() {}

void GameStateInit::render(render::Graphics3D* /*g3d*/) {}

} // namespace game
