#include "graphs/GraphTypesDoc.h"

#include "framework/DocRegistry.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "graphs/GraphTemplateSummary.h"
#include "shell/DocumentFile.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/Profile.h"
#include "support/Services.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

CGraphTypesDoc* g_pGraphTypesDoc = nullptr;

namespace {

constexpr int kGraphTemplatesKind = static_cast<int>(DbFileType::GraphTemplates);
constexpr const char* kDocumentTitle = "Graph Templates";

CGraphTemplateViews* s_views = nullptr;

void Warn(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

// The file the next start opens.
void RememberGraphTemplateFile(const std::string& path)
{
    if (CProfile* profile = GetProfile())
        profile->WriteString("Files", "GraphTypeDBFileName", path);
}

CGraphTypeEditLink* EditLinkOf(CView* view)
{
    return s_views && view ? s_views->AsEditView(view) : nullptr;
}

CGraphViewLink* GraphLinkOf(CView* view)
{
    return s_views && view ? s_views->AsGraphView(view) : nullptr;
}

// The template a new database starts with: it draws the oxides of the glaze being edited.
CGraphTemplate NewDatabaseTemplate()
{
    CGraphTemplate graphTemplate("new graph template");
    CGraphDataSource source("new data source");
    source.m_name = "[current glaze]";
    graphTemplate.m_dataSources.InsertAt(0, source);
    return graphTemplate;
}

} // namespace

CGraphTemplateViews* GetGraphTemplateViews()
{
    return s_views;
}

void SetGraphTemplateViews(CGraphTemplateViews* views)
{
    s_views = views;
}

CGraphTypesDoc::CGraphTypesDoc()
{
    SetTitle(kDocumentTitle);
    g_pGraphTypesDoc = this;
    SetSingletonDocument(kGraphTemplatesKind, this);
}

CGraphTypesDoc::~CGraphTypesDoc()
{
    if (g_pGraphTypesDoc == this)
        g_pGraphTypesDoc = nullptr;
    if (GetSingletonDocument(kGraphTemplatesKind) == this)
        SetSingletonDocument(kGraphTemplatesKind, nullptr);
}

void CGraphTypesDoc::Broadcast(int code)
{
    BroadcastUpdate(nullptr, this, kGraphTemplatesKind, code, 0, 0);
}

// --- record operations ----------------------------------------------------------------------------

void CGraphTypesDoc::RemoveTemplate(int i)
{
    m_database.RemoveAt(i);
    SetModifiedFlag();
}

void CGraphTypesDoc::InsertTemplate(int i, const CGraphTemplate& graphTemplate)
{
    m_database.InsertAt(i, graphTemplate);
    SetModifiedFlag();
}

void CGraphTypesDoc::SetTemplate(int i, const CGraphTemplate& graphTemplate)
{
    m_database.SetAt(i, graphTemplate);
    SetModifiedFlag();
}

void CGraphTypesDoc::SetDatabaseNotes(const std::string& name, const CStringArrayEx& infoLines)
{
    m_database.m_name = name;
    m_database.m_infoLines = infoLines;
    SetModifiedFlag();
}

void CGraphTypesDoc::SetColorLists(const CMaterialTypeColorList& materialTypes, const COxideColorList& oxides)
{
    m_database.m_materialTypeColors = materialTypes;
    m_database.m_oxideColors = oxides;
    SetModifiedFlag();
}

void CGraphTypesDoc::GetRecordRows(std::vector<CRecordRow>& rows) const
{
    rows.clear();
    for (int i = 0; i < m_database.GetCount(); ++i)
        rows.push_back({i, m_database.GetAt(i).m_name});
}

void CGraphTypesDoc::WriteGraphTemplateSummary(std::ostream& out, std::span<const int> positions,
                                               const CGraphTemplate* graphTemplate) const
{
    const bool formFeeds = g_prefs.prtuseffs > 0;
    if (graphTemplate) {
        ::WriteGraphTemplateSummary(out, *graphTemplate, formFeeds);
        return;
    }
    for (const int i : positions) {
        if (i >= 0 && i < m_database.GetCount())
            ::WriteGraphTemplateSummary(out, m_database.GetAt(i), formFeeds);
    }
}

// --- views ----------------------------------------------------------------------------------------

CView* CGraphTypesDoc::FindEditView(int n) const
{
    for (CView* view : GetViews()) {
        if (const CGraphTypeEditLink* link = EditLinkOf(view); link && link->GetTemplateIndex() == n)
            return view;
    }
    return nullptr;
}

CView* CGraphTypesDoc::FindGraphView(const CGraphTemplate* graphTemplate) const
{
    for (CView* view : GetViews()) {
        if (const CGraphViewLink* link = GraphLinkOf(view); link && link->GetShownTemplate() == graphTemplate)
            return view;
    }
    return nullptr;
}

bool CGraphTypesDoc::SaveEditView(CView* view, bool close)
{
    CGraphTypeEditLink* link = EditLinkOf(view);
    if (!link)
        return true;
    CFrameHost* frame = view->GetFrame();
    if (frame)
        frame->ActivateFrame();
    const int answer = link->AskSave();
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultYes)
        link->Save();
    if (close) {
        link->SetModified(false);
        if (frame)
            frame->CloseFrame();
    }
    return true;
}

