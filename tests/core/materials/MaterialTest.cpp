#include "materials/Material.h"

#include "core/support/CheckedItems.h"
#include "core/materials/MaterialTestSupport.h"
#include "support/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class MaterialTest : public MaterialTestBase {};

std::vector<std::string> ComponentTexts(const CMaterial& m)
{
    std::vector<std::string> texts;
    for (const CFormulaComponent& c : m.m_components)
        texts.push_back(c.m_amountText.empty() ? c.m_text : c.m_amountText + " " + c.m_text);
    return texts;
}

TEST_F(MaterialTest, NewRecord)
{
    CMaterial m("Silica");
    std::string today;
    GetTodayString(today, g_prefs.datefmt);
    EXPECT_EQ(m.m_name, "Silica");
    EXPECT_EQ(m.m_date, today);
    EXPECT_EQ(m.m_type, "new");
    EXPECT_EQ(m.m_code, "");
    EXPECT_EQ(m.m_displayKey, "\tSilica");
    EXPECT_EQ(m.m_formula, "");
    EXPECT_EQ(m.m_formulaWeight, 0.0);
    EXPECT_EQ(m.m_available, 0);
    EXPECT_TRUE(m.m_components.empty());
    EXPECT_EQ(CMaterial().m_name, "new material");
}

TEST_F(MaterialTest, CopyParsesTheFormulaAgain)
{
    CMaterial source = Parsed("K2O Al2O3 6SiO2");
    source.m_name = "Potash Feldspar";
    source.m_code = "PF";
    source.UpdateDisplayKey();
    source.SetField(2, "Custer");
    source.SetField(15, "a note");
    source.m_density = 2.56;
    source.m_available = 1;

    CMaterial copy(source);
    EXPECT_EQ(copy.m_displayKey, "PF\tPotash Feldspar");
    EXPECT_EQ(copy.m_akaNames, source.m_akaNames);
    EXPECT_EQ(copy.m_notes, source.m_notes);
    EXPECT_EQ(copy.m_date, source.m_date);
    EXPECT_EQ(copy.m_density, 2.56);
    EXPECT_EQ(copy.m_available, 1);
    EXPECT_EQ(copy.m_atoms, source.m_atoms);
    EXPECT_EQ(copy.m_oxides, source.m_oxides);
    EXPECT_EQ(copy.m_formulaWeight, source.m_formulaWeight);
    ASSERT_EQ(copy.m_components.size(), 3u);
    EXPECT_EQ(copy.m_components[2].m_amountText, "6");

    CMaterial assigned("other");
    assigned = source;
    EXPECT_EQ(assigned.m_name, "Potash Feldspar");
    EXPECT_EQ(assigned.m_loi, source.m_loi);
    CMaterial& self = assigned;
    assigned = self;
    EXPECT_EQ(assigned.m_formula, "K2O Al2O3 6SiO2");
    EXPECT_EQ(assigned.m_components.size(), 3u);
}

TEST_F(MaterialTest, BuildAndRebuildFormulaText)
{
    CMaterial m = Parsed("%[Sum=100.0]   60 SiO2 30 Al2O3");
    std::string text;
    m.BuildFormulaText(text, true, false, false, "", true, "100.0");
    EXPECT_EQ(text, "%[Sum=100.0] 60 SiO2  30 Al2O3");
    m.BuildFormulaText(text, false, true, false, "", false, "");
    EXPECT_EQ(text, "%m 60 SiO2  30 Al2O3");
    m.BuildFormulaText(text, false, false, true, "250", false, "");
    EXPECT_EQ(text, "[MW=250] 60 SiO2  30 Al2O3");

    CMaterial molecular = Parsed("SiO2 2Al2O3");
    molecular.BuildFormulaText(text, false, false, false, "", false, "");
    EXPECT_EQ(text, "SiO2  2 Al2O3");

    EXPECT_EQ(m.RebuildFormula(), 0);
    EXPECT_EQ(m.m_formula, "%[Sum=100.0] 60 SiO2  30 Al2O3");
    EXPECT_DOUBLE_EQ(m.m_percentSum, 100.0);

    CMaterial empty = Parsed("%m ");
    empty.BuildFormulaText(text, false, true, false, "", false, "");
    EXPECT_EQ(text, "%m ");
}

