#include "support/PrintJob.h"

#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/PrintPreviewDlg.h"
#include "framework/PrintSetup.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/PrintSurface.h"
#include "support/SafeFile.h"
#include "support/Services.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <memory>
#include <sstream>
#include <utility>

CPrintJob::CPrintJob(FillFunction fill)
    : m_fill(std::move(fill))
{
}

void CPrintJob::ApplyPreferences(CTextPrinter& printer)
{
    if (!CAppContext::IsActive())
        return;
    printer.m_leftMargin = g_prefs.prtlmar;
    printer.m_rightMargin = g_prefs.prtrmar;
    printer.m_topMargin = g_prefs.prttmar;
    printer.m_bottomMargin = g_prefs.prtbmar;
    printer.m_timeStamp = g_prefs.prttimest;
    printer.m_pageNumberFormat = g_prefs.prtpgnum;
    const CPrintFontSet fonts = MakePrintFontSet(g_prefs.prtfont);
    printer.SetFont(PrinterFontBody, fonts.normal);
    printer.SetFont(PrinterFontTimeStamp, fonts.italic);
    printer.SetFont(PrinterFontTall, fonts.bold);
    printer.SetFont(PrinterFontFirstHeader, fonts.tall);
    printer.SetFont(PrinterFontLaterHeader, fonts.bold);
}

void CPrintJob::Fill(CTextPrinter& printer, const FillFunction& fill) const
{
    ApplyPreferences(printer);
    if (fill)
        fill(printer);
}

// --- printing ------------------------------------------------------------------------------------

bool CPrintJob::Print(QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSetup(printer);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    RememberPrintSetup(printer);
    PrintTo(printer);
    return true;
}

namespace {

// A filled text printer as a preview's pages: laid out once, each page drawn when shown.
class CTextPreviewContent : public CPreviewContent {
public:
    explicit CTextPreviewContent(CTextPrinter& text) : m_text(text) {}

    int LayOut(QPaintDevice& device) override
    {
        m_surface = std::make_unique<CPrintSurface>(device, m_text);
        m_text.PrepareDC(*m_surface);
        m_text.Paginate();
        return m_text.GetPageCount();
    }

    void DrawPage(QPainter& painter, int page) override
    {
        m_surface->SetPainter(&painter);
        m_text.PrintPage(*m_surface, page);
        m_surface->SetPainter(nullptr);
    }

private:
    CTextPrinter& m_text;
    std::unique_ptr<CPrintSurface> m_surface;
};

} // namespace

void CPrintJob::PrintPreview(QWidget* parent)
{
    CTextPrinter text;
    {
        CBusyScope busy;
        Fill(text, m_fill);
    }
    CTextPreviewContent content(text);
    if (RunPrintPreview(content, parent))
        Print(parent);
}

int CPrintJob::PrintTo(QPrinter& printer)
{
    CTextPrinter text;
    Fill(text, m_fill);
    CPrintSurface surface(printer, text);
    text.PrepareDC(surface);
    text.Paginate();
    const int count = text.GetPageCount();
    int first = 1, last = count;
    if (printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(count, printer.toPage() > 0 ? printer.toPage() : count);
    }
    if (first > last)
        return 0;
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    surface.SetPainter(&painter);
    const bool backwards = printer.pageOrder() == QPrinter::LastPageFirst;
    for (int k = 0; k <= last - first; ++k) {
        if (k > 0)
            printer.newPage();
        text.PrintPage(surface, backwards ? last - k : first + k);
    }
    painter.end();
    return last - first + 1;
}

bool CPrintJob::RenderPage(QPaintDevice& device, int page)
{
    CTextPrinter text;
    Fill(text, m_fill);
    CPrintSurface surface(device, text);
    text.PrepareDC(surface);
    text.Paginate();
    if (page < 1 || page > text.GetPageCount())
        return false;
    QPainter painter(&device);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    surface.SetPainter(&painter);
    return text.PrintPage(surface, page);
}

// --- Write to File -------------------------------------------------------------------------------

CPrintJob::WriteResult CPrintJob::WriteToFile(const std::string& title)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = title;
    request.defaultExtension = "txt";
    request.filter = m_fileFilter;
    request.flags = FileDlgHideReadOnly | FileDlgOverwritePrompt | FileDlgPathMustExist;
    request.helpId = kWriteToFileDialogHelpId;
    request.clipboardOption = true;
    const CFileDialogResult answer = AskForFiles(request);
    const bool toClipboard = answer.outcome == CFileDialogResult::Outcome::Clipboard;
    if (!toClipboard && (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty()))
        return WriteResult::Cancelled;
    if (!toClipboard && m_confirmFile && !m_confirmFile(answer.paths.front()))
        return WriteResult::Cancelled;

    bool written = false;
    std::string reason;
    {
        CBusyScope busy;
        const bool unicode = toClipboard && m_unicodeClipboardFill;
        CTextPrinter text;
        Fill(text, unicode ? m_unicodeClipboardFill : m_fill);
        text.RemoveTrailingEmpty();
        if (toClipboard) {
            written = WriteToClipboard(text, unicode);
        } else {
            const auto write = [&text](std::ostream& out) { return text.WriteText(out); };
            written = WriteFileSafely(answer.paths.front(), write, &reason) == SafeSaveResult::Ok;
        }
    }
    if (written)
        return WriteResult::Written;
    if (toClipboard)
        ShowError("Error writing to Clipboard", kWriteClipboardErrorHelpId);
    else
        ShowError(SaveFailureMessage(answer.paths.front(), SafeSaveResult::WriteFailed, reason), kWriteFileErrorHelpId);
    return WriteResult::Failed;
}

// The clipboard gets the lines each followed by "\r\n", as the clipboard stream writes them, but
// the result of the write is checked: a clipboard that refuses the text is reported.
bool CPrintJob::WriteToClipboard(const CTextPrinter& printer, bool unicode) const
{
    CClipboardService* clipboard = GetClipboardService();
    if (!clipboard)
        return false;
    std::ostringstream out;
    if (!printer.WriteText(out))
        return false;
    const std::string plain = out.str();
    std::string text;
    text.reserve(plain.size() + plain.size() / 8);
    for (const char c : plain) {
        if (c == '\n')
            text += "\r\n";
        else
            text += c;
    }
    // A closing form feed stands on a line of its own.
    if (!text.empty() && text.back() != '\n')
        text += "\r\n";
    return unicode ? clipboard->SetUnicodeText(text) : clipboard->SetText(text);
}

void CPrintJob::ShowError(const std::string& text, unsigned helpId) const
{
    if (g_pApp)
        g_pApp->MessageBoxWithHelp(text, MsgOk | m_errorIcon, helpId);
}

void SetSummaryPageHeaders(CTextPrinter& printer)
{
    const bool pageHeaders = CAppContext::IsActive() && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = pageHeaders;
    printer.m_showLaterHeader = pageHeaders;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
}
