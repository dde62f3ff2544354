#include "EngineTest.h"
#include "MemoryManagerInspector.h"

#include "core/AssertationFailedException.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

using core::MemoryManager;
using core::MemoryManagerInspector;

namespace {

constexpr int kHeader = MemoryManager::kBlockHeaderSize;
constexpr int kAlign = MemoryManager::kBlockAlignment;

// A manager of its own beside the fixture's pools, destroyed by the test.
class MemoryManagerTest : public testsupport::EngineTest {
protected:
    void make(int size, const core::MemoryManagerConfig* config = nullptr)
    {
        m_mm = new MemoryManager(size, "Test", config);
    }

    void TearDown() override
    {
        if (m_mm != nullptr) {
            EXPECT_TRUE(MemoryManagerInspector::consistent(*m_mm));
            EXPECT_NO_THROW(delete m_mm);
        }
        EngineTest::TearDown();
    }

    void* alloc(int size) { return VORNIC3D_POOL_ALLOC(m_mm, size); }
    void release(void* p) { VORNIC3D_POOL_FREE(m_mm, p); }
    std::size_t freeBlockCount() const { return MemoryManagerInspector::freeBlocks(*m_mm).size(); }

    MemoryManager* m_mm = nullptr;
};

template <typename E>
std::string messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.message;
    }
    return "<no exception>";
}

} // namespace

// ---- construction -----------------------------------------------------------------

TEST_F(MemoryManagerTest, AreaIsTheRequestCutToTwentyAndStartsAsOneFreeBlock)
{
    const struct {
        int request;
        int area;
    } cases[] = {{5242880, 5242880}, {40960, 40960}, {1000, 1000}, {1019, 1000}, {59, 40}};
    for (const auto& c : cases) {
        MemoryManager mm(c.request, "Sizes", nullptr);
        EXPECT_EQ(mm.getDataBlockSize(), c.area) << c.request;
        EXPECT_EQ(mm.getFreeMem(), c.area);
        ASSERT_EQ(MemoryManagerInspector::freeBlocks(mm).size(), 1u);
        EXPECT_EQ(mm.getDebugTableSize(), c.area / MemoryManager::kPoolBytesPerTableEntry);
    }
}

TEST_F(MemoryManagerTest, ConfigurationErrorsAreReportedWithTheirTexts)
{
    auto alloc = +[](int size) { return std::malloc(static_cast<std::size_t>(size)); };
    auto release = +[](void* p) { std::free(p); };
    core::MemoryManagerConfig onlyAlloc;
    onlyAlloc.myAlloc = alloc;
    core::MemoryManagerConfig onlyPoolFree;
    onlyPoolFree.myPoolFree = release;
    core::MemoryManagerConfig negativeTable;
    negativeTable.debug_monitor_table_size = -1;
    const struct {
        int size;
        const char* name;
        const core::MemoryManagerConfig* config;
        const char* message;
    } cases[] = {
        {0, "x", nullptr, "MemoryManager constructor: size <= 0"},
        {100, nullptr, nullptr, "MemoryManager constructor: name == 0"},
        {100, "x", &onlyAlloc, "MemoryManager constructor : myFree/myAlloc configuration error"},
        {100, "x", &onlyPoolFree, "MemoryManager constructor : myPoolFree/myPoolAlloc configuration error"},
        {100, "x", &negativeTable, "MemoryManager constructor: debug_monitor_table_size < 0"},
        {19, "x", nullptr, "debugMonitorInit : data_block_size <= 0"},
        {39, "x", nullptr, "debugMonitorInit : default debug size <= 0"},
    };
    for (const auto& c : cases) {
        clearLog();
        EXPECT_EQ(messageOf<AssertationFailedException>([&] { MemoryManager mm(c.size, c.name, c.config); }),
                  c.message);
        EXPECT_NE(log().find(c.message), std::string::npos) << c.message;
    }
}

// ---- sizes and alignment ----------------------------------------------------------

TEST_F(MemoryManagerTest, BlockSizesWhenSplittingAndWhenTakenWhole)
{
    make(64 * 1024);
    // Block sizes taken from a large free block: header, the 4 and 20 rounding
    // steps of the block arithmetic, then the 8-byte alignment.
    const struct {
        int request;
        int block;
    } cases[] = {{1, 24}, {4, 32}, {12, 48}, {20, 40}, {21, 48}, {100, 120}, {1000, 1024}};
    for (const auto& c : cases) {
        const int usedBefore = m_mm->getUsedMem();
        void* p = alloc(c.request);
        EXPECT_EQ(m_mm->getUsedMem() - usedBefore, c.block) << c.request;
        EXPECT_EQ(c.block % kAlign, 0);
        EXPECT_GE(c.block, c.request + kHeader);
        release(p);
    }
}

