#include "GameStateRun.h"

#include "GameCamera.h"
#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "ProgramGlobals.h"

#include "render/Background.h"
#include "render/Graphics3D.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "slmath/mat4.h"

#include <cmath>
#include <cstdio>

namespace game {

namespace {

// Formatted lines longer than this are cut.
constexpr int kLineBytes = 100;
// Trail puffs: every fifth entry of the ring, growing toward the player.
constexpr int kTrailStep = 5;
constexpr float kTrailStartScale = 0.1f;
constexpr float kTrailScaleStep = 0.075f;
constexpr int kGoShownFor = 1000;
constexpr int kSwellTime = 1500;
constexpr int kEndDustStart = 2100;
constexpr float kIndicatorHeight = 64.0f;
constexpr float kArrowSide = 64.0f;
constexpr float kBandStretch = 10.0f;

// Sines of single-precision products, taken in double precision.
float sinOf(float product)
{
    return static_cast<float>(std::sin(static_cast<double>(product)));
}

float cosOf(float product)
{
    return static_cast<float>(std::cos(static_cast<double>(product)));
}

// Whole-pixel bobbing of the texts and indicators, from the state time.
float bob40(std::int32_t t)
{
    return std::fabs(std::trunc(40.0f * sinOf(0.002f * static_cast<float>(t))));
}

float bob10(std::int32_t t)
{
    return std::fabs(std::trunc(10.0f * static_cast<float>(std::sin(0.01 * t))));
}

render::Transform scaled(float x, float y)
{
    render::Transform t;
    t.postScale(x, y, 1.0f);
    return t;
}

} // namespace

// ---- the frame ----------------------------------------------------------------------

void GameStateRun::render(render::Graphics3D* g3d)
{
    render::Graphics3D& g = *g3d;
    GameGlobals& globals = *m_globals;
    g.clear(globals.m_backgrounds[globals.m_backgroundIndex].get());
    if (m_phase == PHASE_PLAYING)
        drawTrail(g);
    for (int i = GameGlobals::kFirstTileSlot; i < globals.m_objects.m_size; ++i)
        globals.m_objects[i]->render(nullptr);
    // The player never turns, whatever the physics did.
    GameObject& p = player();
    p.setRotation(slmath::mat4(1.0f));
    p.render(nullptr);
    drawPhaseEffects(g);
    drawBands();
    drawIndicators();
    drawTexts(g);
}

render::Transform GameStateRun::anchor(float x, float y) const
{
    render::Transform t = m_globals->m_camera->getTransform();
    t.postTranslate(x, y, 0.0f);
    return t;
}

void GameStateRun::drawDust(render::Graphics3D& g3d, const render::Transform& quad, const render::Transform& at)
{
    m_dustSprite->setSpriteTransform(&quad);
    g3d.render(m_dustSprite.get(), at);
}

// ---- effects ------------------------------------------------------------------------

// Puffs on every fifth of the player's last poses, the oldest largest; the
// one on the player sits a little low and breathes.
void GameStateRun::drawTrail(render::Graphics3D& g3d)
{
    const float angle = 0.01f * static_cast<float>(m_stateTime);
    const float sine = sinOf(angle);
    const float cosine = cosOf(angle);
    float s = kTrailStartScale;
    for (int d = 0; d < kTrailLength; d += kTrailStep) {
        s += kTrailScaleStep;
        render::Transform quad;
        if (d == 0) {
            const float pulse = 1.0f + 0.1f * sine;
            quad.postTranslate(0.0f, -5.0f, 0.0f);
            quad.postScale(pulse, pulse, 1.0f);
        } else if ((d / kTrailStep) % 2 == 1) {
            quad.postScale((0.5f * cosine + 1.0f) * s, (0.5f * sine + 1.0f) * s, 1.0f);
        } else {
            quad.postScale((0.5f * sine + 1.0f) * s, (0.5f * cosine + 1.0f) * s, 1.0f);
        }
        drawDust(g3d, quad, m_trail[static_cast<std::size_t>((m_trailIndex + d) % kTrailLength)]);
    }
}

// The puff at the screen centre links the phases: it shrinks away during
// READY and grows to cover the view before the menu returns.
void GameStateRun::drawPhaseEffects(render::Graphics3D& g3d)
{
    const render::Transform centre = anchor(g_screenWidth / 2, g_screenHeight / 2);
    if (m_phase == PHASE_READY) {
        const float z = -0.006f * static_cast<float>(m_stateTime);
        drawDust(g3d, scaled(z, z), centre);
    }
    if (m_phase == PHASE_GAME_OVER) {
        const float t = static_cast<float>(m_gameOverTime);
        const float z = m_gameOverTime < kSwellTime ? 2.0f * sinOf(0.00209333f * t) : 0.01f * (t - kSwellTime);
        drawLine(g3d, "GAME OVER", 18, 32, Align::CENTRE, g_screenHeight / 2 + bob40(m_stateTime));
        player().setActive(true);
        drawDust(g3d, scaled(z, z), centre);
    }
}

// ---- overlays -----------------------------------------------------------------------

void GameStateRun::drawBands()
{
    GameObject& band = *m_globals->m_objects[GameGlobals::kHudBandSlot];
    const float w = band.m_width;
    const float h = band.m_height;
    for (const float y : {g_screenHeight - h / 2, h / 2}) {
        render::Transform t = anchor(g_screenWidth - w / 2, y);
        t.postScale(kBandStretch, 1.0f, 1.0f);
        band.setTransform(t);
        band.render(nullptr);
    }
}

void GameStateRun::drawIndicators()
{
    GameObject& arrow = *m_globals->m_objects[GameGlobals::kArrowSlot];
    const float bob = bob10(m_stateTime);
    const float middle = g_screenWidth / 2;
    if (player().m_jumpRequest) {
        const render::Transform at = anchor(middle, kIndicatorHeight + bob);
        arrow.render(&at);
    }
    if (!g_steerX && !g_steerY)
        return;
    // The marker swells and shrinks once over the steering time.
    GameObject& marker = *m_globals->m_objects[GameGlobals::kMarkerSlot];
    const float q = 3.0f * sinOf(0.000628f * static_cast<float>(m_steerTime));
    render::Transform mark;
    mark.postTranslate(m_target.x, m_target.y, m_target.z);
    mark.postScale(q, q, 1.0f);
    marker.setTransform(mark);
    marker.render(nullptr);

    const float px = player().getPosition().x;
    if (m_target.x > px) {
        render::Transform at = anchor(middle + kArrowSide - bob, kIndicatorHeight);
        at.postRotate(-90.0f, 0.0f, 0.0f, 1.0f);
        arrow.render(&at);
    } else if (m_target.x < px) {
        render::Transform at = anchor(middle - kArrowSide + bob, kIndicatorHeight);
        at.postRotate(90.0f, 0.0f, 0.0f, 1.0f);
        arrow.render(&at);
    }
}

// ---- texts --------------------------------------------------------------------------

void GameStateRun::drawTexts(render::Graphics3D& g3d)
{
    const GameLevel& level = *m_globals->m_level;
    const float h = g_screenHeight;
    char line[kLineBytes];
    std::snprintf(line, sizeof line, "STARS : %d/%d", level.m_starsTotal - level.m_starsLeft, level.m_starsTotal);
    drawLine(g3d, line, 9, 32, Align::LEFT, -17.0f);
    std::snprintf(line, sizeof line, "TIME  : %.2f", m_playTime * 0.001);
    drawLine(g3d, line, 9, 32, Align::LEFT, -5.0f);
    std::snprintf(line, sizeof line, "KEYS : %d", level.m_keys);
    drawLine(g3d, line, 9, 32, Align::RIGHT, -17.0f);
    std::snprintf(line, sizeof line, "LEVEL : %s", level.m_name.c_str());
    drawLine(g3d, line, 9, 64, Align::CENTRE, h - 64 - 4);
    if (m_phase == PHASE_READY)
        drawLine(g3d, "READY", 18, 64, Align::CENTRE, h / 2 + bob40(m_stateTime));
    if (m_phase == PHASE_PLAYING && m_stateTime < kGoShownFor) {
        m_hudText->setFont(m_globals->m_font2.get());
        drawLine(g3d, "GO", 27, 96, Align::CENTRE, h / 2 - 96);
        m_hudText->setFont(m_globals->m_font.get());
    }
    if (m_phase == PHASE_COMPLETED)
        drawCompletedTexts(g3d);
}

// Each line's height is taken from the screen's middle less its own cell
// height, so COMPLETED's tall cell holds the time in its lower half.
void GameStateRun::drawCompletedTexts(render::Graphics3D& g3d)
{
    const float middle = g_screenHeight / 2;
    const float completed = static_cast<float>(m_completedTime);
    m_hudText->setFont(m_globals->m_font2.get());
    drawLine(g3d, "LEVEL", 18, 64, Align::CENTRE, middle - 64);
    drawLine(g3d, "COMPLETED", 18, 64, Align::CENTRE, middle - 64 - 32);
    char line[kLineBytes];
    std::snprintf(line, sizeof line, "TIME : %.2f", m_playTime * 0.001);
    drawLine(g3d, line, 18, 32, Align::CENTRE, middle - 32 - 64);
    // Blinks about every 63 ms.
    if (m_newRecord && sinOf(0.1f * completed) > 0.0f)
        drawLine(g3d, "NEW RECORD", 18, 32, Align::CENTRE, middle - 32 - 96);
    if (m_completedTime > kEndDustStart) {
        const float z = 0.02f * (completed - kEndDustStart);
        drawDust(g3d, scaled(z, z), anchor(g_screenWidth / 2, middle));
    }
    m_hudText->setFont(m_globals->m_font.get());
}

void GameStateRun::drawLine(render::Graphics3D& g3d, const char* text, int sizeX, int sizeY, Align align, float y)
{
    render::Text2D& node = *m_hudText;
    node.setText(text);
    node.setSize(sizeX, sizeY);
    const float width = static_cast<float>(node.getSizeX() * node.getText().length());
    float x = 1.0f;
    if (align == Align::CENTRE)
        x = (g_screenWidth - width) / 2;
    else if (align == Align::RIGHT)
        x = g_screenWidth - width;
    g3d.render(&node, anchor(x, y));
}

} // namespace game
