#pragma once

#include "core/MemoryManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace core {

// The tests' view into a manager's pool: a consistency walk over every block
// and the free list, and access to headers for corruption tests.
class MemoryManagerInspector {
public:
    struct FreeBlock {
        std::uint32_t offset;
        std::int32_t size;
    };

    static std::vector<FreeBlock> freeBlocks(const MemoryManager& m)
    {
        std::vector<FreeBlock> blocks;
        for (std::uint32_t at = m.m_freeList; at != 0 && blocks.size() < 100000; at = m.blockAt(at)->next)
            blocks.push_back({at, m.blockAt(at)->size});
        return blocks;
    }

    static MemoryManager::BlockHeader* headerOf(void* data)
    {
        return reinterpret_cast<MemoryManager::BlockHeader*>(static_cast<std::uint8_t*>(data) -
                                                             MemoryManager::kBlockHeaderSize);
    }

    // The pool offset of the header of the block whose data starts at `data`,
    // as the manager's log lines name blocks.
    static std::uint32_t offsetOf(const MemoryManager& m, void* data) { return m.offsetOf(headerOf(data)); }

    // The allocation table's live entries, in table order.
    static std::vector<MemoryManager::DebugTableEntry> liveAllocations(const MemoryManager& m)
    {
        std::vector<MemoryManager::DebugTableEntry> live;
        for (int i = 0; i < m.m_allocDebugTableSize; ++i)
            if (m.m_allocDebugTable[i].block != nullptr)
                live.push_back(m.m_allocDebugTable[i]);
        return live;
    }

    static std::uint8_t* areaEnd(const MemoryManager& m) { return m.m_dataBlockEnd; }
    static void setFreeMem(MemoryManager& m, std::int32_t value) { m.m_freeMem = value; }

    // Blocks tile the managed area; allocated blocks are named by their table
    // entry; the free list runs in address order, is doubly linked, holds no
    // two touching blocks (merging happens in every case) and adds up with
    // the statistics.
    static testing::AssertionResult consistent(const MemoryManager& m)
    {
        std::set<std::uint32_t> freeSet;
        std::uint32_t previous = 0;
        std::int64_t freeBytes = 0;
        for (std::uint32_t at = m.m_freeList; at != 0;) {
            if (!m.isHeaderOffset(at))
                return testing::AssertionFailure() << "free link outside the area: " << at;
            const MemoryManager::BlockHeader* b = m.blockAt(at);
            if (at <= previous && previous != 0)
                return testing::AssertionFailure() << "free list out of order at " << at;
            if (b->prev != previous)
                return testing::AssertionFailure() << "prev link broken at " << at;
            if (previous != 0 && previous + static_cast<std::uint32_t>(m.blockAt(previous)->size) == at)
                return testing::AssertionFailure() << "touching free blocks not merged at " << at;
            freeSet.insert(at);
            freeBytes += b->size;
            previous = at;
            at = b->next;
        }

        const auto start = static_cast<std::uint32_t>(MemoryManager::kPoolGuardSize);
        const auto end = start + static_cast<std::uint32_t>(m.m_dataBlockSize);
        std::int64_t usedBytes = 0;
        int allocated = 0;
        std::uint32_t at = start;
        while (at < end) {
            const MemoryManager::BlockHeader* b = m.blockAt(at);
            if (b->guard != MemoryManager::kGuardWord)
                return testing::AssertionFailure() << "guard word damaged at " << at;
            if (b->size <= 0 || at + static_cast<std::uint32_t>(b->size) > end)
                return testing::AssertionFailure() << "bad block size at " << at;
            if (freeSet.count(at) == 0) {
                ++allocated;
                usedBytes += b->size;
                if (b->prev != 0 || b->next != at + static_cast<std::uint32_t>(b->size))
                    return testing::AssertionFailure() << "allocated block links wrong at " << at;
                if (b->debug_index < 0 || b->debug_index >= m.m_allocDebugTableSize ||
                    m.m_allocDebugTable[b->debug_index].block != b)
                    return testing::AssertionFailure() << "table entry does not name block " << at;
            }
            at += static_cast<std::uint32_t>(b->size);
        }
        if (at != end)
            return testing::AssertionFailure() << "blocks do not tile the area";
        if (usedBytes != m.m_usedMem || freeBytes != m.m_freeMem || allocated != m.m_allocatedBlocks)
            return testing::AssertionFailure()
                   << "statistics disagree: used " << m.m_usedMem << "/" << usedBytes << " free " << m.m_freeMem << "/"
                   << freeBytes << " blocks " << m.m_allocatedBlocks << "/" << allocated;
        if (m.m_usedMem + m.m_freeMem != m.m_dataBlockSize)
            return testing::AssertionFailure() << "used + free != area";
        return testing::AssertionSuccess();
    }
};

} // namespace core
