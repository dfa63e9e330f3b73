#include "tree/DbTreeView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileInfo.h"
#include "support/DbNotesDlg.h"
#include "support/DialogStyle.h"
#include "support/PathHelpers.h"
#include "tree/DbTreeDoc.h"
#include "tree/DbTreeIcons.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

#include <filesystem>
#include <memory>

namespace {

constexpr unsigned kProbeErrorHelpId = 0x30930;
constexpr unsigned kNotesDialogHelpId = 322;
constexpr int kDbTreeKind = static_cast<int>(DbFileType::DbTreeItems);

struct CBranchDef {
    const char* label;
    int image;
    DbTreeItemType type;
};

// The category branches in the order they are inserted.
constexpr CBranchDef kBranches[kDbTreeBranchCount] = {
    {"Glaze Databases", DbTreeImageGlazes, DbTreeItemType::Glazes},
    {"Material Databases", DbTreeImageMaterials, DbTreeItemType::Materials},
    {"Limit Formula Databases", DbTreeImageLimitFormulas, DbTreeItemType::LimitFormulas},
    {"Substitution Databases", DbTreeImageSubstitutions, DbTreeItemType::Substitutions},
    {"Element Databases", DbTreeImageElements, DbTreeItemType::Elements},
    {"Graph Template Databases", DbTreeImageGraphTemplates, DbTreeItemType::GraphTemplates},
    {"Text Files", DbTreeImageTextFile, DbTreeItemType::TextFile},
};

// The branch an entry of the kind goes under, or -1 (root level) for an unknown kind.
int BranchNumberOfType(DbTreeItemType type)
{
    for (int number = 0; number < kDbTreeBranchCount; ++number) {
        if (kBranches[number].type == type)
            return number;
    }
    return -1;
}

// The image of an open entry of the kind.
int ImageOfType(DbTreeItemType type)
{
    const int code = static_cast<int>(type);
    return code >= 1 && code <= 7 ? code + 1 : DbTreeImageUnknown;
}

std::string FileNamePart(const std::string& path)
{
    if (path.empty())
        return std::string();
    int offset = 0;
    const std::string full = GetFullPathString(path, &offset);
    if (full.empty())
        return std::filesystem::path(path).filename().string();
    return full.substr(static_cast<std::size_t>(offset));
}

} // namespace

CDbTreeView::CDbTreeView()
    : m_images(MakeDbTreeImageList())
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Double clicks are the view's own: a branch toggles, an entry opens.
    setExpandsOnDoubleClick(false);
    setIconSize(QSize(kDbTreeImageSize, kDbTreeImageSize));
    setUniformRowHeights(true);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

CDbTreeView::~CDbTreeView()
{
    // The document outlives its window only at exit; it must not keep pointers into it.
    if (CDbTreeDoc* doc = TreeDoc()) {
        if (doc->treeView == this)
            doc->treeView = nullptr;
        for (int index = 0; index < doc->items.GetCount(); ++index)
            doc->items.GetAt(index)->treeHandle = nullptr;
    }
}

CDbTreeDoc* CDbTreeView::TreeDoc() const
{
    return dynamic_cast<CDbTreeDoc*>(GetDocument());
}

void CDbTreeView::OnInitialUpdate()
{
    static const std::string kCaption = "Database Tree";
    if (CDbTreeDoc* doc = TreeDoc())
        doc->treeView = this;
    SetDocumentCaption(*this, kCaption);
    // The frame already stands at the next cascade position; it only gets the tree's size.
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->resize(kInitialWidth, kInitialHeight);
    Rebuild();
}

// --- nodes ------------------------------------------------------------------------------------

QTreeWidgetItem* CDbTreeView::Branch(int number) const
{
    return number >= 0 && number < kDbTreeBranchCount ? m_branches[static_cast<std::size_t>(number)] : nullptr;
}

int CDbTreeView::EntryIndexOf(const QTreeWidgetItem* node) const
{
    const CDbTreeDoc* doc = TreeDoc();
    if (!node || !doc)
        return -1;
    const int data = node->data(0, kDataRole).toInt();
    return data >= 0 && data < doc->items.GetCount() ? data : -1;
}

CDbTreeItem* CDbTreeView::EntryOf(const QTreeWidgetItem* node) const
{
    const int index = EntryIndexOf(node);
    return index >= 0 ? TreeDoc()->items.GetAt(index) : nullptr;
}

int CDbTreeView::ImageOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, kImageRole).toInt() : -1;
}

QTreeWidgetItem* CDbTreeView::SelectedNode() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

int CDbTreeView::SelectedEntry() const
{
    return EntryIndexOf(SelectedNode());
}

