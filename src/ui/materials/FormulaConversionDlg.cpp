#include "materials/FormulaConversionDlg.h"

#include "elements/ElementTable.h"
#include "framework/Cp1252.h"
#include "materials/FormulaConversion.h"
#include "materials/Material.h"
#include "shell/Preferences.h"
#include "support/NumberField.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>

#include <algorithm>

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

const char* const kConversionTexts[CFormulaConversionDlg::kConversionCount] = {
    "Reformat Numbers Only",
    "Convert to Weight %",
    "Convert to Molecular %",
    "Convert to Molecular",
    "Convert to Unity on",
    "Break apart Complex Components",
    "Oxidize and Force MW",
    "Remove Forced MW",
    "Convert all Volatiles to LOI",
};

// The elements that get their own unity group when present: alumina, silica, iron and lead.
constexpr int kUnityMainElements[] = {13, 14, 26, 82};

std::string OxideText(int z)
{
    const CElementRecord& record = GetElementTable()[z];
    return record.oxide.empty() ? std::string(record.symbol) : record.oxide;
}

bool RoundsTo100(double value)
{
    return RoundToPowerOfTen(value, 0) == 100.0;
}

bool IsVolatile(int z)
{
    return IsValidElementNumber(z) && (GetElementTable()[z].role & kRoleVolatile) != 0;
}

} // namespace

const std::vector<int>& CFormulaConversionDlg::LoiOxideChoices()
{
    static const std::vector<int> choices = {8, 1, 6, 9, 17, 7, 16};
    return choices;
}

CFormulaConversionDlg::CFormulaConversionDlg(QWidget* parent) : CStyledDialog(parent, kFormulaConversionHelpId)
{
    setWindowTitle(QStringLiteral("Formula Conversion"));
    BuildControls();
}

void CFormulaConversionDlg::BuildControls()
{
    ResizeDlu(236, 206);
    m_group = new QButtonGroup(this);
    for (int mode = 0; mode < kConversionCount; ++mode) {
        auto* radio = new QRadioButton(QString::fromLatin1(kConversionTexts[mode]), this);
        SetControlId(radio, kConvRadioFirst + mode);
        PlaceDlu(radio, 10, 8 + 14 * mode, 130, 10);
        radio->setEnabled(false);
        m_group->addButton(radio, mode);
        m_radios[static_cast<std::size_t>(mode)] = radio;
    }
    connect(m_group, &QButtonGroup::idClicked, this, [this](int mode) { OnChoice(mode); });

    m_unityCombo = new QComboBox(this);
    SetControlId(m_unityCombo, kConvUnityCombo);
    PlaceDlu(m_unityCombo, 140, 63, 86, 12);
    m_unityCombo->setEnabled(false);
    connect(m_unityCombo, &QComboBox::activated, this, [this] {
        m_radios[kConvertToUnity]->setChecked(true);
        OnChoice(kConvertToUnity);
    });

    PlaceDlu(new QLabel(QStringLiteral("Decimals :"), this), 10, 140, 50, 10);
    m_decimalsEdit = new QLineEdit(this);
    SetControlId(m_decimalsEdit, kConvDecimalsEdit);
    PlaceDlu(m_decimalsEdit, 62, 138, 24, 12);
    PlaceDlu(new QLabel(QStringLiteral("Min. decimals :"), this), 100, 140, 60, 10);
    m_minDecimalsEdit = new QLineEdit(this);
    SetControlId(m_minDecimalsEdit, kConvMinDecimalsEdit);
    PlaceDlu(m_minDecimalsEdit, 162, 138, 24, 12);

    m_loiLabel = new QLabel(QStringLiteral("Convert LOI to :"), this);
    SetControlId(m_loiLabel, kConvLoiLabel);
    PlaceDlu(m_loiLabel, 10, 160, 60, 10);
    m_loiCombo = new QComboBox(this);
    SetControlId(m_loiCombo, kConvLoiCombo);
    PlaceDlu(m_loiCombo, 72, 158, 60, 12);
    for (int z : LoiOxideChoices())
        m_loiCombo->addItem(FromCp1252(OxideText(z)), z);
    m_loiLabel->hide();
    m_loiCombo->hide();

    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 10, 184, 50, 14);
    QPushButton* cancel = AddButton(QStringLiteral("Cancel"), kIdCancel, 70, 184, 50, 14);
    AddHelpButton(206, 184, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CFormulaConversionDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CFormulaConversionDlg::reject);
}

void CFormulaConversionDlg::AddUnityEntry(int code)
{
    unityCodes.push_back(code);
    switch (code) {
    case kUnityOnAlkalis: unityTexts.emplace_back("Alkalis"); break;
    case kUnityOnNeutrals: unityTexts.emplace_back("Neutrals"); break;
    case kUnityOnAcids: unityTexts.emplace_back("Acids"); break;
    default:
        if (code >= kUnityOnComponentBase) {
            const std::size_t k = static_cast<std::size_t>(code - kUnityOnComponentBase);
            unityTexts.push_back(k < componentTexts.size() ? componentTexts[k] : std::string());
        } else {
            unityTexts.push_back(OxideText(code));
        }
        break;
    }
}

