#include "materials/EditFormulaDlg.h"

#include "core/shell/FakeMessageService.h"
#include "materials/EditFormulaPrefsDlg.h"
#include "materials/FormulaConversionDlg.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "ui/support/OverlapCheck.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The default columns: 1 Na2O,K2O,MgO,CaO,Li2O,ZnO,SrO,BaO,PbO; 2 Al2O3,B2O3;
// 3 SiO2,P2O5,TiO2,Fe2O3,ZrO2,SnO2; 4 LOI,H2O,CO2,SO3,F2,Cl2.
class EditFormulaDlgTest : public ::testing::Test {
protected:
    EditFormulaDlgTest() { g_prefs.ApplyColorScheme(); }

    CAppContext m_context;
    CFakeMessageService m_messages;
};

QString Status(const CEditFormulaDlg& dialog)
{
    return dialog.StatusLabel()->text();
}

} // namespace

TEST_F(EditFormulaDlgTest, FormulaTextGoesToTheGridAndComesBackInColumnOrder)
{
    const std::string nepheline = "% 60.4 SiO2  23.6 Al2O3  10.2 Na2O  4.8 K2O  0.4 CaO  0.1 MgO  0.1 Fe2O3  0.4 LOI";
    CEditFormulaDlg dialog(nullptr, nepheline);
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Formula"));
    EXPECT_TRUE(dialog.KindRadio(kGridWeightPercent)->isChecked());
    EXPECT_EQ(dialog.RowLabel(2, 0)->text(), QStringLiteral("SiO2"));
    EXPECT_EQ(dialog.AmountEdit(2, 0)->text(), QStringLiteral("60.4"));
    EXPECT_EQ(dialog.AmountEdit(1, 0)->text(), QStringLiteral("23.6"));
    EXPECT_EQ(dialog.AmountEdit(0, 0)->text(), QStringLiteral("10.2"));
    EXPECT_EQ(dialog.AmountEdit(3, 0)->text(), QStringLiteral("0.4"));
    EXPECT_TRUE(dialog.AmountEdit(0, 9)->isHidden()) << "the first column names nine rows";
    EXPECT_EQ(Status(dialog), QStringLiteral("Percentage sum: 100%"));
    EXPECT_TRUE(dialog.ConvertButton()->isEnabled());
    EXPECT_FALSE(dialog.NormalizeButton()->isEnabled());
    EXPECT_FALSE(dialog.PercentLabel(2, 0)->isHidden());
    EXPECT_EQ(dialog.ForceLabel()->text(), QStringLiteral("Force % Sum :"));
    EXPECT_EQ(dialog.GridText(),
              "% 10.2 Na2O  4.8 K2O  0.1 MgO  0.4 CaO  23.6 Al2O3  60.4 SiO2  0.1 Fe2O3  0.4 LOI");

        dialog.grab().save(ScreenshotFolder() + "/edit-formula.png");

    // Editing a cell, then OK: the components come back in display order, an extra cell's
    // component among them.
    dialog.AmountEdit(2, 0)->setText(QStringLiteral(" 60 "));
    dialog.OnAmountLeft(dialog.AmountEdit(2, 0));
    EXPECT_EQ(dialog.AmountEdit(2, 0)->text(), QStringLiteral("60"));
    EXPECT_EQ(Status(dialog), QStringLiteral("Percentage sum: 99.6%"));
    EXPECT_TRUE(dialog.NormalizeButton()->isEnabled());
    EXPECT_TRUE(dialog.AddLoiButton()->isEnabled());
    EXPECT_TRUE(dialog.ConvertButton()->isEnabled()) << "99.6 rounds to 100";
    dialog.OtherEdit()->setText(QStringLiteral("0.4 B2O3"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.formula,
              "% 10.2 Na2O  4.8 K2O  0.1 MgO  0.4 CaO  23.6 Al2O3  0.4 B2O3  60 SiO2  0.1 Fe2O3  0.4 LOI");
}

// A compound comes into the grid broken apart into its oxides only when the preferences say so.
TEST_F(EditFormulaDlgTest, ACompoundIsBrokenApartOnlyWhenThePreferencesSaySo)
{
    for (const int breakApart : {0, 1}) {
        g_prefs.formedbrkcmplx = breakApart;
        CEditFormulaDlg dialog(nullptr, "CaCO3");
        dialog.InitDialog();
        EXPECT_EQ(dialog.GridText(), breakApart ? "CaO  CO2" : "CaCO3") << breakApart;
    }
}

TEST_F(EditFormulaDlgTest, ComponentsOutsideTheColumnsFillTheExtraCellsThenTheOtherField)
{
    CEditFormulaDlg dialog(nullptr, "CuO Cr2O3 CoO NiO MnO2 V2O5 Cs2O Rb2O SiO2 2 SiO2");
    dialog.InitDialog();
    EXPECT_EQ(dialog.Grid().ExtraCount(), 6);
    EXPECT_EQ(dialog.ExtraLabel(0)->text(), QStringLiteral("CuO"));
    EXPECT_EQ(dialog.ExtraEdit(0)->text(), QStringLiteral("1.0"));
    EXPECT_EQ(dialog.ExtraLabel(5)->text(), QStringLiteral("V2O5"));
    EXPECT_EQ(dialog.OtherEdit()->text(), QStringLiteral("Cs2O  Rb2O  2 SiO2")) << "a repeated component is kept";
    EXPECT_EQ(dialog.AmountEdit(2, 0)->text(), QStringLiteral("1.0"));
    EXPECT_EQ(dialog.GridText(), "SiO2  CuO  Cr2O3  CoO  NiO  MnO2  V2O5  Cs2O  Rb2O  2 SiO2")
        << "molecular amounts of 1 are written without a number";

    // In % weight the 1 is kept; 0 and negative cells are left out; text is refused.
    dialog.KindRadio(kGridWeightPercent)->click();
    dialog.OtherEdit()->clear();
    dialog.ExtraEdit(1)->setText(QStringLiteral("0"));
    dialog.ExtraEdit(2)->setText(QStringLiteral("-2"));
    dialog.ExtraEdit(3)->clear();
    dialog.ExtraEdit(4)->clear();
    dialog.ExtraEdit(5)->clear();
    EXPECT_EQ(dialog.GridText(), "% 1.0 SiO2  1.0 CuO");
    dialog.ExtraEdit(1)->setText(QStringLiteral("lots"));
    dialog.OnAmountLeft(dialog.ExtraEdit(1));
    dialog.OnAmountLeft(dialog.ExtraEdit(0));
    EXPECT_EQ(Status(dialog), QStringLiteral("Amount must be a positive number")) << "until the cell is mended";
    EXPECT_FALSE(dialog.ConvertButton()->isEnabled());
    EXPECT_FALSE(dialog.NormalizeButton()->isEnabled());

    // A forced value typed in % weight is written; switching to % molecular hides and drops it,
    // whatever it holds.
    dialog.ExtraEdit(1)->clear();
    dialog.ForceEdit()->setText(QStringLiteral("x"));
    dialog.OnForceLeft();
    dialog.OnAmountLeft(dialog.ExtraEdit(0));
    EXPECT_EQ(Status(dialog), QStringLiteral("Forced % sum must be a positive number"));
    dialog.ForceEdit()->setText(QStringLiteral("100"));
    dialog.OnForceLeft();
    EXPECT_EQ(dialog.GridText(), "%[Sum=100] 1.0 SiO2  1.0 CuO");
    dialog.ForceEdit()->setText(QStringLiteral("x"));
    dialog.KindRadio(kGridMolePercent)->click();
    EXPECT_TRUE(dialog.ForceEdit()->isHidden());
    EXPECT_EQ(Status(dialog), QStringLiteral("Percentage sum: 2%"));
    EXPECT_EQ(dialog.GridText(), "%m 1.0 SiO2  1.0 CuO");
    dialog.ForceEdit()->setText(QStringLiteral("100"));
    dialog.KindRadio(kGridMolecular)->click();
    EXPECT_EQ(dialog.ForceLabel()->text(), QStringLiteral("Force Mol. Wt. :"));
    EXPECT_EQ(dialog.GridText(), "[MW=100] SiO2  CuO");

    // A stored forced sum shows in its field and is written back.
    CEditFormulaDlg forced(nullptr, "%[Sum=100] 1.0 SiO2  1.0 CuO");
    forced.InitDialog();
    EXPECT_EQ(forced.ForceEdit()->text(), QStringLiteral("100"));
    EXPECT_EQ(forced.GridText(), "%[Sum=100] 1.0 SiO2  1.0 CuO");
}

// Regression: a cell that is no number ("1,5" for SiO2) held the status line on its refusal only
// until another cell was left: the status then showed the weight with 1 SiO2, Convert was
// enabled, and Setup... > Use turned the cell into "1.0" ("abc" into nothing) without a word.
// The refusal holds until the cell is mended, and Setup refuses the cell as OK does.
TEST_F(EditFormulaDlgTest, ACellThatIsNoNumberHoldsTheStatusAndNothingRewritesIt)
{
    for (const char* typed : {"1,5", "abc"}) {
        CEditFormulaDlg dialog(nullptr, "K2O  Al2O3  6SiO2");
        dialog.InitDialog();
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QLineEdit* potash = dialog.AmountEdit(0, 1);
        QLineEdit* alumina = dialog.AmountEdit(1, 0);
        QLineEdit* silica = dialog.AmountEdit(2, 0);
        const auto typeInto = [](QLineEdit* cell, const char* text) {
            cell->setFocus(Qt::TabFocusReason);
            cell->selectAll();
            QTest::keyClicks(cell, QString::fromLatin1(text));
        };
        typeInto(silica, typed);
        typeInto(alumina, "1.2");
        EXPECT_EQ(Status(dialog), QStringLiteral("Amount must be a positive number")) << typed;
        potash->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Status(dialog), QStringLiteral("Amount must be a positive number")) << typed;
        EXPECT_FALSE(dialog.ConvertButton()->isEnabled()) << typed;
        QTest::mouseClick(dialog.KindRadio(kGridWeightPercent), Qt::LeftButton);
        EXPECT_EQ(Status(dialog), QStringLiteral("Amount must be a positive number")) << typed;
        EXPECT_FALSE(dialog.NormalizeButton()->isEnabled()) << typed;
        EXPECT_FALSE(dialog.AddLoiButton()->isEnabled()) << typed;
        QTest::mouseClick(dialog.KindRadio(kGridMolecular), Qt::LeftButton);

        // Setup... and OK refuse the cell as typed, selected for the user to mend.
        bool setupShown = false;
        const auto useIfShown = [&setupShown] {
            QTimer::singleShot(0, [&setupShown] {
                if (auto* setup = qobject_cast<CEditFormulaPrefsDlg*>(QApplication::activeModalWidget())) {
                    setupShown = true;
                    setup->UseButton()->click();
                }
            });
        };
        for (QPushButton* button : {dialog.SetupButton(), dialog.OkButton()}) {
            m_messages.boxes.clear();
            useIfShown();
            QTest::mouseClick(button, Qt::LeftButton);
            QApplication::processEvents();
            EXPECT_FALSE(setupShown) << typed;
            EXPECT_TRUE(dialog.isVisible()) << typed;
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Amount must be a positive number"}) << typed;
            EXPECT_EQ(silica->text(), QString::fromLatin1(typed));
            EXPECT_EQ(QApplication::focusWidget(), silica) << typed;
            EXPECT_EQ(silica->selectedText(), QString::fromLatin1(typed));
            EXPECT_EQ(Status(dialog), QStringLiteral("Amount must be a positive number")) << typed;
        }

        // Mended, the status shows the formula's weight again, and Setup lays the grid out anew.
        m_messages.boxes.clear();
        QTest::keyClicks(silica, QStringLiteral("6"));
        alumina->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Status(dialog).toStdString(), "Mol. Wt. : 577.055");
        EXPECT_TRUE(dialog.ConvertButton()->isEnabled());
        useIfShown();
        QTest::mouseClick(dialog.SetupButton(), Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_TRUE(setupShown);
        EXPECT_EQ(dialog.GridText(), "K2O  1.2 Al2O3  6 SiO2");
        EXPECT_TRUE(m_messages.boxes.empty());
        dialog.hide();
    }
}

