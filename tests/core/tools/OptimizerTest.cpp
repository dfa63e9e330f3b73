#include "tools/Optimizer.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "core/shell/FakeMessageService.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/IngredientList.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "glazes/OptimizationParams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr int kAl = 13;
constexpr int kSi = 14;
constexpr int kCa = 20;

// The starter materials of the shipped database, and a cone 6 unity formula over them.
class OptimizerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ifstream in(OXI_SHIPPED_DATA_DIR "/materials.mat", std::ios::binary);
        ASSERT_EQ(m_doc.Materials().Read(in), 0);
        m_optimizer.m_traceSink = [this](const std::string& line) { m_trace.push_back(line); };
        m_params.m_oxideConstraints.Add(COxideConstraint(kConstraintKNaO, '=', "0.3", ""));
        m_params.m_oxideConstraints.Add(COxideConstraint(kCa, '=', "0.7", ""));
        m_params.m_oxideConstraints.Add(COxideConstraint(kAl, '=', "0.35", ""));
        m_params.m_oxideConstraints.Add(COxideConstraint(kSi, '=', "3.0", ""));
    }

    // Only the named materials stay available.
    void KeepOnly(std::initializer_list<const char*> names)
    {
        for (const auto& material : m_doc.Materials().Records())
            material->m_available = std::find(names.begin(), names.end(), material->m_name) != names.end();
    }

    int Run(bool trace = false) { return m_optimizer.Run(m_params, m_recipe, m_message, trace); }

    std::map<std::string, double> Amounts() const
    {
        std::map<std::string, double> amounts;
        for (const auto& line : m_recipe)
            amounts[line->m_name] = line->m_amount;
        return amounts;
    }

    // The recipe's unity formula, checked against the targets and the 0.1 % default tolerance.
    void ExpectUnityTargetsMet()
    {
        CGlaze glaze("optimized");
        glaze.m_components = m_recipe;
        const CGlazeAnalysis& analysis = glaze.GetAnalysis();
        ASSERT_TRUE(analysis.IsValid());
        const std::pair<int, double> targets[] = {{0, 0.3}, {kCa, 0.7}, {kAl, 0.35}, {kSi, 3.0}};
        for (const auto& [z, target] : targets)
            EXPECT_NEAR(analysis.unity[static_cast<std::size_t>(z)], target, target * 0.001 + 1e-7) << z;
        EXPECT_DOUBLE_EQ(analysis.unity[kCa] + analysis.unity[0], 1.0);
    }

    double FiredTotal()
    {
        double fired = 0.0;
        for (const auto& line : m_recipe)
            fired += line->m_amount * Found(m_doc.Materials().FindMaterial(line->m_name)).m_firedYield;
        return fired;
    }

    CAppContext m_context;
    CFakeMessageService m_messages;
    CMaterialsDoc m_doc;
    COptimizer m_optimizer;
    COptimizationParams m_params;
    CIngredientList m_recipe;
    std::string m_message;
    std::vector<std::string> m_trace;
};