void CFormulaConversionDlg::AddUnitySeparator()
{
    unityCodes.push_back(kUnitySeparator);
    unityTexts.emplace_back("------------");
}

void CFormulaConversionDlg::SetMaterial(const CMaterial& material)
{
    componentTexts.clear();
    bool hasLoi = false;
    bool hasVolatile = false;
    bool hasComplex = false;
    std::vector<int> listedComponents;
    for (std::size_t k = 0; k < material.m_components.size(); ++k) {
        CFormulaComponent component = material.m_components[k];
        component.Classify();
        componentTexts.push_back(component.m_text);
        const bool single = component.m_kind == kComponentOxide || component.m_kind == kComponentElement;
        hasLoi = hasLoi || component.m_kind == kComponentLoi;
        hasVolatile = hasVolatile || component.m_kind == kComponentLoi || (single && IsVolatile(component.m_element));
        hasComplex = hasComplex || component.m_kind == kComponentCompound;
        if (component.m_kind == kComponentElement || component.m_kind == kComponentCompound ||
            (component.m_kind == kComponentOxide && IsVolatile(component.m_element)))
            listedComponents.push_back(kUnityOnComponentBase + static_cast<int>(k));
    }
    SetEnableFlags(material, hasVolatile, hasComplex);
    loiApplies = hasLoi && (enabled[kConvertToMolecularPercent] || enabled[kConvertToMolecular] ||
                            enabled[kConvertToUnity]);
    FillUnityList(material, listedComponents);
}

void CFormulaConversionDlg::SetEnableFlags(const CMaterial& material, bool hasVolatile, bool hasComplex)
{
    const bool percent = material.m_isWeightPercent || material.m_isMolePercent;
    const bool sumIs100 = !percent || RoundsTo100(material.m_percentSum);
    const bool unforcedMolecularOrWeight = (material.m_isMolecular && !material.m_hasForcedMW) ||
                                           (material.m_isWeightPercent && !material.m_hasForcedSum);
    weightPercent = material.m_isWeightPercent;
    enabled[kConvertReformatNumbers] = true;
    enabled[kConvertToWeightPercent] = material.m_isMolecular || material.m_isMolePercent;
    enabled[kConvertToMolecularPercent] = unforcedMolecularOrWeight;
    enabled[kConvertToMolecular] = !material.m_hasForcedMW && sumIs100;
    enabled[kConvertToUnity] = !material.m_hasForcedMW && !material.m_hasForcedSum && sumIs100;
    enabled[kConvertBreakApart] = hasComplex;
    enabled[kConvertOxidizeAndForce] = unforcedMolecularOrWeight && material.m_loi != 0.0;
    enabled[kConvertRemoveForcedValue] = material.m_hasForcedMW || material.m_hasForcedSum;
    enabled[kConvertVolatilesToLoi] = material.m_isWeightPercent && hasVolatile;
}

// The role groups present, then alumina, silica, iron and lead, then the other non-volatile
// elements in z order, each run closed by a separator; then the components a unity may be on.
void CFormulaConversionDlg::FillUnityList(const CMaterial& material, const std::vector<int>& listedComponents)
{
    const CElementRecord* table = GetElementTable();
    bool groups[3] = {false, false, false};
    for (int z = 1; z < kElementCount; ++z) {
        if (material.m_atoms[z] <= 0.0)
            continue;
        const int role = table[z].role;
        if (role & kRoleAlkali)
            groups[0] = true;
        else if (role & kRoleNeutral)
            groups[1] = true;
        else if (role & kRoleAcid)
            groups[2] = true;
    }
    unityCodes.clear();
    unityTexts.clear();
    for (int g = 0; g < 3; ++g) {
        if (groups[g])
            AddUnityEntry(-1 - g);
    }
    if (groups[0] || groups[1] || groups[2])
        AddUnitySeparator();
    bool any = false;
    for (int z : kUnityMainElements) {
        if (material.m_atoms[z] > 0.0) {
            AddUnityEntry(z);
            any = true;
        }
    }
    if (any)
        AddUnitySeparator();
    any = false;
    for (int z = 1; z < kElementCount; ++z) {
        const bool main = std::find(std::begin(kUnityMainElements), std::end(kUnityMainElements), z) !=
                          std::end(kUnityMainElements);
        if (!main && material.m_atoms[z] > 0.0 && !IsVolatile(z)) {
            AddUnityEntry(z);
            any = true;
        }
    }
    if (any)
        AddUnitySeparator();
    for (int code : listedComponents)
        AddUnityEntry(code);
}

