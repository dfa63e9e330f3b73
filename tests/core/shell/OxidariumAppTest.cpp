#include "shell/OxidariumApp.h"

#include "core/shell/FakeMessageService.h"

#include <gtest/gtest.h>

TEST(OxidariumAppTest, MessageBoxesCarryTheirHelpContextAndAnswerFromTheScript)
{
    CFakeMessageService messages;
    COxidariumApp app;
    ASSERT_EQ(g_pApp, &app);
    messages.answers = {MsgResultNo};
    EXPECT_EQ(app.MessageBoxWithHelp("x.mat: Error writing file -- Continue with Save?",
                                     MsgYesNo | MsgIconQuestion, 196897),
              MsgResultNo);
    EXPECT_EQ(app.MessageBoxWithHelp("All formulas are okay", MsgOk | MsgIconInformation, 5), MsgResultOk);
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(messages.At(0).text, "x.mat: Error writing file -- Continue with Save?");
    EXPECT_EQ(messages.At(0).caption, "Oxidarium");
    EXPECT_EQ(messages.At(0).Buttons(), MsgYesNo);
    EXPECT_EQ(messages.At(0).Icon(), MsgIconQuestion);
    EXPECT_EQ(messages.At(0).helpId, 196897u);
    EXPECT_EQ(app.m_nBoxHelpId, 0u) << "the context belongs to the box only while it is up";
}

TEST(OxidariumAppTest, HelpFollowsTheContextRules)
{
    CFakeMessageService messages;
    COxidariumApp app;
    app.ShowHelp(2001);
    EXPECT_TRUE(messages.helps.empty());
    app.ShowHelp(1999);
    app.ShowHelp(2002);
    app.ShowHelp(2003);
    ASSERT_EQ(messages.helps.size(), 3u);
    EXPECT_EQ(messages.helps[0].request, HelpRequest::Context);
    EXPECT_EQ(messages.helps[0].id, 1999u);
    EXPECT_EQ(messages.helps[1].request, HelpRequest::Finder);
    EXPECT_EQ(messages.helps[2].request, HelpRequest::Quit);

    // While a box with context 196897 is up, any help request opens that box's topic.
    messages.helps.clear();
    messages.onBox = [](const CFakeMessageService::Box&) {
        ASSERT_NE(g_pApp, nullptr);
        g_pApp->ShowHelp(1999);
        g_pApp->ShowHelp(2001);
    };
    app.MessageBoxWithHelp("Continue?", MsgYesNo, 196897);
    ASSERT_EQ(messages.helps.size(), 2u);
    EXPECT_EQ(messages.helps[0].id, 196897u);
    EXPECT_EQ(messages.helps[1].id, 196897u);
}

TEST(OxidariumAppTest, ASmallScreenIsLessThan600PixelsHigh)
{
    CFakeMessageService messages;
    messages.screenHeight = 600;
    EXPECT_FALSE(IsSmallScreen());
    messages.screenHeight = 599;
    EXPECT_TRUE(IsSmallScreen());
}

TEST(OxidariumAppTest, WithoutAServiceABoxAnswersItsDefaultButton)
{
    COxidariumApp app;
    EXPECT_EQ(app.MessageBoxWithHelp("?", MsgYesNo, 0), MsgResultYes);
    EXPECT_EQ(app.MessageBoxWithHelp("?", MsgYesNoCancel | MsgDefaultButton3, 0), MsgResultCancel);
    EXPECT_EQ(app.MessageBoxWithHelp("?", MsgOkCancel | MsgDefaultButton2, 0), MsgResultCancel);
}
