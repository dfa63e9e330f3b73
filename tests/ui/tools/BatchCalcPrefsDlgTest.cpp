#include "tools/BatchCalcPrefsDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "ui/support/OverlapCheck.h"
#include "BatchOptDlgFixture.h"
#include "FieldCaption.h"
#include "framework/Cp1252.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class BatchCalcPrefsDlgTest : public BatchOptDlgFixture {};

} // namespace

TEST_F(BatchCalcPrefsDlgTest, ShowsAndTakesTheElevenValues)
{
    CBatchPrefsDlg dialog;
    dialog.CopyFrom(g_prefs);
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Batch Calculation Preferences"));
    EXPECT_EQ(ToCp1252(dialog.OrderEdit()->text()), "K B P Li Na Mg Ca Pb Ba Sr Zn Al Zr Si Sn Ti Fe Cu Co Ni Mn Cr V");
    EXPECT_TRUE(dialog.OptionBox(0)->isChecked());
    EXPECT_TRUE(dialog.OptionBox(1)->isChecked());
    EXPECT_FALSE(dialog.OptionBox(2)->isChecked());
    EXPECT_EQ(dialog.ToleranceEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.ToleranceUnits()->checkedId(), 0);
    EXPECT_EQ(dialog.RemainderUnits()->checkedId(), 0);
    EXPECT_EQ(dialog.NumberEdit(0)->text(), QStringLiteral("5"));
    EXPECT_EQ(dialog.NumberEdit(3)->text(), QStringLiteral("-1"));
    SaveScreenshot(dialog, "batch-calculation-prefs");
    EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>());
    const std::pair<int, const char*> captions[] = {{0, "Remainders"}, {0, "Decimals"}, {1, "(minimum)"},
                                                    {2, "Recipe (input)"}};
    for (const auto& [field, caption] : captions)
        EXPECT_EQ(CaptionFault(*dialog.NumberEdit(field), caption), "") << caption;

    dialog.OptionBox(2)->setChecked(true);
    dialog.ToleranceEdit()->setText(QStringLiteral("150"));
    GroupButton(dialog.ToleranceUnits(), 1).setChecked(true);
    GroupButton(dialog.RemainderUnits(), 3).setChecked(true);
    dialog.NumberEdit(0)->setText(QStringLiteral("4"));
    // Decimals of 0 (an amount step of 1) and beyond 12 are refused, as the preferences file
    // refuses them; nothing is taken from the form then.
    for (const char* refused : {"0", "40"}) {
        dialog.NumberEdit(2)->setText(QString::fromLatin1(refused));
        EXPECT_FALSE(dialog.TakeControls()) << refused;
    }
    dialog.NumberEdit(3)->setText(QStringLiteral("-2"));
    dialog.NumberEdit(2)->setText(QStringLiteral("12"));
    EXPECT_FALSE(dialog.TakeControls());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Please enter an integer between 1 and 12.",
                                                            "Please enter an integer between 1 and 12.",
                                                            "Please enter an integer between -1 and 12."}));
    EXPECT_EQ(dialog.decremainders, 5);
    EXPECT_EQ(dialog.sugextend, 0);
    dialog.NumberEdit(3)->setText(QStringLiteral("-1"));
    ASSERT_TRUE(dialog.TakeControls());
    EXPECT_EQ(dialog.sugunav, 1);
    EXPECT_EQ(dialog.sugmulti, 1);
    EXPECT_EQ(dialog.sugextend, 1);
    EXPECT_EQ(dialog.sugtol, 100.0);
    EXPECT_EQ(dialog.sugtoltyp, 1);
    EXPECT_EQ(dialog.rmndfmt, 3);
    EXPECT_EQ(dialog.decremainders, 4);
    EXPECT_EQ(dialog.decrecipeinput, 12);
    dialog.ToleranceEdit()->setText(QStringLiteral("-5"));
    ASSERT_TRUE(dialog.TakeControls());
    EXPECT_EQ(dialog.sugtol, 0.0);

    // A tolerance that is no number is refused, not read as 0.
    dialog.ToleranceEdit()->setText(QStringLiteral("abc"));
    EXPECT_FALSE(dialog.TakeControls());
    EXPECT_EQ(m_messages.Last().text, "Please enter a number.");
    EXPECT_EQ(dialog.sugtol, 0.0);
    dialog.ToleranceEdit()->setText(QStringLiteral(" 2.5 "));
    ASSERT_TRUE(dialog.TakeControls());
    EXPECT_EQ(dialog.sugtol, 2.5);

    // Each of the four number fields goes to its own preference.
    dialog.NumberEdit(1)->setText(QStringLiteral("3"));
    dialog.NumberEdit(2)->setText(QStringLiteral("7"));
    ASSERT_TRUE(dialog.TakeControls());
    EXPECT_EQ(dialog.tzsremainders, 3);
    EXPECT_EQ(dialog.decrecipeinput, 7);

    // A stored tolerance unit beyond the two choices shows as the last one; extended suggestions
    // stored on show checked.
    CBatchPrefsDlg stored;
    stored.CopyFrom(g_prefs);
    stored.sugtoltyp = 4;
    stored.sugextend = 1;
    stored.InitDialog();
    EXPECT_EQ(stored.ToleranceUnits()->checkedId(), 1);
    EXPECT_TRUE(stored.OptionBox(2)->isChecked());
}

