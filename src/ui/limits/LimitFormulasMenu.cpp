// The menu bars of the limit-formula windows (list: resource 8, edit form: resource 12), their
// status-bar prompts, and the edit forms as the limit-formulas document opens them.

#include "limits/LimitFormulaEditView.h"
#include "limits/LimitFormulasView.h"

#include "framework/DocTemplate.h"
#include "framework/MenuDef.h"
#include "limits/LimitFormulasDoc.h"
#include "records/RecordEditWindows.h"

namespace {

using M = CMenuDef;

constexpr CRecordFileCommands kFileCommands = {CmdNewLimitFormulaDb, CmdOpenLimitFormulaDb, CmdSaveLimitFormulaDb,
                                               CmdSaveLimitFormulaDbAs, CmdRevertLimitFormulaDb};
const CRecordWords& Words()
{
    return kLimitFormulasList.words;
}

CMenuDef ListFileMenu()
{
    return RecordFileMenu(kFileCommands, Words(), {
        M::Popup("&Merge", {
            M::Item(CmdLimListMergeFormulas, "&Limit Formulas..."),
            M::Item(CmdLimListMergeCombinations, "&Oxide Combinations..."),
        }),
        M::Item(CmdLimListSaveSelected, "Save Se&lected As..."),
        M::Separator(),
        M::PrintPopup("Print &Limit Formulas", CmdLimListPrint, CmdLimListPrintPreview, CmdLimListWriteToFile),
    });
}

CRecordEditWindows<CLimitFormulaEditView, CLimitFormulasDoc> s_editWindows;

} // namespace

void RegisterLimitFormulasMenu()
{
    const CRecordListCommands& c = kLimitFormulasList.commands;
    RegisterMenuBar(kLimitFormulasResourceId, {
        ListFileMenu(),
        M::Popup("&Edit", RecordListEditItems(c, false)),
        M::Popup("&Sort", RecordListSortItems(c, false)),
        M::Popup("&View", RecordListNameViewItems(c)),
        M::Popup("&Utilities", {
            M::Item(CmdLimListDatabaseNotes, "Database &Notes..."),
            M::Item(CmdLimListOxideCombinations, "&Oxide Combinations..."),
            M::Separator(),
            M::Item(CmdLimListUnion, "&Union"),
            M::Item(CmdLimListIntersection, "&Intersection"),
        }),
        M::WindowPopup(),
        HelpMenu(CmdLimListHelp),
    });
}

CMenuDef LimitFormulasPopupMenu()
{
    return RecordListPopupMenu(kLimitFormulasList.commands);
}

const char* LimitFormulasCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdLimListAlphabetize: return "Alphabetize the limit formula list ";
    case CmdLimListOxideCombinations: return "View and edit oxide combinations";
    case CmdLimListUnion: return "Create a new limit formula from the union of selected limit formulas";
    case CmdLimListIntersection: return "Create a new limit formula from the intersection of selected limit formulas";
    case CmdLimListMergeFormulas: return "Merge limit formulas from another limit formula database";
    case CmdLimListMergeCombinations: return "Merge oxide combinations from another limit formula database";
    case CmdLimListPrint: return "Print limit formula summaries";
    case CmdLimListPrintPreview: return "Show limit formula summaries in Print Preview mode";
    case CmdLimListWriteToFile: return "Write limit formula summaries to a file";
    default: break;
    }
    if (const char* prompt = RecordListCommandPrompt(kLimitFormulasList, id))
        return prompt;
    return RecordFileCommandPrompt(kFileCommands, Words(), id);
}

void InstallLimitFormulasTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CLimitFormulasView>(docTemplate);
    RegisterLimitFormulasMenu();
}

void RegisterLimitFormulaEditMenu()
{
    RegisterMenuBar(kLimitFormulaEditResourceId, {
        RecordFileMenu(kFileCommands, Words(), {
            M::PrintPopup("&Print Limit Formula", CmdLimEditPrint, CmdLimEditPrintPreview, CmdLimEditWriteToFile),
        }),
        RecordEditEditMenu(kLimitFormulaEdit.commands),
        RecordEditViewMenu(kLimitFormulaEdit.commands, Words()),
        M::Popup("&Utilities", {
            M::Item(CmdLimEditOxideCombinations, "Oxide &Combinations..."),
        }),
        M::WindowPopup(),
        HelpMenu(CmdLimEditHelp),
    });
}

const char* LimitFormulaEditCommandPrompt(unsigned id)
{
    if (id == CmdLimEditOxideCombinations)
        return "View and edit oxide combinations";
    if (const char* prompt = RecordEditCommandPrompt(kLimitFormulaEdit.commands, Words(), id))
        return prompt;
    return LimitFormulasCommandPrompt(id);
}

void InstallLimitFormulaEditTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CLimitFormulaEditView>(docTemplate);
    RegisterLimitFormulaEditMenu();
    s_editWindows.InstallWith(docTemplate, &SetLimitFormulaEditViews);
}
