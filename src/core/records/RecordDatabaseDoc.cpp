#include "records/RecordDatabaseDoc.h"

#include "framework/DocRegistry.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "shell/DocumentFile.h"
#include "shell/DocumentRead.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/ParamFile.h"
#include "support/Profile.h"
#include "support/Services.h"

#include <algorithm>
#include <array>
#include <sstream>

namespace {

std::array<CRecordEditViews*, 10> s_editViews{};

std::size_t Slot(DbFileType kind)
{
    return static_cast<std::size_t>(kind) % s_editViews.size();
}

bool Contains(std::span<const int> indices, int index)
{
    return std::find(indices.begin(), indices.end(), index) != indices.end();
}

} // namespace

CRecordEditViews* GetRecordEditViews(DbFileType kind)
{
    return s_editViews[Slot(kind)];
}

void SetRecordEditViews(DbFileType kind, CRecordEditViews* views)
{
    s_editViews[Slot(kind)] = views;
}

CRecordDatabaseDoc::CRecordDatabaseDoc(const CRecordDatabaseKind& kind) : m_kind(kind)
{
    SetTitle(m_kind.title);
    SetSingletonDocument(KindCode(), this);
}

CRecordDatabaseDoc::~CRecordDatabaseDoc()
{
    ClearSingletonDocument(KindCode(), this);
}

int CRecordDatabaseDoc::FindRecordIdentity(const void* record) const
{
    if (!record)
        return -1;
    for (int i = 0; i < GetRecordCount(); ++i) {
        if (GetRecordIdentity(i) == record)
            return i;
    }
    return -1;
}

void CRecordDatabaseDoc::Announce(int code, int index, CView* sender, const void* record)
{
    std::vector<std::shared_ptr<void>> gone;
    if (code == m_kind.hints.deleted || code == m_kind.hints.replaced)
        gone.swap(m_outgoing);
    BroadcastUpdate(sender, this, KindCode(), code, index, HintExtra(record));
}

void CRecordDatabaseDoc::RetireAllRecords()
{
    if (GetRecordCount() > 0)
        m_outgoing.push_back(TakeAllRecords());
}

// --- list operations ------------------------------------------------------------------------------

bool CRecordDatabaseDoc::DeleteRecords(std::span<const int> rows, CView* sender)
{
    if (rows.empty() || !ConfirmDeleteWithEditViews(rows))
        return false;
    RemoveRows(rows, sender);
    return true;
}

bool CRecordDatabaseDoc::CutRecords(std::span<const int> rows, CView* sender)
{
    // The edit windows answer first, so that the clipboard receives what they saved; their
    // records leave the list, so a form that keeps its edits stops the cut as it stops a close.
    if (rows.empty() || !AskEditFormsOf(rows, FormsAsked::BeforeClose))
        return false;
    CopyRecordsToClipboard(rows);
    RemoveRows(rows, sender);
    return true;
}

void CRecordDatabaseDoc::RemoveRows(std::span<const int> rows, CView* sender)
{
    // The records leave the list at once but go only once every window has heard.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        m_outgoing.push_back(TakeRecord(*row));
    Announce(m_kind.hints.deleted, rows.front(), sender);
}

int CRecordDatabaseDoc::PasteRecords(int position, CView* sender)
{
    const int pasted = InsertClipboardRecords(position);
    if (pasted == 0)
        return 0;
    OnRecordsInserted();
    Announce(m_kind.hints.inserted, position, sender);
    return pasted;
}

void CRecordDatabaseDoc::InsertNewRecordAt(int position, CView* sender)
{
    if (position < 0 || position > GetRecordCount())
        return;
    InsertNewRecord(position);
    Announce(m_kind.hints.inserted, position, sender);
}

std::vector<int> CRecordDatabaseDoc::ShiftRecordsUp(std::span<const int> rows, CView* sender)
{
    std::vector<int> moved(rows.begin(), rows.end());
    if (moved.empty() || moved.front() <= 0)
        return moved;
    for (int& row : moved) {
        SwapRecords(row - 1, row);
        --row;
        Announce(m_kind.hints.reordered, row, sender);
    }
    return moved;
}

