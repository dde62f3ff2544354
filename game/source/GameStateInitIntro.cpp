// The intro: one screen of text or of the studio logo at a time, drawn and
// presented by the screen's own loop before the main loop exists.
#include "GameStateInit.h"

#include "GameCamera.h"
#include "GameGlobals.h"
#include "GameSound.h"
#include "ProgramGlobals.h"

#include "hal/Input.h"
#include "hal/System.h"
#include "render/Appearance.h"
#include "render/Graphics3D.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Transform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace game {

namespace {

// The fade counter runs up to kFadeEnd; it climbs fast (5 a frame) up to
// kFadeTop, where the picture is brightest, and slowly after it.
constexpr int kFadeEnd = 450;
constexpr int kFadeTop = 225;
constexpr int kFadeInBoost = 4;
// The fade's half sine over the counter (3.14 / 450).
constexpr float kFadeStep = 0.0069777779f;
// The second frame of a screen waits until this long after the screen began.
constexpr std::uint32_t kFirstFrameMs = 50;
constexpr unsigned int kOpaqueWhite = 0xFFFFFFFFu;

// White with the fade's alpha at counter `fade`.
unsigned int fadedWhite(int fade)
{
    const int alpha = static_cast<int>(std::sin(static_cast<float>(fade) * kFadeStep) * 256.0f);
    return (static_cast<unsigned int>(std::clamp(alpha, 0, 255)) << 24) | 0x00FFFFFFu;
}

render::Material* materialOf(render::Appearance* appearance)
{
    VORNIC3D_CHECK(appearance != nullptr && appearance->getMaterial() != nullptr);
    return appearance->getMaterial();
}

// Presents the frame and binds the screen again for the next one.
void present(render::Graphics3D& g3d)
{
    g3d.releaseTarget();
    g3d.bindTarget(nullptr);
}

} // namespace

int GameStateInit::showInitText(const char* text, render::Sprite3D* sprite)
{
    GameGlobals& g = GameGlobals::get();
    VORNIC3D_CHECK(g.m_text != nullptr);
    render::Graphics3D& g3d = *render::Graphics3D::getInstance();
    render::Text2D& line = *g.m_text;
    render::Material* textMaterial = materialOf(line.getAppearance());
    render::Material* spriteMaterial = sprite != nullptr ? materialOf(sprite->getAppearance()) : nullptr;
    const int cellWidth = line.getSizeX();
    const int cellHeight = line.getSizeY();
    const int length = text != nullptr ? static_cast<int>(std::strlen(text)) : 0;
    if (text != nullptr)
        line.setText(text);

    // The world's origin in the middle of the screen.
    g3d.bindTarget(nullptr);
    g.m_camera->activate();
    render::Transform view;
    view.postTranslate(-g_screenWidth / 2.0f, -g_screenHeight / 2.0f, 0.0f);
    g.m_camera->setTransform(view);
    const std::uint32_t start = HAL::getTime();
    playMediaSound("theme.wav");

    int result = 1;
    int fade = 0;
    for (int frame = 0;;) {
        const float angle = 0.04f * static_cast<float>(frame);
        g.m_light->setTranslation(200.0f * std::sin(angle), 100.0f * std::cos(angle), -9900.0f);
        g3d.clear(nullptr);
        if (sprite != nullptr) {
            spriteMaterial->setColor(render::Material::DIFFUSE, fadedWhite(fade));
            g3d.render(sprite, render::Transform());
        }
        ++frame;
        // Glyphs twice as wide as the font's, the line centred and drifting down.
        line.setSize(2 * cellWidth, cellHeight);
        render::Transform place;
        place.postTranslate(-static_cast<float>(line.getSizeX() * length) / 2.0f,
                            10.0f - 0.1f * static_cast<float>(frame) - 0.85f * static_cast<float>(line.getSizeY()),
                            0.0f);
        if (fade < kFadeTop)
            fade += kFadeInBoost;
        textMaterial->setColor(render::Material::DIFFUSE, fadedWhite(fade));
        if (text != nullptr)
            g3d.render(&line, place);
        present(g3d);

        // Unsigned: the tick wraps after 2^32 ms, and a plain comparison
        // across the wrap would never end the wait (or skip it).
        while (HAL::getTime() - start < kFirstFrameMs) {
        }
        if (g.m_mouse->readInput(HAL::INPUT_MOUSE_LEFT) != 0.0f) {
            result = 0;
            break;
        }
        if (++fade >= kFadeEnd)
            break;
    }

    line.setSize(cellWidth, cellHeight);
    textMaterial->setColor(render::Material::DIFFUSE, kOpaqueWhite);
    g3d.clear(nullptr);
    present(g3d);
    return result;
}

} // namespace game
