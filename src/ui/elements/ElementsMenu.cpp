#include "elements/ElementsView.h"

#include "elements/ElementsDoc.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"

namespace {

CMenuDef FileMenu()
{
    using M = CMenuDef;
    return M::Popup("&File", {
        M::Item(CmdShellNewGlazeDatabase, "&New Glaze Database"),
        M::Item(CmdShellOpenGlazeDatabase, "&Open Glaze Database..."),
        M::Item(CmdShellNewTextWindow, "&New Text Window"),
        M::Item(CmdShellOpenTextFile, "&Open Text File..."),
        M::Separator(),
        M::Item(CmdNewElementDb, "New &Element Database"),
        M::Item(CmdOpenElementDb, "Open E&lement Database..."),
        M::Item(CmdSaveElementDb, "&Save Element Database"),
        M::Item(CmdSaveElementDbAs, "Save &As..."),
        M::Item(CmdRevertElementDb, "&Revert To Saved"),
        M::Separator(),
        CMenuDef::PrintPopup("Print Element Lis&t", CmdElementPrintList, CmdElementPreviewList, CmdElementWriteList),
        CMenuDef::PrintPopup("Print Selected Ele&ments", CmdElementPrintSelected, CmdElementPreviewSelected,
                   CmdElementWriteSelected),
        M::Separator(),
        M::Item(CmdShellSaveAllDatabases, "Save All &Databases"),
        M::Item(CmdShellPreferences, "&Preferences..."),
        M::Separator(),
        M::Item(CmdShellExit, "E&xit"),
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
        M::Popup("&Help", {
            M::Item(CmdElementHelp, "&Help", "F1"),
            M::Item(CmdShellHelpContents, "Help &Contents"),
            M::Separator(),
            M::Item(CmdShellAbout, "&About..."),
        }),
    });
}

void InstallElementsTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CElementsView>(docTemplate);
    RegisterElementsMenu();
}
