// The events of the Formula to Batch Calculation dialog: each takes the boxes into the
// calculator, runs the calculator's answer and shows the result, then puts the focus where the
// user goes next.

#include "tools/BatchCalcDlg.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "materials/EditFormulaDlg.h"
#include "materials/FormulaConversionDlg.h"
#include "materials/Material.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "tools/BatchCalcPrefsDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// While the Edit Formula or Formula Conversion dialog is open over the calculator, formulas are
// written with the remainders' decimals; the formula settings come back however it ends.
class CFormulaNumbersAsRemainders {
public:
    CFormulaNumbersAsRemainders() : m_decimals(g_prefs.decformulas), m_kept(g_prefs.tzsformulas)
    {
        g_prefs.decformulas = g_prefs.decremainders;
        g_prefs.tzsformulas = g_prefs.tzsremainders;
    }
    ~CFormulaNumbersAsRemainders()
    {
        g_prefs.decformulas = m_decimals;
        g_prefs.tzsformulas = m_kept;
    }
    CFormulaNumbersAsRemainders(const CFormulaNumbersAsRemainders&) = delete;
    CFormulaNumbersAsRemainders& operator=(const CFormulaNumbersAsRemainders&) = delete;

private:
    int m_decimals;
    int m_kept;
};

// A percentage formula without components is no formula.
bool IsEmptyPercentFormula(const std::string& text)
{
    return text == "% " || text == "%m " || text == "%" || text == "%m";
}

int ItemData(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->data(Qt::UserRole).toInt();
}

} // namespace

template <class Operation>
void CBatchCalcDlg::Run(Operation operation)
{
    TakeBoxes();
    operation();
    ShowCalc();
}

void CBatchCalcDlg::OnUseMaterial()
{
    // An amount that is no number ("2,5") is refused, not used as the number it begins with.
    if (!CheckOptionalNumberField(m_amount->lineEdit(), kMaxRecipeAmount))
        return;
    bool added = false;
    Run([&] { added = calc.UseMaterial(); });
    if (added)
        m_material->setFocus();
}

void CBatchCalcDlg::OnMakeSuggestion()
{
    Run([&] { calc.MakeSuggestion(); });
    if (calc.GetSuggestions().empty())
        m_material->setFocus();
}

void CBatchCalcDlg::OnUndoLastMaterial()
{
    const bool hadRecipe = !calc.GetRecipe().empty();
    Run([&] { calc.UndoLastMaterial(); });
    if (hadRecipe)
        Button(kBatchUseMaterial)->setFocus();
}

void CBatchCalcDlg::OnRestartFromFormula()
{
    Run([&] { calc.RestartFromFormula(); });
    m_material->setFocus();
}

void CBatchCalcDlg::OnCombineKNa(bool combine)
{
    Run([&] { calc.SetCombineKNa(combine); });
}

void CBatchCalcDlg::OnRemainderUnit(int unit)
{
    Run([&] { calc.SetRemainderUnit(unit); });
}

void CBatchCalcDlg::OnRemainderPicked(int list, int row)
{
    if (m_showing || row < 0)
        return;
    const QListWidgetItem* item = m_remainderLists[static_cast<std::size_t>(list)]->item(row);
    if (!item)
        return;
    const int z = item->data(Qt::UserRole).toInt();
    Run([&] { calc.SelectRemainderOxide(z); });
    Button(kBatchUseMaterial)->setFocus();
}

void CBatchCalcDlg::OnMaterialsListPicked()
{
    if (m_showing)
        return;
    const QList<QListWidgetItem*> selected = m_materialsList->selectedItems();
    const int row = selected.isEmpty() ? -1 : m_materialsList->row(selected.front());
    Run([&] { calc.SelectMaterialAt(row); });
    Button(kBatchUseMaterial)->setFocus();
}

void CBatchCalcDlg::OnMaterialsListDoubleClicked()
{
    OnUseMaterial();
    m_material->setFocus();
}

void CBatchCalcDlg::OnListPicked()
{
    if (m_showing)
        return;
    const int data = ItemData(m_recipeList);
    Run([&] { calc.SelectListItem(data); });
    Button(kBatchUseMaterial)->setFocus();
}

void CBatchCalcDlg::OnListDoubleClicked()
{
    OnUseMaterial();
    m_material->setFocus();
}

void CBatchCalcDlg::OnListMode(int mode)
{
    Run([&] { calc.SetListMode(mode); });
}

void CBatchCalcDlg::OnMaterialLeft()
{
    if (m_showing)
        return;
    Run([&] { calc.LeaveMaterialBox(); });
}

void CBatchCalcDlg::OnAmountLeft()
{
    // Text that is no amount stays as typed until Use Material refuses it.
    if (m_showing || !NumberTextRefusal(ToCp1252(m_amount->currentText()), kMaxRecipeAmount).empty())
        return;
    Run([&] { calc.AnalyseAmount(ParseDouble(calc.m_amountText), nullptr); });
}

void CBatchCalcDlg::OnAmountChoice(int index)
{
    const int choice = m_amount->itemData(index).toInt();
    if (choice < 0 || choice >= static_cast<int>(calc.GetAmountChoices().size()))
        return;
    const double amount = calc.GetAmountChoices()[static_cast<std::size_t>(choice)].amount;
    Run([&] { calc.AnalyseAmount(amount, nullptr); });
}

void CBatchCalcDlg::OnFormulaLeft()
{
    if (m_showing)
        return;
    Run([&] { calc.CheckFormulaBox(); });
}

void CBatchCalcDlg::OnMaterialInfo()
{
    TakeBoxes();
    const std::string text = calc.BuildMaterialInformation();
    if (!text.empty())
        AppMessageBox(text, MsgOk | MsgIconInformation, kBatchCalcHelpId);
}

// The remainders follow the new formula only at Restart from Formula.
void CBatchCalcDlg::OnEditFormula()
{
    TakeBoxes();
    const CFormulaNumbersAsRemainders numbers;
    CEditFormulaDlg dialog(this, calc.m_formulaText);
    dialog.backgroundColor = backgroundColor;
    if (dialog.exec() != QDialog::Accepted)
        return;
    calc.m_formulaText = IsEmptyPercentFormula(dialog.formula) ? std::string() : dialog.formula;
    ShowCalc();
}

void CBatchCalcDlg::OnConvertFormula()
{
    TakeBoxes();
    CMaterial material("new material");
    if (calc.PrepareFormulaConversion(material) != 0)
        return;
    const CFormulaNumbersAsRemainders numbers;
    CFormulaConversionDlg dialog(this);
    dialog.backgroundColor = backgroundColor;
    dialog.SetMaterial(material);
    if (dialog.exec() != QDialog::Accepted)
        return;
    material.ConvertFormula(dialog.choice, dialog.unityTarget, dialog.decimals, dialog.minDecimals, dialog.loiOxide);
    calc.m_formulaText = material.m_formula;
    ShowCalc();
}

// The remainder unit radio keeps its state: the preference is the unit of the next calculation.
void CBatchCalcDlg::OnSetup()
{
    if (RunBatchPrefsDialog(this))
        Run([&] { calc.PreferencesChanged(); });
}

void CBatchCalcDlg::accept()
{
    if (!calc.FinishOk())
        return;
    CStyledDialog::accept();
}