TEST_F(MemoryManagerTest, EveryPointerIsEightByteAlignedWhateverTheMix)
{
    make(64 * 1024);
    std::vector<void*> live;
    for (int size = 1; size <= 200; size += 7) {
        void* p = alloc(size);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % kAlign, 0u) << size;
        std::memset(p, 0xAB, static_cast<std::size_t>(size)); // the caller owns every byte it asked for
        live.push_back(p);
    }
    for (std::size_t i = 0; i < live.size(); i += 2)
        release(live[i]);
    for (int size = 3; size <= 90; size += 11)
        live.push_back(alloc(size));
    for (void* p : live)
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % kAlign, 0u);
    EXPECT_TRUE(MemoryManagerInspector::consistent(*m_mm));
    for (std::size_t i = 1; i < live.size(); i += (i < 29 ? 2 : 1))
        release(live[i]);
}

// ---- reuse ------------------------------------------------------------------------

TEST_F(MemoryManagerTest, FreedBlockIsReusedByARequestOfTheSameOrASlightlySmallerSize)
{
    make(4096);
    void* a = alloc(100);
    void* keeper = alloc(16); // keeps a's block from merging into the tail
    release(a);
    void* same = alloc(100);
    EXPECT_EQ(same, a);
    release(same);
    void* smaller = alloc(90); // too small to split a's block: taken whole
    EXPECT_EQ(smaller, a);
    release(smaller);
    release(keeper);
}

TEST_F(MemoryManagerTest, ABlockTooSmallToSplitIsTakenRatherThanReportingFull)
{
    make(1000);
    std::vector<void*> blocks;
    void* p = nullptr;
    while ((p = [&]() -> void* {
                try {
                    return alloc(100);
                } catch (const core::MemoryManagerException&) {
                    return nullptr;
                }
            }()) != nullptr)
        blocks.push_back(p);
    ASSERT_GE(blocks.size(), 3u);
    release(blocks[1]);
    // Only the freed 128-byte block and a tail too small for 100 bytes remain.
    void* reused = alloc(96);
    EXPECT_EQ(reused, blocks[1]);
    blocks[1] = reused;
    for (void* b : blocks)
        release(b);
}

// ---- merging ----------------------------------------------------------------------

TEST_F(MemoryManagerTest, FreeingMergesWithEveryTouchingFreeNeighbour)
{
    // Five neighbouring blocks A..E and a keeper; `first` are freed before
    // `last`, then the free list is counted (the tail counts as one block).
    const struct {
        const char* name;
        std::vector<int> first;
        int last;
        std::size_t freeBlocks;
        bool doubleConnection;
    } cases[] = {
        {"no free neighbour", {}, 2, 2, false},
        {"free block before", {1}, 2, 2, false},
        {"free block after", {3}, 2, 2, false},
        {"free on both sides", {1, 3}, 2, 2, true},
        {"before the first free block", {2}, 1, 2, false},
        {"after the last free block", {0}, 1, 2, false},
        {"separate blocks", {0, 4}, 2, 4, false},
        {"first block of the area", {1}, 0, 2, false},
    };
    for (const auto& c : cases) {
        make(4096);
        core::Debug::setVerbosity(core::Debug::LEVEL_LOW);
        void* blocks[5];
        for (void*& b : blocks)
            b = alloc(40);
        void* keeper = alloc(8);
        for (int i : c.first)
            release(blocks[i]);
        clearLog();
        release(blocks[c.last]);
        EXPECT_EQ(freeBlockCount(), c.freeBlocks) << c.name;
        EXPECT_EQ(log().find("MemoryManager: double connection!!\n") != std::string::npos, c.doubleConnection)
            << c.name;
        EXPECT_TRUE(MemoryManagerInspector::consistent(*m_mm)) << c.name;
        for (int i = 0; i < 5; ++i) {
            const bool freed = i == c.last || std::find(c.first.begin(), c.first.end(), i) != c.first.end();
            if (!freed)
                release(blocks[i]);
        }
        release(keeper);
        EXPECT_EQ(freeBlockCount(), 1u) << c.name;
        core::Debug::setVerbosity(core::Debug::kDefaultVerbosity);
        delete m_mm;
        m_mm = nullptr;
    }
}

// ---- exhaustion ---------------------------------------------------------------------

