#include "tree/DbTreeDoc.h"

#include "framework/DocRegistry.h"
#include "framework/DocTemplate.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "shell/Backup.h"
#include "shell/DocumentFile.h"
#include "shell/DocumentRead.h"
#include "shell/EditFormLink.h"
#include "support/CompareNoCase.h"
#include "support/DbFileInfo.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/PathHelpers.h"
#include "support/Profile.h"
#include "support/Services.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <unistd.h>

CDbTreeDoc* g_pDbTreeDoc = nullptr;

namespace {

constexpr int kDbTreeKind = static_cast<int>(DbFileType::DbTreeItems);

// Help contexts of the tree's messages.
constexpr unsigned kOpenErrorHelpId = 0x30119;
constexpr unsigned kReadErrorHelpId = 0x30120;
constexpr unsigned kBackupQuestionHelpId = 0x30121;
constexpr unsigned kWriteErrorHelpId = 0x30122;
constexpr unsigned kClearQuestionHelpId = 0x30900;
constexpr unsigned kAlreadyInTreeHelpId = 0x30910;
constexpr unsigned kAddProbeErrorHelpId = 0x30911;
constexpr unsigned kInvalidItemHelpId = 0x30920;
constexpr unsigned kLineBreakHelpId = 0x30921;

constexpr unsigned kOpenTreeDialogHelpId = 300;
constexpr unsigned kAddFilesDialogHelpId = 301;
constexpr unsigned kSaveTreeDialogHelpId = 303;

// The patterns of the files a directory contributes, in the order they are collected.
constexpr const char* kDirectoryExtensions[] = {".ele", ".mat", ".sub", ".lim", ".grt", ".glz", ".txt"};


void Warn(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

void RememberTreeFile(const std::string& path)
{
    if (CProfile* profile = GetProfile())
        profile->WriteString("Files", "DbTreeFileName", path);
}

bool EndsWithNoCase(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

// The names of the plain files in directory whose extension is one of the tree's kinds: grouped
// by kind in collection order, each group sorted by name ignoring case so that the result does
// not depend on the file system's order.
std::vector<std::string> CollectDatabaseFileNames(const std::string& directory)
{
    std::vector<std::string> all;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            all.push_back(it->path().filename().string());
    }
    std::sort(all.begin(), all.end(),
              [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    std::vector<std::string> names;
    for (const char* extension : kDirectoryExtensions) {
        for (const std::string& name : all) {
            if (EndsWithNoCase(name, extension))
                names.push_back(name);
        }
    }
    return names;
}

bool CanEnterDirectory(const std::string& directory)
{
    std::error_code ec;
    return !directory.empty() && std::filesystem::is_directory(directory, ec) &&
           ::access(directory.c_str(), X_OK) == 0;
}

} // namespace

CDbTreeDoc::CDbTreeDoc()
{
    // Saving from the save question keeps the tree's own path (the tree file is chosen in the
    // profile, not by where a forced Save As happened to write).
    m_bSaveAsTakesPath = false;
    g_pDbTreeDoc = this;
    SetSingletonDocument(kDbTreeKind, this);
}

CDbTreeDoc::~CDbTreeDoc()
{
    if (g_pDbTreeDoc == this)
        g_pDbTreeDoc = nullptr;
    if (GetSingletonDocument(kDbTreeKind) == this)
        SetSingletonDocument(kDbTreeKind, nullptr);
}

bool CDbTreeDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    items.Clear();
    SetModifiedFlag(false);
    return true;
}

bool CDbTreeDoc::ReadTreeFile(const std::string& path, CInputFile& in, bool reverting)
{
    items.Clear();
    if (!in.Open(path)) {
        Warn(in.OpenFailure(), kOpenErrorHelpId);
        return false;
    }
    ReportUnfinishedSave(path, kReadErrorHelpId);
    int result = 0;
    {
        CBusyScope busy;
        result = items.Read(in);
    }
    if (result != 0) {
        Warn(MessagePath(path) + ": " + items.m_errorText, kReadErrorHelpId);
        return false;
    }
    if (reverting && !ConfirmRevertToCutFile(path, items.m_readNotes, kReadErrorHelpId))
        return false;
    ReportReadNotes(path, items.m_readNotes, kReadErrorHelpId, reverting);
    return true;
}

bool CDbTreeDoc::OnOpenDocument(const std::string& path)
{
    CInputFile in;
    std::string openedPath = ReadTreeFile(path, in, false) ? path : std::string();
    if (openedPath.empty()) {
        ClearPathName();
        SetTitle("Untitled");
    } else {
        RememberFileState(openedPath, in.Stamp());
        SetPathName(openedPath);
    }
    // A catalogue that could not be read stays remembered for the next start.
    if (!openedPath.empty())
        RememberTreeFile(openedPath);
    SetModifiedFlag(false);
    return true;
}

bool CDbTreeDoc::RevertToSaved()
{
    const std::string path = GetPathName();
    if (path.empty() || !ConfirmRevertToSaved(*this, {}, m_nSaveQuestionHelpId))
        return false;
    auto kept = std::move(items.m_records);
    items.m_records.clear();
    CInputFile in;
    if (!ReadTreeFile(path, in, true)) {
        items.m_records = std::move(kept);
        return false;
    }
    RememberFileState(path, in.Stamp());
    SetModifiedFlag(false);
    return true;
}

bool CDbTreeDoc::OnSaveDocument(const std::string& path)
{
    const bool written = WriteDocumentFile(*this, path, kBackupQuestionHelpId, kWriteErrorHelpId, [this](std::ostream& out) { return items.Write(out) == 0; });
    if (!written)
        return false;
    SetModifiedFlag(false);
    RememberTreeFile(path);
    return true;
}

bool CDbTreeDoc::CanCloseFrame(CFrameHost* frame)
{
    if (frame)
        frame->MinimizeFrame();
    return false;
}

CFileDialogRequest CDbTreeDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = "Database Tree Save As...";
    request.defaultExtension = "dbt";
    request.filter = "Database Trees (*.dbt)|*.dbt|All Files (*.*)|*.*||";
    request.helpId = kSaveTreeDialogHelpId;
    return request;
}

bool CDbTreeDoc::OnCommand(unsigned id)
{
    switch (id) {
    case CmdSaveDbTree:
        DoSave(std::string(GetPathName()), true);
        return true;
    case CmdSaveDbTreeAs:
        DoSave(std::string(), true);
        return true;
    case CmdRevertDbTree:
        if (RevertToSaved())
            BroadcastTreeChanged();
        return true;
    case CmdNewDbTree:
        if (SaveModified(SaveModifiedFor::Closing)) {
            OnNewDocument();
            SetTitle("Untitled");
            BroadcastTreeChanged();
        }
        return true;
    case CmdOpenDbTree:
        OnFileOpen();
        return true;
    default:
        return false;
    }
}

bool CDbTreeDoc::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdRevertDbTree:
        ui.Enable(CanRevertToSaved());
        return true;
    case CmdSaveDbTree:
    case CmdSaveDbTreeAs:
    case CmdNewDbTree:
    case CmdOpenDbTree:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

void CDbTreeDoc::OnFileOpen()
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Open Database Tree...";
    request.filter = "Tree Files (*.dbt)|*.dbt|All Files (*.*)|*.*||";
    request.flags = FileDlgHideReadOnly;
    request.helpId = kOpenTreeDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    if (!SaveModified(SaveModifiedFor::Closing))
        return;
    OnOpenDocument(answer.paths.front());
    BroadcastTreeChanged();
}

