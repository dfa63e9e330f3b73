#include "textfile/TextFileDoc.h"

#include "core/framework/FakeFileDialogs.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FileSizeLimit.h"
#include "core/textfile/FakeTextView.h"
#include "core/support/DataHomeGuard.h"
#include "core/support/UnfinishedSave.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "textfile/TextFileCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class TextFileDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-text-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_template->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_frames.push_back(std::make_unique<CFakeTextFrame>(document));
            return true;
        });
        g_pTextFileTemplate = m_template.get();
    }
    void TearDown() override
    {
        g_pTextFileTemplate = nullptr;
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
    CTextFileDoc* Open(const std::string& path)
    {
        return dynamic_cast<CTextFileDoc*>(m_template->OpenDocumentFile(path));
    }
    CFakeTextView* ViewOf(CTextFileDoc* document) const
    {
        return static_cast<CFakeTextView*>(document->GetTextView());
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CDocTemplate> m_template = CreateTextFileTemplate();
    std::vector<std::unique_ptr<CFakeTextFrame>> m_frames;
};

} // namespace

TEST_F(TextFileDocTest, FilesOpenLineByLineWhateverTheirLineEnds)
{
    CStringArrayEx lines;
    ASSERT_EQ(ReadTextFileLines(WriteFile("cr.txt", "one\rtwo\r\rfour\r"), lines), 0);
    EXPECT_EQ(lines, (CStringArrayEx{"one", "two", "", "four"}));
    ASSERT_EQ(ReadTextFileLines(WriteFile("crlf.txt", "one\r\ntwo\r\n"), lines), 0);
    EXPECT_EQ(lines, (CStringArrayEx{"one", "two"}));
    ASSERT_EQ(ReadTextFileLines(WriteFile("lf.txt", "one\n\ntwo"), lines), 0);
    EXPECT_EQ(lines, (CStringArrayEx{"one", "", "two"})) << "a last line without a break is kept";
    ASSERT_EQ(ReadTextFileLines(WriteFile("empty.txt", ""), lines), 0);
    EXPECT_TRUE(lines.empty());

    CTextFileDoc* document = Open(WriteFile("report.txt", "Silica\rWhiting\r"));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(ViewOf(document)->Text(), "Silica\r\nWhiting\r\n");
    EXPECT_EQ(ViewOf(document)->caption, (m_dir / "report.txt").string());
    EXPECT_FALSE(document->IsModified());

    // A file whose last save in place did not finish is read, and the open says so first.
    const CDataHomeGuard dataHome(m_dir / "data");
    const std::string notes = WriteFile("notes.txt", "Cone 6\n");
    const std::string copy = LeaveUnfinishedSave(notes);
    CTextFileDoc* unfinished = Open(notes);
    ASSERT_NE(unfinished, nullptr);
    EXPECT_EQ(ViewOf(unfinished)->Text(), "Cone 6\r\n");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{UnfinishedSaveText(notes, copy)});

    // A note of an older version, which cannot tell this file from a deleted one that held its
    // place on the disk, is told with that doubt.
    const std::string older = WriteFile("older.txt", "Cone 10\n");
    const std::string olderCopy = LeaveUnfinishedSave(older, true);
    m_messages.boxes.clear();
    ASSERT_NE(Open(older), nullptr);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{UnfinishedSaveText(older, olderCopy, false)});
}

TEST_F(TextFileDocTest, AFileWithoutAFinalLineBreakKeepsItsLastLineAndLongLinesStayWhole)
{
    const std::string longLine(20000, 'x');
    const std::string path = WriteFile("notes.txt", "Cone 6\n" + longLine + "\nlast line");
    CTextFileDoc* document = Open(path);
    ASSERT_NE(document, nullptr);
    document->SetModifiedFlag(true);
    ASSERT_TRUE(document->OnCommand(CmdTextSave));
    EXPECT_EQ(ReadAll(path), "Cone 6\n" + longLine + "\nlast line\n");
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(TextFileDocTest, OpenFailuresAreReportedAndLeaveNoDocument)
{
    const std::string missing = (m_dir / "missing.txt").string();
    EXPECT_EQ(Open(missing), nullptr);
    EXPECT_EQ(Open(m_dir.string()), nullptr);
    // Regression: a pipe kept the program waiting for a writer for good.
    const std::string fifo = (m_dir / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Open(fifo), nullptr);
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_messages.At(0).text, missing + ": Error opening file");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30800u);
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconExclamation);
    EXPECT_EQ(m_messages.At(1).text, m_dir.string() + ": not a regular file");
    EXPECT_EQ(m_messages.At(2).text, fifo + ": not a regular file");
    EXPECT_TRUE(m_template->GetDocuments().empty());
}

