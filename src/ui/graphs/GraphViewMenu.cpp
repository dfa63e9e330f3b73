// The graph window's menu bar and pop-up menu, its commands (settings, the template editor,
// clones, aspect ratios, printing, copying and writing), and the making of graph windows.

#include "graphs/GraphView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazesDoc.h"
#include "graphs/Graph.h"
#include "graphs/GraphSettingsDlg.h"
#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypesView.h"
#include "graphs/GraphWnd.h"
#include "shell/AppCommandIds.h"
#include "shell/OxidariumApp.h"
#include "support/DialogStyle.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/ShellMenus.h"
#include "support/TextPrinter.h"

#include <QMdiSubWindow>

namespace {

using M = CMenuDef;

CDocTemplate* s_graphViewTemplate = nullptr;

bool GraphsAvailable() { return g_pApp && g_pApp->m_bGraphsAvailable; }

// Graph views take part in the graph-templates document as graph views (not as its list).
class CGraphWindows : public CGraphTemplateViews {
public:
    CGraphTypeEditLink* AsEditView(CView* view) override { return dynamic_cast<CGraphTypeEditLink*>(view); }
    CGraphViewLink* AsGraphView(CView* view) override { return dynamic_cast<CGraphViewLink*>(view); }
};

CGraphWindows s_graphWindows;

} // namespace

// --- commands ---------------------------------------------------------------------------------

bool CGraphView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdGrvSettings: OnSettings(); return true;
    case CmdGrvEditTemplate: OnEditTemplate(); return true;
    case CmdGrvCloneView: OnCloneView(); return true;
    case CmdGrvCloseView:
        if (CFrameHost* frame = GetFrame())
            frame->CloseFrame();
        return true;
    case CmdGrvLandscape: SetAspect(true); return true;
    case CmdGrvPortrait: SetAspect(false); return true;
    case CmdGrvHelp:
    case CmdFrameHelp: ShowDialogHelp(kGraphViewHelpId); return true;
    case CmdGrvPrintGraph:
    case CmdGrvPreviewGraph:
    case CmdGrvWriteGraph:
    case CmdGrvWriteGraphFile:
    case CmdGrvCopyGraph:
    case CmdGrvPrintSummary:
    case CmdGrvPreviewSummary:
    case CmdGrvWriteSummary: OnOutput(id); return true;
    default: return false;
    }
}

bool CGraphView::OnUpdateCommand(CCmdUI& ui)
{
    const bool chart = m_chartWnd->Chart() != nullptr;
    switch (ui.m_nID) {
    case CmdGrvPrintGraph:
    case CmdGrvPreviewGraph:
    case CmdGrvWriteGraph:
    case CmdGrvWriteGraphFile:
    case CmdGrvCopyGraph: ui.Enable(chart); return true;
    case CmdGrvEditTemplate:
    case CmdGrvPrintSummary:
    case CmdGrvPreviewSummary:
    case CmdGrvWriteSummary: ui.Enable(m_state.m_templateIndex >= 0); return true;
    case CmdGrvSettings:
    case CmdGrvCloneView:
    case CmdGrvCloseView:
    case CmdGrvLandscape:
    case CmdGrvPortrait:
    case CmdGrvHelp:
    case CmdFrameHelp: ui.Enable(true); return true;
    default: return false;
    }
}

void CGraphView::OnSettings()
{
    CGraphSettingsDlg dialog(this);
    dialog.graphTemplate = m_state.m_pTemplate;
    dialog.graphType = m_state.m_template.type;
    dialog.glazeDb = m_state.m_pGlazeDb;
    dialog.glaze = m_state.m_pGlaze;
    dialog.limitFormula = m_state.m_pLimitFormula;
    dialog.units = m_state.m_units;
    dialog.monochrome = m_state.m_bForceMono;
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_state.m_bForceMono = dialog.monochrome;
    SetGraph(dialog.graphTemplate, dialog.glazeDb, dialog.glaze, dialog.limitFormula, dialog.units, dialog.graphType);
}

void CGraphView::OnEditTemplate()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || m_state.m_templateIndex < 0)
        return;
    if (CView* editor = doc->FindEditView(m_state.m_templateIndex)) {
        if (CFrameHost* frame = editor->GetFrame())
            frame->ActivateFrame();
        return;
    }
    if (CGraphTypeEditView* editor = OpenGraphTypeEditView(*doc))
        editor->LoadRecord(m_state.m_templateIndex);
}

void CGraphView::OnCloneView()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    CGraphView* clone = doc ? OpenGraphWindow(*doc) : nullptr;
    if (!clone)
        return;
    clone->SetForceMono(m_state.m_bForceMono != 0);
    clone->SetGraph(m_state.m_pTemplate, m_state.m_pGlazeDb, m_state.m_pGlaze, m_state.m_pLimitFormula,
                    m_state.m_units, m_state.m_template.type);
}

// Landscape keeps the width and makes the height 17/22 of it; portrait keeps the height. A
// minimised or maximised window is shown as a normal window first: resized as it is, an icon
// taller than the others makes the workspace show and hide its scroll bars without end.
void CGraphView::SetAspect(bool landscape)
{
    auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame());
    if (!frame)
        return;
    if (frame->isMinimized() || frame->isMaximized())
        frame->showNormal();
    const QSize border = frame->size() - size();
    if (landscape)
        frame->resize(frame->width(), width() * 17 / 22 + border.height());
    else
        frame->resize(height() * 17 / 22 + border.width(), frame->height());
}

