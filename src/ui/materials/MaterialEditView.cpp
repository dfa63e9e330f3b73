#include "materials/MaterialEditView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/ChoiceBox.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"
#include "support/FocusWatcher.h"
#include "support/NotesEdit.h"
#include "support/NumberField.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/PlainTextEditLines.h"
#include "support/PrintSurface.h"
#include "support/TextHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

#include <algorithm>
#include <cfloat>
#include <functional>

namespace {

// Form layout in dialog units.
constexpr int kFieldX = 54;
constexpr int kFormWidth = 352;
constexpr int kFormHeight = 302;

std::string TextOf(const QLineEdit* edit)
{
    return ToCp1252(edit->text());
}

void SetLines(QPlainTextEdit* box, const CStringArrayEx& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    box->setPlainText(EditTextFromCore(text));
}

// Converts the number in edit: what its text stands for (the value shown, or the number typed
// over it) is multiplied by the factors from first on and shown as format gives it, the text
// standing for the product. A text that is no number stays as typed, for a save to refuse, and
// no longer stands for what was shown before.
void ConvertField(QLineEdit* edit, CShownNumber& shown, const std::vector<double>& factors, std::size_t first,
                  const std::function<std::string(double)>& format)
{
    double value = 0.0;
    // What the form shows is a number: a text that is none was typed.
    if (!ReadNumberText(TextOf(edit), value)) {
        shown = CShownNumber();
        return;
    }
    value = shown.Value(edit, [](double typed) { return typed; });
    for (std::size_t i = first; i < factors.size(); ++i)
        value *= factors[i];
    shown.Show(edit, format(value), value);
}

} // namespace

const CRecordEditKind kMaterialEdit = {
    {CmdMatEditPrint, CmdMatEditPrintPreview, CmdMatEditWriteToFile, CmdMatEditCut, CmdMatEditCopy, CmdMatEditPaste,
     CmdMatEditSaveAsNew, CmdMatEditInsertNew, CmdMatEditAppendNew, CmdMatEditPrevious, CmdMatEditNext,
     CmdMatEditJumpTo, CmdMatEditLimitedAccess, CmdMatEditCloseView},
    CmdMatEditSaveAndNext,
    CmdMatEditHelp,
    CmdMatEditContextHelp,
    kMaterialEditHelpId,
    kMatEditSaveQuestionHelpId,
    kMatEditSelectHelpId,
    "Select a Material",
    "med_bkg",
    "Material Summary to File...",
    {kMatEditSave, kMatEditUndo, kMatEditPrevious, kMatEditNext, kMatEditJumpTo, kMatEditClose},
};

CMaterialEditView::CMaterialEditView() : CRecordEditView(kMaterialEdit), m_work("new material")
{
    BuildForm();
    ConnectChangeSignals();
}

CMaterialEditView::~CMaterialEditView() = default;

CMaterialsDoc* CMaterialEditView::MaterialsDoc() const
{
    return dynamic_cast<CMaterialsDoc*>(GetDocument());
}

// --- form -----------------------------------------------------------------------------------------

QLineEdit* CMaterialEditView::AddLineEdit(int id, int x, int y, int width)
{
    auto* edit = new QLineEdit(m_form);
    edit->setObjectName(QString::number(id));
    Place(edit, x, y, width, 12);
    edit->installEventFilter(this);
    return edit;
}

QLabel* CMaterialEditView::AddLabel(const QString& text, int x, int y, int width, int id)
{
    auto* label = new QLabel(text, m_form);
    if (id != 0)
        label->setObjectName(QString::number(id));
    Place(label, x, y, width, 10);
    return label;
}

void CMaterialEditView::BuildForm()
{
    MakeForm(kFormWidth, kFormHeight, "med_bkg");
    BuildNameRows();
    BuildValueRows();
    BuildNotesRows();
    BuildButtonRow();
    setWidget(m_form);
}

