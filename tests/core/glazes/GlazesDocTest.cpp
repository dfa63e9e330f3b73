#include "glazes/GlazesDoc.h"

#include "core/shell/FakeFormLink.h"
#include "core/support/CheckedItems.h"
#include "core/support/RevertQuestions.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/DataHomeGuard.h"
#include "core/support/FileSizeLimit.h"
#include "core/support/OrdinaryUser.h"
#include "core/support/WriteInterruption.h"
#include "framework/DocTemplate.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeClipboard.h"
#include "limits/LimitFormula.h"
#include "limits/LimitFormulaDB.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "substitutions/GlazeSubstitution.h"
#include "substitutions/Substitution.h"
#include "support/SafeFileKeptCopies.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kGlazes = 5;
using Notices = std::vector<std::pair<int, int>>; // (code, index)

// Edit and analysis views as the user interface provides them, answering from a script.
class CFakeGlazeViews : public CGlazeViews {
public:
    struct Edit : CFakeFormLink<CGlazeEditLink> {
        int GetGlazeIndex() const override { return index; }
        void SaveGlaze() override { ++saved; }
        int index = 0;
        int saved = 0;
    };
    struct Analysis : CGlazeAnalysisLink {
        int GetGlazeIndex() const override { return index; }
        int index = 0;
    };

    CFakeGlazeViews() { SetGlazeViews(this); }
    ~CFakeGlazeViews() override { SetGlazeViews(nullptr); }
    CGlazeEditLink* AsEditView(CView* view) override
    {
        const auto it = edits.find(view);
        return it == edits.end() ? nullptr : &it->second;
    }
    CGlazeAnalysisLink* AsAnalysisView(CView* view) override
    {
        const auto it = analyses.find(view);
        return it == analyses.end() ? nullptr : &it->second;
    }

    std::map<CView*, Edit> edits;
    std::map<CView*, Analysis> analyses;
};

class CFakeSelection : public CGlazeListSelection {
public:
    std::vector<int> GetSelectedRows() const override { return rows; }
    void ClearSelection() override { rows.clear(); }
    void SelectRow(int row) override { rows.push_back(row); }
    std::vector<int> rows;
};

class GlazesDocTest : public ::testing::Test {
protected:
    GlazesDocTest()
    {
        m_dir = fs::temp_directory_path() / ("oxi-glzdoc-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_template->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_frames.push_back(std::make_unique<CRecordingFrame>(document, "list"));
            return true;
        });
        g_pGlazesTemplate = m_template.get();
        g_prefs.backtyp = CBackupSettings::None;
    }
    ~GlazesDocTest() override
    {
        g_pGlazesTemplate = nullptr;
        fs::remove_all(m_dir);
    }

    std::string WriteFile(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string CopySample() const
    {
        const std::string path = (m_dir / "sample.glz").string();
        fs::copy_file(std::string(OXI_TEST_DATA_DIR) + "/glazes/sample.glz", path);
        return path;
    }
    static std::string ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static std::string Written(const CGlazesDoc& doc)
    {
        std::ostringstream out;
        doc.Glazes().Write(out);
        return out.str();
    }
    CGlazesDoc* Open(const std::string& path)
    {
        return dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(g_pGlazesTemplate, path, kGlazes));
    }
    // (code, index) of every notice the frame's view received, cleared afterwards.
    static Notices TakeNotices(CRecordingFrame& frame)
    {
        Notices notices;
        for (const CReceivedHint& hint : frame.view->received) {
            EXPECT_EQ(hint.kind, kGlazes);
            notices.emplace_back(hint.code, hint.index);
        }
        frame.view->received.clear();
        return notices;
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    CMaterialsDoc m_materials;
    std::unique_ptr<CDocTemplate> m_template = CreateGlazesTemplate();
    std::vector<std::unique_ptr<CRecordingFrame>> m_frames;
};

