// The recipe tools over many glazes: the shopping list and the average of 10,000 and of 100,000
// generated glazes (bench/generated: six components and one addition each, from 10,000
// materials). Target: each under 1 s at 100,000 glazes (Release build).

#include "GeneratedDatabases.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeList.h"
#include "shell/AppContext.h"
#include "tools/MixGlazes.h"
#include "tools/ShoppingList.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>

namespace {

constexpr int kMaterials = 10000;

// The generated database of count glazes, read once per count.
const CGlazeList& GlazesOf(int count)
{
    static std::map<int, std::unique_ptr<CGlazeList>> lists;
    auto& list = lists[count];
    if (!list) {
        list = std::make_unique<CGlazeList>();
        std::istringstream in(GeneratedGlazesFile(count, kMaterials));
        list->ReadFile(in);
    }
    return *list;
}

void BM_ShoppingList(benchmark::State& state)
{
    CAppContext context;
    const CGlazeList& glazes = GlazesOf(static_cast<int>(state.range(0)));
    std::vector<const CGlaze*> chosen;
    for (int i = 0; i < glazes.GetCount(); ++i)
        chosen.push_back(&glazes.GetAt(i));
    CShoppingListRequest request;
    request.recipeSize = kShopCustomSize;
    std::size_t lines = 0;
    for (auto _ : state) {
        CStringArrayEx report;
        MakeShoppingList(chosen, request, report);
        lines = report.size();
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ShoppingList)->ArgName("glazes")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_AverageGlazes(benchmark::State& state)
{
    CAppContext context;
    const CGlazeList& glazes = GlazesOf(static_cast<int>(state.range(0)));
    std::vector<int> rows(static_cast<std::size_t>(glazes.GetCount()));
    std::iota(rows.begin(), rows.end(), 0);
    std::size_t lines = 0;
    for (auto _ : state) {
        CGlaze average;
        int insertAt = -1;
        std::string error;
        BuildGlazeAverage(rows, glazes, average, insertAt, error);
        lines = average.m_components.size() + average.m_additions.size();
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_AverageGlazes)->ArgName("glazes")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
