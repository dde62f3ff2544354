// Allocation churn through the engine's pool beside the same pattern through
// the system heap.
#include "support/BenchEngine.h"
#include "support/RatioReporter.h"

#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerConfig.h"

#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Room for 100,000 live blocks; the table keeps the size a 16 MB pool gets,
// so the 10,000-block churn runs as it always has.
constexpr int kPoolSize = 48 * 1024 * 1024;
constexpr int kAllocationTableSize = 16 * 1024 * 1024 / core::MemoryManager::kPoolBytesPerTableEntry;

struct PoolAllocator {
    static void* allocate(int size) { return VORNIC3D_ALLOC(size); }
    static void release(void* p) { VORNIC3D_FREE(p); }
};

struct HeapAllocator {
    static void* allocate(int size) { return std::malloc(static_cast<std::size_t>(size)); }
    static void release(void* p) { std::free(p); }
};

std::vector<int> randomSizes(std::size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> size(16, 256);
    std::vector<int> sizes(count);
    for (int& s : sizes)
        s = size(random);
    return sizes;
}

// state.range(0) live blocks of random sizes; each iteration frees a random
// one and allocates a new one in its place, so the pool stays fragmented.
template <typename A>
void liveChurn(benchmark::State& state)
{
    const auto liveBlocks = static_cast<std::size_t>(state.range(0));
    const std::vector<int> sizes = randomSizes(1 << 17, 1);
    std::vector<void*> live(liveBlocks);
    for (std::size_t i = 0; i < liveBlocks; ++i)
        live[i] = A::allocate(sizes[i]);
    std::mt19937 random(2);
    std::size_t next = 0;
    for (auto _ : state) {
        const std::size_t victim = random() % liveBlocks;
        A::release(live[victim]);
        live[victim] = A::allocate(sizes[next++ & 0x1FFFF]);
        benchmark::DoNotOptimize(live[victim]);
    }
    for (void* p : live)
        A::release(p);
}

// Short-lived blocks: eight allocations freed again at once, as temporary
// buffers are.
template <typename A>
void shortLived(benchmark::State& state)
{
    const std::vector<int> sizes = randomSizes(1 << 16, 3);
    std::size_t next = 0;
    void* batch[8];
    for (auto _ : state) {
        for (void*& p : batch)
            p = A::allocate(sizes[next++ & 0xFFFF]);
        benchmark::DoNotOptimize(batch);
        for (void* p : batch)
            A::release(p);
    }
}

void BM_Pool_LiveChurn(benchmark::State& s)
{
    liveChurn<PoolAllocator>(s);
}
void BM_Malloc_LiveChurn(benchmark::State& s)
{
    liveChurn<HeapAllocator>(s);
}
void BM_Pool_ShortLived(benchmark::State& s)
{
    shortLived<PoolAllocator>(s);
}
void BM_Malloc_ShortLived(benchmark::State& s)
{
    shortLived<HeapAllocator>(s);
}

BENCHMARK(BM_Pool_LiveChurn)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_Malloc_LiveChurn)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_Pool_ShortLived);
BENCHMARK(BM_Malloc_ShortLived);

} // namespace

int main(int argc, char** argv)
{
    core::MemoryManagerConfig config;
    config.name = "MemoryManager";
    config.debug_monitor_table_size = kAllocationTableSize;
    benchsupport::BenchEngine engine(kPoolSize, &config);

    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* live : {"1000", "10000", "100000"})
        pairs.emplace_back(std::string("BM_Pool_LiveChurn/") + live, std::string("BM_Malloc_LiveChurn/") + live);
    pairs.emplace_back("BM_Pool_ShortLived", "BM_Malloc_ShortLived");
    const int result = benchsupport::runWithRatios(argc, argv, pairs);

    return result;
}
