#include "glazes/GlazePrinting.h"

#include "framework/MenuDef.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeTextOutput.h"
#include "glazes/GlazesDoc.h"
#include "shell/Preferences.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

namespace {

const char* WriteTitle(int kind)
{
    switch (kind) {
    case 1: return "Glaze Summary to File...";
    case 2: return "Glaze Recipe to File...";
    default: return "Glaze Report to File...";
    }
}

bool IsPreview(unsigned id)
{
    return id == CmdGlazePreviewSummary || id == CmdGlazePreviewRecipe || id == CmdGlazePreviewReport;
}

bool IsWrite(unsigned id)
{
    return id == CmdGlazeWriteSummary || id == CmdGlazeWriteRecipe || id == CmdGlazeWriteReport;
}

} // namespace

CMenuDef GlazePrintMenu()
{
    using M = CMenuDef;
    CMenuDef recipe = M::PrintPopup("Print Glaze Re&cipe", CmdGlazePrintRecipe, CmdGlazePreviewRecipe, CmdGlazeWriteRecipe);
    recipe.items.push_back(M::Separator());
    recipe.items.push_back(M::Item(CmdGlazeBatchSizes, "&Set up batch sizes..."));
    return M::Popup("&Print", {
        M::PrintPopup("&Print Glaze", CmdGlazePrintSummary, CmdGlazePreviewSummary, CmdGlazeWriteSummary),
        recipe,
        M::PrintPopup("Print Glaze Re&port", CmdGlazePrintReport, CmdGlazePreviewReport, CmdGlazeWriteReport),
    });
}

int GlazePrintKind(unsigned id)
{
    switch (id) {
    case CmdGlazePrintSummary:
    case CmdGlazePreviewSummary:
    case CmdGlazeWriteSummary:
        return 1;
    case CmdGlazePrintRecipe:
    case CmdGlazePreviewRecipe:
    case CmdGlazeWriteRecipe:
        return 2;
    case CmdGlazePrintReport:
    case CmdGlazePreviewReport:
    case CmdGlazeWriteReport:
        return 3;
    default:
        return 0;
    }
}

void FillGlazePrinter(CTextPrinter& printer, const CGlazesDoc& document, const CGlaze& glaze, int kind)
{
    // The recipe printout has no page headers; the summary and the report have them when
    // sections start on pages of their own.
    const bool headers = kind != 2 && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = headers;
    printer.m_showLaterHeader = headers;
    printer.m_firstPageNumber = headers;
    printer.m_laterPageNumber = headers;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    const CPrintFontSet fonts = MakePrintFontSet(g_prefs.prtfont);
    printer.SetFont(PrinterFontLaterHeader, fonts.bold);
    const CGlazeText text(document);
    CLineOStream out(printer, 0, CLineOStream::kDefaultBufferSize);
    switch (kind) {
    case 1: text.WriteSummaries(out, {}, &glaze); break;
    case 2: text.WriteRecipes(out, {}, &glaze); break;
    default: text.WriteReports(out, {}, &glaze); break;
    }
}

void RunGlazePrintCommand(unsigned id, int kind, const CGlazesDoc& document,
                          const std::function<CGlaze()>& glaze, QWidget* parent)
{
    CPrintJob job([&document, &glaze, kind](CTextPrinter& printer) {
        FillGlazePrinter(printer, document, glaze(), kind);
    });
    if (IsWrite(id))
        job.WriteToFile(WriteTitle(kind));
    else if (IsPreview(id))
        job.PrintPreview(parent);
    else
        job.Print(parent);
}
