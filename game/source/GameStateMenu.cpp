#include "GameStateMenu.h"

#include "GameCamera.h"
#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameSound.h"
#include "MediaPath.h"
#include "ProgramGlobals.h"

#include "core/Debug.h"
#include "hal/Input.h"
#include "render/Appearance.h"
#include "render/CompositingMode.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/PolygonMode.h"
#include "render/Text2D.h"

#include <algorithm>

namespace game {

namespace {

constexpr int kInfoMs = 4000;
// "run" starts in the update that finds the counter above this.
constexpr int kStartingUpdates = 60;
constexpr int kTapFeedbackMs = 1000;
// The zones' bounds in the stylus's -1..1 coordinates.
constexpr float kZone = 0.5f;

} // namespace

// ---- life cycle -----------------------------------------------------------------------

GameStateMenu::GameStateMenu(Game* game, const core::String& name) : GameState(game, name)
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateMenu constructor\n");
    m_menuText = VORNIC3D_NEW render::Text2D();
    m_menuText->setFont(m_globals->m_font2.get());

    // The entries that are not highlighted glow yellow, added to what is behind.
    core::Ref<render::Material> material = VORNIC3D_NEW render::Material();
    material->setColor(render::Material::AMBIENT, 0xFFFFFFFF);
    material->setColor(render::Material::DIFFUSE, 0x50FFFF00);
    core::Ref<render::CompositingMode> compositing = VORNIC3D_NEW render::CompositingMode();
    compositing->setBlending(render::CompositingMode::ALPHA_ADD);
    core::Ref<render::PolygonMode> polygons = VORNIC3D_NEW render::PolygonMode();
    polygons->setCulling(render::PolygonMode::CULL_NONE);
    m_itemAppearance = VORNIC3D_NEW render::Appearance();
    m_itemAppearance->setMaterial(material.get());
    m_itemAppearance->setCompositingMode(compositing.get());
    m_itemAppearance->setPolygonMode(polygons.get());
    m_textAppearance = m_menuText->getAppearance();

    for (const char* label : {kSelectLevel, kStartGame, kInfo, kQuitGame})
        m_items.pushBack(MenuItem{label, m_items.m_size == 0});
}

GameStateMenu::~GameStateMenu()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateMenu destructor\n");
}

// ---- entering and leaving -----------------------------------------------------------------

void GameStateMenu::init()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateMenu init\n");
    GameGlobals& g = GameGlobals::get();
    m_stateTime = 0;
    m_page = PAGE_MAIN;

    // A finished level hands over to the next one, the last to the first.
    LevelInfo& played = g.m_levels.at(static_cast<std::size_t>(m_selectedLevel));
    if (played.completed) {
        ++m_selectedLevel;
        if (m_selectedLevel == static_cast<int>(g.m_levels.size())) {
            m_selectedLevel = 0;
            played.completed = false;
        }
    }
    buildSelectedLevel();
    VORNIC3D_CHECK(g.m_level != nullptr);
    if (played.completed) {
        played.completed = false;
        LevelInfo& next = g.m_levels.at(static_cast<std::size_t>(m_selectedLevel));
        if (next.bestTime == LevelInfo::kLocked) {
            next.bestTime = LevelInfo::kOpenWithoutTime;
            changeState("run");
        }
    }
}

void GameStateMenu::deinit()
{
    GameGlobals& g = GameGlobals::get();
    stopMediaSound();
    m_stateTime = 0;
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameStateMenu deinit\n");
    // "run" plays the level selected now, also after the side zones changed it.
    buildSelectedLevel();
    g.m_backgroundIndex = m_selectedLevel % 3;
    g.m_light->setTranslation(0.0f, 0.0f, 0.0f);
}

