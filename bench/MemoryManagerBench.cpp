// Allocation churn through the engine's pool beside the same pattern through
// the system heap.
#include "support/BenchEngine.h"
#include "support/RatioReporter.h"

#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"

#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kLiveBlocks = 10000;
constexpr int kPoolSize = 16 * 1024 * 1024;

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

// 10,000 live blocks of random sizes; each iteration frees a random one and
// allocates a new one in its place, so the pool stays fragmented.
template <typename A>
void liveChurn(benchmark::State& state)
{
    const std::vector<int> sizes = randomSizes(1 << 16, 1);
    std::vector<void*> live(kLiveBlocks);
    for (int i = 0; i < kLiveBlocks; ++i)
        live[static_cast<std::size_t>(i)] = A::allocate(sizes[static_cast<std::size_t>(i)]);
    std::mt19937 random(2);
    std::size_t next = 0;
    for (auto _ : state) {
        const std::size_t victim = random() % kLiveBlocks;
        A::release(live[victim]);
        live[victim] = A::allocate(sizes[next++ & 0xFFFF]);
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

void BM_Pool_LiveChurn(benchmark::State& s) { liveChurn<PoolAllocator>(s); }
void BM_Malloc_LiveChurn(benchmark::State& s) { liveChurn<HeapAllocator>(s); }
void BM_Pool_ShortLived(benchmark::State& s) { shortLived<PoolAllocator>(s); }
void BM_Malloc_ShortLived(benchmark::State& s) { shortLived<HeapAllocator>(s); }

BENCHMARK(BM_Pool_LiveChurn);
BENCHMARK(BM_Malloc_LiveChurn);
BENCHMARK(BM_Pool_ShortLived);
BENCHMARK(BM_Malloc_ShortLived);

} // namespace

int main(int argc, char** argv)
{
    benchsupport::BenchEngine engine(kPoolSize);

    const int result = benchsupport::runWithRatios(argc, argv,
                                                   {{"BM_Pool_LiveChurn", "BM_Malloc_LiveChurn"},
                                                    {"BM_Pool_ShortLived", "BM_Malloc_ShortLived"}});

    return result;
}