TEST_F(EditFormulaDlgTest, ButtonsNormaliseAddLoiClearAndRefuseEmptyOrBadFormulas)
{
    CEditFormulaDlg dialog(nullptr, "% 50 SiO2  45 Al2O3");
    dialog.InitDialog();
    dialog.AddLoiButton()->click();
    EXPECT_EQ(dialog.AmountEdit(3, 0)->text(), QStringLiteral("5"));
    EXPECT_EQ(Status(dialog), QStringLiteral("Percentage sum: 100%"));

    dialog.AmountEdit(3, 0)->clear();
    dialog.OnAmountLeft(dialog.AmountEdit(3, 0));
    EXPECT_EQ(Status(dialog), QStringLiteral("Percentage sum: 95%"));
    dialog.NormalizeButton()->click();
    EXPECT_EQ(Status(dialog), QStringLiteral("Percentage sum: 100%"));
    EXPECT_EQ(dialog.GridText(), "% 47.368 Al2O3  52.632 SiO2");

    dialog.OnClear();
    EXPECT_EQ(dialog.GridText(), "");
    EXPECT_TRUE(dialog.KindRadio(kGridMolecular)->isChecked());
    EXPECT_EQ(Status(dialog), QStringLiteral("Mol. Wt. : 0"));
    dialog.OnConvert();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Formula is empty");
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconError));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30281u);

    // A formula that does not parse loses nothing: its text waits in the other-components field.
    dialog.FillGrid("%[Sum=90] 40 SiO2 Qq");
    EXPECT_TRUE(dialog.KindRadio(kGridWeightPercent)->isChecked());
    EXPECT_EQ(dialog.ForceEdit()->text(), QStringLiteral("90"));
    EXPECT_EQ(dialog.OtherEdit()->text(), QStringLiteral("40 SiO2 Qq"));
    EXPECT_EQ(Status(dialog), QStringLiteral("Unrecognized element symbol 'Qq'"));
    dialog.accept();
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(1).text, "Error in formula:\n  Unrecognized element symbol 'Qq'");
    EXPECT_EQ(m_messages.At(1).Icon(), 0u);
    EXPECT_EQ(m_messages.At(1).helpId, 0x30280u);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    // Convert says the same, as an error.
    dialog.OnConvert();
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_messages.At(2).text, "Error in formula:\n  Unrecognized element symbol 'Qq'");
    EXPECT_EQ(m_messages.At(2).Icon(), unsigned(MsgIconError));
}

