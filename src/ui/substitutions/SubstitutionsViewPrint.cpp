// The printed outputs of the substitution list: the summaries of the selected substitutions and
// the substitution table.

#include "substitutions/SubstitutionsView.h"

#include "substitutions/SubstitutionsDoc.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

// --- printing -------------------------------------------------------------------------------------

void CSubstitutionsView::FillPrinter(CTextPrinter& printer, bool table)
{
    SetSummaryPageHeaders(printer);
    const CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    CLineOStream out(printer, 0);
    if (table)
        doc->WriteTable(out);
    else
        doc->WriteSummaries(out, GetSelItems(), nullptr);
}

void CSubstitutionsView::OnPrint(unsigned id)
{
    const bool table = id == CmdSubListPrintTable || id == CmdSubListPreviewTable || id == CmdSubListWriteTable;
    CPrintJob job([this, table](CTextPrinter& printer) { FillPrinter(printer, table); });
    switch (id) {
    case CmdSubListPrintSelected:
    case CmdSubListPrintTable:
        job.Print(this);
        break;
    case CmdSubListPreviewSelected:
    case CmdSubListPreviewTable:
        job.PrintPreview(this);
        break;
    default:
        job.WriteToFile(table ? "Substitution Table to File..." : "Substitution Summaries to File...");
        break;
    }
}
