#include "glazes/FindGlazesDlg.h"

#include "framework/Cp1252.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeSearchCriteria.h"
#include "glazes/SetGlazeFieldDlg.h"
#include "glazes/SortGlazesDlg.h"
#include "limits/LimitFormulaDB.h"
#include "materials/MaterialsDoc.h"
#include "materials/SelectMaterialDlg.h"
#include "shell/Preferences.h"
#include "support/ChoiceBox.h"
#include "support/TextHelpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kFindHelpId = 360;
constexpr unsigned kSelectMaterialHelpId = 343;
constexpr int kRangeId = 2400;
constexpr int kFiringId = 2401;
constexpr int kFiringExactId = 2402;
constexpr int kColorId = 2403;
constexpr int kColorExactId = 2404;
constexpr int kFirstFieldId = 2405;  // field, value and Exact of each row follow in threes
constexpr int kAnyField1Id = 2414;
constexpr int kAnyField2Id = 2415;
constexpr int kMaterialId = 2416;
constexpr int kSelectId = 2417;
constexpr int kOxideId = 2418;
constexpr int kLimitFormulaId = 2419;
constexpr int kClearId = 2420;
constexpr int kFirstSearchId = 2421;
constexpr int kFirstDatabasesId = 2423;
constexpr int kFirstCombineId = 2425;
constexpr int kFirstActionId = 2429;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

struct FieldEntry {
    const char* label;
    int code;
};

constexpr FieldEntry kFields[CFindGlazesDlg::kFieldCount] = {
    {"<none>", 0},          {"All Fields", 28},       {"Name", 1},          {"Date", 4},
    {"Date (as text)", 31}, {"Glaze Type", 5},        {"Range (as text)", 30}, {"Firing Type", 7},
    {"Surface", 10},        {"Transparency", 11},     {"Color", 8},         {"Visual Texture", 9},
    {"Crystals", 12},       {"Bubbles", 13},          {"Flow", 14},         {"Flaws", 16},
    {"Durability", 15},     {"Testing", 17},          {"Image File", 18},   {"Note File", 19},
    {"By Volume", 22},      {"Variations", 20},       {"Notes", 21},        {"Source", 3},
    {"In Limits", 29},      {"Associated L.F.", 24},
};

// The criteria compare in lower case.
std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Trimmed(const QString& text)
{
    std::string bytes = ToCp1252(text);
    return TrimString(bytes);
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// A date row: "<=", "<", ">=", ">" or nothing before a date; a year alone or a year and month
// stand for the whole year or month.
void AddDateCriterion(CGlazeSearchCriteria& criteria, const std::string& value)
{
    int op = kSearchOn;
    std::size_t skip = 0;
    if (StartsWith(value, "<="))
        op = kSearchOnOrBefore, skip = 2;
    else if (StartsWith(value, "<"))
        op = kSearchBefore, skip = 1;
    else if (StartsWith(value, ">="))
        op = kSearchOnOrAfter, skip = 2;
    else if (StartsWith(value, ">"))
        op = kSearchAfter, skip = 1;
    const int date = DateSortKey(std::string_view(value).substr(skip));
    const int year = date / 10000;
    const int month = date / 100 % 100;
    const int day = date % 100;
    int end = date;
    if (month == 0)
        end = year * 10000 + 1231;
    else if (day == 0)
        end = (year * 100 + month) * 100 + 31;
    CGlazeSearchCriterion& criterion = criteria.Add(kSearchDate, op);
    criterion.m_date1 = date;
    if (end == date)
        return;
    if (op == kSearchOnOrBefore || op == kSearchAfter) {
        criterion.m_date1 = end;
    } else if (op == kSearchOn) {
        criterion.m_operator = kSearchBetween;
        criterion.m_date2 = end;
    }
}

// One field row whose field is chosen and whose value or Exact box is set.
void AddRowCriterion(CGlazeSearchCriteria& criteria, int field, const std::string& value, bool exact)
{
    if (field == kSearchByVolume) {
        const char first = value.empty() ? '\0' : value[0];
        criteria.Add(field, kSearchEquals).m_low = first == 'Y' || first == 'y' || first == 'T' || first == 't' ? 1 : 0;
    } else if (field == kSearchDate) {
        AddDateCriterion(criteria, value);
    } else {
        CGlazeSearchCriterion& criterion = criteria.Add(field, exact ? kSearchEquals : kSearchContains, Lower(value));
        // An "In Limits" row names its formula; without one it could never match.
        if (field == kSearchWithinLimits && GetCurrentLimitFormulaDB())
            criterion.m_limitFormula = GetCurrentLimitFormulaDB()->FindFormulaByName(value);
    }
}

void FillVocabulary(QComboBox& combo, const CStringArrayEx& words)
{
    const QString text = combo.currentText();
    combo.clear();
    for (const std::string& word : words)
        combo.addItem(FromCp1252(word));
    combo.setCurrentIndex(-1);
    combo.setEditText(text);
}

QComboBox* NewEditableCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    MakeChoiceBox(combo);
    return combo;
}

} // namespace