TEST_F(EditFormulaDlgTest, ConvertRunsTheConversionDialogOnTheGrid)
{
    CEditFormulaDlg dialog(nullptr, "CaO CO2");
    dialog.InitDialog();
    QTimer::singleShot(10, [] {
        auto* conversion = qobject_cast<CFormulaConversionDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(conversion, nullptr);
        EXPECT_TRUE(conversion->Radio(1)->isEnabled());
        conversion->Radio(1)->click(); // Convert to Weight %
        conversion->DecimalsEdit()->setText(QStringLiteral("1"));
        conversion->accept();
    });
    dialog.OnConvert();
    EXPECT_TRUE(dialog.KindRadio(kGridWeightPercent)->isChecked());
    EXPECT_EQ(dialog.AmountEdit(0, 3)->text(), QStringLiteral("56"));
    EXPECT_EQ(dialog.AmountEdit(3, 2)->text(), QStringLiteral("44"));
}

TEST_F(EditFormulaDlgTest, SetupChecksTheColumnsAndRelaysTheGrid)
{
    CEditFormulaPrefsDlg prefs;
    prefs.columns = {"SiO2, Al2O3, Xx", "CaO", "MgO", "LOI"};
    prefs.InitDialog();
    prefs.show(); // the children of a dialog never shown all count as hidden
    EXPECT_EQ(OverlappingControls(prefs), std::vector<std::string>());
    prefs.hide();
    EXPECT_FALSE(prefs.TakeControls());
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Error in 'Formula Edit column 1'");
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconError));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30282u);
    prefs.ColumnEdit(0)->setText(QStringLiteral("SiO2,Al2O3"));
    prefs.ColumnEdit(3)->setText(QStringLiteral("Zz"));
    EXPECT_FALSE(prefs.TakeControls());
    EXPECT_EQ(m_messages.At(1).text, "Error in 'Formula Edit column 4'");
    prefs.SetDefaults();
    EXPECT_EQ(prefs.ColumnEdit(1)->text(), QStringLiteral("Al2O3,B2O3"));
    EXPECT_TRUE(prefs.TakeControls());
        prefs.grab().save(ScreenshotFolder() + "/edit-formula-prefs.png");

    CEditFormulaDlg dialog(nullptr, "K2O Al2O3 6SiO2");
    dialog.InitDialog();
    QTimer::singleShot(10, [] {
        auto* setup = qobject_cast<CEditFormulaPrefsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        setup->ColumnEdit(0)->setText(QStringLiteral("SiO2,Al2O3"));
        setup->ColumnEdit(1)->setText(QStringLiteral("K2O"));
        setup->UseButton()->click();
    });
    dialog.OnSetup();
    EXPECT_EQ(g_prefs.formedcol1, "SiO2,Al2O3");
    EXPECT_EQ(g_savedPrefs.formedcol1, CPreferences().formedcol1) << "Use leaves the stored copy alone";
    // Save and Use stores the columns as well (into a file of the test's own).
    const QTemporaryDir folder;
    g_savedPrefs.m_strFilePath = folder.filePath(QStringLiteral("prefs.ini")).toStdString();
    QTimer::singleShot(10, [] {
        auto* setup = qobject_cast<CEditFormulaPrefsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        setup->ColumnEdit(1)->setText(QStringLiteral("K2O,Na2O"));
        setup->SaveAndUseButton()->click();
    });
    dialog.OnSetup();
    EXPECT_EQ(g_prefs.formedcol2, "K2O,Na2O");
    EXPECT_EQ(g_savedPrefs.formedcol1, "SiO2,Al2O3");
    EXPECT_EQ(g_savedPrefs.formedcol2, "K2O,Na2O");
    QFile saved(folder.filePath(QStringLiteral("prefs.ini")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("formedcol2 = K2O,Na2O"));
    EXPECT_EQ(dialog.RowLabel(0, 1)->text(), QStringLiteral("Al2O3"));
    EXPECT_EQ(dialog.AmountEdit(0, 0)->text(), QStringLiteral("6"));
    EXPECT_EQ(dialog.AmountEdit(1, 0)->text(), QStringLiteral("1.0"));
    EXPECT_EQ(dialog.GridText(), "6 SiO2  Al2O3  K2O");
}

