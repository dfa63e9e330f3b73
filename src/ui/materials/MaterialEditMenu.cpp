// The material edit window's menu bar, and the edit windows as the materials document opens
// them.

#include "materials/MaterialEditView.h"

#include "framework/DocTemplate.h"
#include "framework/MenuDef.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"
#include "shell/AppCommandIds.h"
#include "records/RecordEditWindows.h"

namespace {

using M = CMenuDef;

constexpr CRecordFileCommands kFileCommands = {CmdNewMaterialDb, CmdOpenMaterialDb, CmdSaveMaterialDb,
                                               CmdSaveMaterialDbAs, CmdRevertMaterialDb};
CMenuDef FormulaMenu()
{
    return M::Popup("F&ormula", {
        M::Item(CmdMatEditConvertFormula, "&Convert Formula..."),
        M::Item(CmdMatEditNormalize, "&Normalize Formula"),
        M::Item(CmdMatEditAddLoi, "Add &LOI to Formula"),
    });
}

CRecordEditWindows<CMaterialEditView, CMaterialsDoc> s_editWindows;

} // namespace

void RegisterMaterialEditMenu()
{
    const CRecordWords& words = kMaterialsList.words;
    RegisterMenuBar(kMaterialEditResourceId, {
        RecordFileMenu(kFileCommands, words, {
            M::PrintPopup("&Print Material", CmdMatEditPrint, CmdMatEditPrintPreview, CmdMatEditWriteToFile),
        }),
        RecordEditEditMenu(kMaterialEdit.commands),
        RecordEditViewMenu(kMaterialEdit.commands, words),
        FormulaMenu(),
        M::WindowPopup(),
        HelpMenu(CmdMatEditHelp),
    });
}

void InstallMaterialEditTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CMaterialEditView>(docTemplate);
    RegisterMaterialEditMenu();
    s_editWindows.InstallWith(docTemplate, &SetMaterialEditViews);
}
