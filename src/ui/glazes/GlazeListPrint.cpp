// The Print menu of the glaze list: summaries, recipes or reports of the selected glazes, or the
// whole list in the current list format, printed, previewed or written to a text file. The texts
// are the glaze text output's; this part chooses the kind and sets up the text printer.

#include "glazes/GlazesView.h"

#include "glazes/GlazeTextOutput.h"
#include "shell/Preferences.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

namespace {

enum class PrintAction { Print, Preview, Write };

struct SPrintCommand {
    unsigned id;
    int kind;
    PrintAction action;
};

constexpr SPrintCommand kPrintCommands[] = {
    {CmdGlzPrintSummaries, kGlazePrintSummaries, PrintAction::Print},
    {CmdGlzPreviewSummaries, kGlazePrintSummaries, PrintAction::Preview},
    {CmdGlzWriteSummaries, kGlazePrintSummaries, PrintAction::Write},
    {CmdGlzPrintRecipes, kGlazePrintRecipes, PrintAction::Print},
    {CmdGlzPreviewRecipes, kGlazePrintRecipes, PrintAction::Preview},
    {CmdGlzWriteRecipes, kGlazePrintRecipes, PrintAction::Write},
    {CmdGlzPrintReports, kGlazePrintReports, PrintAction::Print},
    {CmdGlzPreviewReports, kGlazePrintReports, PrintAction::Preview},
    {CmdGlzWriteReports, kGlazePrintReports, PrintAction::Write},
    {CmdGlzPrintList, kGlazePrintList, PrintAction::Print},
    {CmdGlzPreviewList, kGlazePrintList, PrintAction::Preview},
    {CmdGlzWriteList, kGlazePrintList, PrintAction::Write},
};

const char* WriteTitle(int kind)
{
    switch (kind) {
    case kGlazePrintSummaries: return "Glaze Summaries to File...";
    case kGlazePrintRecipes: return "Glaze Recipes to File...";
    case kGlazePrintReports: return "Glaze Reports to File...";
    default: return "Glaze List to File...";
    }
}

// The header switches of each kind: recipes never have page headers, the other kinds have them
// when sections go on pages of their own; the list has no page numbers.
void SetHeaderSwitches(CTextPrinter& printer, int kind)
{
    const bool sectionHeaders = g_prefs.prtuseffs != 0 && kind != kGlazePrintRecipes;
    printer.m_showFirstHeader = sectionHeaders;
    printer.m_showLaterHeader = sectionHeaders;
    printer.m_firstPageNumber = false;
    printer.m_laterPageNumber = kind != kGlazePrintList;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
}

} // namespace

void CGlazesView::FillPrinter(CTextPrinter& printer, int kind)
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    SetHeaderSwitches(printer, kind);
    // The running headers of the list are its column headings, which line up with the plain rows;
    // the glaze names heading the other kinds stand out in bold.
    const CPrintFontSet fonts = MakePrintFontSet(g_prefs.prtfont);
    printer.SetFont(PrinterFontLaterHeader, kind == kGlazePrintList ? fonts.normal : fonts.bold);

    const CGlazeText text(*doc);
    const std::vector<int> rows = GetSelItems();
    CLineOStream out(printer, 0, CLineOStream::kDefaultBufferSize);
    switch (kind) {
    case kGlazePrintSummaries: text.WriteSummaries(out, rows, nullptr); break;
    case kGlazePrintRecipes: text.WriteRecipes(out, rows, nullptr); break;
    case kGlazePrintReports: text.WriteReports(out, rows, nullptr); break;
    default: text.WriteList(out, m_nListFormat); break;
    }
}

void CGlazesView::PrintGlazes(unsigned id)
{
    const SPrintCommand* command = nullptr;
    for (const SPrintCommand& entry : kPrintCommands) {
        if (entry.id == id)
            command = &entry;
    }
    if (!command)
        return;
    printKind = command->kind;
    const int kind = printKind;
    CPrintJob job([this, kind](CTextPrinter& printer) { FillPrinter(printer, kind); });
    switch (command->action) {
    case PrintAction::Print: job.Print(this); break;
    case PrintAction::Preview: job.PrintPreview(this); break;
    case PrintAction::Write: job.WriteToFile(WriteTitle(kind)); break;
    }
}
