// The glaze edit form: its life, the exchange between the controls and the glaze, loading and
// saving, the modified state, the leaving of fields and keys, and the change notices.

#include "glazes/GlazeEditView.h"

#include "framework/Cp1252.h"
#include "framework/Cp1252Fields.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeEditPageFields.h"
#include "glazes/RecipeAmountAligner.h"
#include "glazes/RecipeEntry.h"
#include "graphs/GraphWnd.h"
#include "shell/AppContext.h"
#include "shell/DeleteQuestion.h"
#include "shell/EditFormLink.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"
#include "support/FocusWatcher.h"
#include "support/NotesEdit.h"
#include "support/NumberText.h"
#include "support/PlainTextEditLines.h"
#include "support/PrintSurface.h"
#include "support/TabEdit.h"
#include "support/TextHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>


namespace {

constexpr int kGlazesKind = static_cast<int>(DbFileType::Glazes);

std::string Trimmed(const QString& text)
{
    std::string bytes = ToCp1252(text);
    return TrimString(bytes);
}

QString JoinedLines(const CStringArrayEx& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return EditTextFromCore(text);
}

// The form's own keys: Ctrl+N, Ctrl+B, Ctrl+S and Ctrl+U (0 for any other key).
unsigned FormKeyCommand(const QKeyEvent* key)
{
    if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) != Qt::ControlModifier)
        return 0;
    switch (key->key()) {
    case Qt::Key_N: return CmdGedNextGroup;
    case Qt::Key_B: return CmdGedPreviousGroup;
    case Qt::Key_S: return CmdGedSaveAndNext;
    case Qt::Key_U: return CmdGedUpdate;
    default: return 0;
    }
}

} // namespace

CGlazeEditView::CGlazeEditView()
    : m_work("new glaze"),
      m_defaultTemplates{CGraphTemplate("new graph template"), CGraphTemplate("new graph template")}
{
    m_defaultTemplates[kGraphPaneAnalysis].ResetDefaults(1);
    m_defaultTemplates[kGraphPaneLimit].ResetDefaults(2);
    setWidgetResizable(false);
    BuildForm();
    ConnectChangeSignals();
    InstallFilters();
}

CGlazeEditView::~CGlazeEditView()
{
    m_bClosing = true;
    DestroyPopup();
    // The chart windows let go of the graphs before the graphs are freed.
    for (GraphPane& pane : m_graphPanes) {
        if (pane.chart)
            pane.chart->SetGraph(nullptr);
        pane.graph.reset();
    }
}

QSize CGlazeEditView::sizeHint() const
{
    return m_form->size() + QSize(2 * frameWidth(), 2 * frameWidth());
}

CGlazesDoc* CGlazeEditView::GlazesDoc() const
{
    return dynamic_cast<CGlazesDoc*>(GetDocument());
}

void CGlazeEditView::Broadcast(int code, int index, const CGlaze* glaze)
{
    COxidariumApp::BroadcastUpdate(this, GlazesDoc(), kGlazesKind, code, index, HintExtra(glaze));
}

void CGlazeEditView::SetFrameTitle(const std::string& title)
{
    SetViewCaption(*this, title);
}

void CGlazeEditView::CloseQuietly()
{
    SetModified(0);
    m_bClosing = true;
    DestroyPopup();
    if (CFrameHost* frame = GetFrame())
        frame->CloseFrame();
}

void CGlazeEditView::DestroyPopup()
{
    if (m_popup)
        m_popup->close();
}

// --- life ---------------------------------------------------------------------------------------

void CGlazeEditView::OnInitialUpdate()
{
    KeepFieldsInCp1252(this);
    // The window keeps the place every new window gets, offset from the one before: a second
    // form on the same glaze must not hide the first exactly.
    if (auto* frame = dynamic_cast<QWidget*>(GetFrame()))
        frame->adjustSize();
    EditGlaze(-1);
    ShowPage(kPageDescription);
    ApplyEditFont();
    const bool graphs = g_pApp && g_pApp->m_bGraphsAvailable;
    for (GraphPane& pane : m_graphPanes) {
        pane.graphButton->setVisible(graphs);
        pane.graphButton->setEnabled(graphs);
        pane.textButton->setVisible(graphs);
        pane.textButton->setEnabled(graphs);
    }
    if (!m_bMaterialsFilled)
        FillMaterialList();
    if (!m_bListsFilled)
        FillChoiceLists();
}

