// core::Vector<core::Ref<T>>::pushBack beside std::vector<core::Ref<T>>: both
// copy references (count up and down) as they grow.
#include "support/BenchEngine.h"
#include "support/RatioReporter.h"

#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"
#include "core/Object.h"
#include "core/Ref.h"
#include "core/Vector.h"

#include <vector>

namespace {

constexpr int kPoolSize = 16 * 1024 * 1024;
constexpr int kReferences = 100000;

struct Item : core::Object {
    int payload = 0;
};

// One iteration appends 10^5 references to a new vector and destroys it.
template <typename V>
void pushBack(benchmark::State& state)
{
    const core::Ref<Item> item = VORNIC3D_NEW Item();
    for (auto _ : state) {
        V references;
        for (int i = 0; i < kReferences; ++i)
            references.push_back(item);
        benchmark::DoNotOptimize(&references);
    }
    state.SetItemsProcessed(state.iterations() * kReferences);
}

// The engine's spelling of push_back, so both run the same template.
struct EngineVector : core::Vector<core::Ref<Item>> {
    void push_back(const core::Ref<Item>& item) { pushBack(item); }
};

void BM_Vector_PushBackRef(benchmark::State& s)
{
    pushBack<EngineVector>(s);
}
void BM_StdVector_PushBackRef(benchmark::State& s)
{
    pushBack<std::vector<core::Ref<Item>>>(s);
}

BENCHMARK(BM_Vector_PushBackRef)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StdVector_PushBackRef)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchsupport::BenchEngine engine(kPoolSize);

    const int result = benchsupport::runWithRatios(argc, argv, {{"BM_Vector_PushBackRef", "BM_StdVector_PushBackRef"}});

    return result;
}
