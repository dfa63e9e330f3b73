#include "limits/OxideCombination.h"

#include "core/support/CheckedItems.h"
#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Set = COxideCombination::ItemSet;

std::vector<int> Items(const Set& set)
{
    std::vector<int> items;
    for (int item = 0; item < 128; ++item)
        if (COxideCombination::HasItem(set, item))
            items.push_back(item);
    return items;
}

// A valid analysis with Na 0.2, K 0.1, Ca 0.5, Mg 0.2, Al 0.4 and Si 3 by unity, and weight
// fractions Na 0.03, K 0.02, Al 0.15, Si 0.6, LOI 0.1.
CGlazeAnalysis SampleAnalysis()
{
    CGlazeAnalysis analysis;
    analysis.unity[11] = 0.2;
    analysis.unity[19] = 0.1;
    analysis.unity[20] = 0.5;
    analysis.unity[12] = 0.2;
    analysis.unity[13] = 0.4;
    analysis.unity[14] = 3.0;
    analysis.weightFraction[11] = 0.03;
    analysis.weightFraction[19] = 0.02;
    analysis.weightFraction[13] = 0.15;
    analysis.weightFraction[14] = 0.6;
    analysis.weightFraction[104] = 0.1;
    return analysis;
}

TEST(OxideCombinationTest, ParsesKindAndItems)
{
    struct Case {
        const char* formula;
        int kind;
        int first;
        std::vector<int> setA;
        std::vector<int> setB;
    };
    const Case cases[] = {
        {"Na+K", 1, 11, {11, 19}, {}},
        {"K+Na", 1, 19, {11, 19}, {}},
        {"Si/Al", 3, 14, {14}, {13}},
        {"Al", 0, 13, {13}, {}},
        {"(Ca+Mg)-Na", 2, 20, {12, 20}, {11}},
        {"Ca+Mg-", 1, 20, {12, 20}, {}},   // nothing after the minus: a sum
        {"Ca-", 0, 20, {20}, {}},
        {"Ca-Xx", 0, 20, {20}, {}},        // an unknown symbol is no token
        {"Kna", 0, -1, {}, {}},            // reads as "Kn", which names no element
        {"na+Xx", 0, -1, {}, {}},
        {"", 0, -1, {}, {}},
        {"Alkalis", 0, 105, {105}, {}},    // the word before the element Al
        {"LOI+Neutrals+Acids", 1, 104, {104, 106, 107}, {}},
        {"Na+Na", 1, 11, {11}, {}},        // a repeated token counts twice
        {"Si/", 3, 14, {14}, {}},
        {"/Al", 3, 13, {}, {13}},
        {"Na2O", 1, 11, {8, 11}, {}},      // digits separate: "O" is oxygen
    };
    for (const Case& c : cases) {
        const COxideCombination combination("c", c.formula);
        EXPECT_EQ(combination.GetKind(), c.kind) << c.formula;
        EXPECT_EQ(combination.GetFirstItem(), c.first) << c.formula;
        EXPECT_EQ(Items(combination.GetSetA()), c.setA) << c.formula;
        EXPECT_EQ(Items(combination.GetSetB()), c.setB) << c.formula;
    }
}

TEST(OxideCombinationTest, ParseItemsCountsRecognisedTokens)
{
    const COxideCombination combination;
    Set set{};
    set[15] = 0xFF; // emptied first
    EXPECT_EQ(combination.ParseItems("Na + K + Na + Qq + 7", set), 3);
    EXPECT_EQ(Items(set), (std::vector<int>{11, 19}));
}

TEST(OxideCombinationTest, ChangingTheFormulaParsesAgain)
{
    COxideCombination combination("c", "Na+K", 0.0, 1.0);
    EXPECT_TRUE(combination.IsParsed());
    combination.SetFormula("Si/Al");
    EXPECT_FALSE(combination.IsParsed());
    EXPECT_EQ(combination.GetKind(), COxideCombination::kRatio);
    const COxideCombination copy(combination); // copies the parsed state with the sets
    EXPECT_TRUE(copy.IsParsed());
    EXPECT_EQ(Items(copy.GetSetB()), (std::vector<int>{13}));
}

TEST(OxideCombinationTest, SodiumPlusPotassium)
{
    const std::pair<const char*, bool> cases[] = {
        {"Na+K", true},  {"K+Na", true},      {"Na+K-", true},  {"Na+K+LOI", true},
        {"Na+K+Ca", false}, {"Na", false},    {"Na/K", false},  {"Na+K-Ca", false},
    };
    for (const auto& [formula, expected] : cases)
        EXPECT_EQ(COxideCombination("c", formula).IsSodiumPlusPotassium(), expected) << formula;
}

