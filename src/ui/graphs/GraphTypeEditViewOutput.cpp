// The editor's preview and output: the chart of the form's unsaved template on the Graph page,
// its printing, copying and image files, and the template summary printed and written from the
// form as it stands.

#include "graphs/GraphTypeEditView.h"

#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "graphs/GraphTypeEditViewPreview.h"
#include "graphs/GraphViewState.h"
#include "graphs/GraphWnd.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

#include <QComboBox>
#include <QMenu>

#include <memory>

namespace {

template <class T>
T* ComboPointer(const QComboBox* combo)
{
    return combo && combo->currentIndex() >= 0 ? reinterpret_cast<T*>(combo->currentData().value<quintptr>())
                                                : nullptr;
}

} // namespace

// --- the preview ----------------------------------------------------------------------------------

void CGraphTypeEditView::InvalidatePreview()
{
    m_bPreviewStale = true;
    m_preview->ClosePopup();
    if (m_currentPage == kGraphEditPageCount && !g_bFrameClosing)
        RedrawPreview();
}

void CGraphTypeEditView::RedrawPreview()
{
    if (!m_bPreviewStale)
        return;
    // The lists are filled again on the notices; until then a database closed or a glaze gone
    // is drawn as none.
    CGlazesDoc* glazeDb = LiveGlazeDatabase(ComboPointer<CGlazesDoc>(Ctl<QComboBox>(kGeGraphDatabase)));
    CGlaze* glaze = LiveGlaze(glazeDb, ComboPointer<CGlaze>(Ctl<QComboBox>(kGeGraphGlaze)));
    // The preview always shows the form's unsaved state.
    StoreCurrentDataSource();
    StoreControlsIntoTemplate(m_template);
    m_preview->Rebuild(m_template, glazeDb, glaze);
    m_bPreviewStale = false;
}

void CGraphTypeEditView::ShowPreviewMenu(const QPoint& globalPosition)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame)
        return;
    if (CFrameHost* frame = GetFrame())
        frame->ActivateFrame();
    std::unique_ptr<QMenu> menu(mainFrame->BuildPopupMenu(GraphPreviewPopupMenu(), this));
    menu->exec(globalPosition);
}

// --- output ---------------------------------------------------------------------------------------

void CGraphTypeEditView::FillPrinter(CTextPrinter& printer)
{
    SetSummaryPageHeaders(printer);
    const CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc)
        return;
    // The summary is the form's, not the database's: unsaved edits are printed.
    StoreCurrentDataSource();
    CGraphTemplate graphTemplate = m_template;
    StoreControlsIntoTemplate(graphTemplate);
    CLineOStream out(printer, 0);
    doc->WriteGraphTemplateSummary(out, {}, &graphTemplate);
}

void CGraphTypeEditView::CopyGraph()
{
    CGraphWnd* window = m_preview->Window();
    if (!window || m_bPreviewStale)
        return;
    CopyGraphToClipboard(*window);
}

void CGraphTypeEditView::PrintOutput(unsigned id)
{
    const bool chart = id == CmdGrtEditPrintGraph || id == CmdGrtEditPreviewGraph || id == CmdGrtEditWriteGraph ||
                       id == CmdGrtEditWriteGraphFile;
    m_printMode = chart ? 1 : 2;
    if (!chart) {
        const auto fill = [this](CTextPrinter& printer) { FillPrinter(printer); };
        CPrintJob job(fill);
        if (id == CmdGrtEditPrintSummary)
            job.Print(this);
        else if (id == CmdGrtEditPreviewSummary)
            job.PrintPreview(this);
        else
            WriteGraphSummaryToFile(fill);
        return;
    }
    CGraphWnd* window = m_preview->Window();
    if (!window || m_bPreviewStale)
        return;
    if (id == CmdGrtEditWriteGraph || id == CmdGrtEditWriteGraphFile)
        WriteGraphToFile(*window);
    else if (id == CmdGrtEditPreviewGraph)
        PreviewGraph(*window, this);
    else
        PrintGraph(*window, this);
}