void CFormulaConversionDlg::SetAllConversions()
{
    enabled.fill(true);
    loiApplies = false;
    weightPercent = false;
    componentTexts.clear();
    unityCodes.clear();
    unityTexts.clear();
    for (int code : {kUnityOnAlkalis, kUnityOnNeutrals, kUnityOnAcids})
        AddUnityEntry(code);
    AddUnitySeparator();
    for (int z : {13, 14, 26})
        AddUnityEntry(z);
    AddUnitySeparator();
    for (int z = 1; z < kElementCount; ++z) {
        if (z != 13 && z != 14 && z != 26 && !IsVolatile(z))
            AddUnityEntry(z);
    }
    loiOxide = kDefaultLoiOxide;
}

void CFormulaConversionDlg::FillUnityCombo()
{
    m_unityCombo->clear();
    auto* model = qobject_cast<QStandardItemModel*>(m_unityCombo->model());
    for (std::size_t i = 0; i < unityCodes.size(); ++i) {
        m_unityCombo->addItem(FromCp1252(unityTexts[i]), unityCodes[i]);
        // A separator only divides the list; it cannot be chosen.
        if (unityCodes[i] == kUnitySeparator && model)
            model->item(static_cast<int>(i))->setEnabled(false);
    }
    int row = m_unityCombo->findData(unityTarget);
    if (row < 0 || unityTarget == kUnitySeparator)
        row = unityCodes.empty() ? -1 : 0;
    m_unityCombo->setCurrentIndex(row);
}

void CFormulaConversionDlg::OnInitDialog()
{
    choice = g_prefs.m_nFormConvChoice;
    unityTarget = g_prefs.m_nFormConvUnityTarget;
    loiOxide = g_prefs.m_nFormConvLoiOxide;
    decimals = g_prefs.m_nFormConvDecimals;
    minDecimals = g_prefs.m_nFormConvMinDecimals;
    if (decimals < 0) {
        decimals = g_prefs.decformulas;
        minDecimals = g_prefs.tzsformulas;
    }
    if (weightPercent) {
        m_radios[kConvertOxidizeAndForce]->setText(QStringLiteral("Oxidize and Force % Sum"));
        m_radios[kConvertRemoveForcedValue]->setText(QStringLiteral("Remove Forced % Sum"));
    }
    for (int mode = 0; mode < kConversionCount; ++mode)
        m_radios[static_cast<std::size_t>(mode)]->setEnabled(enabled[static_cast<std::size_t>(mode)]);
    m_unityCombo->setEnabled(enabled[kConvertToUnity]);
    FillUnityCombo();
    // A remembered conversion that does not apply to this formula is not offered as the choice.
    if (choice < 0 || choice >= kConversionCount || !enabled[static_cast<std::size_t>(choice)])
        choice = -1;
    else
        m_radios[static_cast<std::size_t>(choice)]->setChecked(true);
    const int loiRow = m_loiCombo->findData(loiOxide);
    m_loiCombo->setCurrentIndex(loiRow >= 0 ? loiRow : 0);
    m_decimalsEdit->setText(QString::number(decimals));
    m_minDecimalsEdit->setText(QString::number(minDecimals));
    m_loiLabel->setVisible(loiApplies);
    m_loiCombo->setVisible(loiApplies);
    UpdateLoiControls();
}

void CFormulaConversionDlg::OnChoice(int mode)
{
    choice = mode;
    UpdateLoiControls();
}

void CFormulaConversionDlg::UpdateLoiControls()
{
    const bool usesLoi = choice == kConvertToMolecularPercent || choice == kConvertToMolecular ||
                         choice == kConvertToUnity;
    m_loiLabel->setEnabled(usesLoi);
    m_loiCombo->setEnabled(usesLoi);
}

void CFormulaConversionDlg::accept()
{
    InitDialog();
    choice = m_group->checkedId();
    if (choice < 0) {
        reject();
        return;
    }
    const int row = m_unityCombo->currentIndex();
    unityTarget = row >= 0 ? m_unityCombo->itemData(row).toInt() : -1;
    loiOxide = m_loiCombo->currentData().toInt();
    // Whole numbers of decimals: "3x" or "2.5" is refused, not read as 3 or 2.
    if (!ReadWholeNumberField(m_decimalsEdit, 0, kMaxConversionDecimals, decimals) ||
        !ReadWholeNumberField(m_minDecimalsEdit, -1, kMaxConversionDecimals, minDecimals))
        return;
    g_prefs.m_nFormConvChoice = choice;
    g_prefs.m_nFormConvUnityTarget = unityTarget;
    g_prefs.m_nFormConvLoiOxide = loiOxide;
    g_prefs.m_nFormConvDecimals = decimals;
    g_prefs.m_nFormConvMinDecimals = minDecimals;
    QDialog::accept();
}
