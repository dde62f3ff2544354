// The menu's drawing: the backdrop, the zone arrows, the list with the
// selected level and its record or the credits, the dust zoom and the tap
// pulse. It also aims the follow camera (the list glides so that the
// highlighted entry comes to the middle; the credits drift); the menu's
// update moves the camera toward that aim.
#include "GameStateMenu.h"

#include "GameCamera.h"
#include "GameGlobals.h"
#include "GameObject.h"
#include "ProgramGlobals.h"

#include "render/Graphics3D.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Transform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace game {

namespace {

// Entries and headings are drawn in wide glyphs, the level, record and
// credit lines in narrow ones.
constexpr int kWideGlyph = 18;
constexpr int kNarrowGlyph = 9;
constexpr int kGlyphHeight = 32;
constexpr float kLineSpacing = 35.0f;
constexpr float kDetailSpacing = 25.0f;
constexpr int kDustZoomMs = 2000;

struct CreditLine {
    const char* text;
    int glyphWidth;
};
const CreditLine kCredits[] = {
    {"PROGRAMMING:", kWideGlyph}, {"DORVANEL", kNarrowGlyph}, {"ART:", kWideGlyph},         {"DORVANEL", kNarrowGlyph},
    {"VERSION:", kWideGlyph},     {"1.0", kNarrowGlyph},      {"GAME ENGINE:", kWideGlyph}, {"VORNIC3D", kNarrowGlyph},
};

render::Transform translation(float x, float y, float z)
{
    render::Transform t;
    t.postTranslate(x, y, z);
    return t;
}

// Screen pixel (x, y) from the bottom-left corner, wherever the camera is.
render::Transform anchor(float x, float y, float z)
{
    render::Transform t = GameGlobals::get().m_camera->getTransform();
    t.postTranslate(x, y, z);
    return t;
}

render::Transform turnedAnchor(float x, float y, float degrees)
{
    render::Transform t = anchor(x, y, -10.0f);
    if (degrees != 0.0f)
        t.postRotate(degrees, 0.0f, 0.0f, 1.0f);
    return t;
}

} // namespace

// ---- the frame ---------------------------------------------------------------------------

void GameStateMenu::render(render::Graphics3D* g3d)
{
    GameGlobals& g = GameGlobals::get();
    g3d->setViewport(0, 0, static_cast<int>(g_screenWidth), static_cast<int>(g_screenHeight));
    g3d->clear(g.m_background.get());
    drawArrows(g3d);
    g.m_camera->activate();
    drawTexts(g3d);
    drawDust(g3d);
}

void GameStateMenu::drawArrows(render::Graphics3D* /*g3d*/)
{
    const float w = g_screenWidth;
    const float h = g_screenHeight;
    GameObject& arrow = *GameGlobals::get().m_objects[GameGlobals::kArrowSlot];
    // Down at the bottom, up at the top: the zones that move the highlight.
    render::Transform t = turnedAnchor(w / 2.0f, 64.0f, 180.0f);
    arrow.render(&t);
    t = turnedAnchor(w / 2.0f, h - 32.0f, 0.0f);
    arrow.render(&t);
    if (!isHighlighted(kSelectLevel))
        return;
    // Right and left: the zones that change the level.
    t = turnedAnchor(w - 32.0f, h / 2.0f, -90.0f);
    arrow.render(&t);
    t = turnedAnchor(32.0f, h / 2.0f, 90.0f);
    arrow.render(&t);
}

void GameStateMenu::drawDust(render::Graphics3D* g3d)
{
    GameGlobals& g = GameGlobals::get();
    render::Sprite3D* dust = g.m_sprites[GameGlobals::kDustSlot].get();
    VORNIC3D_CHECK(dust != nullptr);
    const float w = g_screenWidth;
    const float h = g_screenHeight;
    // A puff that shrinks away as the menu opens and grows as a level starts.
    const bool opening = m_page == PAGE_MAIN && m_stateTime < kDustZoomMs;
    if (m_page == PAGE_STARTING || opening) {
        const float zoom = m_page == PAGE_STARTING ? 0.2f * static_cast<float>(m_startCounter)
                                                   : 20.0f - 0.01f * static_cast<float>(m_stateTime);
        render::Transform scale;
        scale.postScale(zoom, zoom, 1.0f);
        dust->setSpriteTransform(&scale);
        g3d->render(dust, anchor(w / 2.0f, h / 2.0f, 0.0f));
    }
    // The pulse where the stylus was lifted: greatest with 500 ms left.
    if (m_tapTime > 0) {
        const float size = static_cast<float>(std::sin(static_cast<double>(0.00314f * static_cast<float>(m_tapTime))));
        render::Transform scale;
        scale.postScale(size, size, 0.0f);
        dust->setSpriteTransform(&scale);
        g3d->render(dust, anchor((m_stylusX + 1.0f) * w / 2.0f, h / 2.0f - m_stylusY * h / 2.0f, 0.0f));
    }
}