// Only a cap of 0 rules an oxide out: MgO capped at 0.05 leaves talc usable, and a cap on KNaO
// sets no floor. Water capped at 0 rules out kaolin; LOI capped at 0 every volatile, whiting too.
TEST_F(OptimizerTest, ASmallCapKeepsTheOxideAndNoLossRulesOutWater)
{
    KeepOnly({"Silica", "Kaolin", "Calcined Kaolin", "Potash Feldspar", "Whiting", "Wollastonite", "Talc"});
    m_params.m_goal = kGoalLOI;
    m_params.m_oxideConstraints.Add(COxideConstraint(12, '<', "0.05", "")); // MgO
    m_params.m_oxideConstraints[0] = COxideConstraint(kConstraintKNaO, '<', "0.3", "");
    ASSERT_EQ(Run(true), 0) << m_message;
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), " KNaO  min=0.000000  max=0.300000"), m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "usable material: Talc"), m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "usable material: Kaolin"), m_trace.end());

    // A cap on KNaO beyond the whole unity leaves potassium at most the whole unity.
    m_params.m_oxideConstraints[0] = COxideConstraint(kConstraintKNaO, '<', "1.5", "");
    m_trace.clear();
    ASSERT_EQ(Run(true), 0) << m_message;
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "  K2O  min=0.000000  max=1.000000"), m_trace.end());
    m_params.m_oxideConstraints[0] = COxideConstraint(kConstraintKNaO, '<', "0.3", "");

    // Water capped at 0 rules out kaolin and leaves whiting.
    m_params.m_oxideConstraints.Add(COxideConstraint(1, '<', "0", "")); // H2O
    m_trace.clear();
    Run(true);
    EXPECT_EQ(std::find(m_trace.begin(), m_trace.end(), "usable material: Kaolin"), m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "usable material: Whiting"), m_trace.end());

    m_params.m_oxideConstraints.Add(COxideConstraint(kConstraintLOI, '<', "0", ""));
    m_trace.clear();
    Run(true);
    EXPECT_EQ(std::find(m_trace.begin(), m_trace.end(), "usable material: Kaolin"), m_trace.end());
    EXPECT_EQ(std::find(m_trace.begin(), m_trace.end(), "usable material: Whiting"), m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "usable material: Silica"), m_trace.end());
    EXPECT_EQ(std::find_if(m_trace.begin(), m_trace.end(), [](const std::string& line) { return line.starts_with("  LOI"); }),
              m_trace.end()) << "no loss is left to bound";
}

// A material with no oxides at all (an empty formula) can add nothing and is not offered.
TEST_F(OptimizerTest, AMaterialWithoutOxidesIsNotUsable)
{
    CMaterial nothing("Nothing");
    nothing.m_available = 1;
    m_doc.InsertMaterial(0, nothing);
    ASSERT_EQ(Run(true), 0) << m_message;
    EXPECT_EQ(std::find(m_trace.begin(), m_trace.end(), "usable material: Nothing"), m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "usable material: Silica"), m_trace.end());
}

} // namespace

TEST_F(OptimizerTest, FourMaterialsGiveTheOneRecipeOfTheUnityFormula)
{
    KeepOnly({"Silica", "Kaolin", "Potash Feldspar", "Whiting"});
    m_params.m_goal = kGoalLOI;
    m_params.m_oxideConstraints.Add(COxideConstraint(kConstraintLOI, '>', "0", "")); // bounds nothing
    ASSERT_EQ(Run(true), 0) << m_message;
    EXPECT_EQ(m_message, "Optimization complete");
    // Worked by hand: 0.3 feldspar, 0.7 whiting, 0.05 kaolin and 1.1 silica (in moles) weigh
    // 167.00 + 70.06 + 12.91 + 66.09 g and fire to 283.45 g; scaled to 100 fired.
    const auto amounts = Amounts();
    ASSERT_EQ(amounts.size(), 4u);
    EXPECT_NEAR(amounts.at("Potash Feldspar"), 58.916, 0.1);
    EXPECT_NEAR(amounts.at("Whiting"), 24.717, 0.05);
    EXPECT_NEAR(amounts.at("Kaolin"), 4.554, 0.1); // the least LOI takes the least kaolin in range
    EXPECT_NEAR(amounts.at("Silica"), 23.317, 0.05);
    EXPECT_EQ(RecordAt(m_recipe, 0).m_name, "Silica"); // database order
    EXPECT_NEAR(FiredTotal(), 100.0, 1e-6);
    ExpectUnityTargetsMet();

    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), " KNaO  min=0.299700  max=0.300300"), m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), " SiO2  min=2.997000  max=3.003000"), m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "  LOI  min=0.000000  max=-1.000000"), m_trace.end())
        << "no maximum";
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "usable material: Whiting"), m_trace.end());
    const auto counts = std::find_if(m_trace.begin(), m_trace.end(), [](const std::string& line) {
        return std::regex_match(line, std::regex("[0-9]+ allowed oxides \\(5 nonvolatile\\), 4 usable materials"));
    });
    EXPECT_NE(counts, m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "Solution:"), m_trace.end());

    // Raw weight: the raw amounts add up to the recipe size instead.
    m_params.m_firedWeight = 0;
    m_params.m_recipeSize = "not a number";
    ASSERT_EQ(Run(), 0) << m_message;
    EXPECT_NEAR(m_recipe.GetTotalAmount(), 100.0, 1e-6);
    ExpectUnityTargetsMet();
}

