// The commands of the materials list that work on the database as a whole: Find, Check
// Database, Set Field and Units.

#include "materials/MaterialsView.h"

#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/FindMaterialsDlg.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialUnitsDlg.h"
#include "materials/MaterialsDoc.h"
#include "materials/SetMaterialFieldDlg.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/Services.h"

#include <optional>

namespace {

constexpr unsigned kFindResultHelpId = 0x30230;

} // namespace

void CMaterialsView::OnFind()
{
    CMaterialArray* database = Database();
    if (!database)
        return;
    CFindMaterialsDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    dialog.text = m_strFindText;
    dialog.findNames = m_bFindNames;
    dialog.findCodes = m_bFindCodes;
    dialog.findFormulas = m_bFindFormulas;
    dialog.findNotes = m_bFindNotes;
    dialog.wholeOnly = m_bFindWholeOnly;
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_strFindText = dialog.text;
    m_bFindNames = dialog.findNames;
    m_bFindCodes = dialog.findCodes;
    m_bFindFormulas = dialog.findFormulas;
    m_bFindNotes = dialog.findNotes;
    m_bFindWholeOnly = dialog.wholeOnly;
    if (m_strFindText.empty())
        return;
    const int found = SelectMatches();
    AppMessageBox(found > 0 ? std::to_string(found) + " matches found" : std::string("No matches found"),
                  MsgOk | MsgIconInformation, kFindResultHelpId);
}

int CMaterialsView::SelectMatches()
{
    CMaterialArray* database = Database();
    if (!database)
        return 0;
    SetSel(-1, false);
    std::vector<int> matches;
    {
        CBusyScope busy;
        for (int i = 0; i < database->GetCount(); ++i) {
            std::string text = m_strFindText;
            if (database->GetAt(i)->Matches(&text, m_bFindNames != 0, m_bFindCodes != 0, m_bFindFormulas != 0,
                                            m_bFindNotes != 0, m_bFindWholeOnly != 0, false))
                matches.push_back(i);
        }
        SelectRows(matches);
    }
    SetCaretIndex(matches.empty() ? 0 : matches.front(), true);
    return static_cast<int>(matches.size());
}

void CMaterialsView::OnCheckDatabase()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    const std::optional<std::vector<int>> flags = doc->CheckDatabase();
    if (!flags)
        return;
    SetSel(-1, false);
    for (int i = 0; i < static_cast<int>(flags->size()); ++i) {
        if ((*flags)[static_cast<std::size_t>(i)])
            SetSel(i, true);
    }
}

void CMaterialsView::OnSetField()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CSetMaterialFieldDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("ged_tab");
    dialog.scope = g_prefs.m_nMatSetFieldScope;
    dialog.fieldPosition = g_prefs.m_nMatSetFieldChoice;
    dialog.valueText = g_prefs.m_strMatSetFieldValue;
    if (dialog.exec() != QDialog::Accepted)
        return;
    g_prefs.m_nMatSetFieldScope = dialog.scope;
    g_prefs.m_nMatSetFieldChoice = dialog.fieldPosition;
    g_prefs.m_strMatSetFieldValue = dialog.valueText;
    const std::vector<int> selected = GetSelItems();
    std::vector<int> rows = selected;
    if (dialog.scope == 1) {
        rows.clear();
        for (int i = 0; i < doc->Materials().GetCount(); ++i)
            rows.push_back(i);
    } else if (dialog.scope != 0) {
        rows.clear();
    }
    // The materials are rewritten: their edit windows save or drop their edits first.
    if (!doc->AskEditFormsOf(rows, FormsAsked::BeforeChange))
        return;

    Broadcast(HintBulkChangeBegins, 0);
    for (int i : rows) {
        doc->SetMaterialField(i, dialog.fieldNumber, dialog.valueText);
        Broadcast(HintMaterialChanged, i, doc->Materials().GetAt(i));
    }
    // Whatever the field, the materials mapped to a changed one follow it; their forms hear of it.
    doc->UpdateMappedMaterials(true, true);
    Broadcast(HintBulkChangeEndsRefreshAll, 0);
    FillList(GetTopIndex(), -1, true);
    Reselect(selected);
}

void CMaterialsView::OnUnits()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CMaterialArray& database = doc->Materials();
    CMaterialUnitsDlg dialog(this);
    dialog.currencySymbol = database.m_currencySymbol;
    dialog.placesLeft = database.m_costPlacesLeft;
    dialog.placesRight = database.m_costPlacesRight;
    dialog.costUnit = database.m_costUnit;
    dialog.densityUnit = database.m_densityUnit;
    // Every cost and density may be rewritten: each edit window with edits is asked first. The
    // windows stay; on the notice each shows the new units, the edits a window keeps converted
    // as the records are.
    if (dialog.exec() == QDialog::Rejected || !doc->AskEveryEditForm(FormsAsked::BeforeChange))
        return;
    database.m_currencySymbol = dialog.currencySymbol;
    if (dialog.costUnit == CMaterialArray::kCostPerPound || dialog.costUnit == CMaterialArray::kCostPerKilogram)
        database.m_costUnit = dialog.costUnit;
    database.m_costPlacesLeft = dialog.placesLeft;
    database.m_costPlacesRight = dialog.placesRight;
    if (dialog.densityUnit == CMaterialArray::kDensityPerCup || dialog.densityUnit == CMaterialArray::kDensityPerDeciliter)
        database.m_densityUnit = dialog.densityUnit;
    if (dialog.multiplyCosts)
        database.ScaleCosts(dialog.costFactor);
    if (dialog.multiplyDensities)
        database.ScaleDensities(dialog.densityFactor);
    doc->SetModifiedFlag();
    Broadcast(HintMaterialsReplaced, 0);
    FillList(GetTopIndex(), -1, true);
}
