#include "EngineTest.h"
#include "MemoryManagerInspector.h"

#include "core/AssertationFailedException.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using core::MemoryManager;
using core::MemoryManagerInspector;

namespace {

class DebugMonitorTest : public testsupport::EngineTest {
protected:
    void TearDown() override
    {
        if (m_mm != nullptr) {
            EXPECT_NO_THROW(delete m_mm);
        }
        EngineTest::TearDown();
    }

    void make(int size, int tableSize = 0)
    {
        core::MemoryManagerConfig config;
        config.debug_monitor_table_size = tableSize;
        m_mm = new MemoryManager(size, "Monitor", &config);
    }

    void* alloc(int size) { return VORNIC3D_POOL_ALLOC(m_mm, size); }
    void release(void* p) { VORNIC3D_POOL_FREE(m_mm, p); }

    MemoryManager* m_mm = nullptr;
};

// What a failing call threw: the exception's message, whichever engine type.
std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Vornic3DException& e) {
        return e.message;
    }
    return "<no exception>";
}

void* allocateInNamedFunction(MemoryManager* mm)
{
    return VORNIC3D_POOL_ALLOC(mm, 30);
}

} // namespace

// ---- overruns -------------------------------------------------------------------------

TEST_F(DebugMonitorTest, OverrunIntoTheNextHeaderNamesTheAllocatingFunction)
{
    make(4096);
    auto* a = static_cast<unsigned char*>(allocateInNamedFunction(m_mm));
    void* b = alloc(30);
    auto* next = MemoryManagerInspector::headerOf(b);
    const MemoryManager::BlockHeader saved = *next;
    std::memset(next, 0x55, 4); // the overrun reaches b's guard word

    EXPECT_EQ(failureOf([&] { MemoryManager::directMemPoolFree(m_mm, reinterpret_cast<void**>(&a), "freer", 9); }),
              "MemoryManager:debug recognizes that data is corrupted");
    const std::string written = log();
    EXPECT_NE(written.find("\"freer(9)\" recognizes that {anonymous}::allocateInNamedFunction("), std::string::npos) << written;
    EXPECT_NE(written.find("overwrites next block"), std::string::npos);

    *next = saved; // repair, so both blocks can go back
    release(a);
    release(b);
    EXPECT_TRUE(MemoryManagerInspector::consistent(*m_mm));
}

TEST_F(DebugMonitorTest, OverrunIntoTheTrailingGuardOfTheLastBlockIsFound)
{
    make(200);
    void* whole = alloc(m_mm->getDataBlockSize() - MemoryManager::kBlockHeaderSize);
    std::uint8_t* end = MemoryManagerInspector::areaEnd(*m_mm);
    const std::uint8_t saved = end[0];
    end[0] ^= 0xFF;
    EXPECT_EQ(failureOf([&] { release(whole); }), "MemoryManager:debug recognizes that data is corrupted");
    end[0] = saved;
    release(whole);
}

TEST_F(DebugMonitorTest, DamagedHeaderOfAFreedBlockIsTracedToTheBlockBefore)
{
    make(4096);
    void* a = allocateInNamedFunction(m_mm);
    void* b = alloc(30);
    auto* header = MemoryManagerInspector::headerOf(b);
    const MemoryManager::BlockHeader saved = *header;
    header->guard = 0;
    EXPECT_EQ(failureOf([&] { release(b); }), "MemoryManager: debug recognizes that data is corrupted");
    EXPECT_NE(log().find("recognizes that block"), std::string::npos);
    EXPECT_NE(log().find("allocateInNamedFunction("), std::string::npos);
    *header = saved;
    release(a);
    release(b);
}

// ---- misuse ---------------------------------------------------------------------------

TEST_F(DebugMonitorTest, DoubleFreesAndWildPointersFailWithoutDamage)
{
    make(4096);
    void* a = alloc(64);
    void* keeper = alloc(64);
    void* stale = a;
    release(a);
    unsigned char outside[64] = {};
    const struct {
        const char* name;
        void* pointer;
        const char* message;
    } cases[] = {
        {"double free", stale, "debugMonitorFree error: this block is already deallocated or block is corrupted"},
        {"inside a live block", static_cast<unsigned char*>(keeper) + 24,
         "MemoryManager:debug recognizes that block pointer is invalid"},
        {"misaligned", static_cast<unsigned char*>(keeper) + 3, "hwMemFree : block address is invalid"},
        {"outside the pool", outside + 32, "hwMemFree : block address is invalid"},
    };
    for (const auto& c : cases) {
        void* p = c.pointer;
        EXPECT_EQ(failureOf([&] { MemoryManager::directMemPoolFree(m_mm, &p, "f", 1); }), c.message) << c.name;
        EXPECT_TRUE(MemoryManagerInspector::consistent(*m_mm)) << c.name;
    }
    release(keeper);
}

