#include "EngineTest.h"
#include "PoolFiller.h"

#include "core/Globals.h"
#include "core/StringPool.h"

#include <algorithm>
#include <cstring>
#include <functional>

using core::StringPool;

namespace {

// The fixture's pool, still empty, so that handles start at 0.
class StringPoolTest : public testsupport::EngineTest {
protected:
    StringPool& pool() { return *core::Globals::get()->m_stringPool; }
};

} // namespace

// ---- handles ------------------------------------------------------------------------

TEST_F(StringPoolTest, HandlesAreTheLowestFreeSlotsAndLiveWhileReferenced)
{
    for (int expected = 0; expected <= 4; ++expected)
        EXPECT_EQ(pool().allocString(4), expected);
    pool().addRef(3);
    pool().freeString(3);
    EXPECT_TRUE(pool().isValid(3)) << "one reference remains";
    pool().freeString(3);
    pool().freeString(1);
    EXPECT_FALSE(pool().isValid(3));
    EXPECT_EQ(pool().allocString(4), 1);
    EXPECT_EQ(pool().allocString(4), 3);
    EXPECT_EQ(pool().allocString(4), 5);
    for (int handle = 0; handle <= 5; ++handle)
        pool().freeString(handle);
}

TEST_F(StringPoolTest, BadOrFreedHandlesAreInvalidAndFailEveryOtherOperation)
{
    const int kept = pool().allocString(4);
    const int freed = pool().allocString(4);
    pool().freeString(freed);
    for (int bad : {-1, freed, 2, 1 << 30}) {
        EXPECT_FALSE(pool().isValid(bad)) << bad;
        EXPECT_THROW(pool().freeString(bad), AssertationFailedException) << bad;
        EXPECT_THROW(pool().addRef(bad), AssertationFailedException) << bad;
        EXPECT_THROW(pool().getSize(bad), AssertationFailedException) << bad;
        EXPECT_THROW(pool().getData(bad), AssertationFailedException) << bad;
        EXPECT_THROW(pool().reallocString(bad, 8), AssertationFailedException) << bad;
    }
    pool().freeString(kept);
}

// Text memory of no bytes is refused by the memory manager itself, which
// says so; a refused record takes no slot, and a refused move keeps its text.
TEST_F(StringPoolTest, ATextOfNoBytesIsRefusedByTheMemoryManager)
{
    const int kept = pool().allocString(4);
    const struct {
        const char* name;
        std::function<void()> action;
    } cases[] = {
        {"allocString(0)", [&] { pool().allocString(0); }},
        {"allocString(-4)", [&] { pool().allocString(-4); }},
        {"reallocString(kept, 0)", [&] { pool().reallocString(kept, 0); }},
        {"reallocString(kept, -1)", [&] { pool().reallocString(kept, -1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        EXPECT_EQ(testsupport::messageOf<AssertationFailedException>(c.action), "directMemPoolAlloc : size <= 0");
        EXPECT_EQ(testsupport::countOf(log(), " ERROR  |"), 1) << log();
        EXPECT_NE(log().find("| directMemPoolAlloc : size <= 0"), std::string::npos) << log();
    }
    EXPECT_EQ(pool().getSize(kept), 4);
    EXPECT_EQ(pool().allocString(4), 1) << "the refused records took no slot";
    pool().freeString(0);
    pool().freeString(1);
}

// ---- reallocation -----------------------------------------------------------------

TEST_F(StringPoolTest, NewRecordIsZeroedAndAMoveKeepsItsLeadingBytesHandleAndCount)
{
    for (int newSize : {3, 6, 12}) {
        const int handle = pool().allocString(6);
        auto* data = reinterpret_cast<char*>(pool().getData(handle));
        EXPECT_EQ(std::string(data, 6), std::string(6, '\0'));
        std::memcpy(data, "abcdef", 6);
        pool().addRef(handle);
        data = reinterpret_cast<char*>(pool().reallocString(handle, newSize));
        EXPECT_EQ(data, reinterpret_cast<char*>(pool().getData(handle)));
        EXPECT_EQ(pool().getSize(handle), newSize);
        EXPECT_EQ(std::string(data, std::min(newSize, 6)), std::string("abcdef", std::min(newSize, 6)));
        pool().freeString(handle);
        EXPECT_TRUE(pool().isValid(handle)) << newSize;
        pool().freeString(handle);
    }
}

// ---- failures -----------------------------------------------------------------------

TEST_F(StringPoolTest, FailedAllocationsLeaveNoRecordBehind)
{
    {
        testsupport::PoolFiller full(mainPool()); // the first allocation grows the table there
        EXPECT_THROW(pool().allocString(8), core::MemoryManagerException);
    }
    EXPECT_EQ(stringPool()->getAllocatedBlocks(), 0) << "the text went back";
    const int before = pool().allocString(4);
    {
        testsupport::PoolFiller full(stringPool());
        EXPECT_THROW(pool().allocString(8), core::MemoryManagerException);
        EXPECT_THROW(pool().reallocString(before, 64), core::MemoryManagerException);
    }
    EXPECT_EQ(pool().getSize(before), 4) << "a failed move keeps the record";
    EXPECT_EQ(pool().allocString(4), 1) << "the failed allocations took no slot";
    pool().freeString(0);
    pool().freeString(1);
}

// ---- shut-down ----------------------------------------------------------------------

TEST_F(StringPoolTest, DestructionDeletesRecordsButLeavesTextsToTheLeakReport)
{
    auto* local = new StringPool();
    const int handle = local->allocString(16);
    auto* text = reinterpret_cast<unsigned char*>(local->getData(handle));
    delete local;
    clearLog();
    EXPECT_THROW(stringPool()->debugMonitorCheck(), core::MemoryManagerException);
    EXPECT_NE(log().find("core::StringPool::allocString"), std::string::npos) << log();
    VORNIC3D_POOL_FREE(stringPool(), text);
}
