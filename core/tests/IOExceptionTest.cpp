#include "EngineTest.h"
#include "PoolFiller.h"

#include "core/IOException.h"
#include "core/String.h"

#include <cstring>

using core::IOException;
using core::String;

namespace {

class IOExceptionTest : public testsupport::EngineTest {};

} // namespace

TEST_F(IOExceptionTest, CarriesNameAndMessage)
{
    String wide("");
    const unsigned short units[] = {0xFEFF, 0x0141, 'x', 0x20AC, 0};
    wide.setData(units);
    const struct {
        String name;
        const char* message;
        const char* text;
    } cases[] = {
        {String(""), "Too small file!", "IO Name: . Message: Too small file!"},
        {String("a%sb"), "%d", "IO Name: a%sb. Message: %d"}, // texts are data, not formats
        {wide, "m", "IO Name: Ax\xAC. Message: m"},           // the low byte of each character
    };
    for (const auto& c : cases)
        EXPECT_STREQ(IOException(c.message, c.name).message, c.text);
}

TEST_F(IOExceptionTest, CopiesOwnTheirText)
{
    const String one("one");
    const int blocks = mainPool()->getAllocatedBlocks();
    const IOException original("first", one);
    const IOException copy(original);
    IOException assigned("second", one);
    assigned = original;
    const IOException& itself = assigned; // through a reference, as self-assignment usually comes
    assigned = itself;
    EXPECT_STREQ(copy.message, original.message);
    EXPECT_STREQ(assigned.message, original.message);
    EXPECT_EQ(mainPool()->getAllocatedBlocks(), blocks + 3) << "each one has a buffer of its own";
}

TEST_F(IOExceptionTest, FullPoolThrowsTheMemoryManagersExceptionAndKeepsNothing)
{
    const String name("stream");
    const char* message = "Small stream buffer";
    // Room for the text buffer alone: the name's temporary then fails.
    void* hole = VORNIC3D_ALLOC(
        static_cast<int>(std::strlen("stream") + std::strlen("IO Name: %s. Message: %s") + std::strlen(message) + 1));
    testsupport::PoolFiller full(mainPool());
    VORNIC3D_FREE(hole);
    const int allocations = mainPool()->getAllocationCount();
    EXPECT_THROW(IOException(message, name), core::MemoryManagerException);
    EXPECT_EQ(mainPool()->getAllocationCount(), allocations + 1) << "the buffer was taken, the temporary failed";
}
