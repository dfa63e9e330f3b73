#include "graphs/GraphTypesDoc.h"

#include "core/shell/FakeFormLink.h"
#include "core/support/CheckedItems.h"
#include "core/support/RevertQuestions.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "graphs/GraphTemplateClipboard.h"
#include "shell/AppContext.h"
#include "shell/Backup.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/Profile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using ::testing::ElementsAre;

// Editors and graph views as the user interface provides them: each registered view answers
// from its script.
class CFakeGraphViews : public CGraphTemplateViews {
public:
    struct Editor : CFakeFormLink<CGraphTypeEditLink> {
        int EditedRecordIndex() const override { return index; }
        void SaveToDatabase() override { ++saved; }
        int index = 0;
        int saved = 0;
    };
    struct Graph : CGraphViewLink {
        const CGraphTemplate* GetShownTemplate() const override { return shown; }
        const CGraphTemplate* shown = nullptr;
    };

    CFakeGraphViews() { SetGraphTemplateViews(this); }
    ~CFakeGraphViews() override { SetGraphTemplateViews(nullptr); }

    CGraphTypeEditLink* AsEditView(CView* view) override
    {
        const auto it = editors.find(view);
        return it == editors.end() ? nullptr : &it->second;
    }
    CGraphViewLink* AsGraphView(CView* view) override
    {
        const auto it = graphs.find(view);
        return it == graphs.end() ? nullptr : &it->second;
    }

    std::map<CView*, Editor> editors;
    std::map<CView*, Graph> graphs;
};

class GraphTypesDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-grtdoc-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        m_profile->WriteString("Files", "GraphTypeDBFileName", "/somewhere/old.grt");
    }
    void TearDown() override
    {
        SetProfile(nullptr);
        fs::remove_all(m_dir);
    }

    std::string WriteFile(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    std::string ProfileGraphFile() const { return m_profile->GetString("Files", "GraphTypeDBFileName", "<none>"); }
    static std::vector<int> TakeCodes(CRecordingFrame& frame)
    {
        std::vector<int> codes;
        for (const CReceivedHint& hint : frame.view->received) {
            EXPECT_EQ(hint.kind, 6);
            codes.push_back(hint.code);
        }
        frame.view->received.clear();
        return codes;
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CProfile> m_profile;
};

TEST_F(GraphTypesDocTest, TheDocumentIsTheOneGraphTemplateDatabaseWhileItLives)
{
    {
        CGraphTypesDoc doc;
        EXPECT_EQ(g_pGraphTypesDoc, &doc);
        EXPECT_EQ(COxidariumApp::GetSingletonDocument(6), &doc);
        EXPECT_EQ(doc.GetDatabaseName(), "Graph Templates");
        EXPECT_EQ(doc.Database().GetCount(), 0);
        EXPECT_EQ(doc.Database().m_oxideColors.GetCount(), 128);

        // New keeps the name, information lines and colours and leaves one template.
        doc.Database().m_name = "Mine";
        doc.Database().m_infoLines = {"info"};
        doc.Database().m_materialTypeColors.resize(2);
        doc.InsertTemplate(0, CGraphTemplate("old"));
        ASSERT_TRUE(doc.OnNewDocument());
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.GetDatabaseName(), "Mine");
        EXPECT_THAT(doc.Database().m_infoLines, ElementsAre("info"));
        EXPECT_EQ(doc.Database().m_materialTypeColors.GetCount(), 2);
        ASSERT_EQ(doc.Database().GetCount(), 1);
        const CGraphTemplate& fresh = doc.Database().GetAt(0);
        EXPECT_EQ(fresh.m_name, "new graph template");
        ASSERT_EQ(fresh.m_dataSources.GetCount(), 1);
        EXPECT_EQ(fresh.m_dataSources.GetAt(0), CGraphDataSource("[current glaze]"));

        std::vector<CRecordRow> rows;
        doc.InsertTemplate(1, CGraphTemplate("second"));
        doc.GetRecordRows(rows);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].index, 1);
        EXPECT_EQ(rows[1].text, "second");
    }
    EXPECT_EQ(g_pGraphTypesDoc, nullptr);
    EXPECT_EQ(COxidariumApp::GetSingletonDocument(6), nullptr);
}

