#include "BestTimeBytes.h"
#include "EngineTest.h"
#include "TempFolder.h"

#include "BestTimeFile.h"
#include "SettingsFile.h"

#include <sys/fsuid.h>
#include <sys/resource.h>

#include <array>
#include <climits>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

using game::BestTimeFile;
using gametest::bestTimeBytes;

namespace {

using Values = std::array<std::int32_t, 3>; // quit key, shadows, sounds
constexpr Values kDefaultValues = {114, 1, 1};
constexpr std::int32_t kUnset = -7;
const std::string kDefaultText = "GENERATED ASCII CODE CONFIG FOR SAMSUNG OMNIA\nQUIT 114\nSHADOWS 1\nSOUNDS 1";

// Level 0 open, the others locked: the times before any file.
const BestTimeFile::Times kDefaultTimes = {998001, 999000, 999000, 999000, 999000, 999000, 999000,
                                           999000, 999000, 999000, 999000, 999000, 999000};
const BestTimeFile::Times kRecords = {0, -1, INT_MAX, INT_MIN, 998001, 999000, 12345, 7, 8, 9, 10, 11, 0x01020304};

// While it lives, files are opened with the rights of the ordinary user
// "nobody": the tests run as root, who may write any file, and a read-only
// file must stay read-only for them. Run by an ordinary user it changes
// nothing, and that user's own rights apply.
struct AsOrdinaryUser {
    AsOrdinaryUser() : previous(static_cast<uid_t>(setfsuid(65534))) {}
    ~AsOrdinaryUser() { setfsuid(previous); }
    uid_t previous;
};

class GameFilesTest : public testsupport::EngineTest, protected testsupport::TempFolder {
protected:
    Values loadSettings(const std::string& name) const
    {
        Values values = {kUnset, kUnset, kUnset};
        game::SettingsFile::load(core::String(at(name).c_str()), values[0], values[1], values[2]);
        return values;
    }
    BestTimeFile::Times loadTimes(const std::string& name) const
    {
        BestTimeFile::Times times = kDefaultTimes;
        BestTimeFile::load(core::String(at(name).c_str()), times);
        return times;
    }
    void saveRecords(const std::string& name) const { BestTimeFile::save(core::String(at(name).c_str()), kRecords); }
    int warnings() const { return testsupport::countOf(log(), "WARNING |"); }
};
using SettingsFileTest = GameFilesTest;
using BestTimeFileTest = GameFilesTest;

} // namespace

// ---- settings file ------------------------------------------------------------------