TEST_F(EditFormulaDlgTest, EveryButtonLiesInsideTheDialog)
{
    CEditFormulaDlg dialog(nullptr, "SiO2");
    dialog.InitDialog();
    const QRect inside = dialog.rect();
    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    ASSERT_GE(buttons.size(), 8);
    for (const QPushButton* button : buttons) {
        const QRect at = button->geometry();
        EXPECT_TRUE(inside.contains(at)) << button->text().toStdString() << " at " << at.left() << "," << at.top();
    }
}

TEST_F(EditFormulaDlgTest, TheExtraCellsStayInsideTheDialogAndApart)
{
    CEditFormulaDlg dialog(nullptr, "CuO Cr2O3 CoO NiO MnO2 V2O5 Cs2O Rb2O SiO2 2 SiO2");
    dialog.InitDialog();
    dialog.show(); // the children of a dialog never shown all count as hidden
    EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>());
    // Each name stands level with its field, in the columns and in the extra cells.
    const auto level = [](const QLabel* name, const QLineEdit* field) {
        return name->geometry().top() >= field->geometry().top() &&
               name->geometry().bottom() <= field->geometry().bottom() + 1; // rounding
    };
    EXPECT_TRUE(level(dialog.RowLabel(2, 0), dialog.AmountEdit(2, 0)));
    for (int cell = 0; cell < 6; ++cell)
        EXPECT_TRUE(level(dialog.ExtraLabel(cell), dialog.ExtraEdit(cell))) << cell;
    // In % weight every extra cell in use shows its % sign, and they still stand apart.
    dialog.KindRadio(kGridWeightPercent)->click();
    for (int cell = 0; cell < 6; ++cell) {
        const auto* percent = dialog.findChild<QLabel*>(QString::number(kEditFormulaExtraPercent + cell));
        ASSERT_NE(percent, nullptr);
        EXPECT_TRUE(percent->isVisible()) << cell;
    }
    EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>());
    dialog.hide();
}