void CGlazeEditView::FillChoiceLists()
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    for (std::size_t i = 0; i < kGlazeChoiceFields.size(); ++i) {
        QComboBox* box = m_choices[i];
        const QString shown = box->currentText();
        box->clear();
        if (CAppContext::IsActive()) {
            for (const std::string& value : g_prefs.*(kGlazeChoiceFields[i].vocabulary))
                box->addItem(FromCp1252(value));
        }
        box->setCurrentIndex(-1);
        box->setEditText(shown);
    }
    m_bLoading = loading;
    m_bListsFilled = true;
}

void CGlazeEditView::ApplyEditFont()
{
    if (CAppContext::IsActive())
        m_editFont = g_prefs.edboxfont;
    const QFont editFont = EditBoxFont(font());
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(m_components), static_cast<QPlainTextEdit*>(m_additions),
                                static_cast<QPlainTextEdit*>(m_variations), static_cast<QPlainTextEdit*>(m_notes),
                                m_recipeAnalysis, m_analysisPane, m_recipePane, m_comparisonText})
        box->setFont(editFont);
    // Redrawing the recipe lines is no edit of them.
    const bool loading = m_bLoading;
    m_bLoading = true;
    for (CRecipeAmountAligner* aligner : m_aligners)
        aligner->SetFont(editFont);
    m_bLoading = loading;
    SetTabStops();
}

// --- exchange with the glaze --------------------------------------------------------------------

void CGlazeEditView::GlazeToControls(const CGlaze& glaze)
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    m_name->setText(FromCp1252(glaze.m_name));
    m_date->setText(FromCp1252(glaze.m_date));
    m_index->setText(FromCp1252(glaze.m_index));
    for (std::size_t i = 0; i < kGlazeChoiceFields.size(); ++i)
        m_choices[i]->setEditText(FromCp1252(glaze.*(kGlazeChoiceFields[i].member)));
    m_imageFile->setText(FromCp1252(glaze.m_imagefile));
    m_byVolume->setChecked(glaze.m_byVol != 0);
    m_batchSize->setText(FromCp1252(FormatDoubleShortest(glaze.m_batchSize)));
    CStringArrayEx lines;
    FormatRecipeLines(lines, glaze.m_components);
    SetRecipeLines(m_components, lines);
    FormatRecipeLines(lines, glaze.m_additions);
    SetRecipeLines(m_additions, lines);
    m_variations->setPlainText(JoinedLines(glaze.m_variations));
    m_notes->setPlainText(JoinedLines(glaze.m_notes));
    m_noteFile->setText(FromCp1252(glaze.m_notefile));
    m_source->setText(FromCp1252(glaze.m_source));
    m_limform = glaze.m_limform;
    m_bLoading = loading;
}

CRefusedLine CGlazeEditView::ControlsToGlaze(CGlaze& target)
{
    target.m_name = Trimmed(m_name->text());
    target.m_index = Trimmed(m_index->text());
    target.m_date = Trimmed(m_date->text());
    target.m_imagefile = Trimmed(m_imageFile->text());
    target.m_notefile = Trimmed(m_noteFile->text());
    target.m_source = Trimmed(m_source->text());
    for (std::size_t i = 0; i < kGlazeChoiceFields.size(); ++i)
        target.*(kGlazeChoiceFields[i].member) = Trimmed(m_choices[i]->currentText());
    target.m_byVol = m_byVolume->isChecked() ? 1 : 0;
    double batch = 0.0;
    ReadNumberText(Trimmed(m_batchSize->text()), batch);
    target.m_batchSize = batch < 1.0 ? 0.0 : batch;
    const CRefusedLine refused = ReadRecipeFields(target.m_components, target.m_additions);
    ReadWholeEditLines(*m_variations, target.m_variations);
    ReadWholeEditLines(*m_notes, target.m_notes);
    target.m_limform = m_limform;
    target.ParseRange();
    target.UpdateDateValue();
    target.InvalidateAnalysis();
    return refused;
}

