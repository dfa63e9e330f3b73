#include "glazes/MakeLimitFormula.h"

#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazesDoc.h"
#include "glazes/MakeLimitFormulaDlg.h"
#include "limits/LimitFormulasDoc.h"
#include "limits/MakeLimitFormulaRequest.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/Services.h"

#include <vector>

namespace {

// The glaze database whose glaze list view is view (the asking view counts as its list).
CGlazesDoc* ListDocument(CView* view, CView* askingView)
{
    auto* document = dynamic_cast<CGlazesDoc*>(view ? view->GetDocument() : nullptr);
    if (!document || (view != askingView && document->GetListView() != view))
        return nullptr;
    return document;
}

} // namespace

void AccumulateGlazeStats(CGlazesDoc& document, CMakeLimitFormulaRequest& request)
{
    if (document.GetGlazeCount() == 0)
        return;
    std::vector<CGlaze*> glazes;
    document.GetSelectedGlazes(glazes, request.m_allGlazes != 0);
    for (const CGlaze* glaze : glazes)
        request.AddAnalysis(glaze->GetAnalysis());
}

int MakeLimitFormulaFromGlazes(CView* view, CMakeLimitFormulaRequest& request)
{
    CLimitFormulasDoc* limits = g_pLimitFormulasDoc;
    if (!limits)
        return -1;
    const int formulaCount = limits->Database().GetCount();
    int index = -1;
    {
        CBusyScope busy;
        CGlazeStatisticsRun run;
        run.allDatabases = request.m_allDatabases != 0;
        run.accumulate = [&](CView* glazeView) {
            CGlazesDoc* document = ListDocument(glazeView, view);
            if (document)
                AccumulateGlazeStats(*document, request);
            return document != nullptr;
        };
        run.compile = [&] { index = limits->CompileFromGlazes(request); };
        if (g_pApp) {
            g_pApp->ApplyToGlazesViews(view, run);
        } else {
            run.accumulate(view);
            run.compile();
        }
    }
    if (index >= 0) {
        COxidariumApp::BroadcastUpdate(view, view ? view->GetDocument() : nullptr,
                                       static_cast<int>(DbFileType::LimitFormulas), HintLimitFormulasInserted,
                                       formulaCount, 0);
    }
    return index;
}

bool RunMakeLimitFormula(CGlazesDoc& /*document*/, CView* view, QWidget* parent)
{
    CMakeLimitFormulaRequest request;
    CMakeLimitFormulaDlg dialog(parent);
    dialog.LoadRemembered();
    dialog.request = &request;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Remember();
    MakeLimitFormulaFromGlazes(view, request);
    return true;
}
