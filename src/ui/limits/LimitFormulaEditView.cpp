#include "limits/LimitFormulaEditView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "limits/LimitFormulaClipboard.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/PrintSurface.h"
#include "support/TextHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kLimitFormulasKind = static_cast<int>(DbFileType::LimitFormulas);
constexpr int kFormWidth = 352;
constexpr int kFormHeight = 246;

std::vector<int> LimitTabStops()
{
    std::vector<int> units;
    for (int stop = 50; stop <= 120; stop += 10)
        units.push_back(stop);
    return units;
}

void SetNotesText(QPlainTextEdit* box, const CStringArrayEx& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    box->setPlainText(EditTextFromCore(text));
}

} // namespace

CLimitFormulaEditView::CLimitFormulaEditView() : m_work("new limit formula")
{
    setWidgetResizable(false);
    BuildForm();
    ConnectSignals();
}

CLimitFormulaEditView::~CLimitFormulaEditView() = default;

CLimitFormulasDoc* CLimitFormulaEditView::LimitFormulasDoc() const
{
    return dynamic_cast<CLimitFormulasDoc*>(GetDocument());
}

CLimitFormulaDB* CLimitFormulaEditView::Database() const
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    return doc ? &doc->Database() : nullptr;
}

int CLimitFormulaEditView::FormulaCount() const
{
    const CLimitFormulaDB* database = Database();
    return database ? database->GetCount() : 0;
}

void CLimitFormulaEditView::Broadcast(int code, int index, const void* record)
{
    COxidariumApp::BroadcastUpdate(this, LimitFormulasDoc(), kLimitFormulasKind, code, index, HintExtra(record));
}

// --- the form -------------------------------------------------------------------------------------

