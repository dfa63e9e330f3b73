#include "elements/ElementsView.h"

#include "elements/ElementsDoc.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "support/ShellMenus.h"

namespace {

CMenuDef FileMenu()
{
    using M = CMenuDef;
    return ShellFileMenu({
        M::Item(CmdNewElementDb, "New &Element Database"),
        M::Item(CmdOpenElementDb, "Open E&lement Database..."),
        M::Item(CmdSaveElementDb, "&Save Element Database"),
        M::Item(CmdSaveElementDbAs, "Save &As..."),
        M::Item(CmdRevertElementDb, "&Revert To Saved"),
        M::Separator(),
        CMenuDef::PrintPopup("Print Element Lis&t", CmdElementPrintList, CmdElementPreviewList, CmdElementWriteList),
        CMenuDef::PrintPopup("Print Selected Ele&ments", CmdElementPrintSelected, CmdElementPreviewSelected,
                   CmdElementWriteSelected),
    });
}

CMenuDef ElementsMenu()
{
    using M = CMenuDef;
    return M::Popup("&Elements", {
        M::Item(CmdElementEditInformation, "Edit &Information..."),
        M::Separator(),
        M::Item(CmdElementChangeRole, "&Change Role\tShift+Right", "Shift+Right"),
        M::Item(CmdElementRevertRole, "&Revert Role to Default\tShift+Left", "Shift+Left"),
        M::Item(CmdElementRevertAll, "Revert &All"),
        M::Separator(),
        M::Item(CmdElementDatabaseNotes, "Database &Notes..."),
    });
}

} // namespace

void RegisterElementsMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kElementsResourceId, {
        FileMenu(),
        ElementsMenu(),
        M::WindowPopup(),
        HelpMenu(CmdElementHelp),
    });
}

void InstallElementsTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CElementsView>(docTemplate);
    RegisterElementsMenu();
}
