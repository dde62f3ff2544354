#pragma once

#include "GameState.h"

#include "core/Ref.h"
#include "render/Transform.h"
#include "slmath/vec3.h"

#include <array>
#include <cstdint>

namespace render {
class Font2D;
class Sprite3D;
class Text2D;
} // namespace render

namespace game {

class GameObject;

// The state "run": plays the level the menu built into the globals' m_level.
// Entering it puts the player at the level's start and counts 3 s down
// (READY) before play (GO); play ends lost when the player dies or won when
// no star is left (the time goes to the level table), and 3 s later the
// state hands back to "menu". Objects, level, physics and camera run in every
// phase. A tap of the stylus sets a target the player is pushed toward.
// Contract: made once, after the game's set-up (the globals hold the camera,
// the physics world and both inputs by the first update); the constructor
// loads the state's media (three backgrounds into the globals'
// m_backgrounds, the dust puff, the HUD font) and fails when one can not be
// loaded. Update and render need a loaded level, whose first four objects
// are the player, the indicator arrow, the HUD band and the steering marker.
class GameStateRun : public GameState {
public:
    GameStateRun(Game* game, const core::String& name);
    ~GameStateRun() override;

protected:
    int update(int elapsedMs) override;
    void init() override;
    void deinit() override;
    void render(render::Graphics3D* g3d) override;

private:
    enum Phase { PHASE_READY = 0, PHASE_GAME_OVER = 1, PHASE_PLAYING = 2, PHASE_COMPLETED = 3 };
    static constexpr int kTrailLength = 40;

    // ---- media ----
    // Entry `index` of the globals' m_backgrounds.
    void loadBGImage(int index, const char* fileName);

    // ---- update ----
    void updatePhase();
    void followPlayer(int ms);
    void steer(int ms);
    void scrollBackground();
    GameObject& player();

    // ---- render ----
    enum class Align { LEFT, CENTRE, RIGHT };
    // The camera's transform moved to screen pixel (x, y), counted from the
    // bottom left corner.
    render::Transform anchor(float x, float y) const;
    void drawDust(render::Graphics3D& g3d, const render::Transform& quad, const render::Transform& at);
    void drawTrail(render::Graphics3D& g3d);
    void drawPhaseEffects(render::Graphics3D& g3d);
    void drawBands();
    void drawIndicators();
    void drawTexts(render::Graphics3D& g3d);
    void drawCompletedTexts(render::Graphics3D& g3d);
    // One HUD line in cells of sizeX x sizeY at height y: from x = 1 (LEFT),
    // centred, or ending at the right edge.
    void drawLine(render::Graphics3D& g3d, const char* text, int sizeX, int sizeY, Align align, float y);

    core::Ref<render::Sprite3D> m_dustSprite;
    core::Ref<render::Text2D> m_hudText;
    core::Ref<render::Font2D> m_hudFont;
    std::int32_t m_gameOverTime = 0;
    std::int32_t m_phase = PHASE_READY;
    std::int32_t m_steerTime = 0;
    slmath::vec3 m_target;
    float m_lastStylusX = 0.0f;
    float m_lastStylusY = 0.0f;
    std::int32_t m_playTime = 0;
    std::int32_t m_completedTime = 0;
    bool m_newRecord = false;
    // The player's transforms after each of the last updates, a ring whose
    // newest entry is m_trailIndex.
    std::array<render::Transform, kTrailLength> m_trail;
    std::int32_t m_trailIndex = 0;
};

} // namespace game