TEST_F(GlazesDocTest, OpenSaveAndRevertAnnounceThemselves)
{
    const std::string path = CopySample();
    CGlazesDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(m_frames.size(), 1u);
    CRecordingFrame& list = *m_frames[0];
    EXPECT_EQ(TakeNotices(list), (Notices{{HintDocumentOpened, 0}}));
    EXPECT_EQ(doc->GetPathName(), path);
    EXPECT_EQ(doc->GetTitle(), "sample.glz");
    EXPECT_EQ(doc->GetDbName(), "Test glazes");
    EXPECT_EQ(doc->GetDatabaseName(), "Test glazes");
    EXPECT_FALSE(doc->IsModified());
    std::vector<CRecordRow> rows;
    doc->GetRecordRows(rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].index, 1);
    EXPECT_EQ(rows[1].text, "Clear");

    // Save writes the document's glazes byte for byte, through the shared writer.
    doc->DeleteGlaze(1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(doc->OnCommand(CmdSaveGlazeDb));
    EXPECT_EQ(TakeNotices(list), (Notices{{HintDocumentSaved, 0}}));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ReadAll(path), Written(*doc));
    EXPECT_TRUE(m_dialogs.requests.empty());
    EXPECT_TRUE(m_messages.boxes.empty());

    // Revert asks before it drops the changes: Enter (Cancel) keeps them; OK reverts and
    // announces the reload.
    doc->InsertGlaze(0, CGlaze("Extra"));
    doc->SetGlazeField(0, kGlazeFieldColor, "red");
    const std::string drops = "Revert To Saved drops the unsaved changes to " + path + ".";
    EXPECT_TRUE(doc->OnCommand(CmdRevertGlazeDb));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{drops});
    EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_EQ(doc->GetGlazeCount(), 2);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(TakeNotices(list).empty());
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc->OnCommand(CmdRevertGlazeDb));
    EXPECT_EQ(TakeNotices(list), (Notices{{HintGlazesReplaced, 0}}));
    ASSERT_EQ(doc->GetGlazeCount(), 1);
    EXPECT_EQ(Found(doc->GetGlaze(0)).m_name, "Celadon 6");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    m_messages.boxes.clear();

    // Cut after the line break of a glaze's line, the file lacks the blank line that ends the
    // glaze: asked as a file cut mid-line is, and Enter (Cancel) keeps the glazes.
    const std::string saved = ReadAll(path);
    const std::string cut = saved.substr(0, saved.find("\ncolor") + 1);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << cut;
    doc->InsertGlaze(1, CGlaze("Unsaved"));
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc->OnCommand(CmdRevertGlazeDb));
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{drops, revert_questions::CutShortQuestion(path, cut)}));
    EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_EQ(doc->GetGlazeCount(), 2);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(TakeNotices(list).empty());
    m_messages.boxes.clear();

    // A file that became unreadable is reported and costs nothing in memory.
    fs::remove(path);
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(doc->OnCommand(CmdRevertGlazeDb));
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text, path + ": Error opening file");
    EXPECT_EQ(m_messages.At(1).helpId, 0x30119u);
    EXPECT_EQ(doc->GetGlazeCount(), 2);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(TakeNotices(list).empty());

    // Revert is offered only with a path; a new database has none.
    CCmdUI revert(CmdRevertGlazeDb);
    EXPECT_TRUE(doc->OnUpdateCommand(revert));
    EXPECT_TRUE(revert.m_bEnabled);
    CGlazesDoc* untitled = Open("");
    ASSERT_NE(untitled, nullptr);
    EXPECT_TRUE(untitled->OnUpdateCommand(revert));
    EXPECT_FALSE(revert.m_bEnabled);
    EXPECT_FALSE(untitled->RevertToSaved());
}

