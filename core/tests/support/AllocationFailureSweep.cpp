#include "AllocationFailureSweep.h"

#include "MemoryManagerInspector.h"

#include "core/Globals.h"
#include "core/IOException.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <vector>

namespace testsupport {

namespace {

constexpr char kReturned[] = "returned as if nothing had failed";

// What a pool holds, as its statistics count it.
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

// The live blocks as the leak check names them: how many each allocating
// function and line holds.
using Holders = std::map<std::string, int>;

Holders holdersOf(const core::MemoryManager& m)
{
    Holders holders;
    for (const auto& entry : core::MemoryManagerInspector::liveAllocations(m))
        ++holders[std::string(entry.function) + "(" + std::to_string(entry.line) + ")"];
    return holders;
}

struct Pool {
    const char* name;
    core::MemoryManager* manager;
    // Where the counting run's allocations from this pool go.
    int AllocationCounts::*allocations;
    PoolState baseline;
    Holders baselineHolders;

    Pool(const char* name_, core::MemoryManager* manager_, int AllocationCounts::*allocations_)
        : name(name_), manager(manager_), allocations(allocations_), baseline(*manager_),
          baselineHolders(holdersOf(*manager_))
    {
    }
};

// How an operation ended: returned, refused as a full pool may refuse it (in
// the pool's own exception or a loader's), or otherwise; with the words that
// say how.
struct Ending {
    enum Kind { kReturnedNormally, kRefused, kOther };
    Kind kind;
    std::string text;
};

Ending endingOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const core::MemoryManagerException& e) {
        const bool full = std::strcmp(e.message, core::MemoryManager::kMemoryFull) == 0;
        return {full ? Ending::kRefused : Ending::kOther,
                std::string("ended in MemoryManagerException \"") + e.message + "\""};
    } catch (const core::IOException& e) {
        return {Ending::kRefused, std::string("ended in IOException \"") + e.message + "\""};
    } catch (const Vornic3DException& e) {
        std::ostringstream text;
        text << "ended in the engine exception \"" << e.message << "\" (" << e.function << ", " << e.sourceFile << ":"
             << e.line << ")";
        return {Ending::kOther, text.str()};
    } catch (...) {
        // Anything else escaping (a string's exception by pointer, a
        // standard one) is reported, not swallowed.
        return {Ending::kOther, "ended in an exception that is not the engine's"};
    }
    return {Ending::kReturnedNormally, kReturned};
}

// "" when the operation ended as a full pool may end it; otherwise how it
// ended.
std::string refusalOf(const std::function<void()>& operation)
{
    const Ending ending = endingOf(operation);
    return ending.kind == Ending::kRefused ? "" : ending.text;
}

// "" when the pool holds what it held before the sweep; otherwise what
// differs, naming the holders of blocks gained or lost. Blocks made anew (by
// `restore`) may land where a free block a few bytes too large is taken
// whole, so with `remade` the bytes may differ while the blocks are the same.
std::string leftBehind(const Pool& pool, bool remade)
{
    const core::MemoryManager& m = *pool.manager;
    const testing::AssertionResult consistent = core::MemoryManagerInspector::consistent(m);
    if (!consistent)
        return std::string(pool.name) + " pool inconsistent: " + consistent.message();
    const PoolState now(m);
    if (now == pool.baseline)
        return "";
    const Holders holders = holdersOf(m);
    if (remade && now.blocks == pool.baseline.blocks && holders == pool.baselineHolders)
        return "";
    std::ostringstream text;
    text << pool.name << " pool not at its baseline: " << now.blocks - pool.baseline.blocks << " blocks, "
         << now.usedMem - pool.baseline.usedMem << " bytes more;";
    Holders all = holders;
    all.insert(pool.baselineHolders.begin(), pool.baselineHolders.end());
    for (const auto& entry : all) {
        const std::string& holder = entry.first;
        const auto count = [&](const Holders& h) {
            const auto found = h.find(holder);
            return found == h.end() ? 0 : found->second;
        };
        const int gained = count(holders) - count(pool.baselineHolders);
        if (gained != 0)
            text << " " << holder << " " << std::showpos << gained << std::noshowpos << ";";
    }
    return text.str();
}

// The failures the running test has recorded so far.
int failuresSoFar()
{
    const testing::TestResult* result = testing::UnitTest::GetInstance()->current_test_info()->result();
    int failures = 0;
    for (int i = 0; i < result->total_part_count(); ++i)
        failures += result->GetTestPartResult(i).failed() ? 1 : 0;
    return failures;
}

