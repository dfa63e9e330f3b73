#include "materials/MaterialUnitsDlg.h"

#include "framework/Cp1252.h"
#include "shell/OxidariumApp.h"
#include "support/NumberField.h"
#include "support/NumberText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kUnitsHelpId = 342;
constexpr int kPlacesLeftId = 2050;
constexpr int kPlacesRightId = 2051;
constexpr int kCostFactorId = 2052;
constexpr int kKilogramId = 2053;
constexpr int kPoundId = 2054;
constexpr int kCurrencyId = 2055;
constexpr int kDensityFactorId = 2056;
constexpr int kCupId = 2057;
constexpr int kDeciliterId = 2058;
constexpr int kMultiplyCostsId = 2059;
constexpr int kMultiplyDensitiesId = 2060;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Conversion factors of the proposals: a cost per pound from one per kilogram and back, a density
// per cup from one per deciliter and back.
constexpr const char* kKilogramToPound = "0.453597";
constexpr const char* kPoundToKilogram = "2.2046";
constexpr const char* kDeciliterToCup = "2.36575";
constexpr const char* kCupToDeciliter = "0.422699";
constexpr const char* kNoScaling = "1.0";

} // namespace

std::string FormatUnitsFactor(double factor)
{
    std::string text = FormatDoubleShortest(factor);
    if (text.find_first_of(".eE") == std::string::npos)
        text += ".0";
    return text;
}

CMaterialUnitsDlg::CMaterialUnitsDlg(QWidget* parent)
    : CStyledDialog(parent, kUnitsHelpId)
{
    backgroundColor = GetNamedColor("mat_list");
    setWindowTitle(QStringLiteral("Material Cost and Density Units"));
    ResizeDlu(236, 206);
    m_currency = AddEdit("Currency symbol :", kCurrencyId, 8, 8, 120);
    m_placesLeft = AddEdit("Digits left of the decimal point :", kPlacesLeftId, 8, 24, 120);
    m_placesRight = AddEdit("Digits right of the decimal point :", kPlacesRightId, 8, 40, 120);

    auto* costBox = new QGroupBox(QStringLiteral("Cost per"), this);
    PlaceDlu(costBox, 8, 58, 220, 58);
    m_pound = new QRadioButton(QStringLiteral("pound"), this);
    m_kilogram = new QRadioButton(QStringLiteral("kilogram"), this);
    m_multiplyCosts = AddCheck("Multiply all costs by scaling factor", kMultiplyCostsId, 84);
    m_costFactor = AddEdit("Scaling factor :", kCostFactorId, 28, 98, 76);
    auto* densityBox = new QGroupBox(QStringLiteral("Density in grams per"), this);
    PlaceDlu(densityBox, 8, 120, 220, 58);
    m_cup = new QRadioButton(QStringLiteral("cup"), this);
    m_deciliter = new QRadioButton(QStringLiteral("deciliter"), this);
    m_multiplyDensities = AddCheck("Multiply all densities by scaling factor", kMultiplyDensitiesId, 146);
    m_densityFactor = AddEdit("Scaling factor :", kDensityFactorId, 28, 160, 76);
    const struct {
        QRadioButton* button;
        int id;
        int x;
        int y;
    } radios[] = {{m_pound, kPoundId, 16, 70}, {m_kilogram, kKilogramId, 90, 70},
                  {m_cup, kCupId, 16, 132}, {m_deciliter, kDeciliterId, 90, 132}};
    for (const auto& radio : radios) {
        SetControlId(radio.button, radio.id);
        PlaceDlu(radio.button, radio.x, radio.y, 70, 10);
    }
    WireUnitButtons();

    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 186, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 152, 186, 50, 14);
    AddHelpButton(208, 186, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CMaterialUnitsDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CMaterialUnitsDlg::reject);
    setFixedSize(size());
}