void CDbTreeDoc::BroadcastTreeChanged()
{
    BroadcastUpdate(nullptr, this, kDbTreeKind, HintDbTreeChanged, 0, 0);
}

void CDbTreeDoc::RemoveItemAt(int index)
{
    items.RemoveItem(index);
    SetModifiedFlag(true);
}

void CDbTreeDoc::InsertItemAt(int index, const CDbTreeItem& item)
{
    items.InsertItem(index, item);
    SetModifiedFlag(true);
}

void CDbTreeDoc::SetItemAt(int index, const CDbTreeItem& item)
{
    items.SetItem(index, item);
    SetModifiedFlag(true);
}

void CDbTreeDoc::SortItems(bool byTitle)
{
    items.Sort(byTitle);
    SetModifiedFlag(true);
}

std::string LineBreakMessage(const std::string& path, bool inPath)
{
    return "File \"" + MessagePath(path) + "\" cannot be kept in the database tree: its " +
           (inPath ? "name" : "database name") + " holds a line break.";
}

int CDbTreeDoc::RemoveItem(int index)
{
    RemoveItemAt(index);
    return 0;
}

int CDbTreeDoc::ClearTree()
{
    if (AppMessageBox("Are you sure you want to clear the database tree?", MsgYesNo | MsgIconQuestion,
                kClearQuestionHelpId) != MsgResultYes)
        return 1;
    items.Clear();
    SetModifiedFlag(true);
    return 0;
}

