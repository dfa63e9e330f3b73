#include "limits/LimitFormulasDoc.h"

#include "framework/DocRegistry.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "limits/LimitFormulaSummary.h"
#include "limits/MakeLimitFormulaRequest.h"
#include "shell/DocumentFile.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/Profile.h"
#include "support/Services.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"
#include "textfile/TextFileViewBase.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

CLimitFormulasDoc* g_pLimitFormulasDoc = nullptr;

namespace {

constexpr int kLimitFormulasKind = static_cast<int>(DbFileType::LimitFormulas);

constexpr unsigned kOpenDialogHelpId = 300;
constexpr unsigned kSaveDialogHelpId = 303;
constexpr const char* kLimitFormulaFileFilter = "Database Files (*.lim)|*.lim|All Files (*.*)|*.*||";

CLimitFormulaEditViews* s_editViews = nullptr;

void Warn(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

// The file the next start opens.
void RememberLimitFormulaFile(const std::string& path)
{
    if (CProfile* profile = GetProfile())
        profile->WriteString("Files", "LimitFormulaDBFileName", path);
}

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

CLimitFormulaEditViews* GetLimitFormulaEditViews()
{
    return s_editViews;
}

void SetLimitFormulaEditViews(CLimitFormulaEditViews* views)
{
    s_editViews = views;
}

CLimitFormulasDoc::CLimitFormulasDoc()
{
    SetTitle("Limit Formulas");
    g_pLimitFormulasDoc = this;
    SetSingletonDocument(kLimitFormulasKind, this);
    SetCurrentLimitFormulaDB(&m_database);
}

CLimitFormulasDoc::~CLimitFormulasDoc()
{
    if (g_pLimitFormulasDoc == this)
        g_pLimitFormulasDoc = nullptr;
    if (GetSingletonDocument(kLimitFormulasKind) == this)
        SetSingletonDocument(kLimitFormulasKind, nullptr);
    if (GetCurrentLimitFormulaDB() == &m_database)
        SetCurrentLimitFormulaDB(nullptr);
}

void CLimitFormulasDoc::GetRecordRows(std::vector<CRecordRow>& rows) const
{
    rows.clear();
    for (int i = 0; i < m_database.GetCount(); ++i)
        rows.push_back({i, m_database.GetAt(i).m_name});
}

void CLimitFormulasDoc::Broadcast(int code, int index)
{
    BroadcastUpdate(nullptr, this, kLimitFormulasKind, code, index, 0);
}

// --- record operations ----------------------------------------------------------------------------

void CLimitFormulasDoc::RemoveFormula(int n)
{
    m_database.RemoveFormula(n);
    SetModifiedFlag();
}

void CLimitFormulasDoc::InsertFormula(int n, const CLimitFormula& formula)
{
    m_database.InsertFormula(n, formula);
    SetModifiedFlag();
}

void CLimitFormulasDoc::SetFormula(int n, const CLimitFormula& formula)
{
    m_database.SetFormula(n, formula);
    SetModifiedFlag();
}

// Without a glaze there are no values to bound: rather than a formula with made-up ranges the
// user is told why nothing was made.
int CLimitFormulasDoc::CompileFromGlazes(const CMakeLimitFormulaRequest& request)
{
    CLimitFormula formula;
    CStringArrayEx information;
    if (CompileLimitFormula(request, formula, information) != 0) {
        Warn("No glaze with a valid analysis was found; no limit formula was made.", kMakeLimitFormulaHelpId);
        return -1;
    }
    if (request.m_statisticsToInformation)
        ShowStatistics(information);
    const int index = m_database.GetCount();
    InsertFormula(index, formula);
    return index;
}

void CLimitFormulasDoc::WriteSummary(std::ostream& out, std::span<const int> indices, bool withHeader,
                                     const CLimitFormula* formula) const
{
    WriteLimitFormulaSummary(out, m_database, GetPathName(), indices, withHeader, formula, g_prefs.prtuseffs > 0);
}

// --- edit forms -----------------------------------------------------------------------------------

int CLimitFormulasDoc::OpenEditView(int index)
{
    CLimitFormulaEditViews* views = GetLimitFormulaEditViews();
    return views && views->OpenEditView(*this, index) ? 1 : 0;
}

void CLimitFormulasDoc::OpenLimitedEditView(const std::vector<int>& indices)
{
    CLimitFormulaEditViews* views = GetLimitFormulaEditViews();
    if (!indices.empty() && views)
        views->OpenLimitedEditView(*this, indices);
}

bool CLimitFormulasDoc::AskEditView(CView* view, CLimitFormulaEditLink& link, bool close)
{
    CFrameHost* frame = view->GetFrame();
    if (frame)
        frame->ActivateFrame();
    const int answer = link.AskSaveChanges();
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultYes)
        link.SaveToDatabase();
    if (close) {
        link.SetChanged(false);
        if (frame)
            frame->CloseFrame();
    }
    return true;
}

int CLimitFormulasDoc::AskEditViews(bool close)
{
    CLimitFormulaEditViews* views = GetLimitFormulaEditViews();
    if (!views)
        return 1;
    const std::vector<CView*> snapshot = GetViews();
    for (CView* view : snapshot) {
        // An earlier answer may have closed this view.
        if (std::find(GetViews().begin(), GetViews().end(), view) == GetViews().end())
            continue;
        CLimitFormulaEditLink* link = views->AsEditView(view);
        if (link && !AskEditView(view, *link, close))
            return 0;
    }
    return 1;
}

// --- document life --------------------------------------------------------------------------------

int CLimitFormulasDoc::OpenDatabase(const std::string& path)
{
    if (!SaveModified())
        return 1;
    OnOpenDocument(path);
    Broadcast(HintLimitFormulasReplaced, 0);
    return 0;
}

bool CLimitFormulasDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_database.Reset();
    m_database.InsertFormula(0, CLimitFormula("new limit formula"));
    m_database.AddDefaultCombinations();
    SetModifiedFlag(false);
    return true;
}

