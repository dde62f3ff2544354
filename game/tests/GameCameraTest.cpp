#include "GameTest.h"

#include "GameCamera.h"

#include "render/Camera.h"

using game::GameCamera;
using gametest::elementOf;

namespace {

class GameCameraTest : public gametest::GameTest {
protected:
    GameCamera& camera() { return *globals().m_camera; }
};

render::Transform at(float x, float y)
{
    render::Transform t;
    t.postTranslate(x, y, 0);
    return t;
}

} // namespace

TEST_F(GameCameraTest, UpdateCoversTheFractionOfTheWayThatTimeAndSpeedGive)
{
    // From (100, 40), or from the target itself, toward (300, -40).
    const struct { const char* what; bool fromTarget; int ms; float speed; float x; float y; } cases[] = {
        {"factor 1 lands on the target", false, 1000, 1, 300, -40},
        {"factor 2 mirrors past it", false, 200, 10, 500, -120},
        {"16 ms at speed 1: 1.6 %", false, 16, 1, 103.2f, 38.72f},
        {"20 ms at speed 9: 18 %", false, 20, 9, 136, 25.6f},
        {"on the target nothing moves", true, 1000, 1, 300, -40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        camera().setTransform(c.fromTarget ? at(300, -40) : at(100, 40));
        const int sets = recorder().m_cameraSets;
        camera().setSpeed(c.speed);
        camera().setTarget(at(300, -40));
        camera().update(c.ms);
        EXPECT_NEAR(elementOf(camera().getTransform(), 3), c.x, 1e-3f);
        EXPECT_NEAR(elementOf(camera().getTransform(), 7), c.y, 1e-3f);
        EXPECT_EQ(recorder().m_camera, camera().getRenderCamera());
        EXPECT_EQ(elementOf(recorder().m_cameraTransform, 3), elementOf(camera().getTransform(), 3));
        EXPECT_EQ(recorder().m_cameraSets, sets + 1) << "activated in every case";
    }
}

TEST_F(GameCameraTest, AJumpReactivatesTheCameraOnlyWhenItIsTheRenderersCurrentOne)
{
    core::Ref<render::Camera> other = VORNIC3D_NEW render::Camera();
    recorder().setCamera(other.get(), at(0, 0));
    camera().setTransform(at(5, 6));
    EXPECT_EQ(recorder().m_camera, other.get());
    EXPECT_EQ(elementOf(camera().getTransform(), 3), 5.0f);

    camera().activate();
    camera().setTransform(at(7, 8));
    EXPECT_EQ(recorder().m_camera, camera().getRenderCamera());
    EXPECT_EQ(elementOf(recorder().m_cameraTransform, 7), 8.0f);
    recorder().m_camera = nullptr;
}

TEST_F(GameCameraTest, ActivationNeedsTheGlobals)
{
    core::Ref<GameCamera> loose = globals().m_camera;
    game::GameGlobals::deInitClass();
    EXPECT_EQ(testsupport::outcomeOf([&] { loose->activate(); }), testsupport::bare());
}
