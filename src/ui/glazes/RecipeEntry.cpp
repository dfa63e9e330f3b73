// Recipe entry on the glaze edit form: the text form of recipe lines, the reading of the recipe
// fields into ingredient lists and back, name completion on Enter and on Tab, the leaving of a
// recipe field, the working batch size expressions, the recipe size label, the material list,
// View > Update and Check Ingredients.

#include "glazes/RecipeEntry.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "glazes/GlazeEditView.h"
#include "glazes/IngredientList.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialColumns.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/AmountLines.h"
#include "support/NumberField.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/PlainTextEditLines.h"
#include "support/TabEdit.h"
#include "support/TextHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace {

constexpr unsigned kNotInListHelpId = 197920;
constexpr unsigned kUnavailableHelpId = 197921;
constexpr unsigned kBadMappingHelpId = 197922;
constexpr unsigned kAllClearHelpId = 197923;

CMaterialArray* Materials()
{
    return g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
}

// One check's message: OK goes on, Cancel turns reporting off for the rest.
void Report(const std::string& name, const char* complaint, unsigned helpId, int& report)
{
    if (AppMessageBox("\"" + name + complaint, MsgOkCancel | MsgIconInformation, helpId) == MsgResultCancel)
        report = 0;
}

// The three checks of one recipe line while reporting is on; returns the number that fired.
int CheckLine(CMaterialArray* materials, const std::string& name, const CMaterial* material, int& report)
{
    int problems = 0;
    if (!material) {
        ++problems;
        Report(name, "\" is not in the material list", kNotInListHelpId, report);
        return problems;
    }
    if (material->m_available == 0) {
        ++problems;
        Report(name, "\" is unavailable", kUnavailableHelpId, report);
    }
    if (report == 1 && !material->m_mapTo.empty()) {
        int status = MappingOk;
        const CMaterial* end = materials->ResolveMapping(material, &status);
        if (!end || end == material) {
            ++problems;
            Report(name, "\" has an invalid mapping", kBadMappingHelpId, report);
        }
    }
    return problems;
}

} // namespace

// --- the text form of recipe lines ------------------------------------------------------------

std::string FormatInputAmount(double value)
{
    std::string text = FormatFixed(value, g_prefs.decrecipeinput);
    return StripTrailingZeros(text, g_prefs.tzsrecipeinput);
}

std::string FormatRecipeAmount(double amount)
{
    std::string text = FormatNumberWidth(amount, 4, g_prefs.decrecipeinput);
    StripTrailingZeros(text, g_prefs.tzsrecipeinput);
    return DoubledPadding(text) + text;
}

std::string FormatRecipeLine(const std::string& name, double amount)
{
    return name + "\t" + FormatRecipeAmount(amount);
}

std::string RebuildRecipeLine(const std::string& finished)
{
    std::string name;
    double amount = 0.0;
    const AmountLine kind = SplitAmountLine(finished, name, amount);
    if (kind == AmountLine::Refused)
        return finished;
    if (kind != AmountLine::Amount || !(amount > 0.0))
        return std::string();
    if (CMaterialArray* materials = Materials())
        materials->FindMaterial(name, true);
    return FormatRecipeLine(name, amount);
}

std::string CompleteRecipeName(const std::string& typed)
{
    std::string text = typed;
    TrimString(text);
    CMaterialArray* materials = Materials();
    if (text.empty())
        return text;
    if (!materials)
        return text + "\t";
    std::string found = text;
    if (materials->FindMaterial(found, true))
        return found + "\t";
    int status = PrefixNone;
    materials->FindByPrefix(text, true, &status);
    return status == PrefixAmbiguous ? text : text + "\t";
}

double RoundRecipeAmount(double amount, int p)
{
    if (amount >= 1.0)
        return RoundToPowerOfTen(amount, p);
    if (amount > 0.1)
        return RoundToPowerOfTen(amount, std::min(p, -1));
    if (amount > 0.01)
        return RoundToPowerOfTen(amount, std::min(p, -2));
    return 0.01;
}

double VolumeScaleFactor(double smallest)
{
    for (int m = 1; m <= 6; ++m) {
        if (smallest == static_cast<double>(m))
            return static_cast<double>(m + 1) / smallest;
    }
    return 1.0 / smallest;
}

bool EvaluateBatchSizeExpression(const std::string& text, double total, double& value)
{
    std::string trimmed = text;
    TrimString(trimmed);
    if (trimmed.empty())
        return false;
    const char op = trimmed.front();
    if (op != 'x' && op != 'X' && op != '*' && op != '/')
        return false;
    // The factor is read whole: "x2,5" is no factor, not 2.
    std::string rest = trimmed.substr(1);
    TrimString(rest);
    std::size_t used = 0;
    double factor = ParseDoublePrefix(rest, used);
    if (used != rest.size())
        factor = 0.0;
    if (factor <= 0.0)
        value = 0.0;
    else
        value = op == '/' ? total / factor : total * factor;
    return true;
}

