// The materials and glaze list windows at 100,000 rows: filling the list, sorting the database by
// name and by an oxide and searching it, each as the window's command does it after its dialog
// (the database operation, then the window's refill or selection). Target: each under 0.2 s
// (Release build).
//
// The databases are generated (bench/generated): 100,000 materials, and 100,000 glazes whose
// recipes use the first 1,000 of them. Each sort starts from the order another key gives.

#include "BenchListWindows.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeListDlgCommands.h"
#include "glazes/GlazeSearchCriteria.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesView.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRows = 100000;
constexpr int kRecipeMaterials = 1000;
constexpr int kSilicon = 14;
constexpr int kGlazeSortIndex = 1;
constexpr int kGlazeSortOxideWeight = 21;
constexpr int kMaterialSortName = 0;
constexpr int kMaterialSortCost = 7;
constexpr int kMaterialSortOxide = 10;

CBenchListWindows& Windows()
{
    return ListWindowsOnce<kRows, kRows, kRecipeMaterials>();
}

// The window in a glaze table format, every analysis computed once.
void ShowGlazeTable(CBenchListWindows& windows, int format)
{
    windows.glazesView->SetListFormat(format);
    QApplication::processEvents();
}

// --- materials --------------------------------------------------------------------------------

void BM_MaterialsList_Fill(benchmark::State& state)
{
    CBenchListWindows& windows = Windows();
    for (auto _ : state) {
        windows.materialsView->FillList(0, -1, state.range(0) != 0);
        QApplication::processEvents();
    }
    state.counters["rows"] = windows.materialsView->GetCount();
}
BENCHMARK(BM_MaterialsList_Fill)->ArgName("measure")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Sort kind 0 (name) from the order of sort kind 7 (cost), or the other way round for the sort by
// an oxide's share (kind 10, silica), as Re-sort does it: sort, then refill without measuring.
void BM_MaterialsList_Sort(benchmark::State& state)
{
    CBenchListWindows& windows = Windows();
    const int kind = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        windows.materials->SortMaterials(kind == kMaterialSortName ? kMaterialSortCost : kMaterialSortName, 0);
        state.ResumeTiming();
        windows.materials->SortMaterials(kind, kSilicon);
        windows.materialsView->FillList(0, -1, false);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_MaterialsList_Sort)
    ->ArgName("kind")
    ->Arg(kMaterialSortName)
    ->Arg(kMaterialSortOxide)
    ->Unit(benchmark::kMillisecond);

// Find "12" in names and codes: about 4,000 materials selected, then read back as the commands
// read the selection.
void BM_MaterialsList_Find(benchmark::State& state)
{
    CBenchListWindows& windows = Windows();
    CMaterialsView& view = *windows.materialsView;
    view.m_strFindText = "12";
    int found = 0;
    for (auto _ : state) {
        found = view.SelectMatches();
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.GetSelItems());
    }
    state.counters["found"] = found;
}
BENCHMARK(BM_MaterialsList_Find)->Unit(benchmark::kMillisecond);

// --- glazes -----------------------------------------------------------------------------------

// The normal view (names), and the weight-percent table after every analysis was dropped (the
// refill after the materials changed). Rows are built when first shown: the refill computes the
// analyses of the rows on screen, not of all 100,000.
void BM_GlazesList_Fill(benchmark::State& state)
{
    CBenchListWindows& windows = Windows();
    const int format = static_cast<int>(state.range(0));
    ShowGlazeTable(windows, format);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < windows.glazes->GetGlazeCount(); ++i)
            windows.glazes->GetGlaze(i)->InvalidateAnalysis();
        state.ResumeTiming();
        windows.glazesView->FillList(0, -1, true);
        QApplication::processEvents();
    }
    state.counters["rows"] = windows.glazesView->GetCount();
    ShowGlazeTable(windows, 0);
}
BENCHMARK(BM_GlazesList_Fill)->ArgName("format")->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

// Re-sort by name from the order of the index field, and by silica's weight percentage from name
// order (the analyses computed once before).
void BM_GlazesList_Sort(benchmark::State& state)
{
    CBenchListWindows& windows = Windows();
    const int criterion = static_cast<int>(state.range(0));
    CGlazesView& view = *windows.glazesView;
    const FillListFn refill = [&view] { view.FillList(0, -1, false); };
    for (int i = 0; i < windows.glazes->GetGlazeCount(); ++i)
        windows.glazes->GetGlaze(i)->GetAnalysis();
    for (auto _ : state) {
        state.PauseTiming();
        windows.glazes->SortGlazes(criterion == 0 ? kGlazeSortIndex : 0, true, -1);
        state.ResumeTiming();
        ApplyGlazeSort(*windows.glazes, &view, criterion, true, kSilicon, refill);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_GlazesList_Sort)->ArgName("criterion")->Arg(0)->Arg(kGlazeSortOxideWeight)->Unit(benchmark::kMillisecond);

// Find every glaze whose name contains "celadon" and select it (12,500 glazes), then read the
// selection back as the commands do.
void BM_GlazesList_Find(benchmark::State& state)
{
    CBenchListWindows& windows = Windows();
    MatchCriteria request;
    request.m_action = 0;
    auto criterion = std::make_unique<CGlazeSearchCriterion>();
    criterion->m_field = kSearchName;
    criterion->m_operator = 1;
    criterion->m_text = "celadon";
    request.m_criteria.m_criteria.push_back(std::move(criterion));
    int found = 0;
    for (auto _ : state) {
        found = ApplyFindResult(*windows.glazes, request, windows.glazesView);
        QApplication::processEvents();
        benchmark::DoNotOptimize(windows.glazesView->GetSelItems());
    }
    state.counters["found"] = found;
}
BENCHMARK(BM_GlazesList_Find)->Unit(benchmark::kMillisecond);

} // namespace
