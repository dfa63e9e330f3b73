#include "shell/PreferencesDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "ShellSandbox.h"
#include "core/framework/RecordingView.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "shell/PreferencesPage.h"
#include "shell/RecipeSizeDlg.h"
#include "support/TextHelpers.h"
#include "support/ToggleButton.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class PreferencesDlgTest : public ::testing::Test {
protected:
    PreferencesDlgTest()
    {
        g_prefs.ApplyColorScheme();
        g_savedPrefs.m_strFilePath = prefsPath;
    }
    // The colours are program-wide: later tests find the default scheme again.
    ~PreferencesDlgTest() override { CPreferences().ApplyColorScheme(); }

    CShellSandbox sandbox;
    COxidariumApp app;
    const std::string prefsPath = sandbox.dataDir + "/prefs.dat";
};

QLineEdit* Edit(const CPreferencesDlg& dialog, int id)
{
    return dialog.FindControl<QLineEdit>(id);
}

void SetText(const CPreferencesDlg& dialog, int id, const char* text)
{
    Edit(dialog, id)->setText(QString::fromLatin1(text));
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void SaveScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = ScreenshotFolder();
    QDir().mkpath(folder);
    EXPECT_TRUE(widget.grab().save(folder + "/" + name + ".png"));
}

// The modal dialog of type T that is up, once the event loop runs it.
template <class T>
T* ActiveModal()
{
    return dynamic_cast<T*>(QApplication::activeModalWidget());
}

} // namespace

TEST_F(PreferencesDlgTest, UseTakesTheEditedSettingsIntoTheWorkingCopyOnly)
{
    CMaterialsDoc materials;
    CRecordingFrame window(materials, "materials");
    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    EXPECT_EQ(dialog.CurrentPage(), PrefPageFiles);
    dialog.PageButton(PrefPageListViews)->click();
    EXPECT_TRUE(dialog.Page(PrefPageListViews)->isVisible());
    EXPECT_FALSE(dialog.Page(PrefPageFiles)->isVisible());
    EXPECT_EQ(dialog.PageButton(PrefPageListViews)->state, 1);
    EXPECT_EQ(dialog.PageButton(PrefPageFiles)->state, 0);
    EXPECT_EQ(Edit(dialog, IdcMatShort)->text(), QStringLiteral("CN"));

    SetText(dialog, IdcMatShort, "CNF$");
    SetText(dialog, IdcHazWarn, "  Careful!  ");
    SetText(dialog, IdcSugTol, "150");
    SetText(dialog, IdcDecFirst, "0");      // recipe amount decimals
    SetText(dialog, IdcDecFirst + 1, "20"); // recipe percent decimals
    SetText(dialog, IdcDecFirst + 3, "3");  // unity decimals ...
    SetText(dialog, IdcTzsFirst + 3, "7");  // ... with more least decimals than decimals
    SetText(dialog, IdcTzsFirst + 4, "-5");
    GroupButton(dialog.Page(PrefPageMisc2)->RadioGroup(IdcColMonochrome), 0).setChecked(true);
    dialog.UseButton()->click();
    EXPECT_EQ(dialog.result(), PrefResultUse);
    EXPECT_TRUE(sandbox.messages.boxes.empty());

    EXPECT_EQ(TakePreferencesDialogResult(dialog, dialog.result(), g_prefs), PrefResultUse);
    EXPECT_EQ(g_prefs.matshort, "CNF$");
    EXPECT_EQ(g_savedPrefs.matshort, "CN");
    EXPECT_EQ(g_prefs.hazwarn, "Careful!");
    EXPECT_EQ(g_prefs.sugtol, 100.0);
    EXPECT_EQ(g_prefs.decrecipe, 1);
    EXPECT_EQ(g_prefs.decrecipepct, 12);
    EXPECT_EQ(g_prefs.tzsanalysis, 3);
    EXPECT_EQ(g_prefs.tzsanalysispct, -1);
    EXPECT_EQ(g_prefs.coltyp, 0);
    EXPECT_EQ(GetNamedColor("dlg_pref_bkg"), GetNamedColor("mono_mdgray"));
    EXPECT_EQ(g_prefs.m_nPrefsPage, PrefPageListViews);
    EXPECT_FALSE(CShellSandbox::Exists(prefsPath));
    ASSERT_EQ(window.view->received.size(), 1u);
    EXPECT_EQ(window.view->At(0).kind, 9);
    EXPECT_EQ(window.view->At(0).code, HintPreferencesChanged);
    EXPECT_EQ(window.view->At(0).index, 0);
}

