// The material edit view's formula tools: the check when the formula box is left, the weight or
// percentage-sum display, Convert, Normalize, Add LOI, the Edit Formula dialog and Check
// Material. All parsing happens on a scratch record; the field changes only through these
// operations, and each change marks the view changed.

#include "materials/MaterialEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "materials/CheckMaterial.h"
#include "materials/EditFormulaDlg.h"
#include "materials/FormulaConversionDlg.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/FocusWatcher.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace {

bool IsPercentFormula(const CMaterial& material)
{
    return material.m_isWeightPercent || material.m_isMolePercent;
}

double RoundedToFormulaDecimals(double value)
{
    return RoundToPowerOfTen(value, -g_prefs.decformulas);
}

} // namespace

std::string InvalidFormulaMessage(const std::string& error)
{
    return "Invalid formula!\n    " + error;
}

bool CMaterialEditView::ParseFieldFormula(CMaterial& scratch) const
{
    return scratch.SetFormula(FormulaText()) == 0;
}

void CMaterialEditView::ShowWeight(double value, bool percent)
{
    if (value < 0.0)
        m_weight->clear();
    else
        m_weight->setText(FromCp1252(FormatFixed(value, 1) + (percent ? "%" : "")));
    m_weightLabel->setVisible(!percent);
}

void CMaterialEditView::UpdateWeightDisplay(const std::string* text)
{
    CMaterial scratch("new material");
    if (scratch.SetFormula(text ? *text : FormulaText()) != 0) {
        ShowWeight(-1.0, false);
        return;
    }
    if (IsPercentFormula(scratch))
        ShowWeight(scratch.m_percentSum, true);
    else
        ShowWeight(scratch.m_formulaWeight, false);
}

void CMaterialEditView::ReportFormulaError(const std::string& text, const std::string& error, int position)
{
    m_reportedFormula = text;
    const auto tell = [&] {
        AppMessageBox(InvalidFormulaMessage(error), MsgOk | MsgIconError, kMatEditFormulaErrorHelpId);
    };
    HandFocusToRefused(m_formula, tell, [&] {
        QTextCursor cursor = m_formula->textCursor();
        cursor.setPosition(std::clamp(position, 0, static_cast<int>(m_formula->toPlainText().size())));
        m_formula->setTextCursor(cursor);
        m_formula->ensureCursorVisible();
    });
    ShowWeight(-1.0, false);
}

void CMaterialEditView::FormulaEntered()
{
    std::string text = FormulaText();
    if (text.empty()) {
        UpdateWeightDisplay(&text);
        return;
    }
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    TrimString(text);
    SetFormulaText(text);
    CMaterial scratch("new material");
    std::string error;
    int position = 0;
    if (scratch.SetFormula(text, &error, &position) != 0) {
        // Leaving the box again without touching the text does not repeat the message.
        if (text != m_reportedFormula)
            ReportFormulaError(text, error, position);
        ShowWeight(-1.0, false);
        return;
    }
    m_reportedFormula.clear();
    UpdateWeightDisplay(&text);
}

bool CMaterialEditView::CheckFormulaBeforeSave()
{
    std::string text = FormulaText();
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    TrimString(text);
    CMaterial scratch("new material");
    std::string error;
    int position = 0;
    if (text.empty() || scratch.SetFormula(text, &error, &position) == 0)
        return true;
    SetFormulaText(text);
    // A save that does not happen says why, however often the formula was reported before.
    ReportFormulaError(text, error, position);
    return false;
}

// --- the formula commands -------------------------------------------------------------------------

bool CMaterialEditView::FormulaCommandChecks(CMaterial& scratch)
{
    // A mapped material's formula comes from the material it maps to.
    if (!ToCp1252(m_mapTo->text()).empty())
        return false;
    std::string error;
    if (scratch.SetFormula(FormulaText(), &error) != 0) {
        AppMessageBox("Error in formula:\n  " + error, MsgOk | MsgIconError, kMatEditFormulaErrorHelpId);
        return false;
    }
    if (scratch.m_formulaWeight == 0.0 && scratch.m_percentSum == 0.0) {
        AppMessageBox("Formula is empty", MsgOk | MsgIconError, kMatEditFormulaEmptyHelpId);
        return false;
    }
    return true;
}

