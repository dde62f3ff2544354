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
constexpr int kBlinkPeriod = 3000;
constexpr int kSlidePeriod = 64;
// The view window reaches this far past the screen's sides and below it.
constexpr float kWindowSide = 64.0f;
constexpr float kWindowBottom = 32.0f;
// The pusher's three pictures, one under the other in the atlas.
constexpr int kPusherCropX = 449;
constexpr int kPusherCropY = 65;
constexpr int kPusherFrameStep = 16;

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
    g_slideStep += 2;
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

// A star or key still there and within reach of the player.
bool canBePickedUp(const GameObject& item, const slmath::vec3& itemPosition, const slmath::vec3& player)
{
    return item.m_vanishCountdown == 0 && item.m_enabled && slmath::length(player - itemPosition) < kPickUpDistance;
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

    float camera[16];
    g.m_camera->getTransform().get(camera);
    const float cx = camera[3];
    const float cy = camera[7];
    const Window view = {cx - kWindowSide, cx + g_screenWidth + kWindowSide, cy - kWindowBottom,
                         cy + g_screenHeight - kWindowBottom};
    // Walkers stay within the screen itself, less a band at the top.
    const Window walkerView = {view.left + 64, view.right - 64, view.bottom + 64, view.top - 64};

    // Far below the level: fallen out.
    const float fallLine = static_cast<float>((-10 - m_image->getHeight()) * kCellSize);
    GameObject& player = *g.m_objects[GameGlobals::kPlayerSlot];
    const slmath::vec3 playerPosition = player.getPosition();
    if (playerPosition.y < fallLine)
        player.setActive(false);

    const int count = g.m_objects.m_size;
    for (int i = GameGlobals::kFirstTileSlot; i < count; ++i) {
        GameObject* object = g.m_objects[i].get();
        VORNIC3D_CHECK(object != nullptr);
        GameObject& o = *object;
        slmath::vec3 p = o.getPosition();
        const float e = o.m_extent;

        const Window& window = o.m_type == GameObject::TYPE_WALKER ? walkerView : view;
        if (p.y < fallLine) {
            o.setActive(false);
        } else {
            const bool visible = p.x + e + 32 > window.left && p.x - e < window.right && p.y + e > window.bottom &&
                                 p.y - e < window.top;
            o.setActive(visible);
            if (!visible && o.m_type == GameObject::TYPE_WALKER)
                o.m_reversed = !o.m_reversed;
            if (p.y < view.bottom)
                o.setActive(false);
        }

        // Moving pictures, in view or not.
        if (o.m_type == GameObject::TYPE_RISING_BEAM || o.m_type == GameObject::TYPE_SLIDING_BEAM) {
            float& along = o.m_type == GameObject::TYPE_RISING_BEAM ? p.y : p.x;
            along += 2;
            if (g_slideStep == -1)
                along -= kSlidePeriod;
            o.setPosition(p.x, p.y, p.z);
        } else if (o.m_type == GameObject::TYPE_SCROLLING_BEAM) {
            const float angle = 0.01f * static_cast<float>(g_levelClock);
            const float row = 241.0f + 16.0f * static_cast<float>(std::sin(static_cast<double>(angle)));
            o.changeType(GameObject::TYPE_SCROLLING_BEAM, 1, static_cast<int>(row), 32, 32);
        }

        if (!o.m_active)
            continue;
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
        case GameObject::TYPE_LATE_PLATFORM:
            if (g_levelClock > kPlatformHalfCycle) {
                o.setActive(o.m_type == GameObject::TYPE_LATE_PLATFORM);
                if (g_levelClock > kPlatformCycle)
                    g_levelClock -= kPlatformCycle;
            } else {
                o.setActive(o.m_type == GameObject::TYPE_EARLY_PLATFORM);
            }
            break;
        case GameObject::TYPE_LIFT:
            if (slmath::length(playerPosition - p) < kPickUpDistance)
                player.push(slmath::vec3(0.0f, 5.0f, 0.0f), false);
            break;
        case GameObject::TYPE_PUSHER:
            o.changeType(GameObject::TYPE_PUSHER, kPusherCropX, kPusherCropY + kPusherFrameStep * g_frameIndex, 32, 8);
            break;
        case GameObject::TYPE_BARRIER:
            if (g_blinkOn) {
                if (g_flickerPhase == 0)
                    o.m_flags |= GameObject::OBJ_TURN_180;
                else
                    o.m_flags &= ~GameObject::OBJ_TURN_180;
            } else {
                o.setActive(false);
            }
            break;
        default:
            break;
        }
    }
    return 1;
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
