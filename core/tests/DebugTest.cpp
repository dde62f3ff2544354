#include "EngineTest.h"

#include "core/Debug.h"
#include "core/DebugException.h"
#include "core/Globals.h"

using core::Debug;

namespace {

class DebugTest : public testsupport::EngineTest {};

} // namespace

TEST_F(DebugTest, ShownLinesCarryTagAndNumberAndCountErrorsAndWarnings)
{
    Debug::closeOutputFile(); // without an output file: changes nothing
    const struct {
        int level;
        const char* expected;
    } cases[] = {
        {Debug::LEVEL_ERROR, " ERROR  |000001| text\n"},
        {Debug::LEVEL_HIGH, "  High  |000002| text\n"},
        {Debug::LEVEL_WARNING, "WARNING |000003| text\n"},
        {Debug::LEVEL_PLAIN, "text\n"},
        {Debug::LEVEL_PLAIN, "text\n"},
        {Debug::LEVEL_ERROR, " ERROR  |000006| text\n"},
    };
    for (const auto& c : cases) {
        clearLog();
        Debug::printf(c.level, "text\n");
        EXPECT_EQ(log(), c.expected) << c.level;
    }
    Debug::setVerbosity(Debug::LEVEL_ASSERT);
    Debug::printf(Debug::LEVEL_WARNING, "hidden\n"); // not counted
    Debug::setVerbosity(Debug::kDefaultVerbosity);
    EXPECT_EQ(Debug::getErrorCount(), 2);
    EXPECT_EQ(Debug::getWarningCount(), 1);
}

TEST_F(DebugTest, HiddenAndFailedMessagesTakeNoNumber)
{
    const std::string tooLong(Debug::kMaxTextLength + 1, 'x');
    Debug::printf(Debug::LEVEL_NORMAL, "hidden\n");
    Debug::printf(Debug::LEVEL_LOW, "hidden\n");
    EXPECT_THROW(Debug::printf(Debug::LEVEL_ASSERT, "zero\n"), AssertationFailedException);
    EXPECT_THROW(Debug::printf(Debug::LEVEL_ERROR, "%s", tooLong.c_str()), core::DebugException);
    Debug::printf(Debug::LEVEL_WARNING, "w\n");
    Debug::setVerbosity(Debug::LEVEL_LOW);
    Debug::printf(Debug::LEVEL_NORMAL, "n\n");
    Debug::printf(Debug::LEVEL_LOW, "l\n");
    Debug::setVerbosity(Debug::kDefaultVerbosity);
    EXPECT_EQ(log(), "WARNING |000001| w\n Normal |000002| n\n  Low   |000003| l\n");
}

TEST_F(DebugTest, TextLengthLimitHoldsAtEveryLevel)
{
    const std::string longest(Debug::kMaxTextLength, 'a');
    for (int level : {Debug::LEVEL_ERROR, Debug::LEVEL_PLAIN}) {
        clearLog();
        Debug::printf(level, "%s", longest.c_str());
        EXPECT_NE(log().find(longest), std::string::npos);
        clearLog();
        EXPECT_EQ(testsupport::messageOf<core::DebugException>([&] { Debug::printf(level, "%s!", longest.c_str()); }),
                  "Debug: printf failed (vsprintf returns an error or debug string is too long)");
        EXPECT_EQ(log(), "");
    }
}

TEST_F(DebugTest, LevelsOutsideTheRangeFailBeforeTheVerbosity)
{
    Debug::setVerbosity(0);
    for (int level : {-1, 7, 1000})
        EXPECT_THROW(Debug::printf(level, "x"), AssertationFailedException) << level;
    // Verbosity 0 hides every level but level 0, which still fails.
    Debug::printf(Debug::LEVEL_ERROR, "hidden");
    EXPECT_THROW(Debug::printf(Debug::LEVEL_ASSERT, "x"), AssertationFailedException);
    Debug::setVerbosity(Debug::kDefaultVerbosity);
    EXPECT_EQ(log(), "");
}

TEST(DebugLifeCycle, InitAndDeInitNeedTheRegistryAndTheirSlot)
{
    EXPECT_THROW(Debug::initClass(), AssertationFailedException); // no registry
    core::Globals::initClass();
    EXPECT_THROW(Debug::deInitClass(), AssertationFailedException);
    EXPECT_THROW(Debug::printf(Debug::LEVEL_ERROR, "nobody listens"), AssertationFailedException);
    Debug::initClass();
    EXPECT_THROW(Debug::initClass(), AssertationFailedException);
    Debug::deInitClass();
    core::Globals::deInitClass();
}
