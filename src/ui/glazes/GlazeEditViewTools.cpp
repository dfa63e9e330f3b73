// The recipe tools of the glaze edit form: weight and volume conversion, scaling, rounding,
// Scale to Ingredient, Make Substitution and Edit Ingredients. Each reads both recipe fields into
// scratch lists, changes the lists and writes them back into the fields; saving is left to Save
// Changes. A tool does nothing to fields that hold a line it would drop (ReadRecipe). The tools
// that count in grams (Batch Calculation, Optimize, Make Substitution and the batch size of Scale
// to Ingredient) take a recipe by volume as weights and hand their answer back as volumes.

#include "glazes/GlazeEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/IngredientList.h"
#include "glazes/RecipeByVolume.h"
#include "glazes/RecipeEntry.h"
#include "glazes/ScaleToIngredientDlg.h"
#include "materials/MaterialsDoc.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "substitutions/ChooseSubstitutionDlg.h"
#include "substitutions/GlazeSubstitution.h"
#include "substitutions/Substitution.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/NumberField.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TabEdit.h"
#include "support/TextHelpers.h"
#include "tools/BatchCalcDlg.h"
#include "tools/BatchScopeDlg.h"
#include "tools/OptimizeDispositionDlg.h"
#include "tools/OptimizeDlg.h"

#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned kNoSubstitutionsHelpId = 197952;
constexpr unsigned kAdjustRecipeHelpId = 197968;
constexpr unsigned kIngredientAmountHelpId = 198176;

void Multiply(CIngredientList& list, double factor)
{
    for (int i = 0; i < list.GetCount(); ++i)
        list.GetAt(i).m_amount *= factor;
}

bool AskToAdjust(double target)
{
    return AppMessageBox("Do you want to adjust the recipe so the components add up to " + FormatInputAmount(target) + "?",
                         MsgYesNo | MsgIconQuestion, kAdjustRecipeHelpId) == MsgResultYes;
}

} // namespace

void CGlazeEditView::WriteBack(const CIngredientList& components, const CIngredientList& additions)
{
    CStringArrayEx lines;
    FormatRecipeLines(lines, components);
    SetRecipeLines(m_components, lines);
    FormatRecipeLines(lines, additions);
    SetRecipeLines(m_additions, lines);
    RefreshAnalysis();
    UpdateRecipeSize();
}

// All lines or none: one material without a density leaves the recipe and its unit alone.
void CGlazeEditView::ConvertWeightVolume()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    const bool byVolume = m_byVolume->isChecked();
    if (!ConvertByDensityAsking({&components, &additions}, byVolume))
        return;
    m_byVolume->setChecked(!byVolume);
    SetModified(1);
    WriteBack(components, additions);
}

void CGlazeEditView::ScaleRecipe()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    if (components.GetCount() > 0 && !m_byVolume->isChecked()) {
        const std::string batchText = ToCp1252(m_batchSize->text());
        if (const std::string refusal = NumberTextRefusal(batchText, kMaxRecipeAmount); !refusal.empty()) {
            RefuseBatchSize(refusal);
            return;
        }
        const double total = components.GetTotalAmount();
        double batch = 0.0;
        ReadNumberText(batchText, batch);
        if (batch < 1.0) {
            const double rounded = std::floor(total * 1000.0 + 0.5) * 0.001;
            m_batchSize->setText(FromCp1252(FormatDoubleShortest(rounded)));
        } else if (total > 0.0 && total != batch && AskToAdjust(batch)) {
            Multiply(components, batch / total);
            Multiply(additions, batch / total);
        }
    } else if (components.GetCount() > 0) {
        double smallest = components.GetAt(0).m_amount;
        for (int i = 0; i < components.GetCount(); ++i) {
            const double amount = components.GetAt(i).m_amount;
            if (amount > 0.0 && amount < smallest)
                smallest = amount;
        }
        if (smallest > 0.0) {
            const double factor = VolumeScaleFactor(smallest);
            Multiply(components, factor);
            Multiply(additions, factor);
        }
    }
    SetModified(1);
    WriteBack(components, additions);
}

void CGlazeEditView::ScaleTo100()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    if (components.GetCount() > 0 && !m_byVolume->isChecked()) {
        const double total = components.GetTotalAmount();
        if (total > 0.0 && total != 100.0 && AskToAdjust(100.0)) {
            Multiply(components, 100.0 / total);
            Multiply(additions, 100.0 / total);
        }
    }
    if (components.GetCount() > 0)
        SetModified(1);
    WriteBack(components, additions);
}

void CGlazeEditView::RoundOffAmounts(int p)
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    for (CIngredientList* list : {&components, &additions}) {
        for (int i = 0; i < list->GetCount(); ++i)
            list->GetAt(i).m_amount = RoundRecipeAmount(list->GetAt(i).m_amount, p);
    }
    WriteBack(components, additions);
    SetModified(1);
}

