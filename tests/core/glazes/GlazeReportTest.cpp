#include "glazes/GlazeReport.h"

#include "GlazeAnalysisTestSupport.h"
#include "limits/LimitFormulaDB.h"
#include "support/LineOStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class GlazeReportTest : public GlazeChemistryTestBase {
protected:
    GlazeReportTest() : m_scope(m_limits)
    {
        m_limits.AddDefaultCombinations();
        CLimitFormula formula("Cone 6 Test");
        formula.m_limits.Add(CLimit("Al2O3", "0.3 - 0.6", 0));
        formula.m_limits.Add(CLimit("SiO2", "3 - 5", 0));
        m_limits.InsertFormula(0, formula);

        AddMaterial("Potash Feldspar", "K2O Al2O3 6SiO2", 1.00);
        AddMaterial("Whiting", "CaCO3", 0.50);
        AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O", 0.40);
        CMaterial& silica = AddMaterial("Silica", "SiO2", 0.30);
        silica.m_hazNotes.push_back("Inhaled dust causes silicosis.");
        AddMaterial("Red Iron Oxide", "Fe2O3", 2.00).m_available = 0;
    }

    // Potassium and calcium 0.3 : 0.7, alumina 0.5, silica 4.0 in the unity formula.
    CGlaze WorkedGlaze() const
    {
        CGlaze glaze = MakeGlaze({{"Potash Feldspar", 167.0}, {"Whiting", 70.06}, {"Kaolin", 51.63},
                                  {"Silica", 108.15}},
                                 {{"Red Iron Oxide", 10.0}}, "4-6");
        glaze.m_name = "Celadon";
        glaze.m_index = "12";
        glaze.m_date = "03/15/2002";
        glaze.m_color = "pale green";
        glaze.m_source = "Class notes";
        glaze.m_limform = "cone 6 test";
        glaze.SetField(kGlazeFieldBatchSize, "100");
        glaze.m_notes = {"Apply thin.", "Fire slowly.", "Third line."};
        return glaze;
    }

    using Lines = std::vector<std::string>;

    static Lines Report(const CGlaze& glaze)
    {
        CStringArrayEx lines;
        {
            CLineOStream out(lines, 0);
            WriteGlazeReport(glaze, out);
        }
        return Lines(lines.begin(), lines.end());
    }

    CLimitFormulaDB m_limits;
    CCurrentLimitFormulaDBScope m_scope;
};