std::vector<int> CRecordDatabaseDoc::ShiftRecordsDown(std::span<const int> rows, CView* sender)
{
    std::vector<int> moved(rows.begin(), rows.end());
    if (moved.empty() || moved.back() >= GetRecordCount() - 1)
        return moved;
    for (auto row = moved.rbegin(); row != moved.rend(); ++row) {
        SwapRecords(*row, *row + 1);
        ++*row;
        Announce(m_kind.hints.reordered, m_kind.shiftDownAnnouncesOldRow ? *row - 1 : *row, sender);
    }
    return moved;
}

void CRecordDatabaseDoc::MoveRecordsToTop(std::span<const int> rows, CView* sender)
{
    if (rows.empty())
        return;
    // Rows ascend: each moved record goes in front of every later selected one, so the later
    // rows keep their indices until their own turn.
    for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        if (rows[static_cast<std::size_t>(k)] != k)
            MoveRecord(rows[static_cast<std::size_t>(k)], k);
    }
    Announce(m_kind.hints.reordered, 0, sender);
}

void CRecordDatabaseDoc::AlphabetizeRecords(CView* sender)
{
    Alphabetize();
    Announce(m_kind.hints.reordered, 0, sender);
}

void CRecordDatabaseDoc::ChangeDatabaseNotes(const std::string& name, const CStringArrayEx& infoLines, CView* sender)
{
    const bool renamed = name != GetDatabaseName();
    SetDatabaseNotes(name, infoLines);
    if (renamed)
        Announce(HintDatabaseNotesChanged, 0, sender);
}

CMergePlan CRecordDatabaseDoc::PlanMerge(const CRecordSource& file, const std::vector<int>& chosen, int method) const
{
    return CMergePlan(chosen, method == kMergeReplaceExisting,
                      [this, &file](int incoming) { return FindRecordByName(file.NameAt(incoming)); });
}

bool CRecordDatabaseDoc::AskMergeForms(CMergePlan& plan)
{
    return plan.AskForms([this](int record) {
        const int one[] = {record};
        return EditFormsOf(one, false);
    });
}

void CRecordDatabaseDoc::AnnounceMerge(const CMergeCounts& counts, CView* sender)
{
    if (counts.replaced > 0) {
        std::vector<std::shared_ptr<void>> gone;
        gone.swap(m_outgoing);
        BroadcastMerge(sender, this, KindCode(), m_kind.hints.replaced, HintExtra(this), counts.replacedRecords);
    } else if (counts.appended > 0) {
        Announce(m_kind.hints.inserted, counts.oldCount, sender);
    }
}

// --- edit windows ---------------------------------------------------------------------------------

int CRecordDatabaseDoc::OpenEditView(int index)
{
    CRecordEditViews* views = EditViews();
    return views && views->OpenEditViewOn(*this, index) ? 1 : 0;
}

void CRecordDatabaseDoc::OpenLimitedEditView(const std::vector<int>& indices)
{
    CRecordEditViews* views = EditViews();
    if (views && !indices.empty())
        views->OpenLimitedEditViewOn(*this, indices);
}

CRecordEditLink* CRecordDatabaseDoc::EditLinkOf(CView* view) const
{
    CRecordEditViews* views = EditViews();
    return views && view ? views->AsEditView(view) : nullptr;
}

std::vector<CEditForm> CRecordDatabaseDoc::EditFormsOf(std::span<const int> indices, bool all) const
{
    std::vector<CEditForm> forms;
    for (CView* view : GetViews()) {
        CRecordEditLink* link = EditLinkOf(view);
        if (link && (all || Contains(indices, link->EditedRecordIndex())))
            forms.emplace_back(view, link);
    }
    return forms;
}

bool CRecordDatabaseDoc::AskEditFormsOf(std::span<const int> indices, FormsAsked when)
{
    return AskForms(EditFormsOf(indices, false), when);
}

bool CRecordDatabaseDoc::AskEveryEditForm(FormsAsked when)
{
    return AskForms(EditFormsOf({}, true), when);
}

bool CRecordDatabaseDoc::ConfirmDeleteWithEditViews(std::span<const int> indices, RecordGoes goes)
{
    return ConfirmDeleteWithForms(EditFormsOf(indices, false), goes);
}

