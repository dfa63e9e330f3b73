// The printed outputs of the graph-templates list: the summaries of the selected templates.

#include "graphs/GraphTypesView.h"

#include "graphs/GraphTypesDoc.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

// --- printing -------------------------------------------------------------------------------------

void CGraphTypesView::FillPrinter(CTextPrinter& printer)
{
    SetSummaryPageHeaders(printer);
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