TEST_F(GlazesDocTest, FilesThatCannotBeReadAreReportedWithTheirPath)
{
    const std::string missing = (m_dir / "missing.glz").string();
    EXPECT_EQ(Open(missing), nullptr);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, missing + ": Error opening file");
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconExclamation));
    EXPECT_TRUE(m_template->GetDocuments().empty());

    // Regression: a pipe kept the program waiting for good, /dev/zero was read until the memory
    // ran out. Neither is read, nor is a folder.
    const std::string fifo = (m_dir / "fifo.glz").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), m_dir.string()}) {
        m_messages.boxes.clear();
        EXPECT_EQ(Open(path), nullptr);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{path + ": not a regular file"});
        EXPECT_EQ(m_messages.At(0).helpId, 196889u);
    }
    m_messages.boxes.clear();

    // The whole file type is quoted, however long.
    const std::string type(300, 'x');
    const std::string wrong = WriteFile("wrong.glz", "filetype = " + type + "\nname = A\n");
    CGlazesDoc doc;
    doc.InsertGlaze(0, CGlaze("Old"));
    EXPECT_FALSE(doc.OnOpenDocument(wrong));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, wrong + ": Incorrect file type: " + type);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30120u);
    EXPECT_EQ(doc.GetPathName(), wrong);
    EXPECT_EQ(doc.GetGlazeCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

// Regression: the last line of a file without a line break after it was passed over, so the
// next save wrote the last amount as 0; "80 g" was read as 80 without a word. All are read and
// told in one message (a file cut short ends without a line break too); a save writes the file
// as the program wrote it.
TEST_F(GlazesDocTest, ALastLineWithoutLineBreakIsReadAndTold)
{
    const std::string bytes = ReadAll(std::string(OXI_TEST_DATA_DIR) + "/glazes/sample.glz");
    ASSERT_TRUE(bytes.ends_with("amount    = 20\n\n"));
    std::string edited = bytes.substr(0, bytes.size() - 2) + " g";
    edited.replace(edited.find("amount    = 80\n"), 14, "amount    = 80 g");
    const std::string cut = WriteFile("cut.glz", edited);
    CGlazesDoc* doc = Open(cut);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{cut + ": line 82: \"80 g\" is not a number; read as 80 (the "
                                                                 "first of 2 values in the file that could not be read "
                                                                 "as written)\n\n" +
                                                           cut + ": line 84: \"amount    = 20 g\" ends the file "
                                                                 "without a line break; it was read as it stands, but "
                                                                 "the file may have been cut short"});
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconExclamation));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30120u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Written(*doc), bytes);

    // A whole file, and one whose last line is only blanks, open without a word.
    m_messages.boxes.clear();
    CGlazesDoc whole;
    EXPECT_TRUE(whole.OnOpenDocument(WriteFile("blanks.glz", bytes + "  ")));
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(GlazesDocTest, NewDatabasesAndRecordOperations)
{
    CGlazesDoc* doc = Open("");
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->GetGlazeCount(), 1);
    EXPECT_EQ(Found(doc->GetGlaze(0)).m_name, "new glaze");
    EXPECT_EQ(doc->GetDbName(), "Glazes");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->SaveModified(SaveModifiedFor::Closing)) << "an untouched new database asks nothing";
    EXPECT_TRUE(m_messages.boxes.empty());

    doc->ReplaceGlaze(0, CGlaze("B"));
    doc->InsertGlaze(1, CGlaze("a"));
    doc->InsertGlaze(2, CGlaze("C"));
    doc->SetModifiedFlag(false);
    doc->SetGlazeField(3, kGlazeFieldName, "nobody");
    EXPECT_FALSE(doc->IsModified()) << "an index out of range changes nothing, not even the flag";
    const std::vector<std::function<void()>> operations = {
        [&] { doc->SwapGlazes(0, 2); },       [&] { doc->MoveGlaze(0, 2); },
        [&] { doc->SortGlazes(0, true, 0); }, [&] { doc->SetGlazeField(0, kGlazeFieldName, "A"); },
        [&] { doc->DeleteGlaze(2); },
    };
    for (const auto& operation : operations) {
        doc->SetModifiedFlag(false);
        operation();
        EXPECT_TRUE(doc->IsModified());
    }
    ASSERT_EQ(doc->GetGlazeCount(), 2);
    EXPECT_EQ(Found(doc->GetGlaze(0)).m_name, "A");
    EXPECT_EQ(Found(doc->GetGlaze(1)).m_name, "B");

    // The application's new database starts empty; a search names it after its results.
    CDocument* fresh = m_app.NewGlazeDatabase();
    ASSERT_NE(fresh, nullptr);
    ASSERT_NE(dynamic_cast<CGlazesDoc*>(fresh), nullptr);
    EXPECT_EQ(static_cast<CGlazesDoc*>(fresh)->GetGlazeCount(), 0);
    EXPECT_FALSE(fresh->IsModified());
    ASSERT_FALSE(m_frames.empty());
    EXPECT_EQ(TakeNotices(*m_frames.back()), (Notices{{HintDocumentOpened, 0}}));
    CGlazeSearchRun copy;
    copy.action = kFindCopyToNewDatabase;
    m_app.SearchGlazeDatabases(nullptr, copy);
    auto* results = dynamic_cast<CGlazesDoc*>(copy.resultsDatabase);
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->GetDbName(), "Search Results");
    EXPECT_TRUE(results->IsModified());
}

TEST_F(GlazesDocTest, ClosingAModifiedDatabaseAsksOnce)
{
    CGlazesDoc* other = Open("");
    const std::string path = CopySample();
    CGlazesDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(other && doc);
    ASSERT_GE(m_frames.size(), 2u);
    CRecordingFrame& watcher = *m_frames[0];
    CRecordingFrame& list = *m_frames[1];
    TakeNotices(watcher);
    doc->DeleteGlaze(0);

    m_messages.answers = {MsgResultCancel};
    EXPECT_FALSE(doc->CanCloseFrame(&list));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Save changes to " + path + "?");
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgYesNoCancel));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30141u);

    m_messages.answers = {MsgResultNo};
    ASSERT_TRUE(doc->CanCloseFrame(&list));
    list.CloseFrame();
    EXPECT_EQ(m_messages.boxes.size(), 2u) << "one question for one close";
    EXPECT_EQ(m_template->GetDocuments(), std::vector<CDocument*>{other});
    EXPECT_EQ(TakeNotices(watcher), (Notices{{HintDocumentClosing, 0}, {HintDocumentClosed, 0}}));
    EXPECT_NE(ReadAll(path), "") << "No leaves the file alone";

    // The Close command asks the same single question; Yes saves before closing.
    other->InsertGlaze(0, CGlaze("Keep me"));
    m_messages.answers = {MsgResultYes};
    const std::string target = (m_dir / "kept.glz").string();
    m_dialogs.AnswerPath(target);
    EXPECT_TRUE(other->OnCommand(CmdCloseGlazeDb));
    EXPECT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_messages.At(2).text, "Save changes to Glazes1?");
    EXPECT_TRUE(m_template->GetDocuments().empty());
    EXPECT_NE(ReadAll(target).find("name   = Keep me"), std::string::npos);
}