// --- loading and saving -------------------------------------------------------------------------

void CGlazeEditView::EditGlaze(int index)
{
    CGlazesDoc* doc = GlazesDoc();
    m_savedElsewhere.Forget();
    if (doc && index >= 0 && index < doc->GetGlazeCount()) {
        m_nSourceIndex = index;
        m_pSourceGlaze = doc->GetGlaze(index);
        m_work = *m_pSourceGlaze;
        m_chosenLimitFormula.clear();
        GlazeToControls(m_work);
        SetFrameTitle(m_work.m_name);
        RefreshAnalysis();
        UpdateRecipeSize();
        m_nLastRecipeField = 0;
        m_nModified = 0;
    } else {
        m_nSourceIndex = -1;
        m_pSourceGlaze = nullptr;
    }
    UpdateButtons();
    DestroyPopup();
}

void CGlazeEditView::SaveGlaze()
{
    CGlazesDoc* doc = GlazesDoc();
    // The stored glaze itself says where the form's glaze goes: a position remembered from
    // before a change of the list must never overwrite another glaze.
    const int index = IndexOfGlaze(m_pSourceGlaze);
    if (!doc || index < 0)
        return;
    // The callers asked CanSaveForm first; a refused line is refused again rather than dropped.
    if (const CRefusedLine refused = ControlsToGlaze(m_work)) {
        RefuseRecipeLine(refused);
        return;
    }
    if (!MayReplaceStored())
        return;
    m_nSourceIndex = index;
    doc->ReplaceGlaze(m_nSourceIndex, m_work);
    m_pSourceGlaze = doc->GetGlaze(m_nSourceIndex);
    if (m_bSubset && m_nSubsetPos >= 0)
        m_subsetGlazes[static_cast<std::size_t>(m_nSubsetPos)] = m_pSourceGlaze;
    Broadcast(HintGlazeChanged, m_nSourceIndex, m_pSourceGlaze);
    SetModified(0);
}

int CGlazeEditView::AskDeleteChanges(RecordGoes goes)
{
    if (m_nModified == 0)
        return MsgResultYes;
    return AskDeleteChangedRecord(StoredName(), FormName(), goes, kGlazeEditSaveQuestionHelpId);
}

FormAnswer CGlazeEditView::AskSaveChanges()
{
    if (m_nModified == 0)
        return FormAnswer::DontSave;
    const int answer = AppMessageBox("Save changes to \"" + FormName() + "\" ?", MsgYesNoCancel | MsgIconQuestion,
                                     kGlazeEditSaveQuestionHelpId);
    if (answer != MsgResultYes)
        return answer == MsgResultNo ? FormAnswer::DontSave : FormAnswer::Cancel;
    // The field being edited is left first, as by Save Changes: a size typed as "x2" is taken.
    if (!CommitForSave())
        return FormAnswer::Cancel;
    return MayReplaceStored() ? FormAnswer::Save : FormAnswer::KeepStored;
}

std::string CGlazeEditView::FormName() const
{
    return ToCp1252(m_name->text());
}

std::string CGlazeEditView::StoredName() const
{
    return m_pSourceGlaze ? m_pSourceGlaze->m_name : FormName();
}

void CGlazeEditView::DropChanges()
{
    const int index = IndexOfGlaze(m_pSourceGlaze);
    if (index >= 0)
        EditGlaze(index);
    else
        SetModified(0);
}

void CGlazeEditView::SetModified(int flag)
{
    if (flag == 1)
        MarkGraphsOutOfDate();
    if (flag == m_nModified)
        return;
    m_nModified = flag;
    UpdateButtons();
}

// --- typing and leaving fields ------------------------------------------------------------------