void CMaterialUnitsDlg::WireUnitButtons()
{
    auto* costUnits = new QButtonGroup(this);
    costUnits->addButton(m_pound, 0);
    costUnits->addButton(m_kilogram, 1);
    auto* densityUnits = new QButtonGroup(this);
    densityUnits->addButton(m_cup, 0);
    densityUnits->addButton(m_deciliter, 1);
    // Proposals compare with the database's unit, which the members hold until OK.
    connect(m_pound, &QRadioButton::clicked, this,
            [this] { ProposeScaling(m_multiplyCosts, m_costFactor, costUnit == 1, kKilogramToPound); });
    connect(m_kilogram, &QRadioButton::clicked, this,
            [this] { ProposeScaling(m_multiplyCosts, m_costFactor, costUnit == 0, kPoundToKilogram); });
    connect(m_cup, &QRadioButton::clicked, this,
            [this] { ProposeScaling(m_multiplyDensities, m_densityFactor, densityUnit == 1, kDeciliterToCup); });
    connect(m_deciliter, &QRadioButton::clicked, this,
            [this] { ProposeScaling(m_multiplyDensities, m_densityFactor, densityUnit == 0, kCupToDeciliter); });
}

QLineEdit* CMaterialUnitsDlg::AddEdit(const char* label, int id, int x, int y, int labelWidth)
{
    auto* text = new QLabel(QString::fromLatin1(label), this);
    PlaceDlu(text, x, y + 2, labelWidth, 10);
    auto* edit = new QLineEdit(this);
    SetControlId(edit, id);
    PlaceDlu(edit, x + labelWidth, y, 50, 12);
    return edit;
}

QCheckBox* CMaterialUnitsDlg::AddCheck(const char* label, int id, int y)
{
    auto* check = new QCheckBox(QString::fromLatin1(label), this);
    SetControlId(check, id);
    PlaceDlu(check, 16, y, 200, 10);
    return check;
}

void CMaterialUnitsDlg::ProposeScaling(QCheckBox* check, QLineEdit* factorEdit, bool fromOtherUnit,
                                       const char* factor)
{
    check->setChecked(fromOtherUnit);
    factorEdit->setText(QString::fromLatin1(fromOtherUnit ? factor : kNoScaling));
}

void CMaterialUnitsDlg::OnInitDialog()
{
    m_currency->setText(FromCp1252(currencySymbol));
    m_placesLeft->setText(QString::number(placesLeft));
    m_placesRight->setText(QString::number(placesRight));
    m_multiplyCosts->setChecked(multiplyCosts != 0);
    m_multiplyDensities->setChecked(multiplyDensities != 0);
    m_costFactor->setText(FromCp1252(FormatUnitsFactor(costFactor)));
    m_densityFactor->setText(FromCp1252(FormatUnitsFactor(densityFactor)));
    m_pound->setChecked(costUnit == 0);
    m_kilogram->setChecked(costUnit == 1);
    m_cup->setChecked(densityUnit == 0);
    m_deciliter->setChecked(densityUnit == 1);
}

bool CMaterialUnitsDlg::SaveControls()
{
    InitDialog();
    int left = 0;
    int right = 0;
    double costScale = 0.0;
    double densityScale = 0.0;
    if (!ReadWholeNumberField(m_placesLeft, 0, kMaxPlaces, left) ||
        !ReadWholeNumberField(m_placesRight, 0, kMaxPlaces, right) ||
        !ReadNumberField(m_costFactor, 0.0, kMaxFactor, costScale) ||
        !ReadNumberField(m_densityFactor, 0.0, kMaxFactor, densityScale))
        return false;
    currencySymbol = ToCp1252(m_currency->text());
    placesLeft = left;
    placesRight = right;
    multiplyCosts = m_multiplyCosts->isChecked() ? 1 : 0;
    multiplyDensities = m_multiplyDensities->isChecked() ? 1 : 0;
    costFactor = costScale;
    densityFactor = densityScale;
    costUnit = m_pound->isChecked() ? 0 : m_kilogram->isChecked() ? 1 : -1;
    densityUnit = m_cup->isChecked() ? 0 : m_deciliter->isChecked() ? 1 : -1;
    return true;
}

void CMaterialUnitsDlg::accept()
{
    if (SaveControls())
        CStyledDialog::accept();
}
