#include "glazes/OptimizationParams.h"

#include <gtest/gtest.h>

TEST(OptimizationParamsTest, Defaults)
{
    const COptimizationParams params;
    EXPECT_TRUE(params.m_oxideConstraints.empty());
    EXPECT_TRUE(params.m_materialConstraints.empty());
    EXPECT_TRUE(params.m_excludedMaterials.empty());
    EXPECT_EQ(params.m_oxideUnit, 0);
    EXPECT_EQ(params.m_materialUnit, 1);
    EXPECT_EQ(params.m_allMaterials, 0);
    EXPECT_EQ(params.m_maximize, 0);
    EXPECT_EQ(params.m_goal, 0);
    EXPECT_EQ(params.m_firedWeight, 1);
    EXPECT_EQ(params.m_recipeSize, "100.0");
    EXPECT_EQ(params.m_oxideTolerance, "0.1");
    EXPECT_EQ(params.m_materialTolerance, "");
    EXPECT_EQ(params.m_expansionConstraint.m_oxide, kConstraintExpansion);
    EXPECT_EQ(params.m_expansionConstraint.m_op, 0);
    EXPECT_EQ(params.m_expansionConstraint.Format(), "-3,,,,");
    EXPECT_FALSE(params.OxideUnitIsPercent());
    EXPECT_TRUE(params.MaterialUnitIsPercent());
}

TEST(OptimizationParamsTest, UnitsAndRecipeSize)
{
    COptimizationParams params;
    params.m_oxideUnit = 2;
    EXPECT_TRUE(params.OxideUnitIsPercent());

    EXPECT_EQ(params.GetRecipeSize(), 100.0);
    for (const char* text : {"", "abc", "-5", "0"}) {
        params.m_recipeSize = text;
        EXPECT_EQ(params.GetRecipeSize(), 100.0) << text;
    }
    params.m_recipeSize = "2500";
    EXPECT_EQ(params.GetRecipeSize(), 2500.0);
}
