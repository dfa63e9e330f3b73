// The printed outputs of the graph-templates list: the summaries of the selected templates.

#include "graphs/GraphTypesView.h"

#include "graphs/GraphTypesDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

// --- printing -------------------------------------------------------------------------------------

void CGraphTypesView::FillPrinter(CTextPrinter& printer)
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
    const std::vector<int> rows = GetSelItems();
    CLineOStream out(printer, 0);
    doc->WriteGraphTemplateSummary(out, rows, nullptr);
}

void CGraphTypesView::OnPrint(unsigned id)
{
    m_nPrintMode = 1;
    CPrintJob job([this](CTextPrinter& printer) { FillPrinter(printer); });
    switch (id) {
    case CmdGrtListPrint:
        job.Print(this);
        break;
    case CmdGrtListPrintPreview:
        job.PrintPreview(this);
        break;
    default:
        job.m_fileFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*||";
        job.WriteToFile("Graph Template Summaries to File...");
        break;
    }
}
