// The command table of the glaze list: when each command is enabled, and what runs it.

#include "glazes/GlazesView.h"

#include "framework/UpdateHint.h"
#include "glazes/GlazeClipboard.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/RecipeSizeDlg.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/DialogStyle.h"
#include "tools/ToolCommands.h"

#include <algorithm>

namespace {

constexpr unsigned kFormatCommands[] = {
    CmdGlzNormalView, CmdGlzExtendedView1, CmdGlzExtendedView2, CmdGlzExtendedView3,
    CmdGlzWeightPercent, CmdGlzUnityFormula, CmdGlzMolePercent,
};

int FormatOfCommand(unsigned id)
{
    const auto* found = std::find(std::begin(kFormatCommands), std::end(kFormatCommands), id);
    return found == std::end(kFormatCommands) ? -1 : static_cast<int>(found - std::begin(kFormatCommands));
}

bool HasSubstitutions()
{
    return g_pSubstitutionsDoc && g_pSubstitutionsDoc->Substitutions().GetCount() > 0;
}

// The glazes a blend or mixture needs in the database before it is offered.
int MinimumGlazesFor(unsigned id)
{
    switch (id) {
    case CmdGlzLineBlend:
    case CmdGlzMixGlazes: return 2;
    case CmdGlzTriaxialBlend: return 3;
    case CmdGlzSquareBlend: return 4;
    default: return 1;
    }
}

constexpr unsigned kCorrectCrazingHelpId = 372;
constexpr unsigned kChangeMeltingPointHelpId = 373;

} // namespace

bool CGlazesView::UpdateEditCommand(CCmdUI& ui)
{
    const std::vector<int> rows = GetSelItems();
    const bool selected = !rows.empty();
    const int count = GlazeCount();
    switch (ui.m_nID) {
    case CmdGlzEdit:
    case CmdGlzEditLimited:
    case CmdGlzOpenReport:
        // The edit, report and graph windows come from the window kinds installed for glazes.
        ui.Enable(selected && GetGlazeViews() != nullptr);
        return true;
    case CmdGlzOpenGraph:
        ui.Enable(selected && GetGlazeViews() != nullptr && g_pApp && g_pApp->m_bGraphsAvailable);
        return true;
    case CmdGlzCut:
    case CmdGlzCopy:
    case CmdGlzDelete:
    case CmdGlzSelectedToTop:
        ui.Enable(selected);
        return true;
    case CmdGlzPaste:
    case CmdGlzPasteNewDb:
        ui.Enable(CAppContext::IsActive() && ClipboardCount(g_glazeClipboard) > 0);
        return true;
    case CmdGlzShiftUp:
        ui.Enable(selected && rows.front() != 0);
        return true;
    case CmdGlzShiftDown:
        ui.Enable(selected && rows.back() != GetCount() - 1);
        return true;
    case CmdGlzSelectAll:
    case CmdGlzInvertSelection:
    case CmdGlzAlphabetize:
        ui.Enable(count > 0);
        return true;
    case CmdGlzInsertNew:
    case CmdGlzAppendNew:
        ui.Enable(true);
        return true;
    default:
        break;
    }
    const int format = FormatOfCommand(ui.m_nID);
    if (format < 0)
        return false;
    ui.SetCheck(format == m_nListFormat ? 1 : 0);
    return true;
}

bool CGlazesView::UpdateDatabaseCommand(CCmdUI& ui)
{
    const bool selected = HasSelection();
    switch (ui.m_nID) {
    case CmdGlzSaveSelected:
    case CmdGlzExportRecipary:
    case CmdGlzExportInsight:
    case CmdGlzExportHyperGlaze:
    case CmdGlzExportHtml:
    case CmdGlzPrintSummaries:
    case CmdGlzPreviewSummaries:
    case CmdGlzWriteSummaries:
    case CmdGlzPrintRecipes:
    case CmdGlzPreviewRecipes:
    case CmdGlzWriteRecipes:
    case CmdGlzPrintReports:
    case CmdGlzPreviewReports:
    case CmdGlzWriteReports:
        ui.Enable(selected);
        return true;
    case CmdGlzDatabaseNotes:
    case CmdGlzMerge:
    case CmdGlzImportRecipary:
    case CmdGlzImportInsight:
    case CmdGlzImportHyperGlaze:
    case CmdGlzPrintList:
    case CmdGlzPreviewList:
    case CmdGlzWriteList:
    case CmdGlzHelp:
    case CmdGlzContextHelp:
    case CmdGlzRecipeBatchSizes:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CGlazesView::UpdateToolCommand(CCmdUI& ui)
{
    const int selected = GetSelCount();
    switch (ui.m_nID) {
    case CmdGlzCorrectCrazing:
    case CmdGlzChangeMeltingPoint:
        ui.Enable(selected == 1);
        return true;
    case CmdGlzMakeSubstitution:
        ui.Enable(selected > 0 && HasSubstitutions());
        return true;
    case CmdGlzFind:
    case CmdGlzResort:
    case CmdGlzSetField:
    case CmdGlzResequence:
    case CmdGlzCheckIngredients:
        ui.Enable(GlazeCount() > 0);
        return true;
    case CmdGlzToMaterials:
        ui.Enable(selected > 0);
        return true;
    case CmdGlzMakeLimitFormula:
    case CmdGlzFindSimilar:
    case CmdGlzShoppingList:
    case CmdGlzOptimize:
        ui.Enable(true);
        return true;
    case CmdGlzAverageGlazes:
        ui.Enable(selected > 0);
        return true;
    case CmdGlzVarrowBlend:
    case CmdGlzLineBlend:
    case CmdGlzMixGlazes:
    case CmdGlzTriaxialBlend:
    case CmdGlzSquareBlend:
        ui.Enable(GlazeCount() >= MinimumGlazesFor(ui.m_nID));
        return true;
    default:
        return false;
    }
}

bool CGlazesView::OnUpdateCommand(CCmdUI& ui)
{
    return UpdateEditCommand(ui) || UpdateDatabaseCommand(ui) || UpdateToolCommand(ui);
}

bool CGlazesView::RunEditCommand(unsigned id)
{
    switch (id) {
    case CmdGlzEdit: OnEdit(false); return true;
    case CmdGlzEditLimited: OnEdit(true); return true;
    case CmdGlzOpenReport: OnOpenReport(); return true;
    case CmdGlzOpenGraph: OnOpenGraph(); return true;
    case CmdGlzCut: OnCut(); return true;
    case CmdGlzCopy: OnCopy(); return true;
    case CmdGlzPaste: OnPaste(); return true;
    case CmdGlzPasteNewDb: OnPasteToNewDatabase(); return true;
    case CmdGlzDelete: OnDelete(); return true;
    case CmdGlzSelectAll: OnSelectAll(); return true;
    case CmdGlzInvertSelection: OnInvertSelection(); return true;
    case CmdGlzInsertNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? 0 : rows.front());
        return true;
    }
    case CmdGlzAppendNew: {
        const std::vector<int> rows = GetSelItems();
        InsertNewAt(rows.empty() ? GlazeCount() : rows.back() + 1);
        return true;
    }
    case CmdGlzShiftUp: OnShiftUp(); return true;
    case CmdGlzShiftDown: OnShiftDown(); return true;
    case CmdGlzSelectedToTop: OnSelectedToTop(); return true;
    case CmdGlzAlphabetize: OnAlphabetize(); return true;
    case CmdGlzResort: OnResort(); return true;
    default: break;
    }
    const int format = FormatOfCommand(id);
    if (format < 0)
        return false;
    SetListFormat(format);
    return true;
}

