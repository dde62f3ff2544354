#include "SceneGraphTest.h"

#include "GameCamera.h"
#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"


using game::GameGlobals;

namespace {

class GameGlobalsTest : public testsupport::SceneGraphTest {};

} // namespace

TEST_F(GameGlobalsTest, ExistsOnlyBetweenInitClassAndDeInitClass)
{
    EXPECT_EQ(GameGlobals::getInstance(), nullptr);
    EXPECT_EQ(testsupport::outcomeOf([] { GameGlobals::deInitClass(); }), testsupport::bare());
    GameGlobals::initClass();
    GameGlobals* first = GameGlobals::getInstance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(testsupport::outcomeOf([] { GameGlobals::initClass(); }), testsupport::bare());
    EXPECT_EQ(GameGlobals::getInstance(), first);
    GameGlobals::deInitClass();
    EXPECT_EQ(GameGlobals::getInstance(), nullptr);
    EXPECT_EQ(log(), "GameGlobals constructor\nGameGlobals destructor\n");
}

TEST_F(GameGlobalsTest, FreshGlobalsHoldNothingAndTheDefaults)
{
    GameGlobals::initClass();
    const GameGlobals& g = *GameGlobals::getInstance();
    EXPECT_TRUE(g.m_level == nullptr && g.m_keyboard == nullptr && g.m_mouse == nullptr && g.m_ode == nullptr &&
                g.m_font == nullptr && g.m_font2 == nullptr && g.m_text == nullptr && g.m_camera == nullptr &&
                g.m_background == nullptr && g.m_light == nullptr);
    EXPECT_EQ(g.m_backgrounds.m_size + g.m_sprites.m_size + g.m_objects.m_size, 0);
    EXPECT_EQ(g.m_shadowOffsetX, 10);
    EXPECT_EQ(g.m_shadowOffsetY, -10);
    // The settings file's defaults and the first background, before anything
    // sets them.
    EXPECT_EQ(g.m_quitKey, 114);
    EXPECT_EQ(g.m_shadows, 1);
    EXPECT_EQ(g.m_sounds, 1);
    EXPECT_EQ(g.m_backgroundIndex, 0);
    for (const game::LevelInfo& row : g.m_levels) {
        EXPECT_EQ(row.bestTime, 999000);
        EXPECT_FALSE(row.completed);
    }
    GameGlobals::deInitClass();
}
