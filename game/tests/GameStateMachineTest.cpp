#include "SceneGraphTest.h"

#include "Game.h"
#include "GameGlobals.h"
#include "GameState.h"

#include <string>
#include <utility>

using game::Game;
using game::GameGlobals;

namespace {

// A state that writes what happens to it into the test's journal; "init"
// passes on to "menu" when entered, as the game's own does.
class JournalState : public game::GameState {
public:
    JournalState(Game* game, const char* name, std::string& journal, int result = 1)
        : GameState(game, name), m_journal(journal), m_result(result)
    {
    }
    ~JournalState() override
    {
        m_journal += std::string(m_name.c_str()) + " destroyed" +
                     (GameGlobals::getInstance() != nullptr ? " with globals; " : " after globals; ");
    }

protected:
    int update(int ms) override
    {
        write("update " + std::to_string(ms) + " at " + std::to_string(m_stateTime));
        return m_result;
    }
    void init() override
    {
        write("init");
        if (m_name.compareTo("init") == 0)
            changeState("menu");
    }
    void deinit() override { write("deinit"); }
    void render(render::Graphics3D*) override { write("render"); }

private:
    void write(const std::string& what) { m_journal += std::string(m_name.c_str()) + " " + what + "; "; }

    std::string& m_journal;
    int m_result;
};

class GameStateMachineTest : public testsupport::SceneGraphTest {
protected:
    // The machine with the game's four state names, the menu's update
    // returning `menuResult`.
    core::Ref<Game> makeGame(int menuResult = 1)
    {
        return VORNIC3D_NEW Game([&](Game& g) {
            for (const char* name : {"unknown", "init", "menu", "run"})
                g.addNewState(
                    VORNIC3D_NEW JournalState(&g, name, m_journal, std::string(name) == "menu" ? menuResult : 1));
        });
    }
    std::string takeJournal() { return std::exchange(m_journal, ""); }

    std::string m_journal;
};

} // namespace

TEST_F(GameStateMachineTest, CallsGoToTheCurrentStateASwitchByNameLeavesAndEntersAtOnceAndItGoesLast)
{
    core::Ref<Game> game = makeGame(0);
    EXPECT_EQ(takeJournal(), "init init; init deinit; menu init; ") << "init passes on inside the same switch";
    EXPECT_EQ(testsupport::outcomeOf([] { GameGlobals::initClass(); }), testsupport::bare()) << "one set of globals";
    // 0 ms count as 1; the state's result comes back.
    EXPECT_EQ(game->update(0), 0);
    EXPECT_EQ(game->update(7), 0);
    // Names match whole and by case; a switch to an unknown one warns, fails
    // and leaves the current state alone.
    for (const char* name : {"MENU", "Run", "men", "menu ", "", "nowhere"}) {
        clearLog();
        EXPECT_EQ(testsupport::outcomeOf([&] { game->changeState(name); }), testsupport::bare()) << name;
        EXPECT_TRUE(log().rfind("WARNING |") == 0 && log().find("| can not change a state") != std::string::npos)
            << name << ": " << log();
    }
    game->render(&renderer());
    game->changeState("menu");
    game->update(3);
    game->changeState("run");
    EXPECT_EQ(takeJournal(), "menu update 1 at 1; menu update 7 at 8; menu render; "
                             "menu deinit; menu init; menu update 3 at 3; menu deinit; run init; ");

    // The current state is left and goes last, after the globals.
    clearLog();
    game = nullptr;
    EXPECT_EQ(takeJournal(), "run deinit; menu destroyed with globals; init destroyed with globals; "
                             "unknown destroyed with globals; run destroyed after globals; ");
    EXPECT_EQ(log(), "GameGlobals destructor\n");
    EXPECT_EQ(GameGlobals::getInstance(), nullptr);
}

TEST_F(GameStateMachineTest, AFailedConstructionLeavesNoGlobalsAndNoStates)
{
    const Game::StateRegistration withoutInit = [&](Game& g) {
        g.addNewState(VORNIC3D_NEW JournalState(&g, "menu", m_journal));
    };
    const Game::StateRegistration failing = [&](Game& g) {
        g.addNewState(VORNIC3D_NEW JournalState(&g, "init", m_journal));
        g.addNewState(nullptr);
    };
    for (const Game::StateRegistration* registration : {&withoutInit, &failing}) {
        EXPECT_EQ(testsupport::outcomeOf([&] { core::Ref<Game> game = VORNIC3D_NEW Game(*registration); }),
                  testsupport::bare());
        EXPECT_EQ(GameGlobals::getInstance(), nullptr);
    }
    EXPECT_EQ(takeJournal(), "menu destroyed with globals; init destroyed with globals; ");
}
