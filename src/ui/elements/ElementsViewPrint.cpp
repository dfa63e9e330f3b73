// The elements window's two reports: the element list and the summaries of chosen elements,
// each to the printer, a preview, a text file or the clipboard.

#include "elements/ElementsView.h"

#include "elements/ElementPrinting.h"
#include "elements/ElementsDoc.h"
#include "elements/SelectElementsDlg.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

void CElementsView::WriteReport(std::ostream& out) const
{
    if (m_printMode == PrintSummaries) {
        WriteElementSummaries(out, m_printSelect.data());
    } else if (const CElementsDoc* doc = ElementsDoc()) {
        doc->WriteElementList(out);
    }
}

// Running headers and form feeds follow the print preference; only the summaries number their
// later pages. Headings print bold in the summaries and in the body font in the list.
void CElementsView::FillPrinter(CTextPrinter& printer) const
{
    const bool summaries = m_printMode == PrintSummaries;
    const bool formFeeds = CAppContext::IsActive() && g_prefs.prtuseffs > 0;
    printer.m_showFirstHeader = formFeeds;
    printer.m_showLaterHeader = formFeeds;
    printer.m_firstPageNumber = false;
    printer.m_laterPageNumber = summaries;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    if (CAppContext::IsActive()) {
        const CPrintFontSet fonts = MakePrintFontSet(g_prefs.prtfont);
        const CLogFont& heading = summaries ? fonts.bold : fonts.normal;
        printer.SetFont(PrinterFontBody, fonts.normal);
        printer.SetFont(PrinterFontTimeStamp, fonts.italic);
        printer.SetFont(PrinterFontTall, fonts.tall);
        printer.SetFont(PrinterFontFirstHeader, heading);
        printer.SetFont(PrinterFontLaterHeader, heading);
    }
    CLineOStream out(printer, 0, CLineOStream::kDefaultBufferSize);
    WriteReport(out);
}

// The summaries print the elements chosen in the selection dialog, which starts with the
// current element chosen. False when the dialog was cancelled or nothing was chosen.
bool CElementsView::ChooseElementsToPrint()
{
    CSelectElementsDlg dialog(this);
    if (m_selZ >= 1 && m_selZ < kElementCount)
        dialog.flags[static_cast<std::size_t>(m_selZ)] = 1;
    if (dialog.exec() != QDialog::Accepted || dialog.count == 0)
        return false;
    m_printSelect = dialog.flags;
    return true;
}

void CElementsView::RunPrint(unsigned id)
{
    switch (id) {
    case CmdElementPrintSelected:
    case CmdElementPreviewSelected:
    case CmdElementWriteSelected:
        if (!ChooseElementsToPrint())
            return;
        m_printMode = PrintSummaries;
        break;
    case CmdElementPrintList:
    case CmdElementPreviewList:
    case CmdElementWriteList:
        m_printMode = PrintList;
        break;
    default:
        break; // the framework's Print: the report printed last
    }
    CPrintJob job([this](CTextPrinter& printer) { FillPrinter(printer); });
    switch (id) {
    case CmdElementPreviewSelected:
    case CmdElementPreviewList:
        job.PrintPreview(this);
        break;
    case CmdElementWriteSelected:
    case CmdElementWriteList:
        job.WriteToFile(m_printMode == PrintSummaries ? "Element Summaries to File..." : "Element List to File...");
        break;
    default:
        job.Print(this);
        break;
    }
}
