#include "materials/SortMaterialsDlg.h"

#include "core/support/CheckedItems.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <QComboBox>
#include <QRadioButton>

#include <gtest/gtest.h>

TEST(SortMaterialsDlgTest, OxideListGroupsRolesAndReadsBackTheElement)
{
    CAppContext context;
    g_prefs.ApplyColorScheme();
    CSortMaterialsDlg dialog;
    dialog.sortChoice = 9;
    dialog.oxideElement = 13; // Al2O3, a neutral oxide
    dialog.InitDialog();
    EXPECT_EQ(dialog.ChoiceButton(9)->text(), QStringLiteral("Volatile % (LOI)"));
    EXPECT_TRUE(dialog.ChoiceButton(9)->isChecked());
    QComboBox* oxides = dialog.OxideCombo();
    ASSERT_NE(oxides, nullptr);
    EXPECT_EQ(oxides->currentText(), QStringLiteral("Al2O3"));
    EXPECT_EQ(dialog.comboPosition, oxides->currentIndex());

    // Alkalis, then neutrals, then acids, each group closed by a separator line.
    QStringList texts;
    for (int i = 0; i < oxides->count(); ++i)
        texts << oxides->itemText(i);
    EXPECT_EQ(texts.count(QStringLiteral("---")), 3);
    const qsizetype firstSeparator = texts.indexOf(QStringLiteral("---"));
    EXPECT_LT(texts.indexOf(QStringLiteral("Na2O")), firstSeparator);
    EXPECT_LT(texts.indexOf(QStringLiteral("CaO")), firstSeparator);
    EXPECT_GT(texts.indexOf(QStringLiteral("Al2O3")), firstSeparator);
    EXPECT_GT(texts.indexOf(QStringLiteral("SiO2")), texts.indexOf(QStringLiteral("---"), firstSeparator + 1));
    EXPECT_EQ(LastItem(texts), QStringLiteral("---"));

    dialog.ChoiceButton(10)->click();
    oxides->setCurrentIndex(texts.indexOf(QStringLiteral("SiO2")));
    dialog.accept();
    EXPECT_EQ(dialog.sortChoice, 10);
    EXPECT_EQ(dialog.oxideElement, 14);

    // A separator line, like no choice at all, gives no element.
    CSortMaterialsDlg separator;
    separator.oxideElement = 2; // helium: in no role group
    separator.InitDialog();
    EXPECT_EQ(separator.OxideCombo()->currentIndex(), -1);
    separator.accept();
    EXPECT_EQ(separator.oxideElement, -1);
    CSortMaterialsDlg line;
    line.InitDialog();
    line.OxideCombo()->setCurrentIndex(static_cast<int>(firstSeparator));
    line.accept();
    EXPECT_EQ(line.oxideElement, -1);
    EXPECT_EQ(line.sortChoice, 0);

    // A remembered choice past the list (a preferences file from elsewhere) checks none.
    CSortMaterialsDlg stale;
    stale.sortChoice = CSortMaterialsDlg::kChoiceCount;
    stale.InitDialog();
    EXPECT_EQ(stale.ChoiceButton(CSortMaterialsDlg::kChoiceCount), nullptr);
    for (int choice = 0; choice < CSortMaterialsDlg::kChoiceCount; ++choice)
        EXPECT_FALSE(stale.ChoiceButton(choice)->isChecked()) << choice;
}
