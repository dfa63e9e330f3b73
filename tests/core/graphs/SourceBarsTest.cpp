#include "core/graphs/RecordedGraphTestSupport.h"
#include "core/support/CheckedItems.h"
#include "elements/ElementTable.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr int kC = 6, kNa = 11, kSi = 14, kCa = 20;

// The oxides-with-sources (type 3) and recipe-with-oxides (type 6) stacked bars.
class SourceBarsTest : public RecordedGraphTest {
protected:
    SourceBarsTest()
    {
        AddMaterial("Soda feldspar").SetFormula("Na2O Al2O3 6SiO2", nullptr);
        SetType("Soda feldspar", "flux");
    }
    const CMaterial& Material(const char* name) { return *m_materials.Materials().FindMaterial(std::string_view(name)); }

    CGlaze m_limestone = MakeGlaze("Limestone", {{"Whiting", 50.0}, {"Silica", 50.0}});
    CGlaze m_feldspars = MakeGlaze("Feldspars", {{"Soda feldspar", 60.0}, {"Feldspar", 40.0}});
};

TEST_F(SourceBarsTest, OxideBarsShareTheirValueByTheUnitsOfTheLines)
{
    // The remainder of everything, by weight: each half of the recipe brings half of it, the
    // whiting's carbon dioxide counted as its loss.
    CGraph weight;
    Init(weight, kGraphOneOxidesAndRecipe, "116").oxtype = 1;
    Definition(weight, nullptr, &m_limestone);
    std::vector<double> shares = Numbers("ChartSetData");
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_NEAR(shares[0], shares[1], 1e-9);
    // Regression: the segments fell short of the bar, and their numbers with them.
    EXPECT_THAT(weight.m_textLines, ElementsAre("", "Other oxides  128.18%", testing::_, "... 64.09% from Silica",
                                                "... 64.09% from Whiting"));
    EXPECT_NEAR(shares[0] + shares[1], 128.18, 0.005);
    EXPECT_EQ(Call("ChartSetKind"), "ChartSetKind(3, 8192, 32)");
    EXPECT_EQ(Call("ChartSetLegend"), "ChartSetLegend(2, [\"Silica\" \"Whiting\"])");
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(2, [12 11])");

    // In moles the lines count their atoms (the whiting's calcium and carbon, the silica's
    // silicon), never their oxygen or their loss.
    CGraph moles;
    Init(moles, kGraphOneOxidesAndRecipe, "116").oxtype = 0;
    Definition(moles, nullptr, &m_limestone);
    shares = Numbers("ChartSetData");
    ASSERT_EQ(shares.size(), 2u);
    const CMaterial& whiting = Material("Whiting");
    const double expected = (whiting.m_atoms[kCa] + whiting.m_atoms[kC]) / Material("Silica").m_atoms[kSi];
    EXPECT_NEAR(shares[1] / shares[0], expected, 1e-9);
    EXPECT_NEAR(expected, 2.0 * 60.0843 / 100.0869, 1e-3);
    // The segments add up to the glaze's value; the texts say where each comes from.
    EXPECT_EQ(moles.m_columns, 2);
    EXPECT_EQ(moles.m_rows, 1);
    EXPECT_THAT(ItemAt(moles.m_cellTexts, 1), testing::StartsWith("Other oxides  "));
    EXPECT_THAT(ItemAt(moles.m_cellTexts, 1), testing::EndsWith(" from Whiting"));
    EXPECT_THAT(moles.m_textLines, ElementsAre("", testing::_, testing::_, testing::StartsWith("... "),
                                               testing::StartsWith("... ")));
}

TEST_F(SourceBarsTest, OtherAlkalisListedFirstKeepTheSodiumOnlyInTheRecipeBars)
{
    // Type 6: "Other alkalis" read before sodium is taken out still holds it.
    const auto sodaBar = [&](const std::string& oxides) {
        CGraph graph;
        Definition(Init(graph, kGraphOneRecipeAndOxides, oxides), nullptr, &m_feldspars);
        const std::vector<double> values = Numbers("ChartSetData");
        return std::vector<double>(values.begin(), values.begin() + 3);
    };
    const double sodium = Material("Soda feldspar").m_oxides[kNa] * 60.0;
    EXPECT_NEAR(sodium, 61.979 / 524.446 * 60.0, 1e-3);
    std::vector<double> bar = sodaBar("110,11");
    EXPECT_EQ(Call("ChartSetLegend"), "ChartSetLegend(3, [\"Other alkalis\" \"Na2O\" \"Other oxides\"])");
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"Soda feldspar\" \"Feldspar\"])");
    EXPECT_EQ(Call("ChartSetAxisFormat"), "ChartSetAxisFormat(1, \"##0\\%\")");
    EXPECT_NEAR(ItemAt(bar, 0), sodium, 1e-9);
    EXPECT_NEAR(ItemAt(bar, 1), sodium, 1e-9);
    bar = sodaBar("11,110");
    EXPECT_NEAR(ItemAt(bar, 0), sodium, 1e-9);
    EXPECT_NEAR(ItemAt(bar, 1), 0.0, 1e-12);
    EXPECT_NEAR(ItemAt(bar, 2), 60.0 - sodium, 1e-9); // the remainder segment ends the bar
    CGraph texts;
    Definition(Init(texts, kGraphOneRecipeAndOxides, "11"), nullptr, &m_feldspars);
    EXPECT_EQ(ItemAt(texts.m_cellTexts, 0), "Soda feldspar  60.0%\r\n\r\n...adds 7.1% Na2O");

    // Type 3 takes every shown oxide out first: the soda feldspar brings no other alkali.
    CGraph oxides;
    Definition(Init(oxides, kGraphOneOxidesAndRecipe, "110,11"), nullptr, &m_feldspars);
    EXPECT_EQ(ItemAt(Numbers("ChartSetData"), 0), 0.0);
    EXPECT_GT(ItemAt(Numbers("ChartSetData"), 1), 0.0);
}

