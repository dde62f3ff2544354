#include "GameTest.h"

#include "GameCamera.h"

#include "render/Camera.h"

using gametest::elementOf;

namespace {

using GameCameraTest = gametest::GameTest;

render::Transform at(float x, float y)
{
    render::Transform t;
    t.postTranslate(x, y, 0);
    return t;
}

} // namespace

// A jump of the camera reaches the renderer only while it is the current one;
// every update activates it.
TEST_F(GameCameraTest, UpdateCoversTheFractionOfTheWayThatTimeAndSpeedGive)
{
    game::GameCamera& camera = *globals().m_camera;
    core::Ref<render::Camera> other = VORNIC3D_NEW render::Camera();
    recorder().setCamera(other.get(), at(0, 0));
    camera.setTransform(at(5, 6));
    EXPECT_EQ(recorder().m_camera, other.get());
    // Toward (300, -40).
    const struct {
        const char* what;
        float fromX, fromY;
        int ms;
        float speed;
        float x, y;
    } cases[] = {
        {"factor 1 lands on the target", 100, 40, 1000, 1, 300, -40},
        {"factor 2 mirrors past it", 100, 40, 200, 10, 500, -120},
        {"20 ms at speed 9: 18 %", 100, 40, 20, 9, 136, 25.6f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        camera.setTransform(at(c.fromX, c.fromY));
        const int sets = recorder().m_cameraSets;
        camera.setSpeed(c.speed);
        camera.setTarget(at(300, -40));
        camera.update(c.ms);
        EXPECT_NEAR(elementOf(camera.getTransform(), 3), c.x, 1e-3f);
        EXPECT_NEAR(elementOf(camera.getTransform(), 7), c.y, 1e-3f);
        EXPECT_EQ(recorder().m_camera, camera.getRenderCamera());
        EXPECT_EQ(elementOf(recorder().m_cameraTransform, 3), elementOf(camera.getTransform(), 3));
        EXPECT_EQ(recorder().m_cameraSets, sets + 1) << "activated in every case";
    }
    camera.setTransform(at(7, 8));
    EXPECT_EQ(elementOf(recorder().m_cameraTransform, 7), 8.0f);
    recorder().m_camera = nullptr;
}
