#include "glazes/MakeLimitFormulaDlg.h"

#include "framework/Cp1252.h"
#include "limits/LimitFormulaDB.h"
#include "limits/LimitFormulasDoc.h"
#include "limits/MakeLimitFormulaRequest.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

constexpr int kNameId = 2620;
constexpr int kBasedOnFormulaId = 2621;
constexpr int kBasedOnCombinationsId = 2622;
constexpr int kFormulaComboId = 2623;
constexpr int kCombinationListId = 2624;
constexpr int kWeightPercentId = 2625;
constexpr int kSelectedGlazesId = 2626;
constexpr int kAllGlazesId = 2627;
constexpr int kCurrentDatabaseId = 2628;
constexpr int kAllDatabasesId = 2629;
constexpr int kToNotesId = 2630;
constexpr int kToInformationId = 2631;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// The open limit-formula database, whose formulas and combinations the dialog offers.
const CLimitFormulaDB* OpenDatabase()
{
    return g_pLimitFormulasDoc ? &g_pLimitFormulasDoc->Database() : GetCurrentLimitFormulaDB();
}

bool ListsName(const CStringArrayEx& names, const std::string& name)
{
    return std::any_of(names.begin(), names.end(), [&](const std::string& entry) { return EqualsNoCase(entry, name); });
}

} // namespace

CMakeLimitFormulaDlg::CMakeLimitFormulaDlg(QWidget* parent)
    : CStyledDialog(parent, kMakeLimitFormulaHelpId)
{
    backgroundColor = GetNamedColor("led_bkg");
    setWindowTitle(QStringLiteral("Make Limit Formula"));
    ResizeDlu(250, 214);
    PlaceDlu(new QLabel(QStringLiteral("Name :"), this), 8, 10, 30, 10);
    m_name = new QLineEdit(this);
    SetControlId(m_name, kNameId);
    PlaceDlu(m_name, 40, 8, 202, 12);
    CreateBasedOnControls();
    CreateOptionControls();
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 194, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 166, 194, 50, 14);
    AddHelpButton(222, 194, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CMakeLimitFormulaDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CMakeLimitFormulaDlg::reject);
    setFixedSize(size());
}

void CMakeLimitFormulaDlg::CreateBasedOnControls()
{
    PlaceDlu(new QLabel(QStringLiteral("Based on :"), this), 8, 28, 60, 10);
    m_basedOnGroup = new QButtonGroup(this);
    auto* formula = new QRadioButton(QStringLiteral("Limit formula :"), this);
    auto* combinations = new QRadioButton(QStringLiteral("Oxide combinations :"), this);
    SetControlId(formula, kBasedOnFormulaId);
    SetControlId(combinations, kBasedOnCombinationsId);
    PlaceDlu(formula, 14, 40, 80, 10);
    PlaceDlu(combinations, 14, 56, 90, 10);
    m_basedOnGroup->addButton(formula, 0);
    m_basedOnGroup->addButton(combinations, 1);
    m_formulas = new QComboBox(this);
    SetControlId(m_formulas, kFormulaComboId);
    PlaceDlu(m_formulas, 106, 39, 136, 12);
    m_combinations = new QListWidget(this);
    m_combinations->setSelectionMode(QAbstractItemView::MultiSelection);
    SetControlId(m_combinations, kCombinationListId);
    PlaceDlu(m_combinations, 106, 56, 80, 70);
    m_weightPercent = new QCheckBox(QStringLiteral("Weight %"), this);
    SetControlId(m_weightPercent, kWeightPercentId);
    PlaceDlu(m_weightPercent, 192, 58, 50, 10);
    connect(m_basedOnGroup, &QButtonGroup::idClicked, this, &CMakeLimitFormulaDlg::EnableBasedOn);
}

void CMakeLimitFormulaDlg::CreateOptionControls()
{
    PlaceDlu(new QLabel(QStringLiteral("Use :"), this), 8, 134, 30, 10);
    m_scopeGroup = new QButtonGroup(this);
    auto* selected = new QRadioButton(QStringLiteral("Selected Glazes"), this);
    auto* all = new QRadioButton(QStringLiteral("All Glazes"), this);
    SetControlId(selected, kSelectedGlazesId);
    SetControlId(all, kAllGlazesId);
    PlaceDlu(selected, 14, 146, 80, 10);
    PlaceDlu(all, 14, 158, 80, 10);
    m_scopeGroup->addButton(selected, 0);
    m_scopeGroup->addButton(all, 1);
    PlaceDlu(new QLabel(QStringLiteral("in :"), this), 96, 146, 16, 10);
    m_databasesGroup = new QButtonGroup(this);
    auto* current = new QRadioButton(QStringLiteral("Current Database"), this);
    auto* every = new QRadioButton(QStringLiteral("All Databases"), this);
    SetControlId(current, kCurrentDatabaseId);
    SetControlId(every, kAllDatabasesId);
    PlaceDlu(current, 114, 146, 80, 10);
    PlaceDlu(every, 114, 158, 80, 10);
    m_databasesGroup->addButton(current, 0);
    m_databasesGroup->addButton(every, 1);
    PlaceDlu(new QLabel(QStringLiteral("Statistics to :"), this), 8, 176, 56, 10);
    m_toNotes = new QCheckBox(QStringLiteral("Limit Formula notes"), this);
    m_toInformation = new QCheckBox(QStringLiteral("Information window"), this);
    SetControlId(m_toNotes, kToNotesId);
    SetControlId(m_toInformation, kToInformationId);
    PlaceDlu(m_toNotes, 66, 176, 86, 10);
    PlaceDlu(m_toInformation, 156, 176, 86, 10);
}