bool CRecordDatabaseDoc::FormsHoldEdits() const
{
    return AnyHoldsChanges(EditFormsOf({}, true));
}

// --- the file -------------------------------------------------------------------------------------

void CRecordDatabaseDoc::RememberFile(const std::string& path) const
{
    if (CProfile* profile = GetProfile())
        profile->WriteString("Files", m_kind.profileKey, path);
}

int CRecordDatabaseDoc::OpenDatabase(const std::string& path)
{
    if (!SaveModified(SaveModifiedFor::Closing))
        return 1;
    OnOpenDocument(path);
    Announce(m_kind.hints.replaced, 0);
    return 0;
}

void CRecordDatabaseDoc::StartNewDatabase()
{
    RetireAllRecords();
    ResetRecords();
    InsertNewRecord(0);
}

bool CRecordDatabaseDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    StartNewDatabase();
    SetModifiedFlag(false);
    return true;
}

bool CRecordDatabaseDoc::ReadDatabaseFrom(const std::string& path, std::istream& in, bool cutShortAsked)
{
    ResetRecords();
    int result = 0;
    std::string error;
    {
        CBusyScope busy;
        result = ReadRecords(in, error);
    }
    if (result != 0) {
        AppMessageBox(MessagePath(path) + ": " + error, MsgOk | MsgIconExclamation, m_kind.readErrorHelpId);
        return false;
    }
    ReportReadNotes(path, RecordsContext().m_readNotes, m_kind.readErrorHelpId, cutShortAsked);
    return true;
}

bool CRecordDatabaseDoc::OnOpenDocument(const std::string& path)
{
    RetireAllRecords();
    CInputFile in;
    bool loaded = false;
    if (!in.Open(path)) {
        ResetRecords();
        AppMessageBox(in.OpenFailure(), MsgOk | MsgIconExclamation, m_kind.openErrorHelpId);
    } else {
        ReportUnfinishedSave(path, m_kind.readErrorHelpId);
        loaded = ReadDatabaseFrom(path, in);
    }
    if (loaded) {
        RememberFileState(path, in.Stamp());
        SetPathName(path);
        RememberFile(path);
    } else {
        // A file that could not be read stays remembered: the next start tries it again.
        ClearPathName();
        if (m_kind.untitledWhenUnread)
            SetTitle("Untitled");
    }
    SetModifiedFlag(false);
    OnRecordsRead();
    return true;
}

bool CRecordDatabaseDoc::RevertToSaved()
{
    const std::string path = GetPathName();
    if (path.empty() || !ConfirmRevertToSaved(*this, EditFormsOf({}, true), m_nSaveQuestionHelpId))
        return false;
    // The file is read aside first: one that has gone, become another kind of file or been
    // damaged must not cost the records in memory, nor the edits in the windows.
    CInputFile file;
    std::string bytes;
    if (!file.Open(path) || !file.ReadAll(bytes)) {
        AppMessageBox(file.is_open() ? MessagePath(path) + ": Error reading file" : file.OpenFailure(),
                      MsgOk | MsgIconExclamation, m_kind.openErrorHelpId);
        return false;
    }
    ReportUnfinishedSave(path, m_kind.readErrorHelpId);
    std::string error;
    CParamReadNotes notes;
    int result = 0;
    {
        std::istringstream aside(bytes);
        CBusyScope busy;
        result = ReadRecordsAside(aside, error, notes);
    }
    if (result != 0) {
        AppMessageBox(MessagePath(path) + ": " + error, MsgOk | MsgIconExclamation, m_kind.readErrorHelpId);
        return false;
    }
    // A file cut short reads without an error: what is left of it replaces nothing unasked.
    if (!ConfirmRevertToCutFile(path, notes, m_kind.readErrorHelpId))
        return false;
    // The same bytes read again into the database; the records read before go with the notice
    // of the new ones.
    const std::size_t retired = m_outgoing.size();
    RetireAllRecords();
    std::istringstream in(std::move(bytes));
    if (!ReadDatabaseFrom(path, in, notes.lastLineUnterminated.count > 0)) {
        // Read aside, the same bytes fail only for want of memory: the records read before come
        // back, and the database is not taken for its file.
        if (m_outgoing.size() > retired) {
            PutBackAllRecords(m_outgoing.back());
            m_outgoing.pop_back();
        }
        SetModifiedFlag();
        return false;
    }
    RememberFileState(path, file.Stamp());
    SetModifiedFlag(false);
    OnRecordsRead();
    for (const auto& [view, link] : EditFormsOf({}, true))
        link->SetChanged(false); // the edits go with the records read again
    Announce(m_kind.hints.replaced, 0);
    return true;
}

