#include "materials/MaterialUnitsDlg.h"

#include "core/shell/FakeMessageService.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "ui/support/TestFolders.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

TEST(MaterialUnitsDlgTest, UnitClicksProposeScalingFromTheDatabaseUnit)
{
    CAppContext context;
    g_prefs.ApplyColorScheme();
    CMaterialUnitsDlg dialog;
    dialog.costUnit = 1;    // the database counts costs per kilogram
    dialog.densityUnit = 0; // and densities per cup
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Material Cost and Density Units"));
    EXPECT_EQ(dialog.CostFactorEdit()->text(), QStringLiteral("1.0"));
    EXPECT_EQ(dialog.PlacesLeftEdit()->text(), QStringLiteral("3"));

    dialog.KilogramRadio()->click();
    EXPECT_FALSE(dialog.MultiplyCostsCheck()->isChecked());
    EXPECT_EQ(dialog.CostFactorEdit()->text(), QStringLiteral("1.0"));
    dialog.PoundRadio()->click();
    EXPECT_TRUE(dialog.MultiplyCostsCheck()->isChecked());
    EXPECT_EQ(dialog.CostFactorEdit()->text(), QStringLiteral("0.453597"));
    dialog.KilogramRadio()->click();
    EXPECT_FALSE(dialog.MultiplyCostsCheck()->isChecked());
    EXPECT_EQ(dialog.CostFactorEdit()->text(), QStringLiteral("1.0"));

    dialog.DeciliterRadio()->click();
    EXPECT_TRUE(dialog.MultiplyDensitiesCheck()->isChecked());
    EXPECT_EQ(dialog.DensityFactorEdit()->text(), QStringLiteral("0.422699"));
    dialog.CupRadio()->click();
    EXPECT_FALSE(dialog.MultiplyDensitiesCheck()->isChecked());
    EXPECT_EQ(dialog.DensityFactorEdit()->text(), QStringLiteral("1.0"));
    EXPECT_EQ(dialog.costUnit, 1) << "the members change only with OK";
        dialog.show();
    dialog.grab().save(ScreenshotFolder() + "/material-units.png");
}

TEST(MaterialUnitsDlgTest, ValuesOutOfRangeKeepTheDialogOpen)
{
    CAppContext context;
    g_prefs.ApplyColorScheme();
    CFakeMessageService messages;
    CMaterialUnitsDlg dialog;
    dialog.costUnit = 0;
    dialog.densityUnit = 0;
    dialog.InitDialog();
    dialog.PlacesLeftEdit()->setText(QStringLiteral("11"));
    EXPECT_FALSE(dialog.SaveControls());
    dialog.PlacesLeftEdit()->setText(QStringLiteral("two"));
    EXPECT_FALSE(dialog.SaveControls());
    dialog.PlacesLeftEdit()->setText(QStringLiteral("10"));
    dialog.DensityFactorEdit()->setText(QStringLiteral("1000000"));
    EXPECT_FALSE(dialog.SaveControls());
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Please enter an integer between 0 and 10.",
                                                          "Please enter an integer between 0 and 10.",
                                                          "Please enter a number between 0 and 999999."}));
    EXPECT_EQ(dialog.placesLeft, 3) << "nothing taken from a refused exchange";

    dialog.DensityFactorEdit()->setText(QStringLiteral(" 0.5 "));
    dialog.MultiplyDensitiesCheck()->setChecked(true);
    dialog.DeciliterRadio()->click();
    dialog.DensityFactorEdit()->setText(QStringLiteral("0.5"));
    ASSERT_TRUE(dialog.SaveControls());
    EXPECT_EQ(dialog.placesLeft, 10);
    EXPECT_EQ(dialog.densityUnit, 1);
    EXPECT_EQ(dialog.multiplyDensities, 1);
    EXPECT_DOUBLE_EQ(dialog.densityFactor, 0.5);
    EXPECT_EQ(FormatUnitsFactor(2.0), "2.0");

    // The dialog opens on the database's units.
    CMaterialUnitsDlg perDeciliter;
    perDeciliter.densityUnit = 1;
    perDeciliter.costUnit = 1;
    perDeciliter.InitDialog();
    EXPECT_TRUE(perDeciliter.DeciliterRadio()->isChecked());
    EXPECT_TRUE(perDeciliter.KilogramRadio()->isChecked());
}

// Each unit choice has a place of its own: none hides under another.
TEST(MaterialUnitsDlgTest, EveryUnitChoiceHasItsOwnPlace)
{
    CAppContext context;
    CMaterialUnitsDlg dialog;
    dialog.InitDialog();
    const QList<QRadioButton*> radios = dialog.findChildren<QRadioButton*>();
    ASSERT_GE(radios.size(), 4);
    for (int i = 0; i < radios.size(); ++i) {
        for (int j = i + 1; j < radios.size(); ++j)
            EXPECT_FALSE(radios[i]->geometry().intersects(radios[j]->geometry()))
                << radios[i]->text().toStdString() << " / " << radios[j]->text().toStdString();
    }
}
