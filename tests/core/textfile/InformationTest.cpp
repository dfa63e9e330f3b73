#include "textfile/Information.h"

#include "core/framework/FakeFileDialogs.h"
#include "core/shell/FakeMessageService.h"
#include "core/textfile/FakeTextView.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "textfile/TextFileCommands.h"
#include "textfile/TextFileDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class InformationTest : public ::testing::Test {
protected:
    InformationTest()
    {
        m_template->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_frames.push_back(std::make_unique<CFakeTextFrame>(document));
            return true;
        });
        g_pTextFileTemplate = m_template.get();
    }
    ~InformationTest() override { g_pTextFileTemplate = nullptr; }

    static CFakeTextView* ViewOf(CTextFileDoc* document)
    {
        return static_cast<CFakeTextView*>(document->GetTextView());
    }

    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CDocTemplate> m_template = CreateTextFileTemplate();
    std::vector<std::unique_ptr<CFakeTextFrame>> m_frames;
};

} // namespace

TEST_F(InformationTest, TheFirstReportOpensTheInformationWindow)
{
    EXPECT_EQ(g_pInformationDoc, nullptr);
    ShowInformation("Glazes checked: 12");
    CTextFileDoc* information = g_pInformationDoc;
    ASSERT_NE(information, nullptr);
    EXPECT_EQ(information->GetTitle(), "Information");
    EXPECT_EQ(ViewOf(information)->caption, "Information");
    EXPECT_TRUE(information->IsInformationDoc());

    ShowInformation(CStringArrayEx{"Recipe\x14", "hidden in windows\x03", "Silica\t40.0"});
    EXPECT_EQ(m_template->GetDocuments().size(), 1u) << "later reports go to the same window";
    EXPECT_EQ(ViewOf(information)->Text(), "Glazes checked: 12\r\nRecipe\r\nSilica\t40.0\r\n");

    ClearInformation();
    EXPECT_EQ(ViewOf(information)->Text(), "");
    ShowInformation("again");
    EXPECT_EQ(ViewOf(information)->Text(), "again\r\n");
}

TEST_F(InformationTest, ASavedInformationWindowBecomesAnOrdinaryTextWindow)
{
    const fs::path path = fs::temp_directory_path() / ("oxi-info-" + std::to_string(::getpid()) + ".txt");
    ShowInformation("Batch for 5000 g");
    CTextFileDoc* first = g_pInformationDoc;
    ASSERT_NE(first, nullptr);

    m_dialogs.AnswerPath(path.string());
    first->OnCommand(CmdTextSave);
    EXPECT_EQ(g_pInformationDoc, nullptr);
    EXPECT_FALSE(first->IsInformationDoc());
    EXPECT_EQ(ViewOf(first)->caption, path.string());
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), "Batch for 5000 g\n");
    fs::remove(path);

    ShowInformation("next report");
    CTextFileDoc* second = g_pInformationDoc;
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(m_template->GetDocuments().size(), 2u);
    EXPECT_EQ(ViewOf(first)->Text(), "Batch for 5000 g\r\n");
}

TEST_F(InformationTest, ClosingTheInformationWindowNeverAsks)
{
    ShowInformation("unsaved report");
    CTextFileDoc* information = g_pInformationDoc;
    ASSERT_NE(information, nullptr);
    EXPECT_TRUE(information->IsModified());
    ASSERT_FALSE(m_frames.empty());
    EXPECT_TRUE(information->CanCloseFrame(m_frames.front().get()));
    information->OnCommand(CmdTextClose);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_TRUE(m_template->GetDocuments().empty());
    EXPECT_EQ(g_pInformationDoc, nullptr);

    // Without a text-file template the report is dropped.
    g_pTextFileTemplate = nullptr;
    ShowInformation("nowhere");
    EXPECT_EQ(g_pInformationDoc, nullptr);
}
