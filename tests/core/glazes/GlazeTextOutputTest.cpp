#include "glazes/GlazeTextOutput.h"

#include "GlazeAnalysisTestSupport.h"
#include "core/support/CheckedItems.h"
#include "elements/ElementTable.h"
#include "glazes/GlazesDoc.h"
#include "support/LineOStream.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using TextLines = std::vector<std::string>;

class GlazeTextOutputTest : public GlazeChemistryTestBase {
protected:
    GlazeTextOutputTest()
    {
        AddMaterial("Potash Feldspar", "K2O Al2O3 6SiO2", 1.00);
        AddMaterial("Whiting", "CaCO3", 0.50);
        AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O", 0.40);
        AddMaterial("Silica", "SiO2", 0.30).m_hazNotes.push_back("Inhaled dust causes silicosis.");
        AddMaterial("Red Iron Oxide", "Fe2O3", 2.00);

        CGlaze celadon = MakeGlaze({{"Potash Feldspar", 167.0}, {"Whiting", 70.06}, {"Kaolin", 51.63},
                                    {"Silica", 108.15}},
                                   {{"Red Iron Oxide", 10.0}}, "4-6");
        celadon.m_name = "Celadon";
        celadon.m_index = "12";
        celadon.m_date = "03/15/2002";
        celadon.m_firetype = "reduction";
        celadon.m_color = "pale green";
        celadon.m_source = "Class notes";
        celadon.SetField(kGlazeFieldBatchSize, "100");
        celadon.m_variations = {"Add 2% rutile."};
        m_doc.InsertGlaze(0, celadon);

        CGlaze clear = MakeGlaze({{"Whiting", 20.0}, {"Silica", 30.0}, {"Mystery Frit", 50.0}});
        clear.m_name = "Clear Test";
        clear.m_byVol = 1;
        m_doc.InsertGlaze(1, clear);
        m_doc.Glazes().m_name = "Class Glazes";
        m_doc.Glazes().m_infoLines = {"Tested spring term."};
        m_doc.SetPathName("/data/class.glz");
        g_prefs.prtuseffs = 0;
    }

    template <class Write>
    static TextLines Text(Write write)
    {
        CStringArrayEx lines;
        {
            CLineOStream out(lines, 0);
            write(out);
        }
        return TextLines(lines.begin(), lines.end());
    }

    CGlazesDoc m_doc;
};

// The summary of a glaze with a batch size: amounts as entered, the batch column scaled to 100 g,
// the hazard mark and section, variations and the closing lines.
TEST_F(GlazeTextOutputTest, SummaryOfOneGlaze)
{
    const CGlazeText text(m_doc);
    const TextLines summary = Text([&](std::ostream& out) { text.WriteSummaries(out, {}, m_doc.GetGlaze(0)); });
    EXPECT_EQ(summary, (TextLines{
        "12  Celadon\017\001",
        "-----------\031\017\001",
        "Range:          4-6\001",
        "Firing type:    reduction\001",
        "Color:          pale green",
        "",
        "\001Recipe:",
        "\001         Potash Feldspar    167.00     42.1",
        "\001                 Whiting     70.06     17.7",
        "\001                  Kaolin     51.63     13.0",
        "\001                  Silica    108.15     27.3  Health warning!",
        "\001                          --------    -----",
        "\001                            396.84    100.0",
        "\001",
        "\001          Red Iron Oxide     10.00      2.5",
        "",
        "\001Material Hazards:",
        "  Inhaled dust causes silicosis.\001",
        "",
        "Variations:\001",
        "  Add 2% rutile.\001",
        "",
        "Source: Class notes\001",
        "Date:   03/15/2002\001",
        "",
        "",
    }));

    // A by-volume glaze: no batch column, no rule, no totals. One glaze per page: new page,
    // running header, no blank lines after it. Indices out of range are skipped.
    CGlaze* clear = m_doc.GetGlaze(1);
    ASSERT_NE(clear, nullptr);
    clear->m_date = "01/02/2003";
    g_prefs.prtuseffs = 1;
    g_prefs.hazvis = 1;
    const int indices[] = {5, 1};
    EXPECT_EQ(Text([&](std::ostream& out) { text.WriteSummaries(out, indices, nullptr); }), (TextLines{
        "\014\007",
        "Clear Test\005\006",
        "----------\002",
        "\002",
        "",
        "\001Recipe (by volume):",
        "\001                 Whiting     20.00",
        "\001                  Silica     30.00      Health warning!",
        "\001            Mystery Frit     50.00",
        "",
        "Source: \001",
        "Date:   01/02/2003\001",
    }));
    EXPECT_TRUE(Text([&](std::ostream& out) { text.WriteSummaries(out, {}, nullptr); }).empty());

    // Without a batch size the rule has one run of dashes and the totals no batch amount.
    g_prefs.prtuseffs = 0;
    clear->m_byVol = 0;
    const TextLines plain = Text([&](std::ostream& out) { text.WriteSummaries(out, indices, nullptr); });
    ASSERT_EQ(plain.size(), 14u);
    EXPECT_EQ(plain[3], "\001Recipe:");
    EXPECT_EQ(plain[7], "\001                          --------");
    EXPECT_EQ(plain[8], "\001                            100.00");

    // Additions alone have nothing to be scaled by: they are listed as written.
    clear->m_components = CIngredientList();
    clear->m_additions.Add("Rutile", 5);
    clear->SetField(kGlazeFieldBatchSize, "500");
    const TextLines additions = Text([&](std::ostream& out) { text.WriteSummaries(out, indices, nullptr); });
    ASSERT_EQ(additions.size(), 11u);
    EXPECT_EQ(additions[5], "\001                  Rutile      5.00");
}

