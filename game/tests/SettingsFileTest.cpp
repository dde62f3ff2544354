#include "AsOrdinaryUser.h"
#include "EngineTest.h"
#include "TempFolder.h"

#include "SettingsFile.h"

#include <array>
#include <climits>
#include <filesystem>
#include <string>

namespace {

using Values = std::array<std::int32_t, 3>; // quit key, shadows, sounds
constexpr Values kDefaults = {114, 1, 1};
constexpr std::int32_t kUnset = -7;
const std::string kDefaultText = "GENERATED ASCII CODE CONFIG FOR SAMSUNG OMNIA\nQUIT 114\nSHADOWS 1\nSOUNDS 1";

class SettingsFileTest : public testsupport::EngineTest, protected testsupport::TempFolder {
protected:
    Values load(const std::string& name) const
    {
        Values values = {kUnset, kUnset, kUnset};
        game::SettingsFile::load(core::String(at(name).c_str()), values[0], values[1], values[2]);
        return values;
    }
    int warnings() const { return testsupport::countOf(log(), "WARNING |"); }
};

} // namespace

TEST_F(SettingsFileTest, ValidTextIsReadAndLeftAsItWas)
{
    const struct { std::string text; Values expected; int warnings; } cases[] = {
        {"QUIT 27\nSHADOWS 0\nSOUNDS 0", {27, 0, 0}, 0},
        {"SOUNDS 0 SHADOWS 1 QUIT 5", {5, 1, 0}, 0},
        {"ESCQUIT5\nSHADOWS 0\nSOUNDS 1", {5, 0, 1}, 0},                // inside a longer word
        {"QUIT 1 QUIT 2 SHADOWS\t\n-3 SOUNDS +4", {1, -3, 4}, 0},       // the first one; blanks, signs
        {"QUIT x\nSHADOWS 0\nSOUNDS 0", {kUnset, 0, 0}, 0},              // no number: the value stays
        {"QUIT 7 SHADOWS 0 SOUNDS 1" + std::string(274, ' '), {7, 0, 1}, 0}, // 299 bytes
        {"QUIT 2147483647 SHADOWS -2147483648 SOUNDS 0", {INT_MAX, INT_MIN, 0}, 0},
        {"QUIT 99999999999999999999999 SHADOWS -2147483649 SOUNDS 2147483648", {INT_MAX, INT_MIN, INT_MAX}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        put("config.txt", c.text);
        clearLog();
        EXPECT_EQ(load("config.txt"), c.expected);
        EXPECT_EQ(get("config.txt"), c.text);
        EXPECT_EQ(warnings(), c.warnings);
    }
}

TEST_F(SettingsFileTest, MissingOrUnusableTextIsRewrittenAndAllValuesBecomeTheDefaults)
{
    const struct { const char* what; std::string text; } cases[] = {
        {"a key missing", "QUIT 5\nSHADOWS 0"},
        {"empty", ""},
        {"300 bytes", "QUIT 7 SHADOWS 0 SOUNDS 1" + std::string(275, ' ')},
        {"keys behind a zero byte", std::string("QUIT 5\0SHADOWS 0 SOUNDS 0", 25)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        put("config.txt", c.text);
        EXPECT_EQ(load("config.txt"), kDefaults);
        EXPECT_EQ(get("config.txt"), kDefaultText);
    }
    EXPECT_EQ(load("new.txt"), kDefaults);
    EXPECT_EQ(get("new.txt"), kDefaultText);
}

TEST_F(SettingsFileTest, ReadOnlyValidFileIsRead)
{
    put("config.txt", "QUIT 27\nSHADOWS 0\nSOUNDS 0");
    std::filesystem::permissions(at("config.txt"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    gametest::AsOrdinaryUser user;
    EXPECT_EQ(load("config.txt"), (Values{27, 0, 0}));
    EXPECT_EQ(warnings(), 0);
}

TEST_F(SettingsFileTest, FileThatCannotBeWrittenGivesTheDefaultsAndAWarning)
{
    // Root may write any file: a missing folder or a folder in the file's
    // place is what stops it.
    std::filesystem::create_directories(at("folder/config.txt/x"));
    for (const char* name : {"missing/config.txt", "folder/config.txt"}) {
        SCOPED_TRACE(name);
        clearLog();
        EXPECT_EQ(load(name), kDefaults);
        EXPECT_EQ(warnings(), 1);
        EXPECT_NE(log().find("SettingsFile: can not write the settings file; using the defaults\n"), std::string::npos);
    }
}
