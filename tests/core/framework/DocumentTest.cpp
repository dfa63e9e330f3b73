#include "framework/DocTemplate.h"
#include "framework/Document.h"

#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "shell/OxidariumApp.h"
#include "support/SafeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A document of one line of text, saved with the safe-save helper.
class CLineDoc : public CDocument {
public:
    bool OnOpenDocument(const std::string& path) override
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        std::getline(in, text);
        SetModifiedFlag(false);
        return true;
    }
    bool OnSaveDocument(const std::string& path) override
    {
        ++saves;
        if (failSaves)
            return false;
        if (WriteFileSafely(path, text + "\n") != SafeSaveResult::Ok)
            return false;
        SetModifiedFlag(false);
        return true;
    }
    std::string text;
    bool failSaves = false;
    int saves = 0;
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-doc-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_template.SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_frames.push_back(std::make_unique<CRecordingFrame>(document, "frame"));
            return true;
        });
    }
    void TearDown() override { fs::remove_all(m_dir); }

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

    fs::path m_dir;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    CDocTemplate m_template{1, "\nLines\nLines\nLine Files (*.lin)\n.lin\nLines\nLines",
                            [] { return std::make_unique<CLineDoc>(); }};
    std::vector<std::unique_ptr<CRecordingFrame>> m_frames;
};

} // namespace

TEST_F(DocumentTest, OpeningAnOpenPathAgainActivatesTheSameDocument)
{
    const std::string path = WriteFile("a.lin", "alpha\n");
    CDocument* first = m_template.OpenDocumentFile(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetTitle(), "a.lin");
    ASSERT_FALSE(m_frames.empty());
    m_frames.back()->MinimizeFrame();

    std::string spelled = path;
    spelled.replace(spelled.size() - 5, 5, "./a.lin");
    EXPECT_EQ(m_template.OpenDocumentFile(spelled), first);
    EXPECT_EQ(m_template.GetDocuments().size(), 1u);
    ASSERT_EQ(m_frames.size(), 1u);
    EXPECT_FALSE(m_frames.back()->minimized);

    // Regression: a path that differs only in letter case is another file, not this document.
    const std::string upper = WriteFile("A.LIN", "other\n");
    CDocument* other = m_template.OpenDocumentFile(upper);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, first);
    EXPECT_EQ(other->GetTitle(), "A.LIN");

    CDocument* fresh = m_template.OpenDocumentFile("");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->GetTitle(), "Lines1");
    EXPECT_EQ(m_template.GetDocuments(), (std::vector<CDocument*>{first, other, fresh}));
    EXPECT_EQ(m_template.OpenDocumentFile((m_dir / "missing.lin").string()), nullptr);
    EXPECT_EQ(m_template.GetDocuments().size(), 3u);
}

TEST_F(DocumentTest, SaveModifiedAsksOnceAndHonoursTheAnswer)
{
    const std::string path = WriteFile("b.lin", "old\n");
    auto* document = static_cast<CLineDoc*>(m_template.OpenDocumentFile(path));
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(document->SaveModified(SaveModifiedFor::Closing));
    EXPECT_TRUE(m_messages.boxes.empty()) << "an unmodified document asks nothing";

    document->text = "new";
    document->SetModifiedFlag();
    m_messages.answers = {MsgResultCancel, MsgResultNo, MsgResultYes};
    EXPECT_FALSE(document->SaveModified(SaveModifiedFor::Closing));
    EXPECT_TRUE(document->SaveModified(SaveModifiedFor::Closing));
    EXPECT_EQ(ReadAll(path), "old\n");
    EXPECT_TRUE(document->SaveModified(SaveModifiedFor::Closing));
    EXPECT_EQ(ReadAll(path), "new\n");
    EXPECT_FALSE(document->IsModified());
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_messages.At(0).text, "Save changes to " + path + "?");
    EXPECT_EQ(m_messages.At(0).Buttons(), MsgYesNoCancel);

    CDocument* untitled = m_template.OpenDocumentFile("");
    ASSERT_NE(untitled, nullptr);
    untitled->SetModifiedFlag();
    m_messages.answers = {MsgResultCancel};
    untitled->SaveModified(SaveModifiedFor::Closing);
    EXPECT_EQ(m_messages.Last().text, "Save changes to Lines1?");
}