const char* CFindGlazesDlg::FieldLabel(int n)
{
    return n >= 0 && n < kFieldCount ? kFields[n].label : "";
}

int CFindGlazesDlg::FieldCode(int n)
{
    return n >= 0 && n < kFieldCount ? kFields[n].code : 0;
}

CFindGlazesDlg::CFindGlazesDlg(QWidget* parent)
    : CStyledDialog(parent, kFindHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Find Glazes"));
    ResizeDlu(356, 214);
    CreateCriteriaControls();
    CreateOptionControls();
    m_searchButton = AddButton(QStringLiteral("Search"), kIdOk, 8, 192, 50, 14);
    m_clearButton = AddButton(QStringLiteral("Clear"), kClearId, 66, 192, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 272, 192, 50, 14);
    AddHelpButton(328, 192, 20, 14);
    connect(m_searchButton, &QPushButton::clicked, this, &CFindGlazesDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CFindGlazesDlg::reject);
    connect(m_clearButton, &QPushButton::clicked, this, &CFindGlazesDlg::Clear);
    connect(m_selectButton, &QPushButton::clicked, this, &CFindGlazesDlg::SelectMaterial);
    connect(m_material, &QLineEdit::editingFinished, this, &CFindGlazesDlg::NormalizeMaterial);
    setFixedSize(size());
}

void CFindGlazesDlg::CreateCriteriaControls()
{
    const auto label = [this](const char* text, int x, int y, int width) {
        PlaceDlu(new QLabel(QString::fromLatin1(text), this), x, y, width, 10);
    };
    const auto exactBox = [this](int id, int y) {
        auto* check = new QCheckBox(QStringLiteral("Exact"), this);
        SetControlId(check, id);
        PlaceDlu(check, 196, y + 1, 36, 10);
        return check;
    };
    label("Range :", 8, 10, 50);
    m_range = NewEditableCombo(this);
    SetControlId(m_range, kRangeId);
    PlaceDlu(m_range, 62, 8, 90, 12);
    label("Firing Type :", 8, 26, 50);
    m_firing = NewEditableCombo(this);
    SetControlId(m_firing, kFiringId);
    PlaceDlu(m_firing, 62, 24, 130, 12);
    m_firingExact = exactBox(kFiringExactId, 24);
    label("Color :", 8, 42, 50);
    m_color = NewEditableCombo(this);
    SetControlId(m_color, kColorId);
    PlaceDlu(m_color, 62, 40, 130, 12);
    m_colorExact = exactBox(kColorExactId, 40);

    label("Field :", 8, 58, 50);
    label("Value :", 92, 58, 50);
    for (int row = 0; row < kRows; ++row) {
        const int y = 68 + row * 14;
        const auto index = static_cast<std::size_t>(row);
        m_fields[index] = new QComboBox(this);
        SetControlId(m_fields[index], kFirstFieldId + row * 3);
        PlaceDlu(m_fields[index], 8, y, 80, 12);
        m_fields[index]->setMaxVisibleItems(kFieldCount);
        m_values[index] = NewEditableCombo(this);
        SetControlId(m_values[index], kFirstFieldId + row * 3 + 1);
        PlaceDlu(m_values[index], 92, y, 100, 12);
        m_exacts[index] = exactBox(kFirstFieldId + row * 3 + 2, y);
        connect(m_fields[index], &QComboBox::activated, this, [this, row] { FillValueList(row); });
    }

    label("Any field :", 8, 114, 40);
    label("contains :", 52, 114, 40);
    m_any1 = new QLineEdit(this);
    SetControlId(m_any1, kAnyField1Id);
    PlaceDlu(m_any1, 92, 112, 100, 12);
    label("or :", 74, 128, 16);
    m_any2 = new QLineEdit(this);
    SetControlId(m_any2, kAnyField2Id);
    PlaceDlu(m_any2, 92, 126, 100, 12);
    label("Contains material :", 8, 144, 80);
    m_material = new QLineEdit(this);
    SetControlId(m_material, kMaterialId);
    PlaceDlu(m_material, 92, 142, 100, 12);
    m_selectButton = AddButton(QStringLiteral("Select"), kSelectId, 196, 141, 36, 14);
    label("Contains oxide :", 8, 160, 80);
    m_oxides = new QComboBox(this);
    SetControlId(m_oxides, kOxideId);
    PlaceDlu(m_oxides, 92, 158, 60, 12);
    m_oxides->setMaxVisibleItems(20);
    label("Limit formula :", 8, 176, 80);
    m_limitFormulas = NewEditableCombo(this);
    SetControlId(m_limitFormulas, kLimitFormulaId);
    PlaceDlu(m_limitFormulas, 92, 174, 140, 12);
}

