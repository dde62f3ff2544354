#include "AllocationFailureSweep.h"

#include "MemoryManagerInspector.h"

#include "core/Globals.h"
#include "core/IOException.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

namespace testsupport {

namespace {

constexpr char kReturned[] = "returned as if nothing had failed";

// What a pool holds, as the leak check and the statistics see it.
struct PoolState {
    std::int32_t blocks = 0;
    std::int32_t usedMem = 0;
    std::int32_t freeMem = 0;

    explicit PoolState(const core::MemoryManager& m)
        : blocks(m.getAllocatedBlocks()), usedMem(m.getUsedMem()), freeMem(m.getFreeMem())
    {
    }
    bool operator==(const PoolState& other) const
    {
        return blocks == other.blocks && usedMem == other.usedMem && freeMem == other.freeMem;
    }
};

struct Pool {
    const char* name;
    core::MemoryManager* manager;
    PoolState baseline;
    std::vector<core::MemoryManager::DebugTableEntry> baselineBlocks;

    Pool(const char* name_, core::MemoryManager* manager_)
        : name(name_), manager(manager_), baseline(*manager_),
          baselineBlocks(core::MemoryManagerInspector::liveAllocations(*manager_))
    {
    }
};

// "" when the operation ended as a full pool may end it: in the pool's own
// exception or a loader's; otherwise how it ended.
std::string refusalOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const core::MemoryManagerException& e) {
        return std::strcmp(e.message, "MemoryManager: memory full") == 0
                   ? ""
                   : std::string("ended in MemoryManagerException \"") + e.message + "\"";
    } catch (const core::IOException&) {
        return "";
    } catch (const Vornic3DException& e) {
        std::ostringstream text;
        text << "ended in the engine exception \"" << e.message << "\" (" << e.function << ", " << e.sourceFile
             << ":" << e.line << ")";
        return text.str();
    } catch (...) {
        // Anything else escaping (a string's exception by pointer, a
        // standard one) is reported, not swallowed.
        return "ended in an exception that is not the engine's";
    }
    return kReturned;
}

// "" when the pool holds what it held before the sweep; otherwise what
// differs, naming the allocations left behind.
std::string leftBehind(const Pool& pool)
{
    const core::MemoryManager& m = *pool.manager;
    if (!core::MemoryManagerInspector::consistent(m))
        return std::string(pool.name) + " pool inconsistent: " +
               core::MemoryManagerInspector::consistent(m).message();
    if (PoolState(m) == pool.baseline)
        return "";
    std::ostringstream text;
    text << pool.name << " pool not at its baseline: " << m.getAllocatedBlocks() - pool.baseline.blocks
         << " blocks, " << m.getUsedMem() - pool.baseline.usedMem << " bytes more;";
    for (const auto& entry : core::MemoryManagerInspector::liveAllocations(m)) {
        bool known = false;
        for (const auto& old : pool.baselineBlocks)
            known = known || (old.block == entry.block && old.function == entry.function && old.line == entry.line);
        if (!known)
            text << " " << entry.function << "(" << entry.line << ") " << entry.size << " bytes;";
    }
    return text.str();
}

// Runs the operation normally; "" when it succeeded.
std::string normalRun(const std::function<void()>& operation)
{
    const std::string ending = refusalOf(operation);
    return ending == kReturned ? "" : "a normal run " + ending;
}

} // namespace

std::string describe(const AllocationCounts& counts)
{
    return "main " + std::to_string(counts.mainPool) + ", strings " + std::to_string(counts.stringPool);
}

AllocationCounts sweepAllocationFailures(const std::function<void()>& operation,
                                         const std::function<void()>& restore,
                                         const std::function<void()>& beforeRun)
{
    const auto prepare = [&] {
        if (beforeRun)
            beforeRun();
    };
    const auto putBack = [&] {
        if (restore)
            restore();
    };
    core::Globals* globals = core::Globals::get();
    core::MemoryManager* mainPool = globals->m_memoryManager;
    core::MemoryManager* stringPool = globals->m_stringPoolMemoryManager;
    AllocationCounts counts;

    prepare();
    std::string fault = normalRun(operation);
    putBack();
    if (!fault.empty()) {
        ADD_FAILURE() << "warm-up: " << fault;
        return counts;
    }
    Pool pools[] = {{"main", mainPool}, {"string", stringPool}};

    prepare();
    const std::int32_t mainBefore = mainPool->getAllocationCount();
    const std::int32_t stringsBefore = stringPool->getAllocationCount();
    fault = normalRun(operation);
    counts.mainPool = mainPool->getAllocationCount() - mainBefore;
    counts.stringPool = stringPool->getAllocationCount() - stringsBefore;
    putBack();
    for (const Pool& pool : pools)
        fault = fault.empty() ? leftBehind(pool) : fault;
    if (!fault.empty()) {
        ADD_FAILURE() << "counting run: " << fault;
        return counts;
    }

    for (Pool& pool : pools) {
        const int count = &pool == &pools[0] ? counts.mainPool : counts.stringPool;
        for (int n = 1; n <= count; ++n) {
            prepare();
            pool.manager->failAllocation(n);
            fault = refusalOf(operation);
            if (fault.empty() && pool.manager->getPendingFailure() != 0)
                fault = "the failure was never reached: the operation took fewer allocations than counted";
            pool.manager->failAllocation(0);
            if (fault.empty() && !restore)
                for (const Pool& p : pools)
                    fault = fault.empty() ? leftBehind(p) : fault;
            if (fault.empty())
                fault = normalRun(operation);
            putBack();
            for (const Pool& p : pools)
                fault = fault.empty() ? leftBehind(p) : fault;
            if (!fault.empty()) {
                ADD_FAILURE() << pool.name << " pool, allocation " << n << " of " << count << " failing: " << fault;
                return counts;
            }
        }
    }
    // The standard output is the fixture's captured log: the counts go beside it.
    std::fprintf(stderr, "allocation failure sweep: %s\n", describe(counts).c_str());
    return counts;
}

} // namespace testsupport
