#include "tree/DbTreeView.h"

#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbNotesDlg.h"
#include "support/NotesEdit.h"
#include "support/PathHelpers.h"
#include "tree/DbTreeDoc.h"
#include "tree/DbTreeIcons.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <source_location>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A glaze database or text document that opens any file that exists.
class CFakeFileDoc : public CDocument {
public:
    std::string GetDatabaseName() const override { return "Opened " + GetTitle(); }
    bool OnOpenDocument(const std::string& path) override { return FileExists(path); }
};

// The single document of a kind, registered for its lifetime.
class CFakeSingleton : public CDocument {
public:
    CFakeSingleton(DbFileType kind, const std::string& path) : m_kind(static_cast<int>(kind))
    {
        if (!path.empty())
            SetPathName(path);
        COxidariumApp::SetSingletonDocument(m_kind, this);
    }
    ~CFakeSingleton() override { COxidariumApp::SetSingletonDocument(m_kind, nullptr); }

private:
    int m_kind;
};

QStringList Texts(const QList<QTreeWidgetItem*>& nodes)
{
    QStringList texts;
    for (const QTreeWidgetItem* node : nodes)
        texts << node->text(0);
    return texts;
}

QStringList ChildTexts(const QTreeWidgetItem* branch)
{
    QList<QTreeWidgetItem*> children;
    for (int i = 0; i < branch->childCount(); ++i)
        children << branch->child(i);
    return Texts(children);
}

class DbTreeViewTest : public ::testing::Test {
protected:
    DbTreeViewTest()
    {
        g_prefs.ApplyColorScheme();
        m_dir = fs::temp_directory_path() / ("oxi-dbtreeview-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        g_pGlazesTemplate = &m_glazes;
        g_pTextFileTemplate = &m_texts;
        g_pDbTreeTemplate = &m_tree;
        InstallDbTreeTemplate(m_tree);
        m_frame.resize(700, 500);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        m_doc = static_cast<CDbTreeDoc*>(m_tree.OpenDocumentFile(""));
        m_view = m_doc ? dynamic_cast<CDbTreeView*>(m_doc->treeView) : nullptr;
        // The menu bar appears (and its keys work) once the queued show has run.
        QApplication::processEvents();
    }
    ~DbTreeViewTest() override
    {
        g_pGlazesTemplate = nullptr;
        g_pTextFileTemplate = nullptr;
        g_pDbTreeTemplate = nullptr;
        fs::remove_all(m_dir);
    }

    std::string WriteDb(const std::string& name, const char* fileType, const std::string& dbName,
                        const std::string& infoLines = std::string()) const
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << "filetype = " << fileType << "\nversion =  2\n\ndbname  = " << dbName
                                              << "\n" << infoLines << "\n";
        return path;
    }
    void AddEntry(const std::string& path, const std::string& title, DbTreeItemType type)
    {
        CDbTreeItem item;
        item.path = path;
        item.title = title;
        item.SetTypeCode(type);
        m_doc->InsertItemAt(m_doc->items.GetCount(), item);
    }
    // Entry number index of the tree; a missing one fails the test there and a blank entry stands in.
    CDbTreeItem& Item(int index, std::source_location where = std::source_location::current()) const
    {
        if (CDbTreeItem* item = m_doc->items.GetAt(index))
            return *item;
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
            << "no tree entry " << index << " of " << m_doc->items.GetCount();
        static CDbTreeItem none;
        none = CDbTreeItem();
        return none;
    }
    QTreeWidgetItem* NodeOf(int index, std::source_location where = std::source_location::current()) const
    {
        return static_cast<QTreeWidgetItem*>(Item(index, where).treeHandle);
    }
    QStringList TopLevelTexts() const
    {
        QList<QTreeWidgetItem*> nodes;
        for (int i = 0; i < m_view->topLevelItemCount(); ++i)
            nodes << m_view->topLevelItem(i);
        return Texts(nodes);
    }
    CCmdUI State(unsigned id) const
    {
        CCmdUI ui(id);
        EXPECT_TRUE(m_view->OnUpdateCommand(ui));
        return ui;
    }
    void Select(QTreeWidgetItem* node) const { m_view->setCurrentItem(node); }
    void DoubleClick(QTreeWidgetItem* node) const
    {
        m_view->scrollToItem(node);
        QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, {}, m_view->visualItemRect(node).center());
    }
    static void Broadcast(CDocument* document, int kind, int code)
    {
        COxidariumApp::BroadcastUpdate(nullptr, document, kind, code, 0, 0);
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    CDocTemplate m_glazes{2, "Glazes\nGlazes\nGlazes\nGlaze Files (*.glz)\n.glz\nGlazes\nGlazes",
                          [] { return std::make_unique<CFakeFileDoc>(); }};
    CDocTemplate m_texts{9, "Text File\n\n\n\n\n\n", [] { return std::make_unique<CFakeFileDoc>(); }};
    CDocTemplate m_tree{kDbTreeResourceId, kDbTreeDocString, [] { return std::make_unique<CDbTreeDoc>(); }};
    CMDIMainFrame m_frame;
    CDbTreeDoc* m_doc = nullptr;
    CDbTreeView* m_view = nullptr;
};

} // namespace

