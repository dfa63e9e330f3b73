#pragma once

// The window of the database tree: the catalogue's entries under seven fixed category branches
// (glazes, materials, limit formulas, substitutions, elements, graph templates, text files),
// each entry marked with the image of its kind while its file is open in the program and with
// the not-open image otherwise. The labels show the databases' titles, file names or full paths.
//
// The view carries the user's commands on the catalogue (open, notes, add, remove, clear, sort,
// label mode, expand and collapse, update) and asks the tree document to do the work. Every node
// remembers what it stands for: a branch its category number (0x10001..0x10007), an entry its
// index in the document's list, so the tree is rebuilt whenever the list changes shape.

#include "framework/MenuDef.h"
#include "framework/View.h"
#include "shell/AppCommandIds.h"

#include <QTreeWidget>

#include <array>
#include <string>
#include <vector>

class CDbTreeDoc;
class CDbTreeItem;
class CDocTemplate;
class QContextMenuEvent;
class QMouseEvent;

// Commands of the tree window (menu texts in the comments).
enum DbTreeViewCommand : unsigned {
    CmdTreeAddDatabases = 33020,     // "&Add Databases to Tree...\tIns"
    CmdTreeRemoveDatabase = 33021,   // "&Remove Database from Tree\tDel"
    CmdTreeClear = 33022,            // "&Clear Tree"
    CmdTreeOpenDatabase = 33026,     // "&Open Database\tDblClk"
    CmdTreeShowTitles = 33027,       // "Database &Titles"
    CmdTreeShowFileNames = 33028,    // "Database &Filenames"
    CmdTreeSort = 33029,             // "&Sort"
    CmdTreeDatabaseNotes = 33030,    // "Display Database &Notes"
    CmdTreeAddOpenDatabases = 33032, // no menu entry
    CmdTreeRemoveInvalid = 33033,    // no menu entry
    CmdTreeUpdate = 33034,           // "&Update Tree"
    CmdTreeExpandAll = 33035,        // "&Expand All"
    CmdTreeCollapseAll = 33036,      // "&Collapse All"
    CmdTreeShowPathNames = 33338,    // "Database &Pathnames"
    CmdTreeHelp = CmdShellHelp,
    CmdTreeContextHelp = 57670,
};

// The tree template's resource id (its menu) and the window's help topic.
inline constexpr unsigned kDbTreeResourceId = 4;
inline constexpr unsigned kDbTreeHelpId = 250;

// Item data of the category branches; an entry's item data is its index.
inline constexpr int kDbTreeBranchData = 0x10001;
inline constexpr int kDbTreeBranchCount = 7;

class CDbTreeView : public QTreeWidget, public CView {
    Q_OBJECT

public:
    // The size the tree window gets when it first appears.
    static constexpr int kInitialWidth = 275;
    static constexpr int kInitialHeight = 350;

    // Item roles: the node's item data and its image index.
    static constexpr int kDataRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;

    CDbTreeView();
    ~CDbTreeView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Deletes every node and builds the branches and entries afresh, all branches expanded.
    void Rebuild();
    // Rebuild, keeping each branch expanded or collapsed as it was.
    void RebuildKeepingExpansion();
    // Sets every entry's label for the present label mode.
    void RefreshItemTexts();
    // Re-checks which entries are open and sets their images.
    void RefreshItemIcons();

    // The label of an entry in the present mode.
    std::string EntryLabel(const CDbTreeItem& item) const;
    // The category branches in insertion order (glazes first); null before the first build.
    QTreeWidgetItem* Branch(int number) const;
    // The entry index that node stands for, or -1 for a branch, no node or a stale node.
    int EntryIndexOf(const QTreeWidgetItem* node) const;
    // The node's image index (0..8), -1 for no node.
    static int ImageOf(const QTreeWidgetItem* node);

    // A double click: opens the selected entry, brings its open database forward, or toggles
    // the selected branch.
    void Activate();
    // The context menu at a point of the viewport: selects the node there and shows the
    // entry's or the branch's menu.
    void ShowContextMenu(const QPoint& position);
    // Carries out a command as a menu would: only when it is enabled.
    bool RunCommand(unsigned id);

    int showTitles = 1; // labels show titles
    int showPaths = 0;  // without titles: full paths, else file names

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CDbTreeDoc* TreeDoc() const;
    CDbTreeItem* EntryOf(const QTreeWidgetItem* node) const;
    QTreeWidgetItem* SelectedNode() const;
    int SelectedEntry() const;
    bool IsOpenPath(const std::string& path) const;
    void SetNodeImage(QTreeWidgetItem* node, int image);
    // Calls visit(node, index) for every entry node.
    template <typename Visit>
    void ForEachEntryNode(Visit visit);

    void OpenSelected();
    void ShowSelectedNotes();
    void AddDatabases();
    void RemoveSelected();
    void ClearTree();
    void SortTree();
    void SetLabelMode(int titles, int paths);
    void UpdateTree(bool removeInvalid, bool addOpen);
    void ExpandBranches(bool expand);
    // Sends code to the views of the entry's open document (they bring their window forward).
    void SendToOpenDocument(const CDbTreeItem& item, int code);
    void OnDocumentChanged(const CUpdateHint& hint, bool refreshIcons);
    void OnDocumentClosing(const CUpdateHint& hint);

    std::vector<QIcon> m_images;
    std::array<QTreeWidgetItem*, kDbTreeBranchCount> m_branches{};
};

// The tree window's menu bar (resource 4) and its two context menus.
void RegisterDbTreeMenu();
CMenuDef DbTreeBranchPopupMenu();
CMenuDef DbTreeEntryPopupMenu();
// The status-bar prompt of a tree command, or null for another command.
const char* DbTreeCommandPrompt(unsigned id);
// Gives the tree template its window (a CDbTreeView) and registers its menu.
void InstallDbTreeTemplate(CDocTemplate& docTemplate);
