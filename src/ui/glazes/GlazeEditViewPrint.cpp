// The Print menu of the glaze edit form: the summary, recipe or report of the glaze as the form
// shows it (unsaved edits included), printed, previewed or written to a text file.

#include "glazes/GlazeEditView.h"

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
    {CmdGedPrintSummary, 1, PrintAction::Print},  {CmdGedPreviewSummary, 1, PrintAction::Preview},
    {CmdGedWriteSummary, 1, PrintAction::Write},  {CmdGedPrintRecipe, 2, PrintAction::Print},
    {CmdGedPreviewRecipe, 2, PrintAction::Preview}, {CmdGedWriteRecipe, 2, PrintAction::Write},
    {CmdGedPrintReport, 3, PrintAction::Print},   {CmdGedPreviewReport, 3, PrintAction::Preview},
    {CmdGedWriteReport, 3, PrintAction::Write},
};

const char* WriteTitle(int kind)
{
    switch (kind) {
    case 1: return "Glaze Summary to File...";
    case 2: return "Glaze Recipe to File...";
    default: return "Glaze Report to File...";
    }
}

} // namespace

void CGlazeEditView::FillPrinter(CTextPrinter& printer, int kind)
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    // The recipe printout has no page headers; the summary and the report have them when
    // sections start on pages of their own.
    const bool headers = kind != 2 && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = headers;
    printer.m_showLaterHeader = headers;
    printer.m_firstPageNumber = true;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    const CPrintFontSet fonts = MakePrintFontSet(g_prefs.prtfont);
    printer.SetFont(PrinterFontLaterHeader, fonts.bold);

    CGlaze glaze("new glaze");
    ControlsToGlaze(glaze);
    const CGlazeText text(*doc);
    CLineOStream out(printer, 0, CLineOStream::kDefaultBufferSize);
    switch (kind) {
    case 1: text.WriteSummaries(out, {}, &glaze); break;
    case 2: text.WriteRecipes(out, {}, &glaze); break;
    default: text.WriteReports(out, {}, &glaze); break;
    }
}

void CGlazeEditView::PrintGlaze(unsigned id)
{
    PrintAction action = PrintAction::Print;
    if (id != CmdGedFilePrint) {
        const SPrintCommand* command = nullptr;
        for (const SPrintCommand& entry : kPrintCommands) {
            if (entry.id == id)
                command = &entry;
        }
        if (!command)
            return;
        printKind = command->kind;
        action = command->action;
    }
    CommitPendingEdit();
    const int kind = printKind;
    CPrintJob job([this, kind](CTextPrinter& printer) { FillPrinter(printer, kind); });
    switch (action) {
    case PrintAction::Print: job.Print(this); break;
    case PrintAction::Preview: job.PrintPreview(this); break;
    case PrintAction::Write: job.WriteToFile(WriteTitle(kind)); break;
    }
}