TEST_F(GlazeTextOutputTest, RecipesAtSeveralBatchSizes)
{
    CStringArrayEx sizes;
    ParseRecipeSizeList("W, r 50 -3", sizes);
    EXPECT_EQ(sizes, (CStringArrayEx{"W", "R", "   50.00"}));

    g_prefs.prtrecsize = 2;
    g_prefs.prtrecsizelist = "W, r 50 -3";
    const CGlazeText text(m_doc);
    const int first[] = {0};
    EXPECT_EQ(Text([&](std::ostream& out) { text.WriteRecipes(out, first, nullptr); }), (TextLines{
        "12  Celadon\017\001",
        "-----------\031\017\001",
        "  4-6  reduction\001",
        "\001",
        "\001       Potash Feldspar     42.08    167.00     21.04",
        "\001               Whiting     17.65     70.06      8.83",
        "\001                Kaolin     13.01     51.63      6.51",
        "\001                Silica     27.25    108.15     13.63  Health warning!",
        "\001                        --------  --------  --------",
        "\001                          100.00    396.84     50.00",
        "\001                      ",
        "\001        Red Iron Oxide      2.52     10.00      1.26",
        "\001",
        "\001  Material Hazards:",
        "\001    Inhaled dust causes silicosis.",
        "",
        "",
    }));
    // The recipe size alone: the amounts as entered.
    g_prefs.prtrecsize = 1;
    const TextLines entered = Text([&](std::ostream& out) { text.WriteRecipes(out, first, nullptr); });
    ASSERT_GT(entered.size(), 4u);
    EXPECT_EQ(entered[4], "\001       Potash Feldspar    167.00");
    g_prefs.prtrecsize = 2;

    // By volume: no batch columns, and a blank line between the components and the additions.
    Found(m_doc.GetGlaze(0)).m_byVol = 1;
    EXPECT_EQ(Text([&](std::ostream& out) { text.WriteRecipes(out, first, nullptr); }), (TextLines{
        "12  Celadon\017\001",
        "-----------\031\017\001",
        "  4-6  reduction\001",
        "\001",
        "\001(by volume)",
        "\001       Potash Feldspar    167.00",
        "\001               Whiting     70.06",
        "\001                Kaolin     51.63",
        "\001                Silica    108.15  Health warning!",
        "\001",
        "\001        Red Iron Oxide     10.00",
        "\001",
        "\001  Material Hazards:",
        "\001    Inhaled dust causes silicosis.",
        "",
        "",
    }));
}

