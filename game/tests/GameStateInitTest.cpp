#include "WholeGameTest.h"

#include "GameLevel.h"

#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Material.h"
#include "render/Text2D.h"

#include <string>
#include <vector>

namespace {

// The set-up as the game runs it (WholeGameTest).
class GameStateInitTest : public gametest::WholeGameTest {
protected:
    // The best times as "row:time " for the rows other than `locked`.
    std::string bestTimes(int locked)
    {
        std::string times;
        for (std::size_t row = 0; row < globals().m_levels.size(); ++row)
            if (globals().m_levels[row].bestTime != locked)
                times += std::to_string(row) + ":" + std::to_string(globals().m_levels[row].bestTime) + " ";
        return times;
    }
};

} // namespace

TEST_F(GameStateInitTest, DefaultsWithoutFilesAndBestTimesThatSurviveARestart)
{
    m_game = VORNIC3D_NEW game::Game();
    EXPECT_EQ(bestTimes(game::LevelInfo::kLocked), "0:998001 ") << "only the first level is open";
    const render::Background& backdrop = *globals().m_background;
    EXPECT_EQ(std::vector<int>({backdrop.getCropY(), backdrop.getCropWidth(), backdrop.getCropHeight()}),
              std::vector<int>({512 - 400, 240, 400}))
        << "the bottom of the 256 x 512 backdrop";

    // The held stylus ended the intro after its first frame; the intro's
    // text node (and the texts' shared appearance) are as before it.
    std::string texts;
    for (const auto& drawn : recorder().m_drawn)
        texts += drawn.text;
    EXPECT_EQ(texts, "DORVANEL");
    render::Text2D& text = *globals().m_text;
    EXPECT_EQ(text.getSizeX() * 100 + text.getSizeY(), 1032);
    EXPECT_EQ(text.getAppearance()->getMaterial()->getColor(render::Material::DIFFUSE), 0xFFFFFFFFu);

    // The practice level finished in 5 s opens the next; both reach the file.
    globals().m_level->end(5000);
    m_game->changeState("menu");
    m_game = nullptr;
    m_game = VORNIC3D_NEW game::Game();
    EXPECT_EQ(bestTimes(game::LevelInfo::kLocked), "0:5000 1:998001 ");
}

// A best-time file that is there but can not be read (here a link that leads
// nowhere but to itself) is never saved over at the exit: the player's
// records and unlocked levels outlive a start that could not read them.
TEST_F(GameStateInitTest, ABestTimeFileThatCanNotBeReadOutlivesTheExit)
{
    std::filesystem::create_symlink("hiscore.bin", fileOf("hiscore.bin"));
    m_game = VORNIC3D_NEW game::Game();
    EXPECT_EQ(bestTimes(game::LevelInfo::kLocked), "0:998001 ");
    globals().m_level->end(5000);
    m_game->changeState("menu");
    m_game = nullptr;
    EXPECT_TRUE(std::filesystem::is_symlink(fileOf("hiscore.bin")));
    EXPECT_FALSE(std::filesystem::exists(fileOf("hiscore.bin.tmp")));
    EXPECT_NE(log().find("BestTimeFile: can not read "), std::string::npos);
    EXPECT_NE(log().find("GameStateInit: the best times are not saved"), std::string::npos);
}
