// The glaze edit form's navigation: the buttons, Previous, Next and Jump To (through the whole
// database or the limited subset), new glazes, Save as New, Ctrl+S, the glaze clipboard, Close,
// Open Report and the field-group keys Ctrl+N and Ctrl+B.

#include "glazes/GlazeEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeAnalysisView.h"
#include "glazes/GlazeClipboard.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "support/NotesEdit.h"
#include "support/SelectOneDlg.h"
#include "support/TabEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

void SetCaption(QPushButton* button, const char* text)
{
    const QString wanted = QString::fromLatin1(text);
    if (button->text() != wanted)
        button->setText(wanted);
}

} // namespace

// --- buttons ------------------------------------------------------------------------------------

void CGlazeEditView::UpdateButtons()
{
    const CGlazesDoc* doc = GlazesDoc();
    const int count = doc ? doc->GetGlazeCount() : 0;
    const bool valid = m_nSourceIndex >= 0 && m_nSourceIndex < count;
    Button(kGedSave)->setEnabled(m_nModified != 0 && valid);
    Button(kGedUndo)->setEnabled(m_nModified != 0 && valid);
    QPushButton* previous = Button(kGedPrevious);
    QPushButton* next = Button(kGedNext);
    if (m_bSubset) {
        previous->setEnabled(m_nSubsetPos > 0);
        next->setEnabled(m_nSubsetPos >= 0 && m_nSubsetPos < SubsetCount() - 1);
    } else {
        previous->setEnabled(valid);
        next->setEnabled(valid);
    }
    SetCaption(previous, !m_bSubset && m_nSourceIndex < 1 ? "Insert New" : "Edit Previous");
    SetCaption(next, !m_bSubset && (m_nSourceIndex == -1 || m_nSourceIndex == count - 1) ? "Append New" : "Edit Next");
}

// --- navigation ---------------------------------------------------------------------------------

bool CGlazeEditView::AskAndSave()
{
    // The form's own step stays where it is when its user keeps what was stored meanwhile.
    const FormAnswer answer = AskSaveChanges();
    if (answer == FormAnswer::Cancel || answer == FormAnswer::KeepStored)
        return false;
    if (answer == FormAnswer::Save)
        SaveGlaze();
    return true;
}

int CGlazeEditView::IndexOfGlaze(const CGlaze* glaze) const
{
    const CGlazesDoc* doc = GlazesDoc();
    for (int i = 0; doc && glaze && i < doc->GetGlazeCount(); ++i) {
        if (doc->GetGlaze(i) == glaze)
            return i;
    }
    return -1;
}

void CGlazeEditView::StepSubset(int position)
{
    m_nSubsetPos = position;
    EditGlaze(m_subsetIndices[static_cast<std::size_t>(position)]);
}

void CGlazeEditView::EditPrevious()
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    if (m_bSubset) {
        if (m_nSubsetPos > 0 && AskAndSave())
            StepSubset(m_nSubsetPos - 1);
        return;
    }
    if (m_nSourceIndex == 0)
        InsertNew();
    else if (m_nSourceIndex > 0 && m_nSourceIndex < doc->GetGlazeCount() && AskAndSave())
        EditGlaze(m_nSourceIndex - 1);
}

void CGlazeEditView::EditNext()
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    if (m_bSubset) {
        if (m_nSubsetPos >= 0 && m_nSubsetPos < SubsetCount() - 1 && AskAndSave())
            StepSubset(m_nSubsetPos + 1);
        return;
    }
    const int count = doc->GetGlazeCount();
    if (m_nSourceIndex == count - 1)
        AppendNew();
    else if (m_nSourceIndex >= 0 && m_nSourceIndex < count - 1 && AskAndSave())
        EditGlaze(m_nSourceIndex + 1);
}

void CGlazeEditView::JumpTo()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    CSelectOneDlg dialog(this, kGlazeEditSelectHelpId);
    dialog.caption = "Select a Glaze";
    dialog.backgroundColor = GetNamedColor("ged_bkg");
    if (m_bSubset) {
        for (const CGlaze* glaze : m_subsetGlazes)
            dialog.names.push_back(glaze->m_name);
        dialog.preselect = m_nSubsetPos;
    } else {
        dialog.document = doc;
        dialog.preselect = m_nSourceIndex;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selection < 0)
        return;
    const int choice = dialog.selection;
    if (m_bSubset) {
        if (choice != m_nSubsetPos && choice < SubsetCount() && AskAndSave())
            StepSubset(choice);
    } else if (choice != m_nSourceIndex && choice < doc->GetGlazeCount() && AskAndSave()) {
        EditGlaze(choice);
    }
}

// --- the subset ---------------------------------------------------------------------------------

