#include "limits/LimitFormulasDoc.h"

#include "core/shell/FakeFormLink.h"
#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "core/textfile/FakeTextView.h"
#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormulaClipboard.h"
#include "limits/MakeLimitFormulaRequest.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/Profile.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using ::testing::ElementsAre;

const std::string kHeader = "filetype = Oxidarium Limit Formulas\nversion =  2\n\n";

// Edit forms as the user interface provides them: every view registered here is an edit form
// that answers the save question from its script.
class CFakeEditViews : public CLimitFormulaEditViews {
public:
    struct Link : CFakeFormLink<CLimitFormulaEditLink> {
        void SaveToDatabase() override { ++saved; }
        int saved = 0;
    };

    CFakeEditViews() { SetLimitFormulaEditViews(this); }
    ~CFakeEditViews() override { SetLimitFormulaEditViews(nullptr); }

    bool OpenEditView(CLimitFormulasDoc&, int) override { return true; }
    bool OpenLimitedEditView(CLimitFormulasDoc&, const std::vector<int>&) override { return true; }
    CLimitFormulaEditLink* AsEditView(CView* view) override
    {
        const auto it = links.find(view);
        return it == links.end() ? nullptr : &it->second;
    }

    std::map<CView*, Link> links;
};

class LimitFormulasDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-limdoc-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        m_profile->WriteString("Files", "LimitFormulaDBFileName", "/somewhere/old.lim");
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
    static std::string Written(const CLimitFormulasDoc& doc)
    {
        std::ostringstream out;
        doc.Database().Write(out);
        return out.str();
    }
    std::string ProfileFile() const { return m_profile->GetString("Files", "LimitFormulaDBFileName", "<none>"); }
    // (code, index) of every notice the frame's view received, cleared afterwards.
    static std::vector<std::pair<int, int>> TakeNotices(CRecordingFrame& frame)
    {
        std::vector<std::pair<int, int>> codes;
        for (const CReceivedHint& hint : frame.view->received) {
            EXPECT_EQ(hint.kind, 4);
            codes.emplace_back(hint.code, hint.index);
        }
        frame.view->received.clear();
        return codes;
    }
    using Notices = std::vector<std::pair<int, int>>;

    std::vector<std::string> Names(const CLimitFormulaDB& database) const
    {
        std::vector<std::string> names;
        for (int i = 0; i < database.GetCount(); ++i)
            names.push_back(RecordAt(database, i).m_name);
        return names;
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CProfile> m_profile;
};

TEST_F(LimitFormulasDocTest, TheDocumentIsTheOneLimitFormulaDatabaseWhileItLives)
{
    {
        CLimitFormulasDoc doc;
        EXPECT_EQ(g_pLimitFormulasDoc, &doc);
        EXPECT_EQ(COxidariumApp::GetSingletonDocument(4), &doc);
        EXPECT_EQ(GetCurrentLimitFormulaDB(), &doc.Database());
        EXPECT_EQ(doc.GetDatabaseName(), "Limit Formulas");

        ASSERT_TRUE(doc.OnNewDocument());
        EXPECT_THAT(Names(doc.Database()), ElementsAre("new limit formula"));
        EXPECT_EQ(doc.Database().m_combinations.GetCount(), 14);
        EXPECT_FALSE(doc.IsModified());

        std::vector<CRecordRow> rows;
        doc.InsertFormula(1, CLimitFormula("Cone 6"));
        doc.GetRecordRows(rows);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].index, 1);
        EXPECT_EQ(rows[1].text, "Cone 6");

        // Closing the list window only minimises it.
        CRecordingFrame frame(doc, "list");
        EXPECT_FALSE(doc.CanCloseFrame(&frame));
        EXPECT_TRUE(frame.minimized);
        EXPECT_EQ(frame.closed, 0);
    }
    EXPECT_EQ(g_pLimitFormulasDoc, nullptr);
    EXPECT_EQ(COxidariumApp::GetSingletonDocument(4), nullptr);
    EXPECT_EQ(GetCurrentLimitFormulaDB(), nullptr);
}