void CRecordDatabaseDoc::OnCloseDocument()
{
    CloseAnnounced(KindCode());
}

bool CRecordDatabaseDoc::OnSaveDocument(const std::string& path)
{
    const bool written = WriteDocumentFile(*this, path, m_kind.backupHelpId, m_kind.writeErrorHelpId,
                                           [this](std::ostream& out) { return WriteRecords(out); });
    if (!written)
        return false;
    SetModifiedFlag(false);
    RememberFile(path);
    return true;
}

CFileDialogRequest CRecordDatabaseDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = m_kind.saveAsTitle;
    request.defaultExtension = m_kind.defaultExtension;
    request.filter = m_kind.fileFilter;
    request.helpId = m_kind.saveDialogHelpId;
    return request;
}

bool CRecordDatabaseDoc::SaveModified(SaveModifiedFor reason)
{
    if (!AskEveryEditForm(reason == SaveModifiedFor::Closing ? FormsAsked::BeforeClose : FormsAsked::BeforeSave))
        return false;
    return CDocument::SaveModified(reason);
}

bool CRecordDatabaseDoc::CanCloseFrame(CFrameHost* frame)
{
    for (CView* view : GetViews()) {
        if (!frame || view->GetFrame() != frame)
            continue;
        if (CRecordEditLink* link = EditLinkOf(view)) {
            const CEditForm form{view, link};
            return AskForms({&form, 1}, FormsAsked::BeforeOwnClose);
        }
        if (CRecordEditViews* views = EditViews(); views && views->ClosesFreely(view))
            return true;
        // The list window stays while the program runs.
        frame->MinimizeFrame();
        return false;
    }
    return true;
}

void CRecordDatabaseDoc::SetPathName(const std::string& path, bool /*addToRecentFiles*/)
{
    const std::string title = GetTitle();
    CDocument::SetPathName(path, false);
    SetTitle(title);
}

// --- commands -------------------------------------------------------------------------------------

void CRecordDatabaseDoc::OnFileOpen()
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = m_kind.openTitle;
    request.filter = m_kind.fileFilter;
    request.flags = FileDlgHideReadOnly;
    request.helpId = m_kind.openDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty())
        OpenDatabase(answer.paths.front());
}

void CRecordDatabaseDoc::OnFileSave(bool askForPath)
{
    if (!AskEveryEditForm(FormsAsked::BeforeSave))
        return;
    DoSave(askForPath ? std::string() : std::string(GetPathName()), true);
    Announce(HintDocumentSaved, 0);
}

bool CRecordDatabaseDoc::OnCommand(unsigned id)
{
    const CRecordFileCommands& commands = m_kind.commands;
    if (id == commands.revert) {
        RevertToSaved();
    } else if (id == commands.save || id == commands.saveAs) {
        OnFileSave(id == commands.saveAs);
    } else if (id == commands.newDatabase) {
        if (SaveModified(SaveModifiedFor::Closing)) {
            OnNewDocument();
            Announce(m_kind.hints.replaced, 0);
        }
    } else if (id == commands.open) {
        OnFileOpen();
    } else {
        return false;
    }
    return true;
}

bool CRecordDatabaseDoc::OnUpdateCommand(CCmdUI& ui)
{
    const CRecordFileCommands& commands = m_kind.commands;
    if (ui.m_nID == commands.revert) {
        ui.Enable(CanRevertToSaved());
        return true;
    }
    if (ui.m_nID == commands.save || ui.m_nID == commands.saveAs || ui.m_nID == commands.newDatabase ||
        ui.m_nID == commands.open) {
        ui.Enable(true);
        return true;
    }
    return false;
}