void CLimitFormulaEditView::Place(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

QLabel* CLimitFormulaEditView::AddLabel(const QString& text, int x, int y, int width)
{
    auto* label = new QLabel(text, m_form);
    Place(label, x, y, width, 10);
    return label;
}

QPushButton* CLimitFormulaEditView::AddButton(const QString& text, int id, int x, int y, int width, int height)
{
    auto* button = new QPushButton(text, m_form);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    Place(button, x, y, width, height);
    m_buttons.push_back(button);
    return button;
}

QPushButton* CLimitFormulaEditView::Button(int id) const
{
    for (QPushButton* button : m_buttons) {
        if (button->objectName() == QString::number(id))
            return button;
    }
    return nullptr;
}

void CLimitFormulaEditView::BuildForm()
{
    m_form = new QWidget;
    const CDialogUnits units(font());
    m_form->resize(units.X(kFormWidth), units.Y(kFormHeight));
    QPalette colors = m_form->palette();
    colors.setColor(QPalette::Window, ToQColor(GetNamedColor("led_bkg")));
    m_form->setPalette(colors);
    m_form->setAutoFillBackground(true);

    AddLabel(QStringLiteral("Name :"), 8, 10, 30);
    m_name = new QLineEdit(m_form);
    m_name->setObjectName(QString::number(kLimEditName));
    Place(m_name, 40, 8, 250, 12);
    AddLabel(QStringLiteral("Limits :"), 8, 26, 40);
    m_limitsList = new QListWidget(m_form);
    m_limitsList->setObjectName(QString::number(kLimEditLimits));
    m_limitsList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_limitsDelegate = new CTabStopDelegate(m_limitsList);
    m_limitsList->setItemDelegate(m_limitsDelegate);
    m_limitsDelegate->SetTabStops(TabStopsFromDlu(m_limitsList->font(), LimitTabStops()));
    Place(m_limitsList, 8, 36, 168, 112);
    BuildLimitControls();

    AddLabel(QStringLiteral("Notes :"), 8, 182, 30);
    m_notes = new CNotesEdit(m_form);
    m_notes->setObjectName(QString::number(kLimEditNotes));
    m_notes->setTabChangesFocus(true);
    Place(m_notes, 40, 180, 290, 36);
    AddButton(QStringLiteral("..."), kLimEditNotesButton, 332, 180, 14, 12);
    BuildButtons();
    setWidget(m_form);
}

void CLimitFormulaEditView::BuildLimitControls()
{
    AddLabel(QStringLiteral("Shift"), 8, 152, 20);
    AddButton(QStringLiteral("Up"), kLimEditUp, 8, 161, 30, 13);
    AddButton(QStringLiteral("Down"), kLimEditDown, 40, 161, 30, 13);
    AddButton(QStringLiteral("Sort"), kLimEditSort, 136, 161, 40, 13);

    auto* group = new QGroupBox(m_form);
    Place(group, 184, 30, 162, 118);
    group->lower();
    AddLabel(QStringLiteral("Oxide Combination :"), 190, 38, 100);
    m_combination = new QComboBox(m_form);
    m_combination->setObjectName(QString::number(kLimEditCombination));
    m_combination->setEditable(true);
    m_combination->setInsertPolicy(QComboBox::NoInsert);
    Place(m_combination, 190, 48, 150, 13);
    AddLabel(QStringLiteral("Range :"), 190, 68, 40);
    AddLabel(QStringLiteral("From :"), 190, 82, 24);
    m_from = new QLineEdit(m_form);
    m_from->setObjectName(QString::number(kLimEditFrom));
    Place(m_from, 216, 80, 44, 12);
    AddLabel(QStringLiteral("To :"), 268, 82, 16);
    m_to = new QLineEdit(m_form);
    m_to->setObjectName(QString::number(kLimEditTo));
    Place(m_to, 286, 80, 44, 12);
    m_byPercent = new QCheckBox(QStringLiteral("Weight %"), m_form);
    m_byPercent->setObjectName(QString::number(kLimEditByPercent));
    Place(m_byPercent, 190, 98, 60, 10);
    AddButton(QStringLiteral("Append New Limit"), kLimEditAppendLimit, 190, 126, 74, 14);
    AddButton(QStringLiteral("Delete Limit"), kLimEditDeleteLimit, 268, 126, 72, 14);
}

void CLimitFormulaEditView::BuildButtons()
{
    AddButton(QStringLiteral("Save Changes"), kLimEditSave, 8, 224, 56, 14);
    AddButton(QStringLiteral("Undo Changes"), kLimEditUndo, 68, 224, 56, 14);
    AddButton(QStringLiteral("Edit Previous"), kLimEditPrevious, 128, 224, 52, 14);
    AddButton(QStringLiteral("Edit Next"), kLimEditNext, 184, 224, 52, 14);
    AddButton(QStringLiteral("Jump to..."), kLimEditJump, 240, 224, 42, 14);
    AddButton(QStringLiteral("Close"), kLimEditClose, 286, 224, 36, 14);
    QPushButton* help = AddButton(QStringLiteral("?"), 4200, 326, 224, 20, 14);
    connect(help, &QPushButton::clicked, this, [] { ShowDialogHelp(kLimitFormulaEditHelpId); });
}

void CLimitFormulaEditView::ConnectSignals()
{
    const auto onClick = [this](int id, auto handler) {
        connect(Button(id), &QPushButton::clicked, this, handler);
    };
    onClick(kLimEditUp, [this] { MoveLimitUp(); });
    onClick(kLimEditDown, [this] { MoveLimitDown(); });
    onClick(kLimEditSort, [this] { SortLimits(); });
    onClick(kLimEditAppendLimit, [this] { AppendNewLimit(); });
    onClick(kLimEditDeleteLimit, [this] { DeleteLimit(); });
    onClick(kLimEditNotesButton, [this] { EditNotes(); });
    onClick(kLimEditSave, [this] { SaveChanges(); });
    onClick(kLimEditUndo, [this] { UndoChanges(); });
    onClick(kLimEditPrevious, [this] { EditPrevious(); });
    onClick(kLimEditNext, [this] { EditNext(); });
    onClick(kLimEditJump, [this] { JumpTo(); });
    onClick(kLimEditClose, [this] { Close(); });

    connect(m_name, &QLineEdit::textEdited, this, [this] { SetModified(true); });
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_bLoading)
            SetModified(true);
    });
    connect(m_limitsList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_bLoading)
            return;
        const QList<QListWidgetItem*> chosen = m_limitsList->selectedItems();
        SelectLimit(chosen.isEmpty() ? -1 : m_limitsList->row(chosen.front()));
    });
    connect(m_combination, &QComboBox::editTextChanged, this, [this] {
        if (!m_bLoading)
            ApplyFieldsToLimit();
    });
    for (QLineEdit* edit : {m_from, m_to}) {
        connect(edit, &QLineEdit::textEdited, this, [this] { ApplyFieldsToLimit(); });
        edit->installEventFilter(this);
    }
    connect(m_byPercent, &QCheckBox::clicked, this, [this] { ApplyFieldsToLimit(); });
    m_combination->lineEdit()->installEventFilter(this);
}

bool CLimitFormulaEditView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == m_combination->lineEdit())
            CombinationLeft();
        else if (watched == m_from || watched == m_to)
            NumberLeft(static_cast<QLineEdit*>(watched));
    }
    return QScrollArea::eventFilter(watched, event);
}

