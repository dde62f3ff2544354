#include "PoolTest.h"

#include "core/Debug.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

using core::MemoryManager;
using core::MemoryManagerInspector;
using testsupport::countOf;
using testsupport::messageOf;

namespace {

class MemoryManagerTest : public testsupport::PoolTest {};

// Whatever engine exception `action` throws.
std::string failureOf(const std::function<void()>& action)
{
    return messageOf<Vornic3DException>(action);
}

// Five blocks of one size in a pool of their own and a keeper holding the
// rest of it, so that freeing some of the five meets every shape of free
// neighbours. What is left is freed at the end, which must leave the pool one
// free block again.
struct FiveBlocks {
    FiveBlocks()
    {
        for (void*& b : blocks)
            b = VORNIC3D_POOL_ALLOC(&mm, 40);
        keeper = VORNIC3D_POOL_ALLOC(&mm, mm.getFreeMem() - MemoryManager::kBlockHeaderSize);
    }
    ~FiveBlocks()
    {
        for (void*& b : blocks)
            if (b != nullptr)
                VORNIC3D_POOL_FREE(&mm, b);
        VORNIC3D_POOL_FREE(&mm, keeper);
        EXPECT_EQ(MemoryManagerInspector::freeBlocks(mm).size(), 1u);
    }

    MemoryManager mm{4096, "Merge", nullptr};
    void* blocks[5];
    void* keeper;
};

void* allocateInNamedFunction(MemoryManager* mm)
{
    return VORNIC3D_POOL_ALLOC(mm, 30);
}

int g_allocs = 0;
int g_frees = 0;
void* countedAlloc(int size)
{
    ++g_allocs;
    return std::malloc(static_cast<std::size_t>(size));
}
void countedFree(void* p)
{
    ++g_frees;
    std::free(p);
}

} // namespace

// ---- misuse -------------------------------------------------------------------------

TEST_F(MemoryManagerTest, MisuseFailsTheAssertion)
{
    make(1000);
    core::MemoryManagerConfig onlyAlloc, onlyPoolFree, negativeTable;
    onlyAlloc.myAlloc = countedAlloc;
    onlyPoolFree.myPoolFree = countedFree;
    negativeTable.debug_monitor_table_size = -1;
    void* null = nullptr;
    const char* const tooBig = "hwMemAlloc : allocated block size is too big";
    const struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[] { MemoryManager(0, "x", nullptr); }, "MemoryManager constructor: size <= 0"},
        {[] { MemoryManager(100, nullptr, nullptr); }, "MemoryManager constructor: name == 0"},
        {[&] { MemoryManager(100, "x", &onlyAlloc); },
         "MemoryManager constructor : myFree/myAlloc configuration error"},
        {[&] { MemoryManager(100, "x", &onlyPoolFree); },
         "MemoryManager constructor : myPoolFree/myPoolAlloc configuration error"},
        {[&] { MemoryManager(100, "x", &negativeTable); }, "MemoryManager constructor: debug_monitor_table_size < 0"},
        {[] { MemoryManager(19, "x", nullptr); }, "debugMonitorInit : data_block_size <= 0"},
        {[] { MemoryManager(39, "x", nullptr); }, "debugMonitorInit : default debug size <= 0"},
        {[&] { MemoryManager::memAlloc(0, "f", 1); }, "memAlloc : size <= 0"},
        {[&] { MemoryManager::memFree(nullptr, "f", 1); }, "memFree : ptr == 0"},
        {[&] { MemoryManager::memFree(&null, "f", 1); }, "memFree : *ptr == 0"},
        {[&] { MemoryManager::directMemPoolAlloc(m_mm, -5, "f", 1); }, "directMemPoolAlloc : size <= 0"},
        {[&] { MemoryManager::directMemPoolFree(m_mm, nullptr, "f", 1); }, "directMemPoolFree : ptr == 0"},
        {[&] { MemoryManager::directMemPoolFree(m_mm, &null, "f", 1); }, "directMemPoolFree : *ptr == 0"},
        // The whole area is too big before any search: a block needs its header too.
        {[&] { alloc(1000); }, tooBig},
        {[&] { alloc(1 << 30); }, tooBig},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageOf<AssertationFailedException>(c.call), c.message);
    EXPECT_EQ(m_mm->getAllocationCount(), 0);
}

// ---- sizes, reuse and merging -------------------------------------------------------