bool CLimitFormulasDoc::OnOpenDocument(const std::string& path)
{
    m_database.Reset();
    bool loaded = false;
    std::error_code ec;
    std::ifstream in;
    if (!path.empty() && !std::filesystem::is_directory(path, ec))
        in.open(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        Warn(path + ": Error opening file", kLimitFormulaOpenErrorHelpId);
    } else {
        int result = 0;
        {
            CBusyScope busy;
            result = m_database.Read(in);
        }
        if (result != 0)
            Warn(path + ": " + m_database.m_errorText, kLimitFormulaReadErrorHelpId);
        loaded = result == 0;
    }
    if (loaded)
        SetPathName(path);
    else
        ClearPathName();
    // A file that could not be read stays remembered: the next start tries it again.
    if (loaded)
        RememberLimitFormulaFile(path);
    SetModifiedFlag(false);
    return true;
}

bool CLimitFormulasDoc::OnSaveDocument(const std::string& path)
{
    const bool written = WriteDocumentFile(path, kLimitFormulaBackupQuestionHelpId, kLimitFormulaWriteErrorHelpId,
                                           [this](std::ostream& out) { return m_database.Write(out) == 0; });
    if (!written)
        return false;
    SetModifiedFlag(false);
    RememberLimitFormulaFile(path);
    return true;
}

CFileDialogRequest CLimitFormulasDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = "Limit Formula Database Save As...";
    request.defaultExtension = "lim";
    request.filter = kLimitFormulaFileFilter;
    request.helpId = kSaveDialogHelpId;
    return request;
}

bool CLimitFormulasDoc::SaveModified()
{
    if (!AskEditViews(false))
        return false;
    return CDocument::SaveModified();
}

bool CLimitFormulasDoc::CanCloseFrame(CFrameHost* frame)
{
    for (CView* view : GetViews()) {
        if (!frame || view->GetFrame() != frame)
            continue;
        CLimitFormulaEditViews* views = GetLimitFormulaEditViews();
        if (CLimitFormulaEditLink* link = views ? views->AsEditView(view) : nullptr)
            return AskEditView(view, *link, false);
        // The list window stays while the program runs.
        frame->MinimizeFrame();
        return false;
    }
    return true;
}

void CLimitFormulasDoc::SetPathName(const std::string& path, bool /*addToRecentFiles*/)
{
    const std::string title = GetTitle();
    CDocument::SetPathName(path, false);
    SetTitle(title);
}

void CLimitFormulasDoc::OnFileOpen()
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Open LimitFormula Database...";
    request.filter = kLimitFormulaFileFilter;
    request.flags = FileDlgHideReadOnly;
    request.helpId = kOpenDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty())
        OpenDatabase(answer.paths.front());
}

bool CLimitFormulasDoc::OnCommand(unsigned id)
{
    switch (id) {
    case CmdRevertLimitFormulaDb:
        if (!GetPathName().empty()) {
            OnOpenDocument(std::string(GetPathName()));
            Broadcast(HintLimitFormulasReplaced, 0);
        }
        return true;
    case CmdSaveLimitFormulaDb:
    case CmdSaveLimitFormulaDbAs:
        if (AskEditViews(false)) {
            DoSave(id == CmdSaveLimitFormulaDb ? std::string(GetPathName()) : std::string(), true);
            Broadcast(HintDocumentSaved, 0);
        }
        return true;
    case CmdNewLimitFormulaDb:
        if (SaveModified()) {
            OnNewDocument();
            Broadcast(HintLimitFormulasReplaced, 0);
        }
        return true;
    case CmdOpenLimitFormulaDb:
        OnFileOpen();
        return true;
    default:
        return false;
    }
}

bool CLimitFormulasDoc::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdRevertLimitFormulaDb:
        ui.Enable(CanRevertToSaved());
        return true;
    case CmdSaveLimitFormulaDb:
    case CmdSaveLimitFormulaDbAs:
    case CmdNewLimitFormulaDb:
    case CmdOpenLimitFormulaDb:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
