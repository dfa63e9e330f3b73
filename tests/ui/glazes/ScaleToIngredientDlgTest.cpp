#include "glazes/ScaleToIngredientDlg.h"

#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

TEST(ScaleToIngredientDlgTest, AChosenLineOffersItsAmountUntilTheUserTypesOne)
{
    CAppContext context;
    g_prefs.ApplyColorScheme();
    CScaleToIngredientDlg dialog;
    dialog.ingredients = {"Silica", "Whiting", "Kaolin"};
    dialog.amounts = {"30", "20.5", "12"};
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Scale to Ingredient"));
    EXPECT_EQ(dialog.IngredientCombo()->currentIndex(), -1);
    EXPECT_TRUE(dialog.WorkingBatchCheck()->isChecked());

    const auto choose = [&dialog](int row) {
        dialog.IngredientCombo()->setCurrentIndex(row);
        emit dialog.IngredientCombo()->activated(row);
    };
    choose(1);
    EXPECT_EQ(dialog.AmountEdit()->text(), QStringLiteral("20.5"));
    choose(2);
    EXPECT_EQ(dialog.AmountEdit()->text(), QStringLiteral("12"));
    dialog.AmountEdit()->selectAll();
    QTest::keyClicks(dialog.AmountEdit(), QStringLiteral("500"));
    choose(0);
    EXPECT_EQ(dialog.AmountEdit()->text(), QStringLiteral("500"));

    dialog.WorkingBatchCheck()->setChecked(false);
    dialog.accept();
    EXPECT_EQ(dialog.row, 0);
    EXPECT_EQ(dialog.amount, "500");
    EXPECT_EQ(dialog.workingBatchOnly, 0);
}
