#include "MaterialEditViewFixture.h"
#include "core/support/CheckedItems.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

class MaterialEditViewMappingTest : public MaterialEditViewFixture {};

} // namespace

// Mapping to a material of the same density still brings its cost and formula.
TEST_F(MaterialEditViewMappingTest, EveryMappedFieldFollowsEvenWhenOneAlreadyMatches)
{
    RecordAt(Database(), 3).m_available = 0;
    CMaterialEditView* view = Open(2); // Whiting: 2.7, 0.12, available, formula weight 100.1
    EXPECT_TRUE(view->AvailableBox()->isChecked());
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("100.1"));
    view->MapToEdit()->setText(QStringLiteral("Talc")); // 2.7, 0.20, not available
    view->MappingEntered();
    EXPECT_EQ(view->DensityEdit()->text(), QStringLiteral("2.7"));
    EXPECT_EQ(view->CostEdit()->text(), QStringLiteral("0.20"));
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("3MgO 4SiO2 H2O"));
    EXPECT_FALSE(view->AvailableBox()->isChecked());
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("379.3"));
}

// The same formula and availability do not stop a different cost from following.
TEST_F(MaterialEditViewMappingTest, AMappedCostFollowsWhenTheFormulaIsTheSame)
{
    Database().InsertCopy(4, MakeMaterial("Chalk", "CHK", "CaCO3", 2.5, 0.3));
    CMaterialEditView* view = Open(2); // Whiting: CaCO3, 2.7, 0.12
    view->MapToEdit()->setText(QStringLiteral("Chalk"));
    view->MappingEntered();
    EXPECT_EQ(view->DensityEdit()->text(), QStringLiteral("2.5"));
    EXPECT_EQ(view->CostEdit()->text(), QStringLiteral("0.30"));
}
