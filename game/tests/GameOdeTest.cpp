#include "GameTest.h"

#include "GameObject.h"
#include "GameOde.h"

#include <ode/ode.h>

#include <algorithm>
#include <cmath>

using game::GameObject;

namespace {

constexpr int kTile = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;

class GameOdeTest : public gametest::GameTest {
protected:
    // The player at (x, y) over a floor of five tiles of `floorType` at y = 0.
    GameObject& ballOverFloor(int floorType, float x, float y)
    {
        globals().m_objects.removeAll();
        GameObject& ball = addObject(GameObject::TYPE_PLAYER, 0x50, x, y);
        for (int i = -2; i <= 2; ++i)
            addObject(floorType, kTile, 32.0f * i, 0);
        return ball;
    }
    // What the run state does each update: the objects, then the physics.
    void play(int ms = 20)
    {
        for (int o = 0; o < globals().m_objects.m_size; ++o)
            globals().m_objects[o]->update(ms);
        globals().m_ode->step(ms);
    }
    // The highest point the player dropped from y = 100 reaches after its
    // first bounce.
    float reboundHeight(int floorType)
    {
        GameObject& ball = ballOverFloor(floorType, 0, 100);
        bool bounced = false;
        float highest = 0.0f;
        for (int i = 0; i < 400; ++i) {
            play();
            const bool rising = dBodyGetLinearVel(ball.m_body)[1] > 0;
            if (bounced && !rising)
                break;
            bounced = bounced || rising;
            if (bounced)
                highest = std::max(highest, ball.getPosition().y);
        }
        return highest;
    }
};

} // namespace

TEST_F(GameOdeTest, ABallDroppedOnStaticBoxesComesToRestAboveThem)
{
    GameObject& ball = ballOverFloor(GameObject::TYPE_BLOCK, 10, 100);
    for (int i = 0; i < 1500; ++i)
        play();
    const slmath::vec3 p = ball.getPosition();
    EXPECT_NEAR(p.y, 32.0f, 1.5f) << "resting on the boxes' tops (16) with its radius (16)";
    EXPECT_LT(std::abs(p.x), 64.0f);
    EXPECT_LT(std::abs(dBodyGetLinearVel(ball.m_body)[1]), 0.5);
}

TEST_F(GameOdeTest, ABouncerThrowsTheBallBackHigherThanAPlainFloor)
{
    EXPECT_LT(reboundHeight(GameObject::TYPE_BLOCK), 100.0f) << "a plain floor takes energy";
    EXPECT_GT(reboundHeight(GameObject::TYPE_BOUNCER), 100.0f) << "a bouncer adds some";
}

TEST_F(GameOdeTest, AStepOfNoTimeAdvancesAsOneMillisecond)
{
    GameObject& ball = addObject(GameObject::TYPE_PLAYER, 0x50, 0, 0);
    globals().m_ode->step(0);
    const dReal afterZero = dBodyGetLinearVel(ball.m_body)[1];
    dBodySetLinearVel(ball.m_body, 0, 0, 0);
    globals().m_ode->step(1);
    EXPECT_EQ(afterZero, dBodyGetLinearVel(ball.m_body)[1]);
    // Two passes of 1/600 s under gravity.
    EXPECT_NEAR(afterZero, -18.639 * 2 / 600, 1e-6);
}

TEST_F(GameOdeTest, TheWorldIsMadeOnceIntoTheGlobalsWithTheGamesConstraintForceMixing)
{
    EXPECT_EQ(testsupport::outcomeOf([] { game::GameOde::createOdeClass(); }), testsupport::bare());
    EXPECT_DOUBLE_EQ(dWorldGetCFM(globals().m_ode->getWorld()), 1e-5);
}
