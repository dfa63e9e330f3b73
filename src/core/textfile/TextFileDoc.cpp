#include "textfile/TextFileDoc.h"

#include "framework/DocRegistry.h"
#include "framework/DocTemplate.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "shell/Backup.h"
#include "shell/DocumentFile.h"
#include "shell/DocumentRead.h"
#include "shell/EditFormLink.h"
#include "support/DbFileType.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/PathHelpers.h"
#include "support/Services.h"
#include "support/TextHelpers.h"
#include "support/TextLines.h"
#include "textfile/TextFileCommands.h"
#include "textfile/TextFileViewBase.h"

#include <ostream>

CTextFileDoc* g_pInformationDoc = nullptr;

namespace {

constexpr int kTextFileKind = static_cast<int>(DbFileType::TextFile);

void Warn(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

} // namespace

int ReadTextFileLines(const std::string& path, CStringArrayEx& lines)
{
    lines.clear();
    CInputFile in;
    return in.Open(path) ? ReadTextFileLines(in, lines) : 1;
}

int ReadTextFileLines(CInputFile& in, CStringArrayEx& lines)
{
    lines.clear();
    std::string bytes;
    if (!in.ReadAll(bytes))
        return 2;
    // Lines break at the delimiter ('\n' or '\r'); a CR LF pair is one break either way.
    const char delimiter = LineDelimiterOf(bytes);
    const std::vector<std::string> split = SplitLines(bytes, delimiter == '\r' ? LineBreaks::Cr : LineBreaks::Lf);
    lines.assign(split.begin(), split.end());
    return 0;
}

std::unique_ptr<CDocTemplate> CreateTextFileTemplate()
{
    return std::make_unique<CDocTemplate>(kTextFileResourceId, kTextFileDocString,
                                          [] { return std::make_unique<CTextFileDoc>(); });
}

CTextFileDoc::~CTextFileDoc()
{
    ForgetInformation();
}

bool CTextFileDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_pendingLines.clear();
    SetTitle(std::string());
    SetModifiedFlag(false);
    return true;
}

bool CTextFileDoc::OnOpenDocument(const std::string& path)
{
    // A file that cannot be read leaves the text alone: a failed revert must not lose it.
    CInputFile in;
    if (!in.Open(path)) {
        Warn(in.OpenFailure(), kTextOpenErrorHelpId);
        return false;
    }
    ReportUnfinishedSave(path, kTextReadErrorHelpId);
    CStringArrayEx lines;
    int result = 0;
    {
        CBusyScope busy;
        result = ReadTextFileLines(in, lines);
    }
    if (result != 0) {
        Warn(MessagePath(path) + ": error reading file", kTextReadErrorHelpId);
        return false;
    }
    RememberFileState(path, in.Stamp());
    SetPathName(path);
    LoadLines(lines);
    SetModifiedFlag(false);
    return true;
}

void CTextFileDoc::LoadLines(const CStringArrayEx& lines)
{
    if (CTextFileViewBase* view = GetTextView()) {
        m_pendingLines.clear();
        view->LoadLines(lines);
    } else {
        m_pendingLines = lines;
    }
}

std::string UnsavableCharactersQuestion(const std::string& path, const std::string& names)
{
    return MessagePath(path) + " is saved as Windows-1252 text, which cannot hold these characters: " + names +
           ".\nChoose OK to save with \"?\" in their place, or Cancel to leave the file as it is.";
}

bool CTextFileDoc::ConfirmUnsavableCharacters(const std::string& path) const
{
    const CTextFileViewBase* view = GetTextView();
    const std::string names = view ? view->UnsavableCharacters() : std::string();
    return names.empty() || AppMessageBox(UnsavableCharactersQuestion(path, names),
                                          MsgOkCancel | MsgIconExclamation | MsgDefaultButton2,
                                          kTextUnsavableHelpId) == MsgResultOk;
}

bool CTextFileDoc::OnSaveDocument(const std::string& path)
{
    if (!ConfirmUnsavableCharacters(path))
        return false;
    const bool written = WriteDocumentFile(*this, path, kTextBackupQuestionHelpId, kTextWriteErrorHelpId, [this](std::ostream& out) { return WriteText(out); });
    if (!written)
        return false;
    SetModifiedFlag(false);
    if (CTextFileViewBase* view = GetTextView()) {
        view->ShowUnsavableCharactersAsSaved();
        view->ResetUndo();
    }
    ForgetInformation();
    return true;
}