bool CDbTreeDoc::CanKeep(const std::string& path, const std::string& title, bool quiet)
{
    const bool pathBreaks = HasLineBreak(path);
    if (!pathBreaks && !HasLineBreak(title))
        return true;
    if (!quiet)
        Warn(LineBreakMessage(path, pathBreaks), kLineBreakHelpId);
    return false;
}

bool CDbTreeDoc::AppendEntry(const std::string& path, const std::string& title, DbTreeItemType type, bool isOpen)
{
    if (!CanKeep(path, title, false))
        return false;
    CDbTreeItem item;
    item.path = path;
    item.title = title;
    item.SetTypeCode(type);
    item.isOpen = isOpen;
    InsertItemAt(items.GetCount(), item);
    return true;
}

int CDbTreeDoc::AddDatabases(std::array<bool, kDbTreeItemTypeCount>& addedTypes)
{
    addedTypes.fill(false);
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::OpenMultiple;
    request.title = "Databases to add to tree...";
    request.filter = "All Files (*.*)|*.*|Glaze Files (*.glz)|*.glz|Material Files (*.mat)|*.mat|"
                     "Limit Formula Files (*.lim)|*.lim|Substitution Files (*.sub)|*.sub|"
                     "Element Files (*.ele)|*.ele|Text Files (*.txt)|*.txt|"
                     "Graph Template Files (*.grt)|*.grt||";
    request.flags = FileDlgHideReadOnly;
    request.helpId = kAddFilesDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok)
        return 1;
    int added = 0;
    for (const std::string& path : answer.paths) {
        if (items.FindByPath(path) >= 0) {
            Warn("File \"" + MessagePath(path) + "\" is already in the tree.", kAlreadyInTreeHelpId);
            continue;
        }
        const CDbFileInfo probe(path, true);
        if (probe.m_result != 0) {
            Warn(probe.m_errorMessage, kAddProbeErrorHelpId);
            continue;
        }
        // A chosen file of a kind the tree does not know is still catalogued, as unknown.
        const DbTreeItemType type = DbTreeItemTypeFromFileType(probe.m_type).value_or(DbTreeItemType::Unknown);
        if (!AppendEntry(probe.m_path, probe.m_dbname, type, false))
            continue;
        addedTypes[static_cast<std::size_t>(type)] = true;
        ++added;
    }
    return added == 0 ? 1 : 0;
}

int CDbTreeDoc::AddDirectory(const std::string& directory)
{
    if (!CanEnterDirectory(directory))
        return 1;
    for (const std::string& name : CollectDatabaseFileNames(directory)) {
        const std::string path = MakeFilePath(directory, name);
        if (items.FindByPath(path) >= 0)
            continue;
        const CDbFileInfo probe(path, true);
        if (probe.m_result != 0)
            continue;
        if (const auto type = DbTreeItemTypeFromFileType(probe.m_type))
            AppendEntry(probe.m_path, probe.m_dbname, *type, false);
    }
    BroadcastTreeChanged();
    return 0;
}

int CDbTreeDoc::OpenItem(int index)
{
    const CDbTreeItem* item = items.GetAt(index);
    if (!item)
        return 1;
    const std::string path = item->path; // the entry may change while the file opens
    switch (item->type) {
    case DbTreeItemType::Elements:
    case DbTreeItemType::Materials:
    case DbTreeItemType::Substitutions:
    case DbTreeItemType::LimitFormulas:
    case DbTreeItemType::GraphTemplates: {
        CDocument* document =
            GetSingletonDocument(static_cast<int>(DbFileTypeFromTreeItemType(item->type)));
        return document ? document->OpenDatabaseFile(path) : 1;
    }
    case DbTreeItemType::Glazes:
    case DbTreeItemType::TextFile: {
        const bool glazes = item->type == DbTreeItemType::Glazes;
        CDocTemplate* docTemplate = glazes ? g_pGlazesTemplate : g_pTextFileTemplate;
        CDocument* document = docTemplate ? docTemplate->OpenDocumentFile(path, true) : nullptr;
        if (!document)
            return 1;
        // Announced as every other way of opening a database is, so that the windows offering
        // the open glaze databases (graph pages, template editors) list it.
        const DbFileType kind = glazes ? DbFileType::Glazes : DbFileType::TextFile;
        BroadcastUpdate(nullptr, document, static_cast<int>(kind), HintDocumentOpened, 0, 0);
        return 0;
    }
    case DbTreeItemType::Unknown: break;
    }
    return 1;
}

