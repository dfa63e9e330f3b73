#include "glazes/SetGlazeFieldDlg.h"

#include "framework/Cp1252.h"
#include "glazes/Glaze.h"
#include "glazes/RecipeEntry.h"
#include "limits/LimitFormulaDB.h"
#include "shell/Preferences.h"
#include "support/ChoiceBox.h"
#include "support/NumberField.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kSetFieldHelpId = 362;
constexpr int kSelectedId = 2540;
constexpr int kAllId = 2541;
constexpr int kFieldComboId = 2542;
constexpr int kValueComboId = 2543;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
// The field of the Find dialog's "In Limits" rows, which offers the limit formulas too.
constexpr int kInLimitsField = 29;

struct FieldEntry {
    const char* label;
    int field;
};

constexpr FieldEntry kFields[CSetGlazeFieldDlg::kFieldCount] = {
    {"Name", 1},           {"Date", 4},           {"Glaze Type", 5},
    {"Range", 6},          {"Firing Type", 7},    {"Surface", 10},
    {"Transparency", 11},  {"Color", 8},          {"Visual Texture", 9},
    {"Crystals", 12},      {"Bubbles", 13},       {"Flow", 14},
    {"Flaws", 16},         {"Durability", 15},    {"Testing", 17},
    {"Image File", 18},    {"Note File", 19},     {"Working Batch Size", 23},
    {"By Volume", 22},     {"Variations (appended)", 20}, {"Notes (appended)", 21},
    {"Source", 3},         {"Limit Formula", 24},
};

// The working preferences' vocabulary of a descriptive field, or null.
const CStringArrayEx* Vocabulary(int field)
{
    switch (field) {
    case kGlazeFieldType: return &g_prefs.glztyp;
    case kGlazeFieldRange: return &g_prefs.glzrng;
    case kGlazeFieldFiretype: return &g_prefs.glzftyp;
    case kGlazeFieldColor: return &g_prefs.glzcol;
    case kGlazeFieldVisTexture: return &g_prefs.glzvtex;
    case kGlazeFieldQuality: return &g_prefs.glzqual;
    case kGlazeFieldTransparency: return &g_prefs.glzxpar;
    case kGlazeFieldCrystals: return &g_prefs.glzxtal;
    case kGlazeFieldBubbles: return &g_prefs.glzbub;
    case kGlazeFieldFlow: return &g_prefs.glzflow;
    case kGlazeFieldDurability: return &g_prefs.glzdur;
    case kGlazeFieldFlaws: return &g_prefs.glzflaw;
    case kGlazeFieldTested: return &g_prefs.glztest;
    default: return nullptr;
    }
}

} // namespace

void FillGlazeFieldValueList(QComboBox& combo, int field)
{
    const QString text = combo.currentText();
    combo.clear();
    if (const CStringArrayEx* words = Vocabulary(field)) {
        for (const std::string& word : *words)
            combo.addItem(FromCp1252(word));
    } else if (field == kGlazeFieldByVolume) {
        combo.addItems({QStringLiteral("No"), QStringLiteral("Yes")});
    } else if (field == kGlazeFieldBatchSize) {
        combo.addItems({QStringLiteral("100"), QStringLiteral("500"), QStringLiteral("1000"), QStringLiteral("5000"),
                        QStringLiteral("10000")});
    } else if (field == kGlazeFieldLimitFormula || field == kInLimitsField) {
        if (const CLimitFormulaDB* database = GetCurrentLimitFormulaDB()) {
            for (int n = 0; n < database->GetCount(); ++n)
                combo.addItem(FromCp1252(database->GetAt(n).m_name));
        }
    }
    combo.setCurrentIndex(-1);
    combo.setEditText(text);
}

const char* CSetGlazeFieldDlg::FieldLabel(int n)
{
    return n >= 0 && n < kFieldCount ? kFields[n].label : "";
}

int CSetGlazeFieldDlg::FieldNumber(int n)
{
    return n >= 0 && n < kFieldCount ? kFields[n].field : -1;
}

CSetGlazeFieldDlg::CSetGlazeFieldDlg(QWidget* parent)
    : CStyledDialog(parent, kSetFieldHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Set Field"));
    ResizeDlu(200, 110);
    auto* scopeLabel = new QLabel(QStringLiteral("Set this field in :"), this);
    PlaceDlu(scopeLabel, 8, 6, 120, 10);
    m_scopeGroup = new QButtonGroup(this);
    auto* selected = new QRadioButton(QStringLiteral("Currently selected glazes"), this);
    auto* all = new QRadioButton(QStringLiteral("All glazes in the current database"), this);
    SetControlId(selected, kSelectedId);
    SetControlId(all, kAllId);
    PlaceDlu(selected, 14, 18, 170, 10);
    PlaceDlu(all, 14, 30, 170, 10);
    m_scopeGroup->addButton(selected, 0);
    m_scopeGroup->addButton(all, 1);

    auto* fieldLabel = new QLabel(QStringLiteral("Field :"), this);
    PlaceDlu(fieldLabel, 8, 50, 30, 10);
    m_fields = new QComboBox(this);
    SetControlId(m_fields, kFieldComboId);
    PlaceDlu(m_fields, 42, 48, 110, 12);
    m_fields->setMaxVisibleItems(kFieldCount);
    auto* valueLabel = new QLabel(QStringLiteral("Value :"), this);
    PlaceDlu(valueLabel, 8, 68, 30, 10);
    m_values = new QComboBox(this);
    MakeChoiceBox(m_values);
    SetControlId(m_values, kValueComboId);
    PlaceDlu(m_values, 42, 66, 150, 12);

    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 88, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 116, 88, 50, 14);
    AddHelpButton(172, 88, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CSetGlazeFieldDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CSetGlazeFieldDlg::reject);
    setFixedSize(size());
}

void CSetGlazeFieldDlg::OnInitDialog()
{
    if (QAbstractButton* button = m_scopeGroup->button(scope))
        button->setChecked(true);
    int current = -1;
    for (int n = 0; n < kFieldCount; ++n) {
        m_fields->addItem(QString::fromLatin1(kFields[n].label), kFields[n].field);
        if (kFields[n].field == field)
            current = n;
    }
    m_fields->setCurrentIndex(current);
    FillValues(field);
    m_values->setEditText(FromCp1252(value));
    // Connected after loading, so that the remembered value survives the first field choice.
    connect(m_fields, &QComboBox::activated, this, &CSetGlazeFieldDlg::OnFieldChosen);
}

void CSetGlazeFieldDlg::OnFieldChosen(int position)
{
    m_values->setEditText(QString());
    FillValues(m_fields->itemData(position).toInt());
}

void CSetGlazeFieldDlg::FillValues(int fieldNumber)
{
    FillGlazeFieldValueList(*m_values, fieldNumber);
}

void CSetGlazeFieldDlg::accept()
{
    InitDialog();
    scope = m_scopeGroup->checkedId();
    field = m_fields->currentIndex() >= 0 ? m_fields->currentData().toInt() : -1;
    value = ToCp1252(m_values->currentText());
    // The working batch size is a number, and holds no more than a recipe does.
    if (field == kGlazeFieldBatchSize && !CheckOptionalNumberField(m_values->lineEdit(), kMaxRecipeAmount))
        return;
    CStyledDialog::accept();
}
