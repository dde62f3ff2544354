#pragma once

#include <functional>
#include <ostream>

namespace testsupport {

// The allocations one run of an operation takes from each pool.
struct AllocationCounts {
    int mainPool = 0;
    int stringPool = 0;
};

// Runs an operation under every single allocation failure it can meet, as a
// full pool makes it fail. A first run warms what only a first use makes; a
// second counts the allocations the operation takes from each pool; then for
// each pool and each N from 1 to its count one run has the Nth allocation
// fail (MemoryManager::failAllocation).
// Every such run must end in the pool's "MemoryManager: memory full" or a
// loader's core::IOException, and a normal run right after it must succeed,
// so the objects the failure met are whole. Afterwards (and after `restore`)
// both pools must hold exactly what they held before the sweep: the same
// blocks, as the leak check names them by function and line, the same counts
// and bytes in the statistics, and a consistent free list. Objects that
// `restore` makes anew may land where a free block a few bytes too large is
// taken whole, so with a `restore` the bytes may differ, the blocks may not.
// The first faulty run (a failed check of the operation's or `restore`'s own
// included) ends the sweep with a test failure naming the pool, N and fault.
// `restore` (optional, run with no failure armed after each pair of runs and
// after the counting runs) puts back what the operation changes on purpose:
// a state entered, a renderer's buffers made. `beforeRun` (optional) runs
// before every run: the fixture clears its log there.
AllocationCounts sweepAllocationFailures(const std::function<void()>& operation,
                                         const std::function<void()>& restore = {},
                                         const std::function<void()>& beforeRun = {});

// "main N, strings M".
std::ostream& operator<<(std::ostream& out, const AllocationCounts& counts);

} // namespace testsupport
