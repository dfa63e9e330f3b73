#include "textfile/TextFileView.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "shell/AppCommandIds.h"
#include "support/ShellMenus.h"
#include "textfile/TextFileCommands.h"
#include "textfile/TextFileDoc.h"

namespace {

CMenuDef FileMenu()
{
    using M = CMenuDef;
    return ShellFileMenu({
        M::Item(CmdTextSave, "&Save"),
        M::Item(CmdTextSaveAs, "Save &As..."),
        M::Item(CmdTextRevert, "&Revert To Saved"),
        M::Item(CmdTextClose, "&Close"),
        M::Separator(),
        M::Item(CmdTextPrint, "&Print..."),
        M::Item(CmdTextPrintPreview, "Print Pre&view..."),
        M::Item(CmdTextWriteToFile, "Write to &File..."),
        M::Item(CmdTextEmail, "&Email"),
    });
}

CMenuDef EditMenu()
{
    using M = CMenuDef;
    return M::Popup("&Edit", {
        M::Item(CmdEditUndo, "&Undo", "Ctrl+Z"),
        M::Separator(),
        M::Item(CmdEditCut, "Cu&t", "Ctrl+X"),
        M::Item(CmdEditCopy, "&Copy", "Ctrl+C"),
        M::Item(CmdEditPaste, "&Paste", "Ctrl+V"),
        M::Item(CmdEditClear, "&Delete"),
        M::Item(CmdEditClearAll, "Clear All", "Ctrl+Del"),
        M::Item(CmdEditSelectAll, "Select &All", "Ctrl+A"),
        M::Separator(),
        M::Item(CmdEditFind, "&Find...", "Ctrl+F"),
        M::Item(CmdEditRepeat, "Find &Next", "F3"),
        M::Item(CmdEditReplace, "R&eplace...", "Ctrl+H"),
        M::Separator(),
        M::Popup("Remove &Blank Lines", {
            M::Item(CmdRemoveBlankLinesAll, "&All"),
            M::Item(CmdRemoveBlankLinesTrailing, "&Trailing"),
        }),
        M::Item(CmdTabsToSpaces, "&Tabs to Spaces..."),
        M::Popup("Alp&habetize", {
            M::Item(CmdAlphabetizeForward, "&Forward"),
            M::Item(CmdAlphabetizeReverse, "&Reverse"),
            M::Item(CmdAlphabetizeForwardCase, "Forward, &Case-Sensitive"),
            M::Item(CmdAlphabetizeReverseCase, "Reverse, Case-&Sensitive"),
        }),
    });
}

} // namespace

void RegisterTextFileMenu()
{
    using M = CMenuDef;
    RegisterMenuBar(kTextFileResourceId, {
        FileMenu(),
        EditMenu(),
        M::WindowPopup({M::Item(CmdShellInformationWindow, "In&formation Window")}),
        HelpMenu(CmdHelp),
    });
}

void InstallTextFileTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CTextFileView>(docTemplate);
    RegisterTextFileMenu();
}