TEST_F(DbTreeViewTest, BranchesComeInOrderAndLabelsFollowTheMode)
{
    ASSERT_NE(m_view, nullptr);
    EXPECT_EQ(m_doc->GetTitle(), "Database Tree");
    EXPECT_EQ(m_view->GetFrame(), m_frame.ActiveChildFrame());
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    EXPECT_EQ(m_frame.ActiveChildFrame()->windowTitle(), QStringLiteral("Database Tree"));
    EXPECT_EQ(m_frame.ActiveChildFrame()->size(), QSize(CDbTreeView::kInitialWidth, CDbTreeView::kInitialHeight));

    const std::string limits = (m_dir / "cone6.lim").string();
    AddEntry("", "", DbTreeItemType::Glazes);
    AddEntry(limits, "Cone 6 limits", DbTreeItemType::LimitFormulas);
    AddEntry("/elsewhere/odd.xyz", "Odd file", DbTreeItemType::Unknown);
    m_view->Rebuild();

    EXPECT_EQ(TopLevelTexts(), (QStringList{"Glaze Databases", "Material Databases", "Limit Formula Databases",
                                            "Substitution Databases", "Element Databases",
                                            "Graph Template Databases", "Text Files", "Odd file"}));
    const int branchImages[] = {6, 3, 5, 4, 2, 8, 7};
    for (int n = 0; n < kDbTreeBranchCount; ++n) {
        EXPECT_EQ(CDbTreeView::ImageOf(m_view->Branch(n)), branchImages[n]);
        EXPECT_TRUE(m_view->Branch(n)->isExpanded());
    }
    EXPECT_EQ(CDbTreeView::ImageOf(NodeOf(2)), DbTreeImageNotOpen);
    EXPECT_EQ(ChildTexts(m_view->Branch(0)), QStringList{"(untitled)"});
    EXPECT_EQ(ChildTexts(m_view->Branch(2)), QStringList{"Cone 6 limits"});
    EXPECT_EQ(State(CmdTreeShowTitles).m_nCheck, 1);

    EXPECT_TRUE(m_view->RunCommand(CmdTreeShowFileNames));
    EXPECT_EQ(NodeOf(0)->text(0), QStringLiteral("(unnamed)"));
    EXPECT_EQ(NodeOf(1)->text(0), QStringLiteral("cone6.lim"));
    EXPECT_EQ(NodeOf(2)->text(0), QStringLiteral("odd.xyz")) << "root-level entries follow the mode too";
    EXPECT_EQ(State(CmdTreeShowTitles).m_nCheck, 0);
    EXPECT_EQ(State(CmdTreeShowFileNames).m_nCheck, 1);

    EXPECT_TRUE(m_view->RunCommand(CmdTreeShowPathNames));
    EXPECT_EQ(NodeOf(0)->text(0), QStringLiteral("(unnamed)"));
    EXPECT_EQ(NodeOf(1)->text(0), QString::fromStdString(limits));
    EXPECT_EQ(State(CmdTreeShowPathNames).m_nCheck, 1);
    EXPECT_EQ(State(CmdTreeShowFileNames).m_nCheck, 0);

    EXPECT_TRUE(m_view->RunCommand(CmdTreeShowTitles));
    EXPECT_EQ(NodeOf(0)->text(0), QStringLiteral("(untitled)"));
}

