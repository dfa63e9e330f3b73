#include "glazes/Glaze.h"
#include "core/support/CheckedItems.h"
#include "limits/LimitFormula.h"

#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeSearchCriteria.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/TextHelpers.h"
#include "glazes/OptimizationParams.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

namespace {

class GlazeTest : public ::testing::Test {
protected:
    CAppContext m_context;
};

// {low cone, high cone, low temperature, high temperature} of a range text.
std::array<int, 4> Range(const std::string& text)
{
    CGlaze glaze("g");
    glaze.SetField(kGlazeFieldRange, text);
    return {glaze.m_lowCone, glaze.m_highCone, glaze.m_lowTemp, glaze.m_highTemp};
}

using R = std::array<int, 4>;

TEST_F(GlazeTest, RangeTexts)
{
    EXPECT_EQ(Range("04-6"), (R{-4, 6, 1050, 1201}));
    EXPECT_EQ(Range("2300F"), (R{9, 9, 1260, 1260}));
    EXPECT_EQ(Range("1200 C"), (R{5, 5, 1200, 1200}));
    EXPECT_EQ(Range("1000"), (R{-6, -6, 1000, 1000})); // band 991 to 1031
    EXPECT_EQ(Range("Cone 6"), (R{6, 6, 1201, 1201}));
    EXPECT_EQ(Range("1-2"), (R{1, 2, 1136, 1142}));
    EXPECT_EQ(Range(""), (R{0, 0, 0, 0}));
    EXPECT_EQ(Range("none"), (R{0, 0, 0, 0}));
    // Cone 010 to 06; the last further number is the high end.
    EXPECT_EQ(Range("cone 010 - 08 - 06"), (R{-10, -6, 880, 991}));
    // 1401 and above are Fahrenheit unless marked C; a lower number marked F is Fahrenheit too.
    EXPECT_EQ(Range("1401"), (R{-17, -17, 761, 761}));
    EXPECT_EQ(Range("1300C-2300 F"), (R{11, 9, 1300, 1260}));
    EXPECT_EQ(Range("1000F"), (R{-23, -23, 538, 538}));
    // Cone 0 does not exist: its temperature is the one of cone 01 below it.
    EXPECT_EQ(Range("0"), (R{0, 0, 1117, 1117}));
}

TEST_F(GlazeTest, LongDigitRunsInARangeSaturate)
{
    // Neither number may overflow: the digits saturate at the largest int.
    // Regression: an absurd temperature gave cone -23; from 1388 C (2530 F) up it is cone 14.
    EXPECT_EQ(Range("99999999999999999999999"), (R{14, 14, 1193046453, 1193046453}));
    EXPECT_EQ(Range("099999999999999999999-6"), (R{-2147483647, 6, 576, 1201}));
}

TEST_F(GlazeTest, ConeTableLookups)
{
    EXPECT_EQ(ConeFromTemperature(500), -23);
    EXPECT_EQ(ConeFromTemperature(576), -22);
    EXPECT_EQ(ConeFromTemperature(1200), 5);
    EXPECT_EQ(ConeFromTemperature(1201), 6);
    EXPECT_EQ(ConeFromTemperature(2000), 14);
    EXPECT_EQ(ConeFromTemperature(1388), 14);
    EXPECT_EQ(ConeFromTemperature(40000), 14);
    EXPECT_EQ(ConeFromTemperature(2147483647), 14);
    EXPECT_EQ(TemperatureFromCone(15), 0);
    EXPECT_EQ(TemperatureFromCone(0), 1136);
    EXPECT_EQ(TemperatureFromCone(-30), 576);
    EXPECT_EQ(TemperatureFromCone(14), 1388);
    EXPECT_EQ(g_coneTable.back().cone, 40);
    // The cones follow one another (there is no cone 0) at rising temperatures, each in Fahrenheit
    // its Celsius value converted.
    for (std::size_t i = 0; i < kConeTableRows; ++i) {
        const CConeTableRow& row = g_coneTable[i];
        EXPECT_NEAR(row.fahrenheit, row.celsius * 9.0 / 5.0 + 32.0, 0.5) << row.cone;
        if (i == 0)
            continue;
        EXPECT_EQ(row.cone, g_coneTable[i - 1].cone == -1 ? 1 : g_coneTable[i - 1].cone + 1) << i;
        EXPECT_GT(row.celsius, g_coneTable[i - 1].celsius) << row.cone;
    }
}

TEST_F(GlazeTest, NewGlazeCarriesTodaysDate)
{
    g_prefs.datefmt = "%Y-%m-%d";
    CGlaze glaze;
    std::string today;
    GetTodayString(today, "%Y-%m-%d");
    EXPECT_EQ(glaze.m_name, "new glaze");
    EXPECT_EQ(glaze.m_date, today);
    EXPECT_GT(glaze.m_dateValue, 20000000);
    EXPECT_EQ(glaze.m_byVol, 0);
    EXPECT_EQ(glaze.FindOptimizationParams(), nullptr);
}

TEST_F(GlazeTest, SetField)
{
    CGlaze glaze("g");
    glaze.SetField(kGlazeFieldByVolume, "yes");
    EXPECT_EQ(glaze.m_byVol, 1);
    glaze.SetField(kGlazeFieldByVolume, "1");
    EXPECT_EQ(glaze.m_byVol, 0);
    glaze.SetField(kGlazeFieldByVolume, "True");
    EXPECT_EQ(glaze.m_byVol, 1);

    glaze.SetField(kGlazeFieldBatchSize, "2500.5 g");
    EXPECT_EQ(glaze.m_batchSize, 2500.5);
    // A negative batch size means nothing and is stored as 0; so is a text that is no number.
    glaze.SetField(kGlazeFieldBatchSize, "-100");
    EXPECT_EQ(glaze.m_batchSize, 0.0);
    glaze.SetField(kGlazeFieldBatchSize, "inf");
    EXPECT_EQ(glaze.m_batchSize, 0.0);

    glaze.SetField(kGlazeFieldDate, "3/15/2002");
    EXPECT_EQ(glaze.m_dateValue, 20020315);
    glaze.SetField(kGlazeFieldAddNote, "n1");
    glaze.SetField(kGlazeFieldAddVariation, "v1");
    glaze.SetField(kGlazeFieldAddNote, "n2");
    EXPECT_EQ(glaze.m_notes, (CStringArrayEx{"n1", "n2"}));
    EXPECT_EQ(glaze.m_variations, (CStringArrayEx{"v1"}));
    glaze.SetField(kGlazeFieldLimitFormula, "Cone 6");
    glaze.SetField(kGlazeFieldNoteFile, "notes.txt");
    glaze.SetField(kGlazeFieldCrystals, "many");
    EXPECT_EQ(glaze.m_limform, "Cone 6");
    EXPECT_EQ(glaze.m_notefile, "notes.txt");
    EXPECT_EQ(glaze.m_xtals, "many");
    glaze.SetField(25, "ignored");
    glaze.SetField(0, "ignored");
    EXPECT_EQ(glaze.m_name, "g");
}

TEST_F(GlazeTest, ChangesThatAffectTheChemistryDropTheAnalysis)
{
    CGlaze glaze("g");
    const auto check = [&](int field, const char* text, bool drops) {
        glaze.GetAnalysis();
        ASSERT_TRUE(glaze.HasAnalysis());
        glaze.SetField(field, text);
        EXPECT_EQ(glaze.HasAnalysis(), !drops) << field;
    };
    check(kGlazeFieldRange, "6", true);
    check(kGlazeFieldByVolume, "y", true);
    check(kGlazeFieldBatchSize, "10", true);
    check(kGlazeFieldColor, "blue", false);

    CGlaze copy(glaze);
    EXPECT_FALSE(copy.HasAnalysis());
    copy.GetAnalysis();
    copy = glaze;
    EXPECT_FALSE(copy.HasAnalysis());
}

TEST_F(GlazeTest, CopiesAreDeepAndOwnTheirParameters)
{
    CGlaze with("with");
    with.m_range = "04-6";
    with.m_date = "1/2/2003";
    with.m_components.Add("Silica", 30);
    with.m_additions.Add("Rutile", 2);
    with.m_notes.push_back("note");
    with.m_byVol = 1;
    with.m_batchSize = 500;
    with.GetOptimizationParams().m_goal = kGoalLOI;

    // Copying re-derives the cones, temperatures and the date value from the texts.
    CGlaze copy(with);
    EXPECT_EQ(copy.m_lowCone, -4);
    EXPECT_EQ(copy.m_highTemp, 1201);
    EXPECT_EQ(copy.m_dateValue, 20030102);
    EXPECT_EQ(RecordAt(copy.m_components, 0).m_name, "Silica");
    EXPECT_NE(&copy.m_components.GetAt(0), &with.m_components.GetAt(0));
    EXPECT_EQ(RecordAt(copy.m_additions, 0).m_amount, 2);
    EXPECT_EQ(copy.m_byVol, 1);
    EXPECT_EQ(copy.m_batchSize, 500);
    ASSERT_NE(copy.FindOptimizationParams(), nullptr);
    EXPECT_NE(copy.FindOptimizationParams(), with.FindOptimizationParams());
    EXPECT_EQ(Found(copy.FindOptimizationParams()).m_goal, kGoalLOI);

    // With parameters onto one without, and back: each glaze holds its own or none.
    CGlaze without("without");
    without = with;
    EXPECT_EQ(without.m_lowCone, -4) << "assigning re-derives them too";
    EXPECT_EQ(without.m_highTemp, 1201);
    ASSERT_NE(without.FindOptimizationParams(), nullptr);
    EXPECT_NE(without.FindOptimizationParams(), with.FindOptimizationParams());
    without.GetOptimizationParams().m_goal = kGoalExpansion;
    EXPECT_EQ(with.GetOptimizationParams().m_goal, kGoalLOI);
    with = CGlaze("plain");
    EXPECT_EQ(with.FindOptimizationParams(), nullptr);
    EXPECT_TRUE(with.m_components.empty());
    EXPECT_EQ(with.m_lowCone, 0);

    CGlaze& self = without;
    without = self;
    EXPECT_EQ(without.m_components.GetCount(), 1);
    EXPECT_EQ(without.GetOptimizationParams().m_goal, kGoalExpansion);
}

// --- search criteria ----------------------------------------------------------------------------

CGlaze SearchGlaze()
{
    CGlaze glaze("Celadon Blue");
    glaze.m_type = "Satin matte";
    glaze.m_source = "Class notes";
    glaze.SetField(kGlazeFieldRange, "cone 5-7");
    glaze.SetField(kGlazeFieldDate, "3/15/2002");
    glaze.m_components.Add("Potash Feldspar", 40);
    glaze.m_additions.Add("Cobalt Carbonate", 1);
    glaze.m_notes.push_back("Runs when thick");
    return glaze;
}

TEST_F(GlazeTest, CriteriaOnOneFieldAreAlternatives)
{
    const CGlaze satin = SearchGlaze();
    CGlaze glossy = SearchGlaze();
    glossy.m_type = "GLOSSY";
    CGlaze neither = SearchGlaze();
    neither.m_type = "matte";

    CGlazeSearchCriteria criteria;
    criteria.Add(kSearchType, kSearchContains, "glossy");
    criteria.Add(kSearchType, kSearchContains, "satin");
    EXPECT_TRUE(satin.MatchesCriteria(criteria));
    EXPECT_TRUE(glossy.MatchesCriteria(criteria));
    EXPECT_FALSE(neither.MatchesCriteria(criteria));

    // Alternatives, combined with a criterion on another field.
    criteria.Add(kSearchName, kSearchEquals, "celadon blue");
    EXPECT_TRUE(glossy.MatchesCriteria(criteria));
    ASSERT_FALSE(criteria.m_criteria.empty());
    criteria.m_criteria.back()->m_text = "celadon";
    EXPECT_FALSE(glossy.MatchesCriteria(criteria));
    criteria.m_combineMode = kCombineNotAll;
    EXPECT_TRUE(glossy.MatchesCriteria(criteria));
    criteria.m_combineMode = kCombineAny;
    EXPECT_TRUE(glossy.MatchesCriteria(criteria));
    EXPECT_FALSE(neither.MatchesCriteria(criteria));
    criteria.m_combineMode = kCombineNone;
    EXPECT_TRUE(neither.MatchesCriteria(criteria));
    EXPECT_FALSE(glossy.MatchesCriteria(criteria));

    // An empty set is all matched and none matched.
    CGlazeSearchCriteria empty;
    EXPECT_TRUE(satin.MatchesCriteria(empty));
    empty.m_combineMode = kCombineNone;
    EXPECT_TRUE(satin.MatchesCriteria(empty));
    empty.m_combineMode = kCombineAny;
    EXPECT_FALSE(satin.MatchesCriteria(empty));
}

bool Matches(const CGlaze& glaze, const CGlazeSearchCriterion& criterion)
{
    CGlazeSearchCriteria criteria;
    criteria.m_criteria.push_back(std::make_unique<CGlazeSearchCriterion>(criterion));
    return glaze.MatchesCriteria(criteria);
}

CGlazeSearchCriterion Criterion(int field, int op, const std::string& text = std::string())
{
    CGlazeSearchCriterion criterion;
    criterion.m_field = field;
    criterion.m_operator = op;
    criterion.m_text = text;
    return criterion;
}

TEST_F(GlazeTest, CriteriaOnDatesConesAndLines)
{
    const CGlaze glaze = SearchGlaze();
    CGlazeSearchCriterion date = Criterion(kSearchDate, kSearchBefore);
    date.m_date1 = 20020316;
    EXPECT_TRUE(Matches(glaze, date));
    date.m_operator = kSearchAfter;
    EXPECT_FALSE(Matches(glaze, date));
    date.m_operator = kSearchBetween;
    date.m_date1 = 20020315;
    date.m_date2 = 20020315;
    EXPECT_TRUE(Matches(glaze, date));
    // The glaze's own day is on or before and on or after it, but not before or after it.
    for (const auto& [op, match] : {std::pair{kSearchOnOrBefore, true}, std::pair{kSearchOnOrAfter, true},
                                    std::pair{kSearchBefore, false}, std::pair{kSearchAfter, false}}) {
        date.m_operator = op;
        EXPECT_EQ(Matches(glaze, date), match) << op;
    }
    date.m_operator = kSearchOn;
    date.m_date1 = 0; // no date asked: never a match
    EXPECT_FALSE(Matches(glaze, date));

    CGlazeSearchCriterion cones = Criterion(kSearchConeRange, 0);
    cones.m_low = 7;
    cones.m_high = 10;
    EXPECT_TRUE(Matches(glaze, cones));
    cones.m_low = 1;
    cones.m_high = 4;
    EXPECT_FALSE(Matches(glaze, cones));
    cones.m_low = 6; // inside the glaze's range 5 to 7
    cones.m_high = 6;
    EXPECT_TRUE(Matches(glaze, cones));
    EXPECT_FALSE(Matches(CGlaze("no range"), cones));

    EXPECT_TRUE(Matches(glaze, Criterion(kSearchNotes, kSearchContains, "thick")));
    EXPECT_FALSE(Matches(glaze, Criterion(kSearchNotes, kSearchEquals, "")));
    EXPECT_TRUE(Matches(glaze, Criterion(kSearchVariations, kSearchEquals, "")));
    EXPECT_TRUE(Matches(glaze, Criterion(kSearchNotesOrSource, kSearchContains, "class")));
    EXPECT_TRUE(Matches(glaze, Criterion(kSearchMaterial, kSearchContains, "cobalt")));
    EXPECT_FALSE(Matches(glaze, Criterion(kSearchMaterial, kSearchEquals, "cobalt")));
    EXPECT_TRUE(Matches(glaze, Criterion(kSearchRangeText, kSearchEquals, "cone 5-7")));

    CGlazeSearchCriterion byVolume = Criterion(kSearchByVolume, 0);
    EXPECT_TRUE(Matches(glaze, byVolume));
    byVolume.m_low = 1;
    EXPECT_FALSE(Matches(glaze, byVolume));

    EXPECT_TRUE(Matches(glaze, Criterion(kSearchAnyField, kSearchContains, "runs when")));
    EXPECT_TRUE(Matches(glaze, Criterion(kSearchAnyField, kSearchEquals, "satin matte")));
    EXPECT_FALSE(Matches(glaze, Criterion(kSearchAnyField, kSearchContains, "cobalt")));
}

TEST_F(GlazeTest, CriteriaNeedingTheChemistry)
{
    const CGlaze glaze = SearchGlaze();
    CGlazeSearchCriterion oxide = Criterion(kSearchOxide, 0);
    oxide.m_element = 14;
    // An analysis without chemistry holds no oxide.
    EXPECT_FALSE(Matches(glaze, oxide));
    EXPECT_FALSE(glaze.GetAnalysis().IsValid());
    oxide.m_element = 500;
    EXPECT_FALSE(Matches(glaze, oxide));

    // Without a chosen formula nothing matches; with one, the formula judges the analysis.
    CGlazeSearchCriterion limits = Criterion(kSearchWithinLimits, 0);
    EXPECT_FALSE(Matches(glaze, limits));
    const CLimitFormula formula("Cone 6 gloss");
    limits.m_limitFormula = &formula;
    EXPECT_EQ(Matches(glaze, limits), formula.IsAnalysisWithin(glaze.GetAnalysis()));
}

} // namespace
