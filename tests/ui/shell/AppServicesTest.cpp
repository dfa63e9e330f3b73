#include "app/OxidariumAppUi.h"

#include "ShellSandbox.h"
#include "TestPaths.h"
#include "core/support/CheckedItems.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "app/AboutDlg.h"
#include "app/AppCommands.h"
#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "textfile/TextFileDoc.h"
#include "textfile/TextFileView.h"
#include "tree/DbTreeDoc.h"
#include "ui/support/TestFolders.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

namespace {

// Glaze databases as the application sees them: documents with a name, and list views that
// answer a search with a fixed count.
class CFakeGlazesDoc : public CDocument {
public:
    bool OnOpenDocument(const std::string& /*path*/) override { return true; }
    std::string GetDatabaseName() const override { return name; }
    std::string name;
    int emptied = 0;
};

class CFakeGlazesView : public CView {
public:
    explicit CFakeGlazesView(int count) : found(count) {}
    void OnUpdate(CView* /*sender*/, const CUpdateHint* hint) override
    {
        if (hint)
            codes.push_back(hint->m_nCode);
    }
    int found;
    int searched = 0;
    std::vector<int> codes;
};

class CGlazesFixture {
public:
    CGlazesFixture()
    {
        g_pGlazesTemplate = &docTemplate;
        SetGlazeDatabaseEmptier([](CDocument& document) { ++static_cast<CFakeGlazesDoc&>(document).emptied; });
    }
    ~CGlazesFixture()
    {
        SetGlazeDatabaseEmptier(nullptr);
        g_pGlazesTemplate = nullptr;
    }
    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (const CDocument* document : docTemplate.GetDocuments())
            paths.push_back(document->GetPathName());
        return paths;
    }
    CDocTemplate docTemplate{3, "\nGlazes\nGlazes\nGlaze Databases (*.glz)\n.glz\nOxidariumGlazes\nOxidarium Glazes",
                             [] { return std::make_unique<CFakeGlazesDoc>(); }};
};

CGlazeSearchRun SearchRun(bool allDatabases, int action)
{
    CGlazeSearchRun run;
    run.allDatabases = allDatabases;
    run.action = action;
    run.searchView = [](CView* view) {
        auto* glazes = dynamic_cast<CFakeGlazesView*>(view);
        if (!glazes)
            return -1;
        ++glazes->searched;
        return glazes->found;
    };
    run.setDatabaseName = [](CDocument& document, const std::string& name) {
        static_cast<CFakeGlazesDoc&>(document).name = name;
    };
    return run;
}

} // namespace

TEST(AppServicesTest, ShellRequestsOpenOnlyGlazeDatabases)
{
    std::string name;
    EXPECT_TRUE(ParseDDECommand("[open(\"A.GLZ\")]", name));
    EXPECT_EQ(name, "A.GLZ");
    EXPECT_TRUE(ParseDDECommand("[printto(\"/d/b.glz\",\"printer\",\"driver\",\"port\")]", name));
    EXPECT_EQ(name, "/d/b.glz");
    EXPECT_FALSE(ParseDDECommand("[Open(\"A.GLZ\")]", name));
    EXPECT_FALSE(ParseDDECommand("[open(\"A.GLZ)]", name));
    EXPECT_TRUE(name.empty());

    CShellSandbox box;
    CGlazesFixture glazes;
    COxidariumAppUi app;
    EXPECT_TRUE(app.OnDDECommand("[open(\"A.GLZ\")]"));
    EXPECT_TRUE(app.m_bUserControl);
    EXPECT_TRUE(app.OnDDECommand("[print(\"notes.txt\")]")) << "handled, but nothing opens";
    EXPECT_FALSE(app.OnDDECommand("[Open(\"B.glz\")]"));
    EXPECT_TRUE(app.OnDDECommand("[print(\"c.Glz\")]"));
    EXPECT_EQ(glazes.Paths(), (std::vector<std::string>{"A.GLZ", "c.Glz"}));
}