bool CDbTreeView::IsOpenPath(const std::string& path) const
{
    // An untitled document has an empty path too; an entry without a path is never its file.
    return !path.empty() && g_pApp && g_pApp->IsDocumentOpen(path);
}

void CDbTreeView::SetNodeImage(QTreeWidgetItem* node, int image)
{
    if (image < 0 || image >= kDbTreeImageCount)
        image = DbTreeImageUnknown;
    node->setIcon(0, m_images[static_cast<std::size_t>(image)]);
    node->setData(0, kImageRole, image);
}

std::string CDbTreeView::EntryLabel(const CDbTreeItem& item) const
{
    std::string label;
    if (showTitles)
        label = item.title;
    else if (showPaths)
        label = item.path;
    else
        label = FileNamePart(item.path);
    if (label.empty())
        label = showTitles ? "(untitled)" : "(unnamed)";
    return label;
}

template <typename Visit>
void CDbTreeView::ForEachEntryNode(Visit visit)
{
    // Entries of an unknown kind stand at root level after the branches; they are entries too.
    for (int top = 0; top < topLevelItemCount(); ++top) {
        QTreeWidgetItem* root = topLevelItem(top);
        if (const int index = EntryIndexOf(root); index >= 0)
            visit(root, index);
        for (int child = 0; child < root->childCount(); ++child) {
            QTreeWidgetItem* node = root->child(child);
            if (const int index = EntryIndexOf(node); index >= 0)
                visit(node, index);
        }
    }
}

void CDbTreeView::Rebuild()
{
    setUpdatesEnabled(false);
    clear();
    m_branches.fill(nullptr);
    for (int number = 0; number < kDbTreeBranchCount; ++number) {
        auto* node = new QTreeWidgetItem(this);
        node->setText(0, FromCp1252(kBranches[number].label));
        node->setData(0, kDataRole, kDbTreeBranchData + number);
        SetNodeImage(node, kBranches[number].image);
        m_branches[static_cast<std::size_t>(number)] = node;
    }
    if (CDbTreeDoc* doc = TreeDoc()) {
        for (int index = 0; index < doc->items.GetCount(); ++index) {
            CDbTreeItem& item = *doc->items.GetAt(index);
            const int branch = BranchNumberOfType(item.type);
            item.isOpen = IsOpenPath(item.path);
            auto* node = branch >= 0 ? new QTreeWidgetItem(Branch(branch)) : new QTreeWidgetItem(this);
            node->setText(0, FromCp1252(EntryLabel(item)));
            node->setData(0, kDataRole, index);
            SetNodeImage(node, item.isOpen ? ImageOfType(item.type) : DbTreeImageNotOpen);
            item.treeHandle = node;
        }
    }
    ExpandBranches(true);
    setUpdatesEnabled(true);
    viewport()->update();
}

void CDbTreeView::RebuildKeepingExpansion()
{
    std::array<bool, kDbTreeBranchCount> expanded{};
    for (int number = 0; number < kDbTreeBranchCount; ++number)
        expanded[static_cast<std::size_t>(number)] = Branch(number) && Branch(number)->isExpanded();
    Rebuild();
    for (int number = 0; number < kDbTreeBranchCount; ++number)
        Branch(number)->setExpanded(expanded[static_cast<std::size_t>(number)]);
}

void CDbTreeView::RefreshItemTexts()
{
    CDbTreeDoc* doc = TreeDoc();
    ForEachEntryNode([this, doc](QTreeWidgetItem* node, int index) {
        node->setText(0, FromCp1252(EntryLabel(*doc->items.GetAt(index))));
    });
}

void CDbTreeView::RefreshItemIcons()
{
    CDbTreeDoc* doc = TreeDoc();
    ForEachEntryNode([this, doc](QTreeWidgetItem* node, int index) {
        CDbTreeItem& item = *doc->items.GetAt(index);
        item.isOpen = IsOpenPath(item.path);
        SetNodeImage(node, item.isOpen ? ImageOfType(item.type) : DbTreeImageNotOpen);
    });
}

void CDbTreeView::ExpandBranches(bool expand)
{
    for (QTreeWidgetItem* branch : m_branches) {
        if (branch)
            branch->setExpanded(expand);
    }
}

// --- notices ------------------------------------------------------------------------------------

