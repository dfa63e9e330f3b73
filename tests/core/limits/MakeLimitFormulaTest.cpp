#include "limits/MakeLimitFormulaRequest.h"

#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

constexpr int kNa = 11;
constexpr int kMg = 12;
constexpr int kAl = 13;
constexpr int kSi = 14;
constexpr int kK = 19;
constexpr int kCa = 20;

struct GlazeValues {
    double na, k, ca, mg, al, si, caPercent;
};

CGlazeAnalysis Analysis(const GlazeValues& v)
{
    CGlazeAnalysis analysis;
    analysis.unity[kNa] = v.na;
    analysis.unity[kK] = v.k;
    analysis.unity[kCa] = v.ca;
    analysis.unity[kMg] = v.mg;
    analysis.unity[kAl] = v.al;
    analysis.unity[kSi] = v.si;
    analysis.weightFraction[kCa] = v.caPercent / 100.0;
    return analysis;
}

// "combo[%]=range" for every limit, separated by "; ".
std::string Describe(const CLimitFormula& formula)
{
    std::string text;
    for (int i = 0; i < formula.m_limits.GetCount(); ++i) {
        const CLimit& limit = formula.m_limits.GetAt(i);
        text += (i ? "; " : "") + limit.m_comboName + (limit.m_byPercent ? "%" : "") + "=" + limit.GetRange();
    }
    return text;
}

class MakeLimitFormulaTest : public ::testing::Test {
protected:
    MakeLimitFormulaTest()
    {
        g_prefs.declimformulas = 3;
        g_prefs.tzslimformulas = 1;
        m_database.AddDefaultCombinations();
        m_database.m_combinations.Add(COxideCombination("Ca-Mg", "Ca-Mg", 0.0, 0.0));
    }

    // Three glazes and one whose analysis is not valid.
    void AddGlazes(CMakeLimitFormulaRequest& request) const
    {
        request.AddAnalysis(Analysis({0.15, 0.25, 0.6, 0.7234, 0.32, 3.0, 10.04}));
        request.AddAnalysis(Analysis({0.2, 0.3, 0.5, 0.0, 0.35, 3.5, 19.91}));
        CGlazeAnalysis invalid = Analysis({0.2, 0.3, 0.5, 0.0, 0.35, 9.0, 50.0});
        invalid.amountsValid = 0;
        request.AddAnalysis(invalid);
        request.AddAnalysis(Analysis({0.2, 0.1, 0.7, 0.0, 0.45, 4.1234, 15.0}));
    }

    CAppContext m_context;
    CLimitFormulaDB m_database;
};

TEST_F(MakeLimitFormulaTest, TheRequestTakesTheChosenCombinations)
{
    CMakeLimitFormulaRequest request;
    EXPECT_EQ(request.AddCombinationsByName(m_database.m_combinations, {"sio2", "Nothing", "KNaO"}, true), 2);
    CLimitFormula formula("Cone 6");
    formula.m_limits.Add(CLimit("Al2O3", "0.3 - 0.5", 0));
    formula.m_limits.Add(CLimit("Gone", "< 1", 0));
    formula.m_limits.Add(CLimit("CaO", "< 30", 1));
    m_database.InsertFormula(0, formula);
    EXPECT_EQ(request.AddCombinationsOfFormula(m_database, "cone 6"), 2);
    EXPECT_EQ(request.AddCombinationsOfFormula(m_database, "missing"), 0);
    ASSERT_EQ(request.GetCombinationCount(), 4);
    std::vector<std::string> names;
    for (const COxideCombination& combination : request.m_combinations)
        names.push_back(combination.m_name);
    EXPECT_THAT(names, ElementsAre("SiO2", "KNaO", "Al2O3", "CaO"));
    EXPECT_THAT(request.m_byPercent, ElementsAre(1, 1, 0, 1));

    // An invalid analysis is skipped and adds no value, so the accumulators stay equally long.
    AddGlazes(request);
    EXPECT_EQ(request.m_glazesUsed, 3);
    EXPECT_EQ(request.m_glazesSkipped, 1);
    for (const CFloatArray& values : request.m_accumulators) {
        EXPECT_EQ(values.GetCount(), 3);
        EXPECT_EQ(values.GetCapacity(), CMakeLimitFormulaRequest::kInitialValues);
    }
}