TEST_F(MemoryManagerTest, MemoryFullLeavesAWorkingManager)
{
    make(2000);
    std::vector<void*> blocks;
    std::string message;
    for (;;) {
        try {
            blocks.push_back(alloc(64));
        } catch (const core::MemoryManagerException& e) {
            message = e.message;
            break;
        }
    }
    EXPECT_EQ(message, "MemoryManager: memory full");
    EXPECT_TRUE(MemoryManagerInspector::consistent(*m_mm));
    release(blocks.back());
    blocks.back() = alloc(64);
    for (void* b : blocks)
        release(b);
    EXPECT_EQ(m_mm->getFreeMem(), m_mm->getDataBlockSize());
}

TEST_F(MemoryManagerTest, TakingTheLastFreeBlockLeavesAnEmptyListThatRefillsOnRelease)
{
    make(200);
    // The whole area in one exact fit: the free list becomes empty.
    void* whole = alloc(m_mm->getDataBlockSize() - kHeader);
    EXPECT_EQ(freeBlockCount(), 0u);
    EXPECT_EQ(messageOf<core::MemoryManagerException>([&] { alloc(1); }), "MemoryManager: memory full");
    release(whole);
    EXPECT_EQ(freeBlockCount(), 1u);
    release(alloc(8));
}

TEST_F(MemoryManagerTest, RequestOfTheWholeAreaIsTooBigBeforeAnySearch)
{
    make(1000);
    for (int size : {1000, 1001, 1 << 30}) {
        clearLog();
        EXPECT_EQ(messageOf<AssertationFailedException>([&] { alloc(size); }),
                  "hwMemAlloc : allocated block size is too big");
        EXPECT_NE(log().find("hwMemAlloc : allocated block size is too big"), std::string::npos);
    }
    EXPECT_EQ(m_mm->getAllocationCount(), 0);
}

TEST_F(MemoryManagerTest, EntryPointsRejectMissingFunctionAndBadSizes)
{
    make(1000);
    void* null = nullptr;
    const struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[&] { MemoryManager::memAlloc(8, nullptr, 1); }, "memAlloc : use VORNIC3D_ALLOC macro"},
        {[&] { MemoryManager::memAlloc(0, "f", 1); }, "memAlloc : size <= 0"},
        {[&] { MemoryManager::memFree(&null, nullptr, 1); }, "memFree : use VORNIC3D_FREE macro"},
        {[&] { MemoryManager::memFree(nullptr, "f", 1); }, "memFree : ptr == 0"},
        {[&] { MemoryManager::memFree(&null, "f", 1); }, "memFree : *ptr == 0"},
        {[&] { MemoryManager::directMemPoolAlloc(m_mm, 8, nullptr, 1); },
         "directMemPoolAlloc : use VORNIC3D_POOL_ALLOC macro"},
        {[&] { MemoryManager::directMemPoolAlloc(m_mm, -5, "f", 1); }, "directMemPoolAlloc : size <= 0"},
        {[&] { MemoryManager::directMemPoolFree(m_mm, &null, nullptr, 1); },
         "directMemPoolFree : use VORNIC3D_POOL_FREE macro"},
        {[&] { MemoryManager::directMemPoolFree(m_mm, nullptr, "f", 1); }, "directMemPoolFree : ptr == 0"},
        {[&] { MemoryManager::directMemPoolFree(m_mm, &null, "f", 1); }, "directMemPoolFree : *ptr == 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageOf<AssertationFailedException>(c.call), c.message);
}

// ---- statistics and log -----------------------------------------------------------------

TEST_F(MemoryManagerTest, StatisticsFollowAllocationsAndPeak)
{
    make(4096);
    void* a = alloc(100);
    void* b = alloc(200);
    const int peak = m_mm->getUsedMem();
    release(a);
    void* c = alloc(10);
    EXPECT_EQ(m_mm->getPeakMem(), peak);
    EXPECT_EQ(m_mm->getAllocationCount(), 3);
    EXPECT_EQ(m_mm->getAllocatedBlocks(), 2);
    EXPECT_EQ(m_mm->getUsedMem() + m_mm->getFreeMem(), m_mm->getDataBlockSize());
    release(b);
    release(c);
    EXPECT_EQ(m_mm->getUsedMem(), 0);
    EXPECT_EQ(m_mm->getAllocatedBlocks(), 0);
}

TEST_F(MemoryManagerTest, AllocationAndReleaseAreLoggedAtLevelFiveWithTheCaller)
{
    make(4096);
    core::Debug::setVerbosity(core::Debug::LEVEL_NORMAL);
    void* p = MemoryManager::directMemPoolAlloc(m_mm, 1, "game::Level::load", 42);
    const std::uint32_t offset = MemoryManagerInspector::offsetOf(*m_mm, p);
    MemoryManager::directMemPoolFree(m_mm, &p, "game::Level::unload", 7);
    EXPECT_EQ(p, nullptr);
    char expected[160];
    std::snprintf(expected, sizeof expected, "MemoryManager: allocate 24 bytes (game::Level::load(42)) 0x%X\n", offset);
    EXPECT_NE(log().find(expected), std::string::npos) << log();
    std::snprintf(expected, sizeof expected, "MemoryManager: free 24 bytes (game::Level::unload(7)) 0x%X\n", offset);
    EXPECT_NE(log().find(expected), std::string::npos) << log();
    core::Debug::setVerbosity(core::Debug::kDefaultVerbosity);
}

