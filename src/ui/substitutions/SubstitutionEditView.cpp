#include "substitutions/SubstitutionEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionLines.h"
#include "substitutions/SubstitutionList.h"
#include "support/AmountLines.h"
#include "support/DialogStyle.h"
#include "support/FocusWatcher.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/TabEdit.h"
#include "support/TextHelpers.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kFormWidth = 384;
constexpr int kFormHeight = 216;

const std::vector<int> kSetTabStops = {70, 80, 90, 100};
const std::vector<int> kMaterialTabStops = {35, 45, 55, 65};

} // namespace

const CRecordEditKind kSubstitutionEdit = {
    {CmdSubEditPrint, CmdSubEditPrintPreview, CmdSubEditWriteToFile, CmdSubEditCut, CmdSubEditCopy, CmdSubEditPaste,
     CmdSubEditSaveAsNew, CmdSubEditInsertNew, CmdSubEditAppendNew, CmdSubEditPrevious, CmdSubEditNext,
     CmdSubEditJumpTo, CmdSubEditLimitedAccess, CmdSubEditCloseView},
    CmdSubEditSaveAndNext,
    CmdSubEditHelp,
    CmdSubEditContextHelp,
    kSubstitutionEditHelpId,
    kSubstitutionSaveQuestionHelpId,
    kSelectSubstitutionHelpId,
    "Select a Substitution",
    "sed_bkg",
    "Substitution Summary to File...",
    {kSubEditSave, kSubEditUndo, kSubEditPrevious, kSubEditNext, kSubEditJump, kSubEditClose},
};

CSubstitutionEditView::CSubstitutionEditView() : CRecordEditView(kSubstitutionEdit), m_work(kNewSubstitutionName)
{
    BuildForm();
    ConnectSignals();
}

CSubstitutionEditView::~CSubstitutionEditView() = default;

CSubstitutionsDoc* CSubstitutionEditView::SubstitutionsDoc() const
{
    return dynamic_cast<CSubstitutionsDoc*>(GetDocument());
}

// --- the form -------------------------------------------------------------------------------------

CTabEdit* CSubstitutionEditView::AddSetBox(int id, int x)
{
    auto* box = new CTabEdit(m_form);
    box->setObjectName(QString::number(id));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabStopDistance(TabStopsFromDlu(box->font(), kSetTabStops).front());
    box->SetPartner(this);
    box->installEventFilter(this);
    Place(box, x, 35, 130, 80);
    return box;
}

void CSubstitutionEditView::BuildForm()
{
    MakeForm(kFormWidth, kFormHeight, "sed_bkg");

    AddLabel(QStringLiteral("Name :"), 7, 9, 30);
    m_name = new QLineEdit(m_form);
    m_name->setObjectName(QString::number(kSubEditName));
    Place(m_name, 40, 7, 228, 12);
    AddLabel(QStringLiteral("Material(s) :"), 7, 25, 80);
    m_set1 = AddSetBox(kSubEditSet1, 7);
    AddLabel(QStringLiteral("Substitution :"), 142, 25, 80);
    m_set2 = AddSetBox(kSubEditSet2, 142);

    m_materials = new QListWidget(m_form);
    m_materials->setObjectName(QString::number(kSubEditMaterials));
    m_materials->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* delegate = new CTabStopDelegate(m_materials);
    delegate->SetTabStops(TabStopsFromDlu(m_materials->font(), kMaterialTabStops));
    m_materials->setItemDelegate(delegate);
    QPalette listColors = m_materials->palette();
    listColors.setColor(QPalette::Base, ToQColor(GetNamedColor("mat_list")));
    m_materials->setPalette(listColors);
    Place(m_materials, 280, 7, 97, 180);

    AddButton(QStringLiteral("Exchange"), kSubEditExchange, 7, 120, 50, 14);
    AddButton(QStringLiteral("Normalize"), kSubEditNormalize, 61, 120, 50, 14);
    AddButton(QStringLiteral("Check Materials"), kSubEditCheck, 115, 120, 68, 14);
    AddButton(QStringLiteral("Batch Calculation"), kSubEditBatchCalc, 187, 120, 85, 14);
    AddLabel(QStringLiteral("Notes :"), 7, 140, 30);
    m_notes = new CNotesEdit(m_form);
    m_notes->setObjectName(QString::number(kSubEditNotes));
    m_notes->setTabChangesFocus(true);
    Place(m_notes, 7, 150, 265, 37);
    AddButtonRow(195, {{7, 54}, {64, 54}, {121, 52}, {176, 52}, {231, 44}, {280, 44}, {357, 20}});
    setWidget(m_form);
}

void CSubstitutionEditView::ConnectSignals()
{
    const auto onClick = [this](int id, auto handler) {
        connect(Button(id), &QPushButton::clicked, this, handler);
    };
    onClick(kSubEditExchange, [this] { Exchange(); });
    onClick(kSubEditNormalize, [this] { Normalize(); });
    onClick(kSubEditCheck, [this] { CheckMaterials(); });
    onClick(kSubEditBatchCalc, [this] { BatchCalculation(); });

    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        SetCaption(ToCp1252(text));
        SetModified(true);
    });
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_bLoading)
            SetModified(true);
    });
    for (CTabEdit* box : {m_set1, m_set2}) {
        connect(box, &QPlainTextEdit::textChanged, this, [this, box] {
            if (m_bLoading)
                return;
            SetModified(true);
            CompleteEndedLine(box);
        });
        connect(box, &CTabEdit::tabToPartner, this, [this, box] { CompleteName(box); });
    }
    connect(m_materials, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { AddMaterial(m_materials->row(item)); });
    connect(m_materials, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { AddMaterial(m_materials->row(item)); });
}

