#include "framework/Document.h"

#include "framework/DocRegistry.h"
#include "framework/DocTemplate.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "support/CompareNoCase.h"
#include "support/MessagePath.h"
#include "support/PathHelpers.h"
#include "support/SafeFile.h"
#include "support/Services.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unordered_set>

#include <unistd.h>

namespace {

// Every document alive now. Notices may name documents that have since closed; this tells.
std::unordered_set<const void*>& LiveDocuments()
{
    static std::unordered_set<const void*> live;
    return live;
}


// A file without write permission bits is read-only for everyone, the superuser too.
bool IsReadWrite(const std::string& path)
{
    return ::access(path.c_str(), R_OK | W_OK) == 0 && !IsReadOnlyFile(path);
}

} // namespace

CDocument* CUpdateHint::Document() const
{
    if (!CDocument::IsLive(m_pObject))
        return nullptr;
    return static_cast<CDocument*>(const_cast<void*>(m_pObject));
}

bool CUpdateHint::LeavesRecord(const void* record) const
{
    return m_merged && record && std::find(m_merged->begin(), m_merged->end(), record) == m_merged->end();
}

std::string FormatMessage1(const std::string& format, const std::string& value)
{
    std::string text = format;
    const auto pos = text.find("%1");
    if (pos != std::string::npos)
        text.replace(pos, 2, value);
    return text;
}

CDocument::CDocument()
{
    LiveDocuments().insert(this);
}

CDocument::~CDocument()
{
    LiveDocuments().erase(this);
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

bool CDocument::IsLive(const void* object)
{
    return object && LiveDocuments().count(object) != 0;
}

void CDocument::SetPathName(const std::string& path, bool /*addToRecentFiles*/)
{
    m_strPathName = path;
    SetTitle(std::filesystem::path(path).filename().string());
}

void CDocument::SetTitle(const std::string& title)
{
    m_strTitle = title;
}

void CDocument::AddView(CView* view)
{
    if (!view || std::find(m_views.begin(), m_views.end(), view) != m_views.end())
        return;
    if (view->m_pDocument)
        view->m_pDocument->DetachView(view);
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::DetachView(CView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    view->m_pDocument = nullptr;
}

void CDocument::RemoveView(CView* view)
{
    DetachView(view);
}

void CDocument::UpdateAllViews(CView* sender, const CUpdateHint* hint)
{
    const std::vector<CView*> snapshot = m_views;
    for (CView* view : snapshot) {
        if (view == sender)
            continue;
        // A view may be destroyed, or this document closed, by an earlier view's reaction.
        if (!IsLive(this))
            return;
        if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
            continue;
        view->OnUpdate(sender, hint);
    }
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& /*path*/)
{
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& /*path*/)
{
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnFrameClosed()
{
    if (m_bClosing || m_bKeepWithoutWindows)
        return;
    for (const CView* view : m_views) {
        if (view->GetFrame())
            return;
    }
    OnCloseDocument();
}

void CDocument::OnCloseDocument()
{
    if (m_bClosing)
        return;
    m_bClosing = true;
    // Closing a frame destroys its view, which detaches itself from this document.
    const std::vector<CView*> snapshot = m_views;
    for (CView* view : snapshot) {
        if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
            continue;
        if (CFrameHost* frame = view->GetFrame())
            frame->CloseFrame();
        else
            DetachView(view);
    }
    DeleteContents();
    if (m_pDocTemplate && m_pDocTemplate->HasDocument(this))
        m_pDocTemplate->DestroyDocument(this); // destroys this document: nothing may follow
    else
        m_bClosing = false;
}

void CDocument::CloseAnnounced(int kind)
{
    const void* identity = this;
    BroadcastUpdate(nullptr, identity, kind, HintDocumentClosing, 0, 0);
    CDocument::OnCloseDocument(); // destroys this document when its template owns it
    BroadcastUpdate(nullptr, identity, kind, HintDocumentClosed, 0, 0);
}

std::string CDocument::SaveQuestionName() const
{
    if (!m_strPathName.empty())
        return MessagePath(m_strPathName);
    if (!m_strTitle.empty())
        return m_strTitle;
    return "Untitled";
}

bool CDocument::SaveModified(SaveModifiedFor /*reason*/)
{
    if (!IsModified())
        return true;
    const int answer = AppMessageBox(FormatMessage1("Save changes to %1?", SaveQuestionName()),
                               MsgYesNoCancel | MsgIconExclamation, m_nSaveQuestionHelpId);
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultNo)
        return true;
    return DoFileSave();
}

bool CDocument::DoFileSave()
{
    if (m_strPathName.empty() || !IsReadWrite(m_strPathName))
        return DoSave(std::string(), m_bSaveAsTakesPath);
    return DoSave(m_strPathName, m_bSaveAsTakesPath);
}

CFileDialogRequest CDocument::GetSaveAsRequest() const
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Save As";
    request.flags = FileDlgHideReadOnly | FileDlgOverwritePrompt | FileDlgPathMustExist;
    request.helpId = 303;
    if (m_pDocTemplate) {
        std::string ext = m_pDocTemplate->GetDocString(CDocTemplate::filterExt);
        if (!ext.empty() && ext[0] == '.')
            ext.erase(0, 1);
        request.defaultExtension = ext;
        const std::string name = m_pDocTemplate->GetDocString(CDocTemplate::filterName);
        if (!name.empty() && !ext.empty())
            request.filter = name + "|*." + ext + "|";
        request.filter += "All Files (*.*)|*.*||";
    }
    return request;
}

bool CDocument::DoSave(const std::string& path, bool replace)
{
    std::string target = path;
    if (target.empty()) {
        CFileDialogRequest request = GetSaveAsRequest();
        request.mode = CFileDialogRequest::Mode::Save;
        request.initialPath = m_strPathName.empty() ? m_strTitle : m_strPathName;
        const CFileDialogResult answer = AskForFiles(request);
        if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
            return false;
        target = answer.paths.front();
    }
    // A failed save removes only a file that this save created; an existing file is never
    // deleted because writing a new version of it failed (nor is a link that leads nowhere).
    std::error_code ec;
    const bool existedBefore = std::filesystem::exists(std::filesystem::symlink_status(target, ec));
    bool saved = false;
    {
        CBusyScope busy;
        saved = OnSaveDocument(target);
    }
    if (!saved) {
        if (path.empty() && !existedBefore)
            std::filesystem::remove(target, ec);
        return false;
    }
    if (replace)
        SetPathName(target);
    return true;
}

void CDocument::RememberFileState(const std::string& path, const CFileStamp& stamp)
{
    if (!path.empty())
        m_fileStates[GetFullPathString(path)] = stamp;
}

bool CDocument::ConfirmReplaceChangedFile(const std::string& path, unsigned helpId) const
{
    const auto known = m_fileStates.find(GetFullPathString(path));
    if (known == m_fileStates.end())
        return true;
    const CFileStamp now = CFileStamp::Of(path);
    if (!now.exists || now == known->second)
        return true;
    return AppMessageBox(MessagePath(path) + " has been changed by another program since it was opened. Replace it with this version?",
                         MsgYesNo | MsgIconExclamation | MsgDefaultButton2, helpId) == MsgResultYes;
}

bool CDocument::CanCloseFrame(CFrameHost* frame)
{
    // Another frame on the same document keeps it open: only the last one asks.
    for (const CView* view : m_views) {
        if (view->GetFrame() && view->GetFrame() != frame)
            return true;
    }
    return SaveModified(SaveModifiedFor::Closing);
}
