#include "substitutions/SubstitutionsDoc.h"

#include "core/shell/FakeFormLink.h"
#include "core/support/CheckedItems.h"
#include "core/support/RevertQuestions.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "shell/AppContext.h"
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

// Edit views as the user interface provides them: every view registered here is an edit view
// that answers the save question from its script.
class CFakeEditViews : public CSubstitutionEditViews {
public:
    struct Link : CFakeFormLink<CSubstitutionEditLink> {
        void SaveToDatabase() override { ++saved; }
        int saved = 0;
    };

    CFakeEditViews() { SetSubstitutionEditViews(this); }
    ~CFakeEditViews() override { SetSubstitutionEditViews(nullptr); }

    CSubstitutionEditLink* AsEditView(CView* view) override
    {
        const auto it = links.find(view);
        return it == links.end() ? nullptr : &it->second;
    }

    std::map<CView*, Link> links;
};

class SubstitutionsDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-subdoc-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        m_profile->WriteString("Files", "SubstitutionDBFileName", "/somewhere/old.sub");
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
    static std::string Written(const CSubstitutionsDoc& doc)
    {
        std::ostringstream out;
        doc.Substitutions().Write(out);
        return out.str();
    }
    std::string ProfileValue() const { return m_profile->GetString("Files", "SubstitutionDBFileName", "<none>"); }
    using Notices = std::vector<std::pair<int, int>>;
    // (code, index) of every notice the frame's view received, cleared afterwards.
    static Notices TakeNotices(CRecordingFrame& frame)
    {
        Notices codes;
        for (const CReceivedHint& hint : frame.view->received) {
            EXPECT_EQ(hint.kind, 3);
            codes.emplace_back(hint.code, hint.index);
        }
        frame.view->received.clear();
        return codes;
    }
    std::string GoldenCopy() const
    {
        return WriteFile("golden.sub", ReadAll(OXI_TEST_DATA_DIR "/substitutions/golden.sub"));
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CProfile> m_profile;
};

TEST_F(SubstitutionsDocTest, TheDocumentIsTheOneSubstitutionDatabaseWhileItLives)
{
    {
        CSubstitutionsDoc doc;
        EXPECT_EQ(g_pSubstitutionsDoc, &doc);
        EXPECT_EQ(COxidariumApp::GetSingletonDocument(3), &doc);
        EXPECT_EQ(doc.GetDatabaseName(), "Substitutions");

        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_EQ(doc.Substitutions().GetCount(), 1);
        EXPECT_EQ(RecordAt(doc.Substitutions(), 0).m_name, "new substitution");
        EXPECT_FALSE(doc.IsModified());

        // Record operations, the shared ones too, mark the document modified.
        doc.InsertRecord(1, CSubstitution("Second"));
        doc.InsertRecord(0, CSubstitution("Third"));
        doc.SetModifiedFlag(false);
        doc.Alphabetize();
        EXPECT_TRUE(doc.IsModified());
        doc.SetModifiedFlag(false);
        doc.RemoveRecord(2);
        EXPECT_TRUE(doc.IsModified());
        std::vector<CRecordRow> rows;
        doc.GetRecordRows(rows);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].index, 1);
        EXPECT_EQ(rows[1].text, "Second");

        // Closing the list window only minimises it.
        CRecordingFrame frame(doc, "list");
        EXPECT_FALSE(doc.CanCloseFrame(&frame));
        EXPECT_TRUE(frame.minimized);
        EXPECT_EQ(frame.closed, 0);
    }
    EXPECT_EQ(g_pSubstitutionsDoc, nullptr);
    EXPECT_EQ(COxidariumApp::GetSingletonDocument(3), nullptr);
}

TEST_F(SubstitutionsDocTest, FilesThatCannotBeReadLeaveAnEmptyUntitledDatabase)
{
    CSubstitutionsDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(GoldenCopy()));
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(doc.Substitutions().GetCount(), 3);

    const std::string materials = OXI_SHIPPED_DATA_DIR "/materials.mat";
    EXPECT_TRUE(doc.OnOpenDocument(materials));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, materials + ": Incorrect file type: Oxidarium Materials");
    EXPECT_EQ(m_messages.At(0).helpId, kSubstitutionReadErrorHelpId);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
    EXPECT_EQ(doc.Substitutions().GetCount(), 0);
    EXPECT_EQ(doc.GetDatabaseName(), "Substitutions");
    EXPECT_TRUE(doc.Substitutions().m_infoLines.empty());
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    const std::string remembered = ProfileValue();
    EXPECT_NE(remembered, "") << "the file read last stays remembered";
    EXPECT_FALSE(doc.IsModified());

    const std::string missing = (m_dir / "missing.sub").string();
    EXPECT_TRUE(doc.OnOpenDocument(missing));
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text, missing + ": Error opening file");
    EXPECT_EQ(m_messages.At(1).helpId, kSubstitutionOpenErrorHelpId);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(ProfileValue(), remembered);

    // A reader message about a parameter names the path, the parameter and the line.
    const std::string bad = WriteFile("bad.sub", "filetype = Oxidarium Substitutions\nversion = 2\nnote = |x\n");
    EXPECT_TRUE(doc.OnOpenDocument(bad));
    EXPECT_EQ(m_messages.Last().text, bad + ": Error: parameter 'note', line 3");
}

TEST_F(SubstitutionsDocTest, TheShippedDatabaseOpensQuietlyAndIsWhatTheWriterWrites)
{
    CSubstitutionsDoc doc;
    const std::string path = OXI_SHIPPED_DATA_DIR "/substitutions.sub";
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ProfileValue(), path);
    EXPECT_GE(doc.Substitutions().GetCount(), 10);
    EXPECT_EQ(Written(doc), ReadAll(path));
}

