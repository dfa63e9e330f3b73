#include "tools/OptimizeDispositionDlg.h"

#include "BatchOptDlgFixture.h"
#include "framework/Cp1252.h"
#include "ui/support/OverlapCheck.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

class OptimizeDispositionDlgTest : public BatchOptDlgFixture {};

} // namespace

TEST_F(OptimizeDispositionDlgTest, TheChecksDecideTheDestinationAndTheDefaultName)
{
    CDispositionDlg dialog;
    dialog.currentAvailable = true;
    dialog.recipeAvailable = true;
    dialog.where = kDispositionCurrentGlaze;
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Disposition"));
    EXPECT_TRUE(dialog.CurrentRadio()->isChecked());
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("New Optimized Glaze"));
    EXPECT_FALSE(dialog.ScaleToEdit()->text().isEmpty());
    SaveScreenshot(dialog, "optimize-disposition");

    dialog.RecipeBox()->click();
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("New Optimization Parameters"));
    EXPECT_FALSE(dialog.ScaleBox()->isEnabled());
    dialog.ParametersBox()->click();
    EXPECT_EQ(dialog.NameEdit()->text(), QString());
    EXPECT_FALSE(dialog.CurrentRadio()->isEnabled());
    EXPECT_FALSE(dialog.NewRadio()->isEnabled());
    EXPECT_FALSE(dialog.NameEdit()->isEnabled());

    dialog.ParametersBox()->click();
    dialog.RecipeBox()->click();
    EXPECT_TRUE(dialog.CurrentRadio()->isEnabled());
    EXPECT_TRUE(dialog.ScaleBox()->isEnabled());
    // Typing a name chooses a new glaze and keeps the name from then on.
    QTest::keyClicks(dialog.NameEdit(), QStringLiteral(" Blue"));
    EXPECT_TRUE(dialog.nameEdited);
    EXPECT_TRUE(dialog.NewRadio()->isChecked());
    dialog.RecipeBox()->click();
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("New Optimized Glaze Blue"));
    dialog.CurrentRadio()->click();
    Enter(dialog.NameEdit());
    EXPECT_TRUE(dialog.NewRadio()->isChecked()) << "coming into the name chooses a new glaze";

    dialog.accept();
    EXPECT_TRUE(dialog.saveParameters);
    EXPECT_FALSE(dialog.saveRecipe);
    EXPECT_EQ(dialog.where, kDispositionNewGlaze);
    EXPECT_EQ(dialog.newName, "New Optimized Glaze Blue");
}

TEST_F(OptimizeDispositionDlgTest, WithoutCurrentGlazeOrRecipe)
{
    CDispositionDlg dialog;
    dialog.where = kDispositionCurrentGlaze;
    dialog.InitDialog();
    EXPECT_FALSE(dialog.CurrentRadio()->isEnabled());
    EXPECT_TRUE(dialog.NewRadio()->isChecked());
    EXPECT_FALSE(dialog.RecipeBox()->isEnabled());
    EXPECT_FALSE(dialog.RecipeBox()->isChecked());
    EXPECT_FALSE(dialog.ScaleBox()->isEnabled());
    EXPECT_EQ(dialog.ScaleToEdit()->text(), QString());
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("New Optimization Parameters"));
    dialog.accept();
    EXPECT_EQ(dialog.where, kDispositionNewGlaze);
    EXPECT_FALSE(dialog.saveRecipe);
    EXPECT_FALSE(dialog.scale);
}

TEST_F(OptimizeDispositionDlgTest, NoControlCoversAnother)
{
    CDispositionDlg dialog;
    dialog.InitDialog();
    EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>());
}

// The dialog opens with the scaling the user chose last.
TEST_F(OptimizeDispositionDlgTest, OpensWithTheScalingChosenLast)
{
    CDispositionDlg dialog;
    dialog.recipeAvailable = true;
    dialog.saveRecipe = true;
    dialog.scale = true;
    dialog.InitDialog();
    EXPECT_TRUE(dialog.ScaleBox()->isChecked());

    // The size to scale to is a number: "2,5" is refused, not taken as 2.
    dialog.ScaleToEdit()->setText(QStringLiteral("2,5"));
    dialog.accept();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(dialog.result(), 0);
    dialog.ScaleToEdit()->setText(QStringLiteral("2.5"));
    dialog.accept();
    EXPECT_EQ(dialog.scaleTo, "2.5");
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
}
