#include "GlazeAnalysisTestSupport.h"
#include "elements/ElementTable.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

class AnalysisPanesTest : public GlazeChemistryTestBase {
protected:
    std::array<std::string, 10> Panes(const CGlaze& glaze)
    {
        std::array<std::string, 10> p;
        glaze.FormatAnalysisPanes(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9]);
        return p;
    }

    static std::string Blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
};

TEST_F(AnalysisPanesTest, WorkedExampleTexts)
{
    AddMaterial("CaCO3", "CaCO3", 0.50);
    AddMaterial("SiO2", "SiO2", 0.30);
    const auto p = Panes(MakeGlaze({{"CaCO3", 100.0892}, {"SiO2", 60.0843}}, {}, "6"));

    EXPECT_EQ(p[0], "   CaO  1.00\r\n\r\n"
                    "  SiO2  1.00\r\n\r\n"
                    "Expansion: 89.6 \r\n");
    EXPECT_EQ(p[1], "   CaO 48.3%\r\n\r\n"
                    "  SiO2 51.7%\r\n\r\n"
                    "LOI: 27.5%\r\n\r\n"
                    "Expansion: 89.6 \r\n");
    EXPECT_EQ(p[2], "   CaO 50.0%\r\n\r\n"
                    "  SiO2 50.0%\r\n\r\n"
                    "Expansion: 89.6 \r\n");
    const std::string sep = Blanks(4);
    EXPECT_EQ(p[3], "  CaO  1.00" + sep + Blanks(11) + sep + " SiO2  1.00\r\n\r\n"
                    "Expansion: 89.6 x 10e-7 per degree C\r\n");
    EXPECT_EQ(p[4], "  CaO 48.3%" + sep + Blanks(11) + sep + " SiO2 51.7%\r\n\r\n"
                    "Volatiles:\r\n"
                    "   CO2 37.9%\r\n\r\n"
                    "Loss On Ignition: 27.5%\r\n\r\n"
                    "Expansion: 89.6 x 10e-7 per degree C\r\n");
    EXPECT_EQ(p[5], "  CaO 50.0%" + sep + Blanks(11) + sep + " SiO2 50.0%\r\n\r\n"
                    "Expansion: 89.6 x 10e-7 per degree C\r\n");

    const std::string ca = "  CaCO3" + Blanks(13);
    const std::string si = "  SiO2" + Blanks(14);
    const std::string indent = Blanks(20);
    EXPECT_EQ(p[6], ca + "  100.09\r\n" + si + "   60.08\r\n" + indent + "---------\r\n" + indent + "  160.17\r\n\r\n");
    EXPECT_EQ(p[7], p[6]);
    EXPECT_EQ(p[8], ca + "   62.5%\r\n" + si + "   37.5%\r\n" + indent + "--------\r\n" + indent + "  100.0%\r\n\r\n");
    EXPECT_EQ(p[9], ca + "$  0.31\r\n" + si + "$  0.11\r\n" + indent + "--------\r\n" + indent + "$  0.42\r\n\r\n"
                    "$  0.42 per kg glaze\r\n"
                    "$  0.07 per 160.2 g batch\r\n");
}

