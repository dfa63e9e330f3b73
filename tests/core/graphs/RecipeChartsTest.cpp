#include "core/graphs/RecordedGraphTestSupport.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

// The one-glaze recipe, cost and material-type pies and bars.
class RecipeChartsTest : public RecordedGraphTest {
protected:
    CMaterialTypeColor& TypeColor(const std::string& type)
    {
        for (CMaterialTypeColor& entry : m_graphTypes.Database().m_materialTypeColors)
            if (entry.m_name == type)
                return entry;
        ADD_FAILURE() << type;
        return m_graphTypes.Database().m_materialTypeColors.front();
    }
};

TEST_F(RecipeChartsTest, TheRecipePieCountsTheAdditionsAndRunsAgainstTheTypeOrder)
{
    g_prefs.anchadd = 1;
    CGlaze glaze = MakeGlaze("Clear", {{"Whiting", 40.0}, {"Silica", 60.0}}, {{"Rutile", 5.0}});
    CGraph pie;
    EXPECT_THAT(Definition(Init(pie, kGraphOnePieRecipe), nullptr, &glaze),
                ElementsAre("ChartDefBegin()", "ChartSetTitleA(\"Clear\")", "ChartSetTitleB(\"Recipe\")",
                            "ChartSetSideTitleStyle(6, 0)", "ChartSetSideTitleStyle(11, 0)",
                            "ChartSetData(3, 1, [5 40 60])",
                            "ChartSetPointLabels(3, [\"Rutile\" \"Whiting\" \"Silica\"])",
                            "ChartSetFont(0, 1, 0, 200)", "ChartSetFont(1, 1, 0, 150)", "ChartSetFont(2, 1, 0, 150)",
                            "ChartSetFont(3, 1, 0, 100)",
                            // colorant, flux and silica by the material-type colours
                            "ChartSetColors(3, [14 11 12])", "ChartSetPatterns(3, [0 0 0])",
                            "ChartSetKind(1, 32768, 0)", "ChartSetPatterns(3, [1 1 1])", "ChartSetColors(3, [0 0 0])",
                            "ChartSetKind(1, 32768, 0)", "ChartDefEnd()"));
    // 100 parts of components and 5 of additions: the slices say 105 %.
    EXPECT_THAT(pie.m_cellTexts, ElementsAre("Rutile  5.0%", "Whiting  40.0%", "Silica  60.0%"));
    EXPECT_EQ(pie.m_textLines, pie.m_cellTexts);
    EXPECT_EQ(pie.m_columns, 1);
    EXPECT_EQ(pie.m_rows, 3);

    // Without counting additions they are left out.
    g_prefs.anchadd = 0;
    CGraph components;
    Definition(Init(components, kGraphOnePieRecipe), nullptr, &glaze);
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(2, 1, [40 60])");
}

TEST_F(RecipeChartsTest, ParetoHandsPiesOverAscendingAndBarsDescending)
{
    CGlaze glaze = MakeGlaze("Matte", {{"Silica", 30.0}, {"Whiting", 50.0}, {"Kaolin", 20.0}});
    const auto labels = [&](int type, int pareto, int reverse) {
        CGraph graph;
        Init(graph, type).pareto = pareto;
        graph.reverse = reverse;
        Definition(graph, nullptr, &glaze);
        return Call("ChartSetPointLabels");
    };
    EXPECT_EQ(labels(kGraphOnePieRecipe, 0, 0), "ChartSetPointLabels(3, [\"Kaolin\" \"Whiting\" \"Silica\"])");
    EXPECT_EQ(labels(kGraphOnePieRecipe, 1, 0), "ChartSetPointLabels(3, [\"Kaolin\" \"Silica\" \"Whiting\"])");
    EXPECT_EQ(labels(kGraphOnePieRecipe, 1, 1), "ChartSetPointLabels(3, [\"Whiting\" \"Silica\" \"Kaolin\"])");
    EXPECT_EQ(labels(kGraphOneBarRecipe, 0, 0), "ChartSetPointLabels(3, [\"Silica\" \"Whiting\" \"Kaolin\"])");
    EXPECT_EQ(labels(kGraphOneBarRecipe, 1, 0), "ChartSetPointLabels(3, [\"Whiting\" \"Silica\" \"Kaolin\"])");
    EXPECT_EQ(labels(kGraphOneBarRecipe, 1, 1), "ChartSetPointLabels(3, [\"Kaolin\" \"Silica\" \"Whiting\"])");
    EXPECT_EQ(Call("ChartSetAxisFormat"), "ChartSetAxisFormat(1, \"##0\\%\")");
    EXPECT_EQ(Call("ChartSetTitleC"), "ChartSetTitleC(\"Percent of recipe\")");
}