QButtonGroup* CFindGlazesDlg::AddRadioGroup(const char* title, std::initializer_list<const char*> labels,
                                            int firstId, int x, int y)
{
    PlaceDlu(new QLabel(QString::fromLatin1(title), this), x, y, 90, 10);
    auto* group = new QButtonGroup(this);
    int id = 0;
    for (const char* text : labels) {
        auto* button = new QRadioButton(QString::fromLatin1(text), this);
        SetControlId(button, firstId + id);
        PlaceDlu(button, x + 6, y + 11 + id * 10, 108, 10);
        group->addButton(button, id++);
    }
    return group;
}

void CFindGlazesDlg::CreateOptionControls()
{
    m_searchGroup = AddRadioGroup("Search :", {"Selected Glazes", "All Glazes"}, kFirstSearchId, 240, 6);
    m_databasesGroup = AddRadioGroup("in :", {"Current Database", "All Databases"}, kFirstDatabasesId, 240, 40);
    m_combineGroup = AddRadioGroup("Match glazes :",
                                   {"meeting all criteria", "NOT meeting all criteria", "meeting ANY criteria",
                                    "NOT meeting ANY criteria"},
                                   kFirstCombineId, 240, 74);
    m_actionGroup = AddRadioGroup("Results :",
                                  {"Select", "Add to selection", "Copy to new database", "Move to new database"},
                                  kFirstActionId, 240, 128);
}

void CFindGlazesDlg::LoadRemembered()
{
    rangeText = g_prefs.m_strFindRange;
    firingText = g_prefs.m_strFindFiringType;
    firingExact = g_prefs.m_nFindFiringTypeExact;
    colorText = g_prefs.m_strFindColor;
    colorExact = g_prefs.m_nFindColorExact;
    rowField = g_prefs.m_nFindField;
    rowValue = g_prefs.m_strFindValue;
    rowExact = g_prefs.m_nFindExact;
    anyField1 = g_prefs.m_strFindAnyField1;
    anyField2 = g_prefs.m_strFindAnyField2;
    material = g_prefs.m_strFindMaterial;
    oxide = g_prefs.m_nFindOxide;
    limitFormula = g_prefs.m_strFindLimitFormula;
    allGlazes = g_prefs.m_nFindAllGlazes;
    allDatabases = g_prefs.m_nFindAllDatabases;
    combineMode = g_prefs.m_nFindCombineMode;
    action = g_prefs.m_nFindAction;
}