TEST(AppServicesTest, TheCommandLineFileOpensAsAGlazeDatabaseWhateverItsExtension)
{
    QCommandLineParser parser;
    const CCommandLineInfo info =
        ParseCommandLine(parser, {"oxidarium", "/Embedding", "-Automation", "/dde", "recipes.txt", "/Unregister"});
    EXPECT_EQ(info.m_strFileName, QDir::current().absoluteFilePath("recipes.txt").toStdString());
    QCommandLineParser none;
    EXPECT_TRUE(ParseCommandLine(none, {"oxidarium", "-Embedding"}).m_strFileName.empty());
    // Regression: a name beginning with ':' was taken for a resource path, ":x/.." became ".".
    QCommandLineParser colon;
    EXPECT_EQ(ParseCommandLine(colon, {"oxidarium", ":x/.."}).m_strFileName, QDir::currentPath().toStdString());
    QCommandLineParser colonFile;
    EXPECT_EQ(ParseCommandLine(colonFile, {"oxidarium", ":glazes.glz"}).m_strFileName,
              QDir::currentPath().toStdString() + "/:glazes.glz");
    // A name ending with "/" names the file without it, as every other file name is kept.
    QCommandLineParser slash;
    EXPECT_EQ(ParseCommandLine(slash, {"oxidarium", "g../p/"}).m_strFileName,
              QDir::currentPath().toStdString() + "/g../p");

    // A glaze database under any name opens as one.
    CShellSandbox box;
    CShellSandbox::CopyFile(std::string(OXI_TEST_DATA_DIR) + "/glazes/sample.glz", box.dataDir + "/recipes.txt");
    {
        COxidariumAppUi app;
        app.SetProgramDir(box.programDir);
        app.m_cmdInfo.m_strFileName = box.dataDir + "/recipes.txt";
        ASSERT_TRUE(app.InitInstance());
        ASSERT_EQ(app.CountGlazeDocs(), 1);
        EXPECT_EQ(app.GetGlazeDoc(0)->GetPathName(), box.dataDir + "/recipes.txt");
        app.ExitInstance();
    }

    // Regression: a pipe named on the command line kept the start-up waiting for good, and
    // /dev/zero was read until the memory ran out. The program starts without them and says why.
    const std::string fifo = box.dataDir + "/fifo.glz";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        box.messages.boxes.clear();
        COxidariumAppUi app;
        app.SetProgramDir(box.programDir);
        app.m_cmdInfo.m_strFileName = path;
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(app.CountGlazeDocs(), 0);
        EXPECT_EQ(box.messages.Last().text, path + ": not a regular file");
        app.ExitInstance();
    }
}

TEST(AppServicesTest, FindGlazesRunsOverOneOrEveryDatabase)
{
    CShellSandbox box;
    CGlazesFixture glazes;
    COxidariumApp app;
    CDocument* first = glazes.docTemplate.OpenDocumentFile("/d/first.glz");
    ASSERT_NE(first, nullptr);
    CDocument* second = glazes.docTemplate.OpenDocumentFile("/d/second.glz");
    ASSERT_NE(second, nullptr);
    CFakeGlazesView firstView(2), secondView(3);
    first->AddView(&firstView);
    second->AddView(&secondView);

    CGlazeSearchRun own = SearchRun(false, kFindSelect);
    EXPECT_EQ(app.SearchGlazeDatabases(&firstView, own), 2);
    EXPECT_EQ(secondView.searched, 0);

    CGlazeSearchRun everywhere = SearchRun(true, kFindAddToSelection);
    EXPECT_EQ(app.SearchGlazeDatabases(&firstView, everywhere), 5);
    EXPECT_EQ(glazes.docTemplate.GetDocuments().size(), 2u) << "selecting makes no new database";
    EXPECT_EQ(everywhere.resultsDatabase, nullptr);

    CGlazeSearchRun copy = SearchRun(true, kFindCopyToNewDatabase);
    EXPECT_EQ(app.SearchGlazeDatabases(&firstView, copy), 5);
    auto* results = dynamic_cast<CFakeGlazesDoc*>(copy.resultsDatabase);
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->name, "Search Results");
    EXPECT_EQ(results->emptied, 1) << "the new database starts without its new glaze";
    EXPECT_TRUE(results->IsModified());
    EXPECT_EQ(LastItem(firstView.codes), HintGlazesReplaced);
    EXPECT_EQ(glazes.docTemplate.GetDocuments().size(), 3u);

    CGlazeStatisticsRun statistics;
    statistics.allDatabases = true;
    std::vector<CView*> accumulated;
    int compiled = 0;
    statistics.accumulate = [&](CView* view) {
        accumulated.push_back(view);
        return true;
    };
    statistics.compile = [&] { ++compiled; };
    app.ApplyToGlazesViews(&firstView, statistics);
    EXPECT_EQ(accumulated, (std::vector<CView*>{&firstView, &secondView}));
    EXPECT_EQ(compiled, 1);
    first->RemoveView(&firstView);
    second->RemoveView(&secondView);
}