TEST_F(GlazesDocTest, EditViewsKeepTheirChangesOrStopTheSave)
{
    CFakeGlazeViews views;
    const std::string path = CopySample();
    CGlazesDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_FALSE(m_frames.empty());
    CRecordingFrame& list = *m_frames[0];
    TakeNotices(list);
    CRecordingFrame edit(*doc, "edit");
    CRecordingFrame analysis(*doc, "analysis");
    CFakeGlazeViews::Edit& link = views.edits[edit.view.get()];
    link.index = 1;
    views.analyses[analysis.view.get()].index = 0;
    EXPECT_EQ(doc->FindEditView(1), edit.view.get());
    EXPECT_EQ(doc->FindEditView(0), nullptr);
    EXPECT_EQ(doc->FindAnalysisView(0), analysis.view.get());

    // Cancel in the edit view: nothing is written or announced.
    doc->DeleteGlaze(0);
    const std::string before = ReadAll(path);
    link.answer = MsgResultCancel;
    EXPECT_TRUE(doc->OnCommand(CmdSaveGlazeDb));
    EXPECT_EQ(link.asked, 1);
    EXPECT_EQ(edit.activated, 1);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(TakeNotices(list).empty());

    // Yes: the edit view saves its glaze first, then the file is written.
    link.answer = MsgResultYes;
    EXPECT_TRUE(doc->OnCommand(CmdSaveGlazeDb));
    EXPECT_EQ(link.saved, 1);
    EXPECT_EQ(ReadAll(path), Written(*doc));
    EXPECT_EQ(TakeNotices(list), (Notices{{HintDocumentSaved, 0}}));

    // Closing an edit frame asks that view alone; closing the list closes the others with it.
    link.answer = MsgResultNo;
    EXPECT_TRUE(doc->CanCloseFrame(&edit));
    EXPECT_EQ(edit.closed, 0);
    EXPECT_TRUE(doc->CanCloseFrame(&analysis));
    EXPECT_TRUE(doc->CanCloseFrame(&list));
    EXPECT_EQ(edit.closed, 1);
    EXPECT_FALSE(link.changed);
    EXPECT_EQ(analysis.closed, 1);
    EXPECT_TRUE(m_messages.boxes.empty()) << "the database itself is not modified";
}

TEST_F(GlazesDocTest, CommandsOnSomeGlazesAskOnlyTheirEditViews)
{
    CFakeGlazeViews views;
    CGlazesDoc* doc = Open(CopySample());
    ASSERT_NE(doc, nullptr);
    CRecordingFrame first(*doc, "edit 0");
    CRecordingFrame second(*doc, "edit 2");
    CFakeGlazeViews::Edit& one = views.edits[first.view.get()];
    CFakeGlazeViews::Edit& two = views.edits[second.view.get()];
    two.index = 2;
    one.answer = two.answer = MsgResultCancel;

    const int glazes[] = {1, 2};
    EXPECT_FALSE(doc->AskEditFormsOf(glazes, FormsAsked::BeforeChange)) << "Cancel stops the command";
    EXPECT_EQ(one.asked, 0);
    EXPECT_EQ(two.asked, 1);
    EXPECT_EQ(second.activated, 1) << "the asking view comes forward";

    // A view without changes is not brought forward.
    two.changed = false;
    two.answer = MsgResultNo;
    EXPECT_TRUE(doc->AskEditFormsOf(glazes, FormsAsked::BeforeChange));
    EXPECT_EQ(second.activated, 1);
    EXPECT_EQ(second.closed, 0) << "the command's own notice closes it, if it must";
}

