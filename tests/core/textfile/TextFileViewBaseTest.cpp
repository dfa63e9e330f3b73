#include "textfile/TextFileViewBase.h"

#include "core/shell/FakeMessageService.h"
#include "core/textfile/FakeTextView.h"
#include "shell/OxidariumApp.h"
#include "textfile/Information.h"
#include "textfile/TextFileCommands.h"
#include "textfile/TextFileDoc.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class TextFileViewBaseTest : public ::testing::Test {
protected:
    TextFileViewBaseTest()
    {
        m_document.AddView(&m_view);
        m_view.OnInitialUpdate();
    }
    ~TextFileViewBaseTest() override { m_document.RemoveView(&m_view); }

    void Load(const CStringArrayEx& lines)
    {
        m_view.LoadLines(lines);
        m_document.SetModifiedFlag(false);
    }
    void Run(unsigned id)
    {
        CCmdUI ui(id);
        ASSERT_TRUE(m_view.OnUpdateCommand(ui));
        ASSERT_TRUE(ui.m_bEnabled) << id;
        ASSERT_TRUE(m_view.OnCommand(id));
    }
    bool Enabled(unsigned id)
    {
        CCmdUI ui(id);
        return m_view.OnUpdateCommand(ui) && ui.m_bEnabled;
    }

    CFakeMessageService m_messages;
    COxidariumApp m_app;
    CTextFileDoc m_document;
    CFakeTextView m_view;
};

} // namespace

TEST_F(TextFileViewBaseTest, AppendedLinesStartOnALineOfTheirOwn)
{
    EXPECT_EQ(m_view.caption, "<untitled>");
    m_view.AppendLine("first");
    m_view.AppendLine("");
    m_view.AppendLine("third");
    EXPECT_EQ(m_view.Text(), "first\r\n\r\nthird\r\n");
    m_view.Type("typed");
    m_view.AppendLine("after");
    EXPECT_EQ(m_view.Text(), "first\r\n\r\nthird\r\ntyped\r\nafter\r\n");
    EXPECT_TRUE(m_document.IsModified());
    EXPECT_FALSE(m_view.CanUndo()) << "an undo across appended text is not offered";

    std::ostringstream out;
    m_view.Type("   \t");
    ASSERT_TRUE(m_view.WriteText(out));
    EXPECT_EQ(out.str(), "first\n\nthird\ntyped\nafter\n") << "blanks at line ends and final empty lines go";
}

TEST_F(TextFileViewBaseTest, AlphabetizeThenUndoRestoresTheLinesOnce)
{
    Load({"whiting", "Silica  ", "kaolin", "Frit"});
    EXPECT_FALSE(Enabled(CmdEditUndo));
    Run(CmdAlphabetizeForward);
    EXPECT_EQ(m_view.Text(), "Frit\r\nkaolin\r\nSilica\r\nwhiting");
    Run(CmdAlphabetizeReverseCase);
    EXPECT_EQ(m_view.Text(), "whiting\r\nkaolin\r\nSilica\r\nFrit");
    Run(CmdAlphabetizeForwardCase);
    EXPECT_EQ(m_view.Text(), "Frit\r\nSilica\r\nkaolin\r\nwhiting");

    Run(CmdEditUndo);
    EXPECT_EQ(m_view.Text(), "whiting\r\nkaolin\r\nSilica\r\nFrit") << "the lines before the last command";
    EXPECT_FALSE(Enabled(CmdEditUndo));
    m_view.OnCommand(CmdEditUndo);
    EXPECT_EQ(m_view.Text(), "whiting\r\nkaolin\r\nSilica\r\nFrit") << "a second Undo does nothing";

    // Typing after a command: Undo takes the typing back, not the command.
    Run(CmdAlphabetizeReverse);
    m_view.Type("!");
    Run(CmdEditUndo);
    EXPECT_EQ(m_view.Text(), "whiting\r\nSilica\r\nkaolin\r\nFrit");
    EXPECT_FALSE(Enabled(CmdEditUndo));
}

TEST_F(TextFileViewBaseTest, TabsToSpacesChecksTheRange)
{
    Load({"a\tb", "\tc"});
    m_view.tabAnswers = {"0", "101", "x"};
    Run(CmdTabsToSpaces);
    Run(CmdTabsToSpaces);
    Run(CmdTabsToSpaces);
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    for (const auto& box : m_messages.boxes) {
        EXPECT_EQ(box.text, "Spaces must be in range 1 to 100");
        EXPECT_EQ(box.Icon(), MsgIconError);
        EXPECT_EQ(box.helpId, 0x30810u);
    }
    EXPECT_EQ(m_view.Text(), "a\tb\r\n\tc\r\n");
    EXPECT_FALSE(m_document.IsModified());

    Run(CmdTabsToSpaces); // Cancel
    EXPECT_EQ(m_view.Text(), "a\tb\r\n\tc\r\n");
    m_view.tabAnswers = {"4"};
    Run(CmdTabsToSpaces);
    EXPECT_EQ(m_view.Text(), "a   b\r\n    c\r\n");
    Run(CmdEditUndo);
    EXPECT_EQ(m_view.Text(), "a\tb\r\n\tc\r\n");
}

TEST_F(TextFileViewBaseTest, InformationWindowCommandAndHelp)
{
    EXPECT_FALSE(Enabled(CmdInformationWindow));
    EXPECT_FALSE(Enabled(CmdTextEmail));
    Run(CmdHelp);
    g_pInformationDoc = &m_document;
    m_document.SetTitle("Information");
    CCmdUI ui(CmdInformationWindow);
    m_view.OnUpdateCommand(ui);
    EXPECT_TRUE(ui.m_bEnabled);
    EXPECT_EQ(ui.m_nCheck, 1);
    Run(CmdContextHelp);
    Run(CmdInformationWindow);
    EXPECT_EQ(g_pInformationDoc, nullptr);
    EXPECT_EQ(m_document.GetTitle(), "");
    EXPECT_EQ(m_view.caption, "<untitled>");
    ASSERT_EQ(m_messages.helps.size(), 2u);
    EXPECT_EQ(m_messages.helps[0].id, 260u);
    EXPECT_EQ(m_messages.helps[1].id, 261u);
}