TEST_F(DbTreeViewTest, ClosingAndReopeningChangeOnlyTheEntrysImage)
{
    const std::string glazes = WriteDb("stoneware.glz", "Oxidarium Glazes", "Stoneware");
    CDocument* glazeDoc = m_glazes.OpenDocumentFile(glazes);
    ASSERT_NE(glazeDoc, nullptr);
    // An untitled database has no path; the entry without a path is not its file.
    CFakeSingleton untitledElements(DbFileType::Elements, "");
    AddEntry(glazes, "Stoneware", DbTreeItemType::Glazes);
    AddEntry("", "", DbTreeItemType::Elements);
    m_view->Rebuild();
    QTreeWidgetItem* node = NodeOf(0);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(CDbTreeView::ImageOf(node), DbTreeImageGlazes);
    EXPECT_TRUE(Item(0).isOpen);
    EXPECT_EQ(CDbTreeView::ImageOf(NodeOf(1)), DbTreeImageNotOpen);
    EXPECT_FALSE(Item(1).isOpen);

    // A rebuild would make new nodes and expand every branch: neither may happen.
    node->setData(0, Qt::UserRole + 10, QStringLiteral("same node"));
    m_view->Branch(0)->setExpanded(false);
    Broadcast(glazeDoc, static_cast<int>(DbFileType::Glazes), HintDocumentClosing);
    EXPECT_EQ(CDbTreeView::ImageOf(node), DbTreeImageNotOpen);
    EXPECT_FALSE(Item(0).isOpen);
    EXPECT_EQ(node->data(0, Qt::UserRole + 10).toString(), QStringLiteral("same node"));
    EXPECT_FALSE(m_view->Branch(0)->isExpanded());

    Broadcast(glazeDoc, static_cast<int>(DbFileType::Glazes), HintDocumentOpened);
    EXPECT_EQ(CDbTreeView::ImageOf(node), DbTreeImageGlazes);
    EXPECT_EQ(node->data(0, Qt::UserRole + 10).toString(), QStringLiteral("same node"));
    EXPECT_EQ(NodeOf(0)->text(0), QStringLiteral("Opened stoneware.glz")) << "the open database's name is taken";

    Broadcast(&untitledElements, static_cast<int>(DbFileType::Elements), HintDocumentClosing);
    Broadcast(&untitledElements, static_cast<int>(DbFileType::Elements), HintDocumentOpened);
    EXPECT_EQ(CDbTreeView::ImageOf(NodeOf(1)), DbTreeImageNotOpen);
}

