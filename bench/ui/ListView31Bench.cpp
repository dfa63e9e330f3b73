#include "support/ListView31.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kRows = 50000;

// Rows like a materials list: a leading tab, then code, name, formula and cost columns.
std::vector<std::string> MakeRows()
{
    std::vector<std::string> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        rows.push_back("\tM" + std::to_string(i) + "\tPotash feldspar " + std::to_string(i) +
                       "\tK2O 0.75 Na2O 0.25 Al2O3 1.1 SiO2 6.2\t$ 1.25 / lb");
    }
    return rows;
}

// One fill as a list view does it: empty the list, add every row, and let the shown view lay
// out and draw.
void BM_ListView31_Fill50000RowsOneByOne(benchmark::State& state)
{
    const std::vector<std::string> rows = MakeRows();
    CListView31 view;
    view.resize(600, 400);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        view.ResetContent();
        for (const std::string& row : rows)
            view.AddString(row);
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ListView31_Fill50000RowsOneByOne)->Unit(benchmark::kMillisecond);

void BM_ListView31_Fill50000RowsAtOnce(benchmark::State& state)
{
    const std::vector<std::string> rows = MakeRows();
    CListView31 view;
    view.resize(600, 400);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        view.ResetContent();
        view.AddStrings(rows);
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ListView31_Fill50000RowsAtOnce)->Unit(benchmark::kMillisecond);

// Refilling a list whose rows are selected (a refill that keeps the selection).
void BM_ListView31_SelectAllAndRead50000Rows(benchmark::State& state)
{
    CListView31 view;
    view.SetExtendedSelection(true);
    view.AddStrings(MakeRows());
    for (auto _ : state) {
        view.SetSel(-1, true);
        benchmark::DoNotOptimize(view.GetSelItems());
        view.SetSel(-1, false);
    }
}
BENCHMARK(BM_ListView31_SelectAllAndRead50000Rows)->Unit(benchmark::kMillisecond);

} // namespace
