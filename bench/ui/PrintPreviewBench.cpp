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

#include "BenchWindows.h"
#include "GeneratedDatabases.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazeTextOutput.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesView.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/PrintJob.h"
#include "support/Profile.h"

#include <QApplication>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kGlazes = 3000;
constexpr int kMaterials = 500;

class CPreviewWindows {
public:
    CPreviewWindows()
    {
        SetProfile(&m_profile);
        g_prefs.ApplyColorScheme();
        const std::string directory = m_dir.path().toStdString();
        WriteGeneratedFile(directory + "/materials.mat", GeneratedMaterialsFile(kMaterials));
        WriteGeneratedFile(directory + "/glazes.glz", GeneratedGlazesFile(kGlazes, kMaterials));
        g_pMaterialsTemplate = &m_materialsTemplate;
        g_pGlazesTemplate = m_glazesTemplate.get();
        InstallMaterialsTemplate(m_materialsTemplate);
        InstallGlazesTemplate(*m_glazesTemplate);
        m_frame.resize(1000, 700);
        m_frame.show();
        m_materialsTemplate.OpenDocumentFile(directory + "/materials.mat");
        auto* glazes = dynamic_cast<CGlazesDoc*>(
            m_app.OpenAndAnnounce(g_pGlazesTemplate, directory + "/glazes.glz", static_cast<int>(DbFileType::Glazes)));
        view = dynamic_cast<CGlazesView*>(glazes->GetListView());
        view->SelItemRange(true, 0, view->GetCount() - 1);
        QApplication::processEvents();
    }
    ~CPreviewWindows()
    {
        g_pMaterialsTemplate = nullptr;
        g_pGlazesTemplate = nullptr;
        SetProfile(nullptr);
    }

    static CPreviewWindows& Get()
    {
        static CPreviewWindows* windows = nullptr;
        if (!windows) {
            windows = new CPreviewWindows;
            AtBenchmarksEnd([] {
                delete windows;
                windows = nullptr;
            });
        }
        return *windows;
    }

private:
    QTemporaryDir m_dir;
    CProfile m_profile{m_dir.path().toStdString() + "/Oxidarium.ini"};
    CAppContext m_context;
    COxidariumApp m_app;
    CDocTemplate m_materialsTemplate{kMaterialsResourceId, kMaterialsDocString,
                                     [] { return std::make_unique<CMaterialsDoc>(); }};
    std::unique_ptr<CDocTemplate> m_glazesTemplate = CreateGlazesTemplate();
    CMDIMainFrame m_frame;

public:
    CGlazesView* view = nullptr;
};

// The preview as the dialog makes it when it opens: every page drawn into the preview.
void BM_GlazePrintPreview(benchmark::State& state)
{
    CGlazesView& view = *CPreviewWindows::Get().view;
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