void CTextFileDoc::OnCloseDocument()
{
    // A view that reacts to the closing notice must not start a second close.
    if (m_closing)
        return;
    m_closing = true;
    BroadcastText(HintDocumentClosing);
    ForgetInformation();
    // The base destroys this document when its template owns it: only the identity is left.
    const void* identity = this;
    CDocument::OnCloseDocument();
    if (CDocument::IsLive(identity))
        m_closing = false;
    BroadcastUpdate(nullptr, identity, kTextFileKind, HintDocumentClosed, 0, 0);
}

bool CTextFileDoc::SaveModified(SaveModifiedFor reason)
{
    if (!IsModified() || IsInformationDoc())
        return true;
    return CDocument::SaveModified(reason);
}

CFileDialogRequest CTextFileDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = "Text File Save As...";
    request.defaultExtension = "txt";
    request.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
    request.helpId = kTextSaveDialogHelpId;
    return request;
}

bool CTextFileDoc::DoSave(const std::string& path, bool replace)
{
    if (!CDocument::DoSave(path, replace))
        return false;
    if (replace) {
        if (CTextFileViewBase* view = GetTextView())
            view->UpdateTitle();
    }
    return true;
}

void CTextFileDoc::Save(bool saveAs)
{
    const std::string path = saveAs ? std::string() : GetPathName();
    // Views learn of a save only when there was one.
    if (DoSave(path, true))
        BroadcastText(HintDocumentSaved);
}

void CTextFileDoc::RevertToSaved()
{
    const std::string path = GetPathName();
    if (path.empty() || !ConfirmRevertToSaved(*this, {}, m_nSaveQuestionHelpId))
        return;
    OnOpenDocument(path);
}

bool CTextFileDoc::OnCommand(unsigned id)
{
    switch (id) {
    case CmdTextSave:
    case CmdTextSaveAs:
        Save(id == CmdTextSaveAs);
        return true;
    case CmdTextRevert:
        RevertToSaved();
        return true;
    case CmdTextClose:
        if (SaveModified(SaveModifiedFor::Closing))
            OnCloseDocument(); // may destroy this document: nothing may follow
        return true;
    default:
        return false;
    }
}

bool CTextFileDoc::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdTextRevert:
        ui.Enable(CanRevertToSaved());
        return true;
    case CmdTextSave:
    case CmdTextSaveAs:
    case CmdTextClose:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

CTextFileViewBase* CTextFileDoc::GetTextView() const
{
    // Looked up each time rather than cached: a view may go while the document stays.
    for (CView* view : GetViews()) {
        if (auto* textView = dynamic_cast<CTextFileViewBase*>(view))
            return textView;
    }
    return nullptr;
}

void CTextFileDoc::AppendLine(const std::string& text)
{
    if (CTextFileViewBase* view = GetTextView()) {
        view->AppendLine(text);
        return;
    }
    m_pendingLines.push_back(text);
    SetModifiedFlag(true);
}

void CTextFileDoc::AppendLines(const CStringArrayEx& lines)
{
    if (lines.empty())
        return;
    if (CTextFileViewBase* view = GetTextView()) {
        view->AppendLines(lines);
        return;
    }
    m_pendingLines.Append(lines);
    SetModifiedFlag(true);
}

void CTextFileDoc::ClearText()
{
    if (CTextFileViewBase* view = GetTextView()) {
        view->ClearText();
        return;
    }
    m_pendingLines.clear();
    SetModifiedFlag(true);
}

bool CTextFileDoc::WriteText(std::ostream& out)
{
    if (CTextFileViewBase* view = GetTextView())
        return view->WriteText(out);
    // The same rules as the view's: blanks at line ends and empty lines at the end go.
    CStringArrayEx lines = m_pendingLines;
    for (std::string& line : lines)
        TrimStringRight(line);
    lines.RemoveTrailingEmpty();
    for (const std::string& line : lines)
        out << line << '\n';
    out.flush();
    return static_cast<bool>(out);
}

bool CTextFileDoc::IsInformationDoc() const
{
    return g_pInformationDoc == this;
}

void CTextFileDoc::ForgetInformation()
{
    if (g_pInformationDoc == this)
        g_pInformationDoc = nullptr;
}

CStringArrayEx CTextFileDoc::TakePendingLines()
{
    CStringArrayEx lines;
    lines.swap(m_pendingLines);
    return lines;
}

void CTextFileDoc::BroadcastText(int code) const
{
    BroadcastUpdate(nullptr, this, kTextFileKind, code, 0, 0);
}