// --- reading and writing recipe lines ---------------------------------------------------------

void CGlazeEditView::FormatRecipeLines(CStringArrayEx& lines, const CIngredientList& list)
{
    lines.clear();
    for (int i = 0; i < list.GetCount(); ++i)
        lines.push_back(FormatRecipeLine(list.GetAt(i).m_name, list.GetAt(i).m_amount));
}

CStringArrayEx CGlazeEditView::RecipeLines(CTabEdit* field) const
{
    CStringArrayEx lines;
    ReadWholeEditLines(*field, lines);
    return lines;
}

CRefusedLine CGlazeEditView::ReadRecipeFields(CIngredientList& components, CIngredientList& additions) const
{
    const CRefusedLine refused = ReadAmountLines(*m_components, components);
    const CRefusedLine refusedAddition = ReadAmountLines(*m_additions, additions);
    return refused ? refused : refusedAddition;
}

// The form's own writes never start a completion and never count as the user's edits.
void CGlazeEditView::SetRecipeLines(CTabEdit* field, const CStringArrayEx& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    const int completion = m_nCompletion;
    const bool loading = m_bLoading;
    m_nCompletion = 0;
    m_bLoading = true;
    field->setPlainText(EditTextFromCore(text));
    m_bLoading = loading;
    m_nCompletion = completion;
}

// --- completion ---------------------------------------------------------------------------------

void CGlazeEditView::CompleteOnEnter(CTabEdit* field)
{
    if (m_nCompletion == 0 || !field->hasFocus())
        return;
    const QTextCursor cursor = field->textCursor();
    if (cursor.hasSelection() || cursor.positionInBlock() != 0 || cursor.blockNumber() == 0)
        return;
    const QTextBlock finished = cursor.block().previous();
    const std::string original = ToCp1252(finished.text());
    if (original.empty())
        return;
    const std::string rebuilt = RebuildRecipeLine(original);
    if (rebuilt == original)
        return;
    m_nCompletion = 0;
    QTextCursor edit(finished);
    edit.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    edit.insertText(FromCp1252(rebuilt));
    field->ensureCursorVisible();
    m_nCompletion = 1;
}

// Only the text before the caret is looked up: with the caret inside a line the rest of the line
// stays after the completed name instead of appearing twice.
void CGlazeEditView::CompleteOnTab(CTabEdit* field)
{
    if (m_nCompletion == 0 || !field->hasFocus())
        return;
    QTextCursor cursor = field->textCursor();
    if (cursor.hasSelection() || cursor.positionInBlock() == 0)
        return;
    const QString typed = cursor.block().text().left(cursor.positionInBlock());
    const std::string completed = CompleteRecipeName(ToCp1252(typed));
    m_nCompletion = 0;
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(FromCp1252(completed));
    field->setTextCursor(cursor);
    field->ensureCursorVisible();
    m_nCompletion = 1;
}

// --- leaving the fields -------------------------------------------------------------------------

bool CGlazeEditView::RecipeFieldLeft(CTabEdit* field, bool tell)
{
    m_nLastRecipeField = field == m_additions ? 1 : 0;
    if (m_nModified == 0)
        return true;
    // A line whose amount is refused is no ingredient: it stays as typed, for the user to mend,
    // instead of vanishing with the rebuilt lines. A save or a tool selects it.
    CIngredientList list;
    const CRefusedLine refused = ReadAmountLines(*field, list);
    if (refused) {
        if (tell)
            m_refusals.Show(refused.Message());
    } else {
        CStringArrayEx lines;
        FormatRecipeLines(lines, list);
        if (lines != RecipeLines(field))
            SetRecipeLines(field, lines);
    }
    RefreshAnalysis();
    UpdateRecipeSize();
    return !refused;
}

bool CGlazeEditView::BatchSizeLeft(bool tell)
{
    if (m_nModified == 0)
        return true;
    CIngredientList components;
    const CRefusedLine refusedLine = ReadAmountLines(*m_components, components);
    const std::string text = ToCp1252(m_batchSize->text());
    double value = 0.0;
    const bool expression = EvaluateBatchSizeExpression(text, components.GetTotalAmount(), value);
    // "x2" of components one of which is refused would scale a total the recipe does not have.
    if (expression && refusedLine)
        return tell && RefuseRecipeLine(refusedLine);
    // A size the field cannot hold ("1e999", "x1e999") or no number at all ("12abc") is
    // refused; the field shows the form's working batch size again.
    const std::string refusal = expression ? (value <= kMaxRecipeAmount ? "" : NumberRangeMessage(0.0, kMaxRecipeAmount))
                                           : NumberTextRefusal(text, kMaxRecipeAmount);
    if (!refusal.empty() && !tell)
        return false;
    if (!refusal.empty() || expression) {
        const bool loading = m_bLoading;
        m_bLoading = true;
        m_batchSize->setText(FromCp1252(refusal.empty() ? FormatInputAmount(value) : FormatInputAmount(m_work.m_batchSize)));
        m_bLoading = loading;
    }
    if (!refusal.empty())
        RefuseBatchSize(refusal);
    RefreshAnalysis();
    return refusal.empty();
}

