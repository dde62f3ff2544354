// The game's loads and state changes under every single allocation failure
// (sweepAllocationFailures): each run ends in the pool's or the loader's
// exception, gives everything back, physics included, and leaves the game
// able to do the same again.
#include "TempFolder.h"
#include "WholeGameTest.h"

#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "MediaPath.h"
#include "Vornic3DApp.h"

#include "core/IOException.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <sys/stat.h>

namespace {

class LevelFailureTest : public gametest::GameTest {};

// The whole game (WholeGameTest) with settings of its own and a records file
// one byte short, which a rewrite makes whole; after the first game has
// written it, the file's inode still tells a rewrite (files()).
class GameFailureTest : public gametest::WholeGameTest {
protected:
    void SetUp() override
    {
        WholeGameTest::SetUp();
        std::ofstream(fileOf("../config.txt"), std::ios::binary) << "QUIT 27\nSHADOWS 0\nSOUNDS 0";
        std::string records;
        for (int level = 0; level < 13; ++level)
            records += std::string({static_cast<char>(100 + level), 0, 0, 0});
        records.pop_back();
        std::ofstream(fileOf("hiscore.bin"), std::ios::binary) << records;
    }
    // The settings and records files as they stand: contents and the
    // records file's inode (a rewrite renames a new file into its place).
    static std::string files()
    {
        std::string text;
        for (const char* name : {"hiscore.bin", "../config.txt"}) {
            std::ifstream in(fileOf(name), std::ios::binary);
            text += std::string(std::istreambuf_iterator<char>(in), {}) + "|";
        }
        struct stat status {};
        stat(fileOf("hiscore.bin").c_str(), &status);
        return text + std::to_string(status.st_ino);
    }
};

} // namespace

// The level with the most kinds of tiles.
TEST_F(LevelFailureTest, ALevelWithItsObjectsAndTheirBodies)
{
    game::GameGlobals& g = globals();
    const int geoms = dSpaceGetNumGeoms(g.m_ode->getSpace());
    const auto counts = sweepAllocationFailures(
        [&] {
            g.m_level = VORNIC3D_NEW game::GameLevel(12);
            g.m_level->load(game::mediaPath("level4.png"), "RUDIS REGGAE");
            EXPECT_GT(g.m_objects.m_size, 4);
        },
        [&] {
            g.m_objects.setSize(0);
            g.m_level = VORNIC3D_NEW game::GameLevel(0);
            EXPECT_EQ(dSpaceGetNumGeoms(g.m_ode->getSpace()), geoms) << "the bodies' geoms went";
        });
    EXPECT_GT(counts.mainPool, 0) << counts;
}

// Leaving the menu builds the selected level, also when the game goes. The
// application's destructor may not throw: a failure there at the program's
// end (a full pool, or a level file first read then) is logged, and the
// states, the globals and the records go all the same.
TEST_F(GameFailureTest, AnApplicationWhoseGameCanNotLeaveTheMenuEndsWithALoggedError)
{
    struct Case {
        const char* name;
        std::function<void()> spoil;
        const char* line;
    };
    const Case cases[] = {
        {"a full pool", [&] { mainPool()->failAllocation(1); }, "MemoryManager: memory full\n"},
        // The side zones change the level without loading it.
        {"a missing level file",
         [] {
             for (game::LevelInfo& row : game::GameGlobals::get().m_levels)
                 row.fileName = "no_such_level.png";
         },
         "GeneralFile: can not open the file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* app = new game::Vornic3DApp();
        app->createDevice(nullptr);
        const std::string before = files();
        clearLog();
        c.spoil();
        delete app;
        EXPECT_EQ(game::GameGlobals::getInstance(), nullptr);
        // The application's own line: the failure's message as an error.
        EXPECT_TRUE(std::regex_search(log(), std::regex(std::string(" ERROR  \\|[0-9]{6}\\| ") + c.line))) << log();
        EXPECT_NE(files(), before) << "the records are written at the end";
    }
}

// The records are the last thing the game's end writes. A full pool there is
// no unwritable file: it is logged as the pool's, the old file stays whole
// (no temporary file left), and the states and globals go all the same.
TEST_F(GameFailureTest, AFullPoolWhileTheRecordsAreWrittenAtTheEndIsLoggedAndKeepsTheOldFile)
{
    m_game = VORNIC3D_NEW game::Game();
    const std::int32_t before = mainPool()->getAllocationCount();
    m_game = nullptr;
    const int allocations = mainPool()->getAllocationCount() - before;
    int failedWhileWriting = 0;
    // From the last allocation back, until one fails before the records
    // (the menu's level, which passes the failure on).
    for (int n = allocations; n > 0; --n) {
        SCOPED_TRACE(n);
        m_game = VORNIC3D_NEW game::Game();
        const std::string kept = files();
        clearLog();
        mainPool()->failAllocation(n);
        try {
            m_game = nullptr;
        } catch (const core::MemoryManagerException&) {
            break;
        }
        ++failedWhileWriting;
        EXPECT_EQ(mainPool()->getPendingFailure(), 0);
        EXPECT_EQ(game::GameGlobals::getInstance(), nullptr);
        EXPECT_NE(log().find("GameStateInit: the best times are not saved: MemoryManager: memory full\n"),
                  std::string::npos);
        EXPECT_EQ(files(), kept);
        EXPECT_FALSE(std::filesystem::exists(fileOf("hiscore.bin.tmp")));
    }
    EXPECT_GT(failedWhileWriting, 0);
}

TEST_F(GameFailureTest, EnteringTheRunStateFromTheMenu)
{
    m_game = VORNIC3D_NEW game::Game();
    const auto counts =
        sweepAllocationFailures([&] { m_game->changeState("run"); }, [&] { m_game->changeState("menu"); });
    EXPECT_GT(counts.mainPool, 0) << counts;
}

namespace {

// The start-up's sweep takes over a minute: CTest starts it first (game/CMakeLists.txt).
class GameStartUpSweepTest : public GameFailureTest {};

} // namespace

// A start-up that fails leaves the settings and records files as they were.
TEST_F(GameStartUpSweepTest, StartUpThroughTheInitStateToTheMenu)
{
    const auto counts = sweepAllocationFailures(
        [&] {
            const std::string before = files();
            const auto keptFiles = [&] { EXPECT_EQ(files(), before) << "a failed start-up"; };
            try {
                m_game = VORNIC3D_NEW game::Game();
            } catch (const core::MemoryManagerException&) {
                keptFiles();
                throw;
            } catch (const core::IOException&) {
                keptFiles();
                throw;
            }
        },
        [&] { m_game = nullptr; });
    EXPECT_GT(counts.mainPool, 0) << counts;
}