void CFindGlazesDlg::Remember() const
{
    g_prefs.m_strFindRange = rangeText;
    g_prefs.m_strFindFiringType = firingText;
    g_prefs.m_nFindFiringTypeExact = firingExact;
    g_prefs.m_strFindColor = colorText;
    g_prefs.m_nFindColorExact = colorExact;
    g_prefs.m_nFindField = rowField;
    g_prefs.m_strFindValue = rowValue;
    g_prefs.m_nFindExact = rowExact;
    g_prefs.m_strFindAnyField1 = anyField1;
    g_prefs.m_strFindAnyField2 = anyField2;
    g_prefs.m_strFindMaterial = material;
    g_prefs.m_nFindOxide = oxide;
    g_prefs.m_strFindLimitFormula = limitFormula;
    g_prefs.m_nFindAllGlazes = allGlazes;
    g_prefs.m_nFindAllDatabases = allDatabases;
    g_prefs.m_nFindCombineMode = combineMode;
    g_prefs.m_nFindAction = action;
}

void CFindGlazesDlg::OnInitDialog()
{
    FillLists();
    LoadControls();
}

void CFindGlazesDlg::FillLists()
{
    FillVocabulary(*m_range, g_prefs.glzrng);
    FillVocabulary(*m_firing, g_prefs.glzftyp);
    FillVocabulary(*m_color, g_prefs.glzcol);
    for (QComboBox* fields : m_fields) {
        for (const FieldEntry& entry : kFields)
            fields->addItem(QString::fromLatin1(entry.label), entry.code);
    }
    FillGlazeOxideList(*m_oxides, true, -1);
    FillGlazeFieldValueList(*m_limitFormulas, kGlazeFieldLimitFormula);
}

void CFindGlazesDlg::FillValueList(int row)
{
    QComboBox* fields = FieldCombo(row);
    FillGlazeFieldValueList(*ValueCombo(row), fields->currentIndex() >= 0 ? fields->currentData().toInt() : 0);
}

void CFindGlazesDlg::LoadControls()
{
    m_range->setEditText(FromCp1252(rangeText));
    m_firing->setEditText(FromCp1252(firingText));
    m_firingExact->setChecked(firingExact != 0);
    m_color->setEditText(FromCp1252(colorText));
    m_colorExact->setChecked(colorExact != 0);
    for (int row = 0; row < kRows; ++row) {
        const auto index = static_cast<std::size_t>(row);
        const int position = m_fields[index]->findData(rowField[index]);
        m_fields[index]->setCurrentIndex(position < 0 ? 0 : position);
        FillValueList(row);
        m_values[index]->setEditText(FromCp1252(rowValue[index]));
        m_exacts[index]->setChecked(rowExact[index] != 0);
    }
    m_any1->setText(FromCp1252(anyField1));
    m_any2->setText(FromCp1252(anyField2));
    m_material->setText(FromCp1252(material));
    const int oxidePosition = oxide == kNoOxide ? 0 : m_oxides->findData(oxide);
    m_oxides->setCurrentIndex(oxidePosition < 0 ? 0 : oxidePosition);
    m_limitFormulas->setEditText(FromCp1252(limitFormula));
    const auto check = [](QButtonGroup* group, int id) {
        if (QAbstractButton* button = group->button(id))
            button->setChecked(true);
    };
    check(m_searchGroup, allGlazes);
    check(m_databasesGroup, allDatabases);
    check(m_combineGroup, combineMode);
    check(m_actionGroup, action);
}

void CFindGlazesDlg::ReadControls()
{
    rangeText = Trimmed(m_range->currentText());
    firingText = Trimmed(m_firing->currentText());
    firingExact = m_firingExact->isChecked() ? 1 : 0;
    colorText = Trimmed(m_color->currentText());
    colorExact = m_colorExact->isChecked() ? 1 : 0;
    for (std::size_t row = 0; row < kRows; ++row) {
        rowField[row] = m_fields[row]->currentIndex() >= 0 ? m_fields[row]->currentData().toInt() : 0;
        rowValue[row] = Trimmed(m_values[row]->currentText());
        rowExact[row] = m_exacts[row]->isChecked() ? 1 : 0;
    }
    anyField1 = Trimmed(m_any1->text());
    anyField2 = Trimmed(m_any2->text());
    material = Trimmed(m_material->text());
    oxide = m_oxides->currentIndex() >= 0 ? m_oxides->currentData().toInt() : kNoOxide;
    limitFormula = Trimmed(m_limitFormulas->currentText());
    allGlazes = std::max(0, m_searchGroup->checkedId());
    allDatabases = std::max(0, m_databasesGroup->checkedId());
    combineMode = std::max(0, m_combineGroup->checkedId());
    action = std::max(0, m_actionGroup->checkedId());
}