TEST_F(DocumentTest, SaveAsAsksForAPathAndAFailureKeepsExistingFiles)
{
    auto* document = static_cast<CLineDoc*>(m_template.OpenDocumentFile(""));
    ASSERT_NE(document, nullptr);
    document->text = "content";
    document->SetModifiedFlag();

    m_dialogs.AnswerCancel();
    EXPECT_FALSE(document->DoSave("", true));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).mode, CFileDialogRequest::Mode::Save);
    EXPECT_EQ(m_dialogs.At(0).defaultExtension, "lin");
    EXPECT_EQ(m_dialogs.At(0).filter, "Line Files (*.lin)|*.lin|All Files (*.*)|*.*||");

    // A failed Save As over an existing file leaves that file byte-identical.
    const std::string existing = WriteFile("existing.lin", "precious\r\nbytes");
    document->failSaves = true;
    m_dialogs.AnswerPath(existing);
    EXPECT_FALSE(document->DoSave("", true));
    EXPECT_EQ(ReadAll(existing), "precious\r\nbytes");
    EXPECT_TRUE(document->GetPathName().empty());

    document->failSaves = false;
    const std::string target = (m_dir / "saved.lin").string();
    m_dialogs.AnswerPath(target);
    EXPECT_TRUE(document->DoSave("", true));
    EXPECT_EQ(document->GetPathName(), target);
    EXPECT_EQ(document->GetTitle(), "saved.lin");
    EXPECT_EQ(ReadAll(target), "content\n");
}

TEST_F(DocumentTest, ViewsGetNoticesButTheSenderAndClosingTheLastFrameClosesTheDocument)
{
    CDocument* document = m_template.OpenDocumentFile("");
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(m_frames.size(), 1u);
    EXPECT_EQ(m_frames[0]->view->plainUpdates, 1) << "the initial update";
    CRecordingFrame second(*document, "second");

    const CUpdateHint hint(m_frames[0]->view.get(), document, 5, HintGlazesInserted, 3, 0);
    document->UpdateAllViews(m_frames[0]->view.get(), &hint);
    EXPECT_TRUE(m_frames[0]->view->received.empty());
    ASSERT_EQ(second.view->received.size(), 1u);
    EXPECT_EQ(second.view->At(0).index, 3);

    EXPECT_TRUE(document->CanCloseFrame(&second)) << "another frame still shows the document";
    second.CloseFrame();
    EXPECT_TRUE(CDocument::IsLive(document));
    m_frames[0]->CloseFrame();
    EXPECT_FALSE(CDocument::IsLive(document));
    EXPECT_TRUE(m_template.GetDocuments().empty());
}

TEST_F(DocumentTest, AViewThatClosesItsDocumentDuringANoticeStopsTheNotice)
{
    CDocument* document = m_template.OpenDocumentFile("");
    ASSERT_NE(document, nullptr);
    ASSERT_FALSE(m_frames.empty());
    CRecordingFrame later(*document, "later");
    m_frames[0]->view->onUpdate = [document](const CUpdateHint*) { document->OnCloseDocument(); };
    const CUpdateHint hint(nullptr, document, 5, HintGlazesReplaced, 0, 0);
    document->UpdateAllViews(nullptr, &hint);
    EXPECT_FALSE(CDocument::IsLive(document));
    EXPECT_EQ(later.view, nullptr) << "the document closed every frame";
}

TEST(FileFilterTest, SplitsDescriptionsAndPatterns)
{
    const auto pairs = SplitFileFilter("Database Files (*.glz)|*.glz|All Files (*.*)|*.*||");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].first, "Database Files (*.glz)");
    EXPECT_EQ(pairs[0].second, "*.glz");
    EXPECT_EQ(pairs[1].second, "*.*");
}
