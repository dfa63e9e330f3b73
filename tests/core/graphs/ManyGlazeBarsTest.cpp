#include "core/graphs/RecordedGraphTestSupport.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;

class ManyGlazeBarsTest : public RecordedGraphTest {
protected:
    ManyGlazeBarsTest()
    {
        m_database = NewDatabase({MakeGlaze("Plain", {{"Silica", 100.0}}),
                                  MakeGlaze("Tinted", {{"Silica", 90.0}, {"Rutile", 10.0}})});
    }

    CGlazesDoc* m_database = nullptr;
};

TEST_F(ManyGlazeBarsTest, EveryGlazeIsASeriesAndOxidesNoGlazeHasAreLeftOut)
{
    CGraph graph;
    AddSource(AddSource(Init(graph, kGraphManyBarOxides, "14,22,12"), "Source", 3, {"Plain"}), "Source", 5, {"Tinted"});
    graph.allbar = 0;
    Definition(graph, m_database, nullptr);
    // MgO is in neither glaze; TiO2 only in one.
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(2, 2, [100 90 0 10])");
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"SiO2\" \"TiO2\"])");
    EXPECT_EQ(Call("ChartSetLegend"), "ChartSetLegend(2, [\"Plain\" \"Tinted\"])");
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(2, [3 5])");
    EXPECT_EQ(Call("ChartSetTitleA"), "ChartSetTitleA(\"Oxides in 2 glazes\")");
    EXPECT_EQ(graph.GetCellText(1, 1), "Tinted\r\n\r\nTiO2  10.00%");
    EXPECT_THAT(graph.m_textLines, ElementsAre("", "Plain", "-----", "SiO2  100.00%", "TiO2  0.00%", "", "Tinted",
                                               "------", "SiO2  90.00%", "TiO2  10.00%"));
    graph.allbar = 1;
    Definition(graph, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(3, 2, [100 90 0 10 0 0])");
    // An LOI in a list written elsewhere (104) is no bar and moves none.
    graph.allbar = 0;
    graph.bpoxides = "14,104,22";
    Definition(graph, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(2, 2, [100 90 0 10])");

    graph.bpoxides = "12";
    EXPECT_EQ(Refusal(graph, m_database, nullptr), "Glazes do not contain the selected oxides");

    // One glaze: every bar in its data set's style, no plural.
    CGraph one;
    AddSource(Init(one, kGraphManyBarOxides, "14,22"), "Source", 5, {"Tinted"});
    Definition(one, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(2, [5 5])");
    EXPECT_EQ(Call("ChartSetTitleA"), "ChartSetTitleA(\"Oxides in 1 glaze\")");

    // A glaze of two data sources is two series; automatic colours pass only empty patterns.
    CGraph twice;
    AddSource(AddSource(Init(twice, kGraphManyBarOxides, "14"), "Source", 3, {"Tinted"}), "Source", 5, {"Tinted"});
    twice.autocol = 1;
    Definition(twice, m_database, nullptr);
    EXPECT_EQ(Call("ChartSetLegend"), "ChartSetLegend(2, [\"Tinted\" \"Tinted\"])");
    EXPECT_EQ(Call("ChartSetPatterns"), "ChartSetPatterns(2, [0 0])");
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(2, [0 0])"); // the outline pass only
}

// Every glaze of a large database by its oxides is a million cells: their texts are made when a
// bar is clicked, the same texts as a small chart's (beyond CGraph::kMostCellTexts).
TEST_F(ManyGlazeBarsTest, TheCellsOfAnOxideChartOfManyGlazesAreTextsMadeWhenAsked)
{
    std::vector<CGlaze> glazes;
    for (int n = 0; n < 10001; ++n)
        glazes.push_back(n % 2 ? MakeGlaze("Tinted " + std::to_string(n), {{"Silica", 90.0}, {"Rutile", 10.0}})
                               : MakeGlaze("Plain " + std::to_string(n), {{"Silica", 100.0}}));
    CGraph graph;
    AddSource(Init(graph, kGraphManyBarOxides, "14,22,12"), "Source", 3);
    graph.allbar = 0;
    Definition(graph, NewDatabase(glazes), nullptr);
    ASSERT_EQ(graph.m_columns * graph.m_rows, 20002);
    EXPECT_TRUE(graph.m_cellTexts.empty());
    EXPECT_EQ(graph.GetCellText(1, 1), "Tinted 1\r\n\r\nTiO2  10.00%");
    EXPECT_EQ(graph.GetCellText(10000, 0), "Plain 10000\r\n\r\nSiO2  100.00%");
    EXPECT_EQ(graph.GetCellText(10000, 1), "Plain 10000\r\n\r\nTiO2  0.00%");
    EXPECT_EQ(graph.GetCellText(10001, 0), "");
    ASSERT_EQ(graph.m_textLines.size(), 5u * 10001u);
    EXPECT_THAT(std::vector<std::string>(graph.m_textLines.end() - 5, graph.m_textLines.end()),
                ElementsAre("", "Plain 10000", "-----------", "SiO2  100.00%", "TiO2  0.00%"));
}

TEST_F(ManyGlazeBarsTest, RecipesJoinTheirMaterialsAndTypes)
{
    CMaterial& silica = *m_materials.Materials().FindMaterial(std::string_view("Silica"));
    silica.m_code = "SIL";
    silica.UpdateDisplayKey();
    m_materials.Materials().InvalidateIndex();
    CGlazesDoc* database = NewDatabase({MakeGlaze("Coded", {{"SIL", 40.0}, {"Whiting", 60.0}}),
                                        MakeGlaze("Named", {{"Silica", 100.0}}),
                                        MakeGlaze("Unknown", {{"Silica", 50.0}, {"Unobtainium", 50.0}}),
                                        MakeGlaze("Twice", {{"Whiting", 50.0}, {"SIL", 20.0}, {"silica", 30.0}})});
    // A line written as the material's code is that material's bar, and a material written twice
    // (as its code and in another case) is one bar; the glaze with an unknown material is left
    // out.
    CGraph recipes;
    Definition(AddSource(Init(recipes, kGraphManyBarRecipe), "Source", 3), database, nullptr);
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(2, 3, [40 100 50 60 0 50])");
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"Silica\" \"Whiting\"])");
    EXPECT_EQ(Call("ChartSetTitleA"), "ChartSetTitleA(\"Materials in 3 glazes\")");
    EXPECT_EQ(Call("ChartSetAxisFormat"), "ChartSetAxisFormat(1, \"##0\\%\")");
    EXPECT_EQ(recipes.GetCellText(0, 0), "Coded\r\n\r\nSilica  40.0%");
    EXPECT_EQ(recipes.GetCellText(2, 0), "Twice\r\n\r\nSilica  50.0%");

    // By type the unknown material counts as "unknown".
    CGraph types;
    Definition(AddSource(Init(types, kGraphManyBarMaterialTypes), "Source", 3), database, nullptr);
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(3, 4, [40 100 50 50 60 0 0 50 0 0 50 0])");
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(3, [\"silica\" \"flux\" \"unknown\"])");
    EXPECT_EQ(Call("ChartSetTitleA"), "ChartSetTitleA(\"Material types in 4 glazes\")");
    types.reverse = 1;
    Definition(types, database, nullptr);
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(3, [\"unknown\" \"flux\" \"silica\"])");

    CGlazesDoc* unusable = NewDatabase({MakeGlaze("Unknown", {{"Unobtainium", 50.0}}), MakeGlaze("Empty", {})});
    CGraph noRecipes;
    EXPECT_EQ(Refusal(AddSource(Init(noRecipes, kGraphManyBarRecipe), "Source", 3), unusable, nullptr),
              "No glazes to display or no glazes without unidentified ingredients");
    CGraph noTypes;
    EXPECT_EQ(Refusal(AddSource(Init(noTypes, kGraphManyBarMaterialTypes), "Source", 3, {"Empty"}), unusable, nullptr),
              "No glazes to display or no glazes without unknown ingredient weights");
    CGlazesDoc* washes = NewDatabase({MakeGlaze("Wash", {}, {{"Rutile", 10.0}})});
    CGraph noLines;
    EXPECT_EQ(Refusal(AddSource(Init(noLines, kGraphManyBarRecipe), "Source", 3), washes, nullptr),
              "Glazes contain no ingredients");
}

// Thousands of glazes are read in parts, each part naming its lines apart: a material is one bar
// however the parts spell it.
TEST_F(ManyGlazeBarsTest, TheRecipesOfThousandsOfGlazesAreReadInParts)
{
    CMaterial& silica = *m_materials.Materials().FindMaterial(std::string_view("Silica"));
    silica.m_code = "SIL";
    silica.UpdateDisplayKey();
    m_materials.Materials().InvalidateIndex();
    std::vector<CGlaze> glazes;
    for (int n = 0; n < 5000; ++n) {
        const std::string name = "Glaze " + std::to_string(n);
        glazes.push_back(n < 2048   ? MakeGlaze(name, {{"Silica", 100.0}})
                         : n < 4500 ? MakeGlaze(name, {{"Kaolin", 50.0}, {"Silica", 50.0}})
                                    : MakeGlaze(name, {{"SIL", 20.0}, {"Kaolin", 50.0}, {"silica", 30.0}}));
    }
    CGraph recipes;
    Definition(AddSource(Init(recipes, kGraphManyBarRecipe), "Source", 3), NewDatabase(glazes), nullptr);
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"Silica\" \"Kaolin\"])");
    EXPECT_EQ(recipes.GetCellText(0, 0), "Glaze 0\r\n\r\nSilica  100.0%");
    EXPECT_EQ(recipes.GetCellText(3000, 1), "Glaze 3000\r\n\r\nKaolin  50.0%");
    EXPECT_EQ(recipes.GetCellText(4999, 0), "Glaze 4999\r\n\r\nSilica  50.0%");
    EXPECT_EQ(recipes.GetCellText(4999, 1), "Glaze 4999\r\n\r\nKaolin  50.0%");
}

TEST_F(ManyGlazeBarsTest, ARecipeChartOfMoreThanAQuarterMillionBarsHoldsOnlyTheBarsOfItsRecipes)
{
    // 501 glazes, each of a material of its own: 501 x 501 bars, just over a quarter million.
    std::vector<CGlaze> glazes;
    for (int n = 0; n < 501; ++n) {
        const std::string name = "Quartz " + std::to_string(n);
        ASSERT_EQ(AddMaterial(name).SetFormula("SiO2", nullptr), 0);
        CGlaze glaze("Glaze " + std::to_string(n));
        glaze.m_components.Add(name, 100.0);
        glazes.push_back(glaze);
    }
    m_materials.Materials().InvalidateIndex();
    CGlazesDoc* database = NewDatabase(glazes);
    // Drawn, of its 501 bars that are not 0: no value, cell text or text line for the others.
    CGraph recipes;
    Definition(AddSource(Init(recipes, kGraphManyBarRecipe), "Source", 3), database, nullptr);
    EXPECT_TRUE(m_recorder.Calls("ChartSetData").empty());
    const std::string data = Call("ChartSetSparseData");
    ASSERT_EQ(data.rfind("ChartSetSparseData(501, 501, [", 0), 0u);
    EXPECT_EQ(std::count(data.begin(), data.end(), '='), 501);
    EXPECT_EQ(Call("ChartSetTitleA"), "ChartSetTitleA(\"Materials in 501 glazes\")");
    EXPECT_TRUE(recipes.m_cellTexts.empty());
    EXPECT_EQ(recipes.m_columns, 501);
    EXPECT_EQ(recipes.m_rows, 501);
    ASSERT_EQ(recipes.m_textLines.size(), 4u * 501u);
    EXPECT_THAT(std::vector<std::string>(recipes.m_textLines.begin(), recipes.m_textLines.begin() + 4),
                ElementsAre("", "Glaze 0", "-------", "Quartz 0  100.0%"));
    // Every cell answers a click as the full table would: the bar of glaze 0 and a bar of 0.
    std::smatch match;
    ASSERT_TRUE(std::regex_search(data, match, std::regex(R"(\[(\d+):0=100 (\d+):1=100)")));
    const int row = std::stoi(match[1]), other = std::stoi(match[2]);
    EXPECT_EQ(recipes.GetCellText(0, row), "Glaze 0\r\n\r\nQuartz 0  100.0%");
    EXPECT_EQ(recipes.GetCellText(0, other), "Glaze 0\r\n\r\nQuartz 1  0.0%");
    // A material a glaze has none of is 0 whether the glaze's own material comes before or after it.
    EXPECT_EQ(recipes.GetCellText(1, row), "Glaze 1\r\n\r\nQuartz 0  0.0%");
    EXPECT_EQ(recipes.GetCellText(501, row), "");
}

} // namespace

TEST_F(ManyGlazeBarsTest, ATypeSpelledInAnotherCaseIsOneBar)
{
    CMaterial& silica = *m_materials.Materials().FindMaterial(std::string_view("Silica"));
    silica.m_type = "FLUX";
    CGlazesDoc* database = NewDatabase({MakeGlaze("Glass", {{"Silica", 100.0}}),
                                        MakeGlaze("Chalk", {{"Whiting", 100.0}})});
    CGraph types;
    Definition(AddSource(Init(types, kGraphManyBarMaterialTypes), "Source", 3), database, nullptr);
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(1, [\"FLUX\"])");
    EXPECT_EQ(Call("ChartSetData"), "ChartSetData(1, 2, [100 100])");
}