void CMakeLimitFormulaDlg::LoadRemembered()
{
    name = g_prefs.m_strMakeLimName;
    formulaName = g_prefs.m_strMakeLimBasedOn;
    combinationNames = g_prefs.m_makeLimCombinations;
    basedOn = g_prefs.m_nMakeLimBasedOnChoice;
    weightPercent = g_prefs.m_nMakeLimWeightPct;
    allGlazes = g_prefs.m_nMakeLimAllGlazes;
    allDatabases = g_prefs.m_nMakeLimAllDatabases;
    toNotes = g_prefs.m_nMakeLimStatsToNotes;
    toInformation = g_prefs.m_nMakeLimStatsToInfo;
}

void CMakeLimitFormulaDlg::Remember() const
{
    g_prefs.m_strMakeLimName = name;
    g_prefs.m_strMakeLimBasedOn = formulaName;
    g_prefs.m_makeLimCombinations = combinationNames;
    g_prefs.m_nMakeLimBasedOnChoice = basedOn;
    g_prefs.m_nMakeLimWeightPct = weightPercent;
    g_prefs.m_nMakeLimAllGlazes = allGlazes;
    g_prefs.m_nMakeLimAllDatabases = allDatabases;
    g_prefs.m_nMakeLimStatsToNotes = toNotes;
    g_prefs.m_nMakeLimStatsToInfo = toInformation;
}

void CMakeLimitFormulaDlg::OnInitDialog()
{
    m_name->setText(FromCp1252(name));
    FillLists();
    if (QAbstractButton* button = m_basedOnGroup->button(basedOn))
        button->setChecked(true);
    m_weightPercent->setChecked(weightPercent != 0);
    if (QAbstractButton* button = m_scopeGroup->button(allGlazes))
        button->setChecked(true);
    if (QAbstractButton* button = m_databasesGroup->button(allDatabases))
        button->setChecked(true);
    m_toNotes->setChecked(toNotes != 0);
    m_toInformation->setChecked(toInformation != 0);
    EnableBasedOn();
}

void CMakeLimitFormulaDlg::FillLists()
{
    const CLimitFormulaDB* database = OpenDatabase();
    if (!database)
        return;
    int chosen = -1;
    for (int n = 0; n < database->GetCount(); ++n) {
        const std::string& formula = database->GetAt(n).m_name;
        if (chosen < 0 && EqualsNoCase(formula, formulaName))
            chosen = n;
        m_formulas->addItem(FromCp1252(formula));
    }
    m_formulas->setCurrentIndex(chosen);
    for (const auto& combination : database->m_combinations) {
        auto* item = new QListWidgetItem(FromCp1252(combination->m_name), m_combinations);
        item->setSelected(ListsName(combinationNames, combination->m_name));
    }
}

void CMakeLimitFormulaDlg::EnableBasedOn()
{
    const bool byCombinations = m_basedOnGroup->checkedId() == 1;
    m_formulas->setEnabled(!byCombinations);
    m_combinations->setEnabled(byCombinations);
    m_weightPercent->setEnabled(byCombinations);
}

void CMakeLimitFormulaDlg::FillRequest(CMakeLimitFormulaRequest& out) const
{
    out.m_name = name;
    out.m_allGlazes = allGlazes;
    out.m_allDatabases = allDatabases;
    out.m_statisticsToNotes = toNotes;
    out.m_statisticsToInformation = toInformation;
    const CLimitFormulaDB* database = OpenDatabase();
    if (!database)
        return;
    if (basedOn == 1)
        out.AddCombinationsByName(database->m_combinations, combinationNames, weightPercent != 0);
    else
        out.AddCombinationsOfFormula(*database, formulaName);
}

void CMakeLimitFormulaDlg::accept()
{
    InitDialog();
    name = ToCp1252(m_name->text());
    formulaName = ToCp1252(m_formulas->currentText());
    combinationNames.clear();
    for (int row = 0; row < m_combinations->count(); ++row) {
        if (m_combinations->item(row)->isSelected())
            combinationNames.push_back(ToCp1252(m_combinations->item(row)->text()));
    }
    basedOn = m_basedOnGroup->checkedId() == 1 ? 1 : 0;
    weightPercent = m_weightPercent->isChecked() ? 1 : 0;
    allGlazes = m_scopeGroup->checkedId() == 1 ? 1 : 0;
    allDatabases = m_databasesGroup->checkedId() == 1 ? 1 : 0;
    toNotes = m_toNotes->isChecked() ? 1 : 0;
    toInformation = m_toInformation->isChecked() ? 1 : 0;
    if (request)
        FillRequest(*request);
    CStyledDialog::accept();
}