bool CGlazesView::RunDatabaseCommand(unsigned id)
{
    switch (id) {
    case CmdGlzDatabaseNotes: OnDatabaseNotes(); return true;
    case CmdGlzSetField: OnSetField(); return true;
    case CmdGlzResequence: OnResequence(); return true;
    case CmdGlzToMaterials: OnGlazesToMaterials(); return true;
    case CmdGlzMakeSubstitution: OnMakeSubstitution(); return true;
    case CmdGlzMakeLimitFormula: OnMakeLimitFormula(); return true;
    case CmdGlzCheckIngredients: OnCheckIngredients(); return true;
    case CmdGlzFind: OnFind(); return true;
    case CmdGlzMerge: OnMerge(); return true;
    case CmdGlzSaveSelected: OnSaveSelected(); return true;
    case CmdGlzImportRecipary:
    case CmdGlzImportInsight:
    case CmdGlzImportHyperGlaze: OnImport(id); return true;
    case CmdGlzExportRecipary:
    case CmdGlzExportHyperGlaze:
    case CmdGlzExportHtml: OnExport(id); return true;
    case CmdGlzExportInsight: OnExportInsight(); return true;
    case CmdGlzPrintSummaries:
    case CmdGlzPreviewSummaries:
    case CmdGlzWriteSummaries:
    case CmdGlzPrintRecipes:
    case CmdGlzPreviewRecipes:
    case CmdGlzWriteRecipes:
    case CmdGlzPrintReports:
    case CmdGlzPreviewReports:
    case CmdGlzWriteReports:
    case CmdGlzPrintList:
    case CmdGlzPreviewList:
    case CmdGlzWriteList: PrintGlazes(id); return true;
    case CmdGlzRecipeBatchSizes: SetUpRecipeBatchSizes(); return true;
    case CmdGlzCorrectCrazing: ShowDialogHelp(kCorrectCrazingHelpId); return true;
    case CmdGlzChangeMeltingPoint: ShowDialogHelp(kChangeMeltingPointHelpId); return true;
    case CmdGlzHelp:
    case CmdGlzContextHelp: ShowDialogHelp(kGlazesViewHelpId); return true;
    default: return false;
    }
}

bool CGlazesView::RunToolCommand(unsigned id)
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return false;
    const std::vector<int> rows = GetSelItems();
    switch (id) {
    case CmdGlzLineBlend: RunLineBlendCommand(*doc, rows, this); return true;
    case CmdGlzTriaxialBlend: RunTriaxialBlendCommand(*doc, rows, this); return true;
    case CmdGlzSquareBlend: RunSquareBlendCommand(*doc, rows, this); return true;
    case CmdGlzVarrowBlend: RunVarrowBlendCommand(*doc, rows, this); return true;
    case CmdGlzShoppingList: RunShoppingListCommand(*doc, this); return true;
    case CmdGlzFindSimilar: RunFindSimilarGlazesCommand(*doc, this); return true;
    case CmdGlzMixGlazes:
    case CmdGlzAverageGlazes: {
        // This view sent the insertion notice, so it refreshes its own rows.
        const int inserted = id == CmdGlzMixGlazes ? RunMixGlazesCommand(*doc, rows, this, this)
                                                   : RunAverageGlazesCommand(*doc, rows, this);
        if (inserted >= 0)
            RefillKeepingSelection();
        return true;
    }
    case CmdGlzOptimize: {
        const int added = RunOptimizeCommand(*doc, this);
        if (added >= 0) {
            FillList(GetTopIndex(), added, true);
            Broadcast(HintGlazesInserted, added);
        }
        return true;
    }
    default: return false;
    }
}

bool CGlazesView::OnCommand(unsigned id)
{
    return RunEditCommand(id) || RunDatabaseCommand(id) || RunToolCommand(id);
}