TEST_F(LimitFormulasDocTest, RecordOperationsMarkModified)
{
    CLimitFormulasDoc doc;
    const std::vector<std::function<void()>> operations = {
        [&] { doc.InsertFormula(0, CLimitFormula("b")); },  [&] { doc.InsertFormula(1, CLimitFormula("A")); },
        [&] { doc.SetFormula(0, CLimitFormula("c")); },     [&] { doc.MoveRecord(1, 0); },
        [&] { doc.Alphabetize(); },                         [&] { doc.SwapRecords(0, 1); },
        [&] { doc.RemoveFormula(0); },
    };
    for (const auto& operation : operations) {
        doc.SetModifiedFlag(false);
        operation();
        EXPECT_TRUE(doc.IsModified());
    }
    EXPECT_THAT(Names(doc.Database()), ElementsAre("A"));
}

TEST_F(LimitFormulasDocTest, FilesThatCannotBeReadLeaveAnEmptyDatabase)
{
    CLimitFormulasDoc doc;
    const std::string good = WriteFile("good.lim", kHeader + "cmbname = X\nname = A\n");
    ASSERT_TRUE(doc.OnOpenDocument(good));
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(doc.GetPathName(), good);
    EXPECT_EQ(doc.GetTitle(), "Limit Formulas"); // the path does not rename the window
    EXPECT_EQ(ProfileFile(), good);
    EXPECT_EQ(doc.Database().GetCount(), 1);

    const std::string materials = OXI_SHIPPED_DATA_DIR "/materials.mat";
    EXPECT_TRUE(doc.OnOpenDocument(materials));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, materials + ": Incorrect file type: Oxidarium Materials");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30120u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
    EXPECT_EQ(doc.Database().GetCount(), 0);
    EXPECT_EQ(doc.Database().m_combinations.GetCount(), 0);
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(ProfileFile(), good) << "the file read last stays remembered";
    EXPECT_FALSE(doc.IsModified());

    const std::string missing = (m_dir / "missing.lim").string();
    EXPECT_TRUE(doc.OnOpenDocument(missing));
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text, missing + ": Error opening file");
    EXPECT_EQ(m_messages.At(1).helpId, 0x30119u);
}

TEST_F(LimitFormulasDocTest, SaveAndItsFailures)
{
    CLimitFormulasDoc doc;
    doc.OnNewDocument();
    CRecordingFrame frame(doc, "list");
    const std::string path = (m_dir / "db.lim").string();
    doc.InsertFormula(1, CLimitFormula("Cone 10"));

    m_dialogs.AnswerPath(path);
    EXPECT_TRUE(doc.OnCommand(CmdSaveLimitFormulaDb));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Limit Formula Database Save As...");
    EXPECT_EQ(m_dialogs.At(0).defaultExtension, "lim");
    EXPECT_EQ(m_dialogs.At(0).filter, "Database Files (*.lim)|*.lim|All Files (*.*)|*.*||");
    EXPECT_EQ(ReadAll(path), Written(doc));
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ProfileFile(), path);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintDocumentSaved, 0}}));

    // A failed backup asks; No keeps the file and the modified state.
    g_prefs.backtyp = CBackupSettings::CopyToDirectory;
    g_prefs.backdir = WriteFile("a-file", "") + "/backups";
    doc.InsertFormula(0, CLimitFormula("Cone 6"));
    const std::string saved = ReadAll(path);
    m_messages.answers = {MsgResultNo};
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30121u);
    EXPECT_NE(m_messages.At(0).text.find(" -- Continue with Save?"), std::string::npos);
    EXPECT_EQ(ReadAll(path), saved);
    EXPECT_TRUE(doc.IsModified());

    // A file that cannot be created is reported with the path.
    g_prefs.backtyp = 0;
    const std::string nowhere = (m_dir / "no" / "db.lim").string();
    EXPECT_FALSE(doc.OnSaveDocument(nowhere));
    EXPECT_EQ(m_messages.Last().text, nowhere + ": Error opening file");
    EXPECT_EQ(ProfileFile(), path);
}