// --- what a save and a recipe tool may take ----------------------------------------------------

void CGlazeEditView::RefuseBatchSize(const std::string& message)
{
    ShowPage(kPageRecipe);
    m_refusals.RefuseField(m_batchSize, message);
}

bool CGlazeEditView::RefuseRecipeLine(const CRefusedLine& refused)
{
    ShowPage(kPageRecipe);
    return RefuseAmountLine(refused, m_refusals);
}

bool CGlazeEditView::CommitForSave()
{
    const bool left = CommitPendingEdit();
    return CanSaveForm() && left;
}

bool CGlazeEditView::CanSaveForm()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return false;
    const std::string refusal = NumberTextRefusal(ToCp1252(m_batchSize->text()), kMaxRecipeAmount);
    if (!refusal.empty())
        RefuseBatchSize(refusal);
    return refusal.empty();
}

bool CGlazeEditView::ReadRecipe(CIngredientList& components, CIngredientList& additions)
{
    const CRefusedLine refused = ReadRecipeFields(components, additions);
    return !refused || RefuseRecipeLine(refused);
}

// --- the recipe size label, the material list, Update -----------------------------------------

void CGlazeEditView::UpdateRecipeSize()
{
    QPushButton* scale = Button(kGedScaleBatch);
    QPushButton* scale100 = Button(kGedScale100);
    if (m_byVolume->isChecked()) {
        m_recipeSize->clear();
        scale->setText(QStringLiteral("Scale Recipe"));
        scale100->hide();
        return;
    }
    // The size of the lines the form can read; one it refuses is named, not silently left out.
    CIngredientList components;
    const CRefusedLine refused = ReadAmountLines(*m_components, components);
    std::string size = "Recipe size : " + FormatInputAmount(components.GetTotalAmount()) + " g";
    if (refused)
        size += " (line " + std::to_string(refused.line + 1) + " left out)";
    m_recipeSize->setText(FromCp1252(size));
    scale->setText(QStringLiteral("Scale to W.B.S."));
    scale100->show();
}

void CGlazeEditView::FillMaterialList()
{
    m_materialList->clear();
    if (const CMaterialArray* materials = Materials()) {
        for (int i = 0; i < materials->GetCount(); ++i)
            m_materialList->addItem(FromCp1252(materials->GetAt(i)->m_displayKey));
    }
    m_bMaterialsFilled = true;
}

void CGlazeEditView::InsertMaterial(int row)
{
    const CMaterialArray* materials = Materials();
    const CMaterial* material = materials && row >= 0 && row < materials->GetCount() ? materials->GetAt(row) : nullptr;
    if (!material)
        return;
    CTabEdit* field = m_nLastRecipeField == 1 ? m_additions : m_components;
    QTextCursor cursor(field->document());
    cursor.movePosition(QTextCursor::End);
    std::string text;
    if (!cursor.block().text().isEmpty())
        text = "\r\n";
    text += material->m_name + "\t100\r\n";
    m_nCompletion = 0;
    cursor.insertText(EditTextFromCore(text));
    field->setTextCursor(cursor);
    field->ensureCursorVisible();
    m_nCompletion = 1;
    SetModified(1);
    RefreshAnalysis();
    UpdateRecipeSize();
}

void CGlazeEditView::OnUpdateRecipe()
{
    QWidget* focus = QApplication::focusWidget();
    CTabEdit* focused = focus == m_additions ? m_additions : focus == m_components ? m_components : nullptr;
    if (focused) {
        // As if the focus went to the other field and back: both are left and reformatted.
        CTabEdit* other = focused == m_components ? m_additions : m_components;
        RecipeFieldLeft(focused, true);
        RecipeFieldLeft(other, true);
        focused->setFocus();
        focused->moveCursor(QTextCursor::End);
        focused->ensureCursorVisible();
    }
    RefreshAnalysis();
    UpdateRecipeSize();
}

// A line the form refuses is told first: the check of the others cannot speak for the recipe.
void CGlazeEditView::CheckIngredients()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    CMaterialArray* materials = Materials();
    int report = 1;
    int problems = 0;
    for (const CIngredientList* list : {&components, &additions}) {
        for (int i = 0; i < list->GetCount() && report == 1; ++i) {
            std::string name = list->GetAt(i).m_name;
            const CMaterial* material = materials ? materials->FindMaterial(name, true) : nullptr;
            problems += CheckLine(materials, name, material, report);
        }
    }
    if (problems == 0)
        AppMessageBox("All ingredients are in the material list, available, and have correct mapping",
                      MsgOk | MsgIconInformation, kAllClearHelpId);
}
