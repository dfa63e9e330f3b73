#include "tools/OptimizeDlg.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "glazes/Glaze.h"
#include "glazes/RecipeByVolume.h"
#include "shell/Preferences.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"
#include "support/ToggleButton.h"
#include "tools/OptimizeDispositionDlg.h"
#include "tools/OptimizeDlgLoad.h"
#include "tools/OptimizePrefsDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

COptimizeDlg::COptimizeDlg(QWidget* parent) : CStyledDialog(parent, kOptimizeHelpId)
{
    setWindowTitle(QStringLiteral("Optimize"));
    ResizeDlu(340, 260);
    BuildPageButtons();
    BuildPages();
    BuildBottomButtons();
}

COptimizeDlg::~COptimizeDlg() = default;

COptConstraintRow& COptimizeDlg::OxideRow(int column, int row)
{
    return m_oxideRows[static_cast<std::size_t>(column * kOptRowsPerColumn + row)];
}

QPushButton* COptimizeDlg::Button(int id) const
{
    return findChild<QPushButton*>(QString::number(id));
}

void COptimizeDlg::OnInitDialog()
{
    if (!titleSuffix.empty())
        setWindowTitle(QStringLiteral("Optimize - ") + FromCp1252(titleSuffix));
    leftPaneMode = g_prefs.m_nOptimizeLeftPane == 2 ? 2 : 1;
    rightPaneMode = g_prefs.m_nOptimizeRightPane >= 1 && g_prefs.m_nOptimizeRightPane <= 3
                        ? g_prefs.m_nOptimizeRightPane
                        : 1;
    loadDatabaseIndex = currentDatabaseIndex;
    loadGlazeIndex = currentGlazeIndex;
    for (int page = 0; page < kOptPageCount; ++page) {
        m_pageButtons[static_cast<std::size_t>(page)]->Setup(
            GetNamedColor("dlg_misc_bkg"), GetNamedColor("mono_ltgray"), CColor{0, 0, 0}, CColor{0, 0, 0},
            CToggleButton::ArrowNone, 1, 0, ToCp1252(m_pageButtons[static_cast<std::size_t>(page)]->text()));
    }
    m_leftPane->setFont(EditBoxFont(m_leftPane->font()));
    m_rightPane->setFont(EditBoxFont(m_rightPane->font()));
    BuildColumnLayout();
    ShowParams();
    ShowPanes();
    ShowPage(kOptPageOxides1);
}

void COptimizeDlg::ShowPage(int page)
{
    InitDialog();
    if (page < 0 || page >= kOptPageCount || page == m_currentPage)
        return;
    if (m_currentPage >= 0) {
        m_pages[static_cast<std::size_t>(m_currentPage)]->hide();
        m_pageButtons[static_cast<std::size_t>(m_currentPage)]->state = 0;
        m_pageButtons[static_cast<std::size_t>(m_currentPage)]->Redraw();
    }
    m_pages[static_cast<std::size_t>(page)]->show();
    m_pageButtons[static_cast<std::size_t>(page)]->state = 1;
    m_pageButtons[static_cast<std::size_t>(page)]->Redraw();
    m_currentPage = page;
}

void COptimizeDlg::OnUnit(int unit)
{
    m_oxideUnit = unit;
    for (QButtonGroup* group : m_unitGroups)
        group->button(unit)->setChecked(true);
    ShowPercentLabels();
    RefreshSum();
}

// The names the user unchecked stay unchecked in the new list.
void COptimizeDlg::OnMaterialChoice(int all)
{
    CStringArrayEx excluded;
    for (const auto& [name, checked] : AllowedEntries()) {
        if (!checked)
            excluded.push_back(name);
    }
    m_allMaterials = all;
    FillAllowedList(excluded);
}

