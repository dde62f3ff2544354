#include "EngineTest.h"
#include "PoolFiller.h"

#include "core/AssertationFailedException.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"
#include "core/StringPool.h"

#include <cstring>
#include <string>
#include <vector>

using core::StringPool;

namespace {

// A pool of its own, so that handles start at 0; its texts come from the
// fixture's string-pool memory manager.
class StringPoolTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        m_pool = new StringPool();
    }
    void TearDown() override
    {
        delete m_pool;
        EngineTest::TearDown();
    }

    StringPool& pool() { return *m_pool; }

    StringPool* m_pool = nullptr;
};

std::vector<unsigned char> bytesOf(StringPool& pool, int handle)
{
    const auto* data = reinterpret_cast<const unsigned char*>(pool.getData(handle));
    return std::vector<unsigned char>(data, data + pool.getSize(handle));
}

} // namespace

// ---- handles ------------------------------------------------------------------------

TEST_F(StringPoolTest, HandlesAreTheLowestFreeSlots)
{
    EXPECT_EQ(pool().allocString(4), 0);
    EXPECT_EQ(pool().allocString(4), 1);
    pool().freeString(0);
    EXPECT_FALSE(pool().isValid(0));
    EXPECT_EQ(pool().allocString(4), 0);

    for (int expected = 2; expected <= 4; ++expected)
        EXPECT_EQ(pool().allocString(4), expected);
    pool().freeString(3);
    pool().freeString(1);
    EXPECT_EQ(pool().allocString(4), 1);
    EXPECT_EQ(pool().allocString(4), 3);
    EXPECT_EQ(pool().allocString(4), 5);

    for (int handle = 0; handle <= 5; ++handle)
        pool().freeString(handle);
}

TEST_F(StringPoolTest, NewRecordIsZeroedWithOneReference)
{
    const int handle = pool().allocString(10);
    EXPECT_EQ(pool().getSize(handle), 10);
    EXPECT_EQ(bytesOf(pool(), handle), std::vector<unsigned char>(10, 0));

    pool().addRef(handle);
    pool().freeString(handle);
    EXPECT_TRUE(pool().isValid(handle)) << "one reference must remain";
    pool().freeString(handle);
    EXPECT_FALSE(pool().isValid(handle));
    EXPECT_EQ(stringPool()->getAllocatedBlocks(), 0);
}

TEST_F(StringPoolTest, BadOrFreedHandlesAreInvalidAndFailEveryOtherOperation)
{
    const int kept = pool().allocString(4);
    const int freed = pool().allocString(4);
    pool().freeString(freed);
    for (int bad : {-1, freed, 2, 1 << 30}) {
        bool valid = true;
        EXPECT_NO_THROW(valid = pool().isValid(bad)) << bad;
        EXPECT_FALSE(valid) << bad;
        EXPECT_THROW(pool().freeString(bad), AssertationFailedException) << bad;
        EXPECT_THROW(pool().addRef(bad), AssertationFailedException) << bad;
        EXPECT_THROW(pool().getSize(bad), AssertationFailedException) << bad;
        EXPECT_THROW(pool().getData(bad), AssertationFailedException) << bad;
        EXPECT_THROW(pool().reallocString(bad, 8), AssertationFailedException) << bad;
    }
    EXPECT_THROW(pool().allocString(0), AssertationFailedException);
    EXPECT_THROW(pool().reallocString(kept, 0), AssertationFailedException);
    pool().freeString(kept);
}

// ---- reallocation -----------------------------------------------------------------

TEST_F(StringPoolTest, ReallocationKeepsTheLeadingBytesAndTheHandle)
{
    const struct {
        int newSize;
        int kept;
    } cases[] = {{3, 3}, {6, 6}, {12, 6}};
    for (const auto& c : cases) {
        const int handle = pool().allocString(6);
        std::memcpy(pool().getData(handle), "abcdef", 6);
        pool().addRef(handle); // a sharer

        unsigned char* moved = pool().reallocString(handle, c.newSize);
        EXPECT_EQ(moved, reinterpret_cast<unsigned char*>(pool().getData(handle)));
        EXPECT_EQ(pool().getSize(handle), c.newSize);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(moved), static_cast<std::size_t>(c.kept)),
                  std::string("abcdef", static_cast<std::size_t>(c.kept)));

        pool().freeString(handle);
        EXPECT_TRUE(pool().isValid(handle)) << "the reference count must survive the move";
        pool().freeString(handle);
    }
    EXPECT_EQ(stringPool()->getAllocatedBlocks(), 0);
}

// ---- failures -----------------------------------------------------------------------

TEST_F(StringPoolTest, FullTextMemoryLeavesNoRecordBehind)
{
    const int before = pool().allocString(4);
    {
        testsupport::PoolFiller full(stringPool());
        EXPECT_THROW(pool().allocString(8), core::MemoryManagerException);
        EXPECT_THROW(pool().reallocString(before, 64), core::MemoryManagerException);
    }
    EXPECT_EQ(pool().getSize(before), 4) << "a failed move keeps the record";
    // No slot was taken by the failed allocation.
    EXPECT_EQ(pool().allocString(4), 1);
    pool().freeString(0);
    pool().freeString(1);
}

TEST_F(StringPoolTest, FailedTableGrowthGivesTheTextBack)
{
    // The first allocation of an empty table grows it in the main pool.
    const int textBlocks = stringPool()->getAllocatedBlocks();
    {
        testsupport::PoolFiller full(mainPool());
        EXPECT_THROW(pool().allocString(8), core::MemoryManagerException);
    }
    EXPECT_EQ(stringPool()->getAllocatedBlocks(), textBlocks);
    EXPECT_FALSE(pool().isValid(0));
    EXPECT_EQ(pool().allocString(8), 0);
    pool().freeString(0);
}

// ---- shut-down ----------------------------------------------------------------------

TEST_F(StringPoolTest, DestructionDeletesRecordsButLeavesTextsToTheLeakReport)
{
    auto* local = new StringPool();
    const int handle = local->allocString(16);
    unsigned char* text = reinterpret_cast<unsigned char*>(local->getData(handle));
    delete local;

    clearLog();
    EXPECT_THROW(stringPool()->debugMonitorCheck(), core::MemoryManagerException);
    EXPECT_NE(log().find("core::StringPool::allocString"), std::string::npos) << log();
    VORNIC3D_POOL_FREE(stringPool(), text);
}
