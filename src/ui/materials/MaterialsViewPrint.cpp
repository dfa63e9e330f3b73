// Printing of the materials list: summaries of the selected materials, or the material table in
// the list's view mode, to the printer, the preview or a text file.

#include "materials/MaterialsView.h"

#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

void CMaterialsView::FillPrinter(CTextPrinter& printer, int kind)
{
    const bool pageHeaders = CAppContext::IsActive() && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = pageHeaders;
    printer.m_showLaterHeader = pageHeaders;
    printer.m_firstPageNumber = false;
    printer.m_laterPageNumber = kind == kMaterialsPrintSummaries;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    printer.m_keepTabs = false;
    // The table's later pages are headed in the body font; summaries keep the bold header.
    if (kind == kMaterialsPrintTable) {
        if (const CLogFont* body = printer.GetFont(PrinterFontBody))
            printer.SetFont(PrinterFontLaterHeader, *body);
    }
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CLineOStream out(printer, 0);
    if (kind == kMaterialsPrintTable) {
        doc->WriteMaterialsTableText(out, m_nViewMode);
    } else {
        const std::vector<int> rows = GetSelItems();
        if (!rows.empty())
            doc->WriteMaterialText(out, rows, nullptr);
    }
}

void CMaterialsView::PrintMaterials(unsigned id)
{
    switch (id) {
    case CmdMatListPrintList:
    case CmdMatListPreviewList:
    case CmdMatListWriteList:
        printKind = kMaterialsPrintTable;
        break;
    case CmdMatListFramePreview:
        break; // the framework's preview shows what was printed last
    default:
        printKind = kMaterialsPrintSummaries;
        break;
    }
    const int kind = printKind;
    CPrintJob job([this, kind](CTextPrinter& printer) { FillPrinter(printer, kind); });
    switch (id) {
    case CmdMatListPrintSelected:
    case CmdMatListPrintList:
        job.Print(this);
        break;
    case CmdMatListPreviewSelected:
    case CmdMatListPreviewList:
    case CmdMatListFramePreview:
        job.PrintPreview(this);
        break;
    default:
        job.WriteToFile(kind == kMaterialsPrintTable ? "Material List to File..." : "Material Summaries to File...");
        break;
    }
}
