// The glaze list's editing commands: the edit, report and graph windows, the in-program glaze
// clipboard, deleting and inserting, and the order of the glazes.

#include "glazes/GlazesView.h"

#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeClipboard.h"
#include "glazes/GlazeListDlgCommands.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "support/EditLineDlg.h"

#include <QDialog>

#include <algorithm>

namespace {

constexpr unsigned kPasteNewDatabaseHelpId = 200705;

} // namespace

// --- windows --------------------------------------------------------------------------------------

void CGlazesView::OnEdit(bool limited)
{
    CGlazesDoc* doc = GlazesDoc();
    CGlazeViews* views = GetGlazeViews();
    const std::vector<int> rows = GetSelItems();
    if (!doc || !views || rows.empty())
        return;
    const std::span<const int> indices(rows);
    views->OpenEditView(*doc, limited ? indices : indices.first(1), limited);
}

void CGlazesView::OnOpenReport()
{
    CGlazesDoc* doc = GlazesDoc();
    CGlazeViews* views = GetGlazeViews();
    const std::vector<int> rows = GetSelItems();
    if (doc && views && !rows.empty())
        views->OpenAnalysisView(*doc, rows.front());
}

void CGlazesView::OnOpenGraph()
{
    CGlazesDoc* doc = GlazesDoc();
    CGlazeViews* views = GetGlazeViews();
    if (!doc || !views)
        return;
    const std::vector<int> rows = GetSelItems();
    const int glaze = !rows.empty() ? rows.front() : doc->GetGlazeCount() > 0 ? 0 : -1;
    views->OpenGraphView(*doc, glaze);
}

// --- clipboard ------------------------------------------------------------------------------------

void CGlazesView::OnCopy()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CopyRowsToClipboard(g_glazeClipboard, rows, [doc](int row) { return doc->GetGlaze(row); });
}

void CGlazesView::OnCut()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CutRowsToClipboard(g_glazeClipboard, rows, [doc](int row) { return doc->GetGlaze(row); },
                       [this] { OnDelete(); });
}

void CGlazesView::OnPaste()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CPasteTarget target;
    target.sender = this;
    target.document = doc;
    target.kind = DbFileType::Glazes;
    target.position = rows.empty() ? 0 : rows.front();
    target.count = doc->GetGlazeCount();
    const int pasted = PasteFromClipboard(g_glazeClipboard, target,
                                          [doc](int index, const CGlaze& glaze) { doc->InsertGlaze(index, glaze); });
    if (pasted == 0)
        return;
    FillList(GetTopIndex(), -1, true);
    SelItemRange(true, target.position, target.position + pasted - 1);
    SetCaretQuietly(target.position);
}

void CGlazesView::OnPasteToNewDatabase()
{
    const int count = ClipboardCount(g_glazeClipboard);
    if (count == 0 || !g_pApp)
        return;
    CEditLineDlg dialog(this, "New Glaze Database", kPasteNewDatabaseHelpId);
    dialog.prompt = "Type a name for the new database :";
    dialog.text = "Pasted Glazes";
    if (dialog.exec() != QDialog::Accepted)
        return;
    auto* target = dynamic_cast<CGlazesDoc*>(g_pApp->NewGlazeDatabase());
    if (!target)
        return;
    for (int k = 0; k < count; ++k)
        target->InsertGlaze(target->GetGlazeCount(), ClipboardRecord(g_glazeClipboard, k));
    target->SetDbName(dialog.text);
    target->SetModifiedFlag(true);
    target->Glazes().m_infoLines.push_back("This database contains " + std::to_string(count) +
                                           " glazes pasted from the clipboard.");
    COxidariumApp::BroadcastUpdate(nullptr, target, static_cast<int>(DbFileType::Glazes), HintGlazesReplaced, 0, 0);
}

// --- deleting and inserting ------------------------------------------------------------------------

void CGlazesView::OnDelete()
{
    CGlazesDoc* doc = GlazesDoc();
    const std::vector<int> rows = GetSelItems();
    // An edit window with unsaved edits to a glaze that goes asks whether to delete it all the same.
    if (!doc || rows.empty() || !doc->ConfirmDeleteWithEditViews(rows))
        return;
    const auto removed = doc->TakeGlazes(rows); // they go once every window has heard
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        DeleteString(*row);
    Broadcast(HintGlazesDeleted, rows.front());
}

void CGlazesView::OnSelectAll()
{
    SetSel(-1, true);
}

void CGlazesView::OnInvertSelection()
{
    const std::vector<int> selected = GetSelItems();
    SetSel(-1, true);
    for (int row : selected)
        SetSel(row, false);
}

void CGlazesView::InsertNewAt(int index)
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || index < 0 || index > doc->GetGlazeCount())
        return;
    const bool wasEmpty = GetCount() == 0;
    doc->InsertGlaze(index, CGlaze("new glaze"));
    FillList(GetTopIndex(), index, wasEmpty);
    Broadcast(HintGlazesInserted, index);
}

// --- order ----------------------------------------------------------------------------------------

void CGlazesView::OnShiftUp()
{
    CGlazesDoc* doc = GlazesDoc();
    std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.front() == 0)
        return;
    for (int& row : rows) {
        doc->SwapGlazes(row, row - 1);
        MoveString(row, row - 1);
        --row;
        Broadcast(HintGlazesReordered, row);
    }
    DeselectAll();
    Reselect(rows);
    SetCaretQuietly(rows.front());
}

void CGlazesView::OnShiftDown()
{
    CGlazesDoc* doc = GlazesDoc();
    std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.back() >= GetCount() - 1)
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        doc->SwapGlazes(*row, *row + 1);
        MoveString(*row, *row + 1);
        ++*row;
        Broadcast(HintGlazesReordered, *row);
    }
    DeselectAll();
    Reselect(rows);
    SetCaretQuietly(rows.back());
}

void CGlazesView::OnSelectedToTop()
{
    CGlazesDoc* doc = GlazesDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    const int count = static_cast<int>(rows.size());
    for (int k = 0; k < count; ++k) {
        const int row = rows[static_cast<std::size_t>(k)];
        if (row == k)
            continue;
        doc->MoveGlaze(row, k);
        MoveString(row, k);
    }
    Broadcast(HintGlazesReordered, 0);
    DeselectAll();
    SelItemRange(true, 0, count - 1);
    SetCaretQuietly(0);
    SetTopIndex(0);
}

void CGlazesView::OnAlphabetize()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    doc->SortGlazes(0, true, -1);
    FillList(0, -1, false);
    Broadcast(HintGlazesReordered, 0);
}

void CGlazesView::OnResort()
{
    if (CGlazesDoc* doc = GlazesDoc())
        RunSortGlazes(*doc, this, this, [this] { FillList(0, -1, false); });
}
