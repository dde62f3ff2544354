// The real program, run in a scratch copy of its folder, ended by a failure:
// exit code 1, one stopping line on the standard error that names what
// failed, and the player's files as the failure's moment allows (untouched
// when start-up fails, the session's records saved once the game runs).
#include "BestTimeBytes.h"
#include "PngWriter.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

// The program and links to its media files in the scratch folder, as the
// build lays them out beside it.
void copyProgram(const testsupport::TempFolder& scratch)
{
    const fs::path program = VORNIC3D_GAME_PROGRAM;
    fs::copy_file(program, scratch.at("tessly_mordane"));
    fs::create_directory(scratch.at("media"));
    for (const auto& entry : fs::directory_iterator(program.parent_path() / "media"))
        if (entry.is_symlink())
            fs::create_symlink(fs::canonical(entry.path()), scratch.at("media/" + entry.path().filename().string()));
}

// Runs the copied program headless, driven by the input script `input.txt`
// of the scratch folder; its exit code (-1 when it did not exit by itself).
// What a failed program still holds goes with its process: the leak checker
// would only change the exit code.
int runProgram(const testsupport::TempFolder& scratch)
{
    const std::string command = "cd " + scratch.folder() +
                                " && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy"
                                " ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" VORNIC3D_INPUT_SCRIPT=input.txt"
                                " timeout 120 ./tessly_mordane >log.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ino_t inodeOf(const std::string& path)
{
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_ino;
}

} // namespace

// A first run-state background the main pool cannot hold beside what the
// set-up made: start-up fails after the set-up and the intro (a tap ends it)
// have run, and no file of the player's is written.
TEST(ProgramFailureTest, AStartUpOutOfMemoryEndsWithCode1AndOneLineAndKeepsTheFiles)
{
    const testsupport::TempFolder scratch;
    copyProgram(scratch);
    // 1140 x 1140 RGBA: 5,198,400 bytes, less than the whole pool, more than it has left.
    testsupport::PngImage huge;
    huge.width = huge.height = 1140;
    huge.colorType = 6; // PNG_COLOR_TYPE_RGB_ALPHA
    huge.rows.assign(static_cast<std::size_t>(1140 * 1140 * 4), 0x80);
    fs::remove(scratch.at("media/BG1.png"));
    const testsupport::Bytes file = testsupport::writePng(huge);
    scratch.put("media/BG1.png", std::string(file.begin(), file.end()));
    const std::string records(52, '\x07');
    scratch.put("media/hiscore.bin", records);
    scratch.put("config.txt", "QUIT 27\nSHADOWS 0\nSOUNDS 0");
    scratch.put("input.txt", "100 press 120 200\n50 release 120 200\n");
    const ino_t before = inodeOf(scratch.at("media/hiscore.bin"));

    EXPECT_EQ(runProgram(scratch), 1);
    EXPECT_EQ(scratch.get("stderr.txt"), "stopped by an exception: MemoryManager: memory full\n");
    EXPECT_NE(scratch.get("log.txt").find("GameStateMenu constructor"), std::string::npos) << "past the set-up";
    EXPECT_EQ(scratch.get("media/hiscore.bin"), records);
    EXPECT_EQ(inodeOf(scratch.at("media/hiscore.bin")), before) << "not written anew";
    EXPECT_EQ(scratch.get("config.txt"), "QUIT 27\nSHADOWS 0\nSOUNDS 0");
}

// A records file that has the practice level's time and opens "MORONS",
// whose level image is damaged: the menu selects the level and starts it,
// the load fails, and the program ends with 1 after writing the records it
// holds (the two times kept, every other level locked), naming the damaged
// file on its stopping line.
TEST(ProgramFailureTest, AFailureAfterStartUpSavesTheRecordsAndNamesTheFile)
{
    const testsupport::TempFolder scratch;
    copyProgram(scratch);
    const std::string level = scratch.get("media/level0_1.png");
    fs::remove(scratch.at("media/level0_1.png"));
    scratch.put("media/level0_1.png", level.substr(0, 40)); // cut inside the header's chunk
    scratch.put("media/hiscore.bin", gametest::bestTimeBytes({53280, 998001}));
    scratch.put("config.txt", "QUIT 27\nSHADOWS 0\nSOUNDS 0");
    // A tap ends the intro; the right edge selects the next level, the bottom
    // quarter highlights START GAME, the centre starts it.
    scratch.put("input.txt", "100 press 120 200\n50 release 120 200\n"
                             "1000 press 230 200\n100 release 230 200\n"
                             "1000 press 120 380\n100 release 120 380\n"
                             "1000 press 110 190\n100 release 110 190\n");

    EXPECT_EQ(runProgram(scratch), 1);
    const std::string log = scratch.get("log.txt");
    EXPECT_NE(log.find("level0_1.png is not a level image of at most 32 x 32 pixels"), std::string::npos) << log;
    EXPECT_TRUE(std::regex_match(scratch.get("stderr.txt"),
                                 std::regex("stopped by an exception: Vornic3D exception \"" + scratch.folder() +
                                            "//media/level0_1\\.png\" \\(game::GameLevel::loadImage, .*\\)\n")))
        << scratch.get("stderr.txt");

    const std::int32_t locked = 999000;
    EXPECT_EQ(scratch.get("media/hiscore.bin"),
              gametest::bestTimeBytes({53280, 998001, locked, locked, locked, locked, locked, locked, locked, locked,
                                       locked, locked, locked}));
    EXPECT_FALSE(fs::exists(scratch.at("media/hiscore.bin.tmp")));
}