TEST_F(SourceBarsTest, AnElementWithoutCationsAddsNothingToTheMolarShares)
{
    // An edited element table whose silicon has a cation count of 0.
    CElementTable table;
    table[kSi].ncat = 0;
    CWorkingElementTableScope scope(table);
    CGlaze glaze = MakeGlaze("Limestone", {{"Whiting", 50.0}, {"Silica", 50.0}});
    CGraph graph;
    Init(graph, kGraphOneOxidesAndRecipe, "14,20").oxtype = 2;
    Definition(graph, nullptr, &glaze);
    const std::vector<double> values = Numbers("ChartSetData");
    ASSERT_EQ(values.size(), 4u);
    for (double v : values)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(values[0] + values[1], 0.0);
    EXPECT_THAT(graph.m_cellTexts, Each(Not(testing::HasSubstr("nan"))));
}

TEST_F(SourceBarsTest, ColoursNoticesAndRefusals)
{
    // Automatic colours leave the colours to the engine unless the chart is monochrome.
    CGraph automatic;
    Init(automatic, kGraphOneRecipeAndOxides, "11").autocol = 1;
    Definition(automatic, nullptr, &m_feldspars);
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(2, [0 0])"); // the outline pass only
    EXPECT_EQ(Call("ChartSetPatterns"), "ChartSetPatterns(2, [0 0])");
    automatic.mono = 1;
    Definition(automatic, nullptr, &m_feldspars);
    EXPECT_EQ(Call("ChartSetColors"), "ChartSetColors(2, [15 15])");
    automatic.noleg = 1;
    Definition(automatic, nullptr, &m_feldspars);
    EXPECT_EQ(Call("ChartSetLegend"), "");

    CGlaze unknown = MakeGlaze("Unknown", {{"Unobtainium", 10.0}});
    CGlaze additionsOnly = MakeGlaze("Wash", {}, {{"Rutile", 10.0}});
    const auto refusal = [&](int type, const std::string& oxides, CGlaze& glaze) {
        CGraph graph;
        return Refusal(Init(graph, type, oxides), nullptr, &glaze);
    };
    EXPECT_EQ(refusal(kGraphOneRecipeAndOxides, "14", unknown), "Chemical analysis unknown");
    EXPECT_EQ(refusal(kGraphOneOxidesAndRecipe, "14", additionsOnly), "Glaze contains no components");
    EXPECT_EQ(refusal(kGraphOneOxidesAndRecipe, "", m_limestone), "No oxides selected or chemical analysis unknown");
}

TEST_F(SourceBarsTest, AListedGroupLeavesTheRestOfTheLineToOtherOxides)
{
    CGraph graph;
    Definition(Init(graph, kGraphOneRecipeAndOxides, "105"), nullptr, &m_feldspars);
    EXPECT_EQ(Call("ChartSetLegend"), "ChartSetLegend(2, [\"Alkalis\" \"Other oxides\"])");
    const std::vector<double> values = Numbers("ChartSetData");
    ASSERT_GE(values.size(), 2u);
    EXPECT_GT(values[0], 0.0);
    EXPECT_NEAR(values[0] + values[1], 60.0, 1e-9); // the soda feldspar line is 60 % of the recipe

    // What a material loses on firing beyond its oxides is volatile, and the rest of its line.
    AddMaterial("Damp silica").SetFormula("% 90 SiO2  10 LOI", nullptr);
    CGlaze damp = MakeGlaze("Damp", {{"Damp silica", 50.0}, {"Silica", 50.0}});
    CGraph volatiles;
    Definition(Init(volatiles, kGraphOneRecipeAndOxides, "109"), nullptr, &damp);
    EXPECT_EQ(Call("ChartSetPointLabels"), "ChartSetPointLabels(2, [\"Silica\" \"Damp silica\"])");
    EXPECT_THAT(Numbers("ChartSetData"), ElementsAre(0.0, testing::DoubleNear(50.0, 1e-9), testing::DoubleNear(5.0, 1e-9),
                                                     testing::DoubleNear(45.0, 1e-9)));
}

} // namespace
