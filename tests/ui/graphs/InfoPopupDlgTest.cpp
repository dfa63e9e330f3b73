#include "graphs/InfoPopupDlg.h"

#include "core/support/FakeServices.h"
#include "core/tools/GlazeToolsTestSupport.h"
#include "shell/AppContext.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class InfoPopupDlgTest : public ::testing::Test {
protected:
    CAppContext context;
    QWidget owner;
};

TEST_F(InfoPopupDlgTest, ThePopupSizesItselfToItsText)
{
    auto* popup = new CInfoPopupDlg(&owner);
    EXPECT_TRUE(popup->isVisible());
    popup->ShowText("Word");
    EXPECT_EQ(popup->TextControl()->size(), QSize(CInfoPopupDlg::kTemplateTextWidth, CInfoPopupDlg::kTemplateTextHeight));
    EXPECT_EQ(popup->size(), QSize(CInfoPopupDlg::kTemplateWidth, CInfoPopupDlg::kTemplateHeight));

    // An empty middle line keeps its height; the border stays as laid out.
    const std::string text = "SiO2 at or below the limit\r\n\r\nAl2O3 = 0.4 (limits: 0.25 - 0.45) on every line here";
    popup->ShowText(text);
    const QFontMetrics metrics(popup->TextControl()->TextFont());
    const int width = metrics.horizontalAdvance(QStringLiteral("Al2O3 = 0.4 (limits: 0.25 - 0.45) on every line here"));
    EXPECT_EQ(popup->TextControl()->size(),
              QSize(std::max(width + 10, 160), std::max(3 * metrics.height() + 10, 40)));
    EXPECT_EQ(popup->size(), popup->TextControl()->size() + QSize(10, 10));
    // It is painted blank, with the third line under it (a margin of 5 pixels).
    const QImage shown = popup->TextControl()->grab().toImage();
    const auto ink = [&shown](int top, int bottom) { // rows of the window, at any pixel ratio
        const double ratio = shown.devicePixelRatio();
        int dark = 0;
        for (int y = static_cast<int>(top * ratio); y < static_cast<int>(bottom * ratio); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                dark += qGray(shown.pixel(x, y)) < 100 ? 1 : 0;
        }
        return dark;
    };
    const int h = metrics.height();
    EXPECT_GT(ink(5, 5 + h), 0);
    EXPECT_EQ(ink(5 + h, 5 + 2 * h), 0);
    EXPECT_GT(ink(5 + 2 * h, 5 + 3 * h), 0);
    popup->SetCaption("Worked glaze");
    EXPECT_EQ(popup->windowTitle(), QStringLiteral("Worked glaze"));
    popup->close();
}

TEST_F(InfoPopupDlgTest, CopiesGoToTheClipboardAndTheInformationWindow)
{
    CFakeClipboard clipboard;
    CInformationWindowFixture information;
    auto* popup = new CInfoPopupDlg(&owner);
    popup->ShowText("CaO  0.700");
    popup->SetFullInfo("Worked glaze\r\n============\r\nSiO2  3.000\r\nCaO  0.700\r\n");

    QMenu* menu = popup->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << action->text();
    EXPECT_EQ(texts, QStringList({QStringLiteral(" > Copy to &Clipboard\tCtrl-C"),
                                  QStringLiteral(" > Copy to &Information window\tCtrl-I"),
                                  QStringLiteral(" > Copy &Full Info to Information Window\tCtrl-F")}));
    ASSERT_FALSE(menu->actions().isEmpty());
    menu->actions()[0]->trigger();
    EXPECT_EQ(clipboard.content, "CaO  0.700\r\n");
    delete menu;

    popup->ShowText("Line one\r\nLine two\r\n");
    popup->OnCommand(CInfoPopupDlg::CmdCopyToClipboard);
    EXPECT_EQ(clipboard.content, "Line one\r\nLine two\r\n");
    popup->OnCommand(CInfoPopupDlg::CmdCopyToInformation);
    EXPECT_EQ(information.Text(), "Line one\r\nLine two\r\n"); // no second line break
    popup->OnCommand(CInfoPopupDlg::CmdCopyFullInfo);
    EXPECT_EQ(information.Text(), "Worked glaze\r\n============\r\nSiO2  3.000\r\nCaO  0.700\r\n");

    // The keys run the same commands.
    popup->ShowText("Key text");
    QApplication::setActiveWindow(popup);
    QTest::keyClick(popup, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(information.Text(), "Key text\r\n");
    popup->close();
    QApplication::processEvents();
}

TEST_F(InfoPopupDlgTest, ClosingTellsTheOwnerAndDeletesThePopup)
{
    QPointer<CInfoPopupDlg> popup = new CInfoPopupDlg(&owner);
    CInfoPopupDlg* told = nullptr;
    QObject::connect(popup, &CInfoPopupDlg::Closed, [&told](CInfoPopupDlg* closed) { told = closed; });
    CInfoPopupDlg* raw = popup;
    QTest::keyClick(raw, Qt::Key_Escape);
    EXPECT_EQ(told, raw);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(popup.isNull());
}

} // namespace
