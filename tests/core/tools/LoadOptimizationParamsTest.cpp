#include "tools/LoadOptimizationParams.h"

#include "core/support/CheckedItems.h"
#include "core/glazes/GlazeAnalysisTestSupport.h"
#include "core/shell/FakeMessageService.h"
#include "limits/LimitFormulaDB.h"
#include "glazes/OptimizationParams.h"
#include "tools/Optimizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kH = 1;
constexpr int kAl = 13;
constexpr int kSi = 14;
constexpr int kCa = 20;

// One mole of wollastonite and a fifth of kaolin: unity CaO 1, Al2O3 0.2, SiO2 1.4, with water.
class LoadOptimizationParamsTest : public GlazeChemistryTestBase {
protected:
    LoadOptimizationParamsTest()
    {
        AddMaterial("Wollastonite", "CaO SiO2");
        AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O");
        AddMaterial("Damp Silica", "% 90 SiO2  10 LOI");
        g_prefs.decremainders = 2;
        g_prefs.tzsremainders = 1;
    }

    static std::vector<std::string> Texts(const COptimizationParams& params)
    {
        std::vector<std::string> texts;
        for (const COxideConstraint& constraint : params.m_oxideConstraints)
            texts.push_back(constraint.Format());
        for (const CMaterialConstraint& constraint : params.m_materialConstraints)
            texts.push_back(constraint.Format());
        return texts;
    }

    static COptimizationParams Load(const CGlaze& glaze, int option, bool volatiles = false, bool recipe = false)
    {
        COptimizationParams params;
        params.m_materialConstraints.Add(CMaterialConstraint("Kept", '>', "1", ""));
        LoadOptimizationParamsFromGlaze(glaze, CLoadOptParamsChoice{kLoadFromCurrentGlaze, option, volatiles, recipe},
                                        params);
        return params;
    }

    CGlaze m_glaze = MakeGlaze({{"Wollastonite", 116.16}, {"Kaolin", 51.63}});
};

} // namespace

TEST_F(LoadOptimizationParamsTest, TheAnalysisBecomesEqualityConstraintsInTheChosenUnit)
{
    COptimizationParams unity = Load(m_glaze, kLoadGlazeUnity);
    EXPECT_EQ(unity.m_oxideUnit, kOxideUnitUnity);
    EXPECT_EQ(Texts(unity), (std::vector<std::string>{"20,=,1.0,,", "13,=,0.2,,", "14,=,1.4,,", "Kept,>,1,,"}));
    EXPECT_EQ(Texts(Load(m_glaze, kLoadGlazeMolecular)),
              (std::vector<std::string>{"20,=,38.46,,", "13,=,7.69,,", "14,=,53.85,,", "Kept,>,1,,"}));
    const COptimizationParams weight = Load(m_glaze, kLoadGlazeWeight);
    EXPECT_EQ(weight.m_oxideUnit, kOxideUnitWeightPercent);
    EXPECT_EQ(Texts(weight), (std::vector<std::string>{"20,=,34.92,,", "13,=,12.7,,", "14,=,52.38,,", "Kept,>,1,,"}));
    EXPECT_EQ(Texts(Load(m_glaze, kLoadGlazeWeight, true)),
              (std::vector<std::string>{"20,=,34.92,,", "13,=,12.7,,", "14,=,52.38,,", "1,=,4.49,,", "Kept,>,1,,"}));

    // A loss no oxide explains shows as the "Other" volatiles row; it is no oxide to bound.
    const CGlaze damp = MakeGlaze({{"Damp Silica", 50.0}, {"Kaolin", 25.0}});
    ASSERT_FALSE(damp.GetAnalysis().volatileOxides.empty());
    const COptimizationParams withVolatiles = Load(damp, kLoadGlazeWeight, true);
    for (const COxideConstraint& constraint : withVolatiles.m_oxideConstraints)
        EXPECT_NE(constraint.m_oxide, CGlazeAnalysis::kOtherVolatilesElement);
    EXPECT_EQ(LastItem(withVolatiles.m_oxideConstraints).m_oxide, kH);

    // Nothing is loaded from a glaze whose chemistry is unknown.
    const CGlaze unknown = MakeGlaze({{"Moonstone", 10.0}});
    EXPECT_EQ(Texts(Load(unknown, kLoadGlazeUnity, false, true)), (std::vector<std::string>{"Kept,>,1,,"}));
}

