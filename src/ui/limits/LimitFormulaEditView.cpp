#include "limits/LimitFormulaEditView.h"

#include "framework/Cp1252.h"
#include "framework/UpdateHint.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/ChoiceBox.h"
#include "support/DialogStyle.h"
#include "support/FocusWatcher.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/PrintSurface.h"
#include "support/TextHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

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

const CRecordEditKind kLimitFormulaEdit = {
    {CmdLimEditPrint, CmdLimEditPrintPreview, CmdLimEditWriteToFile, CmdLimEditCut, CmdLimEditCopy, CmdLimEditPaste,
     CmdLimEditSaveAsNew, CmdLimEditInsertNew, CmdLimEditAppendNew, CmdLimEditPrevious, CmdLimEditNext,
     CmdLimEditJumpTo, CmdLimEditLimitedAccess, CmdLimEditCloseView},
    0,
    CmdLimEditHelp,
    CmdLimEditContextHelp,
    kLimitFormulaEditHelpId,
    kLimitSaveQuestionHelpId,
    kSelectLimitFormulaHelpId,
    "Select a Limit Formula",
    "led_bkg",
    "Limit Formula Summary to File...",
    {kLimEditSave, kLimEditUndo, kLimEditPrevious, kLimEditNext, kLimEditJump, kLimEditClose},
    true,  // a form without a formula inserts at the start and appends at the end
    false, // no Save as New in limited access
};

CLimitFormulaEditView::CLimitFormulaEditView() : CRecordEditView(kLimitFormulaEdit), m_work("new limit formula")
{
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

// --- the form -------------------------------------------------------------------------------------

void CLimitFormulaEditView::BuildForm()
{
    MakeForm(kFormWidth, kFormHeight, "led_bkg");

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
    AddButtonRow(224, {{8, 56}, {68, 56}, {128, 52}, {184, 52}, {240, 42}, {286, 36}, {326, 20}});
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
    MakeChoiceBox(m_combination);
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

    connect(m_name, &QLineEdit::textEdited, this, [this] { SetModified(true); });
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_bLoading)
            SetModified(true);
    });
    connect(m_limitsList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_bLoading)
            return;
        const QList<QListWidgetItem*> chosen = m_limitsList->selectedItems();
        const int row = chosen.isEmpty() ? -1 : m_limitsList->row(chosen.front());
        // Another limit would fill the fields: a refused bound keeps them, and its limit stays
        // chosen.
        if (row != m_nLimit && !BoundsTaken()) {
            m_bLoading = true;
            if (m_nLimit >= 0)
                m_limitsList->setCurrentRow(m_nLimit);
            else
                m_limitsList->clearSelection();
            m_bLoading = false;
            return;
        }
        SelectLimit(row);
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
    if (event->type() == QEvent::FocusOut && IsFieldFocusChange(static_cast<QFocusEvent*>(event)->reason())) {
        if (watched == m_combination->lineEdit())
            CombinationLeft();
        else if (watched == m_from || watched == m_to)
            NumberLeft(static_cast<QLineEdit*>(watched), FocusIsWithin(*m_form));
        // A refused bound keeps the focus and its text selected for the user to type over.
        if (TookFocusBack(watched))
            return true;
    }
    return QScrollArea::eventFilter(watched, event);
}

bool CLimitFormulaEditView::CommitPendingEdit()
{
    QWidget* focus = m_form->focusWidget();
    if (focus == m_combination->lineEdit())
        CombinationLeft();
    else if (focus == m_from || focus == m_to)
        return NumberLeft(static_cast<QLineEdit*>(focus), true);
    return true;
}

void CLimitFormulaEditView::ApplyNotesFont()
{
    RememberEditBoxFont();
    m_notes->setFont(EditBoxFont(m_notes->font()));
}

void CLimitFormulaEditView::OnInitialUpdate()
{
    ApplyNotesFont();
    FillCombinationBox();
    CRecordEditView::OnInitialUpdate();
}

// --- loading and saving ---------------------------------------------------------------------------

void CLimitFormulaEditView::ShowRecordAt(int index)
{
    const CLimitFormulasDoc* doc = LimitFormulasDoc();
    m_work = *doc->RecordAt(index);
    m_limits = m_work.m_limits;
    ShowFormula();
    SetCaption(m_work.m_name);
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

void CLimitFormulaEditView::WriteRecord(int index)
{
    CommitPendingEdit();
    CollectFormula(m_work);
    LimitFormulasDoc()->SetFormula(index, m_work);
}

void CLimitFormulaEditView::UpdateButtons()
{
    CRecordEditView::UpdateButtons();
    const int count = m_limits.GetCount();
    Button(kLimEditUp)->setEnabled(m_nLimit > 0);
    Button(kLimEditDown)->setEnabled(m_nLimit >= 0 && m_nLimit < count - 1);
    Button(kLimEditSort)->setEnabled(count >= 2);
}

// --- notices --------------------------------------------------------------------------------------

void CLimitFormulaEditView::OnOtherNotice(const CUpdateHint& hint)
{
    switch (hint.m_nCode) {
    case HintOxideCombinationsChanged:
        FillCombinationBox();
        break;
    case HintPreferencesChanged:
        if (EditBoxFontChanged())
            ApplyNotesFont();
        break;
    default:
        break;
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CLimitFormulaEditView::UpdateKindCommand(CCmdUI& ui)
{
    if (ui.m_nID != CmdLimEditOxideCombinations)
        return false;
    ui.Enable(true);
    return true;
}

bool CLimitFormulaEditView::RunKindCommand(unsigned id)
{
    if (id != CmdLimEditOxideCombinations)
        return false;
    EditCombinations();
    return true;
}
