// The glaze edit window's commands: what each menu item does and when it is enabled.

#include "glazes/GlazeEditView.h"

#include "glazes/GlazeAnalysisView.h"
#include "glazes/GlazeClipboard.h"
#include "glazes/GlazePrinting.h"
#include "glazes/InsightImport.h"
#include "shell/AppContext.h"
#include "shell/RecipeSizeDlg.h"
#include "support/DialogStyle.h"
#include "support/TabEdit.h"

namespace {

bool IsPrintCommand(unsigned id)
{
    return id == CmdGedFilePrint || GlazePrintKind(id) != 0;
}

} // namespace

bool CGlazeEditView::OnCommand(unsigned id)
{
    if (IsPrintCommand(id)) {
        PrintGlaze(id);
        return true;
    }
    switch (id) {
    case CmdGedCut: Cut(); return true;
    case CmdGedCopy: Copy(); return true;
    case CmdGedPaste: Paste(); return true;
    case CmdGedSaveAsNew: SaveAsNew(); return true;
    case CmdGedInsertNew: InsertNew(); return true;
    case CmdGedAppendNew: AppendNew(); return true;
    case CmdGedEditIngredients: EditIngredients(); return true;
    case CmdGedPrevious: EditPrevious(); return true;
    case CmdGedNext: EditNext(); return true;
    case CmdGedJumpTo: JumpTo(); return true;
    case CmdGedUpdate: OnUpdateRecipe(); return true;
    case CmdGedOpenReport: OpenReport(); return true;
    case CmdGedOpenGraph: OpenGraph(); return true;
    case CmdGedLimitedAccess: LeaveLimitedAccess(); return true;
    case CmdGedCloseView: Close(); return true;
    case CmdGedRound001: RoundOffAmounts(-2); return true;
    case CmdGedRound01: RoundOffAmounts(-1); return true;
    case CmdGedRound1: RoundOffAmounts(0); return true;
    case CmdGedScaleToIngredient: ScaleToIngredient(); return true;
    case CmdGedOptimize: Optimize(); return true;
    case CmdGedSendComponents: SendToInsight(kInsightComponents); return true;
    case CmdGedSendAdditions: SendToInsight(kInsightAdditions); return true;
    case CmdGedSendEntire: SendToInsight(kInsightEntireRecipe); return true;
    case CmdGedGetFromInsight: GetFromInsight(); return true;
    case CmdGedReciparyPrompts: AddReciparyPrompts(); return true;
    case CmdGedSaveAndNext: SaveAndNext(); return true;
    case CmdGedNextGroup: MoveToFieldGroup(true); return true;
    case CmdGedPreviousGroup: MoveToFieldGroup(false); return true;
    case CmdGlazeBatchSizes: SetUpRecipeBatchSizes(); return true;
    case CmdGedHelp:
    case CmdGedContextHelp: ShowDialogHelp(kGlazeEditHelpId); return true;
    default: return false;
    }
}

bool CGlazeEditView::OnUpdateCommand(CCmdUI& ui)
{
    const CGlazesDoc* doc = GlazesDoc();
    const int count = doc ? doc->GetGlazeCount() : 0;
    const bool valid = m_nSourceIndex >= 0 && m_nSourceIndex < count;
    if (IsPrintCommand(ui.m_nID)) {
        ui.Enable(doc != nullptr);
        return true;
    }
    switch (ui.m_nID) {
    case CmdGedPaste:
        ui.Enable(CAppContext::IsActive() && ClipboardCount(g_glazeClipboard) > 0);
        return true;
    case CmdGedInsertNew:
    case CmdGedAppendNew:
        ui.Enable(valid && !m_bSubset);
        return true;
    case CmdGedSaveAsNew:
    case CmdGedOpenReport:
        ui.Enable(valid);
        return true;
    case CmdGedPrevious:
        ui.Enable(m_bSubset ? m_nSubsetPos >= 1 : m_nSourceIndex >= 1 && m_nSourceIndex < count);
        return true;
    case CmdGedNext:
        ui.Enable(m_bSubset ? m_nSubsetPos >= 0 && m_nSubsetPos < SubsetCount() - 1
                            : m_nSourceIndex >= 0 && m_nSourceIndex < count - 1);
        return true;
    case CmdGedLimitedAccess:
        ui.SetCheck(m_bSubset ? 1 : 0);
        ui.Enable(m_bSubset && valid);
        return true;
    case CmdGedScaleToIngredient:
        ui.Enable(!RecipeLines(m_components).empty() || !RecipeLines(m_additions).empty());
        return true;
    case CmdGedOpenGraph: ui.Enable(valid && CanOpenGlazeGraph()); return true;
    case CmdGedOptimize:
    case CmdGedCut:
    case CmdGedCopy:
    case CmdGedEditIngredients:
    case CmdGedJumpTo:
    case CmdGedUpdate:
    case CmdGedCloseView:
    case CmdGedRound001:
    case CmdGedRound01:
    case CmdGedRound1:
    case CmdGedSendComponents:
    case CmdGedSendAdditions:
    case CmdGedSendEntire:
    case CmdGedGetFromInsight:
    case CmdGedReciparyPrompts:
    case CmdGedSaveAndNext:
    case CmdGedNextGroup:
    case CmdGedPreviousGroup:
    case CmdGlazeBatchSizes:
    case CmdGedHelp:
    case CmdGedContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
