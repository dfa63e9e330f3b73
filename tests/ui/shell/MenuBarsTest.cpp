// Every menu the program registers, and every pop-up menu of its views, written out as text and
// compared with tests/data/shell/menus.txt: a menu assembled from shared pieces must come out item
// for item as the user has always seen it (captions, command ids, shortcuts, order).

#include "ShellSandbox.h"
#include "TestPaths.h"
#include "framework/MenuDef.h"
#include "glazes/GlazesView.h"
#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypesView.h"
#include "graphs/GraphView.h"
#include "limits/LimitFormulasView.h"
#include "materials/MaterialsView.h"
#include "app/OxidariumAppUi.h"
#include "substitutions/SubstitutionsView.h"
#include "tree/DbTreeView.h"
#include "ui/support/TestFolders.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace {

void Dump(std::ostream& out, const CMenuDef& item, int depth)
{
    out << std::string(std::size_t(depth) * 2, ' ');
    switch (item.kind) {
    case CMenuDef::Kind::Separator: out << "----\n"; return;
    case CMenuDef::Kind::WindowList: out << "[windows]\n"; return;
    case CMenuDef::Kind::Command:
        out << item.id << " \"" << item.text << '"' << (item.shortcut.empty() ? "" : " ") << item.shortcut << '\n';
        return;
    case CMenuDef::Kind::Popup: break;
    }
    out << "> \"" << item.text << "\"\n";
    for (const CMenuDef& child : item.items)
        Dump(out, child, depth + 1);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(MenuBarsTest, EveryMenuComesOutAsBefore)
{
    CShellSandbox box;
    std::filesystem::current_path(box.root);
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());
    std::ostringstream out;
    for (unsigned resource = 0; resource < 100; ++resource) {
        if (const CMenuBarDef* bar = FindMenuBar(resource)) {
            out << "menu bar " << resource << '\n';
            for (const CMenuDef& popup : *bar)
                Dump(out, popup, 1);
        }
    }
    const std::pair<const char*, CMenuDef> popups[] = {
        {"glazes", GlazesPopupMenu()},
        {"materials", MaterialsPopupMenu()},
        {"limit formulas", LimitFormulasPopupMenu()},
        {"substitutions", SubstitutionsPopupMenu()},
        {"graph templates", GraphTypesPopupMenu()},
        {"graph preview", GraphPreviewPopupMenu()},
        {"graph", GraphViewPopupMenu()},
        {"tree branch", DbTreeBranchPopupMenu()},
        {"tree entry", DbTreeEntryPopupMenu()},
    };
    for (const auto& [name, popup] : popups) {
        out << "pop-up " << name << '\n';
        Dump(out, popup, 1);
    }
    app.ExitInstance();

    const std::string expected = ReadFile(std::string(OXI_TEST_DATA_DIR) + "/shell/menus.txt");
    if (out.str() != expected) {
        KeepTestFolder();
        const std::string actual = TestFolder().toStdString() + "/menus.txt";
        std::ofstream(actual, std::ios::binary) << out.str();
        ADD_FAILURE() << "the menus differ from tests/data/shell/menus.txt; they are written to " << actual;
    }
}