void CMaterialEditView::BuildNameRows()
{
    AddLabel(QStringLiteral("Name :"), 8, 10, 44);
    m_name = AddLineEdit(kMatEditName, kFieldX, 8, 170);
    AddLabel(QStringLiteral("Code :"), 232, 10, 26);
    m_code = AddLineEdit(kMatEditCode, 260, 8, 60);
    AddLabel(QStringLiteral("Also called :"), 8, 26, 44);
    for (int row = 0; row < 2; ++row) {
        m_aliasEdits[static_cast<std::size_t>(row)] = AddLineEdit(kMatEditAlias1 + row, kFieldX, 24 + 14 * row, 170);
        m_aliasCodeEdits[static_cast<std::size_t>(row)] = AddLineEdit(kMatEditAliasCode1 + row, 260, 24 + 14 * row, 60);
    }
    m_aliasUp = AddButton(QStringLiteral("-"), kMatEditAliasUp, 324, 24, 14, 12);
    m_aliasDown = AddButton(QStringLiteral("+"), kMatEditAliasDown, 324, 38, 14, 12);
    connect(m_aliasUp, &QPushButton::clicked, this, &CMaterialEditView::AliasUp);
    connect(m_aliasDown, &QPushButton::clicked, this, &CMaterialEditView::AliasDown);
}

void CMaterialEditView::BuildValueRows()
{
    AddLabel(QStringLiteral("Type :"), 8, 58, 44);
    m_type = new QComboBox(m_form);
    m_type->setObjectName(QString::number(kMatEditType));
    MakeChoiceBox(m_type);
    Place(m_type, kFieldX, 56, 100, 12);
    m_available = new QCheckBox(QStringLiteral("Available"), m_form);
    m_available->setObjectName(QString::number(kMatEditAvailable));
    Place(m_available, 170, 57, 60, 10);

    AddLabel(QStringLiteral("Density :"), 8, 74, 44);
    m_density = AddLineEdit(kMatEditDensity, kFieldX, 72, 40);
    AddLabel(QStringLiteral("g per"), 98, 74, 22);
    m_densityUnit = AddLabel(QString(), 120, 74, 16, kMatEditDensityUnit);
    m_currency = AddLabel(QString(), 170, 74, 10, kMatEditCurrency);
    m_cost = AddLineEdit(kMatEditCost, 182, 72, 50);
    m_costUnit = AddLabel(QString(), 236, 74, 40, kMatEditCostUnit);

    AddLabel(QStringLiteral("Formula :"), 8, 90, 44);
    m_formula = new QPlainTextEdit(m_form);
    m_formula->setObjectName(QString::number(kMatEditFormula));
    m_formula->setTabChangesFocus(true);
    Place(m_formula, kFieldX, 88, 226, 28);
    m_formula->installEventFilter(this);
    m_formulaButton = AddButton(QStringLiteral("Edit..."), kMatEditFormulaButton, 284, 88, 40, 12);
    connect(m_formulaButton, &QPushButton::clicked, this, &CMaterialEditView::EditFormula);
    m_weightLabel = AddLabel(QStringLiteral("MW"), 284, 105, 14, kMatEditWeightLabel);
    m_weight = AddLabel(QString(), 300, 105, 48, kMatEditWeight);

    AddLabel(QStringLiteral("Map to :"), 8, 122, 44);
    m_mapTo = AddLineEdit(kMatEditMapTo, kFieldX, 120, 170);
    QPushButton* browse = AddButton(QStringLiteral("Browse"), kMatEditBrowse, 228, 119, 40, 14);
    connect(browse, &QPushButton::clicked, this, &CMaterialEditView::Browse);
    m_invalidMapping = AddLabel(QStringLiteral("Invalid Mapping!"), 272, 122, 70, kMatEditInvalidMapping);
    m_invalidMapping->hide();
    QPushButton* check = AddButton(QStringLiteral("Check Material"), kMatEditCheck, kFieldX, 137, 64);
    connect(check, &QPushButton::clicked, this, &CMaterialEditView::CheckMaterial);
}