void CGlazeEditView::ScaleToIngredient()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    CIngredientList lines = components;
    lines.Append(additions);
    CScaleToIngredientDlg dialog(this);
    for (int i = 0; i < lines.GetCount(); ++i) {
        dialog.ingredients.push_back(lines.GetAt(i).m_name);
        dialog.amounts.push_back(FormatFixed(lines.GetAt(i).m_amount, g_prefs.decrecipeinput));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.row < 0 || dialog.row >= lines.GetCount())
        return;
    const std::size_t row = static_cast<std::size_t>(dialog.row);
    std::string text = dialog.amount;
    TrimString(text);
    const double present = lines.GetAt(dialog.row).m_amount;
    double wanted = 0.0;
    const bool number = ReadNumberText(text, wanted);
    if (text == dialog.amounts[row] || (number && wanted == ParseDouble(dialog.amounts[row])))
        return;
    if (wanted <= 0.0) {
        AppMessageBox("Ingredient amount must be a positive number", MsgOk | MsgIconError, kIngredientAmountHelpId);
        return;
    }
    if (dialog.workingBatchOnly) {
        // The working batch size is in grams, also for a recipe by volume.
        CIngredientList weighed[2] = {components, additions};
        if (m_byVolume->isChecked() && !ConvertByDensityAsking({&weighed[0], &weighed[1]}, true))
            return;
        double total = weighed[0].GetTotalAmount();
        if (total <= 0.0)
            total = weighed[1].GetTotalAmount();
        m_batchSize->setText(FromCp1252(FormatInputAmount(total * wanted / present)));
    } else {
        Multiply(components, wanted / present);
        Multiply(additions, wanted / present);
    }
    WriteBack(components, additions);
    SetModified(1);
}

void CGlazeEditView::MakeSubstitution()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    CSubstitutionList* substitutions = g_pSubstitutionsDoc ? &g_pSubstitutionsDoc->Substitutions() : nullptr;
    if (!substitutions || substitutions->GetCount() == 0) {
        AppMessageBox("No substitutions available", MsgOk | MsgIconError, kNoSubstitutionsHelpId);
    } else {
        CChooseSubstitutionDlg dialog(this);
        dialog.backgroundColor = GetNamedColor("ged_tab");
        dialog.SelectSubstitution(0);
        if (dialog.exec() == QDialog::Accepted && dialog.current >= 0) {
            std::vector<std::string> noDensity;
            const CSubstitution* substitution = substitutions->GetAt(dialog.current);
            if (substitution && ApplySubstitutionToRecipe(*substitution, dialog.reverse, m_byVolume->isChecked(),
                                                          components, additions, noDensity) < 0)
                AppMessageBox(SubstitutionNoDensityMessage(noDensity), MsgOk | MsgIconExclamation,
                              kDensityUnknownHelpId);
        }
    }
    SetModified(1);
    WriteBack(components, additions);
}

void CGlazeEditView::BatchCalculation()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    WriteBack(components, additions);
    int scope = kBatchEntireRecipe;
    if (additions.GetCount() == 0) {
        scope = kBatchComponentsOnly;
    } else if (components.GetCount() == 0) {
        scope = kBatchAdditionsOnly;
    } else {
        CBatchScopeDlg dialog(this);
        dialog.choice = g_prefs.m_nBatchScope;
        if (dialog.exec() != QDialog::Accepted)
            return;
        scope = dialog.choice;
        g_prefs.m_nBatchScope = scope;
    }
    CIngredientList calcComponents = scope == kBatchAdditionsOnly ? CIngredientList() : components;
    CIngredientList calcAdditions = scope == kBatchComponentsOnly ? CIngredientList() : additions;
    if (!RunBatchCalculation(calcComponents, calcAdditions, this, "ged_tab", m_byVolume->isChecked()))
        return;
    // A part calculated alone gets the whole result; the other part keeps its lines.
    if (scope == kBatchComponentsOnly) {
        components = calcComponents;
        components.Append(calcAdditions);
    } else if (scope == kBatchAdditionsOnly) {
        additions = calcAdditions;
        additions.Append(calcComponents);
    } else {
        components = calcComponents;
        additions = calcAdditions;
    }
    SetModified(1);
    WriteBack(components, additions);
}

void CGlazeEditView::Optimize()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    WriteBack(components, additions);
    if (!AskAndSave())
        return;
    COptimizeRequest request;
    if (const COptimizationParams* params = m_work.FindOptimizationParams())
        request.params = *params;
    const std::string storedName = m_pSourceGlaze ? m_pSourceGlaze->m_name : std::string();
    request.titleSuffix = storedName.empty() ? "<untitled>" : storedName;
    request.glazeIndex = m_nSourceIndex;
    request.databaseIndex = g_pApp ? g_pApp->IndexOfGlazeDoc(doc) : -1;
    request.byVolume = m_byVolume->isChecked();
    if (!RunOptimize(request, this) || (!request.saveParameters && !request.saveRecipe))
        return;
    if (request.where == kDispositionCurrentGlaze) {
        if (request.saveParameters)
            m_work.GetOptimizationParams() = request.params;
        if (request.saveRecipe)
            request.recipe.DistributeTo(components, additions);
        SetModified(1);
        WriteBack(components, additions);
        return;
    }
    const int index = std::clamp(m_nSourceIndex + 1, 0, doc->GetGlazeCount());
    doc->InsertGlaze(index, MakeOptimizedGlaze(request));
    Broadcast(HintGlazesInserted, index, nullptr);
    EditGlaze(index);
}

void CGlazeEditView::EditIngredients()
{
    if (!g_pMaterialsDoc)
        return;
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    CStringArrayEx names;
    for (const CIngredientList* list : {&components, &additions}) {
        for (int i = 0; i < list->GetCount(); ++i)
            names.push_back(list->GetAt(i).m_name);
    }
    g_pMaterialsDoc->OpenLimitedEditView(names);
}
