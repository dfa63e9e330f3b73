#include "graphs/GraphVariables.h"

#include "core/glazes/GlazeAnalysisTestSupport.h"
#include "elements/ElementTable.h"
#include "graphs/GraphColorLists.h"
#include "graphs/GraphTemplate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using ::testing::ElementsAre;

constexpr int kNa = 11, kK = 19, kCa = 20, kAl = 13, kSi = 14;

// Unity 0.195 Na2O, 0.005 K2O, 0.8 CaO, 0.4 Al2O3, 3 SiO2, fired at cone 6.
class GraphVariablesTest : public GlazeChemistryTestBase {
protected:
    GraphVariablesTest()
    {
        g_prefs.decanalysis = 3;
        g_prefs.decanalysispct = 2;
        const std::pair<const char*, int> oxides[] = {{"Na2O", kNa}, {"K2O", kK}, {"CaO", kCa}, {"Al2O3", kAl}, {"SiO2", kSi}};
        for (const auto& [formula, z] : oxides)
            AddMaterial(formula, formula);
        const auto grams = [](int z, double moles) { return moles * GetElementTable()[z].oxideMW; };
        m_glaze = MakeGlaze({{"Na2O", grams(kNa, 0.195)}, {"K2O", grams(kK, 0.005)}, {"CaO", grams(kCa, 0.8)},
                             {"Al2O3", grams(kAl, 0.4)}, {"SiO2", grams(kSi, 3.0)}},
                            {}, "6");
        m_template.oxtype = kGraphUnitUnity;
    }

    std::vector<std::pair<std::string, double>> Entries(const char* list, bool keepSmall = false, bool addRemainder = false)
    {
        m_template.bpoxides = list;
        std::vector<CGraphOxideEntry> entries;
        const int count = GetOxideGroupValues(m_template, nullptr, m_glaze, entries, keepSmall, false, 0, addRemainder, false);
        EXPECT_EQ(count, static_cast<int>(entries.size()));
        std::vector<std::pair<std::string, double>> result;
        for (const CGraphOxideEntry& e : entries)
            result.emplace_back(e.label, std::round(e.value * 1000) / 1000);
        return result;
    }

    CGlaze m_glaze{"unused"};
    CGraphTemplate m_template{"Oxides"};
};

using Entry = std::pair<std::string, double>;

TEST_F(GraphVariablesTest, ValuesAndRemaindersOfTheOxideList)
{
    // The unused codes read 0, whatever the array held (they were once left as they were, and a
    // histogram of code 117 plotted garbage).
    CGraphValues values{};
    values[117] = -7.0;
    values[123] = 9.0;
    m_template.bpoxides = "14,110";
    ASSERT_EQ(GetGraphVariableValues(m_template, m_glaze, values), 2);
    EXPECT_NEAR(values[kSi], 3.0, 1e-9);
    EXPECT_NEAR(values[0], 0.2, 1e-9); // KNaO: sodium and potassium together
    EXPECT_NEAR(values[kGraphVarAlkalis], 1.0, 1e-9);
    EXPECT_NEAR(values[kGraphVarOtherAcids], 0.0, 1e-9);
    EXPECT_NEAR(values[kGraphVarOtherNonvolatiles], 1.4, 1e-9);
    EXPECT_NEAR(values[kGraphVarOtherOxides], 0.4, 1e-9);
    EXPECT_NEAR(values[kGraphVarSiAlRatio], 7.5, 1e-9);
    EXPECT_EQ(values[kGraphVarHighestTemp], m_glaze.m_highTemp);
    EXPECT_EQ(values[117], 0.0);
    EXPECT_EQ(values[123], 0.0);

    m_template.oxtype = kGraphUnitWeightPercent;
    ASSERT_EQ(GetGraphVariableValues(m_template, m_glaze, values), 2);
    EXPECT_NEAR(values[kSi], m_glaze.GetAnalysis().weightFraction[kSi] * 100, 1e-9);
    EXPECT_NEAR(values[kGraphVarAlkalis] + values[kGraphVarNeutrals] + values[kGraphVarAcids], 100.0, 1e-9);

    // Without a usable analysis nothing is touched.
    CGlaze unknown = MakeGlaze({{"Unobtainium", 10.0}});
    values.fill(1.5);
    EXPECT_EQ(GetGraphVariableValues(m_template, unknown, values), 0);
    EXPECT_EQ(values[kSi], 1.5);
    std::vector<CGraphOxideEntry> entries(3);
    EXPECT_EQ(GetOxideGroupValues(m_template, nullptr, unknown, entries, true, false, 0, true, true), 0);
    EXPECT_TRUE(entries.empty());
}