TEST_F(GlazesDocTest, FailedSavesReportAndKeepFilesAndPath)
{
    const std::string path = CopySample();
    CGlazesDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    doc->InsertGlaze(0, CGlaze("Unsaved"));

    const std::string nowhere = (m_dir / "no-such-dir" / "x.glz").string();
    m_dialogs.AnswerPath(nowhere);
    EXPECT_TRUE(doc->OnCommand(CmdSaveGlazeDbAs));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    const CFileDialogRequest& request = m_dialogs.At(0);
    EXPECT_EQ(request.title, "Glaze Database Save As...");
    EXPECT_EQ(request.filter, "Database Files (*.glz)|*.glz|All Files (*.*)|*.*||");
    EXPECT_EQ(request.initialPath, path);
    EXPECT_EQ(request.flags, unsigned(FileDlgHideReadOnly | FileDlgPathMustExist | FileDlgOverwritePrompt));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, nowhere + ": Error opening file");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30122u);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), path);
    ASSERT_FALSE(m_frames.empty());
    EXPECT_TRUE(TakeNotices(*m_frames[0]) == (Notices{{HintDocumentOpened, 0}})) << "a failed save is not announced";

    // A Save As that fails while writing over an existing file leaves that file whole.
    const std::string existing = WriteFile("existing.glz", "precious\r\nbytes");
    for (int i = 0; i < 50; ++i)
        doc->InsertGlaze(0, CGlaze("filler glaze " + std::to_string(i)));
    m_dialogs.AnswerPath(existing);
    {
        CFileSizeLimit limit(2000);
        EXPECT_TRUE(doc->OnCommand(CmdSaveGlazeDbAs));
    }
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text,
              existing + ": Error writing file\n\nThe file would be larger than the file system allows.");
    EXPECT_EQ(ReadAll(existing), "precious\r\nbytes");
    EXPECT_EQ(doc->GetPathName(), path);
}

// Regression: a save never looked at the file first. With two documents on one file (two copies
// of the program), the second save silently dropped the glaze the first had saved, and a glaze an
// editor appended since the open was overwritten the same way.
TEST_F(GlazesDocTest, ASaveOverAFileChangedSinceItWasReadAsksFirst)
{
    const std::string path = CopySample();
    CGlazesDoc first;
    CGlazesDoc second;
    ASSERT_TRUE(first.OnOpenDocument(path));
    ASSERT_TRUE(second.OnOpenDocument(path));
    first.InsertGlaze(0, CGlaze("From the first copy"));
    EXPECT_TRUE(first.DoSave(path));
    EXPECT_TRUE(m_messages.boxes.empty());
    const std::string firstSaved = ReadAll(path);

    second.InsertGlaze(0, CGlaze("From the second copy"));
    m_messages.answers = {MsgResultNo};
    EXPECT_FALSE(second.DoSave(path));
    const std::string question = path + " has been changed by another program since it was opened. Replace it with this version?";
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgYesNo));
    EXPECT_EQ(ReadAll(path), firstSaved);
    EXPECT_TRUE(second.IsModified());

    m_messages.answers = {MsgResultYes};
    EXPECT_TRUE(second.DoSave(path));
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(ReadAll(path), Written(second));
    EXPECT_FALSE(second.IsModified());
    // The document knows the file it wrote: its next save asks nothing.
    second.InsertGlaze(0, CGlaze("Again"));
    EXPECT_TRUE(second.DoSave(path));
    EXPECT_EQ(m_messages.boxes.size(), 2u);

    // A glaze an editor appended meanwhile is not overwritten without the question.
    std::ofstream(path, std::ios::binary | std::ios::app) << "\nname = Typed in an editor\ncomponent = Silica\namount = 10\n";
    const std::string edited = ReadAll(path);
    second.InsertGlaze(0, CGlaze("Unsaved"));
    EXPECT_FALSE(second.DoSave(path)); // the question's default answer is No
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_messages.At(2).text, question);
    EXPECT_EQ(ReadAll(path), edited);
    EXPECT_TRUE(second.IsModified());
}

// Regression: a save renamed its new file over a file whose write permission was off, even as
// the superuser (the tests' usual user here).
TEST_F(GlazesDocTest, AReadOnlyFileIsNotSavedOver)
{
    const std::string path = CopySample();
    CGlazesDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = ReadAll(path);
    doc->InsertGlaze(0, CGlaze("Unsaved"));
    EXPECT_TRUE(doc->OnCommand(CmdSaveGlazeDb));
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{path + ": Error opening file"});
    EXPECT_EQ(m_messages.At(0).helpId, 0x30122u);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0444));
    EXPECT_TRUE(doc->IsModified());

    // Closing asks for a new name instead, whoever runs the program.
    m_dialogs.AnswerPath((m_dir / "copy.glz").string());
    m_messages.answers = {MsgResultYes};
    EXPECT_TRUE(doc->SaveModified(SaveModifiedFor::Closing));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(doc->GetPathName(), (m_dir / "copy.glz").string());

    // A link that leads nowhere says so and stays a link.
    const fs::path dangling = m_dir / "dangling.glz";
    fs::create_symlink(m_dir / "gone.glz", dangling);
    m_dialogs.AnswerPath(dangling.string());
    EXPECT_TRUE(doc->OnCommand(CmdSaveGlazeDbAs));
    EXPECT_EQ(m_messages.Last().text,
              dangling.string() + ": Error opening file\n\nThe file is a symbolic link to a file that does not exist.");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_FALSE(fs::exists(m_dir / "gone.glz"));
}