void CGlazeEditView::OnFieldEdited()
{
    if (!m_bLoading)
        SetModified(1);
}

void CGlazeEditView::ConnectChangeSignals()
{
    for (QLineEdit* edit : {m_date, m_index, m_imageFile, m_noteFile, m_source, m_batchSize})
        connect(edit, &QLineEdit::textChanged, this, &CGlazeEditView::OnFieldEdited);
    connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_bLoading)
            return;
        SetFrameTitle(ToCp1252(text));
        SetModified(1);
    });
    for (QComboBox* box : m_choices) {
        connect(box, &QComboBox::editTextChanged, this, &CGlazeEditView::OnFieldEdited);
        connect(box, &QComboBox::activated, this, &CGlazeEditView::OnFieldEdited);
    }
    for (CNotesEdit* box : {m_variations, m_notes})
        connect(box, &QPlainTextEdit::textChanged, this, &CGlazeEditView::OnFieldEdited);
    for (CTabEdit* field : {m_components, m_additions}) {
        connect(field, &QPlainTextEdit::textChanged, this, [this, field] {
            if (m_bLoading)
                return;
            SetModified(1);
            CompleteOnEnter(field);
        });
        connect(field, &CTabEdit::tabToPartner, this, [this, field] { CompleteOnTab(field); });
    }
    connect(m_byVolume, &QCheckBox::clicked, this, [this] {
        SetModified(1);
        RefreshAnalysis();
        UpdateRecipeSize();
    });
}

bool CGlazeEditView::LeaveField(QObject* field, bool tell)
{
    if (m_bInFieldHandler || m_bClosing || m_bLoading)
        return true;
    // A message box shown by a handler takes the focus; that must not run the handler again.
    m_bInFieldHandler = true;
    bool taken = true;
    if (field == m_components || field == m_additions)
        taken = RecipeFieldLeft(static_cast<CTabEdit*>(field), tell);
    else if (field == m_batchSize)
        taken = BatchSizeLeft(tell);
    m_bInFieldHandler = false;
    return taken;
}

bool CGlazeEditView::CommitPendingEdit()
{
    if (QObject* field = m_menuBarTookFocusFrom) {
        m_menuBarTookFocusFrom = nullptr;
        return LeaveField(field, true);
    }
    QWidget* focused = QApplication::focusWidget();
    return !focused || !m_form->isAncestorOf(focused) || LeaveField(focused, true);
}

bool CGlazeEditView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // The menu bar holding the focus (Alt, or Escape out of a menu) leaves the field only
        // when the focus moves on from there to another control of the form, or a command runs.
        if (reason == Qt::MenuBarFocusReason)
            m_menuBarTookFocusFrom = watched;
        else if (IsFieldFocusChange(reason) && !LeaveField(watched, FocusIsWithin(*m_form)) && TookFocusBack(watched))
            return true; // the refused field keeps the focus and the text selected for the user
        break;
    }
    case QEvent::FocusIn:
        if (QObject* field = m_menuBarTookFocusFrom; field && field != watched) {
            m_menuBarTookFocusFrom = nullptr;
            LeaveField(field, true);
        }
        m_menuBarTookFocusFrom = nullptr;
        break;
    case QEvent::ShortcutOverride:
        // The form's keys come before the menus' shortcuts.
        if (FormKeyCommand(static_cast<QKeyEvent*>(event)) != 0) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (const unsigned command = FormKeyCommand(static_cast<QKeyEvent*>(event)); command != 0) {
            OnCommand(command);
            return true;
        }
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

// --- change notices -----------------------------------------------------------------------------

