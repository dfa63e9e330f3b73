#include "elements/ElementInfoDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "core/shell/FakeMessageService.h"
#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "elements/SelectElementsDlg.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/NotesEdit.h"
#include "ui/support/TestFolders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ElementInfoDlgTest : public ::testing::Test {
protected:
    ElementInfoDlgTest() { g_prefs.ApplyColorScheme(); }

    // The dialog as the elements window fills it for element z of the defaults.
    void Fill(int z)
    {
        const CElementRecord& element = GetDefaultElement(z);
        dialog.backgroundColor = GetNamedColor("dlg_elinfo_bkg");
        dialog.symbol = element.symbol;
        dialog.ncat = dialog.defaultNcat = element.ncat;
        dialog.nan = dialog.defaultNan = element.nan;
        dialog.ncatred = dialog.defaultNcatred = element.ncatred;
        dialog.nanred = dialog.defaultNanred = element.nanred;
        dialog.difOxInRed = element.difoxinred;
        dialog.roleIndex = dialog.defaultRoleIndex = ElementRoleToIndex(element.role);
        dialog.roleRedIndex = dialog.defaultRoleRedIndex = ElementRoleToIndex(element.rolered);
        dialog.expansion = dialog.defaultExpansion = element.expansion;
        dialog.unusual = dialog.defaultUnusual = element.unusual;
        dialog.viscosity = dialog.defaultViscosity = element.viscosity;
        dialog.stension = dialog.defaultStension = element.stension;
        dialog.InitDialog();
    }
    QString Text(int id) const { return dialog.Label(id)->text(); }
    void Press(int id, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(dialog.Button(id), Qt::LeftButton);
    }

    CAppContext context;
    CFakeMessageService messages;
    CElementInfoDlg dialog{nullptr, "26  Iron", 332};
};

} // namespace

TEST(ElementRoleItems, RolesMapToTheSevenItemsAndBack)
{
    const std::pair<std::int32_t, int> roles[] = {
        {0x10, 0}, {0x90, 1}, {0x04, 2}, {0x08, 3}, {0x88, 4}, {0x02, 5}, {0x01, 6}, {0, 6}, {0x14, 0}, {0x0C, 2},
    };
    for (const auto& [role, index] : roles)
        EXPECT_EQ(ElementRoleToIndex(role), index) << role;
    for (int index = 0; index < kElementRoleItemCount; ++index)
        EXPECT_EQ(ElementRoleToIndex(ElementRoleFromIndex(index)), index);
    EXPECT_EQ(ElementRoleFromIndex(7), 0);
    EXPECT_EQ(ElementRoleFromIndex(-1), 0);
    EXPECT_STREQ(ElementRoleItemText(6), "Not expected in ceramic materials");

    EXPECT_EQ(ElementInfoOxideText("Fe", 2, 3), "Fe2O3");
    EXPECT_EQ(ElementInfoOxideText("Si", 1, 2), "SiO2");
    EXPECT_EQ(ElementInfoOxideText("He", 1, 0), "He");
    EXPECT_EQ(ElementInfoOxideText("Fe", 0, 1), "O");

    EXPECT_EQ(CoefficientText(-999), "?");
    EXPECT_EQ(CoefficientText(0.67), "0.67");
    EXPECT_EQ(CoefficientText(-998), "-998");
    EXPECT_EQ(CoefficientFromText("?"), -999.0);
    EXPECT_EQ(CoefficientFromText("0.5?"), -999.0);
    EXPECT_EQ(CoefficientFromText("0.5"), 0.5);
    EXPECT_EQ(CoefficientFromText("abc"), 0.0);
}