TEST_F(DebugMonitorTest, HeaderWhoseTableIndexDoesNotNameItIsInvalid)
{
    make(4096);
    void* a = alloc(64);
    void* b = alloc(64);
    auto* header = MemoryManagerInspector::headerOf(b);
    const std::int32_t index = header->debug_index;
    for (std::int32_t wrong : {MemoryManagerInspector::headerOf(a)->debug_index, 1 << 30}) {
        header->debug_index = wrong;
        EXPECT_EQ(failureOf([&] { release(b); }), "MemoryManager:debug recognizes that block pointer is invalid");
    }
    header->debug_index = index;
    release(a);
    release(b);
}

// ---- table ----------------------------------------------------------------------------

TEST_F(DebugMonitorTest, DefaultTableOfASmallPoolHoldsOneEntryPerFortyBytes)
{
    make(40960);
    ASSERT_EQ(m_mm->getDebugTableSize(), 1024);
    std::vector<void*> live;
    for (int i = 0; i < 1024; ++i)
        live.push_back(alloc(1));
    const int used = m_mm->getUsedMem();
    clearLog();
    EXPECT_EQ(failureOf([&] { alloc(1); }),
              "debugMonitorAlloc : debug table memory is full (update your MemoryManager configuration)");
    EXPECT_NE(log().find("alloc_debug_table_size is too small"), std::string::npos);
    // The refused block went back: nothing is lost to the failure.
    EXPECT_EQ(m_mm->getUsedMem(), used);
    EXPECT_TRUE(MemoryManagerInspector::consistent(*m_mm));
    release(live[500]);
    live[500] = alloc(1); // the cleared entry is found again
    for (void* p : live)
        release(p);
}

// ---- leak report ----------------------------------------------------------------------

TEST_F(DebugMonitorTest, ReportWithoutLeaksWritesOnlyItsLowLine)
{
    make(4096);
    release(alloc(10));
    core::Debug::setVerbosity(core::Debug::LEVEL_LOW);
    clearLog();
    m_mm->debugMonitorCheck();
    EXPECT_EQ(log(), "  Low   |000001| debugMonitorCheck");
    core::Debug::setVerbosity(core::Debug::kDefaultVerbosity);
}

TEST_F(DebugMonitorTest, ElevenLeaksGiveTenLinesTheCountAndTheException)
{
    make(4096);
    std::vector<void*> leaks;
    for (int i = 0; i < 11; ++i)
        leaks.push_back(allocateInNamedFunction(m_mm));
    clearLog();
    EXPECT_EQ(failureOf([&] { m_mm->debugMonitorCheck(); }),
              "MemoryManager: memory leaks recognized (check debug messages)");
    const std::string written = log();
    EXPECT_EQ(testsupport::countOf(written, "allocation has memory leak."), 10);
    EXPECT_EQ(testsupport::countOf(written, "allocateInNamedFunction("), 10);
    EXPECT_EQ(testsupport::countOf(written, "your code has more than 10 memory leaks..\n"), 1);
    EXPECT_EQ(testsupport::countOf(written, "11 memory leaks recognized\n"), 1);
    EXPECT_NE(written.find("mem check(1/102)! (size:64)"), std::string::npos) << written;
    for (void* p : leaks)
        release(p);
}

TEST_F(DebugMonitorTest, ExactlyTenLeaksStillSayMoreThanTen)
{
    make(4096);
    std::vector<void*> leaks;
    for (int i = 0; i < 10; ++i)
        leaks.push_back(alloc(8));
    clearLog();
    EXPECT_THROW(m_mm->debugMonitorCheck(), core::MemoryManagerException);
    EXPECT_EQ(testsupport::countOf(log(), "your code has more than 10 memory leaks..\n"), 1);
    EXPECT_EQ(testsupport::countOf(log(), "10 memory leaks recognized\n"), 1);
    for (void* p : leaks)
        release(p);
}