TEST_F(SettingsFileTest, ValidTextIsReadAndLeftAsItWas)
{
    const struct {
        std::string text;
        Values expected;
        int warnings;
    } cases[] = {
        {"QUIT 27\nSHADOWS 0\nSOUNDS 0", {27, 0, 0}, 0},
        {"ESCQUIT5\nSHADOWS 0\nSOUNDS 1", {5, 0, 1}, 0},                     // inside a longer word
        {"QUIT 1 QUIT 2 SHADOWS\t\n-3 SOUNDS +4", {1, -3, 4}, 0},            // the first one; blanks, signs
        {"QUIT x\nSHADOWS 0\nSOUNDS 0", {kUnset, 0, 0}, 0},                  // no number: the value stays
        {"QUIT 7 SHADOWS 0 SOUNDS 1" + std::string(274, ' '), {7, 0, 1}, 0}, // 299 bytes
        {"QUIT 2147483647 SHADOWS -2147483648 SOUNDS 0", {INT_MAX, INT_MIN, 0}, 0},
        {"QUIT 99999999999999999999999 SHADOWS -2147483649 SOUNDS 2147483648", {INT_MAX, INT_MIN, INT_MAX}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        put("config.txt", c.text);
        clearLog();
        EXPECT_EQ(loadSettings("config.txt"), c.expected);
        EXPECT_EQ(get("config.txt"), c.text);
        EXPECT_EQ(warnings(), c.warnings);
    }
}

// Each rewrite says, in one warning, which file and why: a player's keys
// must not vanish without a word.
TEST_F(SettingsFileTest, MissingOrUnusableTextIsRewrittenWithAWarningAndAllValuesBecomeTheDefaults)
{
    const struct {
        const char* what;
        const char* name;
        std::string text;
        std::string reason;
    } cases[] = {
        {"a key missing", "config.txt", "QUIT 5\nSHADOWS 0", "lacks the key SOUNDS"},
        {"empty", "config.txt", "", "lacks the key QUIT"},
        {"300 bytes", "config.txt", "QUIT 7 SHADOWS 0 SOUNDS 1" + std::string(275, ' '),
         "is too long: 300 bytes or more"},
        {"keys behind a zero byte", "config.txt", std::string("QUIT 5\0SHADOWS 0 SOUNDS 0", 25),
         "lacks the key SHADOWS"},
        {"missing", "new.txt", "", "can not be read: No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string(c.name) != "new.txt")
            put(c.name, c.text);
        clearLog();
        EXPECT_EQ(loadSettings(c.name), kDefaultValues);
        EXPECT_EQ(get(c.name), kDefaultText);
        EXPECT_EQ(warnings(), 1);
        EXPECT_NE(log().find("| SettingsFile: " + at(c.name) + " " + c.reason), std::string::npos) << log();
    }
}

TEST_F(SettingsFileTest, FileThatCannotBeWrittenGivesTheDefaultsAndASecondWarning)
{
    // Root may write any file: a missing folder, or a folder in the file's
    // place, is what stops it.
    std::filesystem::create_directory(at("folder.txt"));
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"missing/config.txt", "can not be read: No such file or directory"},
        {"folder.txt", "can not be read: Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        EXPECT_EQ(loadSettings(c.name), kDefaultValues);
        EXPECT_EQ(warnings(), 2);
        EXPECT_NE(log().find("SettingsFile: " + at(c.name) + " " + c.reason), std::string::npos) << log();
        EXPECT_NE(log().find("SettingsFile: can not write the settings file; using the defaults\n"), std::string::npos);
    }
}

// Both files are only read: a valid one on a write-protected medium counts.
TEST_F(GameFilesTest, ReadOnlyFilesAreRead)
{
    put("config.txt", "QUIT 27\nSHADOWS 0\nSOUNDS 0");
    put("hiscore.bin", bestTimeBytes(kRecords));
    for (const char* name : {"config.txt", "hiscore.bin"})
        std::filesystem::permissions(at(name), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
    AsOrdinaryUser user;
    EXPECT_EQ(loadSettings("config.txt"), (Values{27, 0, 0}));
    EXPECT_EQ(loadTimes("hiscore.bin"), kRecords);
    EXPECT_EQ(warnings(), 0);
}

// ---- best-time file -----------------------------------------------------------------

TEST_F(BestTimeFileTest, MissingFileKeepsTheDefaultsAndSavedTimesReadBack)
{
    EXPECT_EQ(loadTimes("hiscore.bin"), kDefaultTimes);
    put("old.bin", std::string(60, 'x'));
    for (const char* name : {"hiscore.bin", "old.bin"}) {
        saveRecords(name);
        EXPECT_EQ(get(name), bestTimeBytes(kRecords));
        EXPECT_EQ(loadTimes(name), kRecords);
    }
    EXPECT_FALSE(std::filesystem::exists(at("hiscore.bin.tmp")));
}

TEST_F(BestTimeFileTest, OnlyCompleteValuesAreTakenFromAShortOrLongFile)
{
    const std::string bytes = bestTimeBytes(kRecords) + "more";
    for (const int size : {0, 3, 8, 10, 51, 52, 56}) {
        SCOPED_TRACE(size);
        put("hiscore.bin", bytes.substr(0, static_cast<std::size_t>(size)));
        clearLog();
        const BestTimeFile::Times times = loadTimes("hiscore.bin");
        for (int i = 0; i < 13; ++i)
            EXPECT_EQ(times[i], i < size / 4 ? kRecords[i] : kDefaultTimes[i]) << "level " << i;
        EXPECT_EQ(warnings(), size < 52 ? 1 : 0);
    }
}

// Only a file that is not there is a first start. One that is there but can
// not be read keeps the player's records and unlocked levels: the times stay
// as they were, the warning names the file and why, and the answer forbids
// saving over it.
TEST_F(BestTimeFileTest, AFileThatIsThereButCanNotBeReadIsNotToBeSavedOver)
{
    put("private.bin", bestTimeBytes(kRecords));
    std::filesystem::permissions(at("private.bin"), std::filesystem::perms::owner_read);
    std::filesystem::create_directory(at("folder.bin"));
    std::filesystem::create_symlink("loop.bin", at("loop.bin"));
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"private.bin", "Permission denied"},
        {"folder.bin", "Is a directory"},
        {"loop.bin", "Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        BestTimeFile::Times times = kDefaultTimes;
        {
            AsOrdinaryUser user;
            EXPECT_FALSE(BestTimeFile::load(core::String(at(c.name).c_str()), times));
        }
        EXPECT_EQ(times, kDefaultTimes);
        EXPECT_EQ(warnings(), 1);
        EXPECT_NE(log().find("BestTimeFile: can not read " + at(c.name) + ": " + c.reason + "\n"), std::string::npos)
            << log();
        EXPECT_NE(log().find("this session's times stay in memory only"), std::string::npos);
    }
    BestTimeFile::Times times = kDefaultTimes;
    EXPECT_TRUE(BestTimeFile::load(core::String(at("missing.bin").c_str()), times));
    EXPECT_TRUE(BestTimeFile::load(core::String(at("private.bin").c_str()), times)) << "root may read it";
    EXPECT_EQ(times, kRecords);
}

// A save that fails keeps the old file and leaves no temporary file behind,
// except one it did not make.
TEST_F(BestTimeFileTest, FailedSaveKeepsTheOldFileAndRemovesItsTemporaryFile)
{
    // The new file cannot be written: a folder stands in its place.
    std::filesystem::create_directories(at("blocked/hiscore.bin.tmp/x"));
    put("blocked/hiscore.bin", bestTimeBytes(kDefaultTimes));
    saveRecords("blocked/hiscore.bin");
    EXPECT_EQ(get("blocked/hiscore.bin"), bestTimeBytes(kDefaultTimes));
    EXPECT_TRUE(std::filesystem::exists(at("blocked/hiscore.bin.tmp/x")));

    // It is made but can not be written whole: files may not grow past 10
    // bytes (the write fails instead of the signal ending the process). The
    // captured log is a file too, so the file layer's line is lost here.
    std::filesystem::create_directory(at("short"));
    put("short/hiscore.bin", bestTimeBytes(kDefaultTimes));
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{10, limit.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    saveRecords("short/hiscore.bin");
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(get("short/hiscore.bin"), bestTimeBytes(kDefaultTimes));
    EXPECT_FALSE(std::filesystem::exists(at("short/hiscore.bin.tmp")));

    // It is written but cannot replace the old one: in a folder open to all
    // with the sticky bit, an ordinary user may not replace root's file.
    std::filesystem::create_directory(at("sticky"));
    std::filesystem::permissions(at("sticky"), std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    put("sticky/hiscore.bin", bestTimeBytes(kDefaultTimes));
    {
        AsOrdinaryUser user;
        saveRecords("sticky/hiscore.bin");
    }
    EXPECT_EQ(get("sticky/hiscore.bin"), bestTimeBytes(kDefaultTimes));
    EXPECT_NE(log().find("GeneralFile::rename : " + at("sticky/hiscore.bin.tmp") + " failed\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(at("sticky/hiscore.bin.tmp")));
}

// ---- failures that are not the file's --------------------------------------------

// Only the file layer's failure is the file's. A full pool or an engine
// assertion (a bug) passes on: taken for a missing or unwritable file, it
// would put the defaults in place of the player's settings and times.
TEST_F(GameFilesTest, AFullPoolWhileReadingOrWritingPassesOn)
{
    put("hiscore.bin", bestTimeBytes(kRecords));
    const struct {
        const char* what;
        std::function<void()> operation;
        std::function<void()> restore;
    } cases[] = {
        {"settings read and written anew", [&] { loadSettings("new.txt"); },
         [&] { std::filesystem::remove(at("new.txt")); }},
        {"best times read", [&] { loadTimes("hiscore.bin"); }, {}},
        {"best times saved", [&] { saveRecords("hiscore.bin"); }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const testsupport::AllocationCounts counts = sweepAllocationFailures(c.operation, c.restore);
        EXPECT_GT(counts.mainPool, 0) << counts;
    }
    EXPECT_EQ(get("hiscore.bin"), bestTimeBytes(kRecords));
    EXPECT_FALSE(std::filesystem::exists(at("hiscore.bin.tmp")));
}

TEST_F(GameFilesTest, AnEngineAssertionWhileReadingOrSavingPassesOn)
{
    // A character beyond one byte, which the file layer refuses to put in a
    // system path as misuse.
    core::String path(at("hiscore.bin").c_str());
    path.setCharAt(0x2603, path.length() - 1);
    const struct {
        const char* what;
        std::function<void()> call;
    } cases[] = {
        {"settings read",
         [&] {
             Values values = {kUnset, kUnset, kUnset};
             game::SettingsFile::load(path, values[0], values[1], values[2]);
         }},
        {"best times read",
         [&] {
             BestTimeFile::Times times = kDefaultTimes;
             BestTimeFile::load(path, times);
         }},
        {"best times saved", [&] { BestTimeFile::save(path, kRecords); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clearLog();
        EXPECT_EQ(testsupport::messageOf<AssertationFailedException>(c.call), "Vornic3D exception");
        EXPECT_EQ(warnings(), 0) << log();
    }
}
