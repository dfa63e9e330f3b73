#include "support/QtServices.h"

#include "ui/support/CheckedWidgets.h"
#include "framework/MdiFrame.h"
#include "shell/OxidariumApp.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs examine on the modal box that the call opens, from inside its event loop. A watchdog
// closes a box that the check failed to end, so a broken test fails instead of hanging.
void WhileModal(const std::function<void(QWidget*)>& examine)
{
    QTimer::singleShot(0, [examine] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr) << "no modal window is up";
        examine(modal);
    });
}

class CModalWatchdog {
public:
    CModalWatchdog()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a modal window was left open";
                modal->close();
            }
        });
        m_timer.start(10000);
    }

private:
    QTimer m_timer;
};

class QtServicesTest : public ::testing::Test {
protected:
    QtServicesTest()
    {
        m_frame.resize(600, 400);
        m_frame.show();
    }

    QString Status() const { return m_frame.statusBar()->currentMessage(); }

    COxidariumApp m_app;
    CMDIMainFrame m_frame;
    CQtServices m_services;
    CModalWatchdog m_watchdog;
};

} // namespace

TEST_F(QtServicesTest, AQuestionBoxHasItsButtonsIconDefaultAndAHelpButtonThatKeepsItOpen)
{
    bool examined = false;
    WhileModal([&](QWidget* modal) {
        auto* box = qobject_cast<CHelpMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Oxidarium");
        EXPECT_EQ(box->text(), QString::fromUtf8("Save changes to \xE2\x80\x9CRed\xE2\x80\x9D?"));
        EXPECT_EQ(box->standardButtons(),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Help);
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        ASSERT_NE(box->HelpButton(), nullptr);

        box->HelpButton()->click();
        EXPECT_EQ(Status(), "Help topic 196929: no help file is installed");
        EXPECT_TRUE(box->isVisible()) << "Help leaves the box open";
        m_frame.statusBar()->clearMessage();
        QTest::keyClick(box, Qt::Key_F1);
        EXPECT_EQ(Status(), "Help topic 196929: no help file is installed");
        examined = true;
        BoxButton(box, QMessageBox::No).click();
    });
    // Cp1252 0x93/0x94 are the curly quotes.
    ASSERT_NE(g_pApp, nullptr);
    const int answer = g_pApp->MessageBoxWithHelp("Save changes to \x93Red\x94?",
                                                  MsgYesNoCancel | MsgIconQuestion | MsgDefaultButton2, 0x30141);
    EXPECT_TRUE(examined);
    EXPECT_EQ(answer, MsgResultNo);
    EXPECT_EQ(g_pApp->m_nBoxHelpId, 0u);
}

TEST_F(QtServicesTest, BoxesShownWithoutTheApplicationStillOpenTheirOwnTopic)
{
    // Documents ask the service directly; their help id is a box topic above the command range.
    WhileModal([&](QWidget* modal) {
        auto* box = qobject_cast<CHelpMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        box->HelpButton()->click();
        EXPECT_EQ(Status(), "Help topic 200001: no help file is installed");
        BoxButton(box, QMessageBox::Ok).click();
    });
    EXPECT_EQ(m_services.Messages().ShowMessageBox("x", "Oxidarium", MsgOkCancel | MsgIconExclamation, 200001),
              MsgResultOk);

    // No help context: no Help button. Escape answers Cancel.
    WhileModal([&](QWidget* modal) {
        auto* box = qobject_cast<CHelpMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->HelpButton(), nullptr);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Ok));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(m_services.Messages().ShowMessageBox("x", "Oxidarium", MsgOkCancel | MsgIconExclamation, 0),
              MsgResultCancel);

    m_services.Messages().ShowHelp(HelpRequest::Finder, 0);
    EXPECT_EQ(Status(), "Help contents: no help file is installed");
    m_services.Messages().ShowHelp(HelpRequest::Quit, 0);
    EXPECT_EQ(Status(), "Help contents: no help file is installed") << "closing help shows nothing";
}

TEST_F(QtServicesTest, ClipboardTextIsUnicodeWithLineFeedsOnQtAndCp1252WithCrLfInTheCore)
{
    CClipboardService* clipboard = GetClipboardService();
    ASSERT_EQ(clipboard, &m_services.Clipboard());
    const std::string bytes = "a\r\nb\x80\r\n";
    ASSERT_TRUE(clipboard->SetText(bytes));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("a\nb\xE2\x82\xAC\n"));
    std::string back;
    ASSERT_TRUE(clipboard->GetText(back));
    EXPECT_EQ(back, bytes);
    // UTF-8 text keeps the characters that Windows-1252 cannot hold.
    ASSERT_TRUE(clipboard->SetUnicodeText("5\xC2\xB0" "C \xCE\xB1\xE2\x86\x92\xCE\xB2\r\n"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("5°C α→β\n"));

    // Text that another program left with CR LF keeps one CR per line.
    QGuiApplication::clipboard()->setText(QStringLiteral("x\r\ny\nz"));
    ASSERT_TRUE(clipboard->GetText(back));
    EXPECT_EQ(back, "x\r\ny\r\nz");

    QGuiApplication::clipboard()->clear();
    back = "stale";
    EXPECT_FALSE(clipboard->GetText(back));
    EXPECT_EQ(back, "");
}

TEST_F(QtServicesTest, TheWaitCursorNestsAndUnmatchedEndsAreHarmless)
{
    {
        CBusyScope outer;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            CBusyScope inner;
            EXPECT_EQ(m_services.Busy().Depth(), 2);
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr) << "the outer scope still waits";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QApplication::setOverrideCursor(QCursor(Qt::CrossCursor)); // someone else's cursor
    m_services.Busy().EndBusy();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
}

TEST(QtServicesInstallTest, ServicesAreInstalledForTheObjectsLifetime)
{
    ASSERT_EQ(GetMessageService(), nullptr);
    {
        CQtServices services;
        EXPECT_EQ(GetMessageService(), &services.Messages());
        EXPECT_EQ(GetClipboardService(), &services.Clipboard());
        EXPECT_EQ(GetBusyService(), &services.Busy());
        EXPECT_EQ(GetFileDialogService(), &services.FileDialogs());
        services.Busy().BeginBusy(); // left running: the service ends it when it goes
    }
    EXPECT_EQ(GetMessageService(), nullptr);
    EXPECT_EQ(GetClipboardService(), nullptr);
    EXPECT_EQ(GetBusyService(), nullptr);
    EXPECT_EQ(GetFileDialogService(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