TEST_F(GraphVariablesTest, OxideGroupEntries)
{
    // A listed group total hides its oxides.
    EXPECT_THAT(Entries("105,20"), ElementsAre(Entry{"Alkalis", 1.0}));
    // KNaO is left out after sodium or potassium, not before.
    EXPECT_THAT(Entries("11,0"), ElementsAre(Entry{"Na2O", 0.195}));
    EXPECT_THAT(Entries("0,11"), ElementsAre(Entry{"KNaO", 0.2}, Entry{"Na2O", 0.195}));
    // 0.005 is below what unity charts show, unless small values are kept; it still leaves the
    // remainders.
    EXPECT_THAT(Entries("19,110,116"), ElementsAre(Entry{"Other alkalis", 0.995}, Entry{"Other oxides", 3.4}));
    EXPECT_THAT(Entries("19,110,116", true), ElementsAre(Entry{"K2O", 0.005}, Entry{"Other alkalis", 0.995},
                                                         Entry{"Other oxides", 3.4}));
    // An absent oxide, and a remainder whose group was listed, give nothing.
    EXPECT_THAT(Entries("3,105,110"), ElementsAre(Entry{"Alkalis", 1.0}));
    EXPECT_THAT(Entries("14,13", false, true), ElementsAre(Entry{"SiO2", 3.0}, Entry{"Al2O3", 0.4},
                                                           Entry{"Other oxides", 1.0}));
    // Percentages drop values below 0.1 (0.11 % of K2O stays).
    m_template.oxtype = kGraphUnitMolePercent;
    EXPECT_THAT(Entries("19,3"), ElementsAre(Entry{"K2O", 0.114}));
    EXPECT_THAT(Entries("19,3", true), ElementsAre(Entry{"K2O", 0.114}, Entry{"Li2O", 0.0}));
}

TEST_F(GraphVariablesTest, OrderingColoursAndOtherVariables)
{
    COxideColorList colors;
    colors.SetDefaults();
    colors[kAl] = {kAl, 5, 2, 1};
    m_template.bpoxides = "13,14,20,104,118";
    m_template.mono = 0;
    std::vector<CGraphOxideEntry> entries;
    ASSERT_EQ(GetOxideGroupValues(m_template, &colors, m_glaze, entries, false, false, -1, false, true), 4);
    EXPECT_EQ(entries[0].label, "Si/Al ratio"); // 7.5
    EXPECT_EQ(entries[0].color, 7);
    EXPECT_EQ(entries[0].code, kGraphVarSiAlRatio);
    EXPECT_EQ(entries[1].label, "SiO2");
    EXPECT_EQ(entries[1].color, 12);
    EXPECT_EQ(entries[2].label, "CaO");
    EXPECT_EQ(entries[3].label, "Al2O3");
    EXPECT_EQ(entries[3].color, 5);
    EXPECT_EQ(entries[3].pattern, 3);
    // LOI (0 here) is dropped; ascending and reversed flips the same order.
    ASSERT_EQ(GetOxideGroupValues(m_template, &colors, m_glaze, entries, false, true, 1, false, true), 4);
    EXPECT_EQ(entries[0].label, "Si/Al ratio");
    EXPECT_EQ(entries[3].label, "Al2O3");
    m_template.mono = 1;
    ASSERT_EQ(GetOxideGroupValues(m_template, &colors, m_glaze, entries, false, false, 0, false, false), 3);
    EXPECT_EQ(entries[0].color, 0);
    EXPECT_EQ(entries[0].pattern, 3);
    EXPECT_EQ(entries[1].color, 15);
}