TEST_F(MemoryManagerTest, AreaAndBlockSizes)
{
    // The area is cut to a multiple of 20.
    EXPECT_EQ(MemoryManager(1019, "Sizes", nullptr).getDataBlockSize(), 1000);
    EXPECT_EQ(MemoryManager(59, "Sizes", nullptr).getDataBlockSize(), 40);
    make(64 * 1024);
    // Header, the 4 and 20 rounding steps of the block arithmetic, then the alignment.
    const struct {
        int request, block;
    } cases[] = {{1, 24}, {4, 32}, {12, 48}, {20, 40}, {21, 48}, {100, 120}, {1000, 1024}};
    for (const auto& c : cases) {
        void* p = alloc(c.request);
        EXPECT_EQ(m_mm->getUsedMem(), c.block) << c.request;
        release(p);
    }
}

TEST_F(MemoryManagerTest, FreedBlockTooSmallToSplitIsTakenWholeByTheSameOrASmallerRequest)
{
    make(1000);
    std::vector<void*> blocks = fill(100); // leaves a tail too small for any of the requests
    ASSERT_GE(blocks.size(), 3u);
    void* const freed = blocks[1];
    for (int size : {100, 96, 90}) {
        release(blocks[1]);
        blocks[1] = alloc(size);
        EXPECT_EQ(blocks[1], freed) << size;
    }
    for (void* b : blocks)
        release(b);
}

TEST_F(MemoryManagerTest, FreeingMergesWithEveryTouchingFreeNeighbour)
{
    // Blocks 0..4 and a keeper holding the rest of the pool, so that a block
    // may also go to the end of the free list; `first` are freed before
    // `last`, then the free list is counted.
    const struct {
        const char* name;
        std::vector<int> first;
        int last;
        std::size_t freeBlocks;
        bool doubleConnection;
    } cases[] = {
        {"no free neighbour", {}, 2, 1, false},
        {"free block before", {1}, 2, 1, false},
        {"free block after", {3}, 2, 1, false},
        {"free on both sides", {1, 3}, 2, 1, true},
        {"before the first free block", {2}, 1, 1, false},
        {"after the last free block", {0}, 1, 1, false},
        {"separate blocks", {0, 4}, 2, 3, false},
        {"first block of the area", {1}, 0, 1, false},
    };
    core::Debug::setVerbosity(core::Debug::LEVEL_LOW);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FiveBlocks pool;
        MemoryManager& mm = pool.mm;
        void** blocks = pool.blocks;
        for (int i : c.first)
            VORNIC3D_POOL_FREE(&mm, blocks[i]);
        clearLog();
        VORNIC3D_POOL_FREE(&mm, blocks[c.last]);
        EXPECT_EQ(MemoryManagerInspector::freeBlocks(mm).size(), c.freeBlocks);
        EXPECT_EQ(log().find("MemoryManager: double connection!!\n") != std::string::npos, c.doubleConnection);
        EXPECT_TRUE(MemoryManagerInspector::consistent(mm));
    }
    core::Debug::setVerbosity(core::Debug::kDefaultVerbosity);
}