TEST_F(DbTreeViewTest, AddDatabasesExpandsTheBranchesOfTheAddedKinds)
{
    const std::string glazes = WriteDb("b.glz", "Oxidarium Glazes", "Glazes B");
    const std::string materials = WriteDb("a.mat", "Oxidarium Materials", "Materials A");
    const std::string text = (m_dir / "notes.txt").string();
    std::ofstream(text) << "some notes\n";
    AddEntry(WriteDb("old.lim", "Oxidarium Limit Formulas", "Old limits"), "Old limits", DbTreeItemType::LimitFormulas);
    m_view->Rebuild();
    ASSERT_TRUE(m_view->RunCommand(CmdTreeCollapseAll));
    for (int n = 0; n < kDbTreeBranchCount; ++n)
        EXPECT_FALSE(m_view->Branch(n)->isExpanded());

    m_dialogs.answers.push_back({CFileDialogResult::Outcome::Ok, {glazes, materials, text}, 1});
    // Insert is the command's key in the tree window's menu.
    QTest::keyClick(m_view, Qt::Key_Insert);
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Databases to add to tree...");
    ASSERT_EQ(m_doc->items.GetCount(), 4);

    EXPECT_TRUE(m_view->Branch(0)->isExpanded());  // glazes
    EXPECT_TRUE(m_view->Branch(1)->isExpanded());  // materials
    EXPECT_FALSE(m_view->Branch(2)->isExpanded()); // limit formulas: nothing added
    EXPECT_FALSE(m_view->Branch(4)->isExpanded());
    EXPECT_TRUE(m_view->Branch(6)->isExpanded());  // text files
    EXPECT_EQ(ChildTexts(m_view->Branch(0)), QStringList{"Glazes B"});
    EXPECT_EQ(ChildTexts(m_view->Branch(6)), QStringList{"notes.txt"});
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(DbTreeViewTest, DoubleClicksToggleBranchesOpenEntriesAndBringOpenDatabasesForward)
{
    const std::string first = WriteDb("first.glz", "Oxidarium Glazes", "First");
    const std::string second = WriteDb("second.glz", "Oxidarium Glazes", "Second");
    AddEntry(first, "First", DbTreeItemType::Glazes);
    AddEntry(second, "Second", DbTreeItemType::Glazes);
    m_view->Rebuild();

    DoubleClick(m_view->Branch(0));
    EXPECT_FALSE(m_view->Branch(0)->isExpanded());
    DoubleClick(m_view->Branch(0));
    EXPECT_TRUE(m_view->Branch(0)->isExpanded());

    Select(NodeOf(0));
    EXPECT_TRUE(State(CmdTreeOpenDatabase).m_bEnabled);
    DoubleClick(NodeOf(0));
    ASSERT_EQ(m_glazes.GetDocuments().size(), 1u);
    CDocument* opened = m_glazes.GetDocuments().front();
    EXPECT_EQ(opened->GetPathName(), first);
    EXPECT_EQ(CDbTreeView::ImageOf(NodeOf(0)), DbTreeImageGlazes);
    EXPECT_EQ(CDbTreeView::ImageOf(NodeOf(1)), DbTreeImageNotOpen);
    EXPECT_FALSE(State(CmdTreeOpenDatabase).m_bEnabled) << "an open entry is not opened again";

    CRecordingFrame glazeWindow(*opened, "glazes");
    DoubleClick(NodeOf(0));
    EXPECT_EQ(m_glazes.GetDocuments().size(), 1u);
    ASSERT_EQ(glazeWindow.view->received.size(), 1u);
    EXPECT_EQ(glazeWindow.view->At(0).code, HintBringFrameForward);
    EXPECT_EQ(glazeWindow.view->At(0).kind, static_cast<int>(DbFileType::DbTreeItems));

    // An entry marked open whose document is gone is shown as it is, and nothing is opened.
    Item(1).isOpen = true;
    DoubleClick(NodeOf(1));
    EXPECT_EQ(m_glazes.GetDocuments().size(), 1u);
    EXPECT_FALSE(Item(1).isOpen);
    EXPECT_EQ(CDbTreeView::ImageOf(NodeOf(1)), DbTreeImageNotOpen);

    // Notes of an open database are that database's own business.
    Select(NodeOf(0));
    EXPECT_TRUE(m_view->RunCommand(CmdTreeDatabaseNotes));
    ASSERT_EQ(glazeWindow.view->received.size(), 2u);
    EXPECT_EQ(glazeWindow.view->At(1).code, HintBringFrameForwardWithNotes);
}

TEST_F(DbTreeViewTest, NotesOfAClosedDatabaseShowItsHeaderReadOnly)
{
    const std::string materials =
        WriteDb("studio.mat", "Oxidarium Materials", "Studio materials", "I = |Bought 2023\nI = |  indented\n");
    AddEntry(materials, "Studio materials", DbTreeItemType::Materials);
    AddEntry((m_dir / "gone.glz").string(), "Gone", DbTreeItemType::Glazes);
    AddEntry((m_dir / "notes.txt").string(), "notes.txt", DbTreeItemType::TextFile);
    m_view->Rebuild();

    Select(NodeOf(2));
    EXPECT_FALSE(State(CmdTreeDatabaseNotes).m_bEnabled) << "text files have no notes";
    EXPECT_FALSE(m_view->RunCommand(CmdTreeDatabaseNotes));

    Select(NodeOf(0));
    std::string caption, name, file, lines;
    bool nameReadOnly = false;
    bool notesReadOnly = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CDbNotesDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle().toStdString();
        name = dialog->NameEdit()->text().toStdString();
        file = dialog->FileNameLabel()->text().toStdString();
        lines = dialog->NotesEdit()->toPlainText().toStdString();
        nameReadOnly = dialog->NameEdit()->isReadOnly();
        notesReadOnly = dialog->NotesEdit()->isReadOnly();
        dialog->reject();
    });
    EXPECT_TRUE(m_view->RunCommand(CmdTreeDatabaseNotes));
    EXPECT_EQ(caption, "Database Notes and Information");
    EXPECT_EQ(name, "Studio materials");
    EXPECT_EQ(file, materials);
    EXPECT_EQ(lines, "Bought 2023\n  indented\n");
    EXPECT_TRUE(nameReadOnly);
    EXPECT_TRUE(notesReadOnly);

    Select(NodeOf(1));
    EXPECT_TRUE(m_view->RunCommand(CmdTreeDatabaseNotes));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_NE(m_messages.At(0).text.find("gone.glz"), std::string::npos);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30930u);
    EXPECT_EQ(m_messages.At(0).Icon(), static_cast<unsigned>(MsgIconExclamation));
}

