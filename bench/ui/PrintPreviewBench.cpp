// Print Preview of a glaze list of 3,000 glazes, as the glaze list's preview commands make it: the
// preview widget asks for every page, and the print job fills the text printer, lays the lines
// out for the printer and draws each page into the preview's recording. Target: well under 1 s
// (Release build), so that a loaded machine stays far from the 5 s a command may take.
//
// The database is generated (bench/generated): 3,000 glazes whose recipes use 500 materials.
// Arguments: the kind of printout (4 the list, 1 summaries in the window's format); every glaze
// is selected, as after Select All.
//
// Figures (RelWithDebInfo, CPU time of the benchmark; 8-core machine under load): summaries,
// 3,000 pages, 1.0 s and 456 MB peak when every stored line kept the 4 KB its stream reserved
// for writing, 0.70 s and 86 MB since lines are stored at their own size; the list, 55 pages,
// 40 ms and 30 ms. What is left is Qt shaping and recording the text of every page, which the
// preview asks for all at once.

#include "BenchListWindows.h"

#include "framework/MdiFrame.h"
#include "glazes/GlazeTextOutput.h"
#include "glazes/GlazesView.h"
#include "support/PrintJob.h"

#include <QApplication>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kGlazes = 3000;
constexpr int kMaterials = 500;

// The glaze list window on the generated databases, every glaze selected.
CGlazesView& PreviewList()
{
    CGlazesView& view = *ListWindowsOnce<kMaterials, kGlazes, kMaterials>().glazesView;
    if (view.GetSelCount() != view.GetCount()) {
        view.SelItemRange(true, 0, view.GetCount() - 1);
        QApplication::processEvents();
    }
    return view;
}

// The preview as the dialog makes it when it opens: every page drawn into the preview.
void BM_GlazePrintPreview(benchmark::State& state)
{
    CGlazesView& view = PreviewList();
    const int kind = static_cast<int>(state.range(0));
    CPrintJob job([&view, kind](CTextPrinter& printer) { view.FillPrinter(printer, kind); });
    int pages = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                         [&job](QPrinter* target) { job.PrintTo(*target); });
        preview.updatePreview();
        pages = preview.pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_GlazePrintPreview)->ArgName("kind")->Arg(kGlazePrintList)->Arg(kGlazePrintSummaries)->Unit(benchmark::kMillisecond);

} // namespace