TEST_F(OptimizerTest, CheapestRecipeFromAllStarterMaterialsMeetsTheFormula)
{
    const std::map<std::string, double> prices = {
        {"Silica", 0.10}, {"Kaolin", 0.20}, {"Potash Feldspar", 0.30}, {"Whiting", 0.08}};
    for (const auto& material : m_doc.Materials().Records())
        material->m_costPerLb = prices.contains(material->m_name) ? prices.at(material->m_name) : 0.5;
    const auto costOf = [&](const CIngredientList& recipe) {
        double cost = 0.0;
        for (const auto& line : recipe)
            cost += line->m_amount * prices.at(line->m_name);
        return cost;
    };
    m_params.m_goal = kGoalCost;
    ASSERT_EQ(Run(), 0) << m_message;
    ExpectUnityTargetsMet();
    EXPECT_NEAR(FiredTotal(), 100.0, 1e-6);
    const CIngredientList cheapest = m_recipe;
    double cost = 0.0;
    for (const auto& line : cheapest)
        cost += line->m_amount * Found(m_doc.Materials().FindMaterial(line->m_name)).m_costPerLb;

    // The four-material recipe is one of the feasible ones, so it cannot be cheaper.
    KeepOnly({"Silica", "Kaolin", "Potash Feldspar", "Whiting"});
    ASSERT_EQ(Run(), 0) << m_message;
    EXPECT_LE(cost, costOf(m_recipe) + 1e-6);

    // Maximising the loss on ignition fires the same 100 g from more raw material.
    m_params.m_goal = kGoalLOI;
    ASSERT_EQ(Run(), 0);
    const double least = m_recipe.GetTotalAmount();
    m_params.m_maximize = 1;
    m_params.m_oxideTolerance = "5";
    ASSERT_EQ(Run(), 0);
    EXPECT_GT(m_recipe.GetTotalAmount(), least);
}

// Unity rows compare with the fluxes; silica without a flux met "SiO2 > 3" as 0 >= 0 and came
// back as the cheapest (and LOI-free) recipe.
TEST_F(OptimizerTest, AMinimumWithoutMaximumStillNeedsTheFluxes)
{
    KeepOnly({"Silica", "Kaolin", "Potash Feldspar", "Whiting"});
    m_params.m_oxideConstraints[3] = COxideConstraint(kSi, '>', "3", "");
    m_params.m_goal = kGoalLOI;
    ASSERT_EQ(Run(), 0) << m_message;
    CGlaze glaze("optimized");
    glaze.m_components = m_recipe;
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    ASSERT_TRUE(analysis.IsValid());
    EXPECT_NEAR(analysis.unity[0], 0.3, 0.0003 + 1e-6);
    EXPECT_NEAR(analysis.unity[kCa], 0.7, 0.0007 + 1e-6);
    EXPECT_NEAR(analysis.unity[kAl], 0.35, 0.00035 + 1e-6);
    EXPECT_GE(analysis.unity[kSi], 3.0 - 1e-6);
}