bool CDbTreeDoc::AddOrRetitleOpenDocument(const CDocument* document, DbTreeItemType type)
{
    if (!document || document->GetPathName().empty())
        return false;
    const std::string& path = document->GetPathName();
    if (items.FindByPath(path) >= 0)
        return UpdateItemTitle(document) != 0;
    // A text window is titled with its full path; databases with their database name.
    const std::string title = type == DbTreeItemType::TextFile ? path : document->GetDatabaseName();
    return AppendEntry(path, title, type, true);
}

int CDbTreeDoc::AddOpenDatabases()
{
    int changed = 0;
    for (const DbTreeItemType type : {DbTreeItemType::Elements, DbTreeItemType::Materials,
                                      DbTreeItemType::Substitutions, DbTreeItemType::LimitFormulas,
                                      DbTreeItemType::GraphTemplates}) {
        const CDocument* document =
            GetSingletonDocument(static_cast<int>(DbFileTypeFromTreeItemType(type)));
        if (AddOrRetitleOpenDocument(document, type))
            ++changed;
    }
    if (g_pGlazesTemplate) {
        for (const CDocument* document : g_pGlazesTemplate->GetDocuments()) {
            if (AddOrRetitleOpenDocument(document, DbTreeItemType::Glazes))
                ++changed;
        }
    }
    if (g_pTextFileTemplate) {
        for (const CDocument* document : g_pTextFileTemplate->GetDocuments()) {
            if (AddOrRetitleOpenDocument(document, DbTreeItemType::TextFile))
                ++changed;
        }
    }
    return changed == 0 ? 1 : 0;
}

int CDbTreeDoc::UpdateItemTitle(const CDocument* document)
{
    if (!document || document->GetPathName().empty())
        return 0;
    const int index = items.FindByPath(document->GetPathName());
    if (index < 0)
        return 0;
    CDbTreeItem item = *items.GetAt(index);
    std::string title;
    switch (item.type) {
    case DbTreeItemType::Elements:
    case DbTreeItemType::Materials:
    case DbTreeItemType::Substitutions:
    case DbTreeItemType::LimitFormulas:
    case DbTreeItemType::GraphTemplates: {
        // The name comes from the single document of the entry's kind, and only when that is
        // the document whose file the entry names.
        const CDocument* owner =
            GetSingletonDocument(static_cast<int>(DbFileTypeFromTreeItemType(item.type)));
        if (owner != document)
            return 0;
        title = owner->GetDatabaseName();
        break;
    }
    case DbTreeItemType::Glazes:
        // Another kind of document at a glaze entry's path has no glaze database name to give.
        if (!g_pGlazesTemplate || document->GetDocTemplate() != g_pGlazesTemplate)
            return 0;
        title = document->GetDatabaseName();
        break;
    case DbTreeItemType::TextFile:
        title = document->GetPathName();
        break;
    case DbTreeItemType::Unknown:
        return 0;
    }
    if (title == item.title || !CanKeep(item.path, title, false))
        return 0;
    item.title = title;
    SetItemAt(index, item);
    return 1;
}

int CDbTreeDoc::RemoveInvalidItems(bool quiet)
{
    int changed = 0;
    for (int index = items.GetCount() - 1; index >= 0; --index) {
        const CDbFileInfo probe(items.GetAt(index)->path, true);
        if (probe.m_result != 0) {
            if (!quiet)
                Warn(probe.m_errorMessage, kInvalidItemHelpId);
            RemoveItemAt(index);
            ++changed;
        } else if (probe.m_dbname != items.GetAt(index)->title &&
                   CanKeep(items.GetAt(index)->path, probe.m_dbname, quiet)) {
            CDbTreeItem item = *items.GetAt(index);
            item.title = probe.m_dbname;
            SetItemAt(index, item);
            ++changed;
        }
    }
    return changed == 0 ? 1 : 0;
}