void GameStateMenu::buildSelectedLevel()
{
    GameGlobals& g = GameGlobals::get();
    const LevelInfo& row = g.m_levels.at(static_cast<std::size_t>(m_selectedLevel));
    // The previous level goes before the new one loads into the object list.
    g.m_level = VORNIC3D_NEW GameLevel(m_selectedLevel);
    g.m_level->load(mediaPath(row.fileName), row.displayName);
}

// ---- update ------------------------------------------------------------------------------

int GameStateMenu::update(int elapsedMs)
{
    VORNIC3D_CHECK(m_selectedItem >= 0 && m_selectedItem < m_items.m_size);
    GameGlobals& g = GameGlobals::get();
    g.m_camera->update(elapsedMs);
    if (m_tapTime > 0)
        m_tapTime = std::max(m_tapTime - elapsedMs, 0);
    if (g.m_keyboard->readInput(g.m_quitKey) != 0.0f)
        return 0;

    switch (m_page) {
    case PAGE_INFO:
        if (m_stateTime < kInfoMs)
            return 1;
        m_page = PAGE_MAIN;
        break;
    case PAGE_STARTING:
        if (m_startCounter <= kStartingUpdates) {
            ++m_startCounter;
        } else {
            m_startCounter = 0;
            changeState("run");
        }
        return 1;
    default: break;
    }
    return handleStylus();
}

int GameStateMenu::handleStylus()
{
    HAL::Input& mouse = *GameGlobals::get().m_mouse;
    if (mouse.readInput(HAL::INPUT_MOUSE_LEFT) != 0.0f) {
        g_menuStylusDown = true;
        m_tapTime = kTapFeedbackMs;
        return 1;
    }
    if (!g_menuStylusDown || mouse.readInput(HAL::INPUT_MOUSE_LEFT) != 0.0f)
        return 1;

    // The release: the tap acts where the stylus was lifted.
    g_menuStylusDown = false;
    playMediaSound("menu.wav");
    m_stylusX = mouse.readInput(HAL::INPUT_MOUSE_X);
    m_stylusY = mouse.readInput(HAL::INPUT_MOUSE_Y);
    if (m_stylusX == g_menuLastX && m_stylusY == g_menuLastY)
        return 1;
    g_menuLastX = m_stylusX;
    g_menuLastY = m_stylusY;
    return tapAt(m_stylusX, m_stylusY);
}

int GameStateMenu::tapAt(float x, float y)
{
    const int levelCount = static_cast<int>(GameGlobals::get().m_levels.size());
    if (y > -kZone && y < kZone) {
        if (x > -kZone && x < kZone)
            return activateHighlighted();
        if (x > kZone && isHighlighted(kSelectLevel))
            m_selectedLevel = (m_selectedLevel + 1) % levelCount;
        else if (x < -kZone && isHighlighted(kSelectLevel))
            m_selectedLevel = (m_selectedLevel + levelCount - 1) % levelCount;
    } else if (y > kZone) {
        moveHighlight(1);
    } else if (y < -kZone) {
        moveHighlight(-1);
    }
    return 1;
}

int GameStateMenu::activateHighlighted()
{
    if (isHighlighted(kQuitGame))
        return 0;
    if (isHighlighted(kStartGame)) {
        const LevelInfo& row = GameGlobals::get().m_levels.at(static_cast<std::size_t>(m_selectedLevel));
        if (row.bestTime != LevelInfo::kLocked) {
            m_page = PAGE_STARTING;
            m_startCounter = 0;
        }
    } else if (isHighlighted(kInfo)) {
        m_page = PAGE_INFO;
        m_stateTime = 0;
    }
    return 1;
}

void GameStateMenu::moveHighlight(int step)
{
    m_items[m_selectedItem].selected = false;
    m_selectedItem = (m_selectedItem + step + m_items.m_size) % m_items.m_size;
    m_items[m_selectedItem].selected = true;
}

bool GameStateMenu::isHighlighted(const char* label) const
{
    return m_items[m_selectedItem].text.compareTo(label) == 0;
}

} // namespace game