TEST_F(PreferencesDlgTest, SaveAndUseWritesThePreferencesFile)
{
    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    SetText(dialog, IdcGlzTab, "Si Al B Nk");
    dialog.FindControl<QCheckBox>(IdcAnChVisco)->setChecked(true);
    dialog.SaveAndUseButton()->click();
    ASSERT_EQ(dialog.result(), PrefResultSaveAndUse);
    TakePreferencesDialogResult(dialog, dialog.result(), g_prefs);

    EXPECT_EQ(g_prefs.glztab, "Si Al B Nk");
    EXPECT_EQ(g_savedPrefs.glztab, "Si Al B Nk");
    EXPECT_EQ(g_savedPrefs.m_strFilePath, prefsPath);
    const std::string file = ReadFile(prefsPath);
    EXPECT_NE(file.find("\nglztab   = Si Al B Nk\n"), std::string::npos);
    EXPECT_NE(file.find("\nanchvisco  = y\n"), std::string::npos);
    EXPECT_TRUE(sandbox.messages.boxes.empty());
}

TEST_F(PreferencesDlgTest, BadFieldsKeepTheDialogOpenOnTheirPage)
{
    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    SetText(dialog, IdcSugOrd, "K B Xq Na");
    dialog.UseButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.CurrentPage(), PrefPageMaterials);
    ASSERT_EQ(sandbox.messages.boxes.size(), 1u);
    EXPECT_EQ(sandbox.messages.At(0).text, "Error in 'Oxide Suggestion Order'");
    EXPECT_EQ(sandbox.messages.At(0).Icon(), unsigned{MsgIconError});
    EXPECT_EQ(sandbox.messages.At(0).helpId, kHelpPrefsFieldError);

    SetText(dialog, IdcSugOrd, "K B Na");
    SetText(dialog, IdcMatShort, "q");
    SetText(dialog, IdcFormEdCol2, "Al2O3,Zz9");
    dialog.SaveAndUseButton()->click();
    EXPECT_EQ(dialog.CurrentPage(), PrefPageListViews);
    EXPECT_EQ(sandbox.messages.Last().text, "Error in 'Material List Normal View columns'");
    SetText(dialog, IdcMatShort, "CN");
    dialog.UseButton()->click();
    EXPECT_EQ(dialog.CurrentPage(), PrefPageMisc1);
    EXPECT_EQ(sandbox.messages.Last().text, "Error in 'Formula Edit column 2'");
    SetText(dialog, IdcFormEdCol2, "Al2O3");

    // A number field holding no number: the framework's message, on the field's page.
    SetText(dialog, IdcPrtLMar, "7x");
    dialog.UseButton()->click();
    EXPECT_EQ(dialog.CurrentPage(), PrefPageUtilities);
    EXPECT_EQ(sandbox.messages.Last().text, "Please enter an integer.");
    SetText(dialog, IdcPrtLMar, " 500 ");
    SetText(dialog, IdcSugTol, "");
    dialog.UseButton()->click();
    EXPECT_EQ(sandbox.messages.Last().text, "Please enter a number.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(sandbox.messages.boxes.size(), 5u);

    // Enter in a field does not end the dialog either.
    QTest::keyClick(Edit(dialog, IdcSugTol), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(g_prefs.matshort, "CN");
    EXPECT_FALSE(CShellSandbox::Exists(prefsPath));
}

TEST_F(PreferencesDlgTest, CancelChangesNothingButTheRememberedPage)
{
    CMaterialsDoc materials;
    CRecordingFrame window(materials, "materials");
    const CPreferences before = g_prefs;
    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    dialog.PageButton(PrefPageGlazeReport)->click();
    dialog.FindControl<QCheckBox>(IdcAnDes)->setChecked(false);
    SetText(dialog, IdcMatShort, "N");
    dialog.CancelButton()->click();
    EXPECT_EQ(dialog.result(), PrefResultCancel);
    TakePreferencesDialogResult(dialog, dialog.result(), g_prefs);
    EXPECT_EQ(g_prefs.andes, before.andes);
    EXPECT_EQ(g_prefs.matshort, before.matshort);
    EXPECT_EQ(g_prefs.m_nPrefsPage, PrefPageGlazeReport);
    EXPECT_TRUE(window.view->received.empty());
    EXPECT_FALSE(CShellSandbox::Exists(prefsPath));
}

TEST_F(PreferencesDlgTest, TheCommandOpensOnThePageLeftLastTime)
{
    int shownFirst = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = ActiveModal<CPreferencesDlg>();
        ASSERT_NE(dialog, nullptr);
        shownFirst = dialog->CurrentPage();
        dialog->PageButton(PrefPageMisc1)->click();
        dialog->CancelButton()->click();
    });
    EXPECT_EQ(RunPreferencesDialog(nullptr), PrefResultCancel);
    EXPECT_EQ(shownFirst, PrefPageFiles);
    EXPECT_EQ(g_prefs.m_nPrefsPage, PrefPageMisc1);

    int shownSecond = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = ActiveModal<CPreferencesDlg>();
        ASSERT_NE(dialog, nullptr);
        shownSecond = dialog->CurrentPage();
        dialog->FindControl<QLineEdit>(IdcGlzExt1)->setText(QStringLiteral("NR"));
        dialog->UseButton()->click();
    });
    EXPECT_EQ(RunPreferencesDialog(nullptr), PrefResultUse);
    EXPECT_EQ(shownSecond, PrefPageMisc1);
    EXPECT_EQ(g_prefs.glzext1, "NR");
}

