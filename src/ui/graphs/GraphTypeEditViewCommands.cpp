// The editor's own commands: the graph-template clipboard, the notes dialog, the colour lists and
// Open Graph.

#include "graphs/GraphTypeEditView.h"

#include "framework/Cp1252.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazesDoc.h"
#include "graphs/GraphColorsDlg.h"
#include "graphs/GraphTemplateClipboard.h"
#include "graphs/GraphTypesView.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "support/EditTextDlg.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

constexpr unsigned kNotesDialogHelpId = 321;

} // namespace

// --- the graph-template clipboard -----------------------------------------------------------------

void CGraphTypeEditView::Copy()
{
    StoreCurrentDataSource();
    CGraphTemplate graphTemplate("new graph template");
    // Settings without a control (ovftype) come from the working copy.
    graphTemplate = m_template;
    StoreControlsIntoTemplate(graphTemplate);
    CopyRecordToClipboard(g_graphTemplateClipboard, graphTemplate);
}

void CGraphTypeEditView::Paste()
{
    if (!CAppContext::IsActive() || ClipboardCount(g_graphTemplateClipboard) == 0)
        return;
    LoadTemplateIntoControls(ClipboardRecord(g_graphTemplateClipboard, 0));
    // The stored template changes only on Save.
    MarkModified();
}

// --- notes, colours, graphs --------------------------------------------------------------------

void CGraphTypeEditView::EditNotes()
{
    CEditTextDlg dialog(this, Text(kGeName) + " - Notes", kNotesDialogHelpId, 0);
    dialog.backgroundColor = GetNamedColor("grted_bkg");
    auto* notes = Ctl<QPlainTextEdit>(kGeNotes);
    dialog.text = CoreTextFromEdit(*notes);
    if (dialog.exec() != QDialog::Accepted)
        return;
    notes->setPlainText(EditTextFromCore(dialog.text));
    notes->moveCursor(QTextCursor::Start);
    MarkModified();
}

void CGraphTypeEditView::EditColors()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || !EditGraphColorLists(this, *doc))
        return;
    Broadcast(HintGraphColorsChanged, 0);
    InvalidatePreview();
}

void CGraphTypeEditView::OpenGraph()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    const CGraphTemplate* stored = StoredTemplate();
    if (!doc || !stored || !AskAndSave())
        return;
    if (CView* shown = doc->FindGraphView(stored)) {
        if (CFrameHost* frame = shown->GetFrame())
            frame->ActivateFrame();
        return;
    }
    const auto pointerOf = [this](int id) -> void* {
        const QComboBox* combo = Ctl<QComboBox>(id);
        return combo->currentIndex() >= 0 ? reinterpret_cast<void*>(combo->currentData().value<quintptr>()) : nullptr;
    };
    OpenGraphView(*doc, stored, static_cast<CGlazesDoc*>(pointerOf(kGeGraphDatabase)),
                  static_cast<CGlaze*>(pointerOf(kGeGraphGlaze)));
}