TEST_F(GraphTypesDocTest, RecordOperationsMarkModified)
{
    CGraphTypesDoc doc;
    doc.InsertTemplate(0, CGraphTemplate("b"));
    doc.InsertTemplate(1, CGraphTemplate("a"));
    const std::vector<std::function<void()>> operations = {
        [&] { doc.SwapRecords(0, 1); },
        [&] { doc.MoveRecord(1, 0); },
        [&] { doc.Alphabetize(); },
        [&] { doc.SetTemplate(1, CGraphTemplate("c")); },
        [&] { doc.SetDatabaseNotes("Notes", {"line"}); },
        [&] { doc.SetColorLists(CMaterialTypeColorList(), COxideColorList()); },
        [&] { doc.RemoveTemplate(0); },
    };
    for (const auto& operation : operations) {
        doc.SetModifiedFlag(false);
        operation();
        EXPECT_TRUE(doc.IsModified());
    }
    ASSERT_EQ(doc.Database().GetCount(), 1);
    EXPECT_EQ(RecordAt(doc.Database(), 0).m_name, "c");
    EXPECT_EQ(doc.GetDatabaseName(), "Notes");
    EXPECT_TRUE(doc.Database().m_oxideColors.empty());
}

TEST_F(GraphTypesDocTest, FilesThatCannotBeOpenedOrReadLeaveAnEmptyDatabase)
{
    CGraphTypesDoc doc;
    const std::string golden = OXI_TEST_DATA_DIR "/graphs/golden.grt";
    ASSERT_TRUE(doc.OnOpenDocument(golden));
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(doc.GetPathName(), golden);
    EXPECT_EQ(doc.GetTitle(), "Graph Templates");
    EXPECT_EQ(ProfileGraphFile(), golden);
    EXPECT_EQ(doc.Database().GetCount(), 2);
    EXPECT_EQ(doc.Database().m_oxideColors.GetCount(), 3);

    // A file of another kind: its type in the message, no templates, default colours.
    const std::string elements = OXI_SHIPPED_DATA_DIR "/elements.ele";
    EXPECT_TRUE(doc.OnOpenDocument(elements));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, elements + ": Incorrect file type: Oxidarium Elements");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30120u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
    EXPECT_EQ(doc.Database().GetCount(), 0);
    EXPECT_TRUE(doc.Database().m_infoLines.empty());
    EXPECT_EQ(doc.Database().m_oxideColors.GetCount(), 128);
    EXPECT_EQ(doc.Database().m_materialTypeColors.GetCount(), 9);
    EXPECT_EQ(doc.GetPathName(), "");
    // Regression: a failed read blanked the remembered path, so the next start opened an empty
    // database instead of the user's file.
    EXPECT_EQ(ProfileGraphFile(), golden);
    EXPECT_FALSE(doc.IsModified());

    // A file that cannot be opened: no templates; name, notes and colours stay as they were.
    ASSERT_TRUE(doc.OnOpenDocument(golden));
    m_profile->WriteString("Files", "GraphTypeDBFileName", golden);
    doc.SetModifiedFlag();
    m_messages.boxes.clear();
    const std::string missing = (m_dir / "missing.grt").string();
    EXPECT_TRUE(doc.OnOpenDocument(missing));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, missing + ": Error opening file");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30119u);
    EXPECT_EQ(doc.Database().GetCount(), 0);
    EXPECT_EQ(doc.GetDatabaseName(), "Golden templates");
    EXPECT_EQ(doc.Database().m_oxideColors.GetCount(), 3);
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(ProfileGraphFile(), golden);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(GraphTypesDocTest, SaveWritesTheFileAndRemembersIt)
{
    CGraphTypesDoc doc;
    CRecordingFrame frame(doc, "list");
    ASSERT_TRUE(doc.OnNewDocument());
    doc.InsertTemplate(1, CGraphTemplate("second"));

    // Untitled: Save asks for a path; Cancel leaves the document modified.
    CCmdUI revert(CmdRevertGraphTypeDb);
    ASSERT_TRUE(doc.OnUpdateCommand(revert));
    EXPECT_FALSE(revert.m_bEnabled);
    EXPECT_TRUE(doc.OnCommand(CmdSaveGraphTypeDb));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "GraphType Database Save As...");
    EXPECT_EQ(m_dialogs.At(0).defaultExtension, "grt");
    EXPECT_EQ(m_dialogs.At(0).filter, "Graph Template Files (*.grt)|*.grt|All Files (*.*)|*.*||");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_THAT(TakeCodes(frame), ElementsAre(HintDocumentSaved));

    const std::string path = (m_dir / "saved.grt").string();
    m_dialogs.AnswerPath(path);
    EXPECT_TRUE(doc.OnCommand(CmdSaveGraphTypeDbAs));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ProfileGraphFile(), path);
    std::ostringstream expected;
    doc.Database().Write(expected);
    EXPECT_EQ(ReadAll(path), expected.str());

    // Revert asks before it drops the changes; Enter (Cancel) keeps them. Cut after a line break
    // in its last template, the file lacks the blank line that ends it: asked as a file cut
    // short, Enter keeps all. OK, OK reads the file again and announces the reload.
    doc.RemoveTemplate(0);
    ASSERT_TRUE(doc.OnUpdateCommand(revert));
    EXPECT_TRUE(revert.m_bEnabled);
    TakeCodes(frame);
    const std::string drops = "Revert To Saved drops the unsaved changes to " + path + ".";
    const std::string cut = expected.str().substr(0, expected.str().rfind("\nname") + 1) + "name   = second\n";
    const std::string cutShort = revert_questions::CutShortQuestion(path, cut);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << cut;
    for (const std::deque<int>& answers : {std::deque<int>{}, std::deque<int>{MsgResultOk}}) {
        m_messages.boxes.clear();
        m_messages.answers = answers;
        EXPECT_TRUE(doc.OnCommand(CmdRevertGraphTypeDb));
        EXPECT_EQ(m_messages.Texts(),
                  (answers.empty() ? std::vector<std::string>{drops} : std::vector<std::string>{drops, cutShort}));
        EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
        EXPECT_EQ(doc.Database().GetCount(), 1);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(TakeCodes(frame).empty());
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << expected.str();
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertGraphTypeDb));
    EXPECT_EQ(doc.Database().GetCount(), 2);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_THAT(TakeCodes(frame), ElementsAre(HintGraphTemplatesReplaced));

    // New asks about unsaved changes; Cancel keeps everything.
    doc.RemoveTemplate(0);
    m_messages.answers = {MsgResultCancel};
    EXPECT_TRUE(doc.OnCommand(CmdNewGraphTypeDb));
    EXPECT_EQ(m_messages.Last().text, "Save changes to " + path + "?");
    ASSERT_EQ(doc.Database().GetCount(), 1);
    EXPECT_EQ(RecordAt(doc.Database(), 0).m_name, "second");
    EXPECT_TRUE(TakeCodes(frame).empty());
}