TEST_F(DbTreeViewTest, SortRemoveClearAndUpdateRebuildTheTree)
{
    const std::string zeta = WriteDb("a-zeta.glz", "Oxidarium Glazes", "Zeta");
    const std::string alpha = WriteDb("b-alpha.glz", "Oxidarium Glazes", "Alpha");
    AddEntry(zeta, "Zeta", DbTreeItemType::Glazes);
    AddEntry(alpha, "Alpha", DbTreeItemType::Glazes);
    AddEntry((m_dir / "missing.mat").string(), "Missing", DbTreeItemType::Materials);
    m_view->Rebuild();
    m_view->Branch(5)->setExpanded(false);

    EXPECT_TRUE(m_view->RunCommand(CmdTreeSort));
    EXPECT_EQ(ChildTexts(m_view->Branch(0)), (QStringList{"Alpha", "Zeta"}));
    EXPECT_FALSE(m_view->Branch(5)->isExpanded()) << "sorting keeps the branches as they were";
    m_view->RunCommand(CmdTreeShowFileNames);
    m_view->RunCommand(CmdTreeSort);
    EXPECT_EQ(ChildTexts(m_view->Branch(0)), (QStringList{"a-zeta.glz", "b-alpha.glz"})) << "by path";

    // Delete is the remove command's key; it acts on the selected entry only.
    Select(m_view->Branch(0));
    EXPECT_FALSE(State(CmdTreeRemoveDatabase).m_bEnabled);
    QTest::keyClick(m_view, Qt::Key_Delete);
    EXPECT_EQ(m_doc->items.GetCount(), 3);
    Select(m_view->Branch(0)->child(0));
    QTest::keyClick(m_view, Qt::Key_Delete);
    ASSERT_EQ(m_doc->items.GetCount(), 2);
    EXPECT_EQ(ChildTexts(m_view->Branch(0)), QStringList{"b-alpha.glz"});
    EXPECT_TRUE(m_doc->IsModified());

    // Update: the missing file goes (with its message), the open text window comes in.
    const std::string text = (m_dir / "log.txt").string();
    std::ofstream(text) << "log\n";
    ASSERT_NE(m_texts.OpenDocumentFile(text), nullptr);
    m_view->RunCommand(CmdTreeShowTitles);
    EXPECT_TRUE(m_view->RunCommand(CmdTreeUpdate));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_NE(m_messages.At(0).text.find("missing.mat"), std::string::npos);
    EXPECT_EQ(ChildTexts(m_view->Branch(1)), QStringList{});
    EXPECT_EQ(ChildTexts(m_view->Branch(6)), QStringList{QString::fromStdString(text)});
    EXPECT_EQ(CDbTreeView::ImageOf(m_view->Branch(6)->child(0)), DbTreeImageTextFile);

    m_messages.answers = {MsgResultNo, MsgResultYes};
    m_view->RunCommand(CmdTreeClear);
    EXPECT_EQ(m_doc->items.GetCount(), 2);
    m_view->RunCommand(CmdTreeClear);
    EXPECT_EQ(m_doc->items.GetCount(), 0);
    EXPECT_EQ(m_view->topLevelItemCount(), kDbTreeBranchCount);
    EXPECT_EQ(m_view->Branch(0)->childCount(), 0);
}