void CGlazeEditView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    // A notice without a hint comes only from the framework's OnInitialUpdate, which the form
    // replaces with its own.
    if (sender == this || m_bClosing || !hint)
        return;
    switch (hint->m_nCode) {
    case HintElementChanged:
    case HintElementsReplaced:
    case HintLimitFormulaChanged:
    case HintLimitFormulasInserted:
    case HintLimitFormulasDeleted:
    case HintLimitFormulasReordered:
    case HintLimitFormulasReplaced:
    case HintOxideCombinationsChanged:
        RefreshAnalysis();
        break;
    case HintMaterialChanged:
        if (!m_bFrozen) {
            FillMaterialList();
            RefreshAnalysis();
        }
        break;
    case HintMaterialsInserted:
    case HintMaterialsDeleted:
    case HintMaterialsReordered:
    case HintMaterialsReplaced:
        FillMaterialList();
        RefreshAnalysis();
        break;
    case HintGraphTemplateChanged:
    case HintGraphTemplatesInserted:
    case HintGraphTemplatesDeleted:
    case HintGraphTemplatesReordered:
    case HintGraphTemplatesReplaced:
    case HintGraphColorsChanged:
        OnGraphTemplatesChanged(hint->m_nCode, reinterpret_cast<const void*>(hint->m_extra));
        if (hint->m_nCode == HintGraphTemplateChanged && hint->m_pObject != reinterpret_cast<const void*>(hint->m_extra))
            OnGraphTemplatesChanged(hint->m_nCode, hint->m_pObject);
        break;
    case HintPreferencesChanged:
        FillChoiceLists();
        ColorPanes();
        RefreshAnalysis();
        if (CAppContext::IsActive() && !(g_prefs.edboxfont == m_editFont))
            ApplyEditFont();
        break;
    case HintBulkChangeBegins:
        m_bFrozen = true;
        break;
    case HintBulkChangeEndsRefreshAll:
        m_bFrozen = false;
        FillMaterialList();
        RefreshAnalysis();
        break;
    case HintBulkChangeEndsRefreshDocument:
        m_bFrozen = false;
        MarkGraphsOutOfDate();
        RebuildGraphPane(kGraphPaneAnalysis);
        RebuildGraphPane(kGraphPaneLimit);
        break;
    default:
        OnGlazeNotice(sender, *hint);
        break;
    }
}

bool CGlazeEditView::MayReplaceStored()
{
    return !m_pSourceGlaze ||
           m_savedElsewhere.MayReplace({this, this}, m_pSourceGlaze->m_name);
}

bool CGlazeEditView::CommitForReplace()
{
    return CommitForSave() && MayReplaceStored();
}

void CGlazeEditView::OnGlazeNotice(CView* sender, const CUpdateHint& hint)
{
    switch (hint.m_nCode) {
    case HintGlazeChanged:
        if (m_pSourceGlaze && hint.m_extra == HintExtra(m_pSourceGlaze)) {
            if (m_savedElsewhere.MayReload({this, this}, sender, m_pSourceGlaze->m_name))
                EditGlaze(m_nSourceIndex);
        } else if (!m_bFrozen) {
            MarkGraphsOutOfDate();
            RebuildGraphPane(kGraphPaneAnalysis);
            RebuildGraphPane(kGraphPaneLimit);
        }
        break;
    case HintGlazesInserted:
    case HintGlazesDeleted:
    case HintGlazesReordered:
        OnGlazesMoved();
        break;
    case HintGlazesReplaced:
        // A database read anew keeps none of its glazes, and its windows go. A command that
        // rewrote glazes in place (a merge) asked the windows on them first: a window whose glaze
        // is still there stays, showing it as stored, or keeping its edits of a glaze the
        // command left alone.
        if (hint.m_pObject != GetDocument())
            break;
        if (!m_pSourceGlaze)
            CloseQuietly();
        else if (OnGlazesMoved() && m_nModified == 0)
            EditGlaze(m_nSourceIndex);
        break;
    default:
        break;
    }
}

bool CGlazeEditView::OnGlazesMoved()
{
    bool present = true;
    if (m_bSubset) {
        present = RemapSubset();
    } else if (m_pSourceGlaze) {
        m_nSourceIndex = IndexOfGlaze(m_pSourceGlaze);
        present = m_nSourceIndex >= 0;
    }
    if (!present) {
        CloseQuietly();
        return false;
    }
    UpdateButtons();
    return true;
}