// --- output -----------------------------------------------------------------------------------

void CGraphView::FillSummaryPrinter(CTextPrinter& printer)
{
    const CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || m_state.m_templateIndex < 0)
        return;
    CLineOStream out(printer, 0);
    const int positions[] = {m_state.m_templateIndex};
    doc->WriteGraphTemplateSummary(out, positions, nullptr);
}

void CGraphView::OnOutput(unsigned id)
{
    switch (id) {
    case CmdGrvCopyGraph: CopyGraphToClipboard(*m_chartWnd); return;
    case CmdGrvPrintGraph:
    case CmdGrvPreviewGraph:
    case CmdGrvWriteGraph:
    case CmdGrvWriteGraphFile: m_printMode = 1; break;
    default: m_printMode = 2; break;
    }
    if (m_printMode == 1) {
        if (id == CmdGrvPrintGraph)
            PrintGraph(*m_chartWnd, this);
        else if (id == CmdGrvPreviewGraph)
            PreviewGraph(*m_chartWnd, this);
        else
            WriteGraphToFile(*m_chartWnd);
        return;
    }
    const auto fill = [this](CTextPrinter& printer) { FillSummaryPrinter(printer); };
    CPrintJob job(fill);
    if (id == CmdGrvPrintSummary)
        job.Print(this);
    else if (id == CmdGrvPreviewSummary)
        job.PrintPreview(this);
    else
        WriteGraphSummaryToFile(fill);
}

// --- menus and windows ------------------------------------------------------------------------

CMenuDef GraphViewPopupMenu()
{
    return M::Popup("Graph", {
        M::Item(CmdGrvSettings, "Graph &Settings..."),
        M::Item(CmdGrvCloneView, "Cl&one View"),
        M::Separator(),
        M::Item(CmdGrvCopyGraph, "Copy Graph to &Clipboard"),
        M::Item(CmdGrvWriteGraphFile, "Write Graph to &File"),
    });
}

void RegisterGraphViewMenu()
{
    RegisterMenuBar(kGraphViewResourceId, {
        ShellFileMenu({}),
        M::Popup("&Edit", {
            M::Item(CmdGrvEditTemplate, "&Edit Graph Template"),
            M::Separator(),
            M::Item(CmdGrvCopyGraph, "Copy Graph to &Clipboard"),
        }),
        M::Popup("&View", {
            M::Item(CmdGrvSettings, "Graph &Settings..."),
            M::Separator(),
            M::Item(CmdGrvCloneView, "Cl&one View"),
            M::Item(CmdGrvCloseView, "&Close View"),
            M::Separator(),
            M::Popup("&Aspect Ratio", {
                M::Item(CmdGrvLandscape, "&Landscape"),
                M::Item(CmdGrvPortrait, "&Portrait"),
            }),
        }),
        M::Popup("&Print", {
            M::PrintPopup("Print &Graph", CmdGrvPrintGraph, CmdGrvPreviewGraph, CmdGrvWriteGraph),
            M::PrintPopup("&Print Graph Template", CmdGrvPrintSummary, CmdGrvPreviewSummary, CmdGrvWriteSummary),
        }),
        M::WindowPopup(),
        HelpMenu(CmdGrvHelp),
    });
}

void InstallGraphViewTemplate(CDocTemplate& docTemplate)
{
    s_graphViewTemplate = &docTemplate;
    RegisterGraphViewMenu();
    if (!GetGraphTemplateViews())
        SetGraphTemplateViews(&s_graphWindows);
    docTemplate.AtDestruction([docTemplate = &docTemplate] {
        if (s_graphViewTemplate != docTemplate)
            return;
        s_graphViewTemplate = nullptr;
        if (GetGraphTemplateViews() == &s_graphWindows)
            SetGraphTemplateViews(nullptr);
        SetGraphViewOpener(nullptr);
    });
    SetGraphViewOpener([](CGraphTypesDoc& document, const CGraphTemplate* graphTemplate, CGlazesDoc* database,
                          CGlaze* glaze) {
        CGraphView* view = OpenGraphWindow(document);
        if (view)
            view->SetGraph(graphTemplate, database, glaze, nullptr, -1, -1);
        return view != nullptr;
    });
}

CGraphView* OpenGraphWindow(CGraphTypesDoc& document)
{
    if (!GraphsAvailable())
        return nullptr;
    return OpenViewWindow<CGraphView>(s_graphViewTemplate ? s_graphViewTemplate : g_pGraphViewTemplate, document);
}

bool OpenGraphOfGlaze(CGlazesDoc& database, CGlaze* glaze, const CLimitFormula* limitFormula,
                      const CGraphTemplate* graphTemplate, int units)
{
    if (!g_pGraphTypesDoc)
        return false;
    CGraphView* view = OpenGraphWindow(*g_pGraphTypesDoc);
    if (!view)
        return false;
    const CGraphTemplateDatabase& templates = g_pGraphTypesDoc->Database();
    if (!graphTemplate && templates.GetCount() > 0)
        graphTemplate = &templates.GetAt(0);
    view->SetGraph(graphTemplate, &database, glaze, limitFormula, units, -1);
    return true;
}
