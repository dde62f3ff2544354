#pragma once

#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"

namespace benchsupport {

// The engine singletons a benchmark needs (registry, log, main pool) for the
// life of the object; at the end the pool's leak check runs, so a benchmark
// that loses memory fails loudly.
class BenchEngine {
public:
    explicit BenchEngine(int poolSize, const core::MemoryManagerConfig* config = nullptr)
    {
        core::Globals::initClass();
        core::Debug::initClass();
        core::Globals::get()->m_memoryManager = new core::MemoryManager(poolSize, "MemoryManager", config);
    }

    ~BenchEngine() noexcept(false)
    {
        core::Globals* globals = core::Globals::get();
        globals->m_memoryManager->debugMonitorCheck();
        delete globals->m_memoryManager;
        globals->m_memoryManager = nullptr;
        core::Debug::deInitClass();
        core::Globals::deInitClass();
    }

    BenchEngine(const BenchEngine&) = delete;
    BenchEngine& operator=(const BenchEngine&) = delete;
};

} // namespace benchsupport
