#include "GameTest.h"

#include "ContactRules.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"

#include <ode/ode.h>

using game::GameObject;

namespace {

constexpr int kTile = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;
constexpr int kPlayerFlags = 0x50;

class ContactRulesTest : public gametest::GameTest {
protected:
    // The player first, at (x, y).
    GameObject& addPlayer(float x = 0.0f, float y = 0.0f)
    {
        return addObject(GameObject::TYPE_PLAYER, kPlayerFlags, x, y);
    }
    // One call of the callback for the pair, in this order.
    void collide(GameObject& a, GameObject& b) { game::nearCallback(globals().m_ode.get(), a.m_geom, b.m_geom); }
    game::GameLevel& level() { return *globals().m_level; }

    static void setVelocity(GameObject& o, dReal x, dReal y) { dBodySetLinearVel(o.m_body, x, y, 0); }
    static dReal velocity(const GameObject& o, int axis) { return dBodyGetLinearVel(o.m_body)[axis]; }
};

} // namespace

TEST_F(ContactRulesTest, LethalObjectsKillOnlyThePlayerWhicheverComesFirst)
{
    const struct { const char* pair; int first; int second; bool playerAlive; } cases[] = {
        {"player, lethal", 0, 1, false},
        {"lethal, player", 1, 0, false},
        {"lethal, tile", 1, 2, true},
        {"player, tile", 0, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pair);
        globals().m_objects.removeAll();
        addPlayer();
        addObject(GameObject::TYPE_BLOCK, kTile | GameObject::OBJ_LETHAL, 100, 0);
        addObject(GameObject::TYPE_BLOCK, kTile, 200, 0);
        collide(*globals().m_objects[c.first], *globals().m_objects[c.second]);
        EXPECT_EQ(player().m_active, c.playerAlive);
        EXPECT_TRUE(globals().m_objects[2]->m_active);
    }
}

TEST_F(ContactRulesTest, DoorTakesAKeyOnEveryCallWhileItVanishesAndOpensOnlyOnce)
{
    const struct { int keys; int keysAfterFirst; int keysAfterSecond; int countdownAfterSecond; } cases[] = {
        {0, 0, 0, 0},
        {1, 0, 0, 19},
        {2, 1, 0, 19},
        {3, 2, 1, 19},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        globals().m_objects.removeAll();
        GameObject& p = addPlayer();
        GameObject& door = addObject(GameObject::TYPE_DOOR, kTile, 0, 100, 32, 64);
        level().m_keys = c.keys;
        collide(p, door);
        EXPECT_EQ(level().m_keys, c.keysAfterFirst);
        EXPECT_EQ(door.m_vanishCountdown, c.keys > 0 ? 20 : 0);
        door.render(nullptr); // one frame of the shrink
        collide(door, p);
        EXPECT_EQ(level().m_keys, c.keysAfterSecond);
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

TEST_F(ContactRulesTest, WalkersTurnOnEveryCallWhatEverTheyMeet)
{
    addPlayer(0, 500);
    GameObject& walker = addObject(GameObject::TYPE_WALKER, 0x1050, 0, 0);
    GameObject& other = addObject(GameObject::TYPE_WALKER, 0x1050, 100, 0);
    GameObject& floor = addObject(GameObject::TYPE_BLOCK, kTile, 0, -32);
    collide(walker, floor);
    EXPECT_TRUE(walker.m_reversed);
    collide(floor, walker);
    EXPECT_FALSE(walker.m_reversed);
    collide(walker, other);
    EXPECT_TRUE(walker.m_reversed && other.m_reversed);
}

TEST_F(ContactRulesTest, PushersPushWhatTheyAreReportedWithAndTheBrakeSlowsOnlyAPlayerReportedFirst)
{
    GameObject& p = addPlayer();
    GameObject& pusher = addObject(GameObject::TYPE_PUSHER, kTile, 300, 0);
    GameObject& brake = addObject(GameObject::TYPE_BRAKE, kTile, 600, 0);
    const struct { const char* pair; GameObject* first; GameObject* second; dReal vx; dReal vy; } cases[] = {
        {"pusher, player", &pusher, &p, 50 - 10, 20},
        {"player, pusher", &p, &pusher, 50, 20},
        {"player, brake", &p, &brake, 40, 16},
        {"brake, player", &brake, &p, 50, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pair);
        setVelocity(p, 50, 20);
        collide(*c.first, *c.second);
        EXPECT_NEAR(velocity(p, 0), c.vx, 1e-9);
        EXPECT_NEAR(velocity(p, 1), c.vy, 1e-9);
    }
}

TEST_F(ContactRulesTest, PlayerJumpsOnlyOffSomethingBelowItsCentre)
{
    const struct { const char* pair; float playerY; bool playerFirst; bool jumps; } cases[] = {
        {"above, player first", 30, true, true},
        {"above, player second", 30, false, true},
        {"below, player first", -30, true, false},
        {"below, player second", -30, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pair);
        globals().m_objects.removeAll();
        GameObject& p = addPlayer(0, c.playerY);
        GameObject& tile = addObject(GameObject::TYPE_BLOCK, kTile, 0, 0);
        p.m_jumpRequest = true;
        setVelocity(p, 0, -23.7);
        if (c.playerFirst)
            collide(p, tile);
        else
            collide(tile, p);
        EXPECT_EQ(p.m_touching, 1);
        EXPECT_EQ(tile.m_touching, 1);
        EXPECT_EQ(p.m_jumpRequest, !c.jumps);
        EXPECT_NEAR(velocity(p, 1), c.jumps ? 33.0 : -23.7, 1e-9);
    }
}

TEST_F(ContactRulesTest, OtherObjectsJumpOnAnyContactAndApartNothingTouches)
{
    addPlayer(0, 500);
    GameObject& a = addObject(GameObject::TYPE_BLOCK, 0, 0, 0);
    GameObject& b = addObject(GameObject::TYPE_BLOCK, kTile, 0, -20);
    a.m_jumpRequest = true;
    collide(b, a);
    EXPECT_FALSE(a.m_jumpRequest);
    EXPECT_NEAR(velocity(a, 1), 10.0, 1e-9);

    GameObject& far = addObject(GameObject::TYPE_BLOCK, kTile, 1000, 0);
    a.m_touching = 0;
    a.m_jumpRequest = true;
    collide(a, far);
    EXPECT_EQ(a.m_touching + far.m_touching, 0);
    EXPECT_TRUE(a.m_jumpRequest);
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
