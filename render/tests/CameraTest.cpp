#include "SceneGraphTest.h"

#include "render/ArithmeticException.h"
#include "render/Camera.h"

#include <array>
#include <functional>

using render::Camera;
using namespace testsupport;

namespace {

using Rows = std::array<float, 16>;

class CameraTest : public EngineTest {};

Rows projectionOf(const Camera& camera)
{
    render::Transform projection;
    camera.getProjection(&projection);
    Rows rows;
    projection.get(rows.data());
    return rows;
}

} // namespace

// The parameters are given back for the centred forms only.
TEST_F(CameraTest, ProjectionMatricesFollowTheOpenGLConvention)
{
    render::Transform generic;
    generic.postTranslate(4, 5, 6);
    const struct {
        const char* name;
        std::function<void(Camera&)> set;
        int type;
        Rows rows;
        std::array<float, 4> parameters;
    } cases[] = {
        {"generic",
         [&](Camera& c) { c.setGeneric(generic); },
         Camera::GENERIC,
         {1, 0, 0, 4, 0, 1, 0, 5, 0, 0, 1, 6, 0, 0, 0, 1},
         {-1, -1, -1, -1}},
        {"parallel(10, 1.5, 1, 100)",
         [](Camera& c) { c.setParallel(10, 1.5f, 1, 100); },
         Camera::PARALLEL,
         {0.13333f, 0, 0, 0, 0, 0.2f, 0, 0, 0, 0, -0.020202f, -1.0202f, 0, 0, 0, 1},
         {10, 1.5f, 1, 100}},
        {"parallel box(-1, 3, -2, 2, 1, 100)",
         [](Camera& c) { c.setParallel(-1, 3, -2, 2, 1, 100); },
         Camera::PARALLEL_BOX,
         {0.5f, 0, 0, -0.5f, 0, 0.5f, 0, 0, 0, 0, -0.020202f, -1.0202f, 0, 0, 0, 1},
         {-1, -1, -1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Ref<Camera> camera = VORNIC3D_NEW Camera();
        c.set(*camera);
        std::array<float, 4> parameters = {-1, -1, -1, -1};
        EXPECT_EQ(camera->getProjectionParameters(parameters.data()), c.type);
        EXPECT_EQ(parameters, c.parameters);
        const Rows rows = projectionOf(*camera);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(rows[i], c.rows[i], 1e-4f) << "element " << i;
    }
}

TEST_F(CameraTest, RefusedProjectionsChangeNothing)
{
    const struct {
        const char* name;
        std::function<void(Camera&)> set;
        Outcome outcome;
    } cases[] = {
        {"perspective fovy 180", [](Camera& c) { c.setPerspective(180, 1, 1, 10); }, bare()},
        {"perspective aspect 0", [](Camera& c) { c.setPerspective(60, 0, 1, 10); }, bare()},
        {"perspective near 0", [](Camera& c) { c.setPerspective(60, 1, 0, 10); }, bare()},
        {"perspective far -1", [](Camera& c) { c.setPerspective(60, 1, 1, -1); }, bare()},
        {"perspective near == far", [](Camera& c) { c.setPerspective(60, 1, 5, 5); }, accepted()},
        {"parallel height 0", [](Camera& c) { c.setParallel(0, 1, 1, 10); }, bare()},
        {"box right == left", [](Camera& c) { c.setParallel(2, 2, 0, 1, 1, 10); },
         refused("setParallel failed : right - left == 0")},
        {"box top == bottom", [](Camera& c) { c.setParallel(0, 1, 3, 3, 1, 10); },
         refused("setParallel failed : top - bottom == 0")},
        {"box far == near", [](Camera& c) { c.setParallel(0, 1, 0, 1, 7, 7); },
         refused("setParallel failed : farplane - nearplane == 0")},
        {"box mirrored", [](Camera& c) { c.setParallel(1, -1, 1, -1, 1, 10); }, accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Ref<Camera> camera = VORNIC3D_NEW Camera();
        camera->setParallel(10, 1.5f, 1, 100);
        const Rows before = projectionOf(*camera);
        EXPECT_EQ(outcomeOf([&] { c.set(*camera); }), c.outcome);
        if (!(c.outcome == accepted())) {
            EXPECT_EQ(projectionOf(*camera), before);
        }
    }

    // Near and far meet only when the matrix is asked for; out keeps its value.
    core::Ref<Camera> camera = VORNIC3D_NEW Camera();
    camera->setPerspective(60, 1, 5, 5);
    render::Transform out;
    out.postTranslate(1, 1, 1);
    EXPECT_EQ(messageOf<render::ArithmeticException>([&] { camera->getProjection(&out); }),
              "Transformation matrix cannot be computed due to illegal perspective or parallel projection "
              "parameters (near == far)");
    Rows rows;
    out.get(rows.data());
    EXPECT_EQ(rows[3], 1.0f);
}
