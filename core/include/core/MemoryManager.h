#pragma once

#include "core/FreeBlockIndex.h"
#include "core/FunctionName.h"
#include "core/MemoryManagerConfig.h"

#include <cstdint>

namespace HAL {
class Mutex;
}

namespace core {

// A fixed pool taken once from the system heap, handed out in blocks by a
// first-fit allocator over an address-ordered free list, with a guard word in
// every block header, merging of free neighbours, usage statistics and a
// table of live allocations naming the allocating function and line (for
// overrun diagnoses and the leak report). An index beside the list finds the
// block the first-fit walk would take, and a released block's neighbours, in
// O(log n); the list and the headers stay exactly as the walk keeps them.
// Contract: every block must be freed before debugMonitorCheck and the
// destructor; memory is taken through the VORNIC3D_* macros so that the table
// names the caller. Returned pointers are 8-byte aligned. One mutex per
// manager guards each allocation and release.
class MemoryManager {
public:
    static constexpr std::uint32_t kGuardWord = 0x12A51234u;
    static constexpr int kBlockHeaderSize = 20;
    // Leading and trailing guard areas of the pool.
    static constexpr int kPoolGuardSize = 20;
    static constexpr int kBlockAlignment = 8;
    static constexpr int kPoolBytesPerTableEntry = 40;
    static constexpr int kMaxReportedLeaks = 10;
    static constexpr std::uint32_t MEMORY_CONFIG_INITIALIZED = 1;

    // 20 bytes as on the 32-bit original: the list links are 32-bit offsets
    // from the start of the pool (0, the leading guard area, stands for null).
    // An allocated block's `next` is the offset just behind it and its `prev`
    // is 0; its `debug_index` names its table entry (-1: none).
    struct BlockHeader {
        std::uint32_t guard;
        std::int32_t size;
        std::uint32_t next;
        std::uint32_t prev;
        std::int32_t debug_index;
    };
    static_assert(sizeof(BlockHeader) == kBlockHeaderSize, "block header must stay 20 bytes");

    struct DebugTableEntry {
        BlockHeader* block; // null: entry free
        std::int32_t size;
        const char* function;
        std::int32_t line;
    };

    MemoryManager(int size, const char* name, const MemoryManagerConfig* config);
    ~MemoryManager() noexcept(false);

    MemoryManager(const MemoryManager&) = delete;
    MemoryManager& operator=(const MemoryManager&) = delete;

    // ---- entry points (through the VORNIC3D_* macros) ----
    static void* memAlloc(int size, const char* function, int line);
    static void memFree(void** ptr, const char* function, int line);
    static void* directMemPoolAlloc(MemoryManager* mem, int size, const char* function, int line);
    static void directMemPoolFree(MemoryManager* mem, void** ptr, const char* function, int line);
    static MemoryManager* getMemoryInfoPtr();
    static MemoryManager* getMemoryInfo();

    static void* hwMemAlloc(int size, MemoryManager* mem, const char* function, int line);
    static void hwMemFree(void** ptr, MemoryManager* mem, const char* function, int line);

    // The leak report: logs up to ten leaks and throws when there is any.
    void debugMonitorCheck();

    // Whether a request of `size` bytes passes the pool's size limit, below
    // which alone hwMemAlloc takes it instead of failing its assertion: a
    // reader sizing a block from its input asks first, to refuse the input
    // instead. A manager on allocation hooks has no pool and lets the hooks
    // decide.
    bool canHold(std::int64_t size) const { return m_myAlloc != nullptr || size < m_dataBlockSize; }
    // The message of the assertion a request beyond that limit fails: a
    // caller that takes such a request for its input's fault tells it by this.
    static constexpr char kBlockTooBig[] = "hwMemAlloc : allocated block size is too big";
    // The message of the MemoryManagerException a full pool (or an injected
    // failure) throws: the everyday refusal a caller may recover from.
    static constexpr char kMemoryFull[] = "MemoryManager: memory full";

    // ---- statistics (read without locking) ----
    const char* getName() const { return m_name; }
    std::int32_t getDataBlockSize() const { return m_dataBlockSize; }
    std::int32_t getAllocatedBlocks() const { return m_allocatedBlocks; }
    std::int32_t getAllocationCount() const { return m_allocationCount; }
    std::int32_t getFreeMem() const { return m_freeMem; }
    std::int32_t getUsedMem() const { return m_usedMem; }
    std::int32_t getPeakMem() const { return m_peakMem; }
    std::int32_t getDebugTableSize() const { return m_allocDebugTableSize; }

    // Bytes a request of `size` takes when it splits a larger free block, and
    // the size of a free block it takes whole (header and rounding included).
    static std::int64_t splitBlockSize(std::int64_t size);
    static std::int64_t exactBlockSize(std::int64_t size);

    // ---- failure injection (tests) ----
    // The `n`th allocation from now (1: the next) fails with "MemoryManager:
    // memory full", as from a full pool, and the one after it is served
    // again; 0 disarms. Off unless a test arms it. getPendingFailure is the
    // allocations still to come before the failure: 0 once it has happened.
    void failAllocation(int n) { m_failCountdown = n; }
    std::int32_t getPendingFailure() const { return m_failCountdown; }

private:
    friend class MemoryManagerInspector; // the tests' consistency walk

