// core::HashTable put and find beside std::unordered_map, with the game's
// construction (256 buckets asked for, load factor 0.9) and int keys.
#include "support/BenchEngine.h"
#include "support/RatioReporter.h"

#include "core/Debug.h"
#include "core/Globals.h"
#include "core/HashTable.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerConfig.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// 10^6 keys take about 1.2 million nodes (the pool made at each growth
// outlives the keys put so far) besides the bucket arrays.
constexpr int kPoolSize = 192 * 1024 * 1024;
constexpr int kAllocationTableSize = 2 * 1024 * 1024;

// Distinct keys in a scattered order: multiplication by an odd constant is a
// bijection modulo 2^32.
std::vector<int> makeKeys(std::int64_t count)
{
    std::vector<int> keys(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = static_cast<int>(static_cast<std::uint32_t>(i) * 2654435761u);
    return keys;
}

struct EngineTable {
    core::HashTable<int, int> table{256, 0.9f};
    void put(int key, int value) { table.put(key, value); }
    bool contains(int key) const { return table.findNode(key) != nullptr; }
};

struct StdTable {
    std::unordered_map<int, int> table;
    void put(int key, int value) { table.emplace(key, value); }
    bool contains(int key) const { return table.find(key) != table.end(); }
};

// One iteration fills a new table with every key and destroys it.
template <typename Table>
void put(benchmark::State& state)
{
    const std::vector<int> keys = makeKeys(state.range(0));
    for (auto _ : state) {
        Table table;
        for (int key : keys)
            table.put(key, key);
        benchmark::DoNotOptimize(&table);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// One iteration looks up every key of a full table.
template <typename Table>
void find(benchmark::State& state)
{
    const std::vector<int> keys = makeKeys(state.range(0));
    Table table;
    for (int key : keys)
        table.put(key, key);
    for (auto _ : state) {
        int found = 0;
        for (int key : keys)
            found += table.contains(key) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_HashTable_Put(benchmark::State& s)
{
    put<EngineTable>(s);
}
void BM_UnorderedMap_Put(benchmark::State& s)
{
    put<StdTable>(s);
}
void BM_HashTable_Find(benchmark::State& s)
{
    find<EngineTable>(s);
}
void BM_UnorderedMap_Find(benchmark::State& s)
{
    find<StdTable>(s);
}

#define VORNIC3D_SIZES Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_HashTable_Put)->VORNIC3D_SIZES;
BENCHMARK(BM_UnorderedMap_Put)->VORNIC3D_SIZES;
BENCHMARK(BM_HashTable_Find)->VORNIC3D_SIZES;
BENCHMARK(BM_UnorderedMap_Find)->VORNIC3D_SIZES;
#undef VORNIC3D_SIZES

} // namespace

int main(int argc, char** argv)
{
    core::MemoryManagerConfig config;
    config.name = "MemoryManager";
    config.debug_monitor_table_size = kAllocationTableSize;
    benchsupport::BenchEngine engine(kPoolSize, &config);

    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* size : {"1000", "100000", "1000000"})
        for (const char* operation : {"Put", "Find"})
            pairs.emplace_back(std::string("BM_HashTable_") + operation + "/" + size,
                               std::string("BM_UnorderedMap_") + operation + "/" + size);
    const int result = benchsupport::runWithRatios(argc, argv, pairs);

    return result;
}
