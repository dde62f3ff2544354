#include "EngineTest.h"
#include "PoolFiller.h"

#include "core/IOException.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"
#include "core/String.h"

#include <cstring>
#include <string>

using core::IOException;
using core::String;

namespace {

class IOExceptionTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // The string pool's table takes its block with the first string and
        // keeps it.
        { const String warmUp(""); }
        m_baseBlocks = mainPool()->getAllocatedBlocks();
    }
    // Every text the exceptions took must be back (the string pool's table
    // may hold a block of its own).
    void TearDown() override
    {
        EXPECT_EQ(mainPool()->getAllocatedBlocks(), m_baseBlocks);
        EngineTest::TearDown();
    }

    int m_baseBlocks = 0;
};

} // namespace

TEST_F(IOExceptionTest, CarriesNameAndMessageWithAnEmptySourceRecord)
{
    const struct {
        const char* name;
        const char* message;
        const char* text;
    } cases[] = {
        {"Unknown data source", "Small stream buffer", "IO Name: Unknown data source. Message: Small stream buffer"},
        {"", "Too small file!", "IO Name: . Message: Too small file!"},
        {"a%sb", "%d", "IO Name: a%sb. Message: %d"}, // texts are data, not formats
    };
    for (const auto& c : cases) {
        try {
            throw IOException(c.message, String(c.name));
        } catch (const Vornic3DException& e) {
            EXPECT_STREQ(e.message, c.text);
            EXPECT_STREQ(e.sourceFile, "");
            EXPECT_STREQ(e.function, "");
            EXPECT_EQ(e.line, 0);
        }
    }
}

TEST_F(IOExceptionTest, NameBeyondAsciiGivesTheLowBytes)
{
    String name("");
    const unsigned short units[] = {0xFEFF, 0x0141, 'x', 0x20AC, 0};
    name.setData(units);
    const IOException e("m", name);
    EXPECT_STREQ(e.message, "IO Name: Ax\xAC. Message: m");
}

TEST_F(IOExceptionTest, CopiesOwnTheirText)
{
    const IOException original("first", String("one"));
    {
        const IOException copy(original);
        EXPECT_STREQ(copy.message, original.message);
        EXPECT_NE(copy.buffer, original.buffer);
        EXPECT_EQ(copy.message, copy.buffer);
        EXPECT_STREQ(copy.function, "");
    }
    IOException assigned("second", String("two"));
    assigned = original;
    EXPECT_STREQ(assigned.message, "IO Name: one. Message: first");
    EXPECT_NE(assigned.buffer, original.buffer);
    assigned = assigned;
    EXPECT_STREQ(assigned.message, "IO Name: one. Message: first");
    EXPECT_EQ(mainPool()->getAllocatedBlocks(), m_baseBlocks + 2);
}

TEST_F(IOExceptionTest, FullPoolThrowsTheMemoryManagersExceptionAndKeepsNothing)
{
    const String name("stream");
    const char* message = "Small stream buffer";
    // Room for the text buffer alone: the name's temporary then fails.
    void* hole = VORNIC3D_ALLOC(static_cast<int>(std::strlen("stream") + std::strlen("IO Name: %s. Message: %s") +
                                                 std::strlen(message) + 1));
    testsupport::PoolFiller full(mainPool());
    VORNIC3D_FREE(hole);
    const int allocations = mainPool()->getAllocationCount();
    EXPECT_THROW(IOException(message, name), core::MemoryManagerException);
    EXPECT_EQ(mainPool()->getAllocationCount(), allocations + 1) << "the buffer was taken, the temporary failed";
    full.release();
    EXPECT_THROW(
        {
            testsupport::PoolFiller none(mainPool());
            IOException(message, name);
        },
        core::MemoryManagerException);
}
