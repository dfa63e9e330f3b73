#include "elements/ElementsDoc.h"

#include "elements/ElementPrinting.h"
#include "framework/DocRegistry.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "shell/Backup.h"
#include "shell/DocumentFile.h"
#include "shell/DocumentRead.h"
#include "shell/EditFormLink.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/Profile.h"
#include "support/Services.h"

CElementsDoc* g_pElementsDoc = nullptr;

namespace {

constexpr int kElementsKind = static_cast<int>(DbFileType::Elements);

constexpr unsigned kOpenDialogHelpId = 300;
constexpr unsigned kSaveDialogHelpId = 303;
constexpr const char* kElementFileFilter = "Database Files (*.ele)|*.ele|All Files (*.*)|*.*||";


void Warn(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

// The file the next start opens.
void RememberElementFile(const std::string& path)
{
    if (CProfile* profile = GetProfile())
        profile->WriteString("Files", "ElementDBFileName", path);
}

} // namespace

CElementsDoc::CElementsDoc()
{
    g_pElementsDoc = this;
    SetSingletonDocument(kElementsKind, this);
    InstallWorkingElementTable(&m_elements);
}

CElementsDoc::~CElementsDoc()
{
    if (g_pElementsDoc == this)
        g_pElementsDoc = nullptr;
    if (GetSingletonDocument(kElementsKind) == this)
        SetSingletonDocument(kElementsKind, nullptr);
    if (GetWorkingElementTable() == &m_elements)
        RemoveWorkingElementTable();
}

void CElementsDoc::GetRecordRows(std::vector<CRecordRow>& rows) const
{
    constexpr std::int32_t kOxideGroups = kRoleAlkali | kRoleNeutral | kRoleAcid;
    rows.clear();
    for (int z = 1; z < kElementCount; ++z) {
        const CElementRecord& element = m_elements[z];
        if ((element.role & kOxideGroups) == 0)
            continue;
        rows.push_back({z, std::to_string(z) + "\t" + element.symbol + "\t" + element.name});
    }
}

void CElementsDoc::SetDatabaseName(const std::string& name)
{
    m_dbName = name;
    SetModifiedFlag();
}

void CElementsDoc::ResetToDefaults()
{
    m_elements.RevertAllElements(ENotesRevert::Delete);
    m_dbName = kDefaultElementDbName;
    m_infoLines.clear();
}

void CElementsDoc::BroadcastElements(int code, int index, CView* sender)
{
    BroadcastUpdate(sender, this, kElementsKind, code, index, 0);
}

int CElementsDoc::OpenFile(const std::string& path)
{
    if (!SaveModified(SaveModifiedFor::Closing))
        return 1;
    OnOpenDocument(path);
    BroadcastElements(HintElementsReplaced, 0);
    return 0;
}

void CElementsDoc::RevertElement(int z, ENotesRevert mode, CView* sender)
{
    if (!IsValidElementNumber(z))
        return;
    m_elements.RevertElement(z, mode);
    SetModifiedFlag();
    BroadcastElements(HintElementChanged, z, sender);
}

void CElementsDoc::RevertAllElements(ENotesRevert mode, CView* sender)
{
    m_elements.RevertAllElements(mode);
    SetModifiedFlag();
    BroadcastElements(HintElementChanged, -1, sender);
}

void CElementsDoc::WriteElementList(std::ostream& out) const
{
    ::WriteElementList(out, m_elements.Records(), m_dbName, GetPathName(), m_infoLines, g_prefs.prtuseffs > 0);
}

bool CElementsDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    ResetToDefaults();
    SetModifiedFlag(false);
    return true;
}