TEST_F(MakeLimitFormulaTest, AFormulaCompiledFromThreeGlazes)
{
    CMakeLimitFormulaRequest request;
    request.AddCombinationsByName(m_database.m_combinations, {"KNaO", "SiO2", "Si:Al", "Ca-Mg"}, false);
    request.AddCombinationsByName(m_database.m_combinations, {"CaO"}, true);
    AddGlazes(request);

    CLimitFormula formula;
    CStringArrayEx information;
    ASSERT_EQ(CompileLimitFormula(request, formula, information), 0);
    EXPECT_EQ(formula.m_name, "Compiled from 3 glazes");
    EXPECT_THAT(formula.m_notes, ElementsAre("Compiled from 3 glazes"));
    EXPECT_TRUE(information.empty());
    // Outward to 0.001 (0.1 by percent); values that stand for a multiple keep it, and a
    // negative minimum goes down too.
    EXPECT_EQ(Describe(formula), "KNaO=0.3 - 0.5; SiO2=3.0 - 4.124; Si:Al=9.163 - 10.0; Ca-Mg=-0.124 - 0.7; "
                                 "CaO%=10.0 - 20.0");
    for (const GlazeValues& v : {GlazeValues{0.15, 0.25, 0.6, 0.7234, 0.32, 3.0, 10.04},
                                 GlazeValues{0.2, 0.1, 0.7, 0.0, 0.45, 4.1234, 15.0}}) {
        CCurrentLimitFormulaDBScope scope(m_database);
        EXPECT_TRUE(formula.IsAnalysisWithin(Analysis(v)));
    }

    // A name given is used; no glaze used makes no formula.
    request.m_name = "Mine";
    ASSERT_EQ(CompileLimitFormula(request, formula, information), 0);
    EXPECT_EQ(formula.m_name, "Mine");
    CMakeLimitFormulaRequest none;
    none.AddCombinationsByName(m_database.m_combinations, {"KNaO"}, false);
    CGlazeAnalysis invalid;
    invalid.materialsFound = 0;
    none.AddAnalysis(invalid);
    EXPECT_EQ(CompileLimitFormula(none, formula, information), 1);
    EXPECT_EQ(formula.m_name, "Mine");
}

// Regression: values past 16,382 glazes were dropped while the glazes were still counted, and
// with two decimals a minimum of 0.125 was written 0.13, so the glaze it came from was outside.
TEST_F(MakeLimitFormulaTest, EveryGlazeCountedLiesWithinTheFormulaItMade)
{
    g_prefs.declimformulas = 2;
    CMakeLimitFormulaRequest request;
    request.AddCombinationsByName(m_database.m_combinations, {"KNaO", "SiO2"}, false);
    request.AddCombinationsByName(m_database.m_combinations, {"CaO"}, true);
    std::vector<GlazeValues> glazes;
    for (int i = 0; i < 16400; ++i)
        glazes.push_back({0.1, 0.1, 0.6, 0.0, 0.4, 3.0 + 0.0001 * i, 12.0});
    glazes.push_back({0.1, 0.025, 0.6, 0.0, 0.4, 1.0 + 0.2, 12.345}); // 0.125 KNaO, the lowest
    glazes.push_back({0.1, 0.1, 0.6, 0.0, 0.4, 5.555, 12.0});        // the highest silica, last
    for (const GlazeValues& v : glazes)
        request.AddAnalysis(Analysis(v));

    CLimitFormula formula;
    CStringArrayEx information;
    ASSERT_EQ(CompileLimitFormula(request, formula, information), 0);
    EXPECT_EQ(formula.m_name, "Compiled from 16402 glazes");
    EXPECT_EQ(Describe(formula), "KNaO=0.12 - 0.2; SiO2=1.2 - 5.56; CaO%=12.0 - 12.4");
    CCurrentLimitFormulaDBScope scope(m_database);
    for (const GlazeValues& v : glazes)
        ASSERT_TRUE(formula.IsAnalysisWithin(Analysis(v))) << v.k << " " << v.si;
}