// Regression: a Save As that failed over an existing file used to delete that file.
TEST_F(GraphTypesDocTest, AFailedSaveAsKeepsTheFileItWasToReplace)
{
    CGraphTypesDoc doc;
    CRecordingFrame frame(doc, "list");
    ASSERT_TRUE(doc.OnNewDocument());
    const std::string existing = WriteFile("precious.grt", "someone's templates\r\n");
    g_prefs.backtyp = CBackupSettings::CopyToDirectory;
    g_prefs.backdir = WriteFile("a-file", "") + "/backups";
    m_dialogs.AnswerPath(existing);
    m_messages.answers = {MsgResultNo};
    EXPECT_TRUE(doc.OnCommand(CmdSaveGraphTypeDbAs));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30121u);
    EXPECT_EQ(ReadAll(existing), "someone's templates\r\n");
    EXPECT_TRUE(doc.GetPathName().empty());
    g_prefs.backtyp = CBackupSettings::None;
}

TEST_F(GraphTypesDocTest, OpenDatabaseAsksFirstAndAnnouncesTheReload)
{
    CGraphTypesDoc doc;
    CRecordingFrame frame(doc, "list");
    doc.InsertTemplate(0, CGraphTemplate("unsaved"));
    m_messages.answers = {MsgResultCancel};
    EXPECT_EQ(doc.OpenDatabaseFile(OXI_TEST_DATA_DIR "/graphs/golden.grt"), 1);
    ASSERT_GE(doc.Database().GetCount(), 1);
    EXPECT_EQ(RecordAt(doc.Database(), 0).m_name, "unsaved");

    m_messages.answers = {MsgResultNo};
    m_dialogs.AnswerPath(OXI_TEST_DATA_DIR "/graphs/golden.grt");
    EXPECT_TRUE(doc.OnCommand(CmdOpenGraphTypeDb));
    EXPECT_EQ(m_dialogs.Last().title, "Open GraphType Database...");
    EXPECT_EQ(RecordAt(doc.Database(), 0).m_name, "Everything set");
    EXPECT_THAT(TakeCodes(frame), ElementsAre(HintGraphTemplatesReplaced));
}

