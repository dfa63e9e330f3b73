#include "substitutions/Substitution.h"

#include "core/support/CheckedItems.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::pair<std::string, double>>;

CIngredientList Recipe(const Lines& lines)
{
    CIngredientList list;
    for (const auto& [name, amount] : lines)
        list.Add(name, amount);
    return list;
}

Lines LinesOf(const CIngredientList& list)
{
    Lines lines;
    for (const auto& line : list)
        lines.emplace_back(line->m_name, line->m_amount);
    return lines;
}

CSubstitution Make(const Lines& set1, const Lines& set2)
{
    CSubstitution s("test");
    s.m_set1 = Recipe(set1);
    s.m_set2 = Recipe(set2);
    return s;
}

class SubstitutionApplyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& [name, code] : {std::pair{"Whiting", "WHI"}, {"Silica", "SIL"}, {"Kaolin", "KAO"},
                                         {"Wollastonite", "WOLL"}, {"Feldspar", "FELD"}, {"Nepheline", "NEPH"}}) {
            CMaterial m(name);
            m.m_code = code;
            m.UpdateDisplayKey();
            m_materials.InsertCopy(m_materials.GetCount(), m);
        }
    }
    int Apply(const CSubstitution& s, CIngredientList& recipe, int reverse)
    {
        return s.ApplyToRecipe(recipe, reverse, &m_materials);
    }

    CAppContext m_context;
    CMaterialArray m_materials;
};

