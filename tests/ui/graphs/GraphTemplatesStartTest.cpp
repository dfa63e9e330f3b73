// The graph-template windows as the running program gives them: the list window made at start-up,
// reached from the database tree, and the template editor opened from it.

#include "TestPaths.h"
#include "core/support/CheckedItems.h"
#include "framework/MdiFrame.h"
#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/GraphTypesView.h"
#include "app/OxidariumAppUi.h"
#include "tree/DbTreeDoc.h"
#include "tree/DbTreeView.h"
#include "ui/shell/ShellSandbox.h"

#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

template <class ViewT>
ViewT* FirstView(CDocument* document)
{
    for (CView* view : document ? document->GetViews() : std::vector<CView*>{}) {
        if (auto* found = dynamic_cast<ViewT*>(view))
            return found;
    }
    return nullptr;
}

} // namespace

TEST(GraphTemplatesStartTest, TheTreeBringsTheListWindowUpAndItsEditOpensTheEditor)
{
    CShellSandbox box;
    for (const char* name : {"elements.ele", "materials.mat", "glazes.glz"})
        CShellSandbox::CopyFile(std::string(OXI_SHIPPED_DATA_DIR) + "/" + name, box.dataDir + "/" + name);
    // Regression: one count outside its range (an earlier build's file, or one edited by hand)
    // made the whole file unreadable at start-up, and the window opened empty.
    std::ifstream shipped(std::string(OXI_SHIPPED_DATA_DIR) + "/graphtypes.grt", std::ios::binary);
    std::string templates((std::istreambuf_iterator<char>(shipped)), std::istreambuf_iterator<char>());
    templates.replace(templates.find("xtickm = 1\n"), 10, "xtickm = 150");
    const std::string path = box.dataDir + "/graphtypes.grt";
    CShellSandbox::WriteFile(path, templates);
    CShellSandbox::WriteFile(box.programDir + "/datalocation.txt", box.dataDir + "\n");
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());
    // (The sandbox has no splash picture: its text comes in a box first.)
    EXPECT_EQ(box.messages.Texts(), (std::vector<std::string>{"Oxidarium version 2.1",
                                                              path + ": line 754: template \"Oxide groups (pie)\": "
                                                                     "xtickm = 150 is outside its range, 0 to 100; "
                                                                     "kept as it is, it is used as 100"}));

    // The list window is made at start-up and waits minimised.
    ASSERT_NE(g_pGraphTypesDoc, nullptr);
    EXPECT_EQ(g_pGraphTypesDoc->GetPathName(), path);
    auto* list = FirstView<CGraphTypesView>(g_pGraphTypesDoc);
    ASSERT_NE(list, nullptr);
    auto* frame = dynamic_cast<CMDIChildFrame*>(list->GetFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isMinimized());
    EXPECT_EQ(g_pGraphTypesDoc->Database().GetCount(), 25);
    EXPECT_EQ(list->GetCount(), g_pGraphTypesDoc->Database().GetCount());

    // A double-click on its entry in the tree shows it.
    auto* tree = FirstView<CDbTreeView>(g_pDbTreeDoc);
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(g_pDbTreeDoc, nullptr);
    const int entry = g_pDbTreeDoc->items.FindByPath(g_pGraphTypesDoc->GetPathName());
    ASSERT_GE(entry, 0);
    auto* node = static_cast<QTreeWidgetItem*>(RecordAt(g_pDbTreeDoc->items, entry).treeHandle);
    ASSERT_NE(node, nullptr);
    tree->scrollToItem(node);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    EXPECT_FALSE(frame->isMinimized());

    // Edit opens the template editor on the selected template.
    list->SetSel(-1, false);
    list->SetSel(2, true);
    EXPECT_TRUE(list->RunCommand(CmdGrtListEdit));
    auto* editor = FirstView<CGraphTypeEditView>(g_pGraphTypesDoc);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->CurrentIndex(), 2);
    app.ExitInstance();
}
