#include "app/OxidariumAppUi.h"

#include "core/support/CheckedItems.h"
#include "materials/ChemistryListChecks.h"
#include "ShellSandbox.h"
#include "TestPaths.h"
#include "core/graphs/RecordingChartEngine.h"
#include "elements/ElementsDoc.h"
#include "framework/Document.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "materials/MaterialsDoc.h"
#include "app/AppCommands.h"
#include "app/MainFrame.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "app/SplashWindow.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/PathHelpers.h"
#include "textfile/TextFileDoc.h"
#include "tree/DbTreeDoc.h"

#include <QDir>
#include <QMdiArea>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const std::string kSplashPicture = std::string(OXI_SHIPPED_DATA_DIR) + "/../resources/splash.bmp";

std::vector<std::string> TreePaths()
{
    std::vector<std::string> paths;
    if (g_pDbTreeDoc) {
        for (int i = 0; i < g_pDbTreeDoc->items.GetCount(); ++i)
            paths.push_back(RecordAt(g_pDbTreeDoc->items, i).path);
    }
    return paths;
}

bool Contains(const std::vector<std::string>& list, const std::string& value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

// A data directory as the run script seeds it, with a glaze database and a text file beside the
// program as well.
void SeedDatabases(const CShellSandbox& box)
{
    CShellSandbox::CopyFile(std::string(OXI_SHIPPED_DATA_DIR) + "/elements.ele", box.dataDir + "/elements.ele");
    CShellSandbox::CopyFile(std::string(OXI_TEST_DATA_DIR) + "/materials/sample.mat", box.dataDir + "/materials.mat");
    CShellSandbox::CopyFile(std::string(OXI_TEST_DATA_DIR) + "/glazes/sample.glz", box.dataDir + "/mine.glz");
    CShellSandbox::CopyFile(std::string(OXI_TEST_DATA_DIR) + "/glazes/sample.glz", box.programDir + "/shipped.glz");
    CShellSandbox::WriteFile(box.programDir + "/readme.txt", "notes\n");
}

} // namespace

TEST(OxidariumAppUiTest, AnEmptyStartOpensNewSingletonsAndWritesOnlyTheProfile)
{
    CShellSandbox box;
    CShellSandbox::CopyFile(kSplashPicture, box.programDir + "/splash.bmp");
    std::filesystem::current_path(box.root);
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());

    EXPECT_TRUE(box.messages.boxes.empty()) << box.messages.At(0).text;
    EXPECT_EQ(app.m_bDataLocationHandedOver, 0);
    EXPECT_EQ(app.m_bGraphsAvailable, 1) << "the chart engine opened";
    for (CDocument* singleton :
         {static_cast<CDocument*>(g_pElementsDoc), static_cast<CDocument*>(g_pMaterialsDoc),
          static_cast<CDocument*>(g_pSubstitutionsDoc), static_cast<CDocument*>(g_pLimitFormulasDoc),
          static_cast<CDocument*>(g_pGraphTypesDoc), static_cast<CDocument*>(g_pDbTreeDoc)}) {
        ASSERT_NE(singleton, nullptr);
        EXPECT_TRUE(singleton->GetPathName().empty());
        EXPECT_FALSE(singleton->IsModified());
    }
    ASSERT_NE(g_pMaterialsDoc, nullptr);
    EXPECT_EQ(g_pMaterialsDoc->Materials().GetCount(), 1) << "a new database holds its one new material";
    EXPECT_EQ(app.CountGlazeDocs(), 0);
    ASSERT_NE(g_pGlazesTemplate, nullptr);

    for (const std::string& directory : {box.programDir, box.dataDir, box.root, GetProgramDirectory()})
        EXPECT_FALSE(CShellSandbox::Exists(directory + "/prefs.dat")) << directory;
    EXPECT_EQ(box.profile.GetString("Directories", "Starting"), GetCurrentDirectoryString());
    for (const CNamedColor& color : g_namedColors)
        EXPECT_TRUE(box.profile.HasValue("Colors", color.name)) << color.name;

    // The tree window is up; the splash stays until a timer closes it without blocking.
    CMainFrame* frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    // Every singleton database with a window shows it; the tree's window is among them.
    ASSERT_NE(g_pDbTreeDoc, nullptr);
    EXPECT_FALSE(g_pDbTreeDoc->GetViews().empty());
    ASSERT_NE(g_pMaterialsDoc, nullptr);
    EXPECT_FALSE(g_pMaterialsDoc->GetViews().empty());
    ASSERT_NE(app.m_pSplash, nullptr);
    EXPECT_TRUE(app.m_pSplash->isVisible());
    ASSERT_TRUE(app.SplashCloseTimer()->isActive());
    EXPECT_EQ(app.SplashCloseTimer()->interval(), 1000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.m_pSplash == nullptr; }, 3000));
    app.ExitInstance();
}

