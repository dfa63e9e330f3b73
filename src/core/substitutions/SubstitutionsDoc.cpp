#include "substitutions/SubstitutionsDoc.h"

#include "framework/DocRegistry.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "shell/DocumentFile.h"
#include "substitutions/SubstitutionText.h"
#include "support/DbFileType.h"
#include "support/Profile.h"
#include "support/Services.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

CSubstitutionsDoc* g_pSubstitutionsDoc = nullptr;

namespace {

constexpr int kSubstitutionsKind = static_cast<int>(DbFileType::Substitutions);

constexpr unsigned kOpenDialogHelpId = 300;
constexpr unsigned kSaveDialogHelpId = 303;
constexpr const char* kSubstitutionFileFilter = "Database Files (*.sub)|*.sub|All Files (*.*)|*.*||";

CSubstitutionEditViews* s_editViews = nullptr;

void Warn(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

// The file the next start opens.
void RememberSubstitutionFile(const std::string& path)
{
    if (CProfile* profile = GetProfile())
        profile->WriteString("Files", "SubstitutionDBFileName", path);
}

} // namespace

CSubstitutionEditViews* GetSubstitutionEditViews()
{
    return s_editViews;
}

void SetSubstitutionEditViews(CSubstitutionEditViews* views)
{
    s_editViews = views;
}

CSubstitutionsDoc::CSubstitutionsDoc()
{
    SetTitle(kDefaultSubstitutionDbName);
    g_pSubstitutionsDoc = this;
    SetSingletonDocument(kSubstitutionsKind, this);
}

CSubstitutionsDoc::~CSubstitutionsDoc()
{
    if (g_pSubstitutionsDoc == this)
        g_pSubstitutionsDoc = nullptr;
    if (GetSingletonDocument(kSubstitutionsKind) == this)
        SetSingletonDocument(kSubstitutionsKind, nullptr);
}

void CSubstitutionsDoc::Broadcast(int code)
{
    BroadcastUpdate(nullptr, this, kSubstitutionsKind, code, 0, 0);
}

// --- records --------------------------------------------------------------------------------------

void CSubstitutionsDoc::RemoveRecord(int index)
{
    m_substitutions.RemoveAt(index);
    SetModifiedFlag();
}

void CSubstitutionsDoc::InsertRecord(int index, const CSubstitution& record)
{
    m_substitutions.InsertAt(index, record);
    SetModifiedFlag();
}

void CSubstitutionsDoc::SetRecord(int index, const CSubstitution& record)
{
    m_substitutions.SetAt(index, record);
    SetModifiedFlag();
}

void CSubstitutionsDoc::SetDatabaseName(const std::string& name)
{
    m_substitutions.m_dbName = name;
    SetModifiedFlag();
}

void CSubstitutionsDoc::GetRecordRows(std::vector<CRecordRow>& rows) const
{
    rows.clear();
    for (int i = 0; i < m_substitutions.GetCount(); ++i) {
        const CSubstitution* record = m_substitutions.GetAt(i);
        rows.push_back({i, record ? record->m_name : std::string()});
    }
}

// --- edit views -----------------------------------------------------------------------------------

bool CSubstitutionsDoc::AskEditView(CView* view, CSubstitutionEditLink& link)
{
    if (CFrameHost* frame = view->GetFrame())
        frame->ActivateFrame();
    const int answer = link.AskSaveChanges();
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultYes)
        link.SaveToDatabase();
    return true;
}

int CSubstitutionsDoc::AskEditViews()
{
    CSubstitutionEditViews* views = GetSubstitutionEditViews();
    if (!views)
        return 1;
    const std::vector<CView*> snapshot = GetViews();
    for (CView* view : snapshot) {
        // An earlier answer may have closed this view.
        if (std::find(GetViews().begin(), GetViews().end(), view) == GetViews().end())
            continue;
        CSubstitutionEditLink* link = views->AsEditView(view);
        if (link && !AskEditView(view, *link))
            return 0;
    }
    return 1;
}

// --- document life --------------------------------------------------------------------------------

int CSubstitutionsDoc::OpenDatabase(const std::string& path)
{
    if (!SaveModified())
        return 1;
    OnOpenDocument(path);
    Broadcast(HintSubstitutionsReplaced);
    return 0;
}