TEST_F(SubstitutionApplyTest, WollastoniteReplacesWhitingForwardAndBack)
{
    const CSubstitution s = Make({{"Whiting", 1}}, {{"Wollastonite", 1.2}});
    CIngredientList recipe = Recipe({{"Whiting", 20}, {"Silica", 30}, {"Kaolin", 50}});
    ASSERT_EQ(Apply(s, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Wollastonite", 24}, {"Silica", 30}, {"Kaolin", 50}}));

    // Reversed: set 2 goes out (factor 24 / 1.2 = 20) and set 1 comes back in its place.
    ASSERT_EQ(Apply(s, recipe, 1), 1);
    ASSERT_EQ(recipe.GetCount(), 3);
    EXPECT_EQ(RecordAt(recipe, 0).m_name, "Whiting");
    EXPECT_DOUBLE_EQ(RecordAt(recipe, 0).m_amount, 20);
    EXPECT_EQ(ItemAt(LinesOf(recipe), 1), (std::pair<std::string, double>{"Silica", 30}));

    // Through the open materials database, codes and "name (code)" match the names.
    CMaterialsDoc doc;
    for (int i = 0; i < m_materials.GetCount(); ++i)
        doc.InsertMaterial(i, RecordAt(m_materials, i));
    recipe = Recipe({{"WHI", 10}, {"Silica (SIL)", 5}});
    EXPECT_EQ(s.ApplyToRecipe(recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Wollastonite", 12}, {"Silica (SIL)", 5}}));
}

TEST_F(SubstitutionApplyTest, TheSmallestRatioSetsTheFactorAndTheFirstFromLineAnchors)
{
    const CSubstitution s = Make({{"Feldspar", 2}, {"Silica", 1}}, {{"Nepheline", 1.5}, {"Kaolin", 0.5}});
    CIngredientList recipe = Recipe({{"Silica", 10}, {"Whiting", 5}, {"Feldspar", 40}, {"Talc", 3}});
    ASSERT_EQ(Apply(s, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe),
              (Lines{{"Whiting", 5}, {"Feldspar", 20}, {"Nepheline", 15}, {"Kaolin", 5}, {"Talc", 3}}));

    // A put-in material before the anchor keeps its line; one after it moves to the anchor.
    recipe = Recipe({{"Kaolin", 1}, {"Feldspar", 40}, {"Silica", 10}, {"Nepheline", 2}});
    ASSERT_EQ(Apply(s, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Kaolin", 6}, {"Feldspar", 20}, {"Nepheline", 17}}));

    // A set written for 100 parts applies to a recipe holding a few of them.
    const CSubstitution hundred = Make({{"Feldspar", 100}}, {{"Nepheline", 100}});
    recipe = Recipe({{"Feldspar", 5}, {"Silica", 30}});
    ASSERT_EQ(Apply(hundred, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Nepheline", 5}, {"Silica", 30}}));
}

// Regression: both set lines took the same silica line (Wollastonite 10, silica taken twice).
TEST_F(SubstitutionApplyTest, EachRecipeLineIsTakenByOneSetLineOnly)
{
    const CSubstitution s = Make({{"Silica", 1}, {"SIL", 1}}, {{"Wollastonite", 1}});
    CIngredientList recipe = Recipe({{"Silica", 10}, {"Kaolin", 50}});
    ASSERT_EQ(Apply(s, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Wollastonite", 5}, {"Kaolin", 50}}));

    // Reversed, the set comes back in its own two lines; they merge by name only.
    ASSERT_EQ(Apply(s, recipe, 1), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Silica", 5}, {"SIL", 5}, {"Kaolin", 50}}));
}

TEST_F(SubstitutionApplyTest, MissingMaterialsLeaveOnlyMergedDuplicates)
{
    const CSubstitution s = Make({{"Whiting", 1}, {"Feldspar", 1}}, {{"Wollastonite", 1}});
    CIngredientList recipe = Recipe({{"Silica", 10}, {"Whiting", 4}, {"silica", 5}, {"Kaolin", 0}});
    EXPECT_EQ(Apply(s, recipe, 0), 0);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Silica", 15}, {"Whiting", 4}}));

    // Empty recipe or empty from-set: nothing to do.
    CIngredientList empty;
    EXPECT_EQ(Apply(s, empty, 0), 0);
    EXPECT_EQ(Apply(Make({}, {{"Silica", 1}}), recipe, 0), 0);

    // A from-line of amount 0 takes no part.
    const CSubstitution talc = Make({{"Talc", 0}, {"Whiting", 1}}, {{"Wollastonite", 1}});
    recipe = Recipe({{"Whiting", 4}});
    EXPECT_EQ(Apply(talc, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Wollastonite", 4}}));
}

TEST_F(SubstitutionApplyTest, LeftoversBelowAThousandthAreDropped)
{
    const CSubstitution s = Make({{"Whiting", 2}, {"Silica", 1}}, {{"Wollastonite", 1}});
    CIngredientList recipe = Recipe({{"Whiting", 20}, {"Silica", 10.0009}});
    ASSERT_EQ(Apply(s, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Wollastonite", 10}}));

    recipe = Recipe({{"Whiting", 20}, {"Silica", 10.00125}});
    ASSERT_EQ(Apply(s, recipe, 0), 1);
    ASSERT_EQ(recipe.GetCount(), 2);
    EXPECT_EQ(RecordAt(recipe, 1).m_name, "Silica");
    EXPECT_NEAR(RecordAt(recipe, 1).m_amount, 0.00125, 1e-9);
}

TEST_F(SubstitutionApplyTest, UnknownMaterialsMatchByTheRecipeNamePart)
{
    const CSubstitution lower = Make({{"frit x", 1}}, {{"Silica", 1}});
    CIngredientList recipe = Recipe({{"Frit X (F1)", 10}});
    EXPECT_EQ(Apply(lower, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Silica", 10}}));

    // Only the recipe side is cut at the parenthesis.
    const CSubstitution withCode = Make({{"Frit X (F1)", 1}}, {{"Silica", 1}});
    recipe = Recipe({{"Frit X (F1)", 10}});
    EXPECT_EQ(Apply(withCode, recipe, 0), 0);

    // A known recipe material never matches an unknown from-material.
    recipe = Recipe({{"Wollastonite", 10}});
    EXPECT_EQ(Apply(Make({{"wollastonit", 1}}, {{"Silica", 1}}), recipe, 0), 0);
}

TEST_F(SubstitutionApplyTest, AnUntouchedLineOfAThousandthStays)
{
    // Only leftovers under the smallest amount go; a colourant line of exactly 0.001 that the
    // substitution never touched keeps its place and amount.
    const CSubstitution s = Make({{"Whiting", 1}}, {{"Wollastonite", 1}});
    CIngredientList recipe = Recipe({{"Whiting", 20}, {"Cobalt Carbonate", 0.001}, {"Silica", 30}});
    ASSERT_EQ(Apply(s, recipe, 0), 1);
    EXPECT_EQ(LinesOf(recipe), (Lines{{"Wollastonite", 20}, {"Cobalt Carbonate", 0.001}, {"Silica", 30}}));
}

} // namespace