TEST(OxideCombinationTest, Values)
{
    const CGlazeAnalysis analysis = SampleAnalysis();
    struct Case {
        const char* formula;
        bool byPercent;
        double value;
    };
    const Case cases[] = {
        {"Na+K", false, 0.3},
        {"Na+K", true, 5.0},          // the two weight percentages
        {"Si/Al", false, 7.5},
        {"Si/Al", true, 4.0},         // the ratio of the bare fractions
        {"(Ca+Mg)-Na", false, 0.5},
        {"Ca", false, 0.5},
        {"LOI", true, 10.0},
        {"Si/", false, 999.99},       // an empty denominator
        {"Si/Zn", true, 999.99},      // a denominator absent from the glaze
        {"Kna", false, 0.0},          // no item at all
    };
    for (const Case& c : cases)
        EXPECT_NEAR(COxideCombination("c", c.formula).GetValue(analysis, c.byPercent), c.value, 1e-12)
            << c.formula << (c.byPercent ? " by percent" : "");

    CGlazeAnalysis invalid = analysis;
    invalid.amountsValid = 0;
    for (const char* formula : {"Na+K", "Si/", "Ca", "(Ca+Mg)-Na"})
        EXPECT_EQ(COxideCombination("c", formula).GetValue(invalid, false), 0.0) << formula;
}

TEST(OxideCombinationTest, ArrayOperationsIgnoreBadPositions)
{
    COxideCombinationArray list;
    list.InsertAt(1, COxideCombination("x", "Na"));
    EXPECT_EQ(list.GetCount(), 0);
    list.InsertAt(0, COxideCombination("b", "Na"));
    list.InsertAt(0, COxideCombination("a", "K"));
    list.SetAt(2, COxideCombination("z", "Ca"));
    list.RemoveAt(-1);
    list.SetAt(1, COxideCombination("B2", "Si/Al"));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(RecordAt(list, 1).m_name, "B2");
    EXPECT_EQ(RecordAt(list, 1).GetKind(), COxideCombination::kRatio);
    EXPECT_EQ(list.FindByName("b2"), &list.GetAt(1));

    COxideCombinationArray copy(list);
    RecordAt(copy, 0).m_name = "changed";
    EXPECT_EQ(RecordAt(list, 0).m_name, "a");
}

TEST(OxideCombinationTest, CompareByNameAndByRole)
{
    CAppContext context; // the role order reads the element table
    COxideCombinationArray list;
    for (const auto& [name, formula] : std::vector<std::pair<const char*, const char*>>{
             {"Si:Al", "Si/Al"}, // 0: ratio
             {"KNaO", "Na+K"},   // 1: sum, alkali-led
             {"CaO", "Ca"},      // 2: single alkali
             {"Al2O3", "Al"},    // 3: single neutral
             {"SiO2", "Si"},     // 4: single acid
             {"LOI", "LOI"},     // 5: led by a total
             {"none", "Kna"},    // 6: no item
             {"", "Na"},         // 7: empty name
             {"cao", "Ca"}}) {   // 8: same key as 2
        list.Add(COxideCombination(name, formula));
    }
    // By role: single alkali < single neutral < single acid < sum < ratio < total-led < none.
    EXPECT_EQ(list.Compare(2, 3, false), -1);
    EXPECT_EQ(list.Compare(3, 4, false), -1);
    EXPECT_EQ(list.Compare(4, 1, false), -1);
    EXPECT_EQ(list.Compare(1, 0, false), -1);
    EXPECT_EQ(list.Compare(0, 5, false), -1);
    EXPECT_EQ(list.Compare(5, 6, false), -1);
    EXPECT_EQ(list.Compare(6, 5, false), 1);
    EXPECT_EQ(list.Compare(2, 8, false), 0); // equal keys, names equal ignoring case
    // By name: ignoring case, empty names last.
    EXPECT_EQ(list.Compare(2, 8, true), 0);
    EXPECT_EQ(list.Compare(7, 0, true), 1);
    EXPECT_EQ(list.Compare(0, 7, true), -1);
    EXPECT_EQ(list.Compare(3, 2, true), -1);
    EXPECT_EQ(list.Compare(0, 99, true), 0);
}

TEST(OxideCombinationTest, DefaultCombinations)
{
    CLimitFormulaDB database;
    database.AddDefaultCombinations();
    const COxideCombinationArray& list = database.m_combinations;
    ASSERT_EQ(list.GetCount(), 14);
    std::string names;
    for (int i = 0; i < list.GetCount(); ++i)
        names += RecordAt(list, i).m_name + " ";
    EXPECT_EQ(names, "Na2O K2O KNaO CaO MgO Li2O ZnO BaO SrO PbO Al2O3 B2O3 SiO2 Si:Al ");
    EXPECT_EQ(RecordAt(list, 2).GetFormula(), "Na+K");
    EXPECT_TRUE(RecordAt(list, 2).IsSodiumPlusPotassium());
    EXPECT_EQ(RecordAt(list, 11).m_plotMax, 2.0);
    EXPECT_EQ(RecordAt(list, 12).m_plotMax, 10.0);
    EXPECT_EQ(RecordAt(list, 13).GetFormula(), "Si/Al");
    EXPECT_EQ(RecordAt(list, 13).m_plotMax, 20.0);
    EXPECT_EQ(RecordAt(list, 13).m_plotMin, 0.0);
}

} // namespace
