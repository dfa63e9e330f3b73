#include "glazes/GlazeListDlgCommands.h"

#include "framework/DocRegistry.h"
#include "framework/DocTemplate.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "glazes/FindGlazesDlg.h"
#include "glazes/GlazeSearchCriteria.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesToMaterialsDlg.h"
#include "glazes/ResequenceDlg.h"
#include "glazes/SetGlazeFieldDlg.h"
#include "glazes/SortGlazesDlg.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/NumberText.h"
#include "support/Services.h"

#include <algorithm>
#include <unordered_map>

namespace {

constexpr int kGlazesKind = static_cast<int>(DbFileType::Glazes);
constexpr int kMaterialsKind = static_cast<int>(DbFileType::Materials);

void Notify(CGlazesDoc& document, CView* sender, int code, int index, const void* glaze = nullptr)
{
    COxidariumApp::BroadcastUpdate(sender, &document, kGlazesKind, code, index, HintExtra(glaze));
}

void Refill(const FillListFn& fillList)
{
    if (fillList)
        fillList();
}

std::vector<int> RowsInScope(CGlazesDoc& document, bool allGlazes)
{
    if (!allGlazes)
        return GetSelectedGlazeRows(document);
    std::vector<int> rows(static_cast<std::size_t>(document.GetGlazeCount()));
    for (int row = 0; row < document.GetGlazeCount(); ++row)
        rows[static_cast<std::size_t>(row)] = row;
    return rows;
}

void RestoreSelection(CGlazesDoc& document, const std::vector<int>& rows)
{
    document.ClearSelection();
    document.SelectGlazes(rows);
}

// Sets one field of the glazes at rows between the bulk-change notices, one notice 13 each.
void SetFieldInRows(CGlazesDoc& document, CView* sender, const std::vector<int>& rows, int field,
                    const std::vector<std::string>& texts, const FillListFn& fillList)
{
    // The glazes' edit windows say first what becomes of their unsaved edits.
    if (!document.AskEditFormsOf(rows, FormsAsked::BeforeChange))
        return;
    const std::vector<int> selection = GetSelectedGlazeRows(document);
    Notify(document, sender, HintBulkChangeBegins, 0);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        document.SetGlazeField(rows[k], field, texts.size() == 1 ? texts[0] : texts[k]);
        Notify(document, sender, HintGlazeChanged, rows[k], document.GetGlaze(rows[k]));
    }
    Notify(document, sender, HintBulkChangeEndsRefreshDocument, 0);
    Refill(fillList);
    RestoreSelection(document, selection);
}

// The rows of the document that the request covers and whose glazes meet its criteria.
std::vector<int> FindMatches(CGlazesDoc& document, const MatchCriteria& request)
{
    std::vector<int> matches;
    for (int row : RowsInScope(document, request.m_allGlazes != 0)) {
        if (document.GetGlaze(row)->MatchesCriteria(request.m_criteria))
            matches.push_back(row);
    }
    return matches;
}

// Before Move to New Database: the forms on the glazes it moves, in every database it searches,
// asked in one step. The moved glazes leave their database and their forms close with them, so
// they are asked as before a close: a form that would keep its edits stops the move. False on
// Cancel: nothing moves, and no database of results opens.
bool AskFormsOfMovedGlazes(CGlazesDoc& document, const MatchCriteria& request)
{
    std::vector<CGlazesDoc*> searched{&document};
    if (request.m_allDatabases && g_pGlazesTemplate) {
        searched.clear();
        for (CDocument* other : g_pGlazesTemplate->GetDocuments()) {
            if (auto* glazes = dynamic_cast<CGlazesDoc*>(other); glazes && glazes->GetListView())
                searched.push_back(glazes);
        }
    }
    std::vector<CEditForm> forms;
    for (CGlazesDoc* glazes : searched) {
        const std::vector<CEditForm> moved = glazes->EditFormsOf(FindMatches(*glazes, request), false);
        forms.insert(forms.end(), moved.begin(), moved.end());
    }
    return AskForms(forms, FormsAsked::BeforeClose);
}

} // namespace

