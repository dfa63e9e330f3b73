#include "tools/OptimizeDlgLoad.h"

#include "framework/Cp1252.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "limits/LimitFormula.h"
#include "limits/LimitFormulasDoc.h"
#include "shell/OxidariumApp.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString NameOrUntitled(const std::string& name)
{
    return name.empty() ? QStringLiteral("<untitled>") : FromCp1252(name);
}

} // namespace

CLoadOptParamsDlg::CLoadOptParamsDlg(QWidget* parent) : CStyledDialog(parent, kLoadOptParamsHelpId)
{
    setWindowTitle(QStringLiteral("Load Optimization Parameters"));
    ResizeDlu(250, 190);
    BuildControls();
}

void CLoadOptParamsDlg::BuildControls()
{
    m_sources = new QButtonGroup(this);
    static const char* const kSources[3] = {"Current glaze", "Selected glaze :", "Limit formula :"};
    static const int kSourceIds[3] = {kLoadOptCurrentGlaze, kLoadOptSelectedGlaze, kLoadOptLimitFormula};
    static const int kSourceY[3] = {8, 22, 126};
    for (int n = 0; n < 3; ++n) {
        auto* radio = new QRadioButton(QString::fromLatin1(kSources[n]), this);
        SetControlId(radio, kSourceIds[n]);
        PlaceDlu(radio, 8, kSourceY[n], 80, 10);
        m_sources->addButton(radio, n);
    }
    PlaceDlu(new QLabel(QStringLiteral("Database :"), this), 20, 37, 40, 9);
    m_databaseCombo = new QComboBox(this);
    SetControlId(m_databaseCombo, kLoadOptDatabase);
    PlaceDlu(m_databaseCombo, 62, 35, 180, 12);
    PlaceDlu(new QLabel(QStringLiteral("Glaze :"), this), 20, 53, 40, 9);
    m_glazeCombo = new QComboBox(this);
    SetControlId(m_glazeCombo, kLoadOptGlaze);
    PlaceDlu(m_glazeCombo, 62, 51, 180, 12);

    m_options = new QButtonGroup(this);
    static const char* const kOptions[4] = {"Optimization parameters", "Glaze analysis (unity)",
                                            "Glaze analysis (% weight)", "Glaze analysis (% molecular)"};
    for (int n = 0; n < 4; ++n) {
        auto* radio = new QRadioButton(QString::fromLatin1(kOptions[n]), this);
        SetControlId(radio, kLoadOptOptionFirst + n);
        PlaceDlu(radio, 20, 68 + 11 * n, 110, 10);
        m_options->addButton(radio, n);
    }
    m_volatiles = new QCheckBox(QStringLiteral("Include volatiles"), this);
    SetControlId(m_volatiles, kLoadOptVolatiles);
    PlaceDlu(m_volatiles, 140, 90, 100, 10);
    m_recipe = new QCheckBox(QStringLiteral("Glaze recipe as material constraints"), this);
    SetControlId(m_recipe, kLoadOptRecipe);
    PlaceDlu(m_recipe, 20, 113, 180, 10);

    PlaceDlu(new QLabel(QStringLiteral("Formula :"), this), 20, 142, 40, 9);
    m_formulaCombo = new QComboBox(this);
    SetControlId(m_formulaCombo, kLoadOptFormula);
    PlaceDlu(m_formulaCombo, 62, 140, 180, 12);

    QPushButton* ok = AddButton(QStringLiteral("OK"), 1, 8, 168, 50, 14);
    QPushButton* cancel = AddButton(QStringLiteral("Cancel"), 2, 64, 168, 50, 14);
    AddHelpButton(222, 168, 20, 14);
    connect(ok, &QPushButton::clicked, this, &CLoadOptParamsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CLoadOptParamsDlg::reject);
    connect(m_sources, &QButtonGroup::idClicked, this, &CLoadOptParamsDlg::OnSource);
    connect(m_options, &QButtonGroup::idClicked, this, &CLoadOptParamsDlg::OnOption);
    connect(m_databaseCombo, &QComboBox::activated, this, &CLoadOptParamsDlg::OnDatabase);
    connect(m_glazeCombo, &QComboBox::activated, this, &CLoadOptParamsDlg::OnGlaze);
    connect(m_formulaCombo, &QComboBox::activated, this, &CLoadOptParamsDlg::OnFormula);
}

CGlazesDoc* CLoadOptParamsDlg::GlazeDoc(int index)
{
    return g_pApp ? dynamic_cast<CGlazesDoc*>(g_pApp->GetGlazeDoc(index)) : nullptr;
}

void CLoadOptParamsDlg::OnInitDialog()
{
    const bool hasCurrent = currentGlaze >= 0 && currentDatabase >= 0;
    m_sources->button(kLoadFromCurrentGlaze)->setEnabled(hasCurrent);
    if (!hasCurrent && choice.source == kLoadFromCurrentGlaze)
        choice.source = kLoadFromSelectedGlaze;
    m_sources->button(choice.source)->setChecked(true);
    m_options->button(choice.glazeOption)->setChecked(true);
    m_volatiles->setChecked(choice.includeVolatiles);
    m_recipe->setChecked(choice.recipeAsMaterials);
    FillDatabases();
    FillGlazes();
    FillFormulas();
    UpdateEnabling();
}