void CFindGlazesDlg::BuildCriteria(MatchCriteria& out) const
{
    out.m_allGlazes = allGlazes;
    out.m_allDatabases = allDatabases;
    out.m_action = action;
    CGlazeSearchCriteria& criteria = out.m_criteria;
    criteria.m_combineMode = combineMode;
    CGlaze scratch("new glaze");
    scratch.m_range = rangeText;
    scratch.ParseRange();
    if (scratch.m_lowCone != 0) {
        CGlazeSearchCriterion& range = criteria.Add(kSearchConeRange, 4);
        range.m_low = scratch.m_lowCone;
        range.m_high = scratch.m_highCone;
    }
    if (!firingText.empty() || firingExact)
        criteria.Add(kSearchFiretype, firingExact ? kSearchEquals : kSearchContains, Lower(firingText));
    if (!colorText.empty() || colorExact)
        criteria.Add(kSearchColor, colorExact ? kSearchEquals : kSearchContains, Lower(colorText));
    for (std::size_t row = 0; row < kRows; ++row) {
        if (rowField[row] != 0 && (!rowValue[row].empty() || rowExact[row]))
            AddRowCriterion(criteria, rowField[row], rowValue[row], rowExact[row] != 0);
    }
    for (const std::string* text : {&anyField1, &anyField2}) {
        if (!text->empty())
            criteria.Add(kSearchAnyField, kSearchContains, Lower(*text));
    }
    if (!material.empty()) {
        std::string name = material;
        criteria.Add(kSearchMaterial, kSearchEquals, Lower(StripQuotesString(name)));
    }
    if (oxide >= 0 && oxide < 104)
        criteria.Add(kSearchOxide, kSearchContains).m_element = oxide;
    if (!limitFormula.empty()) {
        const CLimitFormulaDB* database = GetCurrentLimitFormulaDB();
        criteria.Add(kSearchWithinLimits, kSearchContains).m_limitFormula =
            database ? database->FindFormulaByName(limitFormula) : nullptr;
    }
}

void CFindGlazesDlg::Clear()
{
    InitDialog();
    for (QComboBox* combo : {m_range, m_firing, m_color, m_limitFormulas})
        combo->setEditText(QString());
    for (QCheckBox* check : {m_firingExact, m_colorExact})
        check->setChecked(false);
    for (int row = 0; row < kRows; ++row) {
        FieldCombo(row)->setCurrentIndex(0);
        FillValueList(row);
        ValueCombo(row)->setEditText(QString());
        ExactCheck(row)->setChecked(false);
    }
    for (QLineEdit* edit : {m_any1, m_any2, m_material})
        edit->clear();
    m_oxides->setCurrentIndex(0);
}

void CFindGlazesDlg::NormalizeMaterial()
{
    std::string text = Trimmed(m_material->text());
    if (!text.empty() && text[0] != '"' && g_pMaterialsDoc) {
        CMaterialArray& materials = g_pMaterialsDoc->Materials();
        if (!materials.FindMaterial(text, true)) {
            int status = 0;
            materials.FindByPrefix(text, true, &status);
        }
    }
    m_material->setText(FromCp1252(text));
}

void CFindGlazesDlg::SelectMaterial()
{
    CSelectMaterialDlg picker(this, kSelectMaterialHelpId);
    picker.backgroundColor = GetNamedColor("med_bkg");
    if (picker.exec() != QDialog::Accepted || !g_pMaterialsDoc)
        return;
    if (const CMaterial* chosen = g_pMaterialsDoc->Materials().GetAt(picker.selectedRow))
        m_material->setText(FromCp1252(chosen->m_name));
}

void CFindGlazesDlg::accept()
{
    InitDialog();
    ReadControls();
    if (request)
        BuildCriteria(*request);
    CStyledDialog::accept();
}
