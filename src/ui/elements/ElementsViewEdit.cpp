// The elements window's editing commands: roles, the Element Information dialog and the
// database notes.

#include "elements/ElementsView.h"

#include "elements/ElementInfoDlg.h"
#include "elements/ElementsDoc.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/DbNotesDlg.h"

namespace {

constexpr int kElementsKind = static_cast<int>(DbFileType::Elements);

bool IsTableElement(int z)
{
    return z >= 1 && z < kElementCount;
}

bool AskYes(const char* question, unsigned helpId)
{
    return AppMessageBox(question, MsgYesNo | MsgIconQuestion, helpId) == MsgResultYes;
}

} // namespace

void CElementsView::BroadcastElement(int index)
{
    COxidariumApp::BroadcastUpdate(this, GetDocument(), kElementsKind, HintElementChanged, index, 0);
}

bool CElementsView::CanRevertRole() const
{
    const CElementsDoc* doc = ElementsDoc();
    return doc && IsTableElement(m_selZ) && doc->Elements()[m_selZ].role != GetDefaultElement(m_selZ).role;
}

void CElementsView::OnChangeRole()
{
    CElementsDoc* doc = ElementsDoc();
    const int z = m_selZ;
    if (!doc || !IsTableElement(z))
        return;
    doc->Elements().SetRole(z, NextRoleInCycle(doc->Elements()[z].role));
    doc->SetModifiedFlag();
    SelectElement(z, z);
    BroadcastElement(z);
}

void CElementsView::OnRevertRole()
{
    CElementsDoc* doc = ElementsDoc();
    const int z = m_selZ;
    if (!doc || !IsTableElement(z))
        return;
    doc->Elements().SetRole(z, GetDefaultElement(z).role);
    doc->SetModifiedFlag();
    SelectElement(z, z);
    BroadcastElement(z);
}

// Roles and expansion coefficients are asked for separately; element 0 is never reverted here.
void CElementsView::OnRevertAll()
{
    CElementsDoc* doc = ElementsDoc();
    if (!doc)
        return;
    CElementTable& table = doc->Elements();
    const bool roles = AskYes("Revert all elements to their default ceramic role?", kRevertRolesHelpId);
    if (roles) {
        for (int z = 1; z < kElementCount; ++z) {
            table.SetRole(z, GetDefaultElement(z).role);
            doc->SetModifiedFlag();
        }
    }
    const bool expansions =
        AskYes("Revert all elements to their default expansion coefficient?", kRevertExpansionsHelpId);
    if (expansions) {
        for (int z = 1; z < kElementCount; ++z) {
            table[z].expansion = GetDefaultElement(z).expansion;
            table[z].unusual = GetDefaultElement(z).unusual;
            doc->SetModifiedFlag();
        }
    }
    if (!roles && !expansions)
        return;
    RepaintAll();
    BroadcastElement(-1);
}

void CElementsView::FillInfoDialog(CElementInfoDlg& dialog, int z) const
{
    const CElementsDoc* doc = ElementsDoc();
    if (!doc || !IsTableElement(z))
        return;
    const CElementRecord& element = doc->Elements()[z];
    const CElementRecord& defaults = GetDefaultElement(z);
    dialog.helpId = kElementInfoHelpId;
    dialog.title = std::to_string(z) + "  " + element.name;
    dialog.symbol = element.symbol;
    dialog.notes = element.notes;
    dialog.annotations = element.annotations;
    dialog.expansion = element.expansion;
    dialog.unusual = element.unusual;
    dialog.viscosity = element.viscosity;
    dialog.stension = element.stension;
    dialog.ncat = element.ncat;
    dialog.nan = element.nan;
    dialog.roleIndex = ElementRoleToIndex(element.role);
    dialog.difOxInRed = element.difoxinred;
    dialog.ncatred = element.ncatred;
    dialog.nanred = element.nanred;
    dialog.roleRedIndex = ElementRoleToIndex(element.rolered);
    dialog.defaultExpansion = defaults.expansion;
    dialog.defaultUnusual = defaults.unusual;
    dialog.defaultViscosity = defaults.viscosity;
    dialog.defaultStension = defaults.stension;
    dialog.defaultNcat = defaults.ncat;
    dialog.defaultNan = defaults.nan;
    dialog.defaultRoleIndex = ElementRoleToIndex(defaults.role);
    dialog.defaultNcatred = defaults.ncatred;
    dialog.defaultNanred = defaults.nanred;
    dialog.defaultRoleRedIndex = ElementRoleToIndex(defaults.rolered);
}

void CElementsView::StoreInfoDialog(const CElementInfoDlg& dialog, int z)
{
    CElementsDoc* doc = ElementsDoc();
    if (!doc || !IsTableElement(z))
        return;
    CElementTable& table = doc->Elements();
    table.SetAnnotations(z, &dialog.annotations);
    table.SetNotes(z, &dialog.notes);
    CElementRecord& element = table[z];
    element.expansion = dialog.expansion;
    element.unusual = dialog.unusual;
    element.viscosity = dialog.viscosity;
    element.stension = dialog.stension;
    table.SetOxide(z, dialog.ncat, dialog.nan);
    table.SetReductionOxide(z, dialog.ncatred, dialog.nanred);
    element.difoxinred = dialog.difOxInRed;
    table.SetRole(z, ElementRoleFromIndex(dialog.roleIndex));
    table.SetReductionRole(z, ElementRoleFromIndex(dialog.roleRedIndex));
    doc->SetModifiedFlag();
}

void CElementsView::OnEditInformation()
{
    const int z = m_selZ;
    if (!ElementsDoc() || !IsTableElement(z))
        return;
    CElementInfoDlg dialog(this, std::string(), kElementInfoHelpId);
    FillInfoDialog(dialog, z);
    if (dialog.exec() != QDialog::Accepted)
        return;
    StoreInfoDialog(dialog, z);
    BroadcastElement(z);
    SelectElement(z, z);
}

void CElementsView::OnDatabaseNotes()
{
    CElementsDoc* doc = ElementsDoc();
    if (!doc)
        return;
    CDbNotesDlg dialog(this, "Element Database Notes and Information", kElementNotesHelpId);
    dialog.backgroundColor = GetNamedColor("elv_infoarea");
    dialog.databaseName = doc->GetDatabaseName();
    dialog.fileName = doc->GetPathName();
    dialog.notes = doc->m_infoLines;
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string oldName = doc->GetDatabaseName();
    doc->SetDatabaseName(dialog.databaseName);
    doc->m_infoLines = dialog.notes;
    doc->SetModifiedFlag();
    SetCaption(dialog.databaseName);
    if (dialog.databaseName != oldName)
        COxidariumApp::BroadcastUpdate(this, doc, kElementsKind, HintDatabaseNotesChanged, 0, 0);
}
