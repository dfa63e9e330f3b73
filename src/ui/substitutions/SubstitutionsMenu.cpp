// The menu bars of the substitution windows (list: resource 7, edit form: resource 11), their
// status-bar prompts, and the edit forms as the substitution document opens them.

#include "substitutions/SubstitutionEditView.h"
#include "substitutions/SubstitutionsView.h"

#include "framework/DocTemplate.h"
#include "framework/MenuDef.h"
#include "substitutions/SubstitutionsDoc.h"
#include "records/RecordEditWindows.h"

namespace {

using M = CMenuDef;

constexpr CRecordFileCommands kFileCommands = {CmdNewSubstitutionDb, CmdOpenSubstitutionDb, CmdSaveSubstitutionDb,
                                               CmdSaveSubstitutionDbAs, CmdRevertSubstitutionDb};
const CRecordWords& Words()
{
    return kSubstitutionsList.words;
}

CRecordEditWindows<CSubstitutionEditView, CSubstitutionsDoc> s_editWindows;

} // namespace

void RegisterSubstitutionsMenu()
{
    const CRecordListCommands& c = kSubstitutionsList.commands;
    RegisterMenuBar(kSubstitutionsResourceId, {
        RecordFileMenu(kFileCommands, Words(), {
            M::Item(CmdSubListMerge, "&Merge Substitution Database..."),
            M::Item(CmdSubListSaveSelected, "Save Se&lected As..."),
            M::Separator(),
            M::PrintPopup("Print Selected &Substitutions", CmdSubListPrintSelected, CmdSubListPreviewSelected,
                       CmdSubListWriteSelected),
            M::PrintPopup("Print Substitution &Table", CmdSubListPrintTable, CmdSubListPreviewTable,
                       CmdSubListWriteTable),
        }),
        M::Popup("&Edit", RecordListEditItems(c, false)),
        M::Popup("&Sort", RecordListSortItems(c, false)),
        M::Popup("&View", RecordListNameViewItems(c)),
        M::Popup("&Utilities", {
            M::Item(CmdSubListDatabaseNotes, "Database &Notes..."),
        }),
        M::WindowPopup(),
        HelpMenu(CmdSubListHelp),
    });
}

CMenuDef SubstitutionsPopupMenu()
{
    return RecordListPopupMenu(kSubstitutionsList.commands);
}

const char* SubstitutionsCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdSubListPrintSelected: return "Print substitution summaries";
    case CmdSubListPreviewSelected: return "Show substitution summaries in Print Preview mode";
    case CmdSubListWriteSelected: return "Write substitution summaries to a file";
    case CmdSubListPrintTable: return "Print the substitution table";
    case CmdSubListPreviewTable: return "Show the substitution table in Print Preview mode";
    case CmdSubListWriteTable: return "Write the substitution table to a file";
    default: break;
    }
    if (const char* prompt = RecordListCommandPrompt(kSubstitutionsList, id))
        return prompt;
    return RecordFileCommandPrompt(kFileCommands, Words(), id);
}

void InstallSubstitutionsTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CSubstitutionsView>(docTemplate);
    RegisterSubstitutionsMenu();
}

void RegisterSubstitutionEditMenu()
{
    RegisterMenuBar(kSubstitutionEditResourceId, {
        RecordFileMenu(kFileCommands, Words(), {
            M::PrintPopup("&Print Substitution", CmdSubEditPrint, CmdSubEditPrintPreview, CmdSubEditWriteToFile),
        }),
        RecordEditEditMenu(kSubstitutionEdit.commands),
        RecordEditViewMenu(kSubstitutionEdit.commands, Words()),
        M::Popup("&Tools", {
            M::Item(CmdSubEditExchange, "&Exchange"),
            M::Item(CmdSubEditNormalize, "&Normalize"),
            M::Item(CmdSubEditCheckMaterials, "&Check Materials"),
            M::Item(CmdSubEditBatchCalc, "&Batch Calculation..."),
        }),
        M::WindowPopup(),
        HelpMenu(CmdSubEditHelp),
    });
}

const char* SubstitutionEditCommandPrompt(unsigned id)
{
    switch (id) {
    case CmdSubEditExchange: return "Exchange the materials and the substitution";
    case CmdSubEditNormalize: return "Scale both sets so that the first material is 100";
    case CmdSubEditCheckMaterials: return "Check that every material is known, available and correctly mapped";
    case CmdSubEditBatchCalc: return "Calculate a batch for the materials";
    default: break;
    }
    if (const char* prompt = RecordEditCommandPrompt(kSubstitutionEdit.commands, Words(), id))
        return prompt;
    return SubstitutionsCommandPrompt(id);
}

void InstallSubstitutionEditTemplate(CDocTemplate& docTemplate)
{
    InstallViewFactory<CSubstitutionEditView>(docTemplate);
    RegisterSubstitutionEditMenu();
    s_editWindows.InstallWith(docTemplate, &SetSubstitutionEditViews);
}