void COptimizeDlg::OnCheckAll(bool checked)
{
    for (int row = 0; row < m_allowedList->count(); ++row)
        m_allowedList->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void COptimizeDlg::OnClearMaterials()
{
    params.m_materialConstraints.RemoveAll();
    ShowMaterialConstraints();
}

void COptimizeDlg::OnClearConstraints()
{
    params = COptimizationParams();
    ShowParams();
}

void COptimizeDlg::OnLoadConstraints()
{
    GatherParams();
    CLoadOptParamsDlg dialog(this);
    dialog.currentDatabase = currentDatabaseIndex;
    dialog.currentGlaze = currentGlazeIndex;
    dialog.database = loadDatabaseIndex;
    dialog.glaze = loadGlazeIndex;
    dialog.formula = loadFormulaIndex;
    if (dialog.exec() != QDialog::Accepted)
        return;
    loadDatabaseIndex = dialog.database;
    loadGlazeIndex = dialog.glaze;
    loadFormulaIndex = dialog.formula;
    const bool fromFormula = dialog.choice.source == kLoadFromLimitFormula;
    LoadOptimizationParams(dialog.choice, fromFormula ? nullptr : dialog.SourceGlaze(),
                           fromFormula ? dialog.ChosenFormula() : nullptr, params, kLoadOptParamsHelpId);
    ShowParams();
}

void COptimizeDlg::OnSetup()
{
    if (!RunOptimizePrefsDialog(this))
        return;
    GatherParams();
    BuildColumnLayout();
    ShowParams();
}

void COptimizeDlg::OnLeftPane(int mode)
{
    leftPaneMode = mode;
    ShowPanes();
}

void COptimizeDlg::OnRightPane(int mode)
{
    rightPaneMode = mode;
    ShowPanes();
}

void COptimizeDlg::OnSave()
{
    if (!CheckValueFields())
        return;
    GatherParams();
    CDispositionDlg dialog(this);
    dialog.saveParameters = true;
    dialog.recipeAvailable = !resultRecipe.empty();
    dialog.saveRecipe = dialog.recipeAvailable;
    dialog.scale = false;
    dialog.currentAvailable = currentGlazeIndex >= 0;
    dialog.where = dialog.currentAvailable ? kDispositionCurrentGlaze : kDispositionNewGlaze;
    if (dialog.exec() != QDialog::Accepted)
        return;
    saveParameters = dialog.saveParameters;
    saveRecipe = dialog.saveRecipe;
    scaleRecipe = dialog.scale;
    scaleTo = dialog.scaleTo;
    newGlaze = dialog.where != kDispositionCurrentGlaze;
    newGlazeName = dialog.newName;
    CIngredientList recipe = resultRecipe;
    std::vector<std::string> noDensity;
    if (saveRecipe && !newGlaze && currentByVolume && !ConvertByDensity({&recipe}, false, noDensity)) {
        AppMessageBox(NoDensityMessage(noDensity, "The glaze's recipe is by volume: every line needs a density. Save "
                                                  "the recipe into a new glaze, or give the material a density first."),
                      MsgOk | MsgIconExclamation, kDensityUnknownHelpId);
        return;
    }
    double target = 0.0;
    ReadNumberText(scaleTo, target);
    const double total = recipe.GetTotalAmount();
    if (saveRecipe && scaleRecipe && target > 0.0 && total > 0.0) {
        for (auto& line : recipe)
            line->m_amount *= target / total;
    }
    resultRecipe = std::move(recipe);
    accept();
}

// Save's end: the pane modes are kept for the next Optimize dialog.
void COptimizeDlg::accept()
{
    g_prefs.m_nOptimizeLeftPane = leftPaneMode;
    g_prefs.m_nOptimizeRightPane = rightPaneMode;
    CStyledDialog::accept();
}

std::vector<std::pair<std::string, bool>> COptimizeDlg::AllowedEntries() const
{
    std::vector<std::pair<std::string, bool>> entries;
    for (int row = 0; row < m_allowedList->count(); ++row) {
        const QListWidgetItem* item = m_allowedList->item(row);
        entries.emplace_back(ToCp1252(item->text()), item->checkState() == Qt::Checked);
    }
    return entries;
}

bool RunOptimize(COptimizeRequest& request, QWidget* parent)
{
    COptimizeDlg dialog(parent);
    dialog.params = request.params;
    dialog.titleSuffix = request.titleSuffix;
    dialog.currentGlazeIndex = request.glazeIndex;
    dialog.currentDatabaseIndex = request.databaseIndex;
    dialog.currentByVolume = request.byVolume;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.params = dialog.params;
    request.saveParameters = dialog.saveParameters;
    request.saveRecipe = dialog.saveRecipe;
    request.where = dialog.newGlaze ? kDispositionNewGlaze : kDispositionCurrentGlaze;
    request.newName = dialog.newGlazeName;
    request.recipe = dialog.resultRecipe;
    return true;
}

CGlaze MakeOptimizedGlaze(const COptimizeRequest& request)
{
    CGlaze glaze("new glaze");
    if (request.saveParameters)
        glaze.GetOptimizationParams() = request.params;
    if (request.saveRecipe)
        glaze.m_components = request.recipe;
    std::string name = request.newName;
    if (!TrimString(name).empty())
        glaze.m_name = name;
    return glaze;
}