TEST_F(LimitFormulasDocTest, NewOpenAndRevertAskFirstAndAnnounce)
{
    CLimitFormulasDoc doc;
    CRecordingFrame frame(doc, "list");
    const std::string path = WriteFile("a.lim", kHeader + "name = A\n");

    // Revert on an untitled document does nothing, and is offered only when it can work.
    CCmdUI revert(CmdRevertLimitFormulaDb);
    EXPECT_TRUE(doc.OnUpdateCommand(revert));
    EXPECT_FALSE(revert.m_bEnabled);
    EXPECT_TRUE(doc.OnCommand(CmdRevertLimitFormulaDb));
    EXPECT_TRUE(TakeNotices(frame).empty());

    m_dialogs.AnswerPath(path);
    EXPECT_TRUE(doc.OnCommand(CmdOpenLimitFormulaDb));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Open LimitFormula Database...");
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintLimitFormulasReplaced, 0}}));

    // Revert asks before it drops the changes, and Enter (Cancel) keeps them. The file lacks the
    // blank line that ends its last formula: asked as a file cut short, Enter keeps all too.
    doc.RemoveFormula(0);
    EXPECT_TRUE(doc.OnUpdateCommand(revert));
    EXPECT_TRUE(revert.m_bEnabled);
    const std::string drops = "Revert To Saved drops the unsaved changes to " + path + ".";
    for (const std::deque<int>& answers : {std::deque<int>{}, std::deque<int>{MsgResultOk}}) {
        m_messages.boxes.clear();
        m_messages.answers = answers;
        EXPECT_TRUE(doc.OnCommand(CmdRevertLimitFormulaDb));
        std::vector<std::string> asked{drops};
        if (!answers.empty())
            asked.push_back(path + ": \"name = A\" ends the file in the middle of a record, so the file may have been "
                                   "cut short (line 4). Revert to it anyway?");
        EXPECT_EQ(m_messages.Texts(), asked);
        EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
        EXPECT_TRUE(Names(doc.Database()).empty());
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(TakeNotices(frame).empty());
    }
    WriteFile("a.lim", kHeader + "name = A\n\n");
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertLimitFormulaDb));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{drops});
    EXPECT_THAT(Names(doc.Database()), ElementsAre("A"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintLimitFormulasReplaced, 0}}));

    // Cancel at the save question keeps everything.
    doc.RemoveFormula(0);
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel, MsgResultCancel};
    EXPECT_EQ(doc.OpenDatabase(path), 1);
    EXPECT_TRUE(doc.OnCommand(CmdNewLimitFormulaDb) && doc.IsModified());
    const std::string question = "Save changes to " + path + "?";
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{question, question}));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30141u);
    EXPECT_TRUE(TakeNotices(frame).empty());

    // New without changes asks nothing.
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(doc.OnCommand(CmdNewLimitFormulaDb));
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_THAT(Names(doc.Database()), ElementsAre("new limit formula"));
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintLimitFormulasReplaced, 0}}));
}

TEST_F(LimitFormulasDocTest, EditFormsAreAskedBeforeTheDatabaseIsSaved)
{
    CFakeEditViews editViews;
    CLimitFormulasDoc doc;
    const std::string path = WriteFile("a.lim", kHeader + "name = A\n");
    ASSERT_TRUE(doc.OnOpenDocument(path));
    CRecordingFrame list(doc, "list");
    CRecordingFrame form(doc, "form");
    CFakeEditViews::Link& link = editViews.links[form.view.get()];
    doc.InsertFormula(1, CLimitFormula("B"));

    // Cancel in the form leaves both the form and the file untouched.
    link.answer = MsgResultCancel;
    EXPECT_TRUE(doc.OnCommand(CmdSaveLimitFormulaDb));
    EXPECT_EQ(link.asked, 1);
    EXPECT_EQ(link.saved, 0);
    EXPECT_EQ(ReadAll(path), kHeader + "name = A\n");
    EXPECT_TRUE(m_dialogs.requests.empty());
    EXPECT_TRUE(doc.IsModified());

    // Yes saves the form into the database, then the database is saved.
    link.answer = MsgResultYes;
    EXPECT_TRUE(doc.OnCommand(CmdSaveLimitFormulaDb));
    EXPECT_EQ(link.saved, 1);
    EXPECT_EQ(ReadAll(path), Written(doc));
    EXPECT_TRUE(form.activated > 0);

    // Closing the form asks its question; closing another frame minimises nothing.
    link.answer = MsgResultCancel;
    EXPECT_FALSE(doc.CanCloseFrame(&form));
    link.answer = MsgResultNo;
    EXPECT_TRUE(doc.CanCloseFrame(&form));
    EXPECT_FALSE(form.minimized);
}