TEST_F(GlazeTextOutputTest, ListTables)
{
    const CGlazeText text(m_doc);
    const TextLines heading = {"Class Glazes\017\001", "------------\031\017\001", "\001", "File: /data/class.glz", "",
                               "Tested spring term.", ""};
    TextLines expected = heading;
    expected.insert(expected.end(), {
        "Name        Range  Firing     Color       Surface  Transparency\001",
        "---------------------------------------------------------------\031\001",
        "Celadon     4-6    reduction  pale green                       ",
        "Clear Test                                                     ",
    });
    EXPECT_EQ(Text([&](std::ostream& out) { text.WriteList(out, 2); }), expected);

    // The analysis columns take the widths of sample cells; a glaze without chemistry has empty
    // cells there.
    CStringArrayEx rows;
    std::string header;
    text.BuildListTable(rows, header, 3);
    EXPECT_EQ(header, "Name         Alk %  Neut %  Acid %   Al:Si     Neut:Acid  Expansion                 LOI %  Cost      ");
    EXPECT_EQ(rows, (CStringArrayEx{
        "Celadon      18.3    13.8    67.9   1.0: 8.00  1.0: 8.13   76.2x10e-7/K  [100%]     10.3   $  0.69/kg",
        "Clear Test                                                                                           ",
    }));

    // An expansion just above 0 still shows, with the share it rests on.
    CElementTable table;
    for (int z : {13, 14, 19, 20, 26})
        table[z].expansion /= 1000.0;
    {
        CWorkingElementTableScope scope(table);
        RecordAt(m_doc.Glazes(), 0).InvalidateAnalysis();
        text.BuildListTable(rows, header, 3);
        RecordAt(m_doc.Glazes(), 0).InvalidateAnalysis();
    }
    EXPECT_EQ(ItemAt(rows, 0), "Celadon      18.3    13.8    67.9   1.0: 8.00  1.0: 8.13    0.1x10e-7/K  [100%]     10.3   $  0.69/kg");
    // The three-part ratio is as wide as its sample, 1.0:10.00:10.00.
    const std::string layout = std::exchange(g_prefs.glzext3, "N!N");
    text.BuildListTable(rows, header, 3);
    g_prefs.glzext3 = layout;
    EXPECT_EQ(header, "Name        Alk:Neut:Acid    Name      ");
    EXPECT_EQ(ItemAt(rows, 0), "Celadon     1.0: 0.50: 4.06  Celadon   ");

    // The oxide tables put each value under its oxide; a glaze without chemistry is its name.
    text.BuildListTable(rows, header, 4);
    EXPECT_EQ(header, "Glaze            K2O   Na2O    CaO    MgO    BaO    ZnO    PbO   B2O3  Al2O3   SiO2   ZrO2");
    EXPECT_EQ(rows, (CStringArrayEx{
        "Celadon    %w    7.7          10.6                                      13.8   65.2       ",
        "Clear Test",
    }));
    g_prefs.glztab = "Nk Al loss";
    text.BuildListTable(rows, header, 5);
    EXPECT_EQ(header, "Glaze          KNaO  Al2O3   Loss");
    EXPECT_EQ(rows[0], "Celadon    -   0.30   0.50       ");

    // Layouts: codes in order up to 32 columns, anything else skipped, Name when none is left.
    std::vector<int> columns;
    CGlazeColumnFlags present{};
    EXPECT_EQ(ParseColumnLayout("name and more", columns, present), 1);
    EXPECT_EQ(columns, std::vector<int>{0});
    EXPECT_EQ(ParseColumnLayout(std::string(40, 'R') + "N", columns, present), 32);
    EXPECT_TRUE(present[4]);
    EXPECT_FALSE(present[0]);
    EXPECT_EQ(ParseColumnLayout("#N?$", columns, present), 4);
    EXPECT_EQ(columns, (std::vector<int>{1, 0, 15, 27}));

    // A share the expansion rests on is rounded as it stands: iron without a coefficient leaves
    // 99.45 % of the fired weight, shown as 99 %, not 100 %.
    CGlaze trace = MakeGlaze({{"Silica", 99.45}, {"Red Iron Oxide", 0.55}});
    trace.m_name = "Iron Trace";
    m_doc.InsertGlaze(2, trace);
    CElementTable noIron;
    noIron[26].expansion = -999.0;
    {
        CWorkingElementTableScope scope(noIron);
        text.BuildListTable(rows, header, 3);
        RecordAt(m_doc.Glazes(), 2).InvalidateAnalysis();
    }
    EXPECT_EQ(ItemAt(rows, 2),
              "Iron Trace                  100.0                          35.0x10e-7/K  [99%]             $  0.31/kg");

    // An empty database: the heading, an empty header with its rule, no rows.
    m_doc.Glazes().m_glazes.clear();
    expected = heading;
    expected.insert(expected.end(), {"\001", "\031\001"});
    EXPECT_EQ(Text([&](std::ostream& out) { text.WriteList(out, 4); }), expected);
}

} // namespace