void CMaterialEditView::BuildNotesRows()
{
    struct NotesRow {
        const char* label;
        int boxId;
        int buttonId;
        int y;
        int height;
        CNotesEdit** box;
    };
    const NotesRow rows[] = {
        {"Report :", kMatEditReportNotes, kMatEditReportButton, 158, 30, &m_reportNotes},
        {"Hazards:", kMatEditHazardNotes, kMatEditHazardButton, 192, 30, &m_hazardNotes},
        {"Notes :", kMatEditNotes, kMatEditNotesButton, 226, 50, &m_notes},
    };
    for (const NotesRow& row : rows) {
        AddLabel(QString::fromLatin1(row.label), 8, row.y + 2, 44);
        auto* box = new CNotesEdit(m_form);
        box->setObjectName(QString::number(row.boxId));
        Place(box, kFieldX, row.y, 266, row.height);
        *row.box = box;
        QPushButton* button = AddButton(QStringLiteral("..."), row.buttonId, 324, row.y, 20, 12);
        const int id = row.buttonId;
        connect(button, &QPushButton::clicked, this, [this, id] { EditNotes(id); });
    }
}

void CMaterialEditView::BuildButtonRow()
{
    AddButtonRow(282, {{8, 54}, {64, 54}, {120, 54}, {176, 54}, {232, 44}, {278, 40}, {324, 20}});
}

CNotesEdit* CMaterialEditView::NotesBox(int buttonId) const
{
    switch (buttonId) {
    case kMatEditReportButton: return m_reportNotes;
    case kMatEditHazardButton: return m_hazardNotes;
    default: return m_notes;
    }
}

void CMaterialEditView::ConnectChangeSignals()
{
    auto changed = [this] {
        if (!m_bLoading)
            SetChanged(true);
    };
    for (QLineEdit* edit : {m_code, m_cost, m_density, m_mapTo, m_aliasEdits[0], m_aliasEdits[1],
                            m_aliasCodeEdits[0], m_aliasCodeEdits[1]})
        connect(edit, &QLineEdit::textChanged, this, changed);
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(m_formula), static_cast<QPlainTextEdit*>(m_reportNotes),
                                static_cast<QPlainTextEdit*>(m_hazardNotes), static_cast<QPlainTextEdit*>(m_notes)})
        connect(box, &QPlainTextEdit::textChanged, this, changed);
    connect(m_available, &QCheckBox::clicked, this, changed);
    connect(m_type, &QComboBox::editTextChanged, this, changed);
    connect(m_type, &QComboBox::currentIndexChanged, this, changed);
    connect(m_name, &QLineEdit::textChanged, this, [this, changed](const QString& text) {
        SetCaption(ToCp1252(text));
        changed();
    });
}

void CMaterialEditView::ApplyNotesFont()
{
    const QFont notesFont = EditBoxFont(font());
    for (CNotesEdit* box : {m_reportNotes, m_hazardNotes, m_notes})
        box->setFont(notesFont);
}

void CMaterialEditView::FillTypeBox()
{
    const QString current = m_type->currentText();
    const bool wasLoading = m_bLoading;
    m_bLoading = true;
    m_type->clear();
    if (CAppContext::IsActive()) {
        for (const std::string& type : g_prefs.mattyp)
            m_type->addItem(FromCp1252(type));
    }
    m_type->setCurrentIndex(-1);
    m_type->setEditText(current);
    m_bLoading = wasLoading;
}

void CMaterialEditView::ShowUnits()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    const CMaterialArray& materials = doc->Materials();
    m_currency->setText(FromCp1252(materials.m_currencySymbol));
    m_costUnit->setText(materials.m_costUnit == CMaterialArray::kCostPerKilogram ? QStringLiteral("per kg")
                                                                                : QStringLiteral("per lb"));
    m_densityUnit->setText(materials.m_densityUnit == CMaterialArray::kDensityPerDeciliter ? QStringLiteral("dl")
                                                                                           : QStringLiteral("c"));
    m_numbersIn = {materials.m_costPlacesRight, materials.CostScalings().size(), materials.DensityScalings().size()};
}