TEST_F(OptimizerTest, EveryFailureHasItsMessageAndAnEmptyRecipe)
{
    const auto failure = [&](COptimizationParams params) {
        m_recipe.Add("left over", 1.0);
        std::string message;
        EXPECT_EQ(m_optimizer.Run(params, m_recipe, message, false), 1);
        EXPECT_TRUE(m_recipe.empty());
        return message;
    };
    EXPECT_EQ(failure(COptimizationParams()), "Error: constraints do not allow any nonvolatile oxides");

    COptimizationParams p = m_params;
    p.m_oxideConstraints.Add(COxideConstraint(kAl, 'x', "1", ""));
    EXPECT_EQ(failure(p), "Error: constraint on Al2O3: the operator \"x\" is none of =, >= and <=");
    p = m_params;
    p.m_oxideConstraints.Add(COxideConstraint(kSi, '>', "3.5", ""));
    EXPECT_EQ(failure(p), "Error: constraint on SiO2 is not self-consistent");
    p = m_params;
    p.m_oxideConstraints.Add(COxideConstraint(kConstraintKNaO, '>', "0.5", "0.6"));
    EXPECT_EQ(failure(p), "Error: constraint on KNaO is not self-consistent");
    p = m_params;
    p.m_oxideConstraints.Add(COxideConstraint(kConstraintLOI, '<', "5", "10"));
    EXPECT_EQ(failure(p), "Error: constraint on LOI is not self-consistent");
    p = m_params;
    p.m_excludedMaterials.push_back("Unobtainium");
    EXPECT_EQ(failure(p), "Error: unknown material Unobtainium");
    p = m_params;
    p.m_materialConstraints.Add(CMaterialConstraint("Silica", '>', "10", "5"));
    EXPECT_EQ(failure(p), "Error: constraint on Silica is not self-consistent");
    p = m_params;
    p.m_materialConstraints.Add(CMaterialConstraint("Moonstone", '>', "10", ""));
    EXPECT_EQ(failure(p), "Error: unknown material Moonstone");
    p = m_params;
    p.m_materialConstraints.Add(CMaterialConstraint("Moonstone", '<', "0", ""));
    p.m_materialConstraints.Add(CMaterialConstraint("Dolomite", '>', "5", ""));
    EXPECT_EQ(failure(p), "Error: material Dolomite ruled out by other constraints");
    p = m_params;
    p.m_materialConstraints.Add(CMaterialConstraint("Silica", 'x', "10", ""));
    EXPECT_EQ(failure(p), "Error: constraint on Silica: the operator \"x\" is none of =, >= and <=");
    p = COptimizationParams();
    p.m_oxideConstraints.Add(COxideConstraint(4, '>', "0.1", ""));
    EXPECT_EQ(failure(p), "Error: constraints rule out all materials");
    p = m_params;
    p.m_goal = 5;
    EXPECT_EQ(failure(p), "Internal error: unsupported optimization goal type 5");
    p = m_params;
    p.m_oxideConstraints[1].m_value1 = "0.9"; // the alkalis can no longer add up to 1
    EXPECT_EQ(failure(p), "Error 4: No feasible solutions");
    p = m_params;
    p.m_expansionConstraint = COxideConstraint(kConstraintExpansion, '=', "abc", "");
    EXPECT_EQ(failure(p), "Error: constraint on expansion: the target \"abc\" is not a decimal number");

    // Regression: a value that is no number, an oxide number no element has and a line that could
    // not be split were each an "Internal error" naming no value, or "(unknown)"; the message now
    // says which row holds what.
    const std::pair<COxideConstraint, std::string> oxideFaults[] = {
        {COxideConstraint(kSi, '=', "nan", ""), "constraint on SiO2: the target \"nan\" is not a decimal number"},
        {COxideConstraint(kSi, '>', "2.5", "inf"), "constraint on SiO2: the maximum \"inf\" is not a decimal number"},
        {COxideConstraint(kAl, '<', "1e308", ""), "constraint on Al2O3: the maximum \"1e308\" is not a decimal number"},
        {COxideConstraint(kConstraintKNaO, '=', "", ""), "constraint on KNaO: there is no target"},
        {COxideConstraint(127, '=', "0.3", ""), "constraint on oxide number 127: there is no such oxide"},
    };
    for (const auto& [constraint, fault] : oxideFaults) {
        p = m_params;
        p.m_oxideConstraints.Add(constraint);
        EXPECT_EQ(failure(p), "Error: " + fault);
    }
    p = m_params;
    COxideConstraint unsplit;
    EXPECT_TRUE(unsplit.Parse("14,=,3"));
    p.m_oxideConstraints.Add(unsplit);
    EXPECT_EQ(failure(p), "Error: oxide constraint \"14,=,3\" cannot be read");
    p = m_params;
    p.m_materialConstraints.Add(CMaterialConstraint("Silica", '<', "20", "a lot"));
    EXPECT_EQ(failure(p), "Error: constraint on Silica: the minimum \"a lot\" is not a decimal number");

    // Regression: with no flux oxide allowed, a unity formula has nothing to be counted against,
    // and the run ended in "Error 4: No feasible solutions".
    p = COptimizationParams();
    p.m_oxideConstraints.Add(COxideConstraint(kAl, '=', "0.35", ""));
    p.m_oxideConstraints.Add(COxideConstraint(kSi, '=', "3", ""));
    EXPECT_EQ(failure(p), "Error: no flux oxide may enter the glaze, so no unity formula can hold Al2O3, SiO2: "
                          "add a constraint on a flux such as CaO or KNaO, or use % units");
    p.m_oxideUnit = kOxideUnitWeightPercent;
    EXPECT_EQ(failure(p), "Error 4: No feasible solutions") << "in percent units the fluxes are no unit";

    CMaterialArray empty;
    m_optimizer.m_materials = &empty;
    EXPECT_EQ(failure(m_params), "Error: no materials in the material database");
}