TEST(AppServicesTest, TheInformationWindowAndTheTextCommands)
{
    CShellSandbox box;
    CShellSandbox::WriteFile(box.dataDir + "/a.txt", "alpha\n");
    CShellSandbox::WriteFile(box.dataDir + "/b.txt", "beta\n");
    std::filesystem::current_path(box.root);
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);

    app.ShowInformation("first report line");
    ASSERT_NE(g_pInformationDoc, nullptr);
    EXPECT_EQ(g_pInformationDoc->GetTitle(), "Information");
    auto* view = dynamic_cast<CTextFileView*>(g_pInformationDoc->GetTextView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->toPlainText(), QStringLiteral("first report line\n"));
    app.ClearInformation();
    EXPECT_TRUE(view->toPlainText().isEmpty());

    box.dialogs.answers.push_back(
        {CFileDialogResult::Outcome::Ok, {box.dataDir + "/a.txt", box.dataDir + "/b.txt"}, 1});
    ASSERT_TRUE(frame->ExecuteCommand(CmdShellOpenTextFile));
    ASSERT_EQ(box.dialogs.requests.size(), 1u);
    const CFileDialogRequest& request = box.dialogs.At(0);
    EXPECT_EQ(request.mode, CFileDialogRequest::Mode::OpenMultiple);
    EXPECT_EQ(request.title, "Text File Open");
    EXPECT_EQ(request.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(request.flags, static_cast<unsigned>(FileDlgHideReadOnly));
    EXPECT_EQ(request.helpId, 301u);
    EXPECT_TRUE(request.defaultExtension.empty());
    EXPECT_TRUE(request.initialPath.empty());
    ASSERT_NE(g_pTextFileTemplate, nullptr);
    const std::vector<CDocument*> texts = g_pTextFileTemplate->GetDocuments();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1]->GetPathName(), box.dataDir + "/a.txt");
    EXPECT_EQ(texts[2]->GetPathName(), box.dataDir + "/b.txt");

    ASSERT_TRUE(frame->ExecuteCommand(CmdShellNewTextWindow));
    EXPECT_EQ(g_pTextFileTemplate->GetDocuments().size(), 4u);
    ASSERT_TRUE(frame->ExecuteCommand(CmdShellHelpContents));
    ASSERT_FALSE(box.messages.helps.empty());
    EXPECT_EQ(box.messages.helps.back().request, HelpRequest::Finder);
    app.ExitInstance();
}

TEST(AppServicesTest, TheAboutBoxNamesTheVersion)
{
    CShellSandbox box;
    CAboutDlg about;
    about.InitDialog();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About This Program"));
    EXPECT_EQ(about.VersionText()->text(), QStringLiteral("Oxidarium version 2.12"));
    EXPECT_EQ(about.HelpText()->text(),
              QStringLiteral("Oxidarium has context-sensitive help !  Press F1 at any time for help with the current "
                             "window, dialog box, or message."));
    EXPECT_EQ(about.OkayButton()->text(), QStringLiteral("Okay"));
    EXPECT_EQ(about.helpId, 320u);
    about.show();
    QTest::mouseClick(about.OkayButton(), Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(AppServicesTest, ScreenshotOfTheMainWindowAfterStartUp)
{
    CShellSandbox box;
    CShellSandbox::CopyFile(std::string(OXI_SHIPPED_DATA_DIR) + "/elements.ele", box.dataDir + "/elements.ele");
    CShellSandbox::CopyFile(std::string(OXI_TEST_DATA_DIR) + "/glazes/sample.glz",
                            box.dataDir + "/sample.glz");
    CShellSandbox::WriteFile(box.programDir + "/datalocation.txt", box.dataDir + "\n");
    box.profile.WriteInt("PositionAndSize", "LastCX", 760);
    box.profile.WriteInt("PositionAndSize", "LastCY", 520);
    COxidariumAppUi app;
    app.SetProgramDir(box.programDir);
    ASSERT_TRUE(app.InitInstance());
    app.ShowInformation("Oxidarium started.");
    app.ShowInformation("Data directory: " + box.dataDir);
    CMainFrame* frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    ASSERT_TRUE(frame->ExecuteCommand(CmdWindowTile));
    QTest::qWait(600);
        EXPECT_TRUE(frame->grab().save(ScreenshotFolder() + "/main-window.png"));
    // The tree and the Information window are among the windows of the start.
    ASSERT_NE(g_pDbTreeDoc, nullptr);
    EXPECT_FALSE(g_pDbTreeDoc->GetViews().empty());
    ASSERT_NE(g_pInformationDoc, nullptr);
    app.ExitInstance();
}