TEST_F(SubstitutionsDocTest, SaveWritesThroughTheSafeWriterAndAnnounces)
{
    CSubstitutionsDoc doc;
    CRecordingFrame frame(doc, "list");
    doc.OnNewDocument();
    const std::string path = (m_dir / "saved.sub").string();
    m_dialogs.AnswerPath(path);
    EXPECT_TRUE(doc.OnCommand(CmdSaveSubstitutionDb));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Substitution Database Save As...");
    EXPECT_EQ(m_dialogs.At(0).helpId, 303u);
    EXPECT_EQ(m_dialogs.At(0).defaultExtension, "sub");
    EXPECT_EQ(m_dialogs.At(0).filter, "Database Files (*.sub)|*.sub|All Files (*.*)|*.*||");
    EXPECT_EQ(ReadAll(path), Written(doc));
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ProfileValue(), path);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintDocumentSaved, 0}}));

    // A failed write reports and leaves the document modified and the profile alone.
    doc.InsertRecord(0, CSubstitution("x"));
    const std::string nowhere = (m_dir / "no-such-dir" / "x.sub").string();
    EXPECT_FALSE(doc.OnSaveDocument(nowhere));
    EXPECT_EQ(m_messages.Last().text, nowhere + ": Error opening file");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ProfileValue(), path);
}

TEST_F(SubstitutionsDocTest, OpenNewAndRevertAskFirstAndAnnounce)
{
    CSubstitutionsDoc doc;
    CRecordingFrame frame(doc, "list");
    CRecordingFrame editFrame(doc, "edit");
    CFakeEditViews editViews;
    CFakeEditViews::Link& edit = editViews.links[editFrame.view.get()];
    const std::string path = GoldenCopy();

    // Cancel in an edit view's question keeps everything as it was.
    doc.InsertRecord(0, CSubstitution("unsaved"));
    edit.answer = MsgResultCancel;
    EXPECT_EQ(doc.OpenDatabase(path), 1);
    EXPECT_EQ(edit.asked, 1);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(doc.Substitutions().GetCount(), 1);
    EXPECT_TRUE(TakeNotices(frame).empty());

    // Yes there saves the view; No to the document's question discards the rest.
    edit.answer = MsgResultYes;
    m_messages.answers = {MsgResultNo};
    EXPECT_EQ(doc.OpenDatabase(path), 0);
    EXPECT_EQ(edit.saved, 1);
    EXPECT_THAT(m_messages.Texts(), ElementsAre("Save changes to Substitutions?"));
    EXPECT_EQ(doc.Substitutions().GetCount(), 3);
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintSubstitutionsReplaced, 0}}));

    // Revert reads the file again, which closes the edit views: one question says whose edits
    // it drops, Cancel stopping the revert. Regressions: the edits went without a word; then a
    // save question whose Yes the revert undid.
    doc.RemoveRecord(0);
    CCmdUI revert(CmdRevertSubstitutionDb);
    EXPECT_TRUE(doc.OnUpdateCommand(revert));
    EXPECT_TRUE(revert.m_bEnabled);
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel};
    EXPECT_TRUE(doc.OnCommand(CmdRevertSubstitutionDb));
    EXPECT_THAT(m_messages.Texts(),
                ElementsAre("Revert To Saved drops the unsaved changes to " + path + " and in \"form\"."));
    EXPECT_TRUE(edit.changed);
    EXPECT_EQ(doc.Substitutions().GetCount(), 2);
    EXPECT_TRUE(TakeNotices(frame).empty());
    // Cut after a line break in its last record, the file lacks the blank line that ends it:
    // asked as a file cut short, and Enter (Cancel) keeps all.
    const std::string golden = ReadAll(path);
    const std::string cut = golden.substr(0, golden.rfind("set2mat"));
    WriteFile("golden.sub", cut);
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertSubstitutionDb));
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text, revert_questions::CutShortQuestion(path, cut));
    EXPECT_EQ(m_messages.At(1).type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_TRUE(edit.changed);
    EXPECT_EQ(doc.Substitutions().GetCount(), 2);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(TakeNotices(frame).empty());
    WriteFile("golden.sub", golden);
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc.OnCommand(CmdRevertSubstitutionDb));
    EXPECT_EQ(edit.asked, 2) << "no save question";
    EXPECT_FALSE(edit.changed);
    EXPECT_EQ(doc.Substitutions().GetCount(), 3);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintSubstitutionsReplaced, 0}}));
    edit.changed = true;
    edit.answer = MsgResultNo;

    // New leaves one new record, untitled and unmodified; Revert then does nothing.
    EXPECT_TRUE(doc.OnCommand(CmdNewSubstitutionDb));
    EXPECT_EQ(TakeNotices(frame), (Notices{{HintSubstitutionsReplaced, 0}}));
    EXPECT_EQ(doc.Substitutions().GetCount(), 1);
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.OnCommand(CmdRevertSubstitutionDb));
    EXPECT_TRUE(TakeNotices(frame).empty());

    // Open asks for the file with its own title.
    m_dialogs.AnswerPath(path);
    EXPECT_TRUE(doc.OnCommand(CmdOpenSubstitutionDb));
    EXPECT_EQ(m_dialogs.Last().title, "Open Substitution Database...");
    EXPECT_EQ(m_dialogs.Last().helpId, 300u);
    EXPECT_EQ(doc.GetPathName(), path);

    // Closing an edit frame asks its view; Cancel keeps it open.
    edit.answer = MsgResultCancel;
    EXPECT_FALSE(doc.CanCloseFrame(&editFrame));
    edit.answer = MsgResultYes;
    EXPECT_TRUE(doc.CanCloseFrame(&editFrame));
    EXPECT_EQ(edit.saved, 2);
}

} // namespace
