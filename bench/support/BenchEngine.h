#pragma once

#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"
#include "core/StringPool.h"

namespace benchsupport {

// The engine singletons a benchmark needs (registry, log showing errors only,
// main pool and, when given a size, the string pool with its memory manager)
// for the life of the object; at the end the pools' leak checks run, so a benchmark that loses
// memory fails loudly.
class BenchEngine {
public:
    explicit BenchEngine(int poolSize, const core::MemoryManagerConfig* config = nullptr, int stringPoolSize = 0)
    {
        core::Globals::initClass();
        core::Debug::initClass();
        // Only the results are printed: the engine's progress lines (thousands
        // of them from a loader) would run into the table; errors still show.
        core::Debug::setVerbosity(core::Debug::LEVEL_ERROR);
        core::Globals* globals = core::Globals::get();
        globals->m_memoryManager = new core::MemoryManager(poolSize, "MemoryManager", config);
        if (stringPoolSize > 0) {
            globals->m_stringPoolMemoryManager = new core::MemoryManager(stringPoolSize, "StringPool", nullptr);
            globals->m_stringPool = new core::StringPool();
        }
    }

    ~BenchEngine() noexcept(false)
    {
        core::Globals* globals = core::Globals::get();
        delete globals->m_stringPool;
        globals->m_stringPool = nullptr;
        globals->m_memoryManager->debugMonitorCheck();
        delete globals->m_memoryManager;
        globals->m_memoryManager = nullptr;
        if (globals->m_stringPoolMemoryManager != nullptr) {
            globals->m_stringPoolMemoryManager->debugMonitorCheck();
            delete globals->m_stringPoolMemoryManager;
            globals->m_stringPoolMemoryManager = nullptr;
        }
        core::Debug::deInitClass();
        core::Globals::deInitClass();
    }

    BenchEngine(const BenchEngine&) = delete;
    BenchEngine& operator=(const BenchEngine&) = delete;
};

} // namespace benchsupport
