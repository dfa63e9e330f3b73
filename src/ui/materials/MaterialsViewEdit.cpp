// The editing and ordering commands of the materials list: edit, the materials clipboard,
// delete, selection, new materials, moving rows, alphabetising and re-sorting.

#include "materials/MaterialsView.h"

#include "framework/UpdateHint.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "materials/SortMaterialsDlg.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/Services.h"

void CMaterialsView::OnEdit()
{
    const std::vector<int> rows = GetSelItems();
    if (CMaterialsDoc* doc = MaterialsDoc(); doc && !rows.empty())
        doc->OpenEditView(rows.front());
}

void CMaterialsView::OnEditLimited()
{
    const std::vector<int> rows = GetSelItems();
    CMaterialsDoc* doc = MaterialsDoc();
    CMaterialEditViews* views = GetMaterialEditViews();
    if (doc && views && !rows.empty())
        views->OpenLimitedEditView(*doc, rows);
}

void CMaterialsView::OnCopy()
{
    const CMaterialArray* database = Database();
    if (!database)
        return;
    const std::vector<int> rows = GetSelItems();
    CopyRowsToClipboard(g_materialClipboard, rows, [database](int row) { return database->GetAt(row); });
}

void CMaterialsView::OnCut()
{
    const CMaterialArray* database = Database();
    if (!database)
        return;
    const std::vector<int> rows = GetSelItems();
    CutRowsToClipboard(g_materialClipboard, rows, [database](int row) { return database->GetAt(row); },
                       [this] { OnDelete(); });
}

void CMaterialsView::OnDelete()
{
    CMaterialsDoc* doc = MaterialsDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        doc->DeleteMaterial(*row);
        DeleteString(*row);
    }
    Broadcast(HintMaterialsDeleted, rows.front());
}

void CMaterialsView::OnPaste()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CPasteTarget target;
    target.sender = this;
    target.document = doc;
    target.kind = DbFileType::Materials;
    target.position = rows.empty() ? 0 : rows.front();
    target.count = doc->Materials().GetCount();
    const int pasted = PasteFromClipboard(g_materialClipboard, target, [doc](int index, const CMaterial& material) {
        doc->InsertMaterial(index, material);
    });
    if (pasted == 0)
        return;
    // Pasted materials that map to others take their values from the ends of their chains.
    doc->UpdateMappedMaterials(true, true);
    FillList(GetTopIndex(), -1, true);
    SelItemRange(true, target.position, target.position + pasted - 1);
}

void CMaterialsView::OnSelectAll()
{
    SetSel(-1, true);
}

void CMaterialsView::OnInvertSelection()
{
    if (GetSelCount() == 0) {
        SetSel(-1, true);
        return;
    }
    const std::vector<int> selected = GetSelItems();
    SetSel(-1, true);
    for (int row : selected)
        SetSel(row, false);
}

void CMaterialsView::InsertNewAt(int position)
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    const bool wasEmpty = GetCount() == 0;
    doc->InsertMaterial(position, CMaterial("new material"));
    FillList(GetTopIndex(), position, wasEmpty);
    Broadcast(HintMaterialsInserted, position);
}

void CMaterialsView::MoveRowText(int from, int to)
{
    const std::string text = GetText(from);
    DeleteString(from);
    InsertString(to, text);
    SetSel(to, true);
}

void CMaterialsView::OnShiftUp()
{
    CMaterialsDoc* doc = MaterialsDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.front() == 0)
        return;
    for (int row : rows) {
        doc->SwapMaterials(row, row - 1);
        MoveRowText(row, row - 1);
        Broadcast(HintMaterialsReordered, row - 1);
    }
}

void CMaterialsView::OnShiftDown()
{
    CMaterialsDoc* doc = MaterialsDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty() || rows.back() >= GetCount() - 1)
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        doc->SwapMaterials(*row, *row + 1);
        MoveRowText(*row, *row + 1);
        Broadcast(HintMaterialsReordered, *row);
    }
}

void CMaterialsView::OnSelectedToTop()
{
    CMaterialsDoc* doc = MaterialsDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        const int row = rows[static_cast<std::size_t>(k)];
        if (row == k)
            continue;
        doc->MoveMaterial(row, k);
        MoveRowText(row, k);
    }
    Broadcast(HintMaterialsReordered, 0);
    SetTopIndex(0);
}

void CMaterialsView::OnAlphabetize()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    doc->SortMaterials(0, 0);
    FillList(0, -1, false);
    Broadcast(HintMaterialsReordered, 0);
}

void CMaterialsView::OnResort()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CSortMaterialsDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    dialog.sortChoice = g_prefs.m_nMatSortChoice;
    dialog.oxideElement = g_prefs.m_nMatSortOxide;
    if (dialog.exec() != QDialog::Accepted)
        return;
    g_prefs.m_nMatSortChoice = dialog.sortChoice;
    g_prefs.m_nMatSortOxide = dialog.oxideElement;
    {
        CBusyScope busy;
        doc->SortMaterials(dialog.sortChoice, dialog.oxideElement);
    }
    FillList(0, -1, false);
    Broadcast(HintMaterialsReordered, 0);
}
