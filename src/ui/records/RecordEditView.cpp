#include "records/RecordEditView.h"

#include "support/FocusWatcher.h"

#include "framework/Cp1252.h"
#include "framework/Cp1252Fields.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "shell/AppContext.h"
#include "shell/DeleteQuestion.h"
#include "shell/EditFormLink.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/DialogStyle.h"

#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>


CRecordEditView::CRecordEditView(const CRecordEditKind& kind) : m_kind(kind), m_savedElsewhere(kind.saveQuestionHelpId)
{
    setWidgetResizable(false);
    if (m_kind.saveAndNext != 0)
        InstallSaveAndNextKey();
}

CRecordEditView::~CRecordEditView() = default;

// Ctrl+S goes through the main frame's command routing when the form is the active view, so a
// disabled command does not run.
void CRecordEditView::InstallSaveAndNextKey()
{
    auto* saveAndNext = new QShortcut(QKeySequence(QStringLiteral("Ctrl+S")), this);
    saveAndNext->setContext(Qt::WidgetWithChildrenShortcut);
    connect(saveAndNext, &QShortcut::activated, this, [this] {
        if (CMDIMainFrame* frame = CMDIMainFrame::Instance(); frame && frame->ActiveView() == this)
            frame->ExecuteCommand(m_kind.saveAndNext);
        else
            OnCommand(m_kind.saveAndNext);
    });
}

CRecordDatabaseDoc* CRecordEditView::RecordDoc() const
{
    return dynamic_cast<CRecordDatabaseDoc*>(GetDocument());
}

int CRecordEditView::RecordCount() const
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    return doc ? doc->GetRecordCount() : 0;
}

void CRecordEditView::Broadcast(int code, int index, const void* record)
{
    if (CRecordDatabaseDoc* doc = RecordDoc())
        doc->Announce(code, index, this, record);
}

// --- the form -------------------------------------------------------------------------------------

void CRecordEditView::MakeForm(int width, int height, const char* colorName)
{
    m_form = new QWidget;
    const CDialogUnits units(font());
    m_form->resize(units.X(width), units.Y(height));
    QPalette colors = m_form->palette();
    colors.setColor(QPalette::Window, ToQColor(GetNamedColor(colorName)));
    m_form->setPalette(colors);
    m_form->setAutoFillBackground(true);
}

void CRecordEditView::Place(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

QLabel* CRecordEditView::AddLabel(const QString& text, int x, int y, int width)
{
    auto* label = new QLabel(text, m_form);
    Place(label, x, y, width, 10);
    return label;
}

QPushButton* CRecordEditView::AddButton(const QString& text, int id, int x, int y, int width, int height)
{
    auto* button = new QPushButton(text, m_form);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    Place(button, x, y, width, height);
    m_buttons.push_back(button);
    return button;
}

QPushButton* CRecordEditView::Button(int id) const
{
    const QString name = QString::number(id);
    for (QPushButton* button : m_buttons) {
        if (button->objectName() == name)
            return button;
    }
    return nullptr;
}

void CRecordEditView::AddButtonRow(int y, const CButtonPlace (&places)[7], int height)
{
    const CRecordEditButtons& ids = m_kind.buttons;
    const std::pair<const char*, int> buttons[7] = {
        {"Save Changes", ids.save}, {"Undo Changes", ids.undo}, {"Edit Previous", ids.previous},
        {"Edit Next", ids.next},    {"Jump to...", ids.jump},   {"Close", ids.close},
        {"?", kHelpButtonId},
    };
    for (int k = 0; k < 7; ++k)
        AddButton(QString::fromLatin1(buttons[k].first), buttons[k].second, places[k].x, y, places[k].width, height);
    const auto onClick = [this](int id, auto handler) { connect(Button(id), &QPushButton::clicked, this, handler); };
    onClick(ids.save, [this] {
        if (CommitPendingEdit())
            SaveChanges();
    });
    DropsEditsOnClick(*Button(ids.undo));
    onClick(ids.undo, [this] { UndoChanges(); });
    onClick(ids.previous, [this] { EditPrevious(); });
    onClick(ids.next, [this] { EditNext(); });
    onClick(ids.jump, [this] { JumpTo(); });
    onClick(ids.close, [this] { Close(); });
    onClick(kHelpButtonId, [this] { ShowDialogHelp(m_kind.helpId); });
}

QSize CRecordEditView::sizeHint() const
{
    // A little room, so that no scroll bar appears for the last pixel.
    const int border = 2 * frameWidth() + 2;
    return m_form ? m_form->size() + QSize(border, border) : QScrollArea::sizeHint();
}

void CRecordEditView::SetCaption(const std::string& name)
{
    SetViewCaption(*this, name);
}

bool CRecordEditView::EditBoxFontChanged() const
{
    return CAppContext::IsActive() && !(g_prefs.edboxfont == m_editorFont);
}

void CRecordEditView::RememberEditBoxFont()
{
    if (CAppContext::IsActive())
        m_editorFont = g_prefs.edboxfont;
}

void CRecordEditView::OnInitialUpdate()
{
    KeepFieldsInCp1252(this);
    FitAndCentreFrame(*this);
    LoadRecord(-1);
}

// --- the record and its state ---------------------------------------------------------------------

void CRecordEditView::LoadRecord(int index)
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    const void* record = doc ? doc->GetRecordIdentity(index) : nullptr;
    m_nCurrent = record ? index : -1;
    m_pCurrent = record;
    m_savedElsewhere.Forget();
    if (record)
        ShowRecordAt(index);
    else
        ClearForm();
    m_bModified = false;
    UpdateButtons();
    AfterRecordMoved();
}

