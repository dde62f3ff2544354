// The allocation table of core::MemoryManager: one entry per live block with
// the allocating function and line, for overrun diagnoses and the leak report.
#include "core/MemoryManager.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/MemoryManagerException.h"
#include "hal/System.h"

#include <cstring>

namespace core {

// ---- table life cycle -------------------------------------------------------------

void MemoryManager::debugMonitorInit(int size)
{
    VORNIC3D_ASSERT(size >= 0, "debugMonitorInit : size < 0");
    VORNIC3D_ASSERT(m_dataBlockSize > 0, "debugMonitorInit : data_block_size <= 0");
    VORNIC3D_ASSERT(m_allocDebugTableSize == 0, "debugMonitorInit : alloc_debug_table_size has value before init");
    VORNIC3D_ASSERT(m_allocDebugTable == nullptr, "debugMonitorInit : alloc_debug_table has value before init");
    if (size == 0) {
        size = m_dataBlockSize / kPoolBytesPerTableEntry;
        VORNIC3D_ASSERT(size > 0, "debugMonitorInit : default debug size <= 0");
    }
    const std::size_t bytes = static_cast<std::size_t>(size) * sizeof(DebugTableEntry);
    void* table = m_myPoolAlloc != nullptr ? m_myPoolAlloc(static_cast<int>(bytes)) : HAL::malloc(bytes);
    if (table == nullptr)
        throw MemoryManagerException("MemoryManager:debugMonitorInit failed");
    std::memset(table, 0, bytes);
    m_allocDebugTable = static_cast<DebugTableEntry*>(table);
    m_allocDebugTableSize = size;
}

void MemoryManager::debugMonitorDeinit()
{
    VORNIC3D_ASSERT(m_allocDebugTable != nullptr, "debugMonitorDeinit : alloc_debug_table == 0");
    VORNIC3D_ASSERT(m_allocDebugTableSize != 0, "debugMonitorDeinit : alloc_debug_table_size == 0");
    (m_myPoolFree != nullptr ? m_myPoolFree : HAL::free)(m_allocDebugTable);
    m_allocDebugTable = nullptr;
    m_allocDebugTableSize = 0;
}

// ---- recording --------------------------------------------------------------------

void MemoryManager::debugMonitorAlloc(MemoryManager* mem, BlockHeader* block, const char* function, int line)
{
    VORNIC3D_CHECK(mem != nullptr);
    VORNIC3D_CHECK(mem->m_allocDebugTable != nullptr);
    VORNIC3D_CHECK(mem->m_allocDebugTableSize > 0);
    VORNIC3D_CHECK(block != nullptr);
    VORNIC3D_ASSERT(block->debug_index == -1, "debugMonitorAlloc : this block is already allocated?");

    int index = mem->m_debugCursor;
    for (int step = 0; step < mem->m_allocDebugTableSize; ++step) {
        DebugTableEntry& entry = mem->m_allocDebugTable[index];
        if (entry.block == nullptr) {
            entry = DebugTableEntry{block, block->size, function, function != nullptr ? line : 0};
            block->debug_index = index;
            mem->m_debugCursor = index;
            return;
        }
        if (++index == mem->m_allocDebugTableSize)
            index = 0;
    }
    Debug::printf(Debug::LEVEL_ERROR, "alloc_debug_table_size is too small\n");
    VORNIC3D_ASSERT(false, "debugMonitorAlloc : debug table memory is full (update your MemoryManager configuration)");
}

void MemoryManager::debugMonitorFree(MemoryManager* mem, BlockHeader* block, const char* function, int line)
{
    VORNIC3D_ASSERT(mem != nullptr, "debugMonitorFree : mem == 0");
    VORNIC3D_ASSERT(mem->m_allocDebugTable != nullptr, "debugMonitorFree : mem->alloc_debug_table == 0");
    VORNIC3D_ASSERT(mem->m_allocDebugTableSize > 0, "debugMonitorFree : mem->alloc_debug_table_size <= 0");
    VORNIC3D_ASSERT(block != nullptr, "debugMonitorFree : block == 0");
    VORNIC3D_ASSERT(block->debug_index >= 0,
                    "debugMonitorFree error: this block is already deallocated or block is corrupted");
    const std::uint32_t blockOffset = mem->offsetOf(block);

    if (block->guard != kGuardWord) {
        bool known = false;
        for (int i = 0; i < mem->m_allocDebugTableSize && !known; ++i)
            known = mem->m_allocDebugTable[i].block == block;
        if (!known) {
            Debug::printf(Debug::LEVEL_ERROR, "\"%s(%d)\" recognizes that block pointer (0x%X) is invalid\n", function,
                          line, blockOffset);
            throw MemoryManagerException("MemoryManager:debug recognizes that block pointer is invalid");
        }
        Debug::printf(Debug::LEVEL_ERROR, "\"%s(%d)\" recognizes that block (0x%X) is corrupted\n", function, line,
                      blockOffset);
        debugMonitorFindPrev(mem, block, function, line);
        throw MemoryManagerException("MemoryManager:debug recognizes that data is corrupted");
    }

    // The header is trusted only when its table entry names it back.
    const std::int32_t index = block->debug_index;
    if (index >= mem->m_allocDebugTableSize || mem->m_allocDebugTable[index].block != block) {
        Debug::printf(Debug::LEVEL_ERROR, "\"%s(%d)\" recognizes that block pointer (0x%X) is invalid\n", function,
                      line, blockOffset);
        throw MemoryManagerException("MemoryManager:debug recognizes that block pointer is invalid");
    }
    DebugTableEntry& entry = mem->m_allocDebugTable[index];

    // The header behind the block (or the trailing guard area) must be intact;
    // its place is checked before it is read.
    const std::uint32_t nextOffset = block->next;
    const auto endOffset = static_cast<std::uint32_t>(kPoolGuardSize + mem->m_dataBlockSize);
    const bool nextInPool = nextOffset == blockOffset + static_cast<std::uint32_t>(block->size) &&
                            (nextOffset == endOffset || mem->isHeaderOffset(nextOffset));
    std::uint32_t nextGuard = 0;
    if (nextInPool)
        std::memcpy(&nextGuard, mem->m_pool + nextOffset, sizeof nextGuard);
    if (nextGuard != kGuardWord) {
        Debug::printf(Debug::LEVEL_ERROR,
                      "\"%s(%d)\" recognizes that %s(%d) overwrites next block (0x%X overwrites 0x%X)\n", function,
                      line, entry.function, entry.line, nextOffset, blockOffset);
        throw MemoryManagerException("MemoryManager:debug recognizes that data is corrupted");
    }
    entry = DebugTableEntry{};
    block->debug_index = -1;
}

// ---- diagnosis --------------------------------------------------------------------

void MemoryManager::debugMonitorFindPrev(MemoryManager* mem, BlockHeader* block, const char* function, int line)
{
    VORNIC3D_CHECK(mem != nullptr);
    VORNIC3D_CHECK(mem->m_allocDebugTable != nullptr);
    VORNIC3D_CHECK(mem->m_allocDebugTableSize > 0);
    VORNIC3D_ASSERT(block != nullptr, "debugMonitorFindPrev : block == 0");

    const std::uint32_t blockOffset = mem->offsetOf(block);
    for (int i = 0; i < mem->m_allocDebugTableSize; ++i) {
        const DebugTableEntry& entry = mem->m_allocDebugTable[i];
        if (entry.block == nullptr ||
            mem->offsetOf(entry.block) + static_cast<std::uint32_t>(entry.size) != blockOffset)
            continue;
        Debug::printf(Debug::LEVEL_ERROR, "\"%s(%d)\" (0x%X) recognizes that \"%s(%d)\" (0x%X) overwrites next block\n",
                      function, line, blockOffset, entry.function, entry.line, mem->offsetOf(entry.block));
        // The overrun may have started further back: follow it there.
        if (entry.block->guard != kGuardWord)
            debugMonitorFindPrev(mem, entry.block, "core::MemoryManager::debugMonitorFindPrev", line);
        throw MemoryManagerException("MemoryManager: debug recognizes that data is corrupted");
    }
    Debug::printf(Debug::LEVEL_ERROR, "\"%s(%d)\" can not find the block which overwrites this block\n", function,
                  line);
}

// ---- leak report --------------------------------------------------------------------

void MemoryManager::debugMonitorCheck()
{
    if (m_myAlloc != nullptr)
        return;
    Debug::printf(Debug::LEVEL_LOW, "debugMonitorCheck");
    VORNIC3D_ASSERT(m_flags & MEMORY_CONFIG_INITIALIZED, "debugMonitorCheck : MemoryManager init is missing");
    VORNIC3D_ASSERT(m_allocDebugTable != nullptr, "debugMonitorCheck: debug table is missing");

    int leaks = 0;
    for (int i = 0; i < m_allocDebugTableSize; ++i) {
        const DebugTableEntry& entry = m_allocDebugTable[i];
        if (entry.block == nullptr)
            continue;
        if (leaks < kMaxReportedLeaks)
            Debug::printf(Debug::LEVEL_ERROR, "\"%s(%d)\" mem check(%d/%d)! (size:%d) allocation has memory leak.\n",
                          entry.function, entry.line, i + 1, m_allocDebugTableSize, entry.block->size);
        if (++leaks == kMaxReportedLeaks)
            Debug::printf(Debug::LEVEL_ERROR, "your code has more than %d memory leaks..\n", kMaxReportedLeaks);
    }
    if (leaks > 0) {
        Debug::printf(Debug::LEVEL_ERROR, "%d memory leaks recognized\n", leaks);
        throw MemoryManagerException("MemoryManager: memory leaks recognized (check debug messages)");
    }
    VORNIC3D_ASSERT(m_allocatedBlocks == 0, "debugMonitorCheck : WTF? no leaks and memory pool has data?");
}

} // namespace core
