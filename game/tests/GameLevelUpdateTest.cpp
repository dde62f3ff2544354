#include "GameTest.h"
#include "LevelImages.h"
#include "TempFolder.h"

#include "GameLevel.h"
#include "GameObject.h"

#include "System.h"

#include <wince/SoundTestApi.h>

#include <ode/ode.h>

#include <string>
#include <vector>

using game::GameObject;

namespace {

constexpr int kTile = GameObject::OBJ_BOX | GameObject::OBJ_STATIC;

class GameLevelUpdateTest : public gametest::GameTest, protected testsupport::TempFolder {
protected:
    // A level of 20 empty rows: the four fixed objects, the camera at
    // (0, 0) on the 240 x 400 screen, the player at (0, 0).
    void SetUp() override
    {
        GameTest::SetUp();
        gametest::writeLevelImage(at("level.png"), gametest::TileRows(20, {0}));
        level().load(core::String(at("level.png").c_str()), "TEST");
        level().reset();
    }
    game::GameLevel& level() { return *globals().m_level; }
    // A tile of the level at (x, y), inactive as loaded tiles start.
    GameObject& addTile(int type, int flags, float x, float y, int width = 32, int height = 32)
    {
        core::Ref<GameObject> o = level().createGameObject(type, 0, 0, flags, width, height);
        globals().m_objects.pushBack(o);
        o->setPosition(x, y, 0.0f);
        return *o;
    }
    // One drawn frame: the two updates of which the second works.
    void frame(int ms = 10)
    {
        level().update(ms);
        level().update(ms);
    }
};

} // namespace

TEST_F(GameLevelUpdateTest, OnlyEverySecondCallWorks)
{
    for (const int expectedClock : {0, 10, 10, 20, 20}) {
        EXPECT_EQ(level().update(10), 1);
        EXPECT_EQ(game::g_levelClock, expectedClock);
    }
}

TEST_F(GameLevelUpdateTest, TilesTakePartOnlyNearTheView)
{
    const struct { const char* what; int type; float x, y; bool active; } cases[] = {
        {"left, inside the margin", GameObject::TYPE_BLOCK, -100, 0, true},
        {"left, beyond the margin", GameObject::TYPE_BLOCK, -140, 0, false},
        {"centre below the bottom", GameObject::TYPE_BLOCK, 0, -33, false},
        {"near the top", GameObject::TYPE_BLOCK, 0, 399, true},
        {"beyond the top", GameObject::TYPE_BLOCK, 0, 400, false},
        {"right, inside the margin", GameObject::TYPE_BLOCK, 335, 0, true},
        {"walker on screen", GameObject::TYPE_WALKER, 10, 50, true},
        {"walker in the top band", GameObject::TYPE_WALKER, 0, 336, false},
    };
    std::vector<GameObject*> tiles;
    for (const auto& c : cases)
        tiles.push_back(&addTile(c.type, c.type == GameObject::TYPE_WALKER ? 0x1050 : kTile, c.x, c.y));
    frame();
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(tiles[i]->m_active, cases[i].active);
    }
    // A walker out of its view turns on every working call.
    GameObject& walker = *tiles.back();
    const bool before = walker.m_reversed;
    frame();
    EXPECT_NE(walker.m_reversed, before);
    frame();
    EXPECT_EQ(walker.m_reversed, before);
}

TEST_F(GameLevelUpdateTest, BelowTheFallLineThePlayerDiesAndTilesDropOut)
{
    // 20 rows: the line lies at (-10 - 20) x 32 = -960.
    GameObject& deep = addTile(GameObject::TYPE_BLOCK, kTile, 0, -970);
    deep.setActive(true);
    GameObject& player = *globals().m_objects[0];
    player.setPosition(0, -959, 0);
    frame();
    EXPECT_TRUE(player.m_active);
    EXPECT_FALSE(deep.m_active);
    player.setPosition(0, -961, 0);
    frame();
    EXPECT_FALSE(player.m_active);
}

TEST_F(GameLevelUpdateTest, StarsAndKeysArePickedUpWithinTwentyUnitsAndTheLastStarIsSilent)
{
    GameObject& near = addTile(GameObject::TYPE_STAR, GameObject::OBJ_NO_PHYSICS, 19.9f, 0);
    GameObject& far = addTile(GameObject::TYPE_STAR, GameObject::OBJ_NO_PHYSICS, 0, 20);
    level().m_starsLeft = level().m_starsTotal = 2;
    frame();
    EXPECT_EQ(near.m_vanishCountdown, 20);
    EXPECT_EQ(far.m_vanishCountdown, 0);
    EXPECT_EQ(level().m_starsLeft, 1);
    EXPECT_NE(wince::test::soundPlaying().find("/media/SCORE.wav"), std::string::npos);
    frame(); // a vanishing star is not counted twice
    EXPECT_EQ(level().m_starsLeft, 1);

    HAL::stopSound();
    far.setPosition(0, 19.5f, 0);
    frame();
    EXPECT_EQ(level().m_starsLeft, 0);
    EXPECT_EQ(wince::test::soundPlaying(), "") << "the completion sound is the run state's";

    GameObject& key = addTile(GameObject::TYPE_KEY, GameObject::OBJ_NO_PHYSICS | GameObject::OBJ_WOBBLE, 5, 5);
    frame();
    EXPECT_EQ(level().m_keys, 1);
    EXPECT_EQ(key.m_vanishCountdown, 20);
    EXPECT_NE(wince::test::soundPlaying().find("/media/SCORE.wav"), std::string::npos);
}