TEST_F(PreferencesDlgTest, ListEditsDropBlankLinesAndBrowsingAppendsPaths)
{
    g_prefs.glzfile = {"/data/a.glz"};
    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    auto* glazeFiles = dialog.FindControl<QPlainTextEdit>(IdcGlzFile);
    EXPECT_EQ(glazeFiles->toPlainText(), QStringLiteral("/data/a.glz"));
    sandbox.dialogs.answers.push_back({CFileDialogResult::Outcome::Ok, {"/data/b.glz", "/data/c.glz"}, 1});
    sandbox.dialogs.AnswerPath("/data/d.glz");
    dialog.FindControl<QPushButton>(IdcBrowseGlzFile)->click();
    dialog.FindControl<QPushButton>(IdcBrowseGlzFile)->click();
    EXPECT_EQ(glazeFiles->toPlainText(), QStringLiteral("/data/a.glz\n/data/b.glz\n/data/c.glz\n/data/d.glz\n"));
    ASSERT_EQ(sandbox.dialogs.requests.size(), 2u);
    EXPECT_EQ(sandbox.dialogs.At(0).mode, CFileDialogRequest::Mode::OpenMultiple);
    EXPECT_EQ(sandbox.dialogs.At(0).title, "Database files to load automatically...");
    EXPECT_EQ(sandbox.dialogs.At(0).filter, "Database Files (*.glz)|*.glz|All Files (*.*)|*.*||");

    sandbox.dialogs.AnswerPath("/data/potter.exp");
    dialog.FindControl<QPushButton>(IdcBrowseExpert)->click();
    EXPECT_EQ(sandbox.dialogs.Last().mode, CFileDialogRequest::Mode::Open);
    EXPECT_EQ(sandbox.dialogs.Last().title, "Glaze Expert File");
    sandbox.dialogs.AnswerPath("/usr/bin/editor");
    dialog.FindControl<QPushButton>(IdcBrowseTextEd)->click();
    EXPECT_EQ(Edit(dialog, IdcTextEd)->text(), QStringLiteral("/usr/bin/editor"));

    dialog.FindControl<QPlainTextEdit>(IdcGlzCol)->setPlainText(QStringLiteral("  Celadon blue\n\n\t\nRust  \n"));
    dialog.UseButton()->click();
    TakePreferencesDialogResult(dialog, dialog.result(), g_prefs);
    EXPECT_EQ(g_prefs.glzcol, CStringArrayEx({"Celadon blue", "Rust"}));
    EXPECT_EQ(g_prefs.glzfile, CStringArrayEx({"/data/a.glz", "/data/b.glz", "/data/c.glz", "/data/d.glz"}));
    EXPECT_EQ(g_prefs.expert, CStringArrayEx({"/data/potter.exp"}));
    EXPECT_EQ(g_prefs.texted, "/usr/bin/editor");

    CPreferencesDlg again(g_prefs);
    again.show();
    EXPECT_EQ(again.FindControl<QPlainTextEdit>(IdcGlzCol)->toPlainText(), QStringLiteral("Celadon blue\nRust"));
}

