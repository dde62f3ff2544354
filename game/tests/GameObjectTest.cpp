#include "GameTest.h"

#include "ContactRules.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "ProgramGlobals.h"

#include <ode/ode.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

using game::GameObject;
using gametest::elementOf;

namespace {

constexpr int kTile = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;
// As the level makes the player and the walkers.
constexpr int kPlayerFlags = GameObject::OBJ_PULSE | GameObject::OBJ_CREATURE;
constexpr int kWalkerFlags = GameObject::OBJ_LETHAL | kPlayerFlags;

class GameObjectTest : public gametest::GameTest {
protected:
    static dReal velocity(const GameObject& o, int axis) { return dBodyGetLinearVel(o.m_body)[axis]; }
    // The sprite draws recorded since the last call.
    int takeDraws() { return static_cast<int>(std::exchange(recorder().m_drawn, {}).size()); }
    GameObject& object(int index) { return *globals().m_objects[index]; }
    // The player first, at (x, y).
    GameObject& addPlayer(float x = 0.0f, float y = 0.0f)
    {
        return addObject(GameObject::TYPE_PLAYER, kPlayerFlags, x, y);
    }
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
using GameOdeTest = GameObjectTest;
using ContactRulesTest = GameObjectTest;

render::Transform turnedAndMoved(float degrees, float x, float y, float z)
{
    render::Transform t;
    t.postTranslate(x, y, z);
    t.postRotate(degrees, 0, 0, 1);
    return t;
}

} // namespace

// ---- objects ------------------------------------------------------------------------

TEST_F(GameObjectTest, ActivationSwitchesBodyAndGeomExceptWhereTheFlagsSayOtherwise)
{
    const struct {
        const char* what;
        int flags;
        bool hasBody;
        bool geomFollows;
    } cases[] = {
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
    const struct {
        const char* what;
        bool active;
        slmath::vec3 push;
        bool jump;
        dReal vx, vy;
    } cases[] = {
        {"sideways", true, {5, 0, 0}, false, 6, -23.7},
        {"jump from a fall", true, {0, 10, 0}, true, 1, 33},
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
    const struct {
        dReal vx, vy, vz;
        dReal expectX, expectY;
    } cases[] = {
        {10, 50, 7, 9, 50},
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
    GameObject& walker = addObject(GameObject::TYPE_WALKER, kWalkerFlags, 0, 0);
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
    GameObject& o = addObject(GameObject::TYPE_BLOCK, kTile, 0, 0);
    o.setTransform(t);
    const render::Transform back = o.getTransform();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(elementOf(back, i), elementOf(t, i), 1e-6f) << i;
    const dReal* p = dGeomGetPosition(o.m_geom);
    EXPECT_EQ(p[0] * 100 + p[1] * 10 + p[2], 789);
    const dReal* r = dGeomGetRotation(o.m_geom);
    for (const int i : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        EXPECT_NEAR(r[i], elementOf(t, i), 1e-7) << i;
    // A rotation is stored without the translation it came with.
    slmath::mat4 rotation(1.0f);
    t.getMatrix(rotation);
    o.setRotation(rotation);
    for (const int i : {3, 7, 11})
        EXPECT_EQ(elementOf(render::Transform(o.getRotation()), i), 0.0f) << i;
    EXPECT_EQ(o.getPosition().x, 7.0f);
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

// ---- the world ----------------------------------------------------------------------

TEST_F(GameOdeTest, ABouncerThrowsTheBallBackHigherThanAPlainFloorOnWhichItComesToRest)
{
    EXPECT_GT(reboundHeight(GameObject::TYPE_BOUNCER), 100.0f) << "a bouncer adds some";
    EXPECT_LT(reboundHeight(GameObject::TYPE_BLOCK), 100.0f) << "a plain floor takes energy";
    GameObject& ball = player();
    for (int i = 0; i < 1500; ++i)
        play();
    EXPECT_NEAR(ball.getPosition().y, 32.0f, 1.5f) << "resting on the boxes' tops (16) with its radius (16)";
    EXPECT_LT(std::abs(velocity(ball, 1)), 0.5);
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
    const struct {
        const char* pair;
        int first, second;
        bool playerAlive;
        dReal vx, vy;
        int walkersTurned;
    } cases[] = {
        {"player, lethal", kPlayer, kLethal, false, 50, 20, 0},
        {"lethal, player", kLethal, kPlayer, false, 50, 20, 0},
        {"lethal, tile", kLethal, kTileAt200, true, 50, 20, 0},
        {"pusher, player", kPusher, kPlayer, true, 50 - 10, 20, 0},
        {"player, pusher", kPlayer, kPusher, true, 50 - 10, 20, 0},
        {"player, brake", kPlayer, kBrake, true, 40, 16, 0},
        {"brake, player", kBrake, kPlayer, true, 50, 20, 0},
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
        addObject(GameObject::TYPE_WALKER, kWalkerFlags, 500, 0);
        addObject(GameObject::TYPE_WALKER, kWalkerFlags, 600, 0);
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
    const struct {
        int keys;
        int keysAfterFirst;
        int keysAfterSecond;
        int countdownAfterSecond;
    } cases[] = {
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
}

TEST_F(ContactRulesTest, AJumpNeedsAContactAndThePlayerSomethingBelowItsCentre)
{
    const struct {
        const char* what;
        bool player;
        float y;
        bool jumperFirst;
        bool jumps;
    } cases[] = {
        {"player above, first", true, 30, true, true},           {"player above, second", true, 30, false, true},
        {"player below, first", true, -30, true, false},         {"player below, second", true, -30, false, false},
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

// The level maps geoms back to objects by the whole handle; a geom it does
// not know is refused.
TEST_F(ContactRulesTest, GeomsAreTakenApartByTheirWholeHandleAndAStrangerIsTheBareAssertion)
{
    GameObject& p = addPlayer();
    GameObject& tile = addObject(GameObject::TYPE_BLOCK, kTile, 100, 0);
    // Two handles alike in their low 32 bits; the map never follows them.
    const auto handle = [](std::uintptr_t bits) { return reinterpret_cast<dGeomID>(bits); };
    globals().m_level->mapGeom(handle(0x100000040u), &p);
    globals().m_level->mapGeom(handle(0x200000040u), &tile);
    EXPECT_EQ(globals().m_level->findObject(handle(0x100000040u)), &p);

    const dGeomID stranger = dCreateSphere(globals().m_ode->getSpace(), 5);
    EXPECT_EQ(testsupport::outcomeOf([&] { game::nearCallback(globals().m_ode.get(), p.m_geom, stranger); }),
              testsupport::bare());
    EXPECT_EQ(testsupport::outcomeOf([&] { game::nearCallback(nullptr, p.m_geom, p.m_geom); }), testsupport::bare());
    dGeomDestroy(stranger);
}