bool CSubstitutionsDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_substitutions.Reset();
    m_substitutions.InsertAt(0, CSubstitution(kNewSubstitutionName));
    SetModifiedFlag(false);
    return true;
}

bool CSubstitutionsDoc::OnOpenDocument(const std::string& path)
{
    m_substitutions.Reset();
    bool loaded = false;
    std::error_code ec;
    std::ifstream in;
    if (!path.empty() && !std::filesystem::is_directory(path, ec))
        in.open(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        Warn(path + ": Error opening file", kSubstitutionOpenErrorHelpId);
    } else {
        int result = 0;
        {
            CBusyScope busy;
            result = m_substitutions.Read(in);
        }
        if (result != 0)
            Warn(path + ": " + m_substitutions.m_errorText, kSubstitutionReadErrorHelpId);
        loaded = result == 0;
    }
    if (loaded) {
        SetPathName(path);
    } else {
        ClearPathName();
        SetTitle("Untitled");
    }
    // A file that could not be read stays remembered: the next start tries it again.
    if (loaded)
        RememberSubstitutionFile(path);
    SetModifiedFlag(false);
    return true;
}

bool CSubstitutionsDoc::OnSaveDocument(const std::string& path)
{
    const bool written = WriteDocumentFile(path, kSubstitutionBackupQuestionHelpId, kSubstitutionWriteErrorHelpId,
                                           [this](std::ostream& out) { return m_substitutions.Write(out) == 0; });
    if (!written)
        return false;
    SetModifiedFlag(false);
    RememberSubstitutionFile(path);
    return true;
}

CFileDialogRequest CSubstitutionsDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = "Substitution Database Save As...";
    request.defaultExtension = "sub";
    request.filter = kSubstitutionFileFilter;
    request.helpId = kSaveDialogHelpId;
    return request;
}

bool CSubstitutionsDoc::SaveModified()
{
    if (!AskEditViews())
        return false;
    return CDocument::SaveModified();
}

bool CSubstitutionsDoc::CanCloseFrame(CFrameHost* frame)
{
    for (CView* view : GetViews()) {
        if (!frame || view->GetFrame() != frame)
            continue;
        CSubstitutionEditViews* views = GetSubstitutionEditViews();
        if (CSubstitutionEditLink* link = views ? views->AsEditView(view) : nullptr)
            return AskEditView(view, *link);
        // The list window stays while the program runs.
        frame->MinimizeFrame();
        return false;
    }
    return true;
}

void CSubstitutionsDoc::OnFileOpen()
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Open Substitution Database...";
    request.filter = kSubstitutionFileFilter;
    request.flags = FileDlgHideReadOnly;
    request.helpId = kOpenDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty())
        OpenDatabase(answer.paths.front());
}

bool CSubstitutionsDoc::OnCommand(unsigned id)
{
    switch (id) {
    case CmdRevertSubstitutionDb:
        if (!GetPathName().empty()) {
            OnOpenDocument(std::string(GetPathName()));
            Broadcast(HintSubstitutionsReplaced);
        }
        return true;
    case CmdSaveSubstitutionDb:
    case CmdSaveSubstitutionDbAs:
        if (AskEditViews()) {
            DoSave(id == CmdSaveSubstitutionDb ? std::string(GetPathName()) : std::string(), true);
            Broadcast(HintDocumentSaved);
        }
        return true;
    case CmdNewSubstitutionDb:
        if (SaveModified()) {
            OnNewDocument();
            Broadcast(HintSubstitutionsReplaced);
        }
        return true;
    case CmdOpenSubstitutionDb:
        OnFileOpen();
        return true;
    default:
        return false;
    }
}

bool CSubstitutionsDoc::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdRevertSubstitutionDb:
        ui.Enable(CanRevertToSaved());
        return true;
    case CmdSaveSubstitutionDb:
    case CmdSaveSubstitutionDbAs:
    case CmdNewSubstitutionDb:
    case CmdOpenSubstitutionDb:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
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
        if (const CSubstitution* s = m_substitutions.GetAt(index))
            WriteSubstitutionSummary(out, *s, format);
    }
}

void CSubstitutionsDoc::WriteTable(std::ostream& out) const
{
    WriteSubstitutionTable(out, m_substitutions, GetPathName(), CSubstitutionTextFormat::FromPreferences());
}