TEST_F(PreferencesDlgTest, PageButtonsFillFieldsAndTestPatterns)
{
    CMaterialsDoc materials;
    for (const char* type : {"clay", "Frit", "", "CLAY", "flux"}) {
        CMaterial material(type);
        material.m_type = type;
        materials.InsertMaterial(materials.Materials().GetCount(), material);
    }
    g_prefs.decrecipe = 9;
    g_prefs.formedcol1 = "Na2O";
    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    dialog.FindControl<QPushButton>(IdcSetMatTyp)->click();
    EXPECT_EQ(dialog.FindControl<QPlainTextEdit>(IdcMatTyp)->toPlainText(), QStringLiteral("clay\nFrit\nflux"));

    dialog.FindControl<QPushButton>(IdcDecimalsDefaults)->click();
    dialog.FindControl<QPushButton>(IdcFormEdDefaults)->click();
    QStringList decimals;
    QStringList least;
    for (int row = 0; row < kDecimalsRowCount; ++row) {
        decimals << Edit(dialog, IdcDecFirst + row)->text();
        least << Edit(dialog, IdcTzsFirst + row)->text();
    }
    EXPECT_EQ(decimals.join(','), QStringLiteral("2,1,3,2,1,5,3,3"));
    EXPECT_EQ(least.join(','), QStringLiteral("2,1,-1,2,1,5,-1,1"));
    EXPECT_EQ(Edit(dialog, IdcFormEdCol1)->text(), QStringLiteral("Na2O,K2O,MgO,CaO,Li2O,ZnO,SrO,BaO,PbO"));
    EXPECT_EQ(Edit(dialog, IdcFormEdCol4)->text(), QStringLiteral("LOI,H2O,CO2,SO3,F2,Cl2"));

    SetText(dialog, IdcPrtPgNum, "Page %d of %s");
    dialog.FindControl<QPushButton>(IdcTestPgNum)->click();
    SetText(dialog, IdcDateFmt, "%Y");
    dialog.FindControl<QPushButton>(IdcTestDateFmt)->click();
    SetText(dialog, IdcPrtTimeSt, "");
    dialog.FindControl<QPushButton>(IdcTestTimeSt)->click();
    ASSERT_EQ(sandbox.messages.boxes.size(), 2u);
    EXPECT_EQ(sandbox.messages.At(0).text, "Page 1 of %s");
    EXPECT_EQ(sandbox.messages.At(0).helpId, kHelpPrefsPageNumberTest);
    EXPECT_EQ(sandbox.messages.At(0).Icon(), unsigned{MsgIconInformation});
    std::string year;
    EXPECT_EQ(sandbox.messages.At(1).text, GetTodayString(year, "%Y"));
    EXPECT_EQ(sandbox.messages.At(1).helpId, kHelpPrefsDateTest);
}

