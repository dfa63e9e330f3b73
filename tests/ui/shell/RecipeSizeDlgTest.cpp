#include "shell/RecipeSizeDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "ShellSandbox.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "shell/PreferencesDlg.h"
#include "ui/support/TestFolders.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class RecipeSizeDlgTest : public ::testing::Test {
protected:
    RecipeSizeDlgTest()
    {
        g_prefs.ApplyColorScheme();
        g_savedPrefs.m_strFilePath = prefsPath;
    }

    CShellSandbox sandbox;
    COxidariumApp app;
    const std::string prefsPath = sandbox.dataDir + "/prefs.dat";
};

// Runs SetUpRecipeBatchSizes, choosing custom sizes with text and pressing button (by id).
void RunWith(const QString& text, int buttonId)
{
    QTimer::singleShot(0, [text, buttonId] {
        auto* dialog = dynamic_cast<CRecipeSizePrefsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Recipe Size Preferences"));
        EXPECT_EQ(dialog->SizesEdit()->text(), QStringLiteral("100,500,1000,2000,5000"));
        EXPECT_EQ(dialog->Choices()->checkedId(), 0);
        GroupButton(dialog->Choices(), 2).setChecked(true);
        dialog->SizesEdit()->setText(text);
        dialog->findChild<QPushButton*>(QString::number(buttonId))->click();
    });
    SetUpRecipeBatchSizes();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

TEST_F(RecipeSizeDlgTest, UseChangesTheWorkingSizesOnly)
{
    RunWith(QStringLiteral("  250, R, W  "), PrefResultUse);
    EXPECT_EQ(g_prefs.prtrecsize, 2);
    EXPECT_EQ(g_prefs.prtrecsizelist, "250, R, W");
    EXPECT_EQ(g_savedPrefs.prtrecsize, 0);
    EXPECT_EQ(g_savedPrefs.prtrecsizelist, "100,500,1000,2000,5000");
    EXPECT_FALSE(CShellSandbox::Exists(prefsPath));
}

TEST_F(RecipeSizeDlgTest, SaveAndUseWritesTheFileAndCancelChangesNothing)
{
    g_prefs.prtrecsizelist = g_savedPrefs.prtrecsizelist;
    RunWith(QStringLiteral("W,1000 "), PrefResultSaveAndUse);
    EXPECT_EQ(g_prefs.prtrecsizelist, "W,1000");
    EXPECT_EQ(g_savedPrefs.prtrecsizelist, "W,1000");
    const std::string file = ReadFile(prefsPath);
    EXPECT_NE(file.find("\nprtrecsize = 2\nprtrecsizelist = W,1000\n"), std::string::npos);

    g_prefs.prtrecsize = 0;
    g_prefs.prtrecsizelist = "100,500,1000,2000,5000";
    RunWith(QStringLiteral("5"), PrefResultCancel);
    EXPECT_EQ(g_prefs.prtrecsize, 0);
    EXPECT_EQ(g_prefs.prtrecsizelist, "100,500,1000,2000,5000");
    EXPECT_EQ(g_savedPrefs.prtrecsizelist, "W,1000");
}

TEST_F(RecipeSizeDlgTest, OkFormShowsOnlyOkCancelAndHelpAndEnterDoesNotClose)
{
    CRecipeSizePrefsDlg dialog;
    dialog.okForm = true;
    dialog.choice = 1;
    dialog.sizes = "100";
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.SaveAndUseButton()->text(), QStringLiteral("OK"));
    EXPECT_FALSE(dialog.UseButton()->isVisible());
    EXPECT_TRUE(dialog.CancelButton()->isVisible());
    EXPECT_EQ(dialog.HelpButton()->objectName(), QStringLiteral("4200"));
    EXPECT_EQ(dialog.Choices()->checkedId(), 1);
    EXPECT_EQ(dialog.palette().color(QPalette::Window), ToQColor(GetNamedColor("dlg_pref_tab")));

    QTest::keyClick(dialog.SizesEdit(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    dialog.HelpButton()->click();
    ASSERT_EQ(sandbox.messages.helps.size(), 1u);
    EXPECT_EQ(sandbox.messages.helps[0].id, kHelpRecipeSizeDlg);

    const QString folder = ScreenshotFolder();
    QDir().mkpath(folder);
    EXPECT_TRUE(dialog.grab().save(folder + "/recipe-size-dialog.png"));
    QTest::keyClick(dialog.SizesEdit(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), PrefResultCancel);
}