TEST_F(LoadOptimizationParamsTest, RecipeAndParameterSetsLoadFromTheGlaze)
{
    // Lines of one material add up: two '=' constraints on it could never both hold.
    const CGlaze glaze = MakeGlaze({{"Wollastonite", 50.0}, {"Kaolin", 25.0}, {"wollastonite", 25.0}},
                                   {{"Kaolin", 10.0}});
    COptimizationParams recipe = Load(glaze, kLoadGlazeParameters, false, true);
    EXPECT_EQ(Texts(recipe), (std::vector<std::string>{"Wollastonite,=,75.0,,", "Kaolin,=,25.0,,"}));
    EXPECT_EQ(recipe.m_materialUnit, kMaterialUnitPercent);

    CGlaze carrier = m_glaze;
    COptimizationParams& own = carrier.GetOptimizationParams();
    own.m_goal = kGoalExpansion;
    own.m_recipeSize = "250";
    own.m_excludedMaterials.push_back("Kaolin");
    own.m_oxideConstraints.Add(COxideConstraint(kSi, '>', "2", ""));
    EXPECT_EQ(Load(carrier, kLoadGlazeParameters), own);
    EXPECT_EQ(Texts(Load(m_glaze, kLoadGlazeParameters)), (std::vector<std::string>{"Kept,>,1,,"}));
}

TEST_F(LoadOptimizationParamsTest, GlazeOptionsFollowWhatTheGlazeHas)
{
    const CLoadOptGlazeOptions none = GetLoadOptGlazeOptions(nullptr, kLoadGlazeWeight);
    EXPECT_FALSE(none.parametersEnabled || none.analysisEnabled || none.recipeEnabled || none.includeVolatilesEnabled);
    EXPECT_EQ(none.option, kLoadGlazeParameters);

    CLoadOptGlazeOptions plain = GetLoadOptGlazeOptions(&m_glaze, kLoadGlazeParameters);
    EXPECT_FALSE(plain.parametersEnabled);
    EXPECT_TRUE(plain.analysisEnabled && plain.recipeEnabled);
    EXPECT_FALSE(plain.includeVolatilesEnabled);
    EXPECT_EQ(plain.option, kLoadGlazeUnity);
    EXPECT_TRUE(GetLoadOptGlazeOptions(&m_glaze, kLoadGlazeWeight).includeVolatilesEnabled);

    CGlaze unknown = MakeGlaze({{"Moonstone", 10.0}});
    unknown.GetOptimizationParams();
    const CLoadOptGlazeOptions broken = GetLoadOptGlazeOptions(&unknown, kLoadGlazeWeight);
    EXPECT_TRUE(broken.parametersEnabled);
    EXPECT_FALSE(broken.analysisEnabled || broken.recipeEnabled || broken.includeVolatilesEnabled);
    EXPECT_EQ(broken.option, kLoadGlazeParameters);
}