TEST_F(GraphTypesDocTest, EditorsAreAskedAndTheListWindowOnlyMinimises)
{
    CFakeGraphViews views;
    CGraphTypesDoc doc;
    doc.InsertTemplate(0, CGraphTemplate("a"));
    doc.InsertTemplate(1, CGraphTemplate("b"));
    CRecordingFrame list(doc, "list");
    CRecordingFrame editor(doc, "editor");
    CRecordingFrame graph(doc, "graph");
    views.editors[editor.view.get()].index = 1;
    views.graphs[graph.view.get()].shown = &doc.Database().GetAt(0);

    EXPECT_EQ(doc.FindEditView(1), editor.view.get());
    EXPECT_EQ(doc.FindEditView(0), nullptr);
    EXPECT_EQ(doc.FindGraphView(&doc.Database().GetAt(0)), graph.view.get());
    EXPECT_EQ(doc.FindGraphView(&doc.Database().GetAt(1)), nullptr);

    EXPECT_FALSE(doc.CanCloseFrame(&list));
    EXPECT_TRUE(list.minimized);
    EXPECT_TRUE(doc.CanCloseFrame(&graph));

    CFakeGraphViews::Editor& link = views.editors[editor.view.get()];
    link.answer = MsgResultCancel;
    EXPECT_FALSE(doc.CanCloseFrame(&editor));
    EXPECT_FALSE(doc.SaveModified(SaveModifiedFor::Closing));
    EXPECT_EQ(link.asked, 2);
    link.answer = MsgResultYes;
    EXPECT_TRUE(doc.AskEveryEditForm(FormsAsked::BeforeSave));
    EXPECT_EQ(link.saved, 1);
    EXPECT_EQ(editor.closed, 0);
    link.answer = MsgResultNo;
    EXPECT_TRUE(doc.AskEveryEditForm(FormsAsked::BeforeSave));
    EXPECT_TRUE(link.changed) << "a save of the database leaves the edits it does not take in the form";
    EXPECT_TRUE(doc.AskEveryEditForm(FormsAsked::BeforeChange));
    EXPECT_FALSE(link.changed) << "before a change, No drops them";
    EXPECT_EQ(editor.closed, 0);
}

TEST_F(GraphTypesDocTest, SummaryOfSelectedTemplatesFollowsThePrintPreference)
{
    CGraphTypesDoc doc;
    doc.InsertTemplate(0, CGraphTemplate("first"));
    doc.InsertTemplate(1, CGraphTemplate("second"));
    const std::vector<int> positions{1, 7, 0};
    g_prefs.prtuseffs = 0;
    std::ostringstream plain;
    doc.WriteGraphTemplateSummary(plain, positions, nullptr);
    EXPECT_EQ(plain.str().find("second\x0f\x01\n"), 0u);
    EXPECT_NE(plain.str().find("\nfirst\x0f\x01\n"), std::string::npos);

    g_prefs.prtuseffs = 1;
    std::ostringstream paged;
    const CGraphTemplate single("single");
    doc.WriteGraphTemplateSummary(paged, positions, &single);
    EXPECT_EQ(paged.str().find("\x0c\x07\nsingle\x05\x06\n"), 0u);
    EXPECT_EQ(paged.str().find("first"), std::string::npos);
}

// The clipboard protocol of shell/Clipboards.h on a clipboard of our own.
TEST_F(GraphTypesDocTest, ClipboardCopiesCutsAndPastesTemplates)
{
    CGraphTemplateDatabase clipboard;
    CGraphTypesDoc doc;
    CRecordingFrame frame(doc, "list");
    for (const char* name : {"a", "b", "c"})
        doc.InsertTemplate(doc.Database().GetCount(), CGraphTemplate(name));
    const auto recordAt = [&doc](int row) { return &doc.Database().GetAt(row); };

    clipboard.m_name = "left over";
    clipboard.m_oxideColors.clear();
    const std::vector<int> rows{0, 2};
    EXPECT_TRUE(CopyRowsToClipboard(clipboard, rows, recordAt));
    ASSERT_EQ(ClipboardCount(clipboard), 2);
    EXPECT_EQ(ClipboardRecord(clipboard, 1).m_name, "c");
    EXPECT_EQ(clipboard.m_name, "Graph Templates");
    EXPECT_EQ(clipboard.m_oxideColors.GetCount(), 128);
    EXPECT_FALSE(CopyRowsToClipboard(clipboard, std::vector<int>{}, recordAt));
    EXPECT_EQ(ClipboardCount(clipboard), 2);

    const std::vector<int> cutRows{1};
    EXPECT_TRUE(CutRowsToClipboard(clipboard, cutRows, recordAt, [&doc] { doc.RemoveTemplate(1); }));
    EXPECT_EQ(ClipboardRecord(clipboard, 0).m_name, "b");
    EXPECT_EQ(doc.Database().GetCount(), 2);

    const CPasteTarget target{nullptr, &doc, DbFileType::GraphTemplates, 1, doc.Database().GetCount()};
    const auto insert = [&doc](int index, const CGraphTemplate& t) { doc.InsertTemplate(index, t); };
    EXPECT_EQ(PasteFromClipboard(clipboard, target, insert), 1);
    EXPECT_EQ(PasteFromClipboard(clipboard, target, insert), 1);
    ASSERT_EQ(doc.Database().GetCount(), 4);
    EXPECT_EQ(RecordAt(doc.Database(), 1).m_name, "b");
    EXPECT_EQ(RecordAt(doc.Database(), 2).m_name, "b");
    EXPECT_NE(&doc.Database().GetAt(1), &ClipboardRecord(clipboard, 0));
    EXPECT_THAT(TakeCodes(frame), ElementsAre(HintGraphTemplatesInserted, HintGraphTemplatesInserted));
}

} // namespace
