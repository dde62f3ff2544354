#include "GameLevel.h"

#include "GameCamera.h"
#include "GameGlobals.h"
#include "GameObject.h"
#include "GameSound.h"
#include "ProgramGlobals.h"

#include "render/Image2D.h"
#include "render/Transform.h"

#include <cmath>

namespace game {

namespace {

constexpr float kPickUpDistance = 20.0f;
constexpr int kPlatformHalfCycle = 2000;
constexpr int kPlatformCycle = 4000;
// The lift's upward push on the player within reach, on every working update.
constexpr float kLiftPush = 5.0f;
constexpr int kBlinkPeriod = 3000;
constexpr int kSlidePeriod = 64;
// The slide advances this far on every working update: the counter and the
// beams alike.
constexpr int kSlideStep = 2;
// The view window reaches this far past the screen's sides and below it.
constexpr float kWindowSide = 64.0f;
constexpr float kWindowBottom = 32.0f;
// Walkers stay within the screen itself, less a band at the top: the view
// window drawn in by this much on every side.
constexpr float kWalkerInset = 64.0f;
// An object still takes part this much further beyond the window's left side.
constexpr float kLeftReach = 32.0f;
// Cells below the level's bottom row where whatever falls is out of it.
constexpr int kFallRows = 10;
// The pusher's three pictures, one under the other in the atlas.
constexpr int kPusherCropX = 449;
constexpr int kPusherCropY = 65;
constexpr int kPusherFrameStep = 16;
constexpr int kPusherWidth = 32;
constexpr int kPusherHeight = 8;

struct Window {
    float left;
    float right;
    float bottom;
    float top;
};

void advanceCounters(int ms)
{
    g_levelClock += ms;
    if (g_slideStep == -1)
        g_slideStep = 0;
    g_slideStep += kSlideStep;
    if (g_slideStep >= kSlidePeriod)
        g_slideStep = -1;
    g_frameIndex = (g_frameIndex + 1) % 3;
    g_flickerPhase = (g_flickerPhase + 1) % 2;
    g_blinkTimer += ms;
    if (g_blinkTimer > kBlinkPeriod) {
        g_blinkTimer -= kBlinkPeriod;
        g_blinkOn = !g_blinkOn;
    }
}

// ---- the visibility window ----

// The screen from the camera's position, widened by the margins.
Window viewWindow(const GameCamera& camera)
{
    float transform[16];
    camera.getTransform().get(transform);
    const float cx = transform[3];
    const float cy = transform[7];
    return {cx - kWindowSide, cx + g_screenWidth + kWindowSide, cy - kWindowBottom,
            cy + g_screenHeight - kWindowBottom};
}

Window insetBy(const Window& window, float inset)
{
    return {window.left + inset, window.right - inset, window.bottom + inset, window.top - inset};
}

// A tile at `p` takes part while it is near its window (a walker's is the
// smaller one) and neither below the view nor fallen out; a walker that
// leaves its window turns back.
void takePartWhenNear(GameObject& o, const slmath::vec3& p, const Window& view, const Window& walkerView,
                      float fallLine)
{
    if (p.y < fallLine) {
        o.setActive(false);
        return;
    }
    const float e = o.m_extent;
    const Window& window = o.m_type == GameObject::TYPE_WALKER ? walkerView : view;
    const bool visible =
        p.x + e + kLeftReach > window.left && p.x - e < window.right && p.y + e > window.bottom && p.y - e < window.top;
    o.setActive(visible);
    if (!visible && o.m_type == GameObject::TYPE_WALKER)
        o.m_reversed = !o.m_reversed;
    if (p.y < view.bottom)
        o.setActive(false);
}

// ---- the always-on animation ----

// Moving pictures, in view or not: rising and sliding beams move along (and
// `p` with them), the scrolling beam's picture scrolls.
void animate(GameObject& o, slmath::vec3& p)
{
    if (o.m_type == GameObject::TYPE_RISING_BEAM || o.m_type == GameObject::TYPE_SLIDING_BEAM) {
        float& along = o.m_type == GameObject::TYPE_RISING_BEAM ? p.y : p.x;
        along += kSlideStep;
        if (g_slideStep == -1)
            along -= kSlidePeriod;
        o.setPosition(p.x, p.y, p.z);
    } else if (o.m_type == GameObject::TYPE_SCROLLING_BEAM) {
        // A 32 x 32 window of the beam's 32 x 64 atlas copy, its top row
        // swinging by 16 rows about row 241 at 0.01 radians a millisecond
        // of the level clock.
        constexpr int kCropX = 1;
        constexpr int kSize = 32;
        constexpr float kMiddleRow = 241.0f;
        constexpr float kSwing = 16.0f;
        constexpr float kRate = 0.01f;
        const float angle = kRate * static_cast<float>(g_levelClock);
        const float row = kMiddleRow + kSwing * static_cast<float>(std::sin(static_cast<double>(angle)));
        o.changeType(GameObject::TYPE_SCROLLING_BEAM, kCropX, static_cast<int>(row), kSize, kSize);
    }
}

// ---- the per-type behaviour ----

// A star or key still there and within reach of the player.
bool canBePickedUp(const GameObject& item, const slmath::vec3& itemPosition, const slmath::vec3& player)
{
    return item.m_vanishCountdown == 0 && item.m_enabled && slmath::length(player - itemPosition) < kPickUpDistance;
}

// The early platforms stand in the first half of the cycle, the late ones in
// the second; each one that is processed keeps the clock within the cycle.
void showTimedPlatform(GameObject& platform)
{
    if (g_levelClock > kPlatformHalfCycle) {
        platform.setActive(platform.m_type == GameObject::TYPE_LATE_PLATFORM);
        if (g_levelClock > kPlatformCycle)
            g_levelClock -= kPlatformCycle;
    } else {
        platform.setActive(platform.m_type == GameObject::TYPE_EARLY_PLATFORM);
    }
}

// On, a barrier flickers between its two turns; off, it is gone.
void blinkBarrier(GameObject& barrier)
{
    if (!g_blinkOn) {
        barrier.setActive(false);
        return;
    }
    if (g_flickerPhase == 0)
        barrier.m_flags |= GameObject::OBJ_TURN_180;
    else
        barrier.m_flags &= ~GameObject::OBJ_TURN_180;
}

} // namespace

// ---- per frame --------------------------------------------------------------------------

int GameLevel::update(int ms)
{
    GameGlobals& g = GameGlobals::get();
    // The run state updates twice per drawn frame; the level works once.
    if (!g_updateHalf) {
        g_updateHalf = true;
        return 1;
    }
    g_updateHalf = false;
    advanceCounters(ms);

    const Window view = viewWindow(*g.m_camera);
    const Window walkerView = insetBy(view, kWalkerInset);
    // Far below the level: fallen out.
    const float fallLine = static_cast<float>((-kFallRows - m_image->getHeight()) * kCellSize);
    GameObject& player = *g.m_objects[GameGlobals::kPlayerSlot];
    const slmath::vec3 playerPosition = player.getPosition();
    if (playerPosition.y < fallLine)
        player.setActive(false);

    const int count = g.m_objects.m_size;
    for (int i = GameGlobals::kFirstTileSlot; i < count; ++i) {
        GameObject* object = g.m_objects[i].get();
        VORNIC3D_CHECK(object != nullptr);
        slmath::vec3 p = object->getPosition();
        takePartWhenNear(*object, p, view, walkerView, fallLine);
        animate(*object, p);
        if (object->m_active)
            updateByType(*object, p, player, playerPosition);
    }
    return 1;
}

void GameLevel::updateByType(GameObject& o, const slmath::vec3& p, GameObject& player,
                             const slmath::vec3& playerPosition)
{
    switch (o.m_type) {
    case GameObject::TYPE_STAR:
        if (canBePickedUp(o, p, playerPosition)) {
            o.startVanish();
            --m_starsLeft;
            // The last star is the run state's: it plays the completion.
            if (m_starsLeft != 0)
                playMediaSound("SCORE.wav");
            VORNIC3D_CHECK(m_starsLeft >= 0);
        }
        break;
    case GameObject::TYPE_KEY:
        if (canBePickedUp(o, p, playerPosition)) {
            o.startVanish();
            ++m_keys;
            playMediaSound("SCORE.wav");
        }
        break;
    case GameObject::TYPE_EARLY_PLATFORM:
    case GameObject::TYPE_LATE_PLATFORM: showTimedPlatform(o); break;
    case GameObject::TYPE_LIFT:
        if (slmath::length(playerPosition - p) < kPickUpDistance)
            player.push(slmath::vec3(0.0f, kLiftPush, 0.0f), false);
        break;
    case GameObject::TYPE_PUSHER:
        o.changeType(GameObject::TYPE_PUSHER, kPusherCropX, kPusherCropY + kPusherFrameStep * g_frameIndex,
                     kPusherWidth, kPusherHeight);
        break;
    case GameObject::TYPE_BARRIER: blinkBarrier(o); break;
    default: break;
    }
}

// ---- start and end ------------------------------------------------------------------------

void GameLevel::reset()
{
    const slmath::vec3& start = m_startPosition;
    GameGlobals::get().m_objects[GameGlobals::kPlayerSlot]->setPosition(start.x, start.y, start.z);
}

bool GameLevel::end(int timeMs)
{
    GameGlobals& g = GameGlobals::get();
    // The menu only makes levels of the table; an index beyond it would
    // write past the table.
    VORNIC3D_CHECK(m_levelIndex >= 0 && m_levelIndex < static_cast<int>(g.m_levels.size()));
    LevelInfo& row = g.m_levels[static_cast<std::size_t>(m_levelIndex)];
    row.completed = true;
    if (row.bestTime <= timeMs)
        return false;
    row.bestTime = timeMs;
    return true;
}

} // namespace game
