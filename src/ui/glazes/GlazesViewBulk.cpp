// The glaze list's commands that change many glazes or the database as a whole: database notes,
// Set Field, Resequence, Glazes to Materials, Make Substitution, Make Limit Formula and Check
// Ingredients.

#include "glazes/GlazesView.h"

#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/CheckIngredients.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeListDlgCommands.h"
#include "glazes/MakeLimitFormula.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "substitutions/ChooseSubstitutionDlg.h"
#include "substitutions/GlazeSubstitution.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/DbNotesDlg.h"

#include <QDialog>

namespace {

constexpr unsigned kDatabaseNotesHelpId = 322;
constexpr unsigned kSubstitutionDoneHelpId = 197953;
// Make Substitution names at most so many glazes it could not change, and counts the rest.
constexpr int kNotChangedListed = 10;

} // namespace

void CGlazesView::BeginBulkChange()
{
    Broadcast(HintBulkChangeBegins, 0);
}

void CGlazesView::EndBulkChange(const std::vector<int>& selected)
{
    Broadcast(HintBulkChangeEndsRefreshDocument, 0);
    FillList(GetTopIndex(), -1, true);
    Reselect(selected);
}

void CGlazesView::OnDatabaseNotes()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    CDbNotesDlg dialog(this, "Glaze Database Notes and Information", kDatabaseNotesHelpId);
    dialog.backgroundColor = GetNamedColor("ged_tab");
    dialog.fileName = doc->GetPathName();
    dialog.databaseName = doc->GetDbName();
    dialog.notes = doc->Glazes().m_infoLines;
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool renamed = dialog.databaseName != doc->GetDbName();
    doc->SetDbName(dialog.databaseName);
    doc->Glazes().m_infoLines = dialog.notes;
    doc->SetModifiedFlag(true);
    SetCaption();
    // Only a new name concerns other windows (the database tree shows it).
    if (renamed)
        Broadcast(HintDatabaseNotesChanged, 0);
}

void CGlazesView::OnSetField()
{
    if (CGlazesDoc* doc = GlazesDoc())
        RunSetGlazeField(*doc, this, this, [this] { FillList(GetTopIndex(), -1, true); });
}

void CGlazesView::OnResequence()
{
    if (CGlazesDoc* doc = GlazesDoc())
        RunResequence(*doc, this, this, [this] { FillList(GetTopIndex(), -1, true); });
}

void CGlazesView::OnGlazesToMaterials()
{
    if (CGlazesDoc* doc = GlazesDoc())
        RunGlazesToMaterials(*doc, this, this);
}

void CGlazesView::OnMakeLimitFormula()
{
    if (CGlazesDoc* doc = GlazesDoc())
        RunMakeLimitFormula(*doc, this, this);
}

void CGlazesView::OnCheckIngredients()
{
    if (CGlazesDoc* doc = GlazesDoc())
        RunCheckIngredients(*doc, this, this, [this] { FillList(0, -1, true); });
}

void CGlazesView::OnMakeSubstitution()
{
    CGlazesDoc* doc = GlazesDoc();
    const std::vector<int> selected = GetSelItems();
    if (!doc || selected.empty() || !g_pSubstitutionsDoc || g_pSubstitutionsDoc->Substitutions().GetCount() == 0)
        return;
    CChooseSubstitutionDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("ged_tab");
    dialog.SelectSubstitution(0);
    if (dialog.exec() != QDialog::Accepted || dialog.current < 0)
        return;
    const CSubstitution* substitution = g_pSubstitutionsDoc->Substitutions().GetAt(dialog.current);
    if (!substitution)
        return;
    // Which glazes the substitution changes is decided once: only their forms are asked, only
    // they are changed, counted and announced.
    const CSubstitutionPlan plan = PlanSubstitution(*doc, selected, *substitution, dialog.reverse);
    if (!doc->AskEditFormsOf(plan.changes, FormsAsked::BeforeChange))
        return;
    BeginBulkChange();
    int changed = 0;
    for (int row : plan.changes) {
        if (ApplySubstitution(*doc, row, *substitution, dialog.reverse) > 0) {
            ++changed;
            Broadcast(HintGlazeChanged, row, doc->GetGlaze(row));
        }
    }
    const int notChanged = static_cast<int>(plan.refused.size());
    std::string why;
    for (int k = 0; k < notChanged && k < kNotChangedListed; ++k) {
        const auto& [row, noDensity] = plan.refused[static_cast<std::size_t>(k)];
        const CGlaze* glaze = doc->GetGlaze(row);
        why += "\n\n\"" + (glaze ? glaze->m_name : std::string()) + "\" was not changed:\n" +
               SubstitutionNoDensityMessage(noDensity);
    }
    EndBulkChange(selected);
    if (notChanged > kNotChangedListed)
        why += "\n\nand " + std::to_string(notChanged - kNotChangedListed) + " more glaze" +
               (notChanged - kNotChangedListed == 1 ? "" : "s") + " by volume not changed for the same reason";
    AppMessageBox("Substitution was performed in " + std::to_string(changed) + " glaze" + (changed == 1 ? "" : "s") + why,
                  MsgOk | (notChanged > 0 ? MsgIconExclamation : MsgIconInformation), kSubstitutionDoneHelpId);
}