TEST_F(AnalysisPanesTest, LeachRatiosAndAdditions)
{
    AddMaterial("Potash Feldspar", "K2O Al2O3 6SiO2", 1.0);
    AddMaterial("Silica", "SiO2", 1.0);
    AddMaterial("Whiting", "CaCO3", 1.0);
    AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O", 1.0);
    AddMaterial("Red Iron Oxide", "Fe2O3", 2.0);
    g_prefs.anchadd = 0;
    CGlaze glaze = MakeGlaze({{"Potash Feldspar", 40}, {"Silica", 30}, {"Whiting", 20}, {"Kaolin", 10}},
                             {{"Red Iron Oxide", 4}}, "10");
    glaze.SetField(kGlazeFieldBatchSize, "500");
    const auto p = Panes(glaze);

    EXPECT_EQ(p[0], "   K2O  0.26\r\n   CaO  0.74\r\n\r\n"
                    " Al2O3  0.41\r\n\r\n"
                    "  SiO2  3.71\r\n\r\n"
                    "Al:Si=1.00:9.11\r\n"
                    "A:N:A=1.00:0.41:3.71\r\n\r\n"
                    "Expansion: 74.9 \r\n");
    EXPECT_EQ(p[3].substr(0, p[3].find("\r\n\r\n") + 4),
              "  K2O  0.26    Al2O3  0.41     SiO2  3.71\r\n"
              "  CaO  0.74" + Blanks(4 + 11 + 4 + 11) + "\r\n\r\n");
    EXPECT_NE(p[3].find("\r\n\r\nAlumina:Silica ratio is  1.00:9.11\r\n"
                        "Alk:Neut:Acid ratio is 1.00:0.41:3.71\r\n\r\n"
                        "Expansion: 74.9 x 10e-7 per degree C\r\n"),
              std::string::npos);

    // Additions follow the components; their percentages are of the component total.
    const std::string iron = "  Red Iron Oxide" + Blanks(4);
    EXPECT_NE(p[8].find("  100.0%\r\n\r\n" + iron + "    4.0%\r\n"), std::string::npos);
    EXPECT_NE(p[7].find("  500.00\r\n\r\n" + iron + "   20.00\r\n"), std::string::npos);
    EXPECT_NE(p[9].find(Blanks(20) + "$  1.00\r\n\r\n" + iron + "$  0.08\r\n" + Blanks(20) + "--------\r\n" +
                        Blanks(20) + "$  0.08\r\n\r\n$  1.08 per kg glaze\r\n$  0.54 per 500.0 g batch\r\n"),
              std::string::npos);
}

TEST_F(AnalysisPanesTest, CompactExpansionLine)
{
    // Silica at 80 % by weight with a coefficient of 1.0526; beryllia (unknown) the rest.
    CElementTable table;
    table[14].expansion = 1.0526;
    CWorkingElementTableScope scope(table);
    AddMaterial("Mix", "% 80 SiO2  20 BeO");
    AddMaterial("Low", "% 50 SiO2  50 BeO");
    auto p = Panes(MakeGlaze({{"Mix", 100}}));
    EXPECT_NE(p[0].find("Expansion:105.3[80%]\r\n"), std::string::npos) << p[0];
    EXPECT_NE(p[4].find("Expansion: 105.3 x 10e-7 per degree C\r\n"
                        "  (based on 80% of fired weight)\r\n"),
              std::string::npos);
    p = Panes(MakeGlaze({{"Low", 100}}));
    EXPECT_NE(p[1].find("Expansion:105.3[50%]\r\n"), std::string::npos) << p[1];
    table[14].expansion = 1.2;
    p = Panes(MakeGlaze({{"Low", 100}}));
    EXPECT_NE(p[2].find("Expansion:120.0[50%]\r\n"), std::string::npos) << p[2];
    table[14].expansion = 0.8;
    p = Panes(MakeGlaze({{"Low", 100}}));
    EXPECT_NE(p[2].find("Expansion:80.0 [50%]\r\n"), std::string::npos) << p[2];
    // From 100 on no blank; a share of 49.48 % is written as 49 %.
    table[14].expansion = 1.0;
    p = Panes(MakeGlaze({{"Low", 100}}));
    EXPECT_NE(p[2].find("Expansion:100.0[50%]\r\n"), std::string::npos) << p[2];
    AddMaterial("Near", "% 49.48 SiO2  50.52 BeO");
    p = Panes(MakeGlaze({{"Near", 100}}));
    EXPECT_NE(p[5].find("  (based on 49% of fired weight)\r\n"), std::string::npos) << p[5];
}

TEST_F(AnalysisPanesTest, UnknownMaterialLeavesOnlyTheRecipe)
{
    AddMaterial("Silica", "SiO2", 1.0);
    const auto p = Panes(MakeGlaze({{"Silica", 50}, {"Mystery", 50}}));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(p[i], "Analysis unavailable") << i;
    EXPECT_EQ(p[6], "  Silica" + Blanks(12) + "   50.00\r\n" + " ?Mystery" + Blanks(11) + "   50.00\r\n" +
                        Blanks(20) + "---------\r\n" + Blanks(20) + "  100.00\r\n\r\n");
    EXPECT_NE(p[9].find(" ?Mystery" + Blanks(11) + "$  0.00\r\n"), std::string::npos);
}