    // ---- pool ----
    void allocMemoryPool(int size);
    void freeMemoryPool();
    void releaseResources() noexcept;

    // ---- free list ----
    BlockHeader* createBlock(std::uint32_t* head, int size);
    void removeBlock(std::uint32_t* head, BlockHeader* block);
    bool addBlock(std::uint32_t* head, BlockHeader* block);
    bool connectBlocks(BlockHeader* first, BlockHeader* next);

    // ---- allocation table ----
    void debugMonitorInit(int size);
    void debugMonitorDeinit();
    static void debugMonitorAlloc(MemoryManager* mem, BlockHeader* block, const char* function, int line);
    static void debugMonitorFree(MemoryManager* mem, BlockHeader* block, const char* function, int line);
    static void debugMonitorFindPrev(MemoryManager* mem, BlockHeader* block, const char* function, int line);

    // ---- offsets ----
    BlockHeader* blockAt(std::uint32_t offset) const;
    std::uint32_t offsetOf(const void* address) const;
    bool liesInArea(const void* address) const;
    bool isHeaderOffset(std::uint32_t offset) const;

    const char* m_name = nullptr;
    std::uint8_t* m_pool = nullptr;
    std::uint8_t* m_dataBlockStart = nullptr;
    std::uint8_t* m_dataBlockEnd = nullptr;
    std::int32_t m_dataBlockSize = 0;
    std::int32_t m_allocatedBlocks = 0;
    std::int32_t m_allocationCount = 0;
    std::uint32_t m_flags = 0;
    std::uint32_t m_freeList = 0;
    std::int32_t m_freeMem = 0;
    std::int32_t m_peakMem = 0;
    std::int32_t m_usedMem = 0;
    void* (*m_myAlloc)(int) = nullptr;
    void (*m_myFree)(void*) = nullptr;
    void* (*m_myPoolAlloc)(int) = nullptr;
    void (*m_myPoolFree)(void*) = nullptr;
    std::int32_t m_debugCursor = 0;
    DebugTableEntry* m_allocDebugTable = nullptr;
    std::int32_t m_allocDebugTableSize = 0;
    HAL::Mutex* m_mutex = nullptr;
    FreeBlockIndex m_freeIndex;
    std::int32_t m_failCountdown = 0;
};

// ---- offsets (inline: every allocation and release takes several) ----------

inline MemoryManager::BlockHeader* MemoryManager::blockAt(std::uint32_t offset) const
{
    return offset == 0 ? nullptr : reinterpret_cast<BlockHeader*>(m_pool + offset);
}

inline std::uint32_t MemoryManager::offsetOf(const void* address) const
{
    return address == nullptr ? 0 : static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(address) - m_pool);
}

inline bool MemoryManager::liesInArea(const void* address) const
{
    const auto a = reinterpret_cast<std::uintptr_t>(address);
    return a >= reinterpret_cast<std::uintptr_t>(m_dataBlockStart) &&
           a < reinterpret_cast<std::uintptr_t>(m_dataBlockEnd);
}

// A place where a block header can stand: inside the managed area, on the
// blocks' alignment.
inline bool MemoryManager::isHeaderOffset(std::uint32_t offset) const
{
    const std::uint32_t start = kPoolGuardSize;
    const auto end = static_cast<std::uint32_t>(kPoolGuardSize + m_dataBlockSize);
    return offset >= start && offset < end && offset % kBlockAlignment == start % kBlockAlignment;
}

// Typed forms of memFree and directMemPoolFree: release and clear the caller's
// pointer, whatever its type.
template <typename T>
inline void memFreeTyped(T*& ptr, const char* function, int line)
{
    void* raw = const_cast<void*>(static_cast<const void*>(ptr));
    MemoryManager::memFree(&raw, function, line);
    ptr = static_cast<T*>(raw);
}

template <typename T>
inline void directMemPoolFreeTyped(MemoryManager* mem, T*& ptr, const char* function, int line)
{
    void* raw = const_cast<void*>(static_cast<const void*>(ptr));
    MemoryManager::directMemPoolFree(mem, &raw, function, line);
    ptr = static_cast<T*>(raw);
}

} // namespace core

// Allocation through the main pool and through a given manager, naming the
// calling function and line for the allocation table.
#define VORNIC3D_ALLOC(size) ::core::MemoryManager::memAlloc((size), VORNIC3D_FUNCTION, __LINE__)
#define VORNIC3D_FREE(ptr) ::core::memFreeTyped((ptr), VORNIC3D_FUNCTION, __LINE__)
#define VORNIC3D_POOL_ALLOC(mem, size)                                                                                 \
    ::core::MemoryManager::directMemPoolAlloc((mem), (size), VORNIC3D_FUNCTION, __LINE__)
#define VORNIC3D_POOL_FREE(mem, ptr) ::core::directMemPoolFreeTyped((mem), (ptr), VORNIC3D_FUNCTION, __LINE__)