void CGlazeEditView::SetGlazeSelection(const int* indices, int count)
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || !indices || count < 1)
        return;
    m_subsetGlazes.clear();
    m_subsetIndices.clear();
    for (int i = 0; i < count; ++i) {
        if (CGlaze* glaze = doc->GetGlaze(indices[i])) {
            m_subsetGlazes.push_back(glaze);
            m_subsetIndices.push_back(indices[i]);
        }
    }
    if (m_subsetGlazes.empty())
        return;
    m_bSubset = true;
    StepSubset(0);
}

bool CGlazeEditView::RemapSubset()
{
    std::vector<CGlaze*> glazes;
    std::vector<int> indices;
    int position = -1;
    for (CGlaze* glaze : m_subsetGlazes) {
        const int index = IndexOfGlaze(glaze);
        if (index < 0)
            continue;
        if (glaze == m_pSourceGlaze)
            position = static_cast<int>(glazes.size());
        glazes.push_back(glaze);
        indices.push_back(index);
    }
    m_subsetGlazes = std::move(glazes);
    m_subsetIndices = std::move(indices);
    m_nSubsetPos = position;
    if (position < 0)
        return false;
    m_nSourceIndex = m_subsetIndices[static_cast<std::size_t>(position)];
    return true;
}

void CGlazeEditView::LeaveLimitedAccess()
{
    if (!m_bSubset)
        return;
    m_bSubset = false;
    m_subsetGlazes.clear();
    m_subsetIndices.clear();
    m_nSubsetPos = -1;
    UpdateButtons();
}

// --- new glazes ---------------------------------------------------------------------------------

void CGlazeEditView::InsertNewAt(int index)
{
    CGlazesDoc* doc = GlazesDoc();
    doc->InsertGlaze(index, CGlaze("new glaze"));
    Broadcast(HintGlazesInserted, index, nullptr);
    EditGlaze(index);
}

void CGlazeEditView::InsertNew()
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc || m_bSubset || m_nSourceIndex < 0 || m_nSourceIndex >= doc->GetGlazeCount() || !AskAndSave())
        return;
    InsertNewAt(m_nSourceIndex);
}

void CGlazeEditView::AppendNew()
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc || m_bSubset || m_nSourceIndex < 0 || m_nSourceIndex >= doc->GetGlazeCount() || !AskAndSave())
        return;
    InsertNewAt(m_nSourceIndex + 1);
}

// The stored glaze keeps its place and stays as it was, with every other window on it; a new
// glaze after it takes the form's edits, and the form shows the new glaze.
void CGlazeEditView::SaveAsNew()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || !m_pSourceGlaze || !CommitForSave())
        return;
    const int index = IndexOfGlaze(m_pSourceGlaze);
    if (index < 0)
        return;
    const std::string storedName = m_pSourceGlaze->m_name;
    doc->InsertGlaze(index + 1, *m_pSourceGlaze);
    m_pSourceGlaze = doc->GetGlaze(index + 1);
    m_nSourceIndex = index + 1;
    if (m_bSubset && m_nSubsetPos >= 0 && m_nSubsetPos < SubsetCount()) {
        m_subsetGlazes.insert(m_subsetGlazes.begin() + m_nSubsetPos + 1, m_pSourceGlaze);
        ++m_nSubsetPos;
    }
    Broadcast(HintGlazesInserted, index + 1, nullptr);
    if (m_bSubset)
        RemapSubset();
    if (ToCp1252(m_name->text()) == storedName)
        m_name->setText(FromCp1252(storedName + " (new)"));
    // What another window saved stays in the stored glaze: nothing is replaced.
    m_savedElsewhere.Forget();
    SaveGlaze();
    if (m_nModified == 0)
        GlazeToControls(m_work);
    UpdateButtons();
}

void CGlazeEditView::SaveAndNext()
{
    const CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    if (m_nModified != 0) {
        if (!CommitForReplace())
            return;
        SaveGlaze();
    }
    bool appended = false;
    if (m_bSubset) {
        if (m_nSubsetPos >= 0 && m_nSubsetPos < SubsetCount() - 1)
            StepSubset(m_nSubsetPos + 1);
    } else if (m_nSourceIndex >= 0 && m_nSourceIndex == doc->GetGlazeCount() - 1) {
        AppendNew();
        appended = true;
    } else if (m_nSourceIndex >= 0) {
        EditGlaze(m_nSourceIndex + 1);
    }
    ShowPage(kPageDescription);
    m_name->setFocus();
    if (appended)
        m_name->selectAll();
    else
        m_name->deselect();
}

// --- the glaze clipboard ------------------------------------------------------------------------