bool CSubstitutionEditView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == m_set1 || watched == m_set2) &&
        IsFieldFocusChange(static_cast<QFocusEvent*>(event)->reason())) {
        SetBoxLeft(static_cast<QPlainTextEdit*>(watched), FocusIsWithin(*m_form));
        if (TookFocusBack(watched))
            return true;
    }
    return QScrollArea::eventFilter(watched, event);
}

bool CSubstitutionEditView::CommitPendingEdit()
{
    QWidget* focus = m_form->focusWidget();
    return (focus != m_set1 && focus != m_set2) || SetBoxLeft(static_cast<QPlainTextEdit*>(focus), true);
}

void CSubstitutionEditView::ApplyNotesFont()
{
    RememberEditBoxFont();
    m_notes->setFont(EditBoxFont(m_notes->font()));
}

void CSubstitutionEditView::OnInitialUpdate()
{
    FillMaterialsList();
    CRecordEditView::OnInitialUpdate();
    ApplyNotesFont();
}

// --- lines ----------------------------------------------------------------------------------------

CStringArrayEx CSubstitutionEditView::BoxLines(QPlainTextEdit* box, bool skipEmpty)
{
    CStringArrayEx lines;
    ReadWholeEditLines(*box, lines);
    if (skipEmpty)
        lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    return lines;
}

void CSubstitutionEditView::SetBoxLines(QPlainTextEdit* box, const CStringArrayEx& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    const bool loading = m_bLoading;
    m_bLoading = true;
    box->setPlainText(EditTextFromCore(text));
    m_bLoading = loading;
}

CRefusedLine CSubstitutionEditView::ReadSets(std::array<CIngredientList, 2>& sets) const
{
    const CRefusedLine refused = ReadAmountLines(*m_set1, sets[0]);
    const CRefusedLine refusedInSet2 = ReadAmountLines(*m_set2, sets[1]);
    return refused ? refused : refusedInSet2;
}

bool CSubstitutionEditView::TakeSets(std::array<CIngredientList, 2>& sets)
{
    const CRefusedLine refused = ReadSets(sets);
    return !refused || RefuseAmountLine(refused, m_refusals);
}

bool CSubstitutionEditView::CanSaveForm()
{
    std::array<CIngredientList, 2> sets;
    return TakeSets(sets);
}

void CSubstitutionEditView::FormatSetLines(CStringArrayEx& lines, const CIngredientList& list)
{
    const bool prefs = CAppContext::IsActive();
    ::FormatSetLines(lines, list, prefs ? g_prefs.decrecipeinput : 3, prefs ? g_prefs.tzsrecipeinput : -1);
}

// --- loading and saving ---------------------------------------------------------------------------

void CSubstitutionEditView::ShowRecordAt(int index)
{
    ShowRecord(*SubstitutionsDoc()->RecordAt(index));
}

void CSubstitutionEditView::ShowRecord(const CSubstitution& record)
{
    if (&record != &m_work)
        m_work = record;
    m_bLoading = true;
    m_name->setText(FromCp1252(m_work.m_name));
    CStringArrayEx lines;
    FormatSetLines(lines, m_work.m_set1);
    SetBoxLines(m_set1, lines);
    FormatSetLines(lines, m_work.m_set2);
    SetBoxLines(m_set2, lines);
    std::string notes;
    for (std::size_t i = 0; i < m_work.m_notes.size(); ++i)
        notes += (i ? "\r\n" : "") + m_work.m_notes[i];
    m_notes->setPlainText(EditTextFromCore(notes));
    m_bLoading = false;
    SetCaption(m_work.m_name);
    m_nLastSet = 0;
}

CRefusedLine CSubstitutionEditView::GatherRecord(CSubstitution& record)
{
    std::string name = ToCp1252(m_name->text());
    record.m_name = TrimString(name);
    std::array<CIngredientList, 2> sets;
    const CRefusedLine refused = ReadSets(sets);
    record.m_set1 = std::move(sets[0]);
    record.m_set2 = std::move(sets[1]);
    record.m_notes = BoxLines(m_notes, false);
    return refused;
}

// The base asked CanSaveForm before: a form that holds a refused line writes nothing.
void CSubstitutionEditView::WriteRecord(int index)
{
    CSubstitution record = m_work;
    if (GatherRecord(record))
        return;
    m_work = std::move(record);
    SubstitutionsDoc()->SetRecord(index, m_work);
}

bool CSubstitutionEditView::SaveChanges()
{
    if (!CRecordEditView::SaveChanges())
        return false;
    ShowRecord(m_work);
    return true;
}

// --- notices --------------------------------------------------------------------------------------

void CSubstitutionEditView::OnOtherNotice(const CUpdateHint& hint)
{
    switch (hint.m_nCode) {
    case HintMaterialChanged:
    case HintMaterialsInserted:
    case HintMaterialsDeleted:
    case HintMaterialsReordered:
    case HintMaterialsReplaced:
        FillMaterialsList();
        break;
    case HintPreferencesChanged:
        if (EditBoxFontChanged())
            ApplyNotesFont();
        break;
    default:
        update();
        break;
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CSubstitutionEditView::UpdateKindCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdSubEditExchange:
    case CmdSubEditNormalize:
    case CmdSubEditCheckMaterials:
    case CmdSubEditBatchCalc:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CSubstitutionEditView::RunKindCommand(unsigned id)
{
    switch (id) {
    case CmdSubEditExchange: Exchange(); return true;
    case CmdSubEditNormalize: Normalize(); return true;
    case CmdSubEditCheckMaterials: CheckMaterials(); return true;
    case CmdSubEditBatchCalc: BatchCalculation(); return true;
    default: return false;
    }
}
