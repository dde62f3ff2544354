#pragma once

#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"

#include <vector>

namespace testsupport {

// Takes every block a memory manager can still give, largest first, so that
// the next allocation of any size fails with "MemoryManager: memory full";
// gives them back when destroyed (or at release()).
class PoolFiller {
public:
    explicit PoolFiller(core::MemoryManager* mem) : m_mem(mem)
    {
        for (int size = mem->getDataBlockSize() / 2; size >= 1; size /= 2) {
            try {
                for (;;)
                    m_blocks.push_back(VORNIC3D_POOL_ALLOC(m_mem, size));
            } catch (const core::MemoryManagerException&) {
            }
        }
    }
    ~PoolFiller() { release(); }

    void release()
    {
        for (void* block : m_blocks)
            VORNIC3D_POOL_FREE(m_mem, block);
        m_blocks.clear();
    }

    PoolFiller(const PoolFiller&) = delete;
    PoolFiller& operator=(const PoolFiller&) = delete;

private:
    core::MemoryManager* m_mem;
    std::vector<void*> m_blocks;
};

} // namespace testsupport
