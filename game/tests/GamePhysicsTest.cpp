#include "GameTest.h"

#include "ContactRules.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"

#include <ode/ode.h>

#include <algorithm>
#include <cmath>

using game::GameObject;

namespace {

constexpr int kTile = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;

class GamePhysicsTest : public gametest::GameTest {
protected:
    static dReal velocity(const GameObject& o, int axis) { return dBodyGetLinearVel(o.m_body)[axis]; }
    GameObject& object(int index) { return *globals().m_objects[index]; }
    // The player first, at (x, y).
    GameObject& addPlayer(float x = 0.0f, float y = 0.0f) { return addObject(GameObject::TYPE_PLAYER, 0x50, x, y); }
    // One call of the contact callback for the pair, in this order.
    void collide(GameObject& a, GameObject& b) { game::nearCallback(globals().m_ode.get(), a.m_geom, b.m_geom); }

    // The player at (x, y) over a floor of five tiles of `floorType` at y = 0.
    GameObject& ballOverFloor(int floorType, float x, float y)
    {
        globals().m_objects.removeAll();
        GameObject& ball = addPlayer(x, y);
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
        int step = 0;
        for (; step < 400 && velocity(ball, 1) <= 0; ++step)
            play();
        float highest = 0.0f;
        for (; step < 400 && velocity(ball, 1) > 0; ++step) {
            highest = std::max(highest, ball.getPosition().y);
            play();
        }
        return highest;
    }
};
using GameOdeTest = GamePhysicsTest;
using ContactRulesTest = GamePhysicsTest;

} // namespace

// ---- the world ----------------------------------------------------------------------

TEST_F(GameOdeTest, ABallDroppedOnStaticBoxesComesToRestAboveThem)
{
    GameObject& ball = ballOverFloor(GameObject::TYPE_BLOCK, 10, 100);
    for (int i = 0; i < 1500; ++i)
        play();
    const slmath::vec3 p = ball.getPosition();
    EXPECT_NEAR(p.y, 32.0f, 1.5f) << "resting on the boxes' tops (16) with its radius (16)";
    EXPECT_LT(std::abs(p.x), 64.0f);
    EXPECT_LT(std::abs(velocity(ball, 1)), 0.5);
}

TEST_F(GameOdeTest, ABouncerThrowsTheBallBackHigherThanAPlainFloor)
{
    EXPECT_LT(reboundHeight(GameObject::TYPE_BLOCK), 100.0f) << "a plain floor takes energy";
    EXPECT_GT(reboundHeight(GameObject::TYPE_BOUNCER), 100.0f) << "a bouncer adds some";
}

TEST_F(GameOdeTest, AStepOfNoTimeAdvancesAsOneMillisecond)
{
    GameObject& ball = addPlayer();
    globals().m_ode->step(0);
    const dReal afterZero = velocity(ball, 1);
    dBodySetLinearVel(ball.m_body, 0, 0, 0);
    globals().m_ode->step(1);
    EXPECT_EQ(afterZero, velocity(ball, 1));
    // Two passes of 1/600 s under gravity.
    EXPECT_NEAR(afterZero, -18.639 * 2 / 600, 1e-6);
}

TEST_F(GameOdeTest, TheWorldIsMadeOnceIntoTheGlobalsWithTheGamesConstraintForceMixing)
{
    EXPECT_EQ(testsupport::outcomeOf([] { game::GameOde::createOdeClass(); }), testsupport::bare());
    EXPECT_DOUBLE_EQ(dWorldGetCFM(globals().m_ode->getWorld()), 1e-5);
}

// ---- the contact rules --------------------------------------------------------------

// The rules that need no contact: fresh objects apart from each other, the
// player moving at (50, 20), one call for the pair in the row's order.
TEST_F(ContactRulesTest, PairRulesDependOnWhoMeetsWhomAndInWhichOrder)
{
    enum { kPlayer, kLethal, kTileAt200, kPusher, kBrake, kWalker, kOtherWalker };
    const struct { const char* pair; int first, second; bool playerAlive; dReal vx, vy; int walkersTurned; } cases[] = {
        {"player, lethal", kPlayer, kLethal, false, 50, 20, 0},
        {"lethal, player", kLethal, kPlayer, false, 50, 20, 0},
        {"lethal, tile", kLethal, kTileAt200, true, 50, 20, 0},
        {"pusher, player", kPusher, kPlayer, true, 50 - 10, 20, 0},
        {"player, pusher", kPlayer, kPusher, true, 50, 20, 0},
        {"player, brake", kPlayer, kBrake, true, 40, 16, 0},
        {"brake, player", kBrake, kPlayer, true, 50, 20, 0},
        {"walker, tile", kWalker, kTileAt200, true, 50, 20, 1},
        {"tile, walker", kTileAt200, kWalker, true, 50, 20, 1},
        {"walker, walker", kWalker, kOtherWalker, true, 50, 20, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pair);
        globals().m_objects.removeAll();
        addPlayer();
        addObject(GameObject::TYPE_BLOCK, kTile | GameObject::OBJ_LETHAL, 100, 0);
        addObject(GameObject::TYPE_BLOCK, kTile, 200, 0);
        addObject(GameObject::TYPE_PUSHER, kTile, 300, 0);
        addObject(GameObject::TYPE_BRAKE, kTile, 400, 0);
        addObject(GameObject::TYPE_WALKER, 0x1050, 500, 0);
        addObject(GameObject::TYPE_WALKER, 0x1050, 600, 0);
        dBodySetLinearVel(player().m_body, 50, 20, 0);
        collide(object(c.first), object(c.second));
        EXPECT_EQ(player().m_active, c.playerAlive);
        EXPECT_TRUE(object(kTileAt200).m_active);
        EXPECT_NEAR(velocity(player(), 0), c.vx, 1e-9);
        EXPECT_NEAR(velocity(player(), 1), c.vy, 1e-9);
        EXPECT_EQ(object(kWalker).m_reversed + object(kOtherWalker).m_reversed, c.walkersTurned);
    }
}

