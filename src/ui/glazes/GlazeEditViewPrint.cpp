// The Print menu of the glaze edit form: the summary, recipe or report of the glaze as the form
// shows it (unsaved edits included), printed, previewed or written to a text file.

#include "glazes/GlazeEditView.h"

#include "glazes/GlazePrinting.h"

void CGlazeEditView::FillPrinter(CTextPrinter& printer, int kind)
{
    if (const CGlazesDoc* doc = GlazesDoc())
        FillGlazePrinter(printer, *doc, FormGlaze(), kind);
}

CGlaze CGlazeEditView::FormGlaze()
{
    CGlaze glaze("new glaze");
    ControlsToGlaze(glaze);
    return glaze;
}

void CGlazeEditView::PrintGlaze(unsigned id)
{
    const CGlazesDoc* doc = GlazesDoc();
    const int kind = GlazePrintKind(id);
    if (!doc || (kind == 0 && id != CmdGedFilePrint))
        return;
    if (kind != 0)
        printKind = kind;
    CommitPendingEdit();
    RunGlazePrintCommand(kind != 0 ? id : CmdGlazePrintSummary, printKind, *doc, [this] { return FormGlaze(); }, this);
}