TEST_F(MaterialTest, SetField)
{
    CMaterial m("x");
    m.SetField(1, "Whiting");
    m.SetField(3, "W1");
    EXPECT_EQ(m.m_displayKey, "W1\tWhiting");
    m.SetField(4, "ignored"); // no other name yet
    EXPECT_TRUE(m.m_akaCodes.empty());
    m.SetField(2, "Calcium Carbonate");
    m.SetField(4, "CC");
    EXPECT_EQ(m.m_akaNames, (CStringArrayEx{"Calcium Carbonate"}));
    EXPECT_EQ(m.m_akaCodes, (CStringArrayEx{"CC"}));
    m.SetField(7, "2.71");
    m.SetField(9, "0.35");
    EXPECT_DOUBLE_EQ(m.m_density, 2.71);
    EXPECT_DOUBLE_EQ(m.m_costPerLb, 0.35);
    m.SetField(8, "Yes");
    EXPECT_EQ(m.m_available, 1);
    m.SetField(8, "no");
    EXPECT_EQ(m.m_available, 0);
    m.SetField(8, "true");
    EXPECT_EQ(m.m_available, 1);
    m.SetField(10, "CaCO3");
    EXPECT_NEAR(m.m_formulaWeight, 100.0892, 1e-9);
    m.SetField(10, "CaX");
    EXPECT_EQ(m.m_formula, "");
    m.SetField(15, "one");
    m.SetField(15, "two");
    m.SetField(12, "only");
    EXPECT_EQ(m.m_notes, (CStringArrayEx{"only"}));
    m.SetField(17, "a");
    m.SetField(17, "b");
    EXPECT_EQ(m.m_hazNotes, (CStringArrayEx{"a", "b"}));
}

TEST_F(MaterialTest, Matches)
{
    CMaterial m = Parsed("K2O Al2O3 6SiO2");
    m.SetField(1, "Potash Feldspar");
    m.SetField(3, "PF-1");
    m.SetField(2, "Custer");
    m.SetField(4, "CU");
    m.SetField(2, "");
    m.SetField(4, "NN");
    m.SetField(15, "Mined in South Dakota");

    std::string text = "spar";
    EXPECT_TRUE(m.Matches(&text, true, false, false, false, false, true));
    EXPECT_EQ(text, "spar"); // only whole matches take the spelling
    text = "SPAR";
    EXPECT_FALSE(m.Matches(&text, false, true, true, true, false, false));
    text = "potash feldspar";
    EXPECT_TRUE(m.Matches(&text, true, false, false, false, true, true));
    EXPECT_EQ(text, "Potash Feldspar");
    text = "cu";
    EXPECT_TRUE(m.Matches(&text, false, true, false, false, true, true));
    EXPECT_EQ(text, "Custer");
    text = "nn"; // a code without its other name stands for the material
    EXPECT_TRUE(m.Matches(&text, false, true, false, false, true, true));
    EXPECT_EQ(text, "Potash Feldspar");
    text = "k2o al2o3 6sio2";
    EXPECT_TRUE(m.Matches(&text, false, false, true, false, true, true));
    EXPECT_EQ(text, "K2O Al2O3 6SiO2");
    text = "dakota";
    EXPECT_TRUE(m.Matches(&text, false, false, false, true, false, true));
    text = "mined in south dakota";
    EXPECT_TRUE(m.Matches(&text, false, false, false, true, true, true));
    EXPECT_EQ(text, "mined in south dakota");

    text = "pf-1";
    EXPECT_TRUE(m.MatchesExactly(&text, true));
    EXPECT_EQ(text, "PF-1");
    text = "";
    EXPECT_FALSE(m.MatchesExactly(&text, false));
    text = "Potash";
    EXPECT_FALSE(m.MatchesExactly(&text, false));

    EXPECT_TRUE(m.MatchesNameOrCode("POTASH FELDSPAR"));
    EXPECT_TRUE(m.MatchesNameOrCode("pf-1"));
    EXPECT_TRUE(m.MatchesNameOrCode("custer"));
    EXPECT_TRUE(m.MatchesNameOrCode("Cu"));
    EXPECT_FALSE(m.MatchesNameOrCode("K2O Al2O3 6SiO2"));
    EXPECT_FALSE(m.MatchesNameOrCode("Mined in South Dakota"));
    EXPECT_FALSE(m.MatchesNameOrCode("Potash"));
    EXPECT_FALSE(m.MatchesNameOrCode("")); // though one other name is empty
}