TEST_F(OptimizerTest, BoundsBecomeRowsOfTheirKind)
{
    KeepOnly({"Silica", "Kaolin", "Potash Feldspar", "Whiting"});
    // The rows as the solver's trace lists them: the relation of each constraint line.
    const auto relations = [&]() {
        m_trace.clear();
        Run(true);
        std::vector<std::string> found;
        bool inConstraints = false;
        for (const std::string& line : m_trace) {
            if (line == "Constraints:" || line == "Cost function:") {
                inConstraints = line == "Constraints:";
                continue;
            }
            if (inConstraints)
                found.push_back(line.substr(line.rfind(')') + 2, 2));
        }
        return found;
    };
    // Each '=' target gets 0.1 % of itself as tolerance: with 5 decimals every one is a range of
    // two rows; with 3 decimals 0.0003 (KNaO) and 0.00035 (Al2O3) round to 0, one "=" row each.
    g_prefs.decremainders = 5;
    std::vector<std::string> rows = relations();
    EXPECT_EQ(std::count(rows.begin(), rows.end(), ">="), 4);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "= "), 1); // the recipe-size row
    g_prefs.decremainders = 3;
    rows = relations();
    EXPECT_EQ(std::count(rows.begin(), rows.end(), ">="), 2);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "= "), 3);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "<="), 4); // an "=" row has no "<=" twin

    // A '>' material minimum in % weight units: a lower row and an upper row at 100 %.
    const std::size_t before = rows.size();
    m_params.m_materialConstraints.Add(CMaterialConstraint("Whiting", '>', "10", ""));
    rows = relations();
    EXPECT_EQ(rows.size(), before + 2);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), ">="), 3);
}

// Material bounds in weight units are grams of the recipe: "=" holds the amount exactly, "<" caps
// it and ">" sets its floor; the unity formula is met all the same.
TEST_F(OptimizerTest, MaterialBoundsInWeightUnitsHoldTheirGrams)
{
    KeepOnly({"Silica", "Kaolin", "Potash Feldspar", "Soda Feldspar", "Whiting"});
    // Soda feldspar is the cheapest: left free, the cheapest recipe takes as much as it can.
    for (const auto& material : m_doc.Materials().Records())
        material->m_costPerLb = material->m_name == "Soda Feldspar" ? 0.01 : 0.5;
    m_params.m_goal = kGoalCost;
    m_params.m_materialUnit = kMaterialUnitWeight;
    const auto amountWith = [&](char op, const char* value) {
        m_params.m_materialConstraints = CMaterialConstraintArray();
        m_params.m_materialConstraints.Add(CMaterialConstraint("Soda Feldspar", op, value, ""));
        EXPECT_EQ(Run(), 0) << m_message;
        EXPECT_EQ(m_message, "Optimization complete");
        ExpectUnityTargetsMet();
        return Amounts()["Soda Feldspar"];
    };
    const double free = amountWith('>', "0");
    EXPECT_NEAR(amountWith('=', "30"), 30.0, 1e-6);
    EXPECT_NEAR(amountWith('=', "10"), 10.0, 1e-6);
    EXPECT_NEAR(amountWith('<', "10"), std::min(free, 10.0), 1e-6);
    EXPECT_NEAR(amountWith('>', "40"), std::max(free, 40.0), 1e-6);
    EXPECT_GT(free, 40.0);
}