void CDbTreeView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this)
        return;
    if (!hint) {
        CView::OnUpdate(sender, hint);
        viewport()->update();
        return;
    }
    switch (hint->m_nCode) {
    case HintElementsReplaced:
    case HintMaterialsReplaced:
    case HintSubstitutionsReplaced:
    case HintGlazesReplaced:
    case HintGraphTemplatesReplaced:
    case HintLimitFormulasReplaced:
    case HintDocumentOpened:
    case HintDocumentSaved:
        OnDocumentChanged(*hint, true);
        break;
    case HintDatabaseNotesChanged:
        OnDocumentChanged(*hint, false);
        break;
    case HintDbTreeChanged:
        Rebuild();
        break;
    case HintDocumentClosing:
        OnDocumentClosing(*hint);
        break;
    default:
        break;
    }
}

void CDbTreeView::OnDocumentChanged(const CUpdateHint& hint, bool refreshIcons)
{
    CDbTreeDoc* doc = TreeDoc();
    if (!doc)
        return;
    if (refreshIcons)
        RefreshItemIcons();
    if (doc->UpdateItemTitle(hint.Document()) != 0 && showTitles)
        RefreshItemTexts();
}

void CDbTreeView::OnDocumentClosing(const CUpdateHint& hint)
{
    CDbTreeDoc* doc = TreeDoc();
    const CDocument* closing = hint.Document();
    if (!doc || !closing || closing->GetPathName().empty())
        return;
    CDbTreeItem* item = doc->items.GetAt(doc->items.FindByPath(closing->GetPathName()));
    if (!item)
        return;
    item->isOpen = false;
    if (auto* node = static_cast<QTreeWidgetItem*>(item->treeHandle))
        SetNodeImage(node, DbTreeImageNotOpen);
}

// --- commands -----------------------------------------------------------------------------------

bool CDbTreeView::OnUpdateCommand(CCmdUI& ui)
{
    const CDbTreeItem* selected = EntryOf(SelectedNode());
    switch (ui.m_nID) {
    case CmdTreeOpenDatabase:
        ui.Enable(selected && !selected->isOpen);
        return true;
    case CmdTreeDatabaseNotes:
        ui.Enable(selected && selected->type != DbTreeItemType::TextFile);
        return true;
    case CmdTreeRemoveDatabase:
        ui.Enable(selected != nullptr);
        return true;
    case CmdTreeShowTitles:
        ui.SetCheck(showTitles ? 1 : 0);
        return true;
    case CmdTreeShowFileNames:
        ui.SetCheck(!showTitles && !showPaths ? 1 : 0);
        return true;
    case CmdTreeShowPathNames:
        ui.SetCheck(showPaths && !showTitles ? 1 : 0);
        return true;
    case CmdTreeAddDatabases:
    case CmdTreeClear:
    case CmdTreeSort:
    case CmdTreeAddOpenDatabases:
    case CmdTreeRemoveInvalid:
    case CmdTreeUpdate:
    case CmdTreeExpandAll:
    case CmdTreeCollapseAll:
    case CmdTreeHelp:
    case CmdTreeContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CDbTreeView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdTreeOpenDatabase: OpenSelected(); return true;
    case CmdTreeDatabaseNotes: ShowSelectedNotes(); return true;
    case CmdTreeAddDatabases: AddDatabases(); return true;
    case CmdTreeRemoveDatabase: RemoveSelected(); return true;
    case CmdTreeClear: ClearTree(); return true;
    case CmdTreeSort: SortTree(); return true;
    case CmdTreeShowTitles: SetLabelMode(1, 0); return true;
    case CmdTreeShowFileNames: SetLabelMode(0, 0); return true;
    case CmdTreeShowPathNames: SetLabelMode(0, 1); return true;
    case CmdTreeUpdate: UpdateTree(true, true); return true;
    case CmdTreeRemoveInvalid: UpdateTree(true, false); return true;
    case CmdTreeAddOpenDatabases: UpdateTree(false, true); return true;
    case CmdTreeExpandAll: ExpandBranches(true); return true;
    case CmdTreeCollapseAll: ExpandBranches(false); return true;
    case CmdTreeHelp:
    case CmdTreeContextHelp: ShowDialogHelp(kDbTreeHelpId); return true;
    default: return false;
    }
}

bool CDbTreeView::RunCommand(unsigned id)
{
    return CMDIMainFrame::RunViewCommand(*this, id);
}

void CDbTreeView::OpenSelected()
{
    const int index = SelectedEntry();
    const CDbTreeItem* item = EntryOf(SelectedNode());
    if (!item || item->isOpen)
        return;
    if (TreeDoc()->OpenItem(index) == 0)
        RefreshItemIcons();
}

void CDbTreeView::SendToOpenDocument(const CDbTreeItem& item, int code)
{
    CDocument* document = g_pApp && !item.path.empty() ? g_pApp->FindOpenDocument(item.path) : nullptr;
    if (!document) {
        // The entry was marked open but its document is gone: show it as it is now.
        RefreshItemIcons();
        return;
    }
    const CUpdateHint hint(this, document, kDbTreeKind, code, 0, 0);
    document->UpdateAllViews(this, &hint);
}