TEST_F(RecipeChartsTest, MaterialTypesMergeAndFollowThePreferredOrder)
{
    // Alumina has the type "new", which the order does not name; Unobtainium is no material.
    CGlaze glaze = MakeGlaze("Mixed", {{"Alumina", 10.0}, {"Silica", 35.0}, {"Whiting", 30.0}, {"silica", 15.0},
                                       {"Unobtainium", 10.0}});
    CGraph types;
    Definition(Init(types, kGraphOneBarMaterialTypes), nullptr, &glaze);
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(4, 1, [50 30 10 10])");
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(4, [\"silica\" \"flux\" \"new\" \"unknown\"])");
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(4, [12 11 8 8])");
    EXPECT_THAT(types.m_cellTexts, ElementsAre("silica  50.0%", "flux  30.0%", "new  10.0%", "unknown  10.0%"));

    // The recipe keeps both silica lines; the unknown material is drawn grey.
    CGraph recipe;
    Definition(Init(recipe, kGraphOneBarRecipe), nullptr, &glaze);
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(5, 1, [35 15 30 10 10])");
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(5, [12 12 11 8 8])");

    // Colours with patterns: white for a pattern of 0 drawn with patterns; monochrome black with
    // the next pattern, white without one.
    TypeColor("silica") = {"silica", 12, 3, 1};
    TypeColor("flux") = {"flux", 11, 0, 1};
    CGraph patterned;
    Definition(Init(patterned, kGraphOnePieMaterialTypes), nullptr, &glaze);
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(4, [8 8 15 12])");
    EXPECT_EQ(Call("ChartSetPatterns"), "ChartSetPatterns(4, [0 0 0 4])");
    CGraph mono;
    Init(mono, kGraphOnePieMaterialTypes).mono = 1;
    Definition(mono, nullptr, &glaze);
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(4, [15 15 15 0])");
    EXPECT_EQ(Call("ChartSetPatterns"), "ChartSetPatterns(4, [0 0 0 4])");
}

TEST_F(RecipeChartsTest, CostsAreInTheCurrencyOfTheMaterials)
{
    CMaterialArray& materials = m_materials.Materials();
    materials.m_costUnit = CMaterialArray::kCostPerKilogram;
    Found(materials.FindMaterial(std::string_view("Silica"))).m_costPerLb = 1.0;
    Found(materials.FindMaterial(std::string_view("Whiting"))).m_costPerLb = 0.5;
    CGlaze glaze = MakeGlaze("Clear", {{"Whiting", 40.0}, {"Silica", 60.0}});
    CGraph bar;
    Definition(Init(bar, kGraphOneBarCost), nullptr, &glaze);
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(2, 1, [0.6 0.2])");
    EXPECT_EQ(Call("ChartSetAxisFormat"), "ChartSetAxisFormat(1, \"\\$###0.00\")");
    EXPECT_EQ(Call("ChartSetTitleC"), "ChartSetTitleC(\"Cost per kg of glaze\")");
    EXPECT_THAT(bar.m_cellTexts, ElementsAre("Silica  $0.60 per kg glaze", "Whiting  $0.20 per kg glaze"));

    CGraph pie;
    Definition(Init(pie, kGraphOnePieCost), nullptr, &glaze);
    EXPECT_EQ(Call("ChartSetTitleB"), "ChartSetTitleB(\"Relative material costs\")");
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(2, 1, [0.2 0.6])");
}

TEST_F(RecipeChartsTest, GlazesWithoutAUsableRecipeAreRefused)
{
    CGlaze empty = MakeGlaze("Empty", {});
    CGlaze unknown = MakeGlaze("Unknown", {{"Silica", 50.0}, {"Unobtainium", 50.0}});
    const auto refusal = [&](int type, CGlaze* glaze) {
        CGraph graph;
        return Refusal(Init(graph, type), nullptr, glaze);
    };
    EXPECT_EQ(refusal(kGraphOnePieRecipe, &empty), "Glaze contains ingredients of unknown weight");
    EXPECT_EQ(refusal(kGraphOneBarMaterialTypes, &empty), "Glaze contains ingredients of unknown weight");
    EXPECT_EQ(refusal(kGraphOneBarCost, &empty), "Glaze contains unknown ingredients");
    EXPECT_EQ(refusal(kGraphOnePieCost, &unknown), "Glaze contains unknown ingredients");
    EXPECT_EQ(refusal(kGraphOnePieMaterialTypes, nullptr), "No glaze to display");
}

} // namespace