TEST_F(GameLevelUpdateTest, TimedPlatformsShareTheFourSecondCycle)
{
    GameObject& early = addTile(GameObject::TYPE_EARLY_PLATFORM, kTile, 64, 0, 64, 32);
    GameObject& late = addTile(GameObject::TYPE_LATE_PLATFORM, kTile, 160, 0, 64, 32);
    const struct { int clockBefore; int ms; bool early; bool late; int clockAfter; } cases[] = {
        {1990, 10, true, false, 2000},
        {2000, 1, false, true, 2001},
        // The first platform takes the 4000 off, so the second already sees
        // the new cycle's first half and the early one is not back yet.
        {3999, 2, false, false, 1},
        {1, 10, true, false, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clockBefore + c.ms);
        game::g_levelClock = c.clockBefore;
        frame(c.ms);
        EXPECT_EQ(early.m_active, c.early);
        EXPECT_EQ(late.m_active, c.late);
        EXPECT_EQ(game::g_levelClock, c.clockAfter);
    }
}

TEST_F(GameLevelUpdateTest, BeamsSlideAndThePusherAndScrollingBeamAnimate)
{
    GameObject& sliding = addTile(GameObject::TYPE_SLIDING_BEAM, kTile | GameObject::OBJ_LETHAL, 100, -100, 32, 64);
    GameObject& rising = addTile(GameObject::TYPE_RISING_BEAM, kTile | GameObject::OBJ_LETHAL, 5000, 0, 32, 64);
    GameObject& pusher = addTile(GameObject::TYPE_PUSHER, kTile, 64, 64, 32, 8);
    for (int call = 1; call <= 31; ++call)
        frame();
    EXPECT_EQ(sliding.getPosition().x, 162.0f);
    EXPECT_EQ(rising.getPosition().y, 62.0f) << "out of view too";
    frame();
    EXPECT_EQ(sliding.getPosition().x, 100.0f) << "back where it began after 32";
    // 32 working calls: the frame index is 32 mod 3 = 2.
    EXPECT_EQ(pusher.getCrop().y, 97.0f);
    frame();
    EXPECT_EQ(pusher.getCrop().y, 65.0f);
    EXPECT_EQ(pusher.getSize().y, 8.0f);

    GameObject& scrolling = addTile(GameObject::TYPE_SCROLLING_BEAM, kTile, 0, 64);
    // 0.01 x 157 is near a quarter turn: the picture's lowest row.
    game::g_levelClock = 157;
    frame(0);
    EXPECT_EQ(scrolling.getCrop().x * 1000 + scrolling.getCrop().y, 1000 + 257);
    game::g_levelClock = 471 - 1; // near three quarters: its highest
    frame(1);
    EXPECT_EQ(scrolling.getCrop().y, 225.0f);
}

TEST_F(GameLevelUpdateTest, BarriersAreOffForThreeSecondsThenFlickerForThree)
{
    GameObject& barrier = addTile(GameObject::TYPE_BARRIER, 0x1003, 64, 64);
    std::string seen;
    for (int i = 0; i < 6; ++i) {
        frame(1000);
        seen += !barrier.m_active ? '-' : (barrier.m_flags & GameObject::OBJ_TURN_180) != 0 ? 'T' : 'o';
    }
    // On from the fourth second, turned on every second working call.
    EXPECT_EQ(seen, "---ToT");
}

TEST_F(GameLevelUpdateTest, TheLiftPushesThePlayerUpWithinReach)
{
    addTile(GameObject::TYPE_LIFT, GameObject::OBJ_NO_PHYSICS, 0, 10);
    GameObject& player = *globals().m_objects[0];
    player.setActive(true);
    frame();
    // A force of ten times the push for the next solver step; 25 units away
    // nothing more.
    EXPECT_NEAR(dBodyGetForce(player.m_body)[1], 50.0, 1e-9);
    player.setPosition(0, -15, 0);
    frame();
    EXPECT_NEAR(dBodyGetForce(player.m_body)[1], 50.0, 1e-9);
}

TEST_F(GameLevelUpdateTest, EndKeepsOnlyStrictlyBetterTimesAndAlwaysMarksTheRow)
{
    globals().m_levels[0].bestTime = 999000;
    const struct { int time; bool record; int best; } cases[] = {
        {5000, true, 5000}, {5000, false, 5000}, {4999, true, 4999}, {6000, false, 4999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        globals().m_levels[0].completed = false;
        EXPECT_EQ(level().end(c.time), c.record);
        EXPECT_EQ(globals().m_levels[0].bestTime, c.best);
        EXPECT_TRUE(globals().m_levels[0].completed);
    }
    globals().m_level = VORNIC3D_NEW game::GameLevel(13);
    EXPECT_EQ(testsupport::outcomeOf([&] { level().end(1); }), testsupport::bare());
}