void CLimitFormulaEditView::CommitPendingEdit()
{
    QWidget* focus = m_form->focusWidget();
    if (focus == m_combination->lineEdit())
        CombinationLeft();
    else if (focus == m_from || focus == m_to)
        NumberLeft(static_cast<QLineEdit*>(focus));
}

void CLimitFormulaEditView::ApplyNotesFont()
{
    if (CAppContext::IsActive())
        m_editorFont = g_prefs.edboxfont;
    m_notes->setFont(EditBoxFont(m_notes->font()));
}

void CLimitFormulaEditView::SetCaption(const std::string& name)
{
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->setWindowTitle(FromCp1252(name));
}

QSize CLimitFormulaEditView::sizeHint() const
{
    // A little room, so that no scroll bar appears for the last pixel.
    const int border = 2 * frameWidth() + 2;
    return m_form->size() + QSize(border, border);
}

void CLimitFormulaEditView::OnInitialUpdate()
{
    if (auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame())) {
        // The frame fits the form, centred in the main window's client area.
        frame->adjustSize();
        if (QMdiArea* area = frame->mdiArea()) {
            const QPoint centre = area->viewport()->rect().center() - frame->rect().center();
            frame->move(std::max(0, centre.x()), std::max(0, centre.y()));
        }
    }
    ApplyNotesFont();
    FillCombinationBox();
    SetFormulaIndex(-1);
}

// --- loading and saving ---------------------------------------------------------------------------

void CLimitFormulaEditView::SetFormulaIndex(int index)
{
    CLimitFormulaDB* database = Database();
    if (!database || index < 0 || index >= database->GetCount()) {
        m_nFormula = -1;
        m_pFormula = nullptr;
        ClearForm();
    } else {
        m_nFormula = index;
        m_pFormula = &database->GetAt(index);
        m_work = *m_pFormula;
        m_limits = m_work.m_limits;
        ShowFormula();
        SetCaption(m_work.m_name);
    }
    SetModified(false);
    UpdateButtons();
}

void CLimitFormulaEditView::ShowFormula()
{
    m_bLoading = true;
    m_name->setText(FromCp1252(m_work.m_name));
    SetNotesText(m_notes, m_work.m_notes);
    m_nLimit = -1;
    FillLimitsList();
    m_combination->setEditText(QString());
    m_from->clear();
    m_to->clear();
    m_byPercent->setChecked(false);
    m_bLoading = false;
}

void CLimitFormulaEditView::ClearForm()
{
    m_bLoading = true;
    m_work = CLimitFormula("new limit formula");
    m_limits.RemoveAll();
    m_nLimit = -1;
    m_name->clear();
    m_notes->clear();
    m_limitsList->clear();
    m_combination->setEditText(QString());
    m_from->clear();
    m_to->clear();
    m_byPercent->setChecked(false);
    m_bLoading = false;
}

void CLimitFormulaEditView::CollectFormula(CLimitFormula& formula) const
{
    std::string name = ToCp1252(m_name->text());
    formula.m_name = TrimString(name);
    formula.m_notes.clear();
    const std::string notes = CoreTextFromEdit(*m_notes);
    if (!notes.empty())
        formula.m_notes.AddTextLines(notes, "\r\n");
    formula.m_limits.RemoveAll();
    for (int i = 0; i < m_limits.GetCount(); ++i) {
        if (!m_limits.GetAt(i).m_comboName.empty())
            formula.m_limits.Add(m_limits.GetAt(i));
    }
}

void CLimitFormulaEditView::SaveChanges()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc || !m_pFormula || m_nFormula < 0)
        return;
    CommitPendingEdit();
    CollectFormula(m_work);
    doc->SetFormula(m_nFormula, m_work);
    Broadcast(HintLimitFormulaChanged, m_nFormula, m_pFormula);
    SetModified(false);
}

int CLimitFormulaEditView::AskSaveChanges()
{
    if (!m_bModified)
        return MsgResultNo;
    const std::string question = "Save changes to \"" + ToCp1252(m_name->text()) + "\" ?";
    return AppMessageBox(question, MsgYesNoCancel | MsgIconQuestion, kLimitSaveQuestionHelpId);
}

void CLimitFormulaEditView::SetChanged(bool changed)
{
    SetModified(changed);
}

void CLimitFormulaEditView::SetModified(bool modified)
{
    m_bModified = modified;
    UpdateButtons();
}

