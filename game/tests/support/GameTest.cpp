#include "GameTest.h"

#include "GameCamera.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "ProgramGlobals.h"

#include "hal/System.h"
#include "render/Image2D.h"

#include <cstdlib>

namespace gametest {

void GameTest::SetUpTestSuite()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

testsupport::TestGraphics3D* GameTest::createRenderer()
{
    return VORNIC3D_NEW RecordingGraphics3D();
}

void GameTest::SetUp()
{
    SceneGraphTest::SetUp();
    std::srand(1);
    dRandSetSeed(1);
    game::resetProgramGlobals();
    game::GameGlobals::initClass();
    game::GameOde::createOdeClass();
    globals().m_level = VORNIC3D_NEW game::GameLevel(0);
    globals().m_camera = VORNIC3D_NEW game::GameCamera(0.0f, game::g_screenHeight, game::g_screenWidth, 0.0f);
}

void GameTest::TearDown()
{
    HAL::stopSound();
    m_sprite = nullptr;
    if (game::GameGlobals::getInstance() != nullptr) {
        EXPECT_NO_THROW(game::GameGlobals::deInitClass());
    }
    SceneGraphTest::TearDown();
}

render::Sprite3D* GameTest::sprite()
{
    if (m_sprite == nullptr) {
        core::Ref<render::Image2D> image = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 64, 64);
        m_sprite = VORNIC3D_NEW render::Sprite3D(false, image.get(), nullptr);
    }
    return m_sprite.get();
}

game::GameObject& GameTest::addObject(int type, int flags, float x, float y, int width, int height)
{
    core::Ref<game::GameObject> object =
        VORNIC3D_NEW game::GameObject(type, sprite(), sprite(), 0, 0, width, height, flags);
    globals().m_objects.pushBack(object);
    object->setActive(true);
    object->setPosition(x, y, 0.0f);
    return *object;
}

game::GameObject& GameTest::player()
{
    return *globals().m_objects[game::GameGlobals::kPlayerSlot];
}

float elementOf(const render::Transform& transform, int index)
{
    float values[16];
    transform.get(values);
    return values[index];
}

} // namespace gametest