TEST(OxidariumAppUiTest, AHandedOverDataDirectoryIsRecordedCataloguedAndKeepsThePreferences)
{
    CShellSandbox box;
    SeedDatabases(box);
    // The whole line counts, however long; the line end and trailing blanks do not.
    std::string dataDir = box.dataDir;
    for (int level = 0; level < 5; ++level)
        dataDir += "/" + std::string(220, static_cast<char>('a' + level));
    std::filesystem::create_directories(dataDir);
    for (const char* name : {"elements.ele", "materials.mat", "mine.glz"})
        std::filesystem::rename(box.dataDir + "/" + name, dataDir + "/" + name);
    ASSERT_GT(dataDir.size(), 1100u);
    const std::string handOver = box.programDir + "/datalocation.txt";
    CShellSandbox::WriteFile(handOver, dataDir + "  \r\nignored second line\n");
    // The user's preferences in the data directory; defaults beside the program.
    CShellSandbox::WriteFile(dataDir + "/prefs.dat",
                             "filetype = Oxidarium Preferences\nversion = 2\nbacktyp = 1\ndecrecipe = 5\n");
    CShellSandbox::WriteFile(box.programDir + "/prefs.dat", "filetype = Oxidarium Preferences\nversion = 2\n");

    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());

    EXPECT_FALSE(CShellSandbox::Exists(handOver));
    EXPECT_EQ(app.m_bDataLocationHandedOver, 1);
    EXPECT_EQ(GetCurrentDirectoryString(), dataDir);
    EXPECT_TRUE(CShellSandbox::Exists(dataDir + "/prefs.dat"));
    EXPECT_EQ(box.profile.GetString("Preferences", "PrefFileName"), dataDir + "/prefs.dat");
    // Regression: the file beside the program was read and defaults written over the user's.
    EXPECT_EQ(g_prefs.backtyp, 1);
    EXPECT_EQ(g_prefs.decrecipe, 5);
    CPreferences reread;
    ASSERT_EQ(reread.Load(CChemistryListChecks()), 0);
    EXPECT_EQ(reread.backtyp, 1);
    EXPECT_EQ(reread.decrecipe, 5);
    EXPECT_TRUE(CShellSandbox::Exists(dataDir + "/databasetree.dbt"));
    EXPECT_EQ(box.profile.GetString("Files", "DbTreeFileName"), dataDir + "/databasetree.dbt");
    EXPECT_EQ(box.profile.GetString("Files", "ElementDBFileName"), dataDir + "/elements.ele");
    EXPECT_EQ(box.profile.GetString("Files", "MaterialDBFileName"), dataDir + "/materials.mat");
    for (const char* missing : {"SubstitutionDBFileName", "LimitFormulaDBFileName", "GraphTypeDBFileName"})
        EXPECT_FALSE(box.profile.HasValue("Files", missing)) << missing;

    // The databases of this start come from the data directory.
    ASSERT_NE(g_pElementsDoc, nullptr);
    EXPECT_EQ(g_pElementsDoc->GetPathName(), dataDir + "/elements.ele");
    ASSERT_NE(g_pMaterialsDoc, nullptr);
    EXPECT_EQ(g_pMaterialsDoc->GetPathName(), dataDir + "/materials.mat");
    ASSERT_NE(g_pDbTreeDoc, nullptr);
    EXPECT_EQ(g_pDbTreeDoc->GetPathName(), dataDir + "/databasetree.dbt");
    const std::vector<std::string> tree = TreePaths();
    for (const std::string& path : {dataDir + "/elements.ele", dataDir + "/materials.mat", dataDir + "/mine.glz",
                                    box.programDir + "/shipped.glz", box.programDir + "/readme.txt"})
        EXPECT_TRUE(Contains(tree, path)) << path;
    EXPECT_FALSE(g_pDbTreeDoc->IsModified());

    // Without a picture beside the program the splash gives way to a message.
    ASSERT_EQ(box.messages.boxes.size(), 1u);
    EXPECT_EQ(box.messages.At(0).text, "Oxidarium version 2.1");
    EXPECT_EQ(box.messages.At(0).helpId, 2002u);
    EXPECT_EQ(app.m_pSplash, nullptr);
    app.ExitInstance();
}

