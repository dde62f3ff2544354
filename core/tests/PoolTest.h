#pragma once

#include "EngineTest.h"
#include "MemoryManagerInspector.h"

#include <vector>

namespace testsupport {

// The engine fixture with a memory manager of the test's own (make), beside
// the engine's pools. Teardown walks it for consistency and destroys it,
// which fails while anything is still allocated.
class PoolTest : public EngineTest {
protected:
    void make(int size, const core::MemoryManagerConfig* config = nullptr)
    {
        m_mm = new core::MemoryManager(size, "Test", config);
    }
    void TearDown() override
    {
        if (m_mm != nullptr) {
            EXPECT_TRUE(core::MemoryManagerInspector::consistent(*m_mm));
            EXPECT_NO_THROW(delete m_mm);
        }
        EngineTest::TearDown();
    }

    void* alloc(int size) { return VORNIC3D_POOL_ALLOC(m_mm, size); }
    void release(void* p) { VORNIC3D_POOL_FREE(m_mm, p); }
    std::size_t freeBlockCount() const { return core::MemoryManagerInspector::freeBlocks(*m_mm).size(); }
    // Takes blocks of `size` until the pool is full.
    std::vector<void*> fill(int size)
    {
        std::vector<void*> blocks;
        EXPECT_EQ(messageOf<core::MemoryManagerException>([&] {
                      for (;;)
                          blocks.push_back(alloc(size));
                  }),
                  "MemoryManager: memory full");
        return blocks;
    }

    core::MemoryManager* m_mm = nullptr;
};

} // namespace testsupport