void CRecordEditView::SetModified(bool modified)
{
    if (m_bLoading || modified == m_bModified)
        return;
    m_bModified = modified;
    UpdateButtons();
}

FormAnswer CRecordEditView::AskSaveChanges()
{
    if (!m_bModified)
        return FormAnswer::DontSave;
    const std::string question = "Save changes to \"" + FormName() + "\" ?";
    const int answer = AppMessageBox(question, MsgYesNoCancel | MsgIconQuestion, m_kind.saveQuestionHelpId);
    if (answer != MsgResultYes)
        return answer == MsgResultNo ? FormAnswer::DontSave : FormAnswer::Cancel;
    // The field being edited is left first, as by Save Changes (Exit leaves it to this question).
    // A form that cannot be saved as it stands has said why and stays open, edits and all.
    if (!CommitPendingEdit() || !CanSaveForm())
        return FormAnswer::Cancel;
    return MayReplaceStored() ? FormAnswer::Save : FormAnswer::KeepStored;
}

std::string CRecordEditView::FormName() const
{
    return ToCp1252(NameField()->text());
}

void CRecordEditView::DropChanges()
{
    if (m_pCurrent && RelocateRecord())
        LoadRecord(m_nCurrent);
    else
        SetModified(false);
}

int CRecordEditView::AskDeleteChanges(RecordGoes goes)
{
    if (!m_bModified)
        return MsgResultYes;
    return AskDeleteChangedRecord(StoredName(), FormName(), goes, m_kind.saveQuestionHelpId);
}

void CRecordEditView::SaveToDatabase()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    // Every caller asked CanSaveForm and MayReplaceStored; asked again, they keep a form that
    // refuses, or whose user kept another window's save, from being written as if it had been taken.
    if (!doc || !m_pCurrent || m_nCurrent < 0 || m_nCurrent >= doc->GetRecordCount() || !CanSaveForm() ||
        !MayReplaceStored())
        return;
    WriteRecord(m_nCurrent);
    m_pCurrent = doc->GetRecordIdentity(m_nCurrent);
    // The title and the Window menu name the record as saved, whether or not the kind's title
    // followed the name as it was typed.
    SetCaption(CaptionFor(doc->GetRecordName(m_nCurrent)));
    Broadcast(doc->Kind().hints.changed, m_nCurrent, m_pCurrent);
    SetModified(false);
}

bool CRecordEditView::SaveChanges()
{
    if (!CanSaveForm() || !MayReplaceStored())
        return false;
    SaveToDatabase();
    return true;
}

bool CRecordEditView::AskAndSave()
{
    if (!CommitPendingEdit())
        return false;
    // The form's own step stays where it is when its user keeps what was stored meanwhile.
    const FormAnswer answer = AskSaveChanges();
    if (answer == FormAnswer::Cancel || answer == FormAnswer::KeepStored)
        return false;
    if (answer == FormAnswer::Save)
        SaveToDatabase();
    return true;
}

void CRecordEditView::UpdateButtons()
{
    const bool editable = m_bModified && m_pCurrent != nullptr;
    Button(m_kind.buttons.save)->setEnabled(editable);
    Button(m_kind.buttons.undo)->setEnabled(editable);
    QPushButton* previous = Button(m_kind.buttons.previous);
    QPushButton* next = Button(m_kind.buttons.next);
    const bool last = m_nCurrent < 0 || m_nCurrent >= RecordCount() - 1;
    const QString previousText = !m_bLimited && m_nCurrent < 1 ? QStringLiteral("Insert New") : QStringLiteral("Edit Previous");
    const QString nextText = !m_bLimited && last ? QStringLiteral("Append New") : QStringLiteral("Edit Next");
    // Only a real change of caption repaints the button.
    if (previous->text() != previousText)
        previous->setText(previousText);
    if (next->text() != nextText)
        next->setText(nextText);
    if (m_bLimited) {
        previous->setEnabled(m_nLimitedPosition > 0);
        next->setEnabled(m_nLimitedPosition >= 0 && m_nLimitedPosition < LimitedCount() - 1);
    } else {
        previous->setEnabled(CanStepWithoutLimit());
        next->setEnabled(CanStepWithoutLimit());
    }
}