bool CElementsDoc::ReadElementFile(const std::string& path, CFileStamp& stamp, bool reverting)
{
    ResetToDefaults();
    CInputFile in;
    if (!in.Open(path)) {
        Warn(in.OpenFailure() + (reverting ? "" : "\n\nUsing default element data"), kElementOpenErrorHelpId);
        return false;
    }
    stamp = in.Stamp();
    ReportUnfinishedSave(path, kElementReadErrorHelpId);
    int result = 0;
    {
        CBusyScope busy;
        result = ReadElements(in);
    }
    if (result != 0) {
        Warn(MessagePath(path) + ": " + m_errorText + (reverting ? "" : "\nUsing default element data"),
             kElementReadErrorHelpId);
        return false;
    }
    if (reverting && !ConfirmRevertToCutFile(path, m_readNotes, kElementReadErrorHelpId))
        return false;
    ReportReadNotes(path, m_readNotes, kElementReadErrorHelpId, reverting);
    return true;
}

bool CElementsDoc::RevertToSaved()
{
    const std::string path = GetPathName();
    if (path.empty() || !ConfirmRevertToSaved(*this, {}, m_nSaveQuestionHelpId))
        return false;
    const CElementTable table = m_elements;
    const std::string name = m_dbName;
    const CStringArrayEx infoLines = m_infoLines;
    const int version = m_version;
    CFileStamp stamp;
    if (!ReadElementFile(path, stamp, true)) {
        m_elements = table;
        m_dbName = name;
        m_infoLines = infoLines;
        m_version = version;
        return false;
    }
    RememberFileState(path, stamp);
    SetModifiedFlag(false);
    return true;
}

bool CElementsDoc::OnOpenDocument(const std::string& path)
{
    CFileStamp stamp;
    const bool loaded = ReadElementFile(path, stamp, false);
    if (loaded) {
        RememberFileState(path, stamp);
        CDocument::SetPathName(path);
    } else {
        ClearPathName();
        SetTitle("Untitled");
    }
    // A file that could not be read stays remembered: the next start tries it again.
    if (loaded)
        RememberElementFile(path);
    SetModifiedFlag(false);
    return true;
}

bool CElementsDoc::OnSaveDocument(const std::string& path)
{
    const bool written = WriteDocumentFile(*this, path, kElementBackupQuestionHelpId, kElementWriteErrorHelpId, [this](std::ostream& out) { return WriteElements(out) == 0; });
    if (!written)
        return false;
    RememberElementFile(path);
    SetModifiedFlag(false);
    return true;
}

CFileDialogRequest CElementsDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = "Element Database Save As...";
    request.defaultExtension = "ele";
    request.filter = kElementFileFilter;
    request.helpId = kSaveDialogHelpId;
    return request;
}

bool CElementsDoc::CanCloseFrame(CFrameHost* frame)
{
    if (frame)
        frame->MinimizeFrame();
    return false;
}


void CElementsDoc::OnFileOpen()
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Open Element Database...";
    request.filter = kElementFileFilter;
    request.flags = FileDlgHideReadOnly;
    request.helpId = kOpenDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty())
        OpenFile(answer.paths.front());
}

bool CElementsDoc::OnCommand(unsigned id)
{
    switch (id) {
    case CmdSaveElementDb:
        DoSave(std::string(GetPathName()), true);
        BroadcastElements(HintDocumentSaved, 0);
        return true;
    case CmdSaveElementDbAs:
        DoSave(std::string(), true);
        BroadcastElements(HintDocumentSaved, 0);
        return true;
    case CmdRevertElementDb:
        if (RevertToSaved())
            BroadcastElements(HintElementsReplaced, 0);
        return true;
    case CmdNewElementDb:
        if (SaveModified(SaveModifiedFor::Closing)) {
            OnNewDocument();
            BroadcastElements(HintElementsReplaced, 0);
        }
        return true;
    case CmdOpenElementDb:
        OnFileOpen();
        return true;
    default:
        return false;
    }
}

bool CElementsDoc::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdRevertElementDb:
        ui.Enable(CanRevertToSaved());
        return true;
    case CmdSaveElementDb:
    case CmdSaveElementDbAs:
    case CmdNewElementDb:
    case CmdOpenElementDb:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