// Every section of the default preferences, with the viscosity lines too and the title for paper
// without form feeds. Unity 0.30 K2O, 0.70 CaO, 0.50 Al2O3, 4.00 SiO2 and 10 g of iron oxide on
// 396.84 g of components (0.0626 Fe2O3).
TEST_F(GlazeReportTest, FullReportOfAWorkedGlazeWithItsLimitFormula)
{
    g_prefs.prtuseffs = 0;
    g_prefs.anchvisco = 1;
    const Lines expected = {
        "-------\031\017\001\003\004",
        "Celadon\017\001\003\004",
        "-------\031\017\001\003\004",
        "++++++++++++++++++++++++\002\001",
        "+++   12   Celadon   +++\002\001",
        "++++++++++++++++++++++++\002\001",
        "\002\001",
        "Range:          4-6\001",
        "Color:          pale green",
        "Source:         Class notes",
        "Date:           03/15/2002",
        "",
        "       Potash Feldspar     42.08     42.1%\001",
        "               Whiting     17.65     17.7%\001",
        "                Kaolin     13.01     13.0%\001",
        "                Silica     27.25     27.3%    Health warning!\001",
        "                        --------    ------",
        "                          100.00    100.0%",
        "\001",
        "        Red Iron Oxide      2.52      2.5%                     (Not available)\001",
        "",
        "Notes:\001",
        "  Apply thin.\001",
        "  Fire slowly.\001",
        "  Third line.",
        "",
        "Material Hazards:",
        "  Inhaled dust causes silicosis.",
        "",
        "Cost:  $  0.69 per kg glaze\001",
        "       $  0.07 per 100 g batch\001",
        "",
        "===========================\002",
        "     Chemical Analysis     \002",
        "===========================\002",
        "Chemical Analysis\003\004\017\001",
        "Chemical Analysis\003\004\017\001\031",
        "",
        "     K2O  0.30    Al2O3  0.50     SiO2  4.00\001",
        "     CaO  0.70                   Fe2O3  0.06\001",
        "",
        "   Alumina:Silica ratio is   1.00 : 8.00\001",
        "   Neutral:Acid ratio is     1.00 : 8.13\001",
        "   Alkali:Neutral:Acid ratio is  1.00 : 0.50 : 4.06\001",
        "",
        "Weight percentages:\001",
        "     K2O  7.7%    Al2O3 13.8%     SiO2 65.2%\001",
        "     CaO 10.6%                   Fe2O3  2.7%\001",
        "",
        "  Volatiles:\001",
        "       H2O  2.0%\001",
        "       CO2  8.4%\001",
        "",
        "  Loss On Ignition:  9.3%",
        "",
        "Molecular percentages:\001",
        "     K2O  5.4%    Al2O3  9.0%     SiO2 71.9%\001",
        "     CaO 12.6%                   Fe2O3  1.1%\001",
        "",
        "Expansion coefficient: 76.2 x 10e-7 per degree C\001",
        "",
        "Viscosity index: 33.6\001",
        "",
        "Surface tension index:  360.6 (c/4)  359.3 (c/6)\001",
        "",
        "Onset of oxide volatization:\001",
        "  H2O      100 C          (complete loss)\001",
        "  CO,CO2   700 C (c/018)  (complete loss)\001",
        "  K2O     1200 C (c/6)    (slight loss)\001",
        "",
        "Comparison to limit formula \"cone 6 test\"\001",
        "",
        "             0.0                      0.5                      1.0\001",
        "       Al2O3  :    :    :    |----;----*----|    :    :    :    :  0.50\001",
        "",
        "             0.0                      5.0                     10.0\001",
        "        SiO2  :    :    :    |----*----|    :    :    :    :    :  4.00\001",
        "",
        "=======================\002",
        "     Cost Summary\002",
        "=======================\002",
        "Cost Summary\003\004\017\001",
        "Cost Summary\003\004\017\001\031",
        "       Potash Feldspar    42.1%    $  0.42 per kg glaze\001",
        "               Whiting    17.7%    $  0.09\001",
        "                Kaolin    13.0%    $  0.05\001",
        "                Silica    27.3%    $  0.08\001",
        "                         ------    -------",
        "                         100.0%    $  0.64 per kg glaze",
        "",
        "        Red Iron Oxide     2.5%    $  0.05\001",
        "                                   -------",
        "                                   $  0.05 per kg glaze",
        "",
        "  Total cost:  $  0.69 per kg glaze\001",
        "               $  0.07 per 100 g batch\001",
    };
    EXPECT_EQ(Report(WorkedGlaze()), expected);
}