// ---- hooks --------------------------------------------------------------------------------

namespace {
int g_hookAllocs = 0;
int g_hookFrees = 0;
int g_poolAllocs = 0;
int g_poolFrees = 0;
} // namespace

TEST_F(MemoryManagerTest, AllocatorHooksReplaceThePoolAndCountNothing)
{
    core::MemoryManagerConfig config;
    config.myAlloc = [](int size) {
        ++g_hookAllocs;
        return std::malloc(static_cast<std::size_t>(size));
    };
    config.myFree = [](void* p) {
        ++g_hookFrees;
        std::free(p);
    };
    g_hookAllocs = g_hookFrees = 0;
    MemoryManager* hooked = new MemoryManager(1000, "Hooked", &config);
    void* p = VORNIC3D_POOL_ALLOC(hooked, 5000); // larger than the pool would be
    void* copy = p;
    MemoryManager::directMemPoolFree(hooked, &p, "f", 1);
    EXPECT_EQ(p, copy); // the caller's pointer is left as it was
    EXPECT_EQ(g_hookAllocs, 1);
    EXPECT_EQ(g_hookFrees, 1);
    EXPECT_EQ(hooked->getAllocationCount(), 0);
    EXPECT_EQ(hooked->getUsedMem(), 0);
    clearLog();
    hooked->debugMonitorCheck();
    EXPECT_EQ(log(), "");
    EXPECT_NO_THROW(delete hooked);
}

TEST_F(MemoryManagerTest, PoolHooksSupplyThePoolAndTheTable)
{
    core::MemoryManagerConfig config;
    config.myPoolAlloc = [](int size) {
        ++g_poolAllocs;
        return std::malloc(static_cast<std::size_t>(size));
    };
    config.myPoolFree = [](void* p) {
        ++g_poolFrees;
        std::free(p);
    };
    g_poolAllocs = g_poolFrees = 0;
    make(1000, &config);
    release(alloc(10));
    delete m_mm;
    m_mm = nullptr;
    EXPECT_EQ(g_poolAllocs, 2);
    EXPECT_EQ(g_poolFrees, 2);
}

// ---- destruction ----------------------------------------------------------------------------

TEST_F(MemoryManagerTest, DestroyingWithLiveOrMiscountedMemoryFails)
{
    make(1000);
    void* p = alloc(10);
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { delete m_mm; }),
              "MemoryManager destructor: MemoryManager: Memory leak! memFree is missing!");

    make(1000);
    MemoryManagerInspector::setFreeMem(*m_mm, m_mm->getFreeMem() - 8);
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { delete m_mm; }),
              "MemoryManager destructor: MemoryManager: free_mem != mem_data_block_size");
    m_mm = nullptr;
    (void)p; // its pool went back with the failed manager
}

// ---- randomised churn ---------------------------------------------------------------------

TEST_F(MemoryManagerTest, RandomChurnKeepsThePoolConsistentAfterEveryStep)
{
    make(32 * 1024);
    std::mt19937 random(12345);
    std::vector<std::pair<unsigned char*, int>> live;
    for (int step = 0; step < 3000; ++step) {
        const bool allocate = live.empty() || (random() % 100) < 55;
        if (allocate) {
            const int size = 1 + static_cast<int>(random() % 300);
            try {
                auto* p = static_cast<unsigned char*>(alloc(size));
                std::memset(p, static_cast<int>(size & 0xFF), static_cast<std::size_t>(size));
                live.emplace_back(p, size);
            } catch (const core::MemoryManagerException& e) {
                ASSERT_STREQ(e.message, "MemoryManager: memory full");
            }
        } else {
            const std::size_t i = random() % live.size();
            auto [p, size] = live[i];
            for (int k = 0; k < size; ++k)
                ASSERT_EQ(p[k], static_cast<unsigned char>(size & 0xFF)) << "block contents changed";
            release(p);
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
        }
        ASSERT_TRUE(MemoryManagerInspector::consistent(*m_mm)) << "step " << step;
    }
    for (auto& [p, size] : live)
        release(p);
    EXPECT_EQ(freeBlockCount(), 1u);
}