// An oxide capped at 0 is not allowed at all: every material that brings it drops out.
TEST_F(OptimizerTest, AnOxideCappedAtZeroLeavesOutItsMaterials)
{
    KeepOnly({"Silica", "Kaolin", "Potash Feldspar", "Whiting", "Talc"});
    m_params.m_goal = kGoalLOI;
    m_params.m_oxideConstraints.Add(COxideConstraint(12, '<', "0", "")); // MgO
    ASSERT_EQ(Run(true), 0) << m_message;
    EXPECT_EQ(std::find(m_trace.begin(), m_trace.end(), "usable material: Talc"), m_trace.end());
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), "usable material: Whiting"), m_trace.end());
    EXPECT_EQ(Amounts().count("Talc"), 0u);
    ExpectUnityTargetsMet();

    // A cap above 0 keeps the oxide and holds it: of the 0.05 Al2O3 the feldspar leaves wanting,
    // with water capped at 0.05 the cheapest recipe takes 0.025 from kaolin (Al2O3 2SiO2 2H2O)
    // and the rest from calcined kaolin.
    KeepOnly({"Silica", "Kaolin", "Calcined Kaolin", "Potash Feldspar", "Whiting"});
    for (const auto& material : m_doc.Materials().Records())
        material->m_costPerLb = material->m_name == "Kaolin" ? 0.01 : 0.5;
    m_params.m_goal = kGoalCost;
    m_params.m_oxideConstraints[4] = COxideConstraint(1, '<', "0.05", ""); // H2O, for the MgO cap
    ASSERT_EQ(Run(), 0) << m_message;
    ExpectUnityTargetsMet();
    CGlaze glaze("water");
    glaze.m_components = m_recipe;
    EXPECT_NEAR(glaze.GetAnalysis().unity[1], 0.05, 1e-6);
    EXPECT_GT(Amounts()["Calcined Kaolin"], 1.0);
}

// In % weight units a material bound is its share of the raw recipe.
TEST_F(OptimizerTest, MaterialBoundsInPercentAreSharesOfTheRecipe)
{
    KeepOnly({"Silica", "Kaolin", "Potash Feldspar", "Soda Feldspar", "Whiting"});
    m_params.m_goal = kGoalLOI;
    m_params.m_materialUnit = kMaterialUnitPercent;
    const auto shareWith = [&](char op, const char* value) {
        m_params.m_materialConstraints = CMaterialConstraintArray();
        m_params.m_materialConstraints.Add(CMaterialConstraint("Soda Feldspar", op, value, ""));
        EXPECT_EQ(Run(), 0) << m_message;
        ExpectUnityTargetsMet();
        return 100.0 * Amounts()["Soda Feldspar"] / m_recipe.GetTotalAmount();
    };
    EXPECT_NEAR(shareWith('=', "20"), 20.0, 1e-6);
    EXPECT_NEAR(shareWith('>', "25"), 25.0, 1e-6);
    EXPECT_LE(shareWith('<', "5"), 5.0 + 1e-6);
}