TEST_F(MaterialTest, ClassifyComponents)
{
    struct Case {
        const char* amountText;
        const char* text;
        int kind;
        int element;
        double weight;
        double amount;
    };
    const Case cases[] = {
        {"", "CO2", kComponentOxide, 6, 44.0098, 1.0},
        {"2.5", "SiO2", kComponentOxide, 14, 60.0843, 2.5},
        {"", "KNaO", kComponentOxide, 0, 78.0875, 1.0},
        {"0", "FeO", kComponentElement, 26, 55.847 + 15.9994, 0.0},
        {"", "Si", kComponentElement, 14, 28.0855, 1.0},
        {"", "O", kComponentElement, 8, 15.9994, 1.0},
        {"", "CaCO3", kComponentCompound, -1, 100.0892, 1.0},
        {"", "LOI", kComponentLoi, -1, 0.0, 1.0},
        {"5", "l.o.i.", kComponentLoi, -1, 0.0, 5.0},
        {"", "Xx", kComponentCompound, -1, 0.0, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CFormulaComponent component(c.amountText, c.text);
        component.Classify();
        EXPECT_EQ(component.m_kind, c.kind);
        EXPECT_EQ(component.m_element, c.element);
        EXPECT_NEAR(component.m_weight, c.weight, 1e-9);
        EXPECT_DOUBLE_EQ(component.m_amount, c.amount);
    }
}

TEST_F(MaterialTest, ComponentList)
{
    CFormulaComponentList list;
    list.InsertAt(0, CFormulaComponent("", "SiO2"));
    list.InsertAt(1, CFormulaComponent("2", "CaO"));
    list.InsertAt(0, CFormulaComponent("", "Al2O3"));
    list.InsertAt(4, CFormulaComponent("", "Bad"));
    list.InsertAt(-1, CFormulaComponent("", "Bad"));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.FindByText("CaO"), 2);
    EXPECT_EQ(list.FindByText("cao"), -1);
    list.RemoveAt(3);
    list.RemoveAt(-1);
    list.RemoveAt(0);
    EXPECT_EQ(list.FindByText("SiO2"), 0);
    list.FreeComponentList();
    EXPECT_TRUE(list.empty());
}

TEST_F(MaterialTest, OrderComponents)
{
    CMaterial m("x");
    for (const char* text : {"SiO2", "CaCO3", "LOI", "Fe2O3", "Al2O3", "FeO", "Na2O", "CaO", "H2O", "MgCO3"})
        m.m_components.emplace_back("", text);
    m.OrderComponents();
    EXPECT_EQ(ComponentTexts(m), (std::vector<std::string>{"Na2O", "CaO", "Al2O3", "SiO2", "Fe2O3", "FeO", "H2O",
                                                           "CaCO3", "MgCO3", "LOI"}));
}

TEST_F(MaterialTest, MergeDuplicateComponents)
{
    CMaterial m = Parsed("SiO2  2 SiO2");
    m.MergeDuplicateComponents();
    EXPECT_EQ(ComponentTexts(m), (std::vector<std::string>{"3 SiO2"}));

    CMaterial three = Parsed("0.5 SiO2  CaO  SiO2  0 MgO  1.25 SiO2");
    three.MergeDuplicateComponents();
    EXPECT_EQ(ComponentTexts(three), (std::vector<std::string>{"2.75 SiO2", "CaO"}));

    // Texts equal ignoring case merge too (set directly: the parser would reject "sio2").
    three.m_components.emplace_back("1", "sio2");
    three.MergeDuplicateComponents();
    EXPECT_EQ(ComponentTexts(three), (std::vector<std::string>{"3.75 SiO2", "CaO"}));
}

TEST_F(MaterialTest, ReformatAmounts)
{
    CMaterial m = Parsed("% 33.33333 SiO2  SiO2  12.5 Al2O3");
    m.ReformatAmounts(false, 1, 1);
    EXPECT_EQ(ComponentTexts(m), (std::vector<std::string>{"33.3 SiO2", "1.0 SiO2", "12.5 Al2O3"}));
    m.ReformatAmounts(true, 5, 5); // preferences: 2 decimals, trailing zeros stripped
    EXPECT_EQ(ComponentTexts(m), (std::vector<std::string>{"33.3 SiO2", "1 SiO2", "12.5 Al2O3"}));
    m.ReformatAmounts(false, 40, 14); // capped at 12 decimals
    EXPECT_EQ(ItemAt(m.m_components, 1).m_amountText, "1.000000000000");
    m.ReformatAmounts(false, -1, 0);
    EXPECT_EQ(ItemAt(m.m_components, 1).m_amountText, "1");
}

} // namespace