TEST_F(GlazeReportTest, SectionsFollowThePreferences)
{
    CGlaze glaze = WorkedGlaze();
    g_prefs.prtuseffs = 0;
    g_prefs.andes = g_prefs.anrec = g_prefs.anvar = g_prefs.annotes = g_prefs.anhaznotes = 0;
    g_prefs.ancostsum = g_prefs.anchem = g_prefs.ancost = 0;
    Lines lines = Report(glaze);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], "++++++++++++++++++++++++\002\001");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "Source:  Class notes") << "the source stands alone without the descriptions";
    glaze.m_source.clear();
    glaze.m_index.clear();
    lines = Report(glaze);
    ASSERT_EQ(lines.size(), 6u) << "the title alone";
    EXPECT_EQ(lines[3], "+++++++++++++++++++\002\001");
    EXPECT_EQ(lines[4], "+++   Celadon   +++\002\001");

    // One glaze per page, the chemistry of the components only on a page of its own, and the
    // neutral:acid ratio left out where it equals the alumina:silica ratio.
    g_prefs.prtuseffs = g_prefs.anffs = 1;
    g_prefs.anchadd = 0;
    g_prefs.annotes = g_prefs.anchem = g_prefs.anchunity = 1;
    g_prefs.anchwtpct = g_prefs.anchmolpct = g_prefs.anchexpan = g_prefs.anchvolat = 0;
    g_prefs.anchlimform = g_prefs.anchvisco = g_prefs.anchmatn = g_prefs.ancheln = 0;
    glaze.InvalidateAnalysis();
    lines = Report(glaze);
    const Lines tail(lines.end() - 14, lines.end());
    EXPECT_EQ(lines[0], "\014\007\003");
    EXPECT_EQ(lines[1], "Celadon\005\006\003\004");
    EXPECT_EQ(tail, (Lines{
        "  Third line.",
        "\014\003",
        "",
        "===========================\002",
        "     Chemical Analysis        (components only)\002",
        "===========================\002",
        "Chemical Analysis   (components only)\003\004\017\001",
        "Chemical Analysis\003\004\017\001\031",
        "",
        "     K2O  0.30    Al2O3  0.50     SiO2  4.00\001",
        "     CaO  0.70\001",
        "",
        "   Alumina:Silica ratio is   1.00 : 8.00\001",
        "   Alkali:Neutral:Acid ratio is  1.00 : 0.50 : 4.00\001",
    }));

    // A glaze without cones has no volatilization lines; with nothing before it, the cost summary
    // that follows goes without a heading.
    g_prefs.prtuseffs = g_prefs.annotes = g_prefs.anchunity = 0;
    g_prefs.anchvolat = g_prefs.ancost = 1;
    glaze.SetField(kGlazeFieldRange, "");
    lines = Report(glaze);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[5], "+++++++++++++++++++\002\001");
    EXPECT_EQ(lines[6], "       Potash Feldspar    42.1%    $  0.42 per kg glaze\001");

    // Without alumina there is no alumina:silica ratio, and an oxide without a known viscosity
    // factor gives no viscosity index, only that nothing is known.
    AddMaterial("Beryllia", "BeO");
    g_prefs.anchunity = g_prefs.anchvisco = g_prefs.anhaznotes = 1; // and no material hazards
    g_prefs.anchvolat = g_prefs.ancost = g_prefs.ancostsum = 0;
    lines = Report(MakeGlaze({{"Beryllia", 100}}, {}, "4-6"));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Material Hazards:"), 0);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(Lines(lines.end() - 5, lines.end()), (Lines{
        "     BeO  1.00\001",
        "",
        "Viscosity index: 0.0\001",
        "",
        "Nothing known about surface tension\001",
    }));
    // With nothing before it, not even hazards, the chemistry goes without a heading; the recipe
    // alone before it gives it one.
    const auto headings = [](const Lines& report) {
        return std::count_if(report.begin(), report.end(), [](const std::string& line) {
            return line.find("Chemical Analysis") != std::string::npos;
        });
    };
    EXPECT_EQ(headings(lines), 0);
    g_prefs.anrec = 1;
    EXPECT_EQ(headings(Report(MakeGlaze({{"Beryllia", 100}}, {}, "4-6"))), 3);
    g_prefs.anrec = 0;

    // Boron volatilizes from cone 2 on.
    AddMaterial("Boric", "B2O3 CaO 3SiO2");
    g_prefs.anchvisco = 0;
    g_prefs.anchvolat = 1;
    lines = Report(MakeGlaze({{"Boric", 100}}, {}, "1-2"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()),
              (Lines{"Onset of oxide volatization:\001", "  B2O3    1150 C (c/2)    (partial loss)\001"}));

    // A line costing exactly ten cents a kilogram of glaze shows its cost.
    AddMaterial("Dime", "SiO2", 1.00);
    g_prefs.anchvolat = 0;
    g_prefs.ancost = 1;
    lines = Report(MakeGlaze({{"Dime", 10}, {"Silica", 90}}));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("Dime") != std::string::npos &&
                                                                 line.find("$  0.10") != std::string::npos; }),
              1);

    // The element table's notes on the oxides name the volatile ones too, and a limit formula of
    // a single limit is compared.
    CElementTable table;
    table[6].annotations.push_back("Carbon leaves as CO2.");
    CWorkingElementTableScope scope(table);
    CLimitFormula single("One Limit");
    single.m_limits.Add(CLimit("SiO2", "3 - 5", 0));
    m_limits.InsertFormula(0, single);
    g_prefs.ancheln = g_prefs.anchlimform = 1;
    CGlaze worked = WorkedGlaze();
    worked.m_limform = "one limit";
    lines = Report(worked);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  Carbon leaves as CO2."), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Comparison to limit formula \"one limit\"\001"), 1);
}

// Without densities a by-volume recipe has no weights: the report keeps the recipe as entered
// with its marks and leaves out everything that needs the chemistry.
TEST_F(GlazeReportTest, ByVolumeRecipeWithoutDensities)
{
    CGlaze glaze = WorkedGlaze();
    glaze.SetField(kGlazeFieldByVolume, "y");
    glaze.m_components.Add("Frit X", 5.5);
    g_prefs.prtuseffs = 0;
    g_prefs.andes = g_prefs.annotes = 0;
    g_prefs.tzsrecipe = 1;
    const Lines lines = Report(glaze);
    const Lines body(lines.begin() + 6, lines.end());
    EXPECT_EQ(body, (Lines{
        "",
        "Recipe by volume:\001",
        "         Potash Feldspar  167.0\001",
        "                 Whiting   70.06\001",
        "                  Kaolin   51.63\001",
        "                  Silica  108.15     Health warning!\001",
        "                  Frit X    5.5                       (Not in material list)\001",
        "\001",
        "          Red Iron Oxide   10.0                       (Not available)\001",
        "",
        "Source:  Class notes",
        "",
        "Material Hazards:",
        "  Inhaled dust causes silicosis.",
    }));
}

} // namespace