TEST_F(TextFileDocTest, SavesReportFailuresAndAnnounceOnlyRealSaves)
{
    CTextFileDoc* document = Open(WriteFile("glaze.txt", "old\n"));
    ASSERT_NE(document, nullptr);
    CFakeTextView* view = ViewOf(document);
    ASSERT_NE(view, nullptr);
    view->Type("er");
    EXPECT_TRUE(document->IsModified());

    // Save As into a folder that does not exist: the file cannot be created.
    const std::string nowhere = (m_dir / "no" / "such.txt").string();
    m_dialogs.AnswerPath(nowhere);
    document->OnCommand(CmdTextSaveAs);
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    const CFileDialogRequest& request = m_dialogs.At(0);
    EXPECT_EQ(request.title, "Text File Save As...");
    EXPECT_EQ(request.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_EQ(request.flags, 0x806u);
    EXPECT_EQ(request.helpId, 303u);
    EXPECT_FALSE(request.clipboardOption);
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{nowhere + ": Error opening file"});
    EXPECT_EQ(m_messages.At(0).helpId, 0x30122u);

    // A disk that fills up: the old file keeps its bytes.
    const std::string path = document->GetPathName();
    view->Type(std::string(4096, 'y'));
    {
        CFileSizeLimit limit(100);
        document->OnCommand(CmdTextSave);
    }
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text,
              path + ": Error writing file\n\nThe file would be larger than the file system allows.");
    EXPECT_EQ(ReadAll(path), "old\n");
    EXPECT_TRUE(document->IsModified()) << "a failed save leaves the document modified";
    EXPECT_TRUE(view->hints.empty()) << "no saved notice for a failed save";

    // A backup that fails asks first; No abandons the save.
    g_prefs.backtyp = 2;
    g_prefs.backdir = (m_dir / "no" / "backups").string();
    m_messages.answers.push_back(MsgResultNo);
    document->OnCommand(CmdTextSave);
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_NE(m_messages.At(2).text.find(" -- Continue with Save?"), std::string::npos);
    EXPECT_EQ(m_messages.At(2).helpId, 0x30121u);
    EXPECT_EQ(ReadAll(path), "old\n");
    g_prefs.backtyp = 0;

    document->OnCommand(CmdTextSave);
    EXPECT_EQ(ReadAll(path), "old\ner" + std::string(4096, 'y') + "\n");
    EXPECT_EQ(view->hints, std::vector<int>{HintDocumentSaved});
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(view->CanUndo());
}

// Regression: with two documents on one text file (two copies of the program), the second save
// dropped what the first had saved, without a word.
TEST_F(TextFileDocTest, ASaveOverAFileChangedSinceItWasReadAsksFirst)
{
    const std::string path = WriteFile("notes.txt", "old\n");
    CTextFileDoc* first = Open(path);
    ASSERT_NE(first, nullptr);
    CTextFileDoc second;
    ASSERT_TRUE(second.OnOpenDocument(path));
    ViewOf(first)->Type("er");
    first->OnCommand(CmdTextSave);
    const std::string saved = ReadAll(path);
    ASSERT_NE(saved, "old\n");

    second.SetModifiedFlag();
    m_messages.answers = {MsgResultNo};
    EXPECT_FALSE(second.DoSave(path));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{path + " has been changed by another program since it was opened. Replace it with this version?"});
    EXPECT_EQ(ReadAll(path), saved);
    EXPECT_TRUE(second.IsModified());

    // Once it has read the file again, it saves without a question.
    ASSERT_TRUE(second.OnOpenDocument(path));
    second.SetModifiedFlag();
    EXPECT_TRUE(second.DoSave(path));
    EXPECT_EQ(m_messages.boxes.size(), 1u);
}

TEST_F(TextFileDocTest, RevertReadsTheFileAgainAndKeepsTheTextWhenItCannot)
{
    const std::string path = WriteFile("revert.txt", "first\nsecond\n");
    CTextFileDoc* document = Open(path);
    ASSERT_NE(document, nullptr);
    CFakeTextView* view = ViewOf(document);
    ASSERT_NE(view, nullptr);
    CCmdUI state(CmdTextRevert);
    ASSERT_TRUE(document->OnUpdateCommand(state));
    EXPECT_FALSE(state.m_bEnabled) << "nothing to revert while unmodified";

    view->Type("changed");
    state = CCmdUI(CmdTextRevert);
    document->OnUpdateCommand(state);
    EXPECT_TRUE(state.m_bEnabled);
    // Revert asks before it drops the typed text; Enter (Cancel) keeps it.
    document->OnCommand(CmdTextRevert);
    const std::string drops = "Revert To Saved drops the unsaved changes to " + path + ".";
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{drops});
    EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_EQ(view->Text(), "first\r\nsecond\r\nchanged");
    EXPECT_TRUE(document->IsModified());
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultOk};
    document->OnCommand(CmdTextRevert);
    EXPECT_EQ(view->Text(), "first\r\nsecond\r\n");
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(view->CanUndo());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{drops});
    m_messages.boxes.clear();

    view->Type("keep me");
    fs::remove(path);
    m_messages.answers = {MsgResultOk};
    document->OnCommand(CmdTextRevert);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{drops, path + ": Error opening file"}));
    EXPECT_EQ(view->Text(), "first\r\nsecond\r\nkeep me");
    EXPECT_TRUE(document->IsModified());
}

TEST_F(TextFileDocTest, ClosingAsksForChangesAndAnnouncesClosingThenClosed)
{
    CTextFileDoc* other = Open(WriteFile("other.txt", "x\n"));
    CTextFileDoc* document = Open(WriteFile("close.txt", "x\n"));
    ASSERT_NE(other, nullptr);
    ASSERT_NE(document, nullptr);
    CFakeTextView* watcher = ViewOf(other);
    ASSERT_NE(watcher, nullptr);
    ViewOf(document)->Type("y");

    m_messages.answers.push_back(MsgResultCancel);
    document->OnCommand(CmdTextClose);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Save changes to " + document->GetPathName() + "?");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30141u);
    EXPECT_EQ(m_template->GetDocuments().size(), 2u);
    EXPECT_TRUE(watcher->hints.empty());

    m_messages.answers.push_back(MsgResultNo);
    document->OnCommand(CmdTextClose);
    EXPECT_EQ(m_template->GetDocuments(), std::vector<CDocument*>{other});
    EXPECT_EQ(watcher->hints, (std::vector<int>{HintDocumentClosing, HintDocumentClosed}));
}