TEST_F(AnalysisPanesTest, MarksAndNameWidths)
{
    CMaterial& m = AddMaterial("Twenty Letter Name X", "SiO2");
    m.m_available = 0;
    m.m_hazNotes.push_back("toxic");
    g_prefs.hazvis = 1;
    auto p = Panes(MakeGlaze({{"Twenty Letter Name X", 10}}));
    EXPECT_EQ(p[6].substr(0, 24), "x-Twenty Letter Nam    1");
    g_prefs.hazvis = 0;
    p = Panes(MakeGlaze({{"Twenty Letter Name X", 10}}));
    EXPECT_EQ(p[6].substr(0, 24), "-Twenty Letter Name    1");
}

TEST_F(AnalysisPanesTest, TableColumnsFollowTheDecimals)
{
    AddMaterial("Feldspar", "K2O Al2O3 6SiO2");
    g_prefs.decanalysis = 3;
    g_prefs.tzsanalysis = 3;
    g_prefs.decanalysispct = 4;
    g_prefs.tzsanalysispct = 0;
    const auto p = Panes(MakeGlaze({{"Feldspar", 100}}));
    EXPECT_EQ(p[3].substr(0, p[3].find("\r\n")), "  K2O  1.000   Al2O3  1.000    SiO2  6.000");
    // Percentages: columns of 14, one blank apart; trailing zeros blanked down to none.
    EXPECT_EQ(p[4].substr(0, p[4].find("\r\n")), "  K2O 16.9215% Al2O3 18.3165%  SiO2 64.7619%");
    EXPECT_EQ(p[5].substr(0, p[5].find("\r\n")), "  K2O 12.5   % Al2O3 12.5   %  SiO2 75.    %");

    // The loss on ignition has its line only when it shows at the decimals: 0.00004997% rounds
    // away at four, 0.00006% does not.
    AddMaterial("Trace", "% 99.99995003 SiO2  0.00004997 LOI");
    AddMaterial("Small", "% 99.99994 SiO2  0.00006 LOI");
    EXPECT_EQ(Panes(MakeGlaze({{"Trace", 100}}))[1].find("LOI"), std::string::npos);
    EXPECT_NE(Panes(MakeGlaze({{"Small", 100}}))[1].find("LOI:  0.0001%\r\n"), std::string::npos);
}

TEST_F(AnalysisPanesTest, NoAluminaNoRatioLines)
{
    AddMaterial("Boric", "B2O3 CaO 3SiO2");
    const auto p = Panes(MakeGlaze({{"Boric", 100}}));
    EXPECT_EQ(p[0].find("Al:Si"), std::string::npos);
    EXPECT_EQ(p[0].find("Neut:Acid"), std::string::npos);
    EXPECT_EQ(p[3].find("ratio"), std::string::npos);
}

TEST_F(AnalysisPanesTest, ByVolumeWithoutDensities)
{
    AddMaterial("Silica", "SiO2", 1.0, 1.5);
    AddMaterial("Whiting", "CaCO3", 1.0, 0.0);
    CGlaze glaze = MakeGlaze({{"Silica", 5}, {"Whiting", 5}}, {{"Nothing", 1}});
    glaze.SetField(kGlazeFieldByVolume, "y");
    const auto p = Panes(glaze);
    EXPECT_EQ(p[7], "Densities unknown:\r\n\r\n  Whiting\r\n  Nothing\r\n");
    EXPECT_EQ(p[8], p[7]);
    EXPECT_EQ(p[9], p[7]);
    // The entered amounts stay, without a total.
    EXPECT_EQ(p[6], "  Silica" + Blanks(12) + "    5.00\r\n  Whiting" + Blanks(11) + "    5.00\r\n\r\n ?Nothing" +
                        Blanks(11) + "    1.00\r\n");
}

} // namespace
