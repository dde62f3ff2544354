#include "PoolTest.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

using core::MemoryManager;
using core::MemoryManagerInspector;
using testsupport::messageOf;

namespace {

class MemoryManagerFirstFitTest : public testsupport::PoolTest {};

// The block a plain first-fit walk of the free list in the headers takes for
// a request: its offset (0: none fits) and the size it gets.
struct Walk {
    std::uint32_t offset;
    std::int32_t size;
};

Walk walkFreeList(const MemoryManager& mm, int request)
{
    const std::int64_t need = MemoryManager::exactBlockSize(request);
    const std::int64_t piece = MemoryManager::splitBlockSize(request);
    for (const auto& block : MemoryManagerInspector::freeBlocks(mm)) {
        if (block.size >= need && block.size <= piece + MemoryManager::kBlockHeaderSize)
            return {block.offset, block.size};
        if (block.size > piece + MemoryManager::kBlockHeaderSize)
            return {block.offset, static_cast<std::int32_t>(piece)};
    }
    return {0, 0};
}

} // namespace

// The same long random sequence of allocations and releases, filling the
// pool (or its table) until it refuses three times and draining it again,
// must give the block the walk names at every step, and statistics that add
// up.
TEST_F(MemoryManagerFirstFitTest, EveryAllocationTakesTheBlockAPlainWalkOfTheFreeListTakes)
{
    for (const int tableSize : {0, 60}) { // 0: the pool fills; 60: the table fills first
        SCOPED_TRACE(tableSize);
        core::MemoryManagerConfig config;
        config.debug_monitor_table_size = tableSize;
        make(40 * 1024, &config);
        const std::uint8_t* pool =
            MemoryManagerInspector::areaEnd(*m_mm) - m_mm->getDataBlockSize() - MemoryManager::kPoolGuardSize;
        std::mt19937 random(tableSize + 1);
        std::vector<std::pair<void*, std::int32_t>> live; // and the size each block got
        std::int32_t used = 0, peak = 0, allocations = 0;
        int refusals = 0;
        for (int step = 0; step < 4000; ++step) {
            SCOPED_TRACE(step);
            if (live.empty() || random() % 100 < (refusals < 3 ? 80u : 15u)) {
                // Many requests of a few sizes (so that freed blocks are taken
                // whole again), some the exact size of the first free block.
                static const int kCommonSizes[] = {4, 12, 40, 100, 180};
                const auto free = MemoryManagerInspector::freeBlocks(*m_mm);
                int request = random() % 2 == 0 ? kCommonSizes[random() % 5] : 1 + static_cast<int>(random() % 300);
                if (random() % 8 == 0 && !free.empty() && free.front().size < 4000)
                    request = std::max(1, free.front().size - MemoryManager::kBlockHeaderSize);
                const Walk walk = walkFreeList(*m_mm, request);
                if (walk.offset == 0) {
                    ASSERT_EQ(messageOf<core::MemoryManagerException>([&] { alloc(request); }),
                              "MemoryManager: memory full");
                    ++refusals;
                } else if (m_mm->getAllocatedBlocks() == m_mm->getDebugTableSize()) {
                    ASSERT_EQ(
                        messageOf<AssertationFailedException>([&] { alloc(request); }),
                        "debugMonitorAlloc : debug table memory is full (update your MemoryManager configuration)");
                    // The block is given back, but the peak has counted it.
                    peak = std::max(peak, used + walk.size);
                    ++refusals;
                } else {
                    auto* p = static_cast<std::uint8_t*>(alloc(request));
                    ASSERT_EQ(p - MemoryManager::kBlockHeaderSize - pool, walk.offset);
                    used += walk.size;
                    ++allocations;
                    live.emplace_back(p, walk.size);
                }
            } else {
                const std::size_t i = random() % live.size();
                release(live[i].first);
                used -= live[i].second;
                live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
                if (live.empty())
                    refusals = 0;
            }
            peak = std::max(peak, used);
            ASSERT_EQ(m_mm->getAllocatedBlocks(), static_cast<std::int32_t>(live.size()));
            ASSERT_EQ(m_mm->getUsedMem(), used);
            ASSERT_EQ(m_mm->getFreeMem(), m_mm->getDataBlockSize() - used);
            ASSERT_EQ(m_mm->getPeakMem(), peak);
            ASSERT_EQ(m_mm->getAllocationCount(), allocations);
            if (step % 25 == 0) {
                ASSERT_TRUE(MemoryManagerInspector::consistent(*m_mm));
            }
        }
        for (auto& block : live)
            release(block.first);
        EXPECT_EQ(freeBlockCount(), 1u);
        EXPECT_TRUE(MemoryManagerInspector::consistent(*m_mm));
        delete m_mm;
        m_mm = nullptr;
    }
}
