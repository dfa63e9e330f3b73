#pragma once

// The database tree document: the one catalogue of the database files the user works with.
//
// It owns the catalogue entries, stores them in a .dbt file, and carries every operation on the
// catalogue: adding chosen files, every database file of a directory or the databases open now,
// dropping entries whose files are gone, refreshing titles, and opening an entry's file in the
// right document. The document lives from start-up to exit; its window is only ever minimised.
// g_pDbTreeDoc points at it while it lives.

#include "framework/Document.h"
#include "tree/DbTreeItem.h"

#include <array>
#include <string>

class CInputFile;

class CFrameHost;
class CView;

// Commands of the tree document (menu texts in the comments).
enum DbTreeCommand : unsigned {
    CmdSaveDbTree = 33015,   // "&Save Database Tree"
    CmdSaveDbTreeAs = 33016, // "Save &As..."
    CmdRevertDbTree = 33017, // "&Revert To Saved"
    CmdNewDbTree = 33018,    // "&New Database Tree"
    CmdOpenDbTree = 33019,   // "&Open Database Tree..."
};

// The document template's string.
inline constexpr const char* kDbTreeDocString =
    "Oxidarium Tree\nTree\nTree\nTree Files (*.dbt)\n.dbt\nOxidariumTree\nOxidarium Tree";

class CDbTreeDoc : public CDocument {
public:
    CDbTreeDoc();
    ~CDbTreeDoc() override;

    // Document life.
    bool OnNewDocument() override;
    // Always true: a file that cannot be opened or read leaves an empty, untitled tree after a
    // message. The path (or nothing) becomes the profile's current tree file.
    bool OnOpenDocument(const std::string& path) override;
    // Revert To Saved, after the question that says the unsaved changes go (ConfirmRevertToSaved):
    // a file that cannot be read (gone, of another kind, damaged) leaves the
    // tree, its path, title and modified flag as they were, after the message; so does one that
    // may have been cut short, unless the user reverts to it all the same.
    bool RevertToSaved();
    bool OnSaveDocument(const std::string& path) override;
    void DeleteContents() override { items.Clear(); }
    // The tree window is never closed by the user: it is minimised instead.
    bool CanCloseFrame(CFrameHost* frame) override;
    CFileDialogRequest GetSaveAsRequest() const override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Entry operations; each marks the document modified (even for an index out of range,
    // which changes nothing).
    void RemoveItemAt(int index);
    void InsertItemAt(int index, const CDbTreeItem& item);
    void SetItemAt(int index, const CDbTreeItem& item);
    void SortItems(bool byTitle);
    int RemoveItem(int index); // 0

    // Asks first; 0 when the tree was cleared, 1 when the user said no.
    int ClearTree();
    // Adds the files the user picks; addedTypes tells which kinds were added. 0 when at least
    // one entry was added, 1 otherwise (also on Cancel).
    int AddDatabases(std::array<bool, kDbTreeItemTypeCount>& addedTypes);
    // Adds every database and text file of the directory that is not in the tree yet, quietly.
    // 1 when the directory cannot be entered, else 0.
    int AddDirectory(const std::string& directory);
    // Opens the entry's file in the document of its kind: 0 when opened, 1 otherwise.
    int OpenItem(int index);
    // Adds or retitles the entries of every open database and text file: 0 when something
    // changed, 1 when nothing did.
    int AddOpenDatabases();
    // Re-reads every entry's header: removes the unreadable ones (with a message each unless
    // quiet) and retitles the others. 0 when something changed, 1 when nothing did.
    int RemoveInvalidItems(bool quiet);
    // Retitles the entry of the document's file from that document: 1 when the title changed.
    int UpdateItemTitle(const CDocument* document);

    CView* treeView = nullptr;  // the view showing this document; not owned
    CDbTreeItemList items;

private:
    // Reads the file of path into the emptied entries: false after a message when it cannot be
    // opened or read, or (reverting) the user keeps what is in memory rather than a file that may
    // have been cut short. in: the file opened.
    bool ReadTreeFile(const std::string& path, CInputFile& in, bool reverting);
    // The tree file holds an entry's path and title one per line: a path or title holding a line
    // break is refused, with LineBreakMessage unless quiet. True when the entry can be kept.
    static bool CanKeep(const std::string& path, const std::string& title, bool quiet);
    // Appends an entry for a probed file (path, database name, kind), not yet open; false when
    // it was refused.
    bool AppendEntry(const std::string& path, const std::string& title, DbTreeItemType type, bool isOpen);
    // Adds the open document's entry or refreshes its title; true when the tree changed.
    bool AddOrRetitleOpenDocument(const CDocument* document, DbTreeItemType type);
    void OnFileOpen();
    void BroadcastTreeChanged();
};

extern CDbTreeDoc* g_pDbTreeDoc;

// The message refusing an entry whose file name (inPath) or database name holds a line break.
std::string LineBreakMessage(const std::string& path, bool inPath);