bool CGlazeEditView::Copy()
{
    // The glaze as it can be saved: a refused line would be left out of the copy (and lost by Cut).
    CGlaze glaze("new glaze");
    if (!CAppContext::IsActive() || !CanSaveForm() || !FormGlaze(glaze))
        return false;
    ClearClipboard(g_glazeClipboard);
    AppendToClipboard(g_glazeClipboard, glaze);
    return true;
}

void CGlazeEditView::Cut()
{
    if (Copy())
        CloseQuietly();
}

void CGlazeEditView::Paste()
{
    if (!CAppContext::IsActive() || ClipboardCount(g_glazeClipboard) == 0)
        return;
    m_work = ClipboardRecord(g_glazeClipboard, 0);
    GlazeToControls(m_work);
    SetFrameTitle(m_work.m_name);
    RefreshAnalysis();
    UpdateRecipeSize();
    SetModified(1);
}

// --- closing and the report ---------------------------------------------------------------------

void CGlazeEditView::Close()
{
    if (AskAndSave())
        CloseQuietly();
}

void CGlazeEditView::OpenReport()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || m_nSourceIndex < 0 || m_nSourceIndex >= doc->GetGlazeCount() || !AskAndSave())
        return;
    if (CView* report = doc->FindAnalysisView(m_nSourceIndex)) {
        if (CFrameHost* frame = report->GetFrame())
            frame->ActivateFrame();
        return;
    }
    if (CGlazeAnalysisView* view = CreateGlazeAnalysisWindow(*doc))
        view->FillReport(m_nSourceIndex);
}

// The limit pane's template on the Limit Formula page, else the analysis pane's, else the first
// of the database; the chosen limit formula, else the glaze's own; the analysis pane's units.
void CGlazeEditView::OpenGraph()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || m_nSourceIndex < 0 || m_nSourceIndex >= doc->GetGlazeCount() || !CanOpenGlazeGraph() || !AskAndSave())
        return;
    CGlazeGraphRequest request;
    request.glaze = m_nSourceIndex;
    const CGraphTemplate* limitTemplate = Pane(kGraphPaneLimit).graphTemplate;
    request.graphTemplate = m_nPage == kPageLimitFormula && limitTemplate ? limitTemplate
                                                                         : Pane(kGraphPaneAnalysis).graphTemplate;
    request.limitFormula = m_chosenLimitFormula.empty() ? m_limform : m_chosenLimitFormula;
    request.units = m_nAnalysisMode - 1;
    OpenGlazeGraph(*doc, request);
}

// --- the field-group keys -----------------------------------------------------------------------

void CGlazeEditView::FocusField(QWidget* field, bool caretAtEnd)
{
    field->setFocus();
    if (auto* box = qobject_cast<QPlainTextEdit*>(field)) {
        QTextCursor cursor = box->textCursor();
        if (caretAtEnd)
            cursor.movePosition(QTextCursor::End);
        else
            cursor.clearSelection();
        box->setTextCursor(cursor);
        box->ensureCursorVisible();
    } else if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->deselect();
    }
}

// Forward: Description, Components, Additions, Variations, Notes, Source, the Analysis page, the
// Limit Formula page and round to the Name field; backward the other way.
void CGlazeEditView::MoveToFieldGroup(bool forward)
{
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = nullptr;
    int page = m_nPage;
    switch (m_nPage) {
    case kPageDescription:
        target = forward ? static_cast<QWidget*>(m_components) : nullptr;
        page = forward ? kPageRecipe : kPageLimitFormula;
        break;
    case kPageRecipe:
        if (forward) {
            target = focus == m_additions ? static_cast<QWidget*>(m_variations) : m_additions;
            page = focus == m_additions ? kPageNotes : kPageRecipe;
        } else {
            target = focus == m_additions ? static_cast<QWidget*>(m_components) : m_name;
            page = focus == m_additions ? kPageRecipe : kPageDescription;
        }
        break;
    case kPageNotes:
        if (forward) {
            target = focus == m_variations ? static_cast<QWidget*>(m_notes) : focus == m_notes ? m_source : nullptr;
            page = target ? kPageNotes : kPageAnalysis;
        } else if (focus == m_variations) {
            target = m_additions;
            page = kPageRecipe;
        } else {
            target = focus == m_notes ? static_cast<QWidget*>(m_variations) : m_notes;
        }
        break;
    case kPageAnalysis:
        page = forward ? kPageLimitFormula : kPageNotes;
        target = forward ? nullptr : m_source;
        break;
    default:
        page = forward ? kPageDescription : kPageAnalysis;
        target = forward ? m_name : nullptr;
        break;
    }
    ShowPage(page);
    if (!target)
        target = page == kPageAnalysis ? static_cast<QWidget*>(m_analysisPane) : static_cast<QWidget*>(m_limitList);
    FocusField(target, target == m_components || target == m_additions);
}
