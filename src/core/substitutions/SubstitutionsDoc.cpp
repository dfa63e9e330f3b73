#include "substitutions/SubstitutionsDoc.h"

#include "framework/UpdateHint.h"
#include "substitutions/SubstitutionText.h"

CSubstitutionsDoc* g_pSubstitutionsDoc = nullptr;

namespace {

const CRecordDatabaseKind kSubstitutionsKind = {
    .kind = DbFileType::Substitutions,
    .title = kDefaultSubstitutionDbName,
    .profileKey = "SubstitutionDBFileName",
    .fileFilter = "Database Files (*.sub)|*.sub|All Files (*.*)|*.*||",
    .defaultExtension = "sub",
    .openTitle = "Open Substitution Database...",
    .saveAsTitle = "Substitution Database Save As...",
    .newRecordName = kNewSubstitutionName,
    .openDialogHelpId = 300,
    .saveDialogHelpId = 303,
    .openErrorHelpId = kSubstitutionOpenErrorHelpId,
    .readErrorHelpId = kSubstitutionReadErrorHelpId,
    .backupHelpId = kSubstitutionBackupQuestionHelpId,
    .writeErrorHelpId = kSubstitutionWriteErrorHelpId,
    .hints = {HintSubstitutionChanged, HintSubstitutionsInserted, HintSubstitutionsDeleted,
              HintSubstitutionsReordered, HintSubstitutionsReplaced},
    .commands = {CmdNewSubstitutionDb, CmdOpenSubstitutionDb, CmdSaveSubstitutionDb, CmdSaveSubstitutionDbAs,
                 CmdRevertSubstitutionDb},
    .untitledWhenUnread = true,
};

} // namespace

CSubstitutionsDoc::CSubstitutionsDoc() : CRecordDatabaseDocOf(kSubstitutionsKind)
{
    g_pSubstitutionsDoc = this;
}

CSubstitutionsDoc::~CSubstitutionsDoc()
{
    if (g_pSubstitutionsDoc == this)
        g_pSubstitutionsDoc = nullptr;
}

// --- texts ----------------------------------------------------------------------------------------

void CSubstitutionsDoc::WriteSummaries(std::ostream& out, std::span<const int> indices,
                                       const CSubstitution* record) const
{
    const CSubstitutionTextFormat format = CSubstitutionTextFormat::FromPreferences();
    if (record) {
        WriteSubstitutionSummary(out, *record, format);
        return;
    }
    for (const int index : indices) {
        if (const CSubstitution* s = m_records.GetAt(index))
            WriteSubstitutionSummary(out, *s, format);
    }
}

void CSubstitutionsDoc::WriteTable(std::ostream& out) const
{
    WriteSubstitutionTable(out, m_records, GetPathName(), CSubstitutionTextFormat::FromPreferences());
}