TEST_F(BatchCalcPrefsDlgTest, TheSuggestionOrderMustNameElements)
{
    CBatchPrefsDlg dialog;
    dialog.CopyFrom(g_prefs);
    dialog.InitDialog();
    for (const char* bad : {"Si Al Xx", "Si loi"}) {
        dialog.OrderEdit()->setText(QString::fromLatin1(bad));
        dialog.UseButton()->click();
        EXPECT_NE(dialog.result(), kBatchPrefsUse) << bad;
        ASSERT_FALSE(m_messages.boxes.empty());
        EXPECT_EQ(m_messages.Last().text, "Error in 'Oxide Suggestion Order'");
        EXPECT_EQ(m_messages.Last().Icon(), unsigned(MsgIconError));
    }
    dialog.OrderEdit()->clear();
    dialog.UseButton()->click();
    EXPECT_EQ(dialog.result(), kBatchPrefsUse);
    EXPECT_EQ(dialog.sugord, "");
}

TEST_F(BatchCalcPrefsDlgTest, UseSaveAndUseAndDefaults)
{
    g_prefs.sugord = "Si";
    g_savedPrefs.sugord = "Si";
    WhenDialogShows<CBatchPrefsDlg>([](CBatchPrefsDlg& dialog) {
        dialog.SetDefaults();
        EXPECT_EQ(ToCp1252(dialog.OrderEdit()->text()).substr(0, 6), "K B P ");
        dialog.reject();
    });
    EXPECT_FALSE(RunBatchPrefsDialog(nullptr));
    EXPECT_EQ(g_prefs.sugord, "Si") << "Set Defaults then Cancel changes nothing";

    WhenDialogShows<CBatchPrefsDlg>([](CBatchPrefsDlg& dialog) {
        dialog.OrderEdit()->setText(QStringLiteral("Ca Mg"));
        dialog.UseButton()->click();
    });
    EXPECT_TRUE(RunBatchPrefsDialog(nullptr));
    EXPECT_EQ(g_prefs.sugord, "Ca Mg");
    EXPECT_EQ(g_savedPrefs.sugord, "Si") << "Use changes the running program only";
    EXPECT_FALSE(std::filesystem::exists(m_dir / "prefs.dat"));

    WhenDialogShows<CBatchPrefsDlg>([](CBatchPrefsDlg& dialog) {
        dialog.ToleranceEdit()->setText(QStringLiteral("12.5"));
        dialog.SaveAndUseButton()->click();
    });
    EXPECT_TRUE(RunBatchPrefsDialog(nullptr));
    EXPECT_EQ(g_prefs.sugtol, 12.5);
    EXPECT_EQ(g_savedPrefs.sugtol, 12.5);
    EXPECT_EQ(g_savedPrefs.sugord, "Ca Mg");
    EXPECT_TRUE(std::filesystem::exists(m_dir / "prefs.dat"));
}