void CLimitFormulaEditView::UpdateButtons()
{
    const bool editable = m_bModified && m_pFormula != nullptr;
    Button(kLimEditSave)->setEnabled(editable);
    Button(kLimEditUndo)->setEnabled(editable);
    QPushButton* previous = Button(kLimEditPrevious);
    QPushButton* next = Button(kLimEditNext);
    if (m_bLimited) {
        previous->setText(QStringLiteral("Edit Previous"));
        next->setText(QStringLiteral("Edit Next"));
        previous->setEnabled(m_nLimitedPosition > 0);
        next->setEnabled(m_nLimitedPosition < static_cast<int>(m_limitedIndices.size()) - 1);
    } else {
        const bool first = m_nFormula <= 0;
        const bool last = m_nFormula < 0 || m_nFormula >= FormulaCount() - 1;
        previous->setText(first ? QStringLiteral("Insert New") : QStringLiteral("Edit Previous"));
        next->setText(last ? QStringLiteral("Append New") : QStringLiteral("Edit Next"));
        previous->setEnabled(true);
        next->setEnabled(true);
    }
    const int count = m_limits.GetCount();
    Button(kLimEditUp)->setEnabled(m_nLimit > 0);
    Button(kLimEditDown)->setEnabled(m_nLimit >= 0 && m_nLimit < count - 1);
    Button(kLimEditSort)->setEnabled(count >= 2);
}

// --- notices --------------------------------------------------------------------------------------

void CLimitFormulaEditView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this || m_bClosing)
        return;
    if (!hint) {
        CView::OnUpdate(sender, hint);
        return;
    }
    if (hint->m_nKind != kLimitFormulasKind && hint->m_nCode != HintPreferencesChanged)
        return;
    switch (hint->m_nCode) {
    case HintLimitFormulaChanged:
        if (m_pFormula && (hint->m_extra == HintExtra(m_pFormula) || (hint->m_extra == 0 && hint->m_nIndex == m_nFormula)))
            SetFormulaIndex(Database()->FindFormula(m_pFormula));
        break;
    case HintLimitFormulasInserted:
    case HintLimitFormulasDeleted:
    case HintLimitFormulasReordered:
        if (!RelocateFormula())
            CloseQuietly();
        else
            UpdateButtons();
        break;
    case HintLimitFormulasReplaced:
        CloseQuietly();
        break;
    case HintOxideCombinationsChanged:
        FillCombinationBox();
        break;
    case HintPreferencesChanged:
        if (CAppContext::IsActive() && !(g_prefs.edboxfont == m_editorFont))
            ApplyNotesFont();
        break;
    default:
        break;
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CLimitFormulaEditView::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdLimEditPaste:
        ui.Enable(CAppContext::IsActive() && g_limitFormulaClipboard.GetCount() > 0);
        return true;
    case CmdLimEditSaveAsNew:
        ui.Enable(!m_bLimited && m_pFormula != nullptr);
        return true;
    case CmdLimEditInsertNew:
    case CmdLimEditAppendNew:
        ui.Enable(!m_bLimited);
        return true;
    case CmdLimEditPrevious:
    case CmdLimEditNext:
        ui.Enable(Button(ui.m_nID == CmdLimEditPrevious ? kLimEditPrevious : kLimEditNext)->isEnabled());
        return true;
    case CmdLimEditLimitedAccess:
        ui.Enable(m_bLimited);
        ui.SetCheck(m_bLimited ? 1 : 0);
        return true;
    case CmdLimEditPrint:
    case CmdLimEditPrintPreview:
    case CmdLimEditWriteToFile:
    case CmdLimEditCut:
    case CmdLimEditCopy:
    case CmdLimEditJumpTo:
    case CmdLimEditCloseView:
    case CmdLimEditOxideCombinations:
    case CmdLimEditHelp:
    case CmdLimEditContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CLimitFormulaEditView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdLimEditPrint:
    case CmdLimEditPrintPreview:
    case CmdLimEditWriteToFile: PrintSummary(id); return true;
    case CmdLimEditCut: Cut(); return true;
    case CmdLimEditCopy: Copy(); return true;
    case CmdLimEditPaste: Paste(); return true;
    case CmdLimEditSaveAsNew: SaveAsNew(); return true;
    case CmdLimEditInsertNew: InsertNew(); return true;
    case CmdLimEditAppendNew: AppendNew(); return true;
    case CmdLimEditPrevious: EditPrevious(); return true;
    case CmdLimEditNext: EditNext(); return true;
    case CmdLimEditJumpTo: JumpTo(); return true;
    case CmdLimEditLimitedAccess: LeaveLimitedAccess(); return true;
    case CmdLimEditCloseView: Close(); return true;
    case CmdLimEditOxideCombinations: EditCombinations(); return true;
    case CmdLimEditHelp:
    case CmdLimEditContextHelp: ShowDialogHelp(kLimitFormulaEditHelpId); return true;
    default: return false;
    }
}