TEST(OxidariumAppUiTest, AHandOverThatNamesNoUsableDirectoryIsReportedAndIgnored)
{
    CShellSandbox box;
    CShellSandbox::WriteFile(box.programDir + "/splash.bmp", "BM this is not a picture");
    const std::string handOver = box.programDir + "/datalocation.txt";
    CShellSandbox::WriteFile(handOver, box.root + "/gone\n");
    std::filesystem::current_path(box.root);

    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_FALSE(CShellSandbox::Exists(handOver)) << "the hand-off serves one start only";
    EXPECT_EQ(app.m_bDataLocationHandedOver, 0);
    EXPECT_EQ(GetCurrentDirectoryString(), box.root);
    EXPECT_EQ(box.messages.Texts(),
              (std::vector<std::string>{"The data directory named in datalocation.txt cannot be opened: \"" +
                                            box.root + "/gone\"",
                                        "Oxidarium version 2.1"}));
    EXPECT_FALSE(box.profile.HasValue("Files", "ElementDBFileName"));
    EXPECT_FALSE(CShellSandbox::Exists(box.root + "/prefs.dat"));
    EXPECT_FALSE(CShellSandbox::Exists(box.root + "/databasetree.dbt"));
    app.ExitInstance();
}

// Start-up opens the chart engine and only its answer turns graphs on; exit closes it again.
TEST(OxidariumAppUiTest, TheChartEngineDecidesWhetherGraphsAreAvailable)
{
    CShellSandbox box;
    CShellSandbox::CopyFile(kSplashPicture, box.programDir + "/splash.bmp");
    std::filesystem::current_path(box.root);
    {
        COxidariumAppUi app;
        app.SetProgramDir(box.programDir);
        CRecordingChartEngine refusing;
        refusing.openResult = 1;
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(app.m_bGraphsAvailable, 0);
        EXPECT_EQ(box.messages.Texts(), (std::vector<std::string>{"Could not open the chart engine! Graphs will not "
                                                                  "work. See the Help file Troubleshooting section."}));
        app.ExitInstance();
        EXPECT_EQ(refusing.Calls("ChartLib"), (std::vector<std::string>{"ChartLibOpen(\"\", \"C\")"}));
    }
    box.messages.boxes.clear();
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    CRecordingChartEngine opening;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_bGraphsAvailable, 1);
    EXPECT_TRUE(box.messages.boxes.empty());
    app.ExitInstance();
    EXPECT_EQ(opening.Calls("ChartLib"),
              (std::vector<std::string>{"ChartLibOpen(\"\", \"C\")", "ChartLibClose()"}));
    EXPECT_EQ(app.m_bGraphsAvailable, 0);
}

TEST(OxidariumAppUiTest, TheStartingDirectoryIsRememberedUnlessTheProgramStartsInItsOwn)
{
    CShellSandbox box;
    box.profile.WriteString("Directories", "Starting", "/somewhere/else");
    std::filesystem::current_path(box.programDir);
    {
        COxidariumAppUi app;
        app.SetProgramDir(box.programDir);
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(box.profile.GetString("Directories", "Starting"), "/somewhere/else");
        app.ExitInstance();
    }
    std::filesystem::current_path(box.dataDir);
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(box.profile.GetString("Directories", "Starting"), box.dataDir);
    app.ExitInstance();
}