TEST_F(ElementInfoDlgTest, OxideRowsFollowTheCountsAndTheReductionBox)
{
    Fill(26);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("26  Iron"));
    EXPECT_EQ(Text(CElementInfoDlg::IdOxide), QStringLiteral("Fe2O3"));
    EXPECT_EQ(Text(CElementInfoDlg::IdOxideRed), QStringLiteral("FeO"));
    EXPECT_EQ(Text(CElementInfoDlg::IdNcatLabel), QStringLiteral("Fe :"));
    EXPECT_EQ(Text(CElementInfoDlg::IdNcatRedLabel), QStringLiteral("Fe :"));
    EXPECT_TRUE(dialog.Check(CElementInfoDlg::IdDifOxInRed)->isChecked());
    EXPECT_TRUE(dialog.Control(CElementInfoDlg::IdNcatRedPlus)->isEnabled());
    EXPECT_EQ(dialog.Combo(CElementInfoDlg::IdRole)->currentText(), QStringLiteral("Acid (amphoteric)"));

    Press(CElementInfoDlg::IdNcatMinus, 3);
    EXPECT_EQ(dialog.ncat, 1);
    Press(CElementInfoDlg::IdNanMinus, 5);
    EXPECT_EQ(dialog.nan, 0);
    EXPECT_EQ(Text(CElementInfoDlg::IdOxide), QStringLiteral("Fe"));
    Press(CElementInfoDlg::IdNcatPlus, 25);
    Press(CElementInfoDlg::IdNanPlus, 25);
    EXPECT_EQ(dialog.ncat, 20);
    EXPECT_EQ(dialog.nan, 20);
    EXPECT_EQ(Text(CElementInfoDlg::IdOxide), QStringLiteral("Fe20O20"));
    Press(CElementInfoDlg::IdOxideDefault);
    EXPECT_EQ(Text(CElementInfoDlg::IdOxide), QStringLiteral("Fe2O3"));
    Press(CElementInfoDlg::IdNanRedPlus);
    EXPECT_EQ(Text(CElementInfoDlg::IdOxideRed), QStringLiteral("FeO2"));
    // A count beyond the buttons' range (element files allow 99) is never pushed back by +.
    dialog.ncatred = 30;
    Press(CElementInfoDlg::IdNcatRedPlus);
    EXPECT_EQ(dialog.ncatred, 30);
    Press(CElementInfoDlg::IdNcatRedMinus);
    EXPECT_EQ(dialog.ncatred, 29);
    Press(CElementInfoDlg::IdOxideRedDefault);
    Press(CElementInfoDlg::IdNanRedPlus);

    // Clearing the box disables the row's counts but keeps them; OK stores the flag only.
    QTest::mouseClick(dialog.Check(CElementInfoDlg::IdDifOxInRed), Qt::LeftButton);
    EXPECT_EQ(Text(CElementInfoDlg::IdOxideRed), QString());
    EXPECT_FALSE(dialog.Control(CElementInfoDlg::IdNcatRedPlus)->isEnabled());
    EXPECT_FALSE(dialog.Control(CElementInfoDlg::IdRoleRedLabel)->isEnabled());
    EXPECT_TRUE(dialog.Control(CElementInfoDlg::IdRoleRed)->isEnabled());
    EXPECT_TRUE(dialog.Control(CElementInfoDlg::IdRoleRedDefault)->isEnabled());
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.difOxInRed, 0);
    EXPECT_EQ(dialog.ncatred, 1);
    EXPECT_EQ(dialog.nanred, 2);

        dialog.Check(CElementInfoDlg::IdDifOxInRed)->click();
    EXPECT_TRUE(dialog.grab().save(ScreenshotFolder() + "/element-information-dialog.png"));
}

TEST_F(ElementInfoDlgTest, SiliconHasNoReductionOxide)
{
    Fill(14);
    EXPECT_EQ(Text(CElementInfoDlg::IdOxide), QStringLiteral("SiO2"));
    EXPECT_EQ(Text(CElementInfoDlg::IdOxideRed), QString());
    EXPECT_FALSE(dialog.Check(CElementInfoDlg::IdDifOxInRed)->isChecked());
    EXPECT_FALSE(dialog.Control(CElementInfoDlg::IdOxideRed)->isEnabled());
    EXPECT_FALSE(dialog.Control(CElementInfoDlg::IdOxideRedDefault)->isEnabled());
}

