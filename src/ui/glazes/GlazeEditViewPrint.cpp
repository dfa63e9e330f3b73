// The Print menu of the glaze edit form: the summary, recipe or report of the glaze as the form
// shows it (unsaved edits included), printed, previewed or written to a text file. A form that
// holds a refused recipe line prints nothing: a sheet without that ingredient would be weighed
// from.

#include "glazes/GlazeEditView.h"

#include "glazes/GlazePrinting.h"

bool CGlazeEditView::FormGlaze(CGlaze& glaze)
{
    const CRefusedLine refused = ControlsToGlaze(glaze);
    return !refused || RefuseRecipeLine(refused);
}

void CGlazeEditView::PrintGlaze(unsigned id)
{
    const CGlazesDoc* doc = GlazesDoc();
    const int kind = GlazePrintKind(id);
    if (!doc || (kind == 0 && id != CmdGedFilePrint))
        return;
    if (kind != 0)
        printKind = kind;
    CGlaze glaze("new glaze");
    if (!CommitPendingEdit() || !FormGlaze(glaze))
        return;
    RunGlazePrintCommand(kind != 0 ? id : CmdGlazePrintSummary, printKind, *doc, [glaze] { return glaze; }, this);
}
