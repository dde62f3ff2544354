#include "AsOrdinaryUser.h"
#include "EngineTest.h"
#include "TempFolder.h"

#include "BestTimeFile.h"

#include <climits>
#include <filesystem>
#include <string>

using game::BestTimeFile;

namespace {

// Level 0 open, the others locked: the times before any file.
const BestTimeFile::Times kDefaults = {998001, 999000, 999000, 999000, 999000, 999000, 999000,
                                       999000, 999000, 999000, 999000, 999000, 999000};
const BestTimeFile::Times kRecords = {0, -1, INT_MAX, INT_MIN, 998001, 999000, 12345, 7, 8, 9, 10, 11, 0x01020304};

std::string bytesOf(const BestTimeFile::Times& times)
{
    std::string bytes;
    for (const std::int32_t time : times)
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>(static_cast<std::uint32_t>(time) >> shift);
    return bytes;
}

class BestTimeFileTest : public testsupport::EngineTest, protected testsupport::TempFolder {
protected:
    BestTimeFile::Times load(const std::string& name) const
    {
        BestTimeFile::Times times = kDefaults;
        BestTimeFile::load(core::String(at(name).c_str()), times);
        return times;
    }
    void save(const std::string& name) const { BestTimeFile::save(core::String(at(name).c_str()), kRecords); }
};

} // namespace

TEST_F(BestTimeFileTest, MissingFileKeepsTheDefaultsAndSavedTimesReadBack)
{
    EXPECT_EQ(load("hiscore.bin"), kDefaults);
    put("old.bin", std::string(60, 'x'));
    for (const char* name : {"hiscore.bin", "old.bin"}) {
        save(name);
        EXPECT_EQ(get(name), bytesOf(kRecords));
        EXPECT_EQ(load(name), kRecords);
    }
    EXPECT_FALSE(std::filesystem::exists(at("hiscore.bin.tmp")));
}

TEST_F(BestTimeFileTest, OnlyCompleteValuesAreTakenFromAShortOrLongFile)
{
    const std::string bytes = bytesOf(kRecords) + "more";
    for (const int size : {0, 3, 8, 10, 51, 52, 56}) {
        SCOPED_TRACE(size);
        put("hiscore.bin", bytes.substr(0, static_cast<std::size_t>(size)));
        clearLog();
        const BestTimeFile::Times times = load("hiscore.bin");
        for (int i = 0; i < 13; ++i)
            EXPECT_EQ(times[i], i < size / 4 ? kRecords[i] : kDefaults[i]) << "level " << i;
        EXPECT_EQ(log().find("WARNING |") != std::string::npos, size < 52);
    }
}

TEST_F(BestTimeFileTest, ReadOnlyFileIsRead)
{
    put("hiscore.bin", bytesOf(kRecords));
    std::filesystem::permissions(at("hiscore.bin"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    gametest::AsOrdinaryUser user;
    EXPECT_EQ(load("hiscore.bin"), kRecords);
}

TEST_F(BestTimeFileTest, FailedSaveKeepsTheOldFile)
{
    // The new file cannot be written: a folder stands in its place.
    std::filesystem::create_directories(at("blocked/hiscore.bin.tmp/x"));
    put("blocked/hiscore.bin", bytesOf(kDefaults));
    save("blocked/hiscore.bin");
    EXPECT_EQ(get("blocked/hiscore.bin"), bytesOf(kDefaults));

    // It is written but cannot replace the old one: in a folder open to all
    // with the sticky bit, an ordinary user may not replace root's file.
    std::filesystem::create_directory(at("sticky"));
    std::filesystem::permissions(at("sticky"), std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    put("sticky/hiscore.bin", bytesOf(kDefaults));
    {
        gametest::AsOrdinaryUser user;
        save("sticky/hiscore.bin");
    }
    EXPECT_EQ(get("sticky/hiscore.bin"), bytesOf(kDefaults));
    EXPECT_NE(log().find("GeneralFile::rename : " + at("sticky/hiscore.bin.tmp") + " failed\n"), std::string::npos);
}