// ---- the texts ---------------------------------------------------------------------------

void GameStateMenu::drawTexts(render::Graphics3D* g3d)
{
    if (m_page == PAGE_MAIN || m_page == PAGE_STARTING)
        drawList(g3d);
    m_menuText->setAppearance(m_textAppearance.get());
    if (m_page == PAGE_INFO)
        drawCredits(g3d);
}

void GameStateMenu::drawList(render::Graphics3D* g3d)
{
    GameGlobals& g = GameGlobals::get();
    const float w = g_screenWidth;
    // The camera aims so that the highlighted entry stands mid-screen.
    render::Transform line;
    for (int i = 0; i < m_items.m_size; ++i) {
        line.postTranslate(0.0f, -kLineSpacing, 0.0f);
        if (m_items[i].selected) {
            g.m_camera->setTarget(line);
            break;
        }
    }

    line = translation(w / 2.0f, g_screenHeight / 2.0f, 0.0f);
    // The highlighted entry wobbles sideways, about once a second.
    const float wobble = static_cast<float>(
        std::abs(static_cast<int>(20.0 * std::sin(static_cast<double>(0.003f * static_cast<float>(m_stateTime))))));
    char buffer[100];
    for (int i = 0; i < m_items.m_size; ++i) {
        const MenuItem& item = m_items[i];
        m_menuText->setSize(kWideGlyph, kGlyphHeight);
        render::Transform place = translation(item.selected ? wobble - w / 2.0f + 5.0f : 10.0f - w / 2.0f, 0.0f, 0.0f);
        m_menuText->setAppearance(item.selected ? m_textAppearance.get() : m_itemAppearance.get());
        line.postTranslate(0.0f, -kLineSpacing, 0.0f);
        m_menuText->setText(item.text);
        place.postMultiply(line);
        g3d->render(m_menuText.get(), place);
        if (item.text.compareTo(kSelectLevel) != 0)
            continue;

        // The selected level and, when it is open, its record below the entry.
        const LevelInfo& row = g.m_levels.at(static_cast<std::size_t>(m_selectedLevel));
        const bool locked = row.bestTime == LevelInfo::kLocked;
        m_menuText->setSize(kNarrowGlyph, kGlyphHeight);
        line.postTranslate(0.0f, -kDetailSpacing, 0.0f);
        place.postTranslate(20.0f, -kLineSpacing, 0.0f);
        if (locked)
            std::snprintf(buffer, sizeof buffer, "%d : UNAVAILABLE", m_selectedLevel + 1);
        else
            std::snprintf(buffer, sizeof buffer, "%d : %s", m_selectedLevel + 1, row.displayName);
        m_menuText->setText(buffer);
        g3d->render(m_menuText.get(), place);

        line.postTranslate(0.0f, -kDetailSpacing, 0.0f);
        place.postTranslate(10.0f, -kDetailSpacing, 0.0f);
        if (!locked) {
            // Seconds from the single-precision product, as the record was always shown.
            std::snprintf(buffer, sizeof buffer, "RECORD : %.2f SEC",
                          static_cast<double>(static_cast<float>(row.bestTime) * 0.001f));
            m_menuText->setText(buffer);
            g3d->render(m_menuText.get(), place);
        }
    }
}

void GameStateMenu::drawCredits(render::Graphics3D* g3d)
{
    const float w = g_screenWidth;
    // The camera's aim rises by 50 pixels a second: the credits drift down.
    GameGlobals::get().m_camera->setTarget(translation(0.0f, 0.05f * static_cast<float>(m_stateTime) - 50.0f, 0.0f));
    render::Transform place = translation(10.0f - w / 2.0f, 0.0f, 0.0f);
    place.postMultiply(translation(w / 2.0f, 0.9f * g_screenHeight, 0.0f));
    for (const CreditLine& credit : kCredits) {
        m_menuText->setSize(credit.glyphWidth, kGlyphHeight);
        m_menuText->setText(credit.text);
        g3d->render(m_menuText.get(), place);
        place.postTranslate(0.0f, -32.0f, 0.0f);
    }
}

} // namespace game