// Runs the operation normally; "" when it succeeded.
std::string normalRun(const std::function<void()>& operation)
{
    const Ending ending = endingOf(operation);
    return ending.kind == Ending::kReturnedNormally ? "" : "a normal run " + ending.text;
}

// One sweep's runs; each step answers "" or the fault it found.
class Sweep {
public:
    Sweep(const std::function<void()>& operation, const std::function<void()>& restore,
          const std::function<void()>& beforeRun)
        : m_operation(operation), m_restore(restore), m_beforeRun(beforeRun), m_failures(failuresSoFar())
    {
    }

    // A normal run that warms what only a first use makes; the pools'
    // baselines are taken after it.
    std::string warmUp()
    {
        prepare();
        const std::string fault = normalRun(m_operation);
        putBack();
        m_pools.emplace_back("main", core::Globals::get()->m_memoryManager, &AllocationCounts::mainPool);
        m_pools.emplace_back("string", core::Globals::get()->m_stringPoolMemoryManager, &AllocationCounts::stringPool);
        return fault;
    }

    // A normal run whose allocations from each pool are counted.
    std::string count(AllocationCounts& counts)
    {
        prepare();
        for (const Pool& pool : m_pools)
            counts.*pool.allocations = -pool.manager->getAllocationCount();
        const std::string fault = normalRun(m_operation);
        for (const Pool& pool : m_pools)
            counts.*pool.allocations += pool.manager->getAllocationCount();
        putBack();
        return fault.empty() ? leftBehindInAnyPool(static_cast<bool>(m_restore)) : fault;
    }

    // The run with the pool's nth allocation failing, then a normal one.
    std::string failAt(Pool& pool, int n)
    {
        prepare();
        pool.manager->failAllocation(n);
        std::string fault = refusalOf(m_operation);
        if (pool.manager->getPendingFailure() != 0)
            fault = "the failure was never reached: the operation took fewer allocations than counted";
        pool.manager->failAllocation(0);
        if (fault.empty() && !m_restore)
            fault = leftBehindInAnyPool(false);
        if (fault.empty())
            fault = normalRun(m_operation);
        putBack();
        if (fault.empty())
            fault = leftBehindInAnyPool(static_cast<bool>(m_restore));
        // A check of the operation's own or of `restore` that failed.
        if (fault.empty() && failuresSoFar() != m_failures)
            fault = "the checks above failed";
        return fault;
    }

    std::vector<Pool>& pools() { return m_pools; }

private:
    void prepare()
    {
        if (m_beforeRun)
            m_beforeRun();
    }
    void putBack()
    {
        if (m_restore)
            m_restore();
    }
    std::string leftBehindInAnyPool(bool remade) const
    {
        for (const Pool& pool : m_pools) {
            const std::string fault = leftBehind(pool, remade);
            if (!fault.empty())
                return fault;
        }
        return "";
    }

    const std::function<void()>& m_operation;
    const std::function<void()>& m_restore;
    const std::function<void()>& m_beforeRun;
    // The test's failures before the sweep, which are not its own.
    const int m_failures;
    std::vector<Pool> m_pools;
};

} // namespace

std::ostream& operator<<(std::ostream& out, const AllocationCounts& counts)
{
    return out << "main " << counts.mainPool << ", strings " << counts.stringPool;
}

AllocationCounts sweepAllocationFailures(const std::function<void()>& operation, const std::function<void()>& restore,
                                         const std::function<void()>& beforeRun)
{
    Sweep sweep(operation, restore, beforeRun);
    AllocationCounts counts;
    std::string fault = sweep.warmUp();
    if (!fault.empty()) {
        ADD_FAILURE() << "warm-up: " << fault;
        return counts;
    }
    fault = sweep.count(counts);
    if (!fault.empty()) {
        ADD_FAILURE() << "counting run: " << fault;
        return counts;
    }
    for (Pool& pool : sweep.pools()) {
        const int count = counts.*pool.allocations;
        for (int n = 1; n <= count; ++n) {
            fault = sweep.failAt(pool, n);
            if (!fault.empty()) {
                ADD_FAILURE() << pool.name << " pool, allocation " << n << " of " << count << " failing: " << fault;
                return counts;
            }
        }
    }
    // The standard output is the fixture's captured log: the counts go beside it.
    std::ostringstream line;
    line << "allocation failure sweep: " << counts << "\n";
    std::fputs(line.str().c_str(), stderr);
    return counts;
}

} // namespace testsupport