// Regression: a profile that could not be saved lost the window places and the database list
// without a word. Start-up writes the profile at once; its first failed save is told, with the
// reason, and the many writes after it are not.
TEST(OxidariumAppUiTest, AProfileThatCannotBeSavedIsToldOnce)
{
    CShellSandbox box;
    CShellSandbox::CopyFile(kSplashPicture, box.programDir + "/splash.bmp");
    const std::string profilePath = box.root + "/Oxidarium.ini";
    std::filesystem::create_directory(profilePath);
    std::filesystem::current_path(box.root);
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(box.messages.Texts(),
              std::vector<std::string>{profilePath + ": Error opening file\n\nIt is not a regular file.\n\nWindow "
                                       "places and the databases to open at start-up are not kept until the profile "
                                       "can be saved."});
    EXPECT_EQ(box.messages.Last().Icon(), MsgIconExclamation);
    app.ExitInstance();
}

TEST(OxidariumAppUiTest, StartUpTextFilesOpenInListOrderAndMissingOnesAreSkipped)
{
    CShellSandbox box;
    CShellSandbox::WriteFile(box.dataDir + "/one.txt", "first\n");
    CShellSandbox::WriteFile(box.dataDir + "/two.txt", "second\n");
    std::filesystem::current_path(box.root);
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    // The lists come from the preferences file that start-up loads.
    g_savedPrefs.txtfile = {box.dataDir + "/two.txt", box.dataDir + "/missing.txt", box.dataDir + "/one.txt"};
    g_savedPrefs.SetFileDirectory(box.dataDir);
    ASSERT_EQ(g_savedPrefs.Save(), 0);
    g_savedPrefs.txtfile.clear(); // start-up reads into a fresh object
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(g_pTextFileTemplate, nullptr);
    const std::vector<CDocument*> texts = g_pTextFileTemplate->GetDocuments();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->GetPathName(), box.dataDir + "/two.txt");
    EXPECT_EQ(texts[1]->GetPathName(), box.dataDir + "/one.txt");
    ASSERT_EQ(box.messages.boxes.size(), 2u) << ::testing::PrintToString(box.messages.Texts()); // the splash and the missing file
    EXPECT_NE(box.messages.At(1).text.find("missing.txt"), std::string::npos);
    app.ExitInstance();
}

// Regression: started with a file whose read shows a message, the Database Tree window stood
// partly below the workspace at the default size: the placement that keeps a new window inside
// ran while the message turned the event loop and the main window was still hidden, and was not
// tried again.
TEST(OxidariumAppUiTest, AStartThatShowsAMessageStillPlacesEveryWindowInsideTheWorkspace)
{
    CShellSandbox box;
    CShellSandbox::CopyFile(kSplashPicture, box.programDir + "/splash.bmp");
    const std::string notes = box.dataDir + "/notes.txt";
    CShellSandbox::WriteFile(notes, "Glaze notes\n");
    std::filesystem::current_path(box.root);
    // As a real box does, the message turns the event loop while it stands.
    box.messages.onBox = [](const CFakeMessageService::Box&) { QApplication::processEvents(); };
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    app.m_cmdInfo.m_strFileName = notes;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(box.messages.Texts(), std::vector<std::string>{notes + ": Parse error in line 1"});
    CMainFrame* frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->size(), QSize(500, 400));
    CShellSandbox::FlushEvents();
    QMdiArea* area = frame->MdiArea();
    QStringList shown;
    for (const QMdiSubWindow* window : area->subWindowList()) {
        if (!window->isVisible() || window->isMinimized())
            continue;
        shown << window->windowTitle();
        EXPECT_TRUE(area->viewport()->rect().contains(window->geometry()))
            << window->windowTitle().toStdString() << " stands at " << window->geometry().x() << ","
            << window->geometry().y() << " " << window->width() << "x" << window->height() << " in "
            << area->viewport()->width() << "x" << area->viewport()->height();
    }
    EXPECT_TRUE(shown.contains(QStringLiteral("Database Tree"))) << shown.join(QStringLiteral(", ")).toStdString();
    app.ExitInstance();
}