void CMaterialEditView::FollowUnits()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    const CMaterialArray& materials = doc->Materials();
    const bool wasLoading = m_bLoading;
    // The same amounts in other units: the form is not changed by them.
    m_bLoading = true;
    if (materials.CostScalings().size() != m_numbersIn.costScalings ||
        materials.m_costPlacesRight != m_numbersIn.costPlaces)
        ConvertField(m_cost, m_shownCost, materials.CostScalings(), m_numbersIn.costScalings,
                     [this](double cost) { return CostText(cost); });
    if (materials.DensityScalings().size() != m_numbersIn.densityScalings)
        ConvertField(m_density, m_shownDensity, materials.DensityScalings(), m_numbersIn.densityScalings,
                     DensityText);
    m_bLoading = wasLoading;
    ShowUnits();
}

// --- life -----------------------------------------------------------------------------------------

void CMaterialEditView::OnInitialUpdate()
{
    ApplyNotesFont();
    FillTypeBox();
    ShowUnits();
    CRecordEditView::OnInitialUpdate();
}

void CMaterialEditView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (!m_bClosing)
        FollowUnits();
    CRecordEditView::OnUpdate(sender, hint);
}

void CMaterialEditView::OnOtherNotice(const CUpdateHint& hint)
{
    switch (hint.m_nCode) {
    case HintElementChanged:
    case HintElementsReplaced:
        UpdateWeightDisplay();
        break;
    case HintPreferencesChanged:
        FillTypeBox();
        ApplyNotesFont();
        break;
    default:
        break;
    }
}

// --- load and store -------------------------------------------------------------------------------

void CMaterialEditView::Load(const CMaterial& material)
{
    m_work = material;
    m_bLoading = true;
    m_name->setText(FromCp1252(material.m_name));
    m_code->setText(FromCp1252(material.m_code));
    m_type->setEditText(FromCp1252(material.m_type));
    ShowNumbers(material);
    m_available->setChecked(material.m_available != 0);
    m_mapTo->setText(FromCp1252(material.m_mapTo));
    m_formula->setPlainText(FromCp1252(material.m_formula));
    SetLines(m_reportNotes, material.m_anNotes);
    SetLines(m_hazardNotes, material.m_hazNotes);
    SetLines(m_notes, material.m_notes);
    m_aliases.assign(material.m_akaNames.begin(), material.m_akaNames.end());
    m_aliasCodes.assign(material.m_akaCodes.begin(), material.m_akaCodes.end());
    m_aliasCount = static_cast<int>(std::max(m_aliases.size(), m_aliasCodes.size()));
    m_aliases.resize(static_cast<std::size_t>(m_aliasCount));
    m_aliasCodes.resize(static_cast<std::size_t>(m_aliasCount));
    m_firstAlias = 0;
    ShowAliasRows();
    m_bLoading = false;
    m_reportedFormula.clear();
    SetCaption(material.m_name);
    UpdateWeightDisplay();
}

std::string CMaterialEditView::DensityText(double density)
{
    return FormatFixed(density, 1);
}

// The cost as the form shows it: the database's cost format without its leading blanks.
std::string CMaterialEditView::CostText(double cost) const
{
    std::string text = MaterialsDoc() ? MaterialsDoc()->FormatCost(cost) : FormatFixed(cost, 2);
    return TrimStringLeft(text);
}

// A typed cost as the database's file keeps it (without a database there is no file).
double CMaterialEditView::KeptCost(double cost) const
{
    const CMaterialsDoc* doc = MaterialsDoc();
    return doc ? doc->Materials().KeptCost(cost) : cost;
}

void CMaterialEditView::ShowNumbers(const CMaterial& material)
{
    m_shownDensity.Show(m_density, DensityText(material.m_density), material.m_density);
    m_shownCost.Show(m_cost, CostText(material.m_costPerLb), material.m_costPerLb);
}