TEST_F(LimitFormulasDocTest, CompilingFromGlazesAppendsTheFormulaAndShowsItsStatistics)
{
    auto textTemplate = CreateTextFileTemplate();
    std::vector<std::unique_ptr<CFakeTextFrame>> frames;
    textTemplate->SetFrameFactory([&frames](CDocTemplate&, CDocument& document, bool) {
        frames.push_back(std::make_unique<CFakeTextFrame>(document));
        return true;
    });
    g_pTextFileTemplate = textTemplate.get();

    CLimitFormulasDoc doc;
    doc.OnNewDocument();
    ShowInformation("an old report");
    CMakeLimitFormulaRequest request;
    request.m_statisticsToInformation = 1;
    request.AddCombinationsByName(doc.Database().m_combinations, {"CaO"}, false);
    CGlazeAnalysis analysis;
    for (double ca : {0.3, 0.55}) {
        analysis.unity[20] = ca;
        request.AddAnalysis(analysis);
    }
    EXPECT_EQ(doc.CompileFromGlazes(request), 1);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_GE(doc.Database().GetCount(), 2);
    const CLimitFormula& made = doc.Database().GetAt(1);
    EXPECT_EQ(made.m_name, "Compiled from 2 glazes");
    ASSERT_GE(made.m_limits.GetCount(), 1);
    EXPECT_EQ(RecordAt(made.m_limits, 0).m_comboName, "CaO");
    EXPECT_THAT(made.m_notes, ElementsAre("Compiled from 2 glazes"));
    ASSERT_NE(g_pInformationDoc, nullptr);
    const std::string text = FakeViewOf(g_pInformationDoc).Text();
    EXPECT_EQ(text.find("an old report"), std::string::npos);
    EXPECT_EQ(text.rfind("Statistics: Compiled from 2 glazes\r\n\r\nOxide Combo: CaO\r\n", 0), 0u) << text;

    // Nothing gathered: a message and no formula.
    CMakeLimitFormulaRequest empty;
    EXPECT_EQ(doc.CompileFromGlazes(empty), -1);
    EXPECT_EQ(doc.Database().GetCount(), 2);
    EXPECT_EQ(m_messages.Last().helpId, kMakeLimitFormulaHelpId);

    if (g_pInformationDoc)
        g_pInformationDoc->OnCloseDocument();
    g_pTextFileTemplate = nullptr;
}

TEST_F(LimitFormulasDocTest, TheClipboardProtocolOnALocalClipboard)
{
    CLimitFormulaDB clipboard;
    clipboard.m_name = "left over";
    clipboard.AddDefaultCombinations();
    CLimitFormulasDoc doc;
    for (const char* name : {"A", "B", "C"})
        doc.InsertFormula(doc.Database().GetCount(), CLimitFormula(name));
    const auto recordAt = [&doc](int row) { return &doc.Database().GetAt(row); };

    EXPECT_FALSE(CopyRowsToClipboard(clipboard, std::vector<int>{}, recordAt));
    EXPECT_EQ(clipboard.m_name, "left over");
    const std::vector<int> rows{0, 2};
    EXPECT_TRUE(CopyRowsToClipboard(clipboard, rows, recordAt));
    EXPECT_THAT(Names(clipboard), ElementsAre("A", "C"));
    EXPECT_EQ(clipboard.m_name, "Limit Formulas");
    EXPECT_TRUE(clipboard.m_combinations.empty());
    CopyRecordToClipboard(clipboard, CLimitFormula("Edited"));
    EXPECT_THAT(Names(clipboard), ElementsAre("Edited"));

    CRecordingFrame frame(doc, "list");
    ASSERT_TRUE(CopyRowsToClipboard(clipboard, rows, recordAt));
    CPasteTarget target{nullptr, &doc, DbFileType::LimitFormulas, 1, doc.Database().GetCount()};
    EXPECT_EQ(PasteFromClipboard(clipboard, target,
                                 [&doc](int index, const CLimitFormula& f) { doc.InsertFormula(index, f); }),
              2);
    ASSERT_THAT(Names(doc.Database()), ElementsAre("A", "A", "C", "B", "C"));
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintLimitFormulasInserted, 1}}));
    RecordAt(doc.Database(), 1).m_name = "changed";
    EXPECT_EQ(RecordAt(clipboard, 0).m_name, "A"); // pasted records are copies
}

} // namespace
