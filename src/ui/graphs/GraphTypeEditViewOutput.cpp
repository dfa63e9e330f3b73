// The editor's preview and output: the chart of the form's unsaved template on the Graph page,
// its printing, copying and image files, and the template summary printed and written from the
// form as it stands.

#include "graphs/GraphTypeEditView.h"

#include "framework/FileDialogService.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/PrintSetup.h"
#include "graphs/GraphTypeEditViewPreview.h"
#include "graphs/GraphWnd.h"
#include "shell/AppContext.h"
#include "shell/MainFrame.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/SafeFile.h"
#include "support/Services.h"
#include "support/TextPrinter.h"

#include <QComboBox>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <memory>
#include <sstream>

namespace {

constexpr const char* kGraphFileFilter =
    "PNG files (*.png)|*.png|JPEG files (*.jpg)|*.jpg|Windows bitmap files (*.bmp)|*.bmp;*.dib||";
constexpr const char* kTextFileFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*||";
constexpr unsigned kWriteDialogHelpId = 303;

template <class T>
T* ComboPointer(const QComboBox* combo)
{
    return combo && combo->currentIndex() >= 0 ? reinterpret_cast<T*>(combo->currentData().value<quintptr>())
                                                : nullptr;
}

bool EndsWithNoCase(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && EqualsNoCase(text.substr(text.size() - ending.size()), ending);
}

void ShowOutputError(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconError, helpId);
}

// The lines with "\r\n" line ends, as the clipboard carries text.
std::string ClipboardText(const CTextPrinter& printer)
{
    std::ostringstream out;
    printer.WriteText(out);
    std::string text;
    for (const char c : out.str())
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
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
    if (!m_bPreviewStale || m_bNavigating)
        return;
    auto* glazeDb = ComboPointer<CGlazesDoc>(Ctl<QComboBox>(kGeGraphDatabase));
    auto* glaze = ComboPointer<CGlaze>(Ctl<QComboBox>(kGeGraphGlaze));
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

void CGraphTypeEditView::FillSummaryPrinter(CTextPrinter& printer)
{
    const bool pageHeaders = CAppContext::IsActive() && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = pageHeaders;
    printer.m_showLaterHeader = pageHeaders;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
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

namespace {

void WriteSummary(CGraphTypeEditView& view)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Graph Template Summary to File...";
    request.defaultExtension = "txt";
    request.filter = kTextFileFilter;
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = kWriteDialogHelpId;
    request.clipboardOption = true;
    const CFileDialogResult answer = AskForFiles(request);
    const bool toClipboard = answer.outcome == CFileDialogResult::Outcome::Clipboard;
    if (!toClipboard && (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty()))
        return;
    bool written = false;
    {
        CBusyScope busy;
        CTextPrinter printer;
        view.FillSummaryPrinter(printer);
        printer.RemoveTrailingEmpty();
        if (toClipboard) {
            CClipboardService* clipboard = GetClipboardService();
            written = clipboard && clipboard->SetText(ClipboardText(printer));
        } else {
            const auto write = [&printer](std::ostream& out) { return printer.WriteText(out); };
            written = WriteFileSafely(answer.paths.front(), write) == SafeSaveResult::Ok;
        }
    }
    if (!written && toClipboard)
        ShowOutputError("Error writing to Clipboard", kGraphOutputErrorHelpId);
    else if (!written)
        ShowOutputError(answer.paths.front() + ": Error writing file", kGraphSummaryFileErrorHelpId);
}

// The filter decides the format and the extension; a name without that extension gets it.
void WriteGraph(CGraphWnd& window)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Graph to File...";
    request.filter = kGraphFileFilter;
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = kWriteDialogHelpId;
    request.clipboardOption = true;
    const CFileDialogResult answer = AskForFiles(request);
    const bool toClipboard = answer.outcome == CFileDialogResult::Outcome::Clipboard;
    if (!toClipboard && (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty()))
        return;
    int format = kGraphImageBitmap;
    std::string extension = ".dib";
    if (answer.filterIndex == 1) {
        format = kGraphImagePng;
        extension = ".png";
    } else if (answer.filterIndex == 2) {
        format = kGraphImageJpeg;
        extension = ".jpg";
    }
    std::string name;
    if (!toClipboard) {
        name = answer.paths.front();
        if (!EndsWithNoCase(name, extension))
            name += extension;
    }
    std::string error;
    {
        CBusyScope busy;
        error = window.CopyOrWriteGraph(name, format);
    }
    if (!error.empty())
        ShowOutputError(error, kGraphOutputErrorHelpId);
}

} // namespace

void CGraphTypeEditView::CopyGraph()
{
    CGraphWnd* window = m_preview->Window();
    if (!window || m_bPreviewStale)
        return;
    const std::string error = window->CopyOrWriteGraph(std::string(), 0);
    if (!error.empty())
        ShowOutputError(error, kGraphOutputErrorHelpId);
}

void CGraphTypeEditView::PrintOutput(unsigned id)
{
    const bool chart = id == CmdGrtEditPrintGraph || id == CmdGrtEditPreviewGraph || id == CmdGrtEditWriteGraph ||
                       id == CmdGrtEditWriteGraphFile;
    m_printMode = chart ? 1 : 2;
    if (!chart) {
        CPrintJob job([this](CTextPrinter& printer) { FillSummaryPrinter(printer); });
        if (id == CmdGrtEditPrintSummary)
            job.Print(this);
        else if (id == CmdGrtEditPreviewSummary)
            job.PrintPreview(this);
        else
            WriteSummary(*this);
        return;
    }
    CGraphWnd* window = m_preview->Window();
    if (!window || m_bPreviewStale)
        return;
    if (id == CmdGrtEditWriteGraph || id == CmdGrtEditWriteGraphFile) {
        WriteGraph(*window);
        return;
    }
    // The chart is always one page.
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSetup(printer);
    const auto draw = [window](QPrinter* target) {
        QPainter painter(target);
        window->DrawToDC(painter);
    };
    if (id == CmdGrtEditPreviewGraph) {
        QPrintPreviewDialog preview(&printer, this);
        connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, draw);
        preview.exec();
        return;
    }
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    RememberPrintSetup(printer);
    draw(&printer);
}
