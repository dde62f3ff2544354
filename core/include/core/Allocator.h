#pragma once

#include "core/MemoryManager.h"

namespace core {

// Allocates, constructs, destroys and frees whole element arrays in the main
// pool for core::Vector. Stateless.
// Contract: allocate constructs every slot (default construction: null for
// references, zero for numbers and pointers); deallocate destroys every slot,
// last first, before it frees the array, so a caller must hand back arrays
// whose slots are all live. The allocation table names the allocator.
template <typename T>
class Allocator {
public:
    static_assert(alignof(T) <= MemoryManager::kBlockAlignment, "the pool's blocks are aligned to 8 bytes only");

    T* allocate(int count);
    void deallocate(T* array, int count);
    void destroy(T* slot);
};

} // namespace core

#include "core/Allocator.inl"