TEST_F(MemoryManagerTest, EachMergeLogsWhichBlockItGrowsWithOffsetsAndSizes)
{
    // Blocks 0..4 of one size and a keeper holding the rest of the pool;
    // `first` are freed before `last`. A merge line names the lower block,
    // then the higher one, with their sizes in blocks; the lower one grows.
    enum Grows { kFirst, kNext };
    struct Merge {
        Grows grows;
        int lower, higher, lowerBlocks, higherBlocks;
    };
    const struct {
        const char* name;
        std::vector<int> first;
        int last;
        std::vector<Merge> merges;
        int mergedFrom, mergedBlocks; // the free block that holds `last` afterwards
    } cases[] = {
        {"no free neighbour", {}, 2, {}, 2, 1},
        {"after a free block", {1}, 2, {{kFirst, 1, 2, 1, 1}}, 1, 2},
        {"before the head", {2}, 1, {{kNext, 1, 2, 1, 1}}, 1, 2},
        {"first block of the area before the head", {1}, 0, {{kNext, 0, 1, 1, 1}}, 0, 2},
        {"between two free blocks, touching the later", {0, 3}, 2, {{kNext, 2, 3, 1, 1}}, 2, 2},
        {"from the end backwards", {4, 3}, 2, {{kNext, 2, 3, 1, 2}}, 2, 3},
        {"touching both", {1, 3}, 2, {{kFirst, 1, 2, 1, 1}, {kFirst, 1, 3, 2, 1}}, 1, 3},
    };
    core::Debug::setVerbosity(core::Debug::LEVEL_LOW);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FiveBlocks pool;
        MemoryManager& mm = pool.mm;
        void** blocks = pool.blocks;
        std::uint32_t offsets[5];
        for (int i = 0; i < 5; ++i)
            offsets[i] = MemoryManagerInspector::offsetOf(mm, blocks[i]);
        const int blockSize = MemoryManagerInspector::headerOf(blocks[0])->size;
        for (int i : c.first) {
            VORNIC3D_POOL_FREE(&mm, blocks[i]);
            ASSERT_EQ(blocks[i], nullptr);
        }
        const int used = mm.getUsedMem();
        const int freeBytes = mm.getFreeMem();
        const int allocated = mm.getAllocatedBlocks();
        // Not cleared: the failures of earlier rows are printed into the log.
        const std::size_t logStart = log().size();
        VORNIC3D_POOL_FREE(&mm, blocks[c.last]);

        const std::string written = log().substr(logStart);
        std::size_t from = 0;
        for (const Merge& m : c.merges) {
            const int lowerSize = m.lowerBlocks * blockSize;
            const int higherSize = m.higherBlocks * blockSize;
            char line[160];
            std::snprintf(line, sizeof line,
                          m.grows == kFirst
                              ? "MemoryManager: connect blocks first (0x%X) -> next (0x%X) (new size:%d + %d = %d)\n"
                              : "MemoryManager: connect blocks next (0x%X) -> first (0x%X) (new size:%d + %d = %d)\n",
                          offsets[m.lower], offsets[m.higher], lowerSize, higherSize, lowerSize + higherSize);
            from = written.find(line, from);
            EXPECT_NE(from, std::string::npos) << "missing or out of order: " << line;
        }
        EXPECT_EQ(testsupport::countOf(written, "MemoryManager: connect blocks "), static_cast<int>(c.merges.size()));

        EXPECT_EQ(mm.getUsedMem(), used - blockSize);
        EXPECT_EQ(mm.getFreeMem(), freeBytes + blockSize);
        EXPECT_EQ(mm.getAllocatedBlocks(), allocated - 1);
        EXPECT_TRUE(MemoryManagerInspector::consistent(mm));
        // The merged block is taken whole by a request of exactly its size.
        void* merged = VORNIC3D_POOL_ALLOC(&mm, c.mergedBlocks * blockSize - MemoryManager::kBlockHeaderSize);
        EXPECT_EQ(MemoryManagerInspector::offsetOf(mm, merged), offsets[c.mergedFrom]);
        EXPECT_EQ(mm.getUsedMem(), used - blockSize + c.mergedBlocks * blockSize);
        EXPECT_TRUE(MemoryManagerInspector::consistent(mm));

        VORNIC3D_POOL_FREE(&mm, merged);
    }
    core::Debug::setVerbosity(core::Debug::kDefaultVerbosity);
}

// ---- exhaustion ---------------------------------------------------------------------

TEST_F(MemoryManagerTest, MemoryFullLeavesAWorkingManager)
{
    make(2000);
    void* whole = alloc(m_mm->getDataBlockSize() - MemoryManager::kBlockHeaderSize); // an exact fit
    EXPECT_EQ(freeBlockCount(), 0u);
    EXPECT_EQ(messageOf<core::MemoryManagerException>([&] { alloc(1); }), "MemoryManager: memory full");
    release(whole);
    EXPECT_EQ(freeBlockCount(), 1u);

    std::vector<void*> blocks = fill(64);
    release(blocks.back());
    blocks.back() = alloc(64);
    for (void* b : blocks)
        release(b);
}

TEST_F(MemoryManagerTest, AnArmedFailureRefusesTheNthAllocationAlone)
{
    make(2000);
    void* first = alloc(16);
    const int blocks = m_mm->getAllocatedBlocks();
    const int used = m_mm->getUsedMem();
    const int count = m_mm->getAllocationCount();
    m_mm->failAllocation(3);
    void* second = alloc(16);
    void* third = alloc(16);
    EXPECT_EQ(m_mm->getPendingFailure(), 1);
    EXPECT_EQ(messageOf<core::MemoryManagerException>([&] { alloc(16); }), "MemoryManager: memory full");
    EXPECT_EQ(m_mm->getPendingFailure(), 0);
    EXPECT_EQ(m_mm->getAllocationCount(), count + 2) << "the refusal is not counted";
    void* fourth = alloc(16);
    for (void* b : {second, third, fourth})
        release(b);
    EXPECT_EQ(m_mm->getAllocatedBlocks(), blocks);
    EXPECT_EQ(m_mm->getUsedMem(), used);

    m_mm->failAllocation(1);
    m_mm->failAllocation(0);
    release(first);
    first = alloc(16);
    EXPECT_EQ(m_mm->getPendingFailure(), 0) << "disarmed";
    release(first);
}

// ---- hooks -------------------------------------------------------------------------