TEST_F(ContactRulesTest, DoorTakesAKeyOnEveryCallWhileItVanishesAndOpensOnlyOnce)
{
    const struct { int keys; int keysAfterFirst; int keysAfterSecond; int countdownAfterSecond; } cases[] = {
        {0, 0, 0, 0},
        {1, 0, 0, 19},
        {2, 1, 0, 19},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        globals().m_objects.removeAll();
        GameObject& p = addPlayer();
        GameObject& door = addObject(GameObject::TYPE_DOOR, kTile, 0, 100, 32, 64);
        globals().m_level->m_keys = c.keys;
        collide(p, door);
        EXPECT_EQ(globals().m_level->m_keys, c.keysAfterFirst);
        EXPECT_EQ(door.m_vanishCountdown, c.keys > 0 ? 20 : 0);
        door.render(nullptr); // one frame of the shrink
        collide(door, p);
        EXPECT_EQ(globals().m_level->m_keys, c.keysAfterSecond);
        EXPECT_EQ(door.m_vanishCountdown, c.countdownAfterSecond) << "a vanishing door is not restarted";
    }
}

TEST_F(ContactRulesTest, CrackedBlockVanishesOnlyOnceTheCooldownHasRunOut)
{
    GameObject& p = addPlayer();
    GameObject& block = addObject(GameObject::TYPE_CRACKABLE, kTile, 0, -32);
    collide(block, p);
    EXPECT_EQ(block.m_type, GameObject::TYPE_CRACKED);
    EXPECT_EQ(block.getCrop().x, 449.0f);
    EXPECT_EQ(block.getCrop().y, 1.0f);
    EXPECT_EQ(block.m_vanishCountdown, 0) << "not in the call that cracks it";
    EXPECT_EQ(game::g_vanishCooldown, 119);
    for (int call = 2; call <= 120; ++call)
        collide(p, block);
    EXPECT_EQ(block.m_vanishCountdown, 0);
    EXPECT_EQ(game::g_vanishCooldown, 0);
    collide(p, block);
    EXPECT_EQ(block.m_vanishCountdown, 20);

    // A block that is cracked from the start vanishes at the first touch.
    GameObject& cracked = addObject(GameObject::TYPE_CRACKED, kTile, 64, -32);
    collide(cracked, p);
    EXPECT_EQ(cracked.m_vanishCountdown, 20);
}

TEST_F(ContactRulesTest, AJumpNeedsAContactAndThePlayerSomethingBelowItsCentre)
{
    const struct { const char* what; bool player; float y; bool jumperFirst; bool jumps; } cases[] = {
        {"player above, first", true, 30, true, true},
        {"player above, second", true, 30, false, true},
        {"player below, first", true, -30, true, false},
        {"player below, second", true, -30, false, false},
        {"other object below, second", false, -20, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        globals().m_objects.removeAll();
        GameObject& p = addPlayer(0, c.player ? c.y : 500);
        GameObject& jumper = c.player ? p : addObject(GameObject::TYPE_BLOCK, 0, 0, c.y);
        GameObject& tile = addObject(GameObject::TYPE_BLOCK, kTile, 0, 0);
        jumper.m_jumpRequest = true;
        dBodySetLinearVel(jumper.m_body, 0, -23.7, 0);
        c.jumperFirst ? collide(jumper, tile) : collide(tile, jumper);
        EXPECT_EQ(jumper.m_touching + tile.m_touching, 2);
        EXPECT_EQ(jumper.m_jumpRequest, !c.jumps);
        EXPECT_NEAR(velocity(jumper, 1), c.jumps ? 33.0 : -23.7, 1e-9);
    }
    // Apart, nothing touches and nothing jumps.
    GameObject& far = addObject(GameObject::TYPE_BLOCK, kTile, 1000, 0);
    player().m_jumpRequest = true;
    collide(player(), far);
    EXPECT_EQ(player().m_touching + far.m_touching, 0);
    EXPECT_TRUE(player().m_jumpRequest);
}

TEST_F(ContactRulesTest, AGeomTheLevelDoesNotKnowIsTheBareAssertion)
{
    GameObject& p = addPlayer();
    const dGeomID stranger = dCreateSphere(globals().m_ode->getSpace(), 5);
    EXPECT_EQ(testsupport::outcomeOf([&] { game::nearCallback(globals().m_ode.get(), p.m_geom, stranger); }),
              testsupport::bare());
    EXPECT_EQ(testsupport::outcomeOf([&] { game::nearCallback(nullptr, p.m_geom, p.m_geom); }), testsupport::bare());
    dGeomDestroy(stranger);
}