TEST_F(LoadOptimizationParamsTest, LimitsOnSingleOxidesLoiAndKNaOBecomeOxideConstraints)
{
    CLimitFormulaDB database;
    database.AddDefaultCombinations();
    database.m_combinations.Add(COxideCombination("LOI", "LOI"));
    database.m_combinations.Add(COxideCombination("Wet alkalis", "Na+K+LOI"));
    CCurrentLimitFormulaDBScope scope(database);
    CLimitFormula formula("Cone 6 gloss");
    for (const CLimit& limit : {CLimit("SiO2", "2 - 4"), CLimit("Al2O3", "<= 0.5"), CLimit("KNaO", ">= 0.1"),
                                CLimit("Si:Al", "5 - 10"), CLimit("CaO", ""), CLimit("SiO2", "50 - 60", 1),
                                CLimit("Moon", "1 - 2"), CLimit("Wet alkalis", "< 1"), CLimit("LOI", "< 10")})
        formula.m_limits.Add(limit);

    CFakeMessageService messages;
    COptimizationParams params;
    params.m_oxideUnit = kOxideUnitMolePercent;
    params.m_oxideConstraints.Add(COxideConstraint(kCa, '=', "1", ""));
    params.m_materialConstraints.Add(CMaterialConstraint("Kept", '>', "1", ""));
    LoadOptimizationParams(CLoadOptParamsChoice{kLoadFromLimitFormula}, nullptr, &formula, params, 4321);
    EXPECT_EQ(params.m_oxideUnit, kOxideUnitUnity);
    EXPECT_EQ(Texts(params), (std::vector<std::string>{"14,>,2.0,4.0,", "13,<,0.5,,", "-2,>,0.1,,", "-1,<,10.0,,",
                                                       "Kept,>,1,,"}));
    ASSERT_EQ(messages.boxes.size(), 1u); // once, however many limits were skipped
    EXPECT_EQ(messages.At(0).text, "Some limits could not be imported");
    EXPECT_EQ(messages.At(0).Icon(), MsgIconInformation);
    EXPECT_EQ(messages.At(0).helpId, 4321u);

    CLimitFormula percent("By weight");
    percent.m_limits.Add(CLimit("SiO2", "50 - 60", 1));
    EXPECT_EQ(LoadOptimizationParamsFromLimitFormula(percent, params), 0);
    EXPECT_EQ(params.m_oxideUnit, kOxideUnitWeightPercent);
    EXPECT_EQ(Texts(params), (std::vector<std::string>{"14,>,50.0,60.0,", "Kept,>,1,,"}));
}

// The analysis loaded as constraints leads the optimizer back to the recipe it came from.
TEST_F(LoadOptimizationParamsTest, LoadedAnalysisOptimizesBackToItsRecipe)
{
    g_prefs.decremainders = 6;
    COptimizationParams params = Load(m_glaze, kLoadGlazeUnity);
    params.m_materialConstraints.RemoveAll();
    params.m_excludedMaterials.push_back("Damp Silica");
    params.m_oxideTolerance = "0.01";
    params.m_firedWeight = 0;
    params.m_recipeSize = std::to_string(116.16 + 51.63);
    CIngredientList recipe;
    std::string message;
    ASSERT_EQ(COptimizer().Run(params, recipe, message, false), 0) << message;
    ASSERT_EQ(recipe.GetCount(), 2);
    EXPECT_EQ(RecordAt(recipe, 0).m_name, "Wollastonite");
    EXPECT_NEAR(RecordAt(recipe, 0).m_amount, 116.16, 0.05);
    EXPECT_EQ(RecordAt(recipe, 1).m_name, "Kaolin");
    EXPECT_NEAR(RecordAt(recipe, 1).m_amount, 51.63, 0.05);
}

// Loading an analysis replaces the oxide constraints the dialog held (a second load gives the
// same list, not twice as many); the material constraints stay.
TEST_F(LoadOptimizationParamsTest, LoadingAnAnalysisReplacesTheOxideConstraints)
{
    COptimizationParams params;
    params.m_oxideConstraints.Add(COxideConstraint(kSi, '>', "2", ""));
    params.m_materialConstraints.Add(CMaterialConstraint("Kept", '>', "1", ""));
    const CLoadOptParamsChoice choice{kLoadFromCurrentGlaze, kLoadGlazeUnity, false, false};
    LoadOptimizationParamsFromGlaze(m_glaze, choice, params);
    LoadOptimizationParamsFromGlaze(m_glaze, choice, params);
    EXPECT_EQ(Texts(params), (std::vector<std::string>{"20,=,1.0,,", "13,=,0.2,,", "14,=,1.4,,", "Kept,>,1,,"}));
}
