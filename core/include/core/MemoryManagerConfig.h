#pragma once

#include <cstdint>

namespace core {

// How a core::MemoryManager is built.
// Contract: myAlloc/myFree replace the whole allocator and come in a pair, as
// do myPoolAlloc/myPoolFree, which only supply the pool's and the table's
// memory (which must be 8-byte aligned, as the system heap's is).
// debug_monitor_table_size 0 takes one table entry per 40 bytes of pool.
struct MemoryManagerConfig {
    const char* name = nullptr;
    void* (*myAlloc)(int size) = nullptr;
    void (*myFree)(void* pointer) = nullptr;
    void* (*myPoolAlloc)(int size) = nullptr;
    void (*myPoolFree)(void* pointer) = nullptr;
    std::int32_t debug_monitor_table_size = 0;
};

} // namespace core