bool CGraphTypesDoc::SaveAllEditViews(bool close)
{
    const std::vector<CView*> snapshot = GetViews();
    for (CView* view : snapshot) {
        // An earlier answer may have closed this view.
        if (std::find(GetViews().begin(), GetViews().end(), view) == GetViews().end())
            continue;
        if (!SaveEditView(view, close))
            return false;
    }
    return true;
}

// --- document life --------------------------------------------------------------------------------

int CGraphTypesDoc::OpenDatabase(const std::string& path)
{
    if (!SaveModified())
        return 1;
    OnOpenDocument(path);
    Broadcast(HintGraphTemplatesReplaced);
    return 0;
}

bool CGraphTypesDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_database.m_templates.clear();
    m_database.InsertAt(0, NewDatabaseTemplate());
    SetModifiedFlag(false);
    return true;
}

bool CGraphTypesDoc::OnOpenDocument(const std::string& path)
{
    m_database.m_templates.clear();
    bool loaded = false;
    std::error_code ec;
    std::ifstream in;
    if (!path.empty() && !std::filesystem::is_directory(path, ec))
        in.open(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        Warn(path + ": Error opening file", kGraphTypesOpenErrorHelpId);
    } else {
        int result = 0;
        {
            CBusyScope busy;
            result = m_database.Read(in);
        }
        if (result != 0)
            Warn(path + ": " + m_database.m_errorText, kGraphTypesReadErrorHelpId);
        loaded = result == 0;
    }
    if (loaded)
        SetPathName(path);
    else
        ClearPathName();
    // A file that could not be read stays remembered: the next start tries it again.
    if (loaded)
        RememberGraphTemplateFile(path);
    SetModifiedFlag(false);
    return true;
}

bool CGraphTypesDoc::OnSaveDocument(const std::string& path)
{
    const bool written =
        WriteDocumentFile(path, kGraphTypesBackupQuestionHelpId, kGraphTypesWriteErrorHelpId,
                          [this](std::ostream& out) { return m_database.Write(out) == 0; });
    if (!written)
        return false;
    SetModifiedFlag(false);
    RememberGraphTemplateFile(path);
    return true;
}

CFileDialogRequest CGraphTypesDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = "GraphType Database Save As...";
    request.defaultExtension = "grt";
    request.filter = kGraphTemplateFileFilter;
    return request;
}

bool CGraphTypesDoc::SaveModified()
{
    if (!SaveAllEditViews(false))
        return false;
    return CDocument::SaveModified();
}

bool CGraphTypesDoc::CanCloseFrame(CFrameHost* frame)
{
    for (CView* view : GetViews()) {
        if (!frame || view->GetFrame() != frame)
            continue;
        if (EditLinkOf(view))
            return SaveEditView(view, false);
        if (GraphLinkOf(view))
            return true;
        // The list window stays while the program runs.
        frame->MinimizeFrame();
        return false;
    }
    return true;
}

void CGraphTypesDoc::SetPathName(const std::string& path, bool /*addToRecentFiles*/)
{
    CDocument::SetPathName(path, false);
    SetTitle(kDocumentTitle);
}

// --- commands -------------------------------------------------------------------------------------

void CGraphTypesDoc::OnFileOpen()
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Open GraphType Database...";
    request.filter = kGraphTemplateFileFilter;
    request.flags = FileDlgHideReadOnly;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty())
        OpenDatabase(answer.paths.front());
}

bool CGraphTypesDoc::OnCommand(unsigned id)
{
    switch (id) {
    case CmdNewGraphTypeDb:
        if (SaveModified()) {
            OnNewDocument();
            Broadcast(HintGraphTemplatesReplaced);
        }
        return true;
    case CmdOpenGraphTypeDb:
        OnFileOpen();
        return true;
    case CmdSaveGraphTypeDb:
    case CmdSaveGraphTypeDbAs:
        if (SaveAllEditViews(false)) {
            DoSave(id == CmdSaveGraphTypeDb ? std::string(GetPathName()) : std::string(), true);
            Broadcast(HintDocumentSaved);
        }
        return true;
    case CmdRevertGraphTypeDb:
        if (!GetPathName().empty()) {
            OnOpenDocument(std::string(GetPathName()));
            Broadcast(HintGraphTemplatesReplaced);
        }
        return true;
    default:
        return false;
    }
}

bool CGraphTypesDoc::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdRevertGraphTypeDb:
        ui.Enable(CanRevertToSaved());
        return true;
    case CmdNewGraphTypeDb:
    case CmdOpenGraphTypeDb:
    case CmdSaveGraphTypeDb:
    case CmdSaveGraphTypeDbAs:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