// Regression: a database the user may write, in a folder the user may not (no new file can be
// made beside it), could not be saved: "Error opening file". It is written in place and keeps
// its owner and permissions. The save runs as an ordinary user, for whom the folder is closed.
TEST_F(GlazesDocTest, AFileInAFolderTheUserMayNotWriteIsSavedInPlace)
{
    const fs::path folder = m_dir / "shared";
    const fs::path data = m_dir / "data";
    fs::create_directories(folder);
    fs::create_directories(data);
    const std::string path = (folder / "sample.glz").string();
    fs::copy_file(std::string(OXI_TEST_DATA_DIR) + "/glazes/sample.glz", path);
    ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
    ASSERT_EQ(::chown(path.c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    ASSERT_EQ(::chown(data.c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    CGlazesDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    doc->InsertGlaze(0, CGlaze("Saved in place"));
    const std::string expected = Written(*doc);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    std::string messages;
    const int result = RunAsOrdinaryUser(
        [&](std::string& report) {
            ::setenv("XDG_DATA_HOME", data.c_str(), 1);
            const bool saved = doc->OnCommand(CmdSaveGlazeDb) && !doc->IsModified();
            for (const std::string& text : m_messages.Texts())
                report += text + "\n";
            return saved ? 0 : 1;
        },
        messages);
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(messages, "");
    EXPECT_EQ(ReadAll(path), expected);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
    EXPECT_EQ(after.st_uid, OrdinaryUserId());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1) << "nothing left beside it";
}

// Regression: a save in place (a database with a second name) killed while it wrote left the new
// bytes followed by the old file's tail, and the next open read that mixed file without a word:
// more glazes than either version held, made permanent by the next save. The killed save is on
// record beside its copy of the old file, and every open of the file says so, until a save
// writes it whole. The save runs in a child process killed as its first write returns.
TEST_F(GlazesDocTest, ASaveInPlaceKilledWhileItWritesIsToldAtTheNextOpen)
{
    const CDataHomeGuard dataHome(m_dir / "data");
    const std::string path = CopySample();
    CGlazesDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    for (int i = 0; i < 3000; ++i)
        doc->InsertGlaze(0, CGlaze("Glaze " + std::to_string(i)));
    ASSERT_TRUE(doc->OnCommand(CmdSaveGlazeDb));
    const std::string old = ReadAll(path);
    fs::create_hard_link(path, m_dir / "also.glz");
    for (int i = 0; i < 1000; ++i)
        doc->DeleteGlaze(0);
    const std::string newer = Written(*doc);
    ASSERT_LT(newer.size(), old.size());

    const CInterruptedRun run = RunInterruptingWrites([&](const std::string& written) { return written == path; },
                                                      {CWritePlan::Action::Kill, 1},
                                                      [&](std::string&) { return doc->OnCommand(CmdSaveGlazeDb) ? 0 : 1; });
    if (!run.traced)
        GTEST_SKIP() << "this system does not let a test trace its child process";
    ASSERT_TRUE(run.interrupted);
    const std::string mixed = ReadAll(path);
    ASSERT_EQ(mixed.size(), old.size());
    EXPECT_TRUE(mixed != old);
    EXPECT_TRUE(mixed.starts_with(newer.substr(0, 4096)));
    EXPECT_TRUE(mixed.ends_with(old.substr(old.size() - 4096)));

    const std::string copy = FindUnfinishedSave(CFileIdentity::Of(path)).copy;
    ASSERT_FALSE(copy.empty());
    EXPECT_TRUE(ReadAll(copy) == old);
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultOk}; // to "Revert To Saved drops the unsaved changes to ..."
    EXPECT_TRUE(doc->OnCommand(CmdRevertGlazeDb));
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text, path + ": The last save of this file did not finish, so the file may be damaged. "
                                            "A copy of it as it was before that save is kept in " + copy + ".");
    EXPECT_EQ(m_messages.At(1).Icon(), MsgIconExclamation);
    EXPECT_EQ(m_messages.At(1).helpId, kGlazeReadErrorHelpId);
    // Renamed since, the file is told of when it is opened by its new name or its other one.
    const std::string renamed = (m_dir / "renamed.glz").string();
    fs::rename(path, renamed);
    for (const std::string& name : {renamed, (m_dir / "also.glz").string()}) {
        m_messages.boxes.clear();
        ASSERT_NE(Open(name), nullptr) << name;
        ASSERT_FALSE(m_messages.boxes.empty()) << name;
        EXPECT_EQ(m_messages.At(0).text, name + ": The last save of this file did not finish, so the file may be "
                                                "damaged. A copy of it as it was before that save is kept in " + copy + ".");
    }
    fs::rename(renamed, path);

    // A save that writes the file whole ends the record: nothing is kept, nothing more is said.
    doc->InsertGlaze(0, CGlaze("Saved whole"));
    ASSERT_TRUE(doc->OnCommand(CmdSaveGlazeDb));
    EXPECT_TRUE(fs::is_empty(m_dir / "data" / "Oxidarium" / "Kept copies"));
    m_messages.boxes.clear();
    EXPECT_TRUE(doc->OnCommand(CmdRevertGlazeDb));
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(GlazesDocTest, SubstitutionsConversionsAndTheSelection)
{
    CGlazesDoc doc;
    CGlaze glaze("Matte");
    glaze.m_components.Add("Whiting", 20.0);
    glaze.m_components.Add("Silica", 30.0);
    doc.InsertGlaze(0, glaze);
    ASSERT_EQ(doc.GetGlazeCount(), 1);
    doc.SetModifiedFlag(false);

    CSubstitution substitution("whiting to dolomite");
    substitution.m_set1.Add("Whiting", 1.0);
    substitution.m_set2.Add("Dolomite", 1.0);
    EXPECT_EQ(ApplySubstitution(doc, 1, substitution, 0), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ApplySubstitution(doc, 0, 0, 0), 0) << "no substitutions database is open";
    EXPECT_EQ(ApplySubstitution(doc, 0, substitution, 0), 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Found(doc.GetGlaze(0)).m_components.FindIndexByName("Dolomite"), 0);
    EXPECT_EQ(ApplySubstitution(doc, 0, substitution, 1), 1);
    EXPECT_EQ(Found(doc.GetGlaze(0)).m_components.FindIndexByName("Whiting"), 0);

    // Three glazes to materials, one of which cannot be made: one message, two materials.
    for (const auto& [name, formula] : {std::pair{"Whiting", "CaCO3"}, std::pair{"Silica", "SiO2"}}) {
        CMaterial material(name);
        material.SetFormula(formula);
        m_materials.InsertMaterial(m_materials.Materials().GetCount(), material);
    }
    CGlaze unknown("Mystery");
    unknown.m_components.Add("Unobtainium", 10.0);
    doc.InsertGlaze(1, unknown);
    doc.InsertGlaze(2, glaze);
    const int indices[] = {0, 1, 2};
    EXPECT_EQ(doc.ConvertGlazeToMaterial(indices, false), 2);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Unable to convert Mystery to material");
    EXPECT_EQ(m_messages.At(0).helpId, 198160u);
    ASSERT_EQ(m_materials.Materials().GetCount(), 4);
    EXPECT_EQ(RecordAt(m_materials.Materials(), 3).m_name, "Matte") << "a material is named after its glaze";
    EXPECT_EQ(doc.ConvertGlazeToMaterial({}, true), 0);

    // The selection is the list view's, while that view lives.
    CFakeSelection selection;
    std::vector<CGlaze*> chosen;
    doc.GetSelectedGlazes(chosen, true);
    EXPECT_EQ(chosen.size(), 3u);
    {
        CRecordingView listView("list");
        doc.AddView(&listView);
        doc.SetListView(&listView, &selection);
        doc.SelectGlaze(2);
        doc.SelectGlaze(3);
        doc.SelectGlaze(0);
        EXPECT_EQ(selection.rows, (std::vector<int>{2, 0}));
        EXPECT_EQ(doc.GetSelectedCount(false), 2);
        EXPECT_EQ(doc.GetSelectedCount(true), 3);
        chosen.clear();
        doc.GetSelectedGlazes(chosen, false);
        EXPECT_EQ(chosen, (std::vector<CGlaze*>{doc.GetGlaze(2), doc.GetGlaze(0)}));
        doc.ClearSelection();
        EXPECT_EQ(doc.GetSelectedCount(false), 0);
        doc.SelectGlaze(1);
    }
    EXPECT_EQ(doc.GetListView(), nullptr);
    EXPECT_EQ(doc.GetSelectedCount(false), 0);
}

TEST_F(GlazesDocTest, TheGlazeClipboardFollowsTheSharedProtocol)
{
    CGlazesDoc* doc = Open(CopySample());
    ASSERT_NE(doc, nullptr);
    CGlazeList clipboard;
    clipboard.m_name = "left over";
    const auto recordAt = [doc](int row) { return doc->GetGlaze(row); };
    EXPECT_FALSE(CopyRowsToClipboard(clipboard, std::span<const int>(), recordAt));
    EXPECT_EQ(clipboard.m_name, "left over");
    const int rows[] = {0, 1};
    EXPECT_TRUE(CopyRowsToClipboard(clipboard, rows, recordAt));
    ASSERT_EQ(clipboard.GetCount(), 2);
    EXPECT_EQ(clipboard.m_name, "Glazes");
    EXPECT_NE(&clipboard.GetAt(0), doc->GetGlaze(0));

    CPasteTarget target{nullptr, doc, DbFileType::Glazes, 1, doc->GetGlazeCount()};
    ASSERT_FALSE(m_frames.empty());
    TakeNotices(*m_frames[0]);
    const int pasted = PasteFromClipboard(clipboard, target,
                                          [doc](int index, const CGlaze& glaze) { doc->InsertGlaze(index, glaze); });
    EXPECT_EQ(pasted, 2);
    ASSERT_EQ(doc->GetGlazeCount(), 4);
    EXPECT_EQ(Found(doc->GetGlaze(1)).m_name, "Celadon 6");
    EXPECT_EQ(Found(doc->GetGlaze(2)).m_name, "Clear");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(TakeNotices(*m_frames[0]), (Notices{{HintGlazesInserted, 1}}));
    CopyRecordToClipboard(clipboard, CGlaze("Edited"));
    EXPECT_EQ(clipboard.GetCount(), 1);
}

TEST_F(GlazesDocTest, TheStarterDatabaseUsesTheStarterMaterials)
{
    const std::string shipped = OXI_SHIPPED_DATA_DIR;
    ASSERT_TRUE(m_materials.OnOpenDocument(shipped + "/materials.mat"));
    CGlazesDoc* doc = Open(shipped + "/glazes.glz");
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(doc->GetDbName(), "Starter Glazes");
    EXPECT_EQ(doc->GetGlazeCount(), 10);
    EXPECT_EQ(Written(*doc), ReadAll(shipped + "/glazes.glz")) << "written by the program's own writer";
    for (int i = 0; i < doc->GetGlazeCount(); ++i) {
        const CGlaze& glaze = Found(doc->GetGlaze(i));
        const CGlazeAnalysis& analysis = glaze.GetAnalysis();
        EXPECT_TRUE(analysis.IsValid()) << glaze.m_name;
        EXPECT_TRUE(analysis.otherOxides.empty()) << glaze.m_name;
        EXPECT_GT(analysis.siAlRatio, 3.0) << glaze.m_name;
        EXPECT_LT(analysis.siAlRatio, 12.0) << glaze.m_name;
    }
}

// Regression: six of the ten starter glazes lay outside the limit formula they named, and every
// material cost 0.00, so every cost read "$ 0.00" and a cost goal could not choose.
TEST_F(GlazesDocTest, TheStarterGlazesLieWithinTheirFormulasAndCostSomething)
{
    const std::string shipped = OXI_SHIPPED_DATA_DIR;
    ASSERT_TRUE(m_materials.OnOpenDocument(shipped + "/materials.mat"));
    for (const auto& material : m_materials.Materials().Records()) {
        EXPECT_GT(material->m_costPerLb, 0.0) << material->m_name;
        EXPECT_LT(material->m_costPerLb, 100.0) << material->m_name << ": a price per pound";
    }
    CLimitFormulaDB formulas;
    std::ifstream in(shipped + "/tarnell.lim", std::ios::binary);
    ASSERT_EQ(formulas.Read(in), 0) << formulas.m_errorText;
    CCurrentLimitFormulaDBScope current(formulas);
    CGlazesDoc* doc = Open(shipped + "/glazes.glz");
    ASSERT_NE(doc, nullptr);
    for (int i = 0; i < doc->GetGlazeCount(); ++i) {
        const CGlaze& glaze = Found(doc->GetGlaze(i));
        const CLimitFormula* formula = formulas.FindFormulaByName(glaze.m_limform);
        ASSERT_NE(formula, nullptr) << glaze.m_name << " names " << glaze.m_limform;
        EXPECT_TRUE(formula->IsAnalysisWithin(glaze.GetAnalysis())) << glaze.m_name << " in " << glaze.m_limform;
        EXPECT_GT(glaze.GetAnalysis().costPerKg, 0.0) << glaze.m_name;
    }
}

} // namespace