// --- notices --------------------------------------------------------------------------------------

std::string CRecordEditView::StoredName() const
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    const int index = doc && m_pCurrent ? doc->FindRecordIdentity(m_pCurrent) : -1;
    return index >= 0 ? doc->GetRecordName(index) : FormName();
}

bool CRecordEditView::MayReplaceStored()
{
    return m_savedElsewhere.MayReplace({this, this}, StoredName());
}

void CRecordEditView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this || m_bClosing)
        return;
    if (!hint) {
        CView::OnUpdate(sender, hint);
        return;
    }
    const CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc) {
        OnOtherNotice(*hint);
        return;
    }
    const CRecordHintCodes& codes = doc->Kind().hints;
    const int code = hint->m_nCode;
    if (code == codes.changed) {
        const bool mine = m_pCurrent && (hint->m_extra == HintExtra(m_pCurrent) ||
                                         (hint->m_extra == 0 && hint->m_nIndex == m_nCurrent));
        if (mine) {
            if (m_savedElsewhere.MayReload({this, this}, sender, StoredName()))
                LoadRecord(doc->FindRecordIdentity(m_pCurrent));
        } else {
            UpdateButtons();
            AfterRecordMoved();
        }
    } else if (code == codes.inserted || code == codes.deleted || code == codes.reordered) {
        if (!RelocateRecord()) {
            CloseQuietly();
            return;
        }
        UpdateButtons();
        AfterRecordMoved();
    } else if (code == codes.replaced) {
        // A database read anew keeps no record of before, and its windows go. A command that
        // rewrote records in place (a merge, a conversion of several) asked the windows on them
        // first: a window whose record is still there stays, showing it as stored, or keeping its
        // edits of a record the command left alone.
        if (!m_pCurrent || !RelocateRecord()) {
            CloseQuietly();
            return;
        }
        if (m_bModified) {
            UpdateButtons();
            AfterRecordMoved();
        } else {
            LoadRecord(m_nCurrent);
        }
    } else {
        OnOtherNotice(*hint);
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CRecordEditView::OnUpdateCommand(CCmdUI& ui)
{
    return UpdateKindCommand(ui) || UpdateSharedCommand(ui);
}

bool CRecordEditView::OnCommand(unsigned id)
{
    return RunKindCommand(id) || RunSharedCommand(id);
}

bool CRecordEditView::UpdateSharedCommand(CCmdUI& ui)
{
    const CRecordEditCommands& c = m_kind.commands;
    const unsigned id = ui.m_nID;
    if (id == c.paste) {
        const CRecordDatabaseDoc* doc = RecordDoc();
        ui.Enable(doc && doc->CanPasteRecords());
    } else if (id == c.insertNew || id == c.appendNew) {
        ui.Enable(!m_bLimited && CanStepWithoutLimit());
    } else if (id == c.saveAsNew) {
        ui.Enable(m_pCurrent != nullptr && (!m_bLimited || m_kind.saveAsNewWhenLimited));
    } else if (id == c.previous || id == c.next) {
        ui.Enable(Button(id == c.previous ? m_kind.buttons.previous : m_kind.buttons.next)->isEnabled());
    } else if (id == c.limitedAccess) {
        ui.Enable(m_bLimited);
        ui.SetCheck(m_bLimited ? 1 : 0);
    } else if (id == c.print || id == c.printPreview || id == c.writeToFile || id == c.cut || id == c.copy ||
               id == c.jumpTo || id == c.closeView || id == m_kind.help || id == m_kind.contextHelp ||
               (m_kind.saveAndNext != 0 && id == m_kind.saveAndNext)) {
        ui.Enable(true);
    } else {
        return false;
    }
    return true;
}

bool CRecordEditView::RunSharedCommand(unsigned id)
{
    const CRecordEditCommands& c = m_kind.commands;
    if (id == c.print || id == c.printPreview || id == c.writeToFile)
        PrintSummary(id);
    else if (id == c.cut)
        Cut();
    else if (id == c.copy && CanSaveForm())
        Copy();
    else if (id == c.paste)
        Paste();
    else if (id == c.saveAsNew)
        SaveAsNew();
    else if (id == c.insertNew)
        InsertNew();
    else if (id == c.appendNew)
        AppendNew();
    else if (id == c.previous)
        EditPrevious();
    else if (id == c.next)
        EditNext();
    else if (id == c.jumpTo)
        JumpTo();
    else if (id == c.limitedAccess)
        LeaveLimitedAccess();
    else if (id == c.closeView)
        Close();
    else if (m_kind.saveAndNext != 0 && id == m_kind.saveAndNext)
        SaveAndNext();
    else if (id == m_kind.help || id == m_kind.contextHelp)
        ShowDialogHelp(m_kind.helpId);
    else
        return false;
    return true;
}