void CMaterialEditView::Store(CMaterial& material)
{
    ReadAliasRowsIntoLists();
    material.m_name = TextOf(m_name);
    material.m_code = TextOf(m_code);
    material.UpdateDisplayKey();
    material.m_type = ToCp1252(m_type->currentText());
    material.m_density = m_shownDensity.Value(m_density, CMaterialArray::KeptDensity);
    material.m_costPerLb = m_shownCost.Value(m_cost, [this](double cost) { return KeptCost(cost); });
    material.m_available = m_available->isChecked() ? 1 : 0;
    material.m_mapTo = TextOf(m_mapTo);
    material.SetFormula(FormulaText());
    ReadWholeEditLines(*m_reportNotes, material.m_anNotes);
    ReadWholeEditLines(*m_hazardNotes, material.m_hazNotes);
    ReadWholeEditLines(*m_notes, material.m_notes);
    material.m_akaNames.clear();
    material.m_akaCodes.clear();
    for (std::size_t i = 0; i < m_aliases.size(); ++i) {
        if (m_aliases[i].empty() && m_aliasCodes[i].empty())
            continue;
        material.m_akaNames.push_back(m_aliases[i]);
        material.m_akaCodes.push_back(m_aliasCodes[i]);
    }
}

std::string CMaterialEditView::FormulaText() const
{
    return ToCp1252(m_formula->toPlainText());
}

void CMaterialEditView::SetFormulaText(const std::string& text)
{
    if (FormulaText() != text)
        m_formula->setPlainText(FromCp1252(text));
}

// --- positioning and saving -----------------------------------------------------------------------

void CMaterialEditView::ShowRecordAt(int index)
{
    Load(*MaterialsDoc()->Materials().GetAt(index));
}

void CMaterialEditView::WriteRecord(int index)
{
    Store(m_work);
    // The fields show what was stored, as the file will keep it.
    ShowNumbers(m_work);
    MaterialsDoc()->ReplaceMaterial(index, m_work);
}

void CMaterialEditView::SaveToDatabase()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc || !CurrentRecord())
        return;
    CRecordEditView::SaveToDatabase();
    doc->UpdateMappedMaterials(true, true);
}

bool CMaterialEditView::CanSaveForm()
{
    return CheckFormulaBeforeSave() && m_shownDensity.Check(m_density, DBL_MAX) && m_shownCost.Check(m_cost, DBL_MAX);
}

bool CMaterialEditView::SaveChanges()
{
    if (!CRecordEditView::SaveChanges())
        return false;
    ShowAliasRows();
    return true;
}

// --- commands -------------------------------------------------------------------------------------

bool CMaterialEditView::CommitPendingEdit()
{
    if (QWidget* focused = QApplication::focusWidget())
        LeaveField(focused);
    return true;
}

void CMaterialEditView::LeaveField(QObject* field)
{
    if (m_inFieldHandler || m_bClosing)
        return;
    // A message box shown by a handler takes the focus; that must not run the handler again.
    m_inFieldHandler = true;
    if (field == m_name || field == m_code)
        NameOrCodeLeft(static_cast<QLineEdit*>(field));
    else if (field == m_aliasEdits[0] || field == m_aliasEdits[1] || field == m_aliasCodeEdits[0] ||
             field == m_aliasCodeEdits[1])
        AliasLeft(static_cast<QLineEdit*>(field));
    else if (field == m_mapTo)
        MappingEntered();
    else if (field == m_formula)
        FormulaEntered();
    m_inFieldHandler = false;
}

bool CMaterialEditView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && IsFieldFocusChange(static_cast<QFocusEvent*>(event)->reason()))
        LeaveField(watched);
    return QScrollArea::eventFilter(watched, event);
}

bool CMaterialEditView::RunKindCommand(unsigned id)
{
    switch (id) {
    case CmdMatEditConvertFormula: ConvertFormula(); return true;
    case CmdMatEditNormalize: NormalizeFormula(); return true;
    case CmdMatEditAddLoi: AddLoi(); return true;
    default: return false;
    }
}

bool CMaterialEditView::UpdateKindCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdMatEditConvertFormula: ui.Enable(CanConvert()); return true;
    case CmdMatEditNormalize: ui.Enable(CanNormalize()); return true;
    case CmdMatEditAddLoi: ui.Enable(CanAddLoi()); return true;
    default: return false;
    }
}
