#include "SetUpGlobals.h"

#include "GameGlobals.h"
#include "GameStateInit.h"

#include "Input.h"
#include "render/Background.h"
#include "render/Light.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"

namespace gametest {

void fillSetUpGlobals()
{
    game::GameGlobals& g = *game::GameGlobals::getInstance();
    game::GameStateInit::fillLevelTable();
    g.m_light = VORNIC3D_NEW render::Light();
    g.m_font = VORNIC3D_NEW CellFont();
    g.m_font2 = VORNIC3D_NEW CellFont();
    g.m_text = VORNIC3D_NEW render::Text2D();
    g.m_text->setFont(g.m_font2.get());
    g.m_keyboard = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_KEYBOARD);
    g.m_mouse = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_MOUSE);
    g.m_background = VORNIC3D_NEW render::Background();
    g.m_sprites.setSize(4);
    g.m_sprites[1] = game::GameStateInit::createSprite("dust.png");
}

} // namespace gametest