TEST_F(PreferencesDlgTest, BackupDirectoryIsTidiedWhenTheEditIsLeft)
{
    EXPECT_EQ(CPreferencesDlg::CleanBackupDirectory("C:"), "C:\\");
    EXPECT_EQ(CPreferencesDlg::CleanBackupDirectory("D:\\Backup\\\\"), "D:\\Backup");
    EXPECT_EQ(CPreferencesDlg::CleanBackupDirectory("C:\\"), "C:\\");
    EXPECT_EQ(CPreferencesDlg::CleanBackupDirectory("x"), "");
    EXPECT_EQ(CPreferencesDlg::CleanBackupDirectory("/home/potter/backup//"), "/home/potter/backup");
    EXPECT_EQ(CPreferencesDlg::CleanBackupDirectory("/"), "/");

    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    SetText(dialog, IdcBackDir, "D:\\Backup\\\\");
    emit Edit(dialog, IdcBackDir)->editingFinished();
    EXPECT_EQ(Edit(dialog, IdcBackDir)->text(), QStringLiteral("D:\\Backup"));
}

TEST_F(PreferencesDlgTest, RecipeSizesAndFontsGoIntoTheDialogsCopy)
{
    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    bool okForm = false;
    QTimer::singleShot(0, [&] {
        auto* sizes = ActiveModal<CRecipeSizePrefsDlg>();
        ASSERT_NE(sizes, nullptr);
        okForm = sizes->SaveAndUseButton()->text() == QStringLiteral("OK") && !sizes->UseButton()->isVisible();
        GroupButton(sizes->Choices(), 2).setChecked(true);
        sizes->SizesEdit()->setText(QStringLiteral("  250, R, W  "));
        sizes->SaveAndUseButton()->click();
    });
    dialog.FindControl<QPushButton>(IdcRecipeSizes)->click();
    EXPECT_TRUE(okForm);
    EXPECT_EQ(dialog.values.prtrecsize, 2);
    EXPECT_EQ(dialog.values.prtrecsizelist, "250, R, W");
    EXPECT_EQ(g_prefs.prtrecsizelist, "100,500,1000,2000,5000");

    auto* sample = dialog.FindControl<QPushButton>(IdcEdBoxFont);
    EXPECT_EQ(sample->text(), QStringLiteral("AaBbYyZz..."));
    QTimer::singleShot(0, [] {
        auto* fonts = ActiveModal<QFontDialog>();
        ASSERT_NE(fonts, nullptr);
        QFont chosen = fonts->currentFont();
        chosen.setPointSize(14);
        fonts->setCurrentFont(chosen);
        fonts->accept();
    });
    sample->click();
    EXPECT_EQ(dialog.values.edboxfont.height, 140);
    EXPECT_EQ(sample->font().pointSize(), 14);

    dialog.UseButton()->click();
    TakePreferencesDialogResult(dialog, dialog.result(), g_prefs);
    EXPECT_EQ(g_prefs.prtrecsizelist, "250, R, W");
    EXPECT_EQ(g_prefs.edboxfont.height, 140);
}

TEST_F(PreferencesDlgTest, EveryPageShows)
{
    CPreferencesDlg dialog(g_prefs);
    dialog.show();
    QApplication::processEvents();
    for (int page = 1; page <= kPreferencesPageCount; ++page) {
        dialog.ShowPage(page);
        QApplication::processEvents();
        EXPECT_TRUE(dialog.Page(page)->isVisible());
        SaveScreenshot(dialog, QStringLiteral("preferences-page-%1").arg(page));
    }
    dialog.ShowPage(0);
    EXPECT_EQ(dialog.CurrentPage(), -1);
    EXPECT_FALSE(dialog.Page(kPreferencesPageCount)->isVisible());
}
