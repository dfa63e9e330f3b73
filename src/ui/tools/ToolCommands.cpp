#include "tools/ToolCommands.h"

#include "glazes/GlazesDoc.h"
#include "shell/OxidariumApp.h"
#include "tools/Blend.h"
#include "tools/FindSimilarGlazes.h"
#include "tools/FindSimilarGlazesDlg.h"
#include "tools/MixGlazes.h"
#include "tools/MixGlazesDlg.h"
#include "tools/OptimizeDlg.h"
#include "support/ProgressDlg.h"
#include "tools/RecipeBlendDlg.h"
#include "tools/ShoppingList.h"
#include "tools/ShoppingListDlg.h"
#include "tools/VarrowBlend.h"
#include "tools/VarrowBlendDlg.h"

namespace {

template <class Dialog>
CGlazesDoc* RunRecipeBlendDialog(int kind, CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent)
{
    Dialog dialog(document, parent);
    dialog.request = MakeRecipeBlendRequest(kind, selection);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return RunRecipeBlend(dialog.request, document);
}

} // namespace

CGlazesDoc* RunLineBlendCommand(CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent)
{
    return RunRecipeBlendDialog<CLineBlendDlg>(kLineBlend, document, selection, parent);
}

CGlazesDoc* RunTriaxialBlendCommand(CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent)
{
    return RunRecipeBlendDialog<CTriaxialBlendDlg>(kTriaxialBlend, document, selection, parent);
}

CGlazesDoc* RunSquareBlendCommand(CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent)
{
    return RunRecipeBlendDialog<CSquareBlendDlg>(kSquareBlend, document, selection, parent);
}

CGlazesDoc* RunVarrowBlendCommand(CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent)
{
    CVarrowBlendDlg dialog(document, parent);
    dialog.request.startGlaze = selection.empty() ? -1 : selection.front();
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return RunVarrowBlend(dialog.request, document);
}

int RunMixGlazesCommand(CGlazesDoc& document, const std::vector<int>& selection, CView* sender, QWidget* parent)
{
    CMixGlazesDlg dialog(document, parent);
    dialog.request = MakeMixGlazesRequest(selection);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return RunMixGlazes(dialog.request, document, sender);
}

int RunAverageGlazesCommand(CGlazesDoc& document, const std::vector<int>& selection, CView* sender)
{
    return RunAverageGlazes(selection, document, sender);
}

bool RunShoppingListCommand(CGlazesDoc& document, QWidget* parent)
{
    CShoppingListDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    RunShoppingList(dialog.request, document);
    return true;
}

bool RunFindSimilarGlazesCommand(CGlazesDoc& document, QWidget* parent)
{
    CFindSimilarGlazesDlg dialog(parent);
    dialog.selectionPresent = SingleSelectedRow(document) >= 0;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    CProgressDlg progress(parent);
    return RunFindSimilarGlazes(dialog.request, document, progress);
}

int RunOptimizeCommand(CGlazesDoc& document, QWidget* parent)
{
    COptimizeRequest request;
    request.databaseIndex = g_pApp ? g_pApp->IndexOfGlazeDoc(&document) : -1;
    if (!RunOptimize(request, parent) || (!request.saveParameters && !request.saveRecipe))
        return -1;
    const int index = document.GetGlazeCount();
    document.InsertGlaze(index, MakeOptimizedGlaze(request));
    return index;
}
