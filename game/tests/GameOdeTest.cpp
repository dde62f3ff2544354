#include "GameTest.h"

#include "GameObject.h"
#include "GameOde.h"

#include <ode/ode.h>

#include <algorithm>

using game::GameObject;

namespace {

constexpr int kTile = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;

class GameOdeTest : public gametest::GameTest {
protected:
    // What the run state does each update: the objects, then the physics.
    void play(int updates, int ms = 20)
    {
        for (int i = 0; i < updates; ++i) {
            for (int o = 0; o < globals().m_objects.m_size; ++o)
                globals().m_objects[o]->update(ms);
            globals().m_ode->step(ms);
        }
    }
    // Drops the player from y = 100 onto a floor of five tiles of `floorType`
    // at y = 0 and gives the highest point it reaches after the first bounce.
    float reboundHeight(int floorType)
    {
        globals().m_objects.removeAll();
        GameObject& ball = addObject(GameObject::TYPE_PLAYER, 0x50, 0, 100);
        for (int x = -2; x <= 2; ++x)
            addObject(floorType, kTile, 32.0f * x, 0);
        bool bounced = false;
        float highest = 0.0f;
        for (int i = 0; i < 400; ++i) {
            play(1);
            const dReal vy = dBodyGetLinearVel(ball.m_body)[1];
            if (vy > 0)
                bounced = true;
            else if (bounced)
                break;
            if (bounced)
                highest = std::max(highest, ball.getPosition().y);
        }
        return highest;
    }
};

} // namespace

TEST_F(GameOdeTest, ABallDroppedOnStaticBoxesComesToRestAboveThem)
{
    GameObject& ball = addObject(GameObject::TYPE_PLAYER, 0x50, 10, 100);
    for (int x = -2; x <= 2; ++x)
        addObject(GameObject::TYPE_BLOCK, kTile, 32.0f * x, 0);
    play(1500);
    const slmath::vec3 p = ball.getPosition();
    EXPECT_NEAR(p.y, 32.0f, 1.5f) << "resting on the boxes' tops (16) with its radius (16)";
    EXPECT_GT(p.x, -64.0f);
    EXPECT_LT(p.x, 64.0f);
    EXPECT_LT(std::abs(dBodyGetLinearVel(ball.m_body)[1]), 0.5);
}

TEST_F(GameOdeTest, ABouncerThrowsTheBallBackHigherThanAPlainFloor)
{
    const float plain = reboundHeight(GameObject::TYPE_BLOCK);
    const float bouncer = reboundHeight(GameObject::TYPE_BOUNCER);
    EXPECT_LT(plain, 100.0f) << "a plain floor takes energy";
    EXPECT_GT(bouncer, 100.0f) << "a bouncer adds some";
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

TEST_F(GameOdeTest, TheWorldIsMadeOnceIntoTheGlobals)
{
    EXPECT_EQ(testsupport::outcomeOf([] { game::GameOde::createOdeClass(); }), testsupport::bare());
    EXPECT_DOUBLE_EQ(dWorldGetCFM(globals().m_ode->getWorld()), 1e-5);
}