TEST_F(MakeLimitFormulaTest, StatisticsAndHistograms)
{
    CMakeLimitFormulaRequest request;
    request.m_statisticsToNotes = 1;
    request.m_statisticsToInformation = 1;
    request.AddCombinationsByName(m_database.m_combinations, {"SiO2"}, false);
    AddGlazes(request);
    CLimitFormula formula;
    CStringArrayEx information;
    ASSERT_EQ(CompileLimitFormula(request, formula, information), 0);

    ASSERT_EQ(formula.m_notes.size(), 1u + 6u + 20u);
    EXPECT_EQ(formula.m_notes[1], "");
    EXPECT_EQ(formula.m_notes[2], "Oxide Combo: SiO2");
    EXPECT_EQ(formula.m_notes[3], "  Min: 3.000  Max: 4.124  Median: 3.500");
    EXPECT_EQ(formula.m_notes[4], "  Mean: 3.541  Std.Dev.: 0.563  Avg.Dev.: 0.388");
    EXPECT_THAT(formula.m_notes[5], StartsWith("  Variance: 0.317  Skew: "));
    EXPECT_EQ(formula.m_notes[6], "");
    // Plot range 0 to 10: bins of 0.5, each of the three values in a bin of its own.
    const std::string empty(40, '.');
    EXPECT_EQ(formula.m_notes[7], "  0.000  -  0.500:  " + empty + " 0  ");
    EXPECT_EQ(formula.m_notes[13], "  3.000  -  3.500:  " + std::string(13, '*') + std::string(27, '.') + " 1  ");
    EXPECT_EQ(formula.m_notes[26], "  9.500  - 10.000:  " + empty + " 0  ");
    // The Information window gets the same lines after a title line.
    ASSERT_EQ(information.size(), formula.m_notes.size());
    EXPECT_EQ(information[0], "Statistics: Compiled from 3 glazes");
    EXPECT_TRUE(std::equal(information.begin() + 1, information.end(), formula.m_notes.begin() + 1));

    // By percent the histogram spans 0 to 100; a plot range without room spans 0 to 1; values
    // outside are counted; a single value among many still shows one star.
    CMakeLimitFormulaRequest many;
    many.m_statisticsToNotes = 1;
    many.AddCombinationsByName(m_database.m_combinations, {"CaO"}, true);
    many.AddCombinationsByName(m_database.m_combinations, {"Ca-Mg"}, false);
    many.AddAnalysis(Analysis({0, 0, 2.5, 0, 0, 0, 97.0}));
    for (int i = 0; i < 99; ++i)
        many.AddAnalysis(Analysis({0, 0, 0.5, 0, 0, 0, 12.0}));
    ASSERT_EQ(CompileLimitFormula(many, formula, information), 0);
    EXPECT_EQ(Describe(formula), "CaO%=12.0 - 97.0; Ca-Mg=0.5 - 2.5");
    const CStringArrayEx& notes = formula.m_notes;
    ASSERT_EQ(notes.size(), 1u + 26u + 27u);
    EXPECT_EQ(notes[3], "  Min: 12.0  Max: 97.0  Median: 12.0");
    EXPECT_EQ(notes[9], "  10.0   -   15.0:  " + std::string(39, '*') + ". 99 ");
    EXPECT_EQ(notes[26], "  95.0   -  100.0:  *" + std::string(39, '.') + " 1  ");
    EXPECT_EQ(notes[27], "");
    EXPECT_EQ(notes[33], "  0.000  -  0.050:  " + std::string(40, '.') + " 0  ");
    EXPECT_EQ(notes[53], "Outside of histogram: 0 below min, 1 above max");
}

} // namespace
