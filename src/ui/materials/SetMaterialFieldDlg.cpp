#include "materials/SetMaterialFieldDlg.h"

#include "framework/Cp1252.h"
#include "materials/MaterialEditView.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/ChoiceBox.h"
#include "support/NumberField.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cfloat>

const SMaterialFieldChoice g_materialFieldChoices[kMaterialFieldChoiceCount] = {
    {"Name", 1},
    {"Code", 3},
    {"Type", 6},
    {"Density", kMaterialFieldDensity},
    {"Cost", kMaterialFieldCost},
    {"Available", 8},
    {"Formula", kMaterialFieldFormula},
    {"Map to", 11},
    {"Notes", 12},
    {"Notes (appended)", 15},
    {"Analysis Notes", 13},
    {"Analysis Notes (appended)", 16},
    {"Hazard Notes", 14},
    {"Hazard Notes (appended)", 17},
    {"Date", 5},
};

namespace {

constexpr unsigned kSetFieldHelpId = 346;
constexpr int kFieldComboId = 2580;
constexpr int kAllId = 2581;
constexpr int kSelectedId = 2582;
constexpr int kValueComboId = 2583;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

constexpr int kTypeField = 6;
constexpr int kAvailableField = 8;
constexpr int kMapToField = 11;

} // namespace

CSetMaterialFieldDlg::CSetMaterialFieldDlg(QWidget* parent)
    : CStyledDialog(parent, kSetFieldHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Set Field"));
    ResizeDlu(236, 112);
    auto* fieldLabel = new QLabel(QStringLiteral("Field :"), this);
    PlaceDlu(fieldLabel, 8, 10, 40, 10);
    m_fields = new QComboBox(this);
    SetControlId(m_fields, kFieldComboId);
    PlaceDlu(m_fields, 50, 8, 120, 14);
    m_fields->setMaxVisibleItems(kMaterialFieldChoiceCount);
    auto* valueLabel = new QLabel(QStringLiteral("Value :"), this);
    PlaceDlu(valueLabel, 8, 28, 40, 10);
    m_values = new QComboBox(this);
    SetControlId(m_values, kValueComboId);
    MakeChoiceBox(m_values);
    PlaceDlu(m_values, 50, 26, 178, 14);
    m_selected = new QRadioButton(QStringLiteral("Currently selected materials"), this);
    SetControlId(m_selected, kSelectedId);
    PlaceDlu(m_selected, 8, 50, 200, 10);
    m_all = new QRadioButton(QStringLiteral("All materials in the current database"), this);
    SetControlId(m_all, kAllId);
    PlaceDlu(m_all, 8, 64, 200, 10);
    auto* scopes = new QButtonGroup(this);
    scopes->addButton(m_selected, 0);
    scopes->addButton(m_all, 1);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 90, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 152, 90, 50, 14);
    AddHelpButton(208, 90, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CSetMaterialFieldDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CSetMaterialFieldDlg::reject);
    setFixedSize(size());
}

void CSetMaterialFieldDlg::OnInitDialog()
{
    m_selected->setChecked(scope == 0);
    m_all->setChecked(scope == 1);
    m_fields->clear();
    for (const SMaterialFieldChoice& choice : g_materialFieldChoices)
        m_fields->addItem(FromCp1252(choice.label), choice.field);
    m_fields->setCurrentIndex(fieldPosition >= 0 && fieldPosition < m_fields->count() ? fieldPosition : -1);
    fieldNumber = m_fields->currentIndex() >= 0 ? m_fields->currentData().toInt() : -1;
    FillValues();
    m_values->setEditText(FromCp1252(valueText));
    // Only the user's choices of a field empty the value: connected after the preset.
    connect(m_fields, &QComboBox::currentIndexChanged, this, &CSetMaterialFieldDlg::OnFieldChanged);
}

void CSetMaterialFieldDlg::FillValues()
{
    m_values->clear();
    switch (fieldNumber) {
    case kTypeField:
        if (CAppContext::IsActive()) {
            for (const std::string& type : g_prefs.mattyp)
                m_values->addItem(FromCp1252(type));
        }
        break;
    case kAvailableField:
        m_values->addItem(QStringLiteral("No"));
        m_values->addItem(QStringLiteral("Yes"));
        break;
    case kMapToField:
        if (g_pMaterialsDoc) {
            for (const auto& material : g_pMaterialsDoc->Materials().Records())
                m_values->addItem(FromCp1252(material->m_name));
        }
        break;
    default:
        break;
    }
    m_values->setCurrentIndex(-1);
    m_values->clearEditText();
}

void CSetMaterialFieldDlg::OnFieldChanged()
{
    fieldNumber = m_fields->currentIndex() >= 0 ? m_fields->currentData().toInt() : -1;
    FillValues();
}

void CSetMaterialFieldDlg::accept()
{
    InitDialog();
    scope = m_selected->isChecked() ? 0 : m_all->isChecked() ? 1 : -1;
    fieldPosition = m_fields->currentIndex();
    valueText = ToCp1252(m_values->currentText());
    fieldNumber = fieldPosition >= 0 ? m_fields->currentData().toInt() : -1;
    // Density and cost are numbers: "2,6" is refused, not set as 2.
    if ((fieldNumber == kMaterialFieldDensity || fieldNumber == kMaterialFieldCost) &&
        !CheckOptionalNumberField(m_values->lineEdit(), DBL_MAX))
        return;
    if (fieldNumber == kMaterialFieldFormula && !CheckFormula())
        return;
    CStyledDialog::accept();
}

// A formula the engine cannot read would empty the formula of every material it is set on.
bool CSetMaterialFieldDlg::CheckFormula()
{
    CMaterial scratch("new material");
    std::string error;
    if (scratch.SetFormula(valueText, &error) == 0)
        return true;
    return RefuseField(m_values->lineEdit(), InvalidFormulaMessage(error), MsgOk | MsgIconError,
                       kMatEditFormulaErrorHelpId);
}