void CMaterialEditView::ConvertFormula()
{
    CMaterial scratch("new material");
    if (!FormulaCommandChecks(scratch))
        return;
    if (IsPercentFormula(scratch) && RoundToPowerOfTen(scratch.m_percentSum, 0) != 100.0) {
        AppMessageBox("Percentages must add to 100% before conversion", MsgOk | MsgIconError, kMatEditNot100HelpId);
        return;
    }
    CFormulaConversionDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    dialog.SetMaterial(scratch);
    if (dialog.exec() != QDialog::Accepted)
        return;
    scratch.ConvertFormula(dialog.choice, dialog.unityTarget, dialog.decimals, dialog.minDecimals, dialog.loiOxide);
    if (scratch.m_formula == FormulaText())
        return;
    SetFormulaText(scratch.m_formula);
    if (IsPercentFormula(scratch))
        ShowWeight(scratch.m_percentSum, true);
    else
        ShowWeight(scratch.m_formulaWeight, false);
    SetChanged(true);
}

void CMaterialEditView::NormalizeWithMode(int mode)
{
    CMaterial scratch("new material");
    if (!FormulaCommandChecks(scratch))
        return;
    if (scratch.m_hasForcedSum) {
        AppMessageBox(mode == 0 ? "Cannot normalize when formula has forced % sum"
                                : "Cannot add LOI when formula has forced % sum",
                      MsgOk | MsgIconError, kMatEditForcedSumHelpId);
        return;
    }
    scratch.NormalizePercentages(mode);
    if (scratch.m_formula == FormulaText())
        return;
    SetFormulaText(scratch.m_formula);
    ShowWeight(scratch.m_percentSum, true);
    SetChanged(true);
}

void CMaterialEditView::NormalizeFormula()
{
    NormalizeWithMode(0);
}

void CMaterialEditView::AddLoi()
{
    NormalizeWithMode(1);
}

bool CMaterialEditView::CanConvert()
{
    CMaterial scratch("new material");
    if (!ToCp1252(m_mapTo->text()).empty() || !ParseFieldFormula(scratch) || scratch.m_formulaWeight == 0.0)
        return false;
    return !IsPercentFormula(scratch) || RoundToPowerOfTen(scratch.m_percentSum, 0) == 100.0;
}

bool CMaterialEditView::CanNormalize()
{
    CMaterial scratch("new material");
    if (!ToCp1252(m_mapTo->text()).empty() || !ParseFieldFormula(scratch) || scratch.m_formulaWeight == 0.0)
        return false;
    return IsPercentFormula(scratch) && !scratch.m_hasForcedSum &&
           RoundedToFormulaDecimals(scratch.m_percentSum) != 100.0;
}

bool CMaterialEditView::CanAddLoi()
{
    CMaterial scratch("new material");
    if (!ToCp1252(m_mapTo->text()).empty() || !ParseFieldFormula(scratch) || scratch.m_formulaWeight == 0.0)
        return false;
    return IsPercentFormula(scratch) && !scratch.m_hasForcedSum &&
           RoundedToFormulaDecimals(scratch.m_percentSum) < 100.0;
}

void CMaterialEditView::EditFormula()
{
    CEditFormulaDlg dialog(this, FormulaText());
    dialog.backgroundColor = GetNamedColor("med_bkg");
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::string result = dialog.formula;
    // A percentage prefix alone is no formula.
    if (result == "% " || result == "%m ")
        result.clear();
    SetFormulaText(result);
    UpdateWeightDisplay(&result);
    SetChanged(true);
}

// --- Check Material -------------------------------------------------------------------------------

void CMaterialEditView::CheckMaterial()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    ReadAliasRowsIntoLists();
    CMaterialCheckFields fields;
    for (const std::string& key : {ToCp1252(m_name->text()), ToCp1252(m_code->text())}) {
        if (!key.empty())
            fields.keys.push_back(key);
    }
    for (const std::vector<std::string>* list : {&m_aliases, &m_aliasCodes}) {
        for (const std::string& key : *list) {
            if (!key.empty())
                fields.keys.push_back(key);
        }
    }
    fields.mapping = ToCp1252(m_mapTo->text());
    fields.formula = FormulaText();
    const CMaterialCheckResult result = CheckMaterialFields(doc->Materials(), CurrentIndex(), CurrentRecord(), fields);
    if (!result.formulaRepaired)
        return;
    SetFormulaText(fields.formula);
    ShowWeight(100.0, true);
    SetChanged(true);
}