TEST_F(MemoryManagerTest, HooksReplaceTheAllocatorOrSupplyThePool)
{
    core::MemoryManagerConfig allocator, pool;
    allocator.myAlloc = pool.myPoolAlloc = countedAlloc;
    allocator.myFree = pool.myPoolFree = countedFree;
    g_allocs = g_frees = 0;
    make(1000, &allocator);
    void* p = alloc(5000); // larger than the pool would be
    void* const copy = p;
    MemoryManager::directMemPoolFree(m_mm, &p, "f", 1);
    EXPECT_EQ(p, copy); // the caller's pointer is left as it was
    EXPECT_EQ(g_allocs + g_frees, 2);
    EXPECT_EQ(m_mm->getAllocationCount(), 0);
    delete m_mm;

    g_allocs = g_frees = 0;
    make(1000, &pool);
    release(alloc(10));
    delete m_mm;
    m_mm = nullptr;
    EXPECT_EQ(g_allocs, 2); // the pool and the table
    EXPECT_EQ(g_frees, 2);
}

// ---- destruction -------------------------------------------------------------------

TEST_F(MemoryManagerTest, DestroyingWithLiveOrMiscountedMemoryFails)
{
    make(1000);
    alloc(10); // its pool goes back with the failed manager
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { delete m_mm; }),
              "MemoryManager destructor: MemoryManager: Memory leak! memFree is missing!");
    make(1000);
    MemoryManagerInspector::setFreeMem(*m_mm, m_mm->getFreeMem() - 8);
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { delete m_mm; }),
              "MemoryManager destructor: MemoryManager: free_mem != mem_data_block_size");
    m_mm = nullptr;
}

// ---- randomised churn --------------------------------------------------------------

TEST_F(MemoryManagerTest, RandomChurnKeepsThePoolConsistentAlignedAndCountedAfterEveryStep)
{
    make(32 * 1024);
    std::mt19937 random(12345);
    std::vector<std::pair<unsigned char*, int>> live;
    int allocations = 0;
    int peak = 0;
    for (int step = 0; step < 3000; ++step) {
        if (live.empty() || (random() % 100) < 55) {
            const int size = 1 + static_cast<int>(random() % 300);
            try {
                auto* p = static_cast<unsigned char*>(alloc(size));
                ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % MemoryManager::kBlockAlignment, 0u) << size;
                std::memset(p, size & 0xFF, static_cast<std::size_t>(size)); // the caller owns every byte
                live.emplace_back(p, size);
                ++allocations;
            } catch (const core::MemoryManagerException& e) {
                ASSERT_STREQ(e.message, "MemoryManager: memory full");
            }
        } else {
            const std::size_t i = random() % live.size();
            auto [p, size] = live[i];
            ASSERT_EQ(std::count(p, p + size, static_cast<unsigned char>(size & 0xFF)), size) << "contents changed";
            release(p);
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
        }
        ASSERT_TRUE(MemoryManagerInspector::consistent(*m_mm)) << "step " << step;
        peak = std::max(peak, m_mm->getUsedMem());
    }
    EXPECT_EQ(m_mm->getPeakMem(), peak);
    EXPECT_EQ(m_mm->getAllocationCount(), allocations);
    for (auto& [p, size] : live)
        release(p);
    EXPECT_EQ(freeBlockCount(), 1u);
}

// ---- allocation table: corruption -------------------------------------------------

TEST_F(MemoryManagerTest, DamagedGuardWordIsTracedToTheBlockBefore)
{
    make(4096);
    void* a = allocateInNamedFunction(m_mm);
    void* b = alloc(30);
    auto* header = MemoryManagerInspector::headerOf(b);
    header->guard = 0x55555555; // an overrun of a reaches b's header

    // Freeing a looks at the next header; freeing b at its own.
    EXPECT_EQ(failureOf([&] { MemoryManager::directMemPoolFree(m_mm, &a, "freer", 9); }),
              "MemoryManager:debug recognizes that data is corrupted");
    EXPECT_NE(log().find("\"freer(9)\" recognizes that {anonymous}::allocateInNamedFunction("), std::string::npos)
        << log();
    EXPECT_NE(log().find("overwrites next block"), std::string::npos);
    clearLog();
    EXPECT_EQ(failureOf([&] { release(b); }), "MemoryManager: debug recognizes that data is corrupted");
    EXPECT_NE(log().find("recognizes that block"), std::string::npos) << log();
    EXPECT_NE(log().find("allocateInNamedFunction("), std::string::npos);

    header->guard = MemoryManager::kGuardWord;
    const std::uint32_t next = header->next;
    header->next = 0xFFFFFFF0; // a damaged link is checked before it is followed
    EXPECT_EQ(failureOf([&] { release(b); }), "MemoryManager:debug recognizes that data is corrupted");
    header->next = next;
    release(a);
    release(b);
}