// The document hands out the selected glazes; their rows are their positions.
std::vector<int> GetSelectedGlazeRows(CGlazesDoc& document)
{
    std::vector<CGlaze*> glazes;
    document.GetSelectedGlazes(glazes, false);
    std::unordered_map<const CGlaze*, int> rowOf;
    for (int row = 0; row < document.GetGlazeCount(); ++row)
        rowOf.emplace(document.GetGlaze(row), row);
    std::vector<int> rows;
    for (const CGlaze* glaze : glazes) {
        if (const auto found = rowOf.find(glaze); found != rowOf.end())
            rows.push_back(found->second);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// --- Find ----------------------------------------------------------------------------------------

int ApplyFindResult(CGlazesDoc& document, const MatchCriteria& request, CView* sender, const FillListFn& fillList)
{
    if (document.GetGlazeCount() == 0)
        return 0;
    const std::vector<int> matches = FindMatches(document, request);
    switch (request.m_action) {
    case kFindSelect:
        document.ClearSelection();
        [[fallthrough]];
    case kFindAddToSelection:
        document.SelectGlazes(matches);
        break;
    case kFindCopyToNewDatabase:
    case kFindMoveToNewDatabase: {
        // Without a database to take them the matches stay where they are: a move never loses them.
        auto* target = dynamic_cast<CGlazesDoc*>(request.m_pTarget);
        if (!target || target == &document || matches.empty())
            break;
        // Moved glazes leave their edit windows, which the command asked first.
        for (int row : matches)
            target->InsertGlaze(target->GetGlazeCount(), *document.GetGlaze(row));
        if (request.m_action == kFindCopyToNewDatabase)
            break;
        const auto removed = document.TakeGlazes(matches); // they go once every window has heard
        Notify(document, sender, HintGlazesDeleted, matches.front());
        Refill(fillList);
        return static_cast<int>(matches.size());
    }
    }
    return static_cast<int>(matches.size());
}

bool RunFindGlazes(CGlazesDoc& document, CView* sender, QWidget* parent, const FillListFn& fillList)
{
    MatchCriteria request;
    CFindGlazesDlg dialog(parent);
    dialog.LoadRemembered();
    dialog.request = &request;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Remember();
    if (request.m_criteria.m_criteria.empty() &&
        AppMessageBox("There are no search criteria - all glazes will match. Continue?", MsgYesNo,
                      kNoSearchCriteriaHelpId) != MsgResultYes)
        return false;
    if (request.m_action == kFindMoveToNewDatabase && !AskFormsOfMovedGlazes(document, request))
        return false;
    CGlazeSearchRun run;
    run.allDatabases = request.m_allDatabases != 0;
    run.action = request.m_action;
    run.searchView = [&](CView* view) {
        auto* glazes = dynamic_cast<CGlazesDoc*>(view ? view->GetDocument() : nullptr);
        if (!glazes || (view != sender && glazes->GetListView() != view))
            return -1;
        request.m_pTarget = run.resultsDatabase;
        // Lists of other databases hear of moved glazes through the broadcast.
        return view == sender ? ApplyFindResult(*glazes, request, sender, fillList)
                              : ApplyFindResult(*glazes, request, nullptr);
    };
    int found = 0;
    if (g_pApp)
        found = g_pApp->SearchGlazeDatabases(sender, run);
    else
        found = ApplyFindResult(document, request, sender, fillList);
    AppMessageBox("Number of glazes found by search: " + std::to_string(found), MsgOk | MsgIconInformation,
                  kGlazesFoundHelpId);
    return true;
}

// --- Re-sort -------------------------------------------------------------------------------------

void ApplyGlazeSort(CGlazesDoc& document, CView* sender, int criterion, bool alphabetical, int element,
                    const FillListFn& fillList)
{
    {
        CBusyScope busy;
        document.SortGlazes(criterion, alphabetical, element);
    }
    Refill(fillList);
    Notify(document, sender, HintGlazesReordered, 0);
}

bool RunSortGlazes(CGlazesDoc& document, CView* sender, QWidget* parent, const FillListFn& fillList)
{
    CSortGlazesDlg dialog(parent);
    dialog.criterion = g_prefs.m_nGlazeSortCriterion;
    dialog.alphabetical = g_prefs.m_nGlazeSortAlphabetical;
    dialog.element = g_prefs.m_nGlazeSortElement;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    g_prefs.m_nGlazeSortCriterion = dialog.criterion;
    g_prefs.m_nGlazeSortAlphabetical = dialog.alphabetical;
    g_prefs.m_nGlazeSortElement = dialog.element;
    if (dialog.criterion < 0)
        return false;
    ApplyGlazeSort(document, sender, dialog.criterion, dialog.alphabetical == 1, dialog.element, fillList);
    return true;
}

// --- Set Field and Resequence --------------------------------------------------------------------

void ApplySetGlazeField(CGlazesDoc& document, CView* sender, bool allGlazes, int field, const std::string& text,
                        const FillListFn& fillList)
{
    if (field <= 0)
        return;
    SetFieldInRows(document, sender, RowsInScope(document, allGlazes), field, {text}, fillList);
}

bool RunSetGlazeField(CGlazesDoc& document, CView* sender, QWidget* parent, const FillListFn& fillList)
{
    CSetGlazeFieldDlg dialog(parent);
    dialog.scope = g_prefs.m_nGlazeSetFieldScope;
    dialog.field = g_prefs.m_nGlazeSetFieldChoice;
    dialog.value = g_prefs.m_strGlazeSetFieldValue;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    g_prefs.m_nGlazeSetFieldScope = dialog.scope;
    g_prefs.m_nGlazeSetFieldChoice = dialog.field;
    g_prefs.m_strGlazeSetFieldValue = dialog.value;
    if (dialog.scope < 0 || dialog.field <= 0)
        return false;
    ApplySetGlazeField(document, sender, dialog.scope == 1, dialog.field, dialog.value, fillList);
    return true;
}

std::vector<std::string> ResequenceTexts(const std::string& pattern, int count)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto first = std::find_if(pattern.begin(), pattern.end(), isDigit);
    const auto last = std::find_if_not(first, pattern.end(), isDigit);
    const std::string prefix(pattern.begin(), first);
    const std::string suffix(last, pattern.end());
    const long long start = first == pattern.end() ? 1 : ParseLong(std::string(first, last));
    std::vector<std::string> texts;
    for (int k = 0; k < count; ++k)
        texts.push_back(prefix + std::to_string(start + k) + suffix);
    return texts;
}

void ApplyResequence(CGlazesDoc& document, CView* sender, bool allGlazes, const std::string& pattern,
                     const FillListFn& fillList)
{
    const std::vector<int> rows = RowsInScope(document, allGlazes);
    SetFieldInRows(document, sender, rows, kGlazeFieldIndex, ResequenceTexts(pattern, static_cast<int>(rows.size())),
                   fillList);
}

bool RunResequence(CGlazesDoc& document, CView* sender, QWidget* parent, const FillListFn& fillList)
{
    CResequenceDlg dialog(parent);
    dialog.scope = g_prefs.m_nResequenceScope;
    dialog.start = g_prefs.m_strResequenceStart;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    g_prefs.m_nResequenceScope = dialog.scope;
    g_prefs.m_strResequenceStart = dialog.start;
    if (dialog.scope < 0)
        return false;
    ApplyResequence(document, sender, dialog.scope == 1, dialog.start, fillList);
    return true;
}

// --- Glazes to Materials -------------------------------------------------------------------------

int& GetGlazesToMaterialsChoice()
{
    static int choice = 0;
    return choice;
}

bool RunGlazesToMaterials(CGlazesDoc& document, CView* sender, QWidget* parent)
{
    const std::vector<int> rows = GetSelectedGlazeRows(document);
    if (rows.empty())
        return false;
    CGlazesToMaterialsDlg dialog(parent);
    dialog.choice = GetGlazesToMaterialsChoice();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    GetGlazesToMaterialsChoice() = dialog.choice;
    const int materialCount = g_pMaterialsDoc ? g_pMaterialsDoc->Materials().GetCount() : 0;
    if (document.ConvertGlazeToMaterial(rows, dialog.choice == 1) > 0)
        COxidariumApp::BroadcastUpdate(sender, g_pMaterialsDoc, kMaterialsKind, HintMaterialsInserted, materialCount, 0);
    return true;
}
