#include "core/MemoryManager.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManagerException.h"
#include "core/MutexLock.h"
#include "hal/Mutex.h"
#include "hal/System.h"

#include <cstring>

namespace core {

namespace {

std::int64_t roundUpToAlignment(std::int64_t size)
{
    const std::int64_t a = MemoryManager::kBlockAlignment;
    return (size + a - 1) / a * a;
}

} // namespace

// ---- block sizes --------------------------------------------------------------
//
// The block arithmetic of the 32-bit original (n = size + header, need = n +
// n mod 4, piece = need + need mod 20) with both results rounded up to a
// multiple of 8. The managed area starts 20 bytes into an 8-aligned pool, so
// every block header sits at 4 mod 8 and every caller's pointer (header + 20)
// at 0 mod 8, as long as every block but the pool's last one is a multiple of
// 8 long. A 1-byte request still takes 24 bytes; a 12-byte one takes 48.

std::int64_t MemoryManager::exactBlockSize(std::int64_t size)
{
    const std::int64_t n = size + kBlockHeaderSize;
    return roundUpToAlignment(n + n % 4);
}

std::int64_t MemoryManager::splitBlockSize(std::int64_t size)
{
    const std::int64_t n = size + kBlockHeaderSize;
    const std::int64_t need = n + n % 4;
    return roundUpToAlignment(need + need % 20);
}

// ---- construction and destruction -------------------------------------------

MemoryManager::MemoryManager(int size, const char* name, const MemoryManagerConfig* config)
{
    VORNIC3D_ASSERT(size > 0, "MemoryManager constructor: size <= 0");
    VORNIC3D_ASSERT(name != nullptr, "MemoryManager constructor: name == 0");
    m_name = name;
    int tableSize = 0;
    if (config != nullptr) {
        m_myAlloc = config->myAlloc;
        m_myFree = config->myFree;
        m_myPoolAlloc = config->myPoolAlloc;
        m_myPoolFree = config->myPoolFree;
        VORNIC3D_ASSERT((m_myAlloc == nullptr) == (m_myFree == nullptr),
                        "MemoryManager constructor : myFree/myAlloc configuration error");
        VORNIC3D_ASSERT((m_myPoolAlloc == nullptr) == (m_myPoolFree == nullptr),
                        "MemoryManager constructor : myPoolFree/myPoolAlloc configuration error");
        VORNIC3D_ASSERT(config->debug_monitor_table_size >= 0,
                        "MemoryManager constructor: debug_monitor_table_size < 0");
        tableSize = config->debug_monitor_table_size;
    }
    m_mutex = HAL::Mutex::createMutexHandle();
    VORNIC3D_CHECK(m_mutex != nullptr);
    if (m_myAlloc != nullptr)
        return;
    try {
        allocMemoryPool(size);
        debugMonitorInit(tableSize);
    } catch (...) {
        releaseResources();
        throw;
    }
}

MemoryManager::~MemoryManager() noexcept(false)
{
    // Whatever the checks below find, the pool, the table and the lock go
    // back to the system heap: a failed shut-down check must not also leak.
    struct Release {
        MemoryManager* manager;
        ~Release() { manager->releaseResources(); }
    } release{this};

    if (m_myFree != nullptr)
        return;
    VORNIC3D_ASSERT(m_flags & MEMORY_CONFIG_INITIALIZED,
                    "MemoryManager destructor: MEMORY_CONFIG_INITIALIZED flag is missing");
    VORNIC3D_ASSERT(m_dataBlockStart != nullptr, "MemoryManager destructor: data_block_start == 0");
    VORNIC3D_ASSERT(m_dataBlockEnd != nullptr, "MemoryManager destructor: data_block_end == 0");
    VORNIC3D_ASSERT(m_dataBlockStart < m_dataBlockEnd, "MemoryManager destructor: data_block_start >= data_block_end");
    VORNIC3D_ASSERT(m_allocatedBlocks == 0,
                    "MemoryManager destructor: MemoryManager: Memory leak! memFree is missing!");
    VORNIC3D_ASSERT(m_freeMem == m_dataBlockSize,
                    "MemoryManager destructor: MemoryManager: free_mem != mem_data_block_size");
    freeMemoryPool();
    debugMonitorDeinit();
}

void MemoryManager::releaseResources() noexcept
{
    void (*release)(void*) = m_myPoolFree != nullptr ? m_myPoolFree : HAL::free;
    if (m_pool != nullptr)
        release(m_pool);
    if (m_allocDebugTable != nullptr)
        release(m_allocDebugTable);
    try {
        delete m_mutex;
    } catch (...) {
        // A lock still held at shut-down: nothing left to protect.
    }
    m_pool = m_dataBlockStart = m_dataBlockEnd = nullptr;
    m_dataBlockSize = m_allocatedBlocks = m_allocationCount = m_freeMem = m_peakMem = m_usedMem = 0;
    m_flags = m_freeList = 0;
    m_myAlloc = nullptr;
    m_myFree = nullptr;
    m_myPoolAlloc = nullptr;
    m_myPoolFree = nullptr;
    m_debugCursor = m_allocDebugTableSize = 0;
    m_allocDebugTable = nullptr;
    m_mutex = nullptr;
    m_freeIndex.release();
}

// ---- pool -----------------------------------------------------------------------

void MemoryManager::allocMemoryPool(int size)
{
    VORNIC3D_ASSERT(size >= 1, "allocMemoryPool : size <= 0");
    VORNIC3D_ASSERT(m_dataBlockSize == 0, "allocMemoryPool : data_block_size has value before initialization");
    VORNIC3D_ASSERT(m_freeMem == 0, "allocMemoryPool : free_mem has value before initialization");
    VORNIC3D_ASSERT(m_dataBlockStart == nullptr, "allocMemoryPool : data_block_start value data before initialization");
    VORNIC3D_ASSERT(m_dataBlockEnd == nullptr, "allocMemoryPool : data_block_end has value before initialization");

    const std::int64_t poolBytes = (static_cast<std::int64_t>(size) / 20 + 2) * 20;
    void* pool = m_myPoolAlloc != nullptr ? m_myPoolAlloc(static_cast<int>(poolBytes))
                                          : HAL::malloc(static_cast<std::size_t>(poolBytes));
    if (pool == nullptr)
        throw MemoryManagerException("MemoryManager:init failed. can not alloc memory pool.");
    m_pool = static_cast<std::uint8_t*>(pool);
    VORNIC3D_CHECK(reinterpret_cast<std::uintptr_t>(m_pool) % kBlockAlignment == 0);
    std::memset(m_pool, 0, static_cast<std::size_t>(poolBytes));

    m_dataBlockSize = m_freeMem = static_cast<std::int32_t>(poolBytes - 2 * kPoolGuardSize);
    m_dataBlockStart = m_pool + kPoolGuardSize;
    m_dataBlockEnd = m_dataBlockStart + m_dataBlockSize;
    std::memcpy(m_pool, &kGuardWord, sizeof kGuardWord);
    std::memcpy(m_dataBlockEnd, &kGuardWord, sizeof kGuardWord);

    auto* whole = reinterpret_cast<BlockHeader*>(m_dataBlockStart);
    *whole = BlockHeader{kGuardWord, m_dataBlockSize, 0, 0, -1};
    m_freeList = offsetOf(whole);
    if (!m_freeIndex.reserve())
        throw MemoryManagerException("MemoryManager:init failed. can not alloc memory pool.");
    // An empty area (a pool asked for below 20 bytes) is refused by the
    // table's set-up that follows.
    if (m_dataBlockSize > 0)
        m_freeIndex.insert(m_freeList, m_dataBlockSize);
    m_flags |= MEMORY_CONFIG_INITIALIZED;
}

void MemoryManager::freeMemoryPool()
{
    std::uint32_t leading = 0;
    std::uint32_t trailing = 0;
    std::memcpy(&leading, m_pool, sizeof leading);
    std::memcpy(&trailing, m_dataBlockEnd, sizeof trailing);
    VORNIC3D_ASSERT(leading == kGuardWord, "freeMemoryPool : MemoryManager: data block start header is corrupted");
    VORNIC3D_ASSERT(trailing == kGuardWord, "freeMemoryPool : MemoryManager: data block end header is corrupted");
    (m_myPoolFree != nullptr ? m_myPoolFree : HAL::free)(m_pool);
    m_pool = nullptr;
}

// ---- entry points -------------------------------------------------------------

MemoryManager* MemoryManager::getMemoryInfoPtr()
{
    MemoryManager* mem = Globals::get()->m_memoryManager;
    VORNIC3D_ASSERT(mem != nullptr, "getMemoryInfoPtr : m_memoryManager == 0");
    return mem;
}

MemoryManager* MemoryManager::getMemoryInfo()
{
    return getMemoryInfoPtr();
}

void* MemoryManager::memAlloc(int size, const char* function, int line)
{
    MemoryManager* mem = getMemoryInfoPtr();
    VORNIC3D_ASSERT(function != nullptr, "memAlloc : use VORNIC3D_ALLOC macro");
    VORNIC3D_ASSERT(size > 0, "memAlloc : size <= 0");
    return hwMemAlloc(size, mem, function, line);
}

void MemoryManager::memFree(void** ptr, const char* function, int line)
{
    MemoryManager* mem = getMemoryInfoPtr();
    VORNIC3D_ASSERT(function != nullptr, "memFree : use VORNIC3D_FREE macro");
    VORNIC3D_ASSERT(ptr != nullptr, "memFree : ptr == 0");
    VORNIC3D_ASSERT(*ptr != nullptr, "memFree : *ptr == 0");
    hwMemFree(ptr, mem, function, line);
}

void* MemoryManager::directMemPoolAlloc(MemoryManager* mem, int size, const char* function, int line)
{
    VORNIC3D_ASSERT(function != nullptr, "directMemPoolAlloc : use VORNIC3D_POOL_ALLOC macro");
    VORNIC3D_ASSERT(size > 0, "directMemPoolAlloc : size <= 0");
    return hwMemAlloc(size, mem, function, line);
}

void MemoryManager::directMemPoolFree(MemoryManager* mem, void** ptr, const char* function, int line)
{
    VORNIC3D_ASSERT(function != nullptr, "directMemPoolFree : use VORNIC3D_POOL_FREE macro");
    VORNIC3D_ASSERT(ptr != nullptr, "directMemPoolFree : ptr == 0");
    VORNIC3D_ASSERT(*ptr != nullptr, "directMemPoolFree : *ptr == 0");
    hwMemFree(ptr, mem, function, line);
}

// ---- allocation and release -----------------------------------------------------

void* MemoryManager::hwMemAlloc(int size, MemoryManager* mem, const char* function, int line)
{
    VORNIC3D_CHECK(size > 0);
    VORNIC3D_CHECK(mem != nullptr);
    MutexLock lock(mem->m_mutex);
    if (mem->m_myAlloc != nullptr)
        return mem->m_myAlloc(size);

    VORNIC3D_CHECK(mem->m_flags & MEMORY_CONFIG_INITIALIZED);
    VORNIC3D_ASSERT(mem->canHold(size), kBlockTooBig);
    // A test's injected failure is refused exactly as a full pool refuses.
    if (mem->m_failCountdown != 0 && --mem->m_failCountdown == 0)
        throw MemoryManagerException(kMemoryFull);
    // An exact fit can take the last free block: then the pool is simply full.
    // The index gets the room a block given back (below) may need first.
    if (mem->m_freeList == 0 || !mem->m_freeIndex.reserve())
        throw MemoryManagerException(kMemoryFull);
    BlockHeader* first = mem->blockAt(mem->m_freeList);
    if (first->guard != kGuardWord)
        debugMonitorFindPrev(mem, first, "core::MemoryManager::hwMemAlloc", line);

    BlockHeader* block = mem->createBlock(&mem->m_freeList, size);
    mem->removeBlock(&mem->m_freeList, block);
    if (Debug::isShown(Debug::LEVEL_NORMAL))
        Debug::printf(Debug::LEVEL_NORMAL, "MemoryManager: allocate %d bytes (%s(%d)) 0x%X\n", block->size, function,
                      line, mem->offsetOf(block));

    const std::int32_t blockSize = block->size;
    ++mem->m_allocatedBlocks;
    mem->m_usedMem += blockSize;
    if (mem->m_usedMem >= mem->m_peakMem)
        mem->m_peakMem = mem->m_usedMem;
    mem->m_freeMem -= blockSize;
    ++mem->m_allocationCount;
    try {
        debugMonitorAlloc(mem, block, function, line);
    } catch (...) {
        // A full table must not swallow the block: give it back unrecorded.
        --mem->m_allocatedBlocks;
        mem->m_usedMem -= blockSize;
        mem->m_freeMem += blockSize;
        --mem->m_allocationCount;
        mem->addBlock(&mem->m_freeList, block);
        throw;
    }
    VORNIC3D_CHECK(mem->m_freeMem >= 0);
    return reinterpret_cast<std::uint8_t*>(block) + kBlockHeaderSize;
}

void MemoryManager::hwMemFree(void** ptr, MemoryManager* mem, const char* function, int line)
{
    VORNIC3D_CHECK(mem != nullptr);
    VORNIC3D_CHECK(ptr != nullptr);
    VORNIC3D_CHECK(*ptr != nullptr);
    MutexLock lock(mem->m_mutex);
    if (mem->m_myFree != nullptr) {
        mem->m_myFree(*ptr);
        return;
    }
    VORNIC3D_CHECK(mem->m_flags & MEMORY_CONFIG_INITIALIZED);

    const auto address = reinterpret_cast<std::uintptr_t>(*ptr) - kBlockHeaderSize;
    auto* block = reinterpret_cast<BlockHeader*>(address);
    // Compared as integers: a wild pointer is never dereferenced before it is
    // known to name a header place inside the managed area.
    VORNIC3D_ASSERT(mem->liesInArea(block) && mem->isHeaderOffset(mem->offsetOf(block)),
                    "hwMemFree : block address is invalid");
    // The one step of a release that may need memory comes before any
    // change, so that a refusal leaves the block allocated and all intact.
    if (!mem->m_freeIndex.reserve())
        throw MemoryManagerException(kMemoryFull);

    debugMonitorFree(mem, block, function, line);
    const std::int32_t blockSize = block->size;
    if (Debug::isShown(Debug::LEVEL_NORMAL))
        Debug::printf(Debug::LEVEL_NORMAL, "MemoryManager: free %d bytes (%s(%d)) 0x%X\n", blockSize, function, line,
                      mem->offsetOf(block));
    if (!mem->addBlock(&mem->m_freeList, block))
        throw MemoryManagerException("MemoryManager:free failed");

    *ptr = nullptr;
    mem->m_usedMem -= blockSize;
    mem->m_freeMem += blockSize;
    --mem->m_allocatedBlocks;
    VORNIC3D_CHECK(mem->m_allocatedBlocks >= 0);
    VORNIC3D_CHECK(mem->m_usedMem >= 0);
}

// ---- free list ------------------------------------------------------------------
//
// The free list in the headers is the pool's record; the index mirrors it.
// createBlock takes the block it returns out of the index (leaving a split's
// rest in its place) and removeBlock unlinks it from the list; addBlock
// updates both.

MemoryManager::BlockHeader* MemoryManager::createBlock(std::uint32_t* head, int size)
{
    VORNIC3D_CHECK(head != nullptr);
    VORNIC3D_CHECK(*head != 0);
    VORNIC3D_CHECK(size > 0);
    const std::int64_t need = exactBlockSize(size);
    const std::int64_t piece = splitBlockSize(size);

    // The lowest block that holds `need` is the one a walk of the list in
    // address order stops at: smaller ones are passed over, and any larger
    // one is either split or, when too small to split, taken whole.
    const std::uint32_t offset = need <= INT32_MAX ? m_freeIndex.findFirstFit(static_cast<std::int32_t>(need)) : 0;
    if (offset == 0)
        throw MemoryManagerException(kMemoryFull);
    BlockHeader* block = blockAt(offset);
    VORNIC3D_ASSERT(isHeaderOffset(offset) && block->guard == kGuardWord && block->size == m_freeIndex.sizeAt(offset),
                    "MemoryManager createBlock failed (memory corrupted)");
    // A block too small to split is taken whole: the few spare bytes cost
    // less than passing over a block the data fits in.
    if (block->size <= piece + kBlockHeaderSize) {
        m_freeIndex.erase(offset);
        return block;
    }
    auto* rest = reinterpret_cast<BlockHeader*>(reinterpret_cast<std::uint8_t*>(block) + piece);
    *rest = BlockHeader{kGuardWord, static_cast<std::int32_t>(block->size - piece), block->next, offset, -1};
    VORNIC3D_CHECK(rest->size > 0);
    if (BlockHeader* after = blockAt(block->next))
        after->prev = offsetOf(rest);
    block->next = offsetOf(rest);
    block->size = static_cast<std::int32_t>(piece);
    m_freeIndex.update(offset, block->next, rest->size);
    return block;
}

void MemoryManager::removeBlock(std::uint32_t* head, BlockHeader* block)
{
    VORNIC3D_CHECK(head != nullptr);
    VORNIC3D_CHECK(*head != 0);
    VORNIC3D_CHECK(block != nullptr);
    VORNIC3D_CHECK(block->guard == kGuardWord);
    BlockHeader* prev = blockAt(block->prev);
    BlockHeader* next = blockAt(block->next);
    VORNIC3D_CHECK(prev == nullptr || prev->guard == kGuardWord);
    VORNIC3D_CHECK(next == nullptr || next->guard == kGuardWord);

    if (prev != nullptr)
        prev->next = block->next;
    else
        *head = block->next;
    if (next != nullptr)
        next->prev = block->prev;
    block->prev = 0;
    block->debug_index = -1;
    block->next = offsetOf(block) + static_cast<std::uint32_t>(block->size);
}

bool MemoryManager::addBlock(std::uint32_t* head, BlockHeader* block)
{
    VORNIC3D_CHECK(head != nullptr);
    VORNIC3D_CHECK(block != nullptr);
    VORNIC3D_CHECK(block->guard == kGuardWord);
    const std::uint32_t at = offsetOf(block);
    block->debug_index = -1;

    // The free neighbours in address order; the list must link them as the
    // index has them, or a header was overwritten.
    std::uint32_t prevOffset = 0;
    std::uint32_t nextOffset = 0;
    m_freeIndex.findNeighbours(at, &prevOffset, &nextOffset);
    VORNIC3D_CHECK(nextOffset != at);
    BlockHeader* prev = blockAt(prevOffset);
    BlockHeader* next = blockAt(nextOffset);
    const bool prevIntact = prev == nullptr
                                ? *head == nextOffset
                                : isHeaderOffset(prevOffset) && prev->guard == kGuardWord && prev->next == nextOffset;
    VORNIC3D_ASSERT(prevIntact, "MemoryManager: addBlock : this block is corrupted!");
    const bool nextIntact =
        next == nullptr || (isHeaderOffset(nextOffset) && next->guard == kGuardWord && next->prev == prevOffset);
    VORNIC3D_ASSERT(nextIntact, "MemoryManager: addBlock : Next block is corrupted! This block overwrites it!");
    // A block overlapping a free neighbour was freed already (it lies inside
    // a merged block): linking it would corrupt the list.
    VORNIC3D_CHECK(prev == nullptr || prevOffset + static_cast<std::uint32_t>(prev->size) <= at);
    VORNIC3D_CHECK(next == nullptr || at + static_cast<std::uint32_t>(block->size) <= nextOffset);

    // The index takes the outcome of the merges below in one change.
    const bool touchesPrev = prev != nullptr && prevOffset + static_cast<std::uint32_t>(prev->size) == at;
    const bool touchesNext = next != nullptr && at + static_cast<std::uint32_t>(block->size) == nextOffset;
    if (touchesPrev && touchesNext) {
        m_freeIndex.update(prevOffset, prevOffset, prev->size + block->size + next->size);
        m_freeIndex.erase(nextOffset);
    } else if (touchesPrev) {
        m_freeIndex.update(prevOffset, prevOffset, prev->size + block->size);
    } else if (touchesNext) {
        m_freeIndex.update(nextOffset, at, block->size + next->size);
    } else {
        m_freeIndex.insert(at, block->size);
    }

    // The block's links as if it stood between its neighbours: a merge into
    // the free block before it carries them over.
    block->prev = prevOffset;
    block->next = nextOffset;
    if (prev != nullptr && connectBlocks(prev, block)) {
        if (next != nullptr && connectBlocks(prev, next) && Debug::isShown(Debug::LEVEL_LOW))
            Debug::printf(Debug::LEVEL_LOW, "MemoryManager: double connection!!\n");
        return true;
    }
    if (next == nullptr || !connectBlocks(next, block)) {
        if (prev != nullptr)
            prev->next = at;
        if (next != nullptr)
            next->prev = at;
    }
    // Merged into the following free block or linked in, the block now
    // stands right behind `prev`.
    if (prev == nullptr)
        *head = at;
    return true;
}

// Merges two neighbours of the free list, whichever of them comes first in
// the pool; the lower one survives and holds the list place of `first`. The
// list head is the caller's: a block merged into the head becomes the head.
// The absorbed header is left in place inside the merged block.
bool MemoryManager::connectBlocks(BlockHeader* first, BlockHeader* next)
{
    VORNIC3D_CHECK(first != nullptr);
    VORNIC3D_CHECK(next != nullptr);
    const std::uint32_t firstOffset = offsetOf(first);
    const std::uint32_t nextOffset = offsetOf(next);
    if (firstOffset + static_cast<std::uint32_t>(first->size) == nextOffset) {
        if (Debug::isShown(Debug::LEVEL_LOW))
            Debug::printf(Debug::LEVEL_LOW,
                          "MemoryManager: connect blocks first (0x%X) -> next (0x%X) (new size:%d + %d = %d)\n",
                          firstOffset, nextOffset, first->size, next->size, first->size + next->size);
        first->size += next->size;
        first->next = next->next;
        if (BlockHeader* after = blockAt(next->next))
            after->prev = firstOffset;
        return true;
    }
    if (nextOffset + static_cast<std::uint32_t>(next->size) == firstOffset) {
        if (Debug::isShown(Debug::LEVEL_LOW))
            Debug::printf(Debug::LEVEL_LOW,
                          "MemoryManager: connect blocks next (0x%X) -> first (0x%X) (new size:%d + %d = %d)\n",
                          nextOffset, firstOffset, next->size, first->size, next->size + first->size);
        next->size += first->size;
        next->prev = first->prev;
        next->next = first->next;
        if (BlockHeader* before = blockAt(first->prev))
            before->next = nextOffset;
        if (BlockHeader* after = blockAt(first->next))
            after->prev = nextOffset;
        return true;
    }
    return false;
}

} // namespace core
