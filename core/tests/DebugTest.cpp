#include "EngineTest.h"

#include "core/AssertationFailedException.h"
#include "core/Debug.h"
#include "core/DebugException.h"
#include "core/Globals.h"

#include <string>

using core::Debug;

namespace {

class DebugTest : public testsupport::EngineTest {};

} // namespace

TEST_F(DebugTest, ShownLinesCarryTagAndNumber)
{
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
}

TEST_F(DebugTest, VerbosityHidesLevelsFiveAndSixUntilRaised)
{
    Debug::printf(Debug::LEVEL_NORMAL, "hidden\n");
    Debug::printf(Debug::LEVEL_LOW, "hidden\n");
    EXPECT_EQ(log(), "");
    EXPECT_EQ(Debug::getMessageNumber(), 1);

    Debug::setVerbosity(Debug::LEVEL_LOW);
    Debug::printf(Debug::LEVEL_NORMAL, "n\n");
    Debug::printf(Debug::LEVEL_LOW, "l\n");
    EXPECT_EQ(log(), " Normal |000001| n\n  Low   |000002| l\n");
    Debug::setVerbosity(Debug::kDefaultVerbosity);
}

TEST_F(DebugTest, FailedMessagesTakeNoNumber)
{
    const std::string tooLong(Debug::kMaxTextLength + 1, 'x');
    EXPECT_THROW(Debug::printf(Debug::LEVEL_ASSERT, "zero\n"), AssertationFailedException);
    EXPECT_THROW(Debug::printf(Debug::LEVEL_ERROR, "%s", tooLong.c_str()), core::DebugException);
    Debug::printf(Debug::LEVEL_WARNING, "after\n");
    EXPECT_EQ(log(), "WARNING |000001| after\n");
}

TEST_F(DebugTest, TextLengthLimitHoldsAtEveryLevel)
{
    for (int level : {Debug::LEVEL_ERROR, Debug::LEVEL_PLAIN}) {
        const std::string longest(Debug::kMaxTextLength, 'a');
        clearLog();
        Debug::printf(level, "%s", longest.c_str());
        EXPECT_NE(log().find(longest), std::string::npos);

        clearLog();
        try {
            Debug::printf(level, "%s!", longest.c_str());
            ADD_FAILURE() << "no exception at level " << level;
        } catch (const core::DebugException& e) {
            EXPECT_STREQ(e.message,
                         "Debug: printf failed (vsprintf returns an error or debug string is too long)");
            EXPECT_STREQ(e.sourceFile, "");
            EXPECT_EQ(e.line, 0);
        }
        EXPECT_EQ(log(), "");
    }
}

TEST_F(DebugTest, LevelsOutsideTheRangeFailBeforeTheVerbosity)
{
    Debug::setVerbosity(0);
    for (int level : {-1, 7, 1000}) {
        try {
            Debug::printf(level, "x");
            ADD_FAILURE() << level;
        } catch (const AssertationFailedException& e) {
            EXPECT_STREQ(e.message, "Vornic3D exception");
            EXPECT_STREQ(e.function, "core::Debug::printf");
        }
    }
    // Verbosity 0 hides every level but level 0, which still fails.
    Debug::printf(Debug::LEVEL_ERROR, "hidden");
    EXPECT_THROW(Debug::printf(Debug::LEVEL_ASSERT, "x"), AssertationFailedException);
    EXPECT_EQ(log(), "");
    Debug::setVerbosity(Debug::kDefaultVerbosity);
}

TEST_F(DebugTest, ErrorsAndWarningsAreCounted)
{
    Debug::printf(Debug::LEVEL_ERROR, "e\n");
    Debug::printf(Debug::LEVEL_WARNING, "w\n");
    Debug::printf(Debug::LEVEL_WARNING, "w\n");
    Debug::printf(Debug::LEVEL_HIGH, "h\n");
    Debug::printf(Debug::LEVEL_NORMAL, "hidden warnings are not counted either\n");
    EXPECT_EQ(Debug::getErrorCount(), 1);
    EXPECT_EQ(Debug::getWarningCount(), 2);
}

TEST_F(DebugTest, ClosingWithoutAnOutputFileChangesNothing)
{
    Debug::closeOutputFile();
    EXPECT_EQ(log(), "");
    EXPECT_EQ(Debug::getVerbosity(), Debug::kDefaultVerbosity);
}

TEST_F(DebugTest, AFormattedPercentIsWrittenAsIs)
{
    Debug::printf(Debug::LEVEL_PLAIN, "%s", "100% %s %n done\n");
    EXPECT_EQ(log(), "100% %s %n done\n");
}

TEST(DebugLifeCycle, InitAndDeInitNeedTheRegistryAndTheirSlot)
{
    EXPECT_THROW(core::Debug::initClass(), AssertationFailedException); // no registry
    core::Globals::initClass();
    EXPECT_THROW(core::Debug::deInitClass(), AssertationFailedException);
    EXPECT_THROW(core::Debug::printf(Debug::LEVEL_ERROR, "nobody listens"), AssertationFailedException);
    core::Debug::initClass();
    EXPECT_THROW(core::Debug::initClass(), AssertationFailedException);
    core::Debug::deInitClass();
    core::Globals::deInitClass();
}