TEST_F(DbTreeViewTest, RightClickShowsTheEntryOrTheBranchMenu)
{
    AddEntry(WriteDb("c.sub", "Oxidarium Substitutions", "Subs"), "Subs", DbTreeItemType::Substitutions);
    m_view->Rebuild();

    auto menuAt = [this](QTreeWidgetItem* node) {
        QStringList texts;
        QTimer::singleShot(0, [&texts] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
            menu->close();
        });
        QTest::mousePress(m_view->viewport(), Qt::RightButton, {}, m_view->visualItemRect(node).center());
        return texts;
    };
    Select(m_view->Branch(0));
    EXPECT_EQ(menuAt(NodeOf(0)),
              (QStringList{"&Open Database\tDblClk", "Display &Notes", "&Remove from Tree \tDel", "-",
                           "View &Titles", "View &Filenames", "-", "&Update Tree", "&Add Databases to Tree...\tIns"}));
    EXPECT_EQ(m_view->currentItem(), NodeOf(0)) << "the node under the mouse is selected first";
    EXPECT_EQ(menuAt(m_view->Branch(3)),
              (QStringList{"&Expand All", "&Collapse All", "-", "View &Titles", "View &Filenames", "-",
                           "&Update Tree", "&Add Databases to Tree...\tIns"}));
}

TEST_F(DbTreeViewTest, Screenshot)
{
    struct Entry {
        const char* file;
        const char* type;
        const char* name;
        DbTreeItemType kind;
    };
    const Entry entries[] = {
        {"stoneware.glz", "Oxidarium Glazes", "Cone 6 Stoneware", DbTreeItemType::Glazes},
        {"raku.glz", "Oxidarium Glazes", "Raku Experiments", DbTreeItemType::Glazes},
        {"celadons.glz", "Oxidarium Glazes", "Celadons", DbTreeItemType::Glazes},
        {"studio.mat", "Oxidarium Materials", "Studio Materials", DbTreeItemType::Materials},
        {"supplier.mat", "Oxidarium Materials", "Supplier Catalogue", DbTreeItemType::Materials},
        {"limits.lim", "Oxidarium Limit Formulas", "Standard Limits", DbTreeItemType::LimitFormulas},
        {"fritsubs.sub", "Oxidarium Substitutions", "Frit Substitutions", DbTreeItemType::Substitutions},
        {"elements.ele", "Oxidarium Elements", "Standard Elements", DbTreeItemType::Elements},
        {"graphs.grt", "Oxidarium Graph Templates", "Stull Charts", DbTreeItemType::GraphTemplates},
    };
    for (const Entry& entry : entries)
        AddEntry(WriteDb(entry.file, entry.type, entry.name), entry.name, entry.kind);
    AddEntry((m_dir / "firing log.txt").string(), "firing log.txt", DbTreeItemType::TextFile);
    AddEntry("/old/unknown.dat", "Unknown file", DbTreeItemType::Unknown);
    ASSERT_NE(m_glazes.OpenDocumentFile((m_dir / "stoneware.glz").string()), nullptr);
    CFakeSingleton materials(DbFileType::Materials, (m_dir / "studio.mat").string());
    m_view->Rebuild();
    Select(NodeOf(1));

    auto* frame = dynamic_cast<CMDIChildFrame*>(m_view->GetFrame());
    ASSERT_NE(frame, nullptr);
    frame->move(0, 0);
    frame->resize(300, 480);
    const QString folder = ScreenshotFolder();
    QDir().mkpath(folder);
    EXPECT_TRUE(frame->grab().save(folder + "/db-tree.png"));
}