TEST_F(GraphVariablesTest, LabelsFormatsAndPointTexts)
{
    std::string label, format;
    GetGraphVariableLabel(m_template, kSi, label, format);
    EXPECT_EQ(label, "SiO2");
    EXPECT_EQ(format, "");
    GetGraphVariableLabel(m_template, kGraphVarLoi, label, format);
    EXPECT_EQ(label, "LOI");
    EXPECT_EQ(format, "##0\\%");
    GetGraphVariableLabel(m_template, kGraphVarCost, label, format);
    EXPECT_EQ(label, "Cost per kg of glaze");
    EXPECT_EQ(format, "\\$###0.00");
    GetGraphVariableLabel(m_template, 125, label, format);
    EXPECT_EQ(label, "Firing temp (C)");
    GetGraphVariableLabel(m_template, 122, label, format);
    EXPECT_EQ(label, "???");
    GetGraphVariableLabel(m_template, 400, label, format);
    EXPECT_EQ(label, "???");
    EXPECT_EQ(format, "");
    m_template.oxtype = kGraphUnitMolePercent;
    GetGraphVariableLabel(m_template, kGraphVarOtherOxides, label, format);
    EXPECT_EQ(label, "Other oxides");
    EXPECT_EQ(format, "##0\\%");
    EXPECT_EQ(BuildChartCurrencyFormat("EUR", 2, 3), "\\E\\U\\R##0.000");

    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarAlkalis, 12.5), "12.50%m  Alkalis");
    m_template.oxtype = kGraphUnitWeightPercent;
    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarOtherUnexpected, 1.0), "1.00%  other unexpected oxides");
    m_template.oxtype = kGraphUnitUnity;
    EXPECT_EQ(FormatGraphPointValue(m_template, kSi, 3.0), "3.000  SiO2");
    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarLoi, 3.2), "3.20%  LOI");
    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarSiAlRatio, 4.254), "Si/Al: 4.25");
    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarExpansion, 65.26), "COE: 65.3 x 10e-7 per degree C");
    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarViscosity, 12.0), "Viscosity: 12.0");
    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarCost, 1.254), "$1.25 per kg of glaze");
    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarHighestTemp, 1201), "Firing temp: 1201 C (c/6)");
    EXPECT_EQ(FormatGraphPointValue(m_template, kGraphVarLowestTemp, 500), "Firing temp: 500 C (c/023)");
    EXPECT_EQ(FormatGraphPointValue(m_template, 117, 1.0), "");
}

TEST_F(GraphVariablesTest, VariableListsAndDataSetTitles)
{
    EXPECT_EQ(FormatGraphVariableList(14, 105, 110), "105,14,110,");
    EXPECT_EQ(FormatGraphVariableList(121, 116, 3), "3,116,121,");
    EXPECT_EQ(FormatGraphVariableList(104, 115, 109), "109,115,104,");
    EXPECT_EQ(FormatGraphVariableList(200, -1, 117), "");

    CGraphDataSource source("[current glaze] in [current database] [current glaze]");
    m_template.m_dataSources.InsertAt(0, source);
    const std::string db = "Tests";
    const std::string glaze = "Celadon";
    EXPECT_EQ(GetDataSetTitle(m_template, 0, &db, &glaze), "Celadon in Tests [current glaze]");
    EXPECT_EQ(GetDataSetTitle(m_template, 0, nullptr, &glaze), "Celadon in [current database] [current glaze]");
    EXPECT_EQ(GetDataSetTitle(m_template, 1, &db, &glaze), "");
}


// A listed group leaves the remainders: alkalis 1.0 of 4.4 unity moles leave 3.4 over, and no
// "other alkalis".
TEST_F(GraphVariablesTest, AListedGroupLeavesTheRemainders)
{
    CGraphValues values{};
    m_template.bpoxides = "105";
    ASSERT_EQ(GetGraphVariableValues(m_template, m_glaze, values), 1);
    EXPECT_NEAR(values[kGraphVarAlkalis], 1.0, 1e-9);
    EXPECT_NEAR(values[kGraphVarOtherAlkalis], 0.0, 1e-12);
    EXPECT_NEAR(values[kGraphVarOtherNeutrals], 0.4, 1e-9);
    EXPECT_NEAR(values[kGraphVarOtherNonvolatiles], 3.4, 1e-9);
    EXPECT_NEAR(values[kGraphVarOtherOxides], 3.4, 1e-9);
}

} // namespace