TEST_F(ElementInfoDlgTest, CoefficientsNotesAndDefaultsAreReadBackOnOk)
{
    Fill(23); // vanadium: unknown expansion, acid amphoteric
    dialog.notes = {"old"};
    EXPECT_EQ(dialog.Edit(CElementInfoDlg::IdExpansion)->text(), QStringLiteral("?"));
    EXPECT_EQ(dialog.Edit(CElementInfoDlg::IdSurfaceTension)->text(), QStringLiteral("6.1"));

    dialog.Combo(CElementInfoDlg::IdRole)->setCurrentIndex(5);
    Press(CElementInfoDlg::IdRoleDefault);
    EXPECT_EQ(dialog.Combo(CElementInfoDlg::IdRole)->currentIndex(), 4);

    dialog.Edit(CElementInfoDlg::IdExpansion)->setText(QStringLiteral("0.5"));
    dialog.Check(CElementInfoDlg::IdUnusual)->setChecked(true);
    dialog.Edit(CElementInfoDlg::IdViscosity)->setText(QStringLiteral("2 ?"));
    dialog.Edit(CElementInfoDlg::IdSurfaceTension)->setText(QStringLiteral("7"));
    Press(CElementInfoDlg::IdSurfaceTensionDefault);
    EXPECT_EQ(dialog.Edit(CElementInfoDlg::IdSurfaceTension)->text(), QStringLiteral("6.1"));
    dialog.NotesBox(CElementInfoDlg::IdNotes)->setPlainText(QStringLiteral("Toxic  \n\n  handle with care\n\n\n"));
    dialog.Combo(CElementInfoDlg::IdRoleRed)->setCurrentIndex(3);
    // A coefficient is all number or unknown: "3,4" is refused in each, not taken as 3.
    for (int id : {CElementInfoDlg::IdExpansion, CElementInfoDlg::IdViscosity, CElementInfoDlg::IdSurfaceTension}) {
        const QString kept = dialog.Edit(id)->text();
        dialog.Edit(id)->setText(QStringLiteral("3,4"));
        dialog.accept();
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Please enter a number."}) << id;
        messages.boxes.clear();
        EXPECT_EQ(dialog.result(), 0) << id;
        EXPECT_EQ(dialog.expansion, -999.0) << id;
        EXPECT_EQ(dialog.stension, 6.1) << id;
        dialog.Edit(id)->setText(kept);
    }
    dialog.Edit(CElementInfoDlg::IdExpansion)->setText(QStringLiteral("0.5"));
    dialog.accept();
    EXPECT_EQ(dialog.expansion, 0.5);
    EXPECT_EQ(dialog.unusual, 1);
    EXPECT_EQ(dialog.viscosity, -999.0);
    EXPECT_EQ(dialog.stension, 6.1);
    EXPECT_EQ(dialog.roleIndex, 4);
    EXPECT_EQ(dialog.roleRedIndex, 3);
    EXPECT_EQ(dialog.notes, (CStringArrayEx{"Toxic", "", "  handle with care"}));
    EXPECT_TRUE(dialog.annotations.empty());

    Press(CElementInfoDlg::IdExpansionDefault);
    EXPECT_EQ(dialog.Edit(CElementInfoDlg::IdExpansion)->text(), QStringLiteral("?"));
    EXPECT_FALSE(dialog.Check(CElementInfoDlg::IdUnusual)->isChecked());

    QTest::keyClick(&dialog, Qt::Key_F1);
    Press(kHelpButtonId);
    ASSERT_EQ(messages.helps.size(), 2u);
    EXPECT_EQ(messages.helps[0].id, 332u);
}

TEST_F(ElementInfoDlgTest, SelectElementsListsEveryElementWithItsGroup)
{
    EXPECT_EQ(SelectElementsRow(GetDefaultElement(14)), " 14\tSilicon\tAcid");
    EXPECT_EQ(SelectElementsRow(GetDefaultElement(103)), "103\tLawrencium\t(not expected)");
    EXPECT_STREQ(SelectElementsGroupWord(kRoleVolatile), "(volatile)");
    EXPECT_STREQ(SelectElementsGroupWord(kRoleAlkali | kRoleAmphoteric), "Alkali");

    CSelectElementsDlg select(nullptr);
    select.flags[5] = 1;
    select.flags[26] = 1;
    select.InitDialog();
    EXPECT_EQ(select.windowTitle(), QStringLiteral("Select Elements to Print"));
    ASSERT_EQ(select.List()->count(), 103);
    EXPECT_EQ(ListRow(select.List(), 0).text(), QStringLiteral("  1\tHydrogen\t(volatile)"));
    EXPECT_EQ(select.List()->selectedItems().size(), 2);
    EXPECT_EQ(select.List()->currentRow(), 4) << "the caret ends on the lowest chosen element";
    EXPECT_EQ(select.TabStops().size(), 4u);

    ListRow(select.List(), 10).setSelected(true);
    ListRow(select.List(), 25).setSelected(false);
    select.OkButton()->click();
    EXPECT_EQ(select.count, 2);
    EXPECT_EQ(select.flags[5], 1);
    EXPECT_EQ(select.flags[11], 1);
    EXPECT_EQ(select.flags[26], 0);
    EXPECT_EQ(select.helpId, 331u);
}