void CDbTreeView::ShowSelectedNotes()
{
    const CDbTreeItem* selected = EntryOf(SelectedNode());
    if (!selected || selected->type == DbTreeItemType::TextFile)
        return;
    if (selected->isOpen) {
        SendToOpenDocument(*selected, HintBringFrameForwardWithNotes);
        return;
    }
    const CDbFileInfo probe(selected->path, false);
    if (probe.m_result != 0) {
        AppMessageBox(probe.m_errorMessage, MsgOk | MsgIconExclamation, kProbeErrorHelpId);
        return;
    }
    CDbNotesDlg dialog(this, "Database Notes and Information", kNotesDialogHelpId, 1);
    dialog.backgroundColor = GetNamedColor("dlg_misc_bkg");
    dialog.databaseName = probe.m_dbname;
    dialog.fileName = probe.m_path;
    dialog.notes = probe.m_infoLines;
    dialog.exec();
}

void CDbTreeView::AddDatabases()
{
    CDbTreeDoc* doc = TreeDoc();
    std::array<bool, kDbTreeItemTypeCount> added{};
    if (!doc || doc->AddDatabases(added) != 0)
        return;
    RebuildKeepingExpansion();
    for (int type = 0; type < kDbTreeItemTypeCount; ++type) {
        if (QTreeWidgetItem* branch = Branch(BranchNumberOfType(static_cast<DbTreeItemType>(type)));
            branch && added[static_cast<std::size_t>(type)])
            branch->setExpanded(true);
    }
}

void CDbTreeView::RemoveSelected()
{
    const int index = SelectedEntry();
    if (index < 0)
        return;
    TreeDoc()->RemoveItem(index);
    RebuildKeepingExpansion();
}

void CDbTreeView::ClearTree()
{
    if (CDbTreeDoc* doc = TreeDoc(); doc && doc->ClearTree() == 0)
        Rebuild();
}

void CDbTreeView::SortTree()
{
    CDbTreeDoc* doc = TreeDoc();
    if (!doc)
        return;
    doc->SortItems(showTitles != 0);
    RebuildKeepingExpansion();
}

void CDbTreeView::SetLabelMode(int titles, int paths)
{
    showTitles = titles;
    showPaths = paths;
    RefreshItemTexts();
}

void CDbTreeView::UpdateTree(bool removeInvalid, bool addOpen)
{
    CDbTreeDoc* doc = TreeDoc();
    if (!doc)
        return;
    // Both steps run even when the first one changed something.
    const bool removed = removeInvalid && doc->RemoveInvalidItems(false) == 0;
    const bool added = addOpen && doc->AddOpenDatabases() == 0;
    if (removed || added)
        RebuildKeepingExpansion();
}

// --- mouse --------------------------------------------------------------------------------------

void CDbTreeView::Activate()
{
    QTreeWidgetItem* node = SelectedNode();
    if (!node)
        return;
    const int index = EntryIndexOf(node);
    if (index < 0) {
        node->setExpanded(!node->isExpanded());
        return;
    }
    const CDbTreeItem& item = *TreeDoc()->items.GetAt(index);
    if (item.isOpen)
        SendToOpenDocument(item, HintBringFrameForward);
    else if (TreeDoc()->OpenItem(index) == 0)
        RefreshItemIcons();
}

void CDbTreeView::ShowContextMenu(const QPoint& position)
{
    if (CFrameHost* frame = GetFrame())
        frame->ActivateFrame();
    QTreeWidgetItem* node = itemAt(position);
    if (node)
        setCurrentItem(node);
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (!mainFrame)
        return;
    const CMenuDef popup = EntryIndexOf(node) >= 0 ? DbTreeEntryPopupMenu() : DbTreeBranchPopupMenu();
    std::unique_ptr<QMenu> menu(mainFrame->BuildPopupMenu(popup, this));
    menu->exec(viewport()->mapToGlobal(position));
}

void CDbTreeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        ShowContextMenu(event->position().toPoint());
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CDbTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTreeWidget::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    // The node under the mouse is the one acted on, even when the first click did not select it.
    if (QTreeWidgetItem* node = itemAt(event->position().toPoint()))
        setCurrentItem(node);
    Activate();
}

void CDbTreeView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    // The mouse's menu opened when the right button went down; the keyboard's opens here.
    if (event->reason() != QContextMenuEvent::Keyboard)
        return;
    QTreeWidgetItem* node = SelectedNode();
    const QPoint position = node ? visualItemRect(node).center() : QPoint(0, 0);
    ShowContextMenu(position);
}
