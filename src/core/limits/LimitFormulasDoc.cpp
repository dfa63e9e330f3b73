#include "limits/LimitFormulasDoc.h"

#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "limits/LimitFormulaSummary.h"
#include "limits/MakeLimitFormulaRequest.h"
#include "shell/Preferences.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"
#include "textfile/TextFileViewBase.h"

CLimitFormulasDoc* g_pLimitFormulasDoc = nullptr;

namespace {

const CRecordDatabaseKind kLimitFormulasKind = {
    .kind = DbFileType::LimitFormulas,
    .title = "Limit Formulas",
    .profileKey = "LimitFormulaDBFileName",
    .fileFilter = "Database Files (*.lim)|*.lim|All Files (*.*)|*.*||",
    .defaultExtension = "lim",
    .openTitle = "Open LimitFormula Database...",
    .saveAsTitle = "Limit Formula Database Save As...",
    .newRecordName = "new limit formula",
    .openDialogHelpId = 300,
    .saveDialogHelpId = 303,
    .openErrorHelpId = kLimitFormulaOpenErrorHelpId,
    .readErrorHelpId = kLimitFormulaReadErrorHelpId,
    .backupHelpId = kLimitFormulaBackupQuestionHelpId,
    .writeErrorHelpId = kLimitFormulaWriteErrorHelpId,
    .hints = {HintLimitFormulaChanged, HintLimitFormulasInserted, HintLimitFormulasDeleted,
              HintLimitFormulasReordered, HintLimitFormulasReplaced},
    .commands = {CmdNewLimitFormulaDb, CmdOpenLimitFormulaDb, CmdSaveLimitFormulaDb, CmdSaveLimitFormulaDbAs,
                 CmdRevertLimitFormulaDb},
};

// The statistics replace the Information window's text; the window stays minimised while it
// fills and comes forward when it is done.
void ShowStatistics(const CStringArrayEx& lines)
{
    CTextFileDoc* window = GetInformationWindow();
    if (!window)
        return;
    CTextFileViewBase* view = window->GetTextView();
    CFrameHost* frame = view ? view->GetFrame() : nullptr;
    window->ClearText();
    if (frame)
        frame->MinimizeFrame();
    window->AppendLines(lines);
    if (frame)
        frame->ActivateFrame();
}

} // namespace

CLimitFormulasDoc::CLimitFormulasDoc() : CRecordDatabaseDocOf(kLimitFormulasKind)
{
    g_pLimitFormulasDoc = this;
    SetCurrentLimitFormulaDB(&m_records);
}

CLimitFormulasDoc::~CLimitFormulasDoc()
{
    if (g_pLimitFormulasDoc == this)
        g_pLimitFormulasDoc = nullptr;
    if (GetCurrentLimitFormulaDB() == &m_records)
        SetCurrentLimitFormulaDB(nullptr);
}

void CLimitFormulasDoc::StartNewDatabase()
{
    CRecordDatabaseDocOf::StartNewDatabase();
    m_records.AddDefaultCombinations();
}

// Without a glaze there are no values to bound: rather than a formula with made-up ranges the
// user is told why nothing was made.
int CLimitFormulasDoc::CompileFromGlazes(const CMakeLimitFormulaRequest& request)
{
    CLimitFormula formula;
    CStringArrayEx information;
    if (CompileLimitFormula(request, formula, information) != 0) {
        AppMessageBox("No glaze with a valid analysis was found; no limit formula was made.",
                      MsgOk | MsgIconExclamation, kMakeLimitFormulaHelpId);
        return -1;
    }
    if (request.m_statisticsToInformation)
        ShowStatistics(information);
    const int index = m_records.GetCount();
    InsertFormula(index, formula);
    return index;
}

void CLimitFormulasDoc::WriteSummary(std::ostream& out, std::span<const int> indices, bool withHeader,
                                     const CLimitFormula* formula) const
{
    WriteLimitFormulaSummary(out, m_records, GetPathName(), indices, withHeader, formula, g_prefs.prtuseffs > 0);
}