// The other oxide units, bounds and goals: each problem's answer worked by hand.
// - Molecular %: CaO 40 and SiO2 60 from whiting and silica need them 2 : 3 in moles; in weight %
//   the fired glaze is 40 % CaO.
// - Expansion as the goal: a mole of K2O (94.2 g at 3.31 per %) expands a glaze more than one of
//   Na2O (62.0 g at 3.90), so the least expansion takes the alkali of the unity formula from soda
//   feldspar and the most from potash feldspar; capped half a unit above the soda recipe's
//   expansion, the most is just that.
// - Loss on ignition capped at 0: no whiting and no kaolin; wollastonite brings the lime and
//   calcined kaolin the alumina.
TEST_F(OptimizerTest, UnitsBoundsAndGoalsOtherThanUnityAndCost)
{
    KeepOnly({"Silica", "Whiting"});
    COptimizationParams molar;
    molar.m_oxideUnit = kOxideUnitMolePercent;
    molar.m_oxideConstraints.Add(COxideConstraint(kCa, '=', "40", ""));
    molar.m_oxideConstraints.Add(COxideConstraint(kSi, '=', "60", ""));
    ASSERT_EQ(m_optimizer.Run(molar, m_recipe, m_message, false), 0) << m_message;
    CGlaze glaze("molar");
    glaze.m_components = m_recipe;
    EXPECT_NEAR(glaze.GetAnalysis().moleFraction[kCa], 0.40, 0.0005);
    EXPECT_NEAR(Amounts()["Whiting"] / 100.09 / (Amounts()["Silica"] / 60.08), 2.0 / 3.0, 0.002);
    COptimizationParams weight = molar;
    weight.m_oxideUnit = kOxideUnitWeightPercent;
    ASSERT_EQ(m_optimizer.Run(weight, m_recipe, m_message, false), 0) << m_message;
    CGlaze fired("weight");
    fired.m_components = m_recipe;
    EXPECT_NEAR(fired.GetAnalysis().weightFraction[kCa], 0.40, 0.0005);
    // KNaO in mole percent counts the moles of soda and potash together; a cap on water (H2O)
    // holds the water alone, so none of these materials feels it.
    KeepOnly({"Silica", "Whiting", "Soda Ash"});
    molar.m_oxideConstraints[0] = COxideConstraint(kCa, '=', "30", "");
    molar.m_oxideConstraints.Add(COxideConstraint(kConstraintKNaO, '=', "10", ""));
    molar.m_oxideConstraints.Add(COxideConstraint(1, '<', "5", ""));
    ASSERT_EQ(m_optimizer.Run(molar, m_recipe, m_message, false), 0) << m_message;
    CGlaze soda("soda");
    soda.m_components = m_recipe;
    EXPECT_NEAR(soda.GetAnalysis().moleFraction[11], 0.10, 0.0005);
    EXPECT_NEAR(soda.GetAnalysis().moleFraction[kCa], 0.30, 0.0005);

    KeepOnly({"Silica", "Kaolin", "Calcined Kaolin", "Potash Feldspar", "Soda Feldspar", "Whiting", "Wollastonite"});
    m_params.m_goal = kGoalExpansion;
    struct Row {
        int maximize;
        const char* used;
        const char* unused;
    };
    for (const Row& row : {Row{0, "Soda Feldspar", "Potash Feldspar"}, Row{1, "Potash Feldspar", "Soda Feldspar"}}) {
        m_params.m_maximize = row.maximize;
        ASSERT_EQ(Run(), 0) << m_message;
        ExpectUnityTargetsMet();
        EXPECT_GT(Amounts()[row.used], 1.0) << row.maximize;
        EXPECT_LT(Amounts()[row.unused], 0.001) << row.maximize;
    }
    m_params.m_maximize = 0;
    ASSERT_EQ(Run(), 0) << m_message;
    CGlaze least("least");
    least.m_components = m_recipe;
    const double lowest = least.GetAnalysis().expansion;
    m_params.m_maximize = 1;
    m_params.m_expansionConstraint = COxideConstraint(kConstraintExpansion, '<', std::to_string(lowest + 0.5), "");
    ASSERT_EQ(Run(), 0) << m_message;
    CGlaze capped("capped");
    capped.m_components = m_recipe;
    EXPECT_NEAR(capped.GetAnalysis().expansion, lowest + 0.5, 0.01) << "the most the cap allows";

    m_params.m_goal = kGoalCost;
    m_params.m_expansionConstraint = COxideConstraint();
    m_params.m_oxideConstraints.Add(COxideConstraint(kConstraintLOI, '<', "0", ""));
    ASSERT_EQ(Run(), 0) << m_message;
    EXPECT_EQ(Amounts().count("Whiting"), 0u);
    EXPECT_EQ(Amounts().count("Kaolin"), 0u);
    EXPECT_GT(Amounts()["Wollastonite"], 1.0);
    EXPECT_GT(Amounts()["Calcined Kaolin"], 1.0);
}