TEST_F(MemoryManagerTest, OverrunIntoTheTrailingGuardOfTheLastBlockIsFound)
{
    make(200);
    void* whole = alloc(m_mm->getDataBlockSize() - MemoryManager::kBlockHeaderSize);
    std::uint8_t* end = MemoryManagerInspector::areaEnd(*m_mm);
    end[0] ^= 0xFF;
    EXPECT_EQ(failureOf([&] { release(whole); }), "MemoryManager:debug recognizes that data is corrupted");
    end[0] ^= 0xFF;
    release(whole);
}

// ---- allocation table: misuse -----------------------------------------------------

TEST_F(MemoryManagerTest, DoubleFreesAndWildPointersFailWithoutDamage)
{
    make(4096);
    void* stale = alloc(64);
    void* keeper = alloc(64);
    release(stale); // the helper's copy is cleared, not this one
    unsigned char outside[64] = {};
    auto* live = static_cast<unsigned char*>(keeper);
    std::memset(live + 36, 0xFF, 4); // the index word of a would-be header at live + 20
    const struct {
        const char* name;
        void* pointer;
        const char* message;
    } cases[] = {
        {"double free", stale, "debugMonitorFree error: this block is already deallocated or block is corrupted"},
        {"inside a live block", live + 24, "MemoryManager:debug recognizes that block pointer is invalid"},
        {"on a negative index", live + 40,
         "debugMonitorFree error: this block is already deallocated or block is corrupted"},
        {"misaligned", live + 3, "hwMemFree : block address is invalid"},
        {"outside the pool", outside + 32, "hwMemFree : block address is invalid"},
    };
    for (const auto& c : cases) {
        void* p = c.pointer;
        EXPECT_EQ(failureOf([&] { MemoryManager::directMemPoolFree(m_mm, &p, "f", 1); }), c.message) << c.name;
    }

    // A header whose table index is out of range or names another block.
    void* other = alloc(64);
    auto* header = MemoryManagerInspector::headerOf(keeper);
    const std::int32_t index = header->debug_index;
    for (std::int32_t wrong : {MemoryManagerInspector::headerOf(other)->debug_index, 1 << 30}) {
        header->debug_index = wrong;
        EXPECT_EQ(failureOf([&] { release(keeper); }), "MemoryManager:debug recognizes that block pointer is invalid")
            << wrong;
    }
    header->debug_index = index;
    release(keeper);
    release(other);
}

// ---- allocation table: size -------------------------------------------------------

TEST_F(MemoryManagerTest, FullTableRefusesTheBlockAndGivesItBack)
{
    make(40960); // one table entry per 40 bytes of pool
    ASSERT_EQ(m_mm->getDebugTableSize(), 1024);
    std::vector<void*> live;
    for (int i = 0; i < 1024; ++i)
        live.push_back(alloc(1));
    const int used = m_mm->getUsedMem();
    clearLog();
    EXPECT_EQ(failureOf([&] { alloc(1); }),
              "debugMonitorAlloc : debug table memory is full (update your MemoryManager configuration)");
    EXPECT_NE(log().find("alloc_debug_table_size is too small"), std::string::npos);
    EXPECT_EQ(m_mm->getUsedMem(), used);
    release(live[500]);
    live[500] = alloc(1); // the cleared entry is found again
    for (void* p : live)
        release(p);
}

// ---- allocation table: leak report ------------------------------------------------

TEST_F(MemoryManagerTest, TenOrMoreLeaksGiveTenLinesTheCountAndTheException)
{
    for (int leakCount : {10, 11}) {
        make(4096);
        std::vector<void*> leaks;
        for (int i = 0; i < leakCount; ++i)
            leaks.push_back(allocateInNamedFunction(m_mm));
        clearLog();
        EXPECT_EQ(failureOf([&] { m_mm->debugMonitorCheck(); }),
                  "MemoryManager: memory leaks recognized (check debug messages)");
        const std::string written = log();
        EXPECT_EQ(countOf(written, "allocation has memory leak."), 10);
        EXPECT_EQ(countOf(written, "allocateInNamedFunction("), 10);
        EXPECT_EQ(countOf(written, "your code has more than 10 memory leaks..\n"), 1);
        EXPECT_EQ(countOf(written, std::to_string(leakCount) + " memory leaks recognized\n"), 1);
        for (void* p : leaks)
            release(p);
        delete m_mm;
    }
    m_mm = nullptr;
}
