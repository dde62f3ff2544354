#include "GameStateRun.h"

#include "GameCamera.h"
#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "GameSound.h"
#include "ProgramGlobals.h"
#include "hal/Input.h"

#include "render/Background.h"
#include "render/Image2D.h"

#include <cmath>

namespace game {

namespace {

// How long a lost or won level stays before the menu returns.
constexpr std::int32_t kEndPhaseTime = 3000;
constexpr float kCameraSpeed = 9.0f;
// Steering from a tap: how long it lasts, how near counts as arrived, the
// push per unit of distance (weak while the player must first climb).
constexpr std::int32_t kSteerTime = 5000;
constexpr float kArriveDistance = 5.0f;
constexpr float kClimbHeight = 35.0f;
constexpr float kPushPerUnit = 0.1f;
constexpr float kClimbPushPerUnit = 0.01f;
// The background moves at a fifth of the player's speed.
constexpr float kScrollRate = 0.2f;
constexpr std::int32_t kShadowOffset = 10;

} // namespace

// ---- one update ---------------------------------------------------------------------

int GameStateRun::update(int elapsedMs)
{
    GameObject& p = player();
    m_trailIndex = (m_trailIndex + 1) % kTrailLength;
    m_trail[static_cast<std::size_t>(m_trailIndex)] = p.getTransform();

    if (m_phase == PHASE_GAME_OVER) {
        m_gameOverTime += elapsedMs;
        if (m_gameOverTime > kEndPhaseTime) {
            changeState("menu");
            return 1;
        }
    }
    updatePhase();
    if (m_phase == PHASE_COMPLETED) {
        m_completedTime += elapsedMs;
        if (m_completedTime >= kEndPhaseTime) {
            changeState("menu");
            return 1;
        }
    }

    GameGlobals& g = *m_globals;
    for (int i = 0; i < g.m_objects.m_size; ++i)
        g.m_objects[i]->update(elapsedMs);
    g.m_level->update(elapsedMs);
    g.m_ode->step(elapsedMs);
    followPlayer(elapsedMs);
    steer(elapsedMs);
    if (g.m_keyboard->readInput(g.m_quitKey) != 0.0f)
        return 0;
    scrollBackground();
    g.m_shadowOffsetX = kShadowOffset;
    g.m_shadowOffsetY = -kShadowOffset;
    return 1;
}

// Death, the start of play, the clock and completion, in this order: a
// player dead with no star left has lost, and the update of GO already
// checks for completion.
void GameStateRun::updatePhase()
{
    if (!player().m_active && m_phase == PHASE_PLAYING) {
        m_phase = PHASE_GAME_OVER;
        m_gameOverTime = 0;
        playMediaSound("GAME_OVER.WAV");
    }
    if (m_phase == PHASE_READY && m_stateTime > 0) {
        m_phase = PHASE_PLAYING;
        m_stateTime = 0;
        playMediaSound("GO.WAV");
    }
    if (m_phase == PHASE_PLAYING)
        m_playTime = m_stateTime;
    GameLevel& level = *m_globals->m_level;
    if (level.m_starsLeft == 0 && m_phase == PHASE_PLAYING) {
        m_phase = PHASE_COMPLETED;
        m_completedTime = 0;
        playMediaSound("LEVEL_COMPLETED.WAV");
        if (level.end(m_playTime))
            m_newRecord = true;
    }
}

GameObject& GameStateRun::player()
{
    return *m_globals->m_objects[GameGlobals::kPlayerSlot];
}

// ---- camera and stylus --------------------------------------------------------------

void GameStateRun::followPlayer(int ms)
{
    const slmath::vec3 p = player().getPosition();
    // The view box spans the screen from the camera's corner: centre it on
    // the player.
    render::Transform target;
    target.postTranslate(p.x, p.y, p.z);
    target.postTranslate(-g_screenWidth / 2, -g_screenHeight / 2, 0.0f);
    GameCamera& camera = *m_globals->m_camera;
    camera.activate();
    camera.setSpeed(kCameraSpeed);
    camera.setTarget(target);
    camera.update(ms);
}

void GameStateRun::steer(int ms)
{
    HAL::Input& mouse = *m_globals->m_mouse;
    const float x = mouse.readInput(HAL::INPUT_MOUSE_X);
    const float y = mouse.readInput(HAL::INPUT_MOUSE_Y);
    const float w = g_screenWidth;
    const float h = g_screenHeight;
    if (x != m_lastStylusX || y != m_lastStylusY) {
        m_lastStylusX = x;
        m_lastStylusY = y;
        // The world point under the stylus (its y runs downward).
        float corner[16];
        m_globals->m_camera->getTransform().get(corner);
        m_target = slmath::vec3(corner[3] + w / 2 + x * w / 2, corner[7] + h / 2 - y * h / 2, 0.0f);
        g_steerX = true;
        g_steerY = true;
        m_steerTime = kSteerTime;
    }
    if (!g_steerX && !g_steerY)
        return;
    GameObject& p = player();
    if (m_steerTime <= 0) {
        g_steerX = false;
        g_steerY = false;
        p.m_jumpRequest = false;
        return;
    }
    m_steerTime -= ms;
    const slmath::vec3 at = p.getPosition();
    const float tx = m_target.x;
    const float ty = m_target.y;
    if (g_steerX) {
        const float distance = std::trunc(std::fabs(tx - at.x));
        const bool climbing = g_steerY && at.y <= ty - kClimbHeight;
        const float k = (climbing ? kClimbPushPerUnit : kPushPerUnit) * distance;
        if (tx > at.x)
            p.push(slmath::vec3(k, 0.0f, 0.0f), false);
        else if (tx < at.x)
            p.push(slmath::vec3(-k, 0.0f, 0.0f), false);
    }
    if (g_steerY) {
        // The contact rules jump when the player stands on something.
        if (ty > at.y)
            p.m_jumpRequest = true;
        if (std::fabs(at.y - ty) < kArriveDistance) {
            g_steerY = false;
            p.m_jumpRequest = false;
        }
    }
    if (g_steerX && std::fabs(at.x - tx) < kArriveDistance)
        g_steerX = false;
}

// ---- background ---------------------------------------------------------------------

void GameStateRun::scrollBackground()
{
    render::Background& background = *m_globals->m_backgrounds[m_globals->m_backgroundIndex];
    const render::Image2D& image = *background.getImage();
    slmath::vec3 p = player().getPosition();
    p *= kScrollRate;
    // The remainders keep the sign of the position: a crop left of or above
    // the image repeats it all the same. Image rows run downward.
    const int x = static_cast<int>(p.x) % image.getWidth();
    const int y = static_cast<int>(-p.y) % image.getHeight();
    background.setCrop(x, y, static_cast<int>(g_screenWidth), static_cast<int>(g_screenHeight));
}

} // namespace game