void CLoadOptParamsDlg::FillDatabases()
{
    m_filling = true;
    m_databaseCombo->clear();
    const int count = g_pApp ? g_pApp->CountGlazeDocs() : 0;
    for (int n = 0; n < count; ++n) {
        const CGlazesDoc* doc = GlazeDoc(n);
        m_databaseCombo->addItem(NameOrUntitled(doc ? doc->GetDbName() : std::string()));
    }
    if (database < 0 || database >= count)
        database = count > 0 ? 0 : -1;
    m_databaseCombo->setCurrentIndex(database);
    m_filling = false;
}

void CLoadOptParamsDlg::FillGlazes()
{
    m_filling = true;
    m_glazeCombo->clear();
    const CGlazesDoc* doc = GlazeDoc(database);
    const int count = doc ? doc->GetGlazeCount() : 0;
    for (int n = 0; n < count; ++n)
        m_glazeCombo->addItem(NameOrUntitled(doc->GetGlaze(n)->m_name));
    if (glaze >= count)
        glaze = -1;
    m_glazeCombo->setCurrentIndex(glaze);
    m_filling = false;
}

void CLoadOptParamsDlg::FillFormulas()
{
    m_filling = true;
    m_formulaCombo->clear();
    const int count = g_pLimitFormulasDoc ? g_pLimitFormulasDoc->Database().GetCount() : 0;
    for (int n = 0; n < count; ++n)
        m_formulaCombo->addItem(NameOrUntitled(g_pLimitFormulasDoc->Database().GetAt(n).m_name));
    if (formula < 0 || formula >= count)
        formula = count > 0 ? 0 : -1;
    m_formulaCombo->setCurrentIndex(formula);
    m_filling = false;
}

const CGlaze* CLoadOptParamsDlg::SourceGlaze() const
{
    const bool current = choice.source == kLoadFromCurrentGlaze;
    const CGlazesDoc* doc = GlazeDoc(current ? currentDatabase : database);
    const int index = current ? currentGlaze : glaze;
    return doc && index >= 0 && index < doc->GetGlazeCount() ? doc->GetGlaze(index) : nullptr;
}

const CLimitFormula* CLoadOptParamsDlg::ChosenFormula() const
{
    if (!g_pLimitFormulasDoc || formula < 0 || formula >= g_pLimitFormulasDoc->Database().GetCount())
        return nullptr;
    return &g_pLimitFormulasDoc->Database().GetAt(formula);
}

void CLoadOptParamsDlg::OnSource(int source)
{
    choice.source = source;
    UpdateEnabling();
}

void CLoadOptParamsDlg::OnDatabase(int index)
{
    if (m_filling)
        return;
    database = index;
    glaze = -1;
    FillGlazes();
    m_sources->button(kLoadFromSelectedGlaze)->setChecked(true);
    OnSource(kLoadFromSelectedGlaze);
}

void CLoadOptParamsDlg::OnGlaze(int index)
{
    if (m_filling)
        return;
    glaze = index;
    m_sources->button(kLoadFromSelectedGlaze)->setChecked(true);
    OnSource(kLoadFromSelectedGlaze);
}

void CLoadOptParamsDlg::OnFormula(int index)
{
    if (m_filling)
        return;
    formula = index;
    m_sources->button(kLoadFromLimitFormula)->setChecked(true);
    OnSource(kLoadFromLimitFormula);
}

void CLoadOptParamsDlg::OnOption(int option)
{
    choice.glazeOption = option;
    UpdateEnabling();
}

// What a glaze offers decides which options may be chosen; a limit formula offers none of them.
void CLoadOptParamsDlg::UpdateEnabling()
{
    CLoadOptGlazeOptions offered;
    if (choice.source != kLoadFromLimitFormula)
        offered = GetLoadOptGlazeOptions(SourceGlaze(), choice.glazeOption);
    else
        offered.option = choice.glazeOption;
    choice.glazeOption = offered.option;
    m_options->button(kLoadGlazeParameters)->setEnabled(offered.parametersEnabled);
    for (int option = kLoadGlazeUnity; option <= kLoadGlazeMolecular; ++option)
        m_options->button(option)->setEnabled(offered.analysisEnabled);
    m_options->button(choice.glazeOption)->setChecked(true);
    m_volatiles->setEnabled(offered.includeVolatilesEnabled);
    m_recipe->setEnabled(offered.recipeEnabled);
}

void CLoadOptParamsDlg::accept()
{
    InitDialog();
    choice.source = m_sources->checkedId();
    choice.glazeOption = m_options->checkedId() < 0 ? kLoadGlazeParameters : m_options->checkedId();
    choice.includeVolatiles = m_volatiles->isEnabled() && m_volatiles->isChecked();
    choice.recipeAsMaterials = m_recipe->isEnabled() && m_recipe->isChecked();
    CStyledDialog::accept();
}
