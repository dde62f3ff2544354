#include "GameTest.h"

#include "GameObject.h"

#include <ode/ode.h>

#include <cmath>
#include <utility>

using game::GameObject;
using gametest::elementOf;

namespace {

constexpr int kTile = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;

class GameObjectTest : public gametest::GameTest {
protected:
    static dReal velocity(const GameObject& o, int axis) { return dBodyGetLinearVel(o.m_body)[axis]; }
    // The sprite draws recorded since the last call.
    int takeDraws() { return static_cast<int>(std::exchange(recorder().m_drawn, {}).size()); }
};

render::Transform turnedAndMoved(float degrees, float x, float y, float z)
{
    render::Transform t;
    t.postTranslate(x, y, z);
    t.postRotate(degrees, 0, 0, 1);
    return t;
}

} // namespace

TEST_F(GameObjectTest, ActivationSwitchesBodyAndGeomExceptWhereTheFlagsSayOtherwise)
{
    const struct { const char* what; int flags; bool hasBody; bool geomFollows; } cases[] = {
        {"sphere with a body", 0, true, true},
        {"static box", kTile, false, true},
        {"ghost", GameObject::OBJ_GHOST, false, false},
        {"hidden static", kTile | GameObject::OBJ_HIDDEN, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameObject& o = addObject(GameObject::TYPE_BLOCK, c.flags, 0, 0);
        EXPECT_EQ(o.m_body != nullptr, c.hasBody);
        for (const bool active : {false, true}) {
            o.setActive(active);
            EXPECT_EQ(o.m_active, active);
            if (c.hasBody) {
                EXPECT_EQ(dBodyIsEnabled(o.m_body) != 0, active);
            }
            const bool enabledAtCreation = (c.flags & GameObject::OBJ_GHOST) == 0;
            EXPECT_EQ(dGeomIsEnabled(o.m_geom) != 0, c.geomFollows ? active : enabledAtCreation);
        }
    }
}

TEST_F(GameObjectTest, PushAddsToTheSidewaysSpeedAndAJumpSetsTheVerticalSpeed)
{
    // From a speed of (1, -23.7).
    const struct { const char* what; bool active; slmath::vec3 push; bool jump; dReal vx, vy; } cases[] = {
        {"sideways", true, {5, 0, 0}, false, 6, -23.7},
        {"jump from a fall", true, {0, 10, 0}, true, 1, 33},
        {"upward push without a jump", true, {0, 10, 0}, false, 1, -23.7},
        {"a downward jump is no jump", true, {0, -10, 0}, true, 1, -23.7},
        {"inactive", false, {5, 10, 0}, true, 1, -23.7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameObject& o = addObject(GameObject::TYPE_BLOCK, 0, 0, 0);
        o.setActive(c.active);
        dBodySetLinearVel(o.m_body, 1, -23.7, 0);
        o.push(c.push, c.jump);
        EXPECT_NEAR(velocity(o, 0), c.vx, 1e-9);
        EXPECT_NEAR(velocity(o, 1), c.vy, 1e-9);
    }
    // Nothing to push without a body.
    addObject(GameObject::TYPE_BLOCK, kTile, 0, 0).push(slmath::vec3(5, 10, 0), true);
    addObject(GameObject::TYPE_STAR, GameObject::OBJ_NO_PHYSICS, 0, 0).push(slmath::vec3(5, 10, 0), true);
}

TEST_F(GameObjectTest, UpdateDampsTheSidewaysSpeedLimitsItAndKeepsThePlane)
{
    const struct { dReal vx, vy, vz; dReal expectX, expectY; } cases[] = {
        {200, 0, 0, 100, 0},
        {10, 50, 7, 9, 50},
        {0, -150, 0, 0, -100},
        {-100, 100, 0, -90 / std::sqrt(1.81), 100 / std::sqrt(1.81)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vx);
        GameObject& o = addObject(GameObject::TYPE_BLOCK, 0, 3, 4);
        dBodySetPosition(o.m_body, 3, 4, 9);
        dBodySetAngularVel(o.m_body, 1, 2, 3);
        dBodySetLinearVel(o.m_body, c.vx, c.vy, c.vz);
        o.update(20);
        EXPECT_NEAR(velocity(o, 0), c.expectX, 1e-3);
        EXPECT_NEAR(velocity(o, 1), c.expectY, 1e-3);
        EXPECT_EQ(velocity(o, 2), 0);
        EXPECT_EQ(dBodyGetAngularVel(o.m_body)[2], 0);
        EXPECT_EQ(o.getPosition().z, 0.0f);
    }

    // A walker settles where the damping takes what its push adds.
    GameObject& walker = addObject(GameObject::TYPE_WALKER, 0x1050, 0, 0);
    for (int i = 0; i < 200; ++i)
        walker.update(10);
    EXPECT_NEAR(velocity(walker, 0), 63, 1e-6);
    walker.m_reversed = true;
    for (int i = 0; i < 400; ++i)
        walker.update(10);
    EXPECT_NEAR(velocity(walker, 0), -63, 1e-6);
}

TEST_F(GameObjectTest, AVanishIsTwentyDrawnFramesAfterWhichTheObjectIsGoneForGood)
{
    globals().m_shadows = 0;
    GameObject& o = addObject(GameObject::TYPE_STAR, GameObject::OBJ_NO_PHYSICS, 0, 0);
    o.startVanish();
    for (int frame = 0; frame < 5; ++frame)
        o.render(nullptr);
    o.startVanish(); // a second start restarts the count
    for (int frame = 0; frame < 19; ++frame)
        o.render(nullptr);
    EXPECT_TRUE(o.m_enabled && o.m_active);
    o.render(nullptr);
    EXPECT_EQ(takeDraws(), 25) << "drawn on every frame, the last one included";
    EXPECT_FALSE(o.m_enabled || o.m_active);
    o.setActive(true);
    o.update(20);
    o.render(nullptr);
    EXPECT_FALSE(o.m_active);
    EXPECT_EQ(takeDraws(), 0);
}

// The transform's row-order floats: the translation at indices 3, 7 and 11,
// the rotation handed to the physics shape's double matrix element by element.
TEST_F(GameObjectTest, APoseIsTakenInRowOrderAndReachesTheGeomElementByElement)
{
    const render::Transform t = turnedAndMoved(30, 7, 8, 9);
    for (const int flags : {int(GameObject::OBJ_NO_PHYSICS), kTile}) {
        SCOPED_TRACE(flags);
        GameObject& o = addObject(GameObject::TYPE_BLOCK, flags, 0, 0);
        o.setTransform(t);
        const render::Transform back = o.getTransform();
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(elementOf(back, i), elementOf(t, i), 1e-6f) << i;
        if (o.m_geom != nullptr) {
            const dReal* p = dGeomGetPosition(o.m_geom);
            EXPECT_EQ(p[0] * 100 + p[1] * 10 + p[2], 789);
            const dReal* r = dGeomGetRotation(o.m_geom);
            for (const int i : {0, 1, 2, 4, 5, 6, 8, 9, 10})
                EXPECT_NEAR(r[i], elementOf(t, i), 1e-7) << i;
        }
        // A rotation is stored without the translation it came with.
        slmath::mat4 rotation(1.0f);
        t.getMatrix(rotation);
        o.setRotation(rotation);
        for (const int i : {3, 7, 11})
            EXPECT_EQ(elementOf(render::Transform(o.getRotation()), i), 0.0f) << i;
        EXPECT_EQ(o.getPosition().x, 7.0f);
    }
}

TEST_F(GameObjectTest, ASpinTurnsThePoseFrameByFrameAndKeepsTheTranslation)
{
    globals().m_shadows = 0;
    GameObject& o = addObject(GameObject::TYPE_SPINNING_BAR, kTile | GameObject::OBJ_SPIN, 50, 60, 64, 16);
    for (int frame = 0; frame < 45; ++frame)
        o.render(nullptr);
    // -90 degrees: x turns to -y.
    EXPECT_NEAR(dGeomGetRotation(o.m_geom)[0], 0, 1e-4);
    EXPECT_NEAR(dGeomGetRotation(o.m_geom)[4], -1, 1e-4);
    const render::Transform drawn = recorder().m_drawn.back().transform;
    EXPECT_EQ(elementOf(drawn, 3) * 1000 + elementOf(drawn, 7), 50060.0f);

    // A given transform draws there and leaves the pose alone.
    o.render(&static_cast<const render::Transform&>(turnedAndMoved(0, 5, 6, 0)));
    EXPECT_EQ(elementOf(recorder().m_drawn.back().transform, 3), 5.0f);
    EXPECT_NEAR(dGeomGetRotation(o.m_geom)[4], -1, 1e-4);
}

TEST_F(GameObjectTest, TheShadowFallsByTheOffsetBehindThePicture)
{
    GameObject& o = addObject(GameObject::TYPE_BLOCK, kTile, 40, 50);
    o.render(nullptr);
    ASSERT_EQ(recorder().m_drawn.size(), 2u);
    const render::Transform& shadow = recorder().m_drawn[0].transform;
    const render::Transform& picture = recorder().m_drawn[1].transform;
    EXPECT_EQ(elementOf(shadow, 3) * 1000 + elementOf(shadow, 7), 50000 + 40);
    EXPECT_EQ(elementOf(shadow, 11), 0.0f);
    EXPECT_EQ(elementOf(picture, 3) * 1000 + elementOf(picture, 7), 40000 + 50);
    EXPECT_EQ(elementOf(picture, 11), 1.0f);
    takeDraws();

    globals().m_shadows = 0;
    o.render(nullptr);
    EXPECT_EQ(takeDraws(), 1);
    o.setActive(false);
    o.render(nullptr);
    addObject(GameObject::TYPE_BLOCK, kTile | GameObject::OBJ_HIDDEN, 0, 0).render(nullptr);
    EXPECT_EQ(takeDraws(), 0);
}

TEST_F(GameObjectTest, ATurningBarTurnsTwoDegreesOnEachUpdateItWasTouched)
{
    GameObject& bar = addObject(GameObject::TYPE_TURNING_BAR, kTile, 0, 0, 192, 16);
    bar.m_touching = 1;
    bar.update(20);
    bar.update(20);
    EXPECT_EQ(bar.m_touching, 0);
    EXPECT_NEAR(dGeomGetRotation(bar.m_geom)[4], std::sin(2 * M_PI / 180), 1e-6) << "turned once, not twice";
}
