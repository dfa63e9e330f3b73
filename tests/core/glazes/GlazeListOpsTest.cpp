#include "glazes/GlazeList.h"

#include "core/support/CheckedItems.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeSearchCriteria.h"
#include "limits/LimitFormulaDB.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <tuple>

namespace {

class GlazeListOpsTest : public ::testing::Test {
protected:
    GlazeListOpsTest() { m_doc.Materials().m_costUnit = CMaterialArray::kCostPerKilogram; }

    void AddMaterial(const std::string& name, const std::string& formula, double density, double price = 0.0)
    {
        CMaterial material(name);
        std::string error;
        EXPECT_EQ(material.SetFormula(formula, &error), 0) << formula << ": " << error;
        material.m_available = 1;
        material.m_density = density;
        material.m_costPerLb = price;
        m_doc.Materials().InsertCopy(m_doc.Materials().GetCount(), material);
    }

    CGlaze& Add(const std::string& name)
    {
        m_list.InsertCopyAt(m_list.GetCount(), CGlaze(name));
        return m_list.GetAt(m_list.GetCount() - 1);
    }

    std::string Names() const
    {
        std::string names;
        for (int i = 0; i < m_list.GetCount(); ++i)
            names += (i ? "," : "") + RecordAt(m_list, i).m_name;
        return names;
    }

    std::string Indexes() const
    {
        std::string indexes;
        for (int i = 0; i < m_list.GetCount(); ++i)
            indexes += (i ? "," : "") + RecordAt(m_list, i).m_index;
        return indexes;
    }

    static std::string Amounts(const CIngredientList& lines)
    {
        std::string text;
        for (const auto& line : lines)
            text += (text.empty() ? "" : " ") + FormatDoubleFixed(line->m_amount, 2);
        return text;
    }

    CAppContext m_context;
    CMaterialsDoc m_doc;
    CGlazeList m_list;
};

TEST_F(GlazeListOpsTest, EditingByIndex)
{
    for (const char* name : {"P", "Q", "R"})
        Add(name);
    m_list.Move(0, 2);
    EXPECT_EQ(Names(), "Q,P,R");
    m_list.Move(1, 0);
    m_list.Move(2, 0);
    EXPECT_EQ(Names(), "R,P,Q");
    m_list.Move(1, 1);
    m_list.Move(0, 3);
    m_list.Move(-1, 0);
    EXPECT_EQ(Names(), "R,P,Q");

    m_list.InsertCopyAt(4, CGlaze("bad"));
    m_list.AssignAt(3, CGlaze("bad"));
    m_list.RemoveAt(3);
    EXPECT_EQ(Names(), "R,P,Q");
    m_list.InsertCopyAt(3, CGlaze("S"));
    m_list.AssignAt(0, CGlaze("T"));
    m_list.RemoveAt(1);
    ASSERT_EQ(Names(), "T,Q,S");
    EXPECT_EQ(m_list.FindByName("s"), &m_list.GetAt(2));
    EXPECT_EQ(m_list.FindByName("P"), nullptr);
}

TEST_F(GlazeListOpsTest, SortByIndexIsNatural)
{
    for (const char* index : {"A10", "a9", "B1", "", "7"})
        Add("g").m_index = index;
    m_list.SortBy(1, false, 14);
    EXPECT_EQ(Indexes(), "7,a9,A10,B1,");

    EXPECT_LT(CompareGlazeIndexes("A10", "A10b"), 0);
    EXPECT_EQ(CompareGlazeIndexes("A007", "a7"), 0);
    EXPECT_EQ(CompareGlazeIndexes("", ""), 0);
    EXPECT_GT(CompareGlazeIndexes("abc", "ABB"), 0);
    EXPECT_LT(CompareGlazeIndexes("x", "x1"), 0); // no digit in one: whole texts
    // Thirty digits are still one number, compared without overflow.
    const std::string huge = "G" + std::string(30, '9');
    const std::string huger = "G1" + std::string(30, '0');
    EXPECT_LT(CompareGlazeIndexes(huge, huger), 0);
    EXPECT_GT(CompareGlazeIndexes(huger, huge), 0);
    EXPECT_EQ(CompareGlazeIndexes(huge + "x", "g000" + std::string(30, '9') + "X"), 0);
    EXPECT_LT(CompareGlazeIndexes("G99999999999999999999", "G99999999999999999999a"), 0);
}

TEST_F(GlazeListOpsTest, SortByFieldsKeepsNameOrderForTies)
{
    struct Row {
        const char* name;
        const char* date;
        int byVol;
        const char* range;
    };
    for (const Row& row : {Row{"d", "", 0, "6"}, Row{"b", "2001-02-03", 1, "04-6"}, Row{"c", "", 1, ""},
                           Row{"a", "1999-01-01", 0, "6-10"}, Row{"e", "", 0, "04"}}) {
        CGlaze& glaze = Add(row.name);
        glaze.SetField(kGlazeFieldDate, row.date);
        glaze.m_byVol = row.byVol;
        glaze.SetField(kGlazeFieldRange, row.range);
    }
    m_list.SortBy(16, false, 14); // date: no date last, in name order
    EXPECT_EQ(Names(), "a,b,c,d,e");
    m_list.SortBy(15, false, 14); // by volume first
    EXPECT_EQ(Names(), "b,c,a,d,e");
    m_list.SortBy(3, false, 14); // low cone, high cone; no range last
    EXPECT_EQ(Names(), "e,b,d,a,c");
    m_list.SortBy(0, false, 14);
    EXPECT_EQ(Names(), "a,b,c,d,e");
    m_list.SortBy(26, false, 14); // no such criterion
    m_list.SortBy(-1, false, 14);
    EXPECT_EQ(Names(), "a,b,c,d,e");
}

TEST_F(GlazeListOpsTest, SortByDescriptionAndLimitFormula)
{
    g_prefs.glzcol = CStringArrayEx{"white", "blue", "black"};
    struct Row {
        const char* name;
        const char* color;
        const char* limform;
    };
    for (const Row& row : {Row{"a", "black", "Other"}, Row{"b", "", "Cone 6"}, Row{"c", "Blue", ""},
                           Row{"d", "white", "Cone 10"}}) {
        CGlaze& glaze = Add(row.name);
        glaze.m_color = row.color;
        glaze.m_limform = row.limform;
    }
    m_list.SortBy(7, false, 14);
    EXPECT_EQ(Names(), "d,c,a,b");
    m_list.SortBy(7, true, 14);
    EXPECT_EQ(Names(), "a,c,d,b");

    CLimitFormulaDB formulas;
    formulas.InsertFormula(0, CLimitFormula("Cone 10"));
    formulas.InsertFormula(1, CLimitFormula("Cone 6"));
    CCurrentLimitFormulaDBScope scope(formulas);
    m_list.SortBy(25, false, 14); // database order, unlisted after, empty last
    EXPECT_EQ(Names(), "d,b,a,c");
    m_list.SortBy(25, true, 14);
    EXPECT_EQ(Names(), "d,b,a,c"); // "Cone 10" < "Cone 6" < "Other" by name as well
}

TEST_F(GlazeListOpsTest, SortByAnalysisValues)
{
    AddMaterial("Silica", "SiO2", 1.0, 1.0);
    AddMaterial("Whiting", "CaCO3", 1.0, 5.0);
    AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O", 1.0, 2.0);
    Add("unknown").m_components.Add("Unobtainium", 10);
    for (const auto& [name, silica, whiting, kaolin] :
         {std::tuple{"more silica", 80, 20, 10}, std::tuple{"less silica", 20, 80, 30}}) {
        CGlaze& glaze = Add(name);
        glaze.m_components.Add("Silica", silica);
        glaze.m_components.Add("Whiting", whiting);
        glaze.m_components.Add("Kaolin", kaolin);
        ASSERT_TRUE(glaze.GetAnalysis().IsValid());
    }
    ASSERT_FALSE(RecordAt(m_list, 0).GetAnalysis().IsValid());

    // Ascending, glazes without chemistry last. "more silica" has the higher silica:alumina and
    // acid:neutral ratios and unity silica and alumina (lime is the unity in both), "less silica"
    // the more lime, so the higher expansion, more carbon dioxide to lose and the dearer whiting.
    struct Row {
        int criterion;
        int element;
        const char* order;
    };
    for (const Row& row : {Row{17, 14, "less silica,more silica,unknown"}, Row{18, 14, "less silica,more silica,unknown"},
                           Row{19, 14, "more silica,less silica,unknown"}, Row{20, 14, "more silica,less silica,unknown"},
                           Row{21, 14, "less silica,more silica,unknown"}, Row{21, 20, "more silica,less silica,unknown"},
                           Row{21, 200, "less silica,more silica,unknown"}, Row{22, 20, "more silica,less silica,unknown"},
                           Row{22, 14, "less silica,more silica,unknown"}, Row{23, 14, "less silica,more silica,unknown"},
                           Row{23, 13, "less silica,more silica,unknown"}, Row{24, 14, "more silica,less silica,unknown"}}) {
        m_list.SortBy(0, false, 14);
        m_list.SortBy(row.criterion, false, row.element);
        EXPECT_EQ(Names(), row.order) << g_glazeSortCriteria[row.criterion].label << " " << row.element;
    }
}

TEST_F(GlazeListOpsTest, ScaleRecipe)
{
    CGlaze glaze("g");
    glaze.m_components.Add("A", 40);
    glaze.m_components.Add("B", 60);
    glaze.m_additions.Add("C", 5);

    CGlaze scaled(glaze);
    EXPECT_EQ(scaled.ScaleRecipe(1000, false), 0);
    EXPECT_EQ(Amounts(scaled.m_components), "400.00 600.00");
    EXPECT_EQ(Amounts(scaled.m_additions), "50.00");

    scaled = glaze;
    EXPECT_EQ(scaled.ScaleRecipe(1000, true), 0);
    EXPECT_EQ(Amounts(scaled.m_components), "380.95 571.43");
    EXPECT_EQ(Amounts(scaled.m_additions), "47.62");

    // The cached analysis holds the old amounts: it is dropped.
    scaled.GetAnalysis();
    ASSERT_TRUE(scaled.HasAnalysis());
    EXPECT_EQ(scaled.ScaleRecipe(100, true), 0);
    EXPECT_FALSE(scaled.HasAnalysis());

    CGlaze additionsOnly("g");
    additionsOnly.m_additions.Add("C", 5);
    EXPECT_EQ(additionsOnly.ScaleRecipe(100, false), 1);
    EXPECT_EQ(additionsOnly.ScaleRecipe(100, true), 0);
    EXPECT_EQ(Amounts(additionsOnly.m_additions), "100.00");

    // A batch that is not a positive number leaves the recipe alone.
    for (const double batch : {0.0, -5.0, std::nan(""), HUGE_VAL}) {
        scaled = glaze;
        EXPECT_EQ(scaled.ScaleRecipe(batch, false), 1) << batch;
        EXPECT_EQ(Amounts(scaled.m_components), "40.00 60.00");
    }
}

TEST_F(GlazeListOpsTest, ConvertWeightVolume)
{
    AddMaterial("Silica", "SiO2", 2.0);
    AddMaterial("Whiting", "CaCO3", 4.0);
    AddMaterial("Mystery", "SiO2", 0.0);
    CGlaze glaze("g");
    glaze.m_components.Add("silica", 40);
    glaze.m_components.Add("Whiting", 60);
    glaze.m_additions.Add("Whiting", 8);

    EXPECT_EQ(glaze.ConvertWeightVolume(0), 0); // already by weight
    EXPECT_EQ(glaze.ConvertWeightVolume(5), 0);
    EXPECT_EQ(glaze.m_byVol, 0);
    glaze.GetAnalysis();
    EXPECT_EQ(glaze.ConvertWeightVolume(1), 0);
    EXPECT_EQ(glaze.m_byVol, 1);
    EXPECT_EQ(Amounts(glaze.m_components), "20.00 15.00");
    EXPECT_EQ(Amounts(glaze.m_additions), "2.00");
    EXPECT_FALSE(glaze.HasAnalysis());
    EXPECT_EQ(glaze.ConvertWeightVolume(-1), 0);
    EXPECT_EQ(glaze.m_byVol, 0);
    EXPECT_EQ(Amounts(glaze.m_components), "40.00 60.00");

    // One material without a density: nothing changes, not even the flag.
    glaze.m_additions.Add("Mystery", 1);
    EXPECT_EQ(glaze.ConvertWeightVolume(-1), 1);
    EXPECT_EQ(glaze.m_byVol, 0);
    EXPECT_EQ(Amounts(glaze.m_components), "40.00 60.00");
    EXPECT_EQ(Amounts(glaze.m_additions), "8.00 1.00");
    glaze.m_additions.RemoveAt(1);
    glaze.m_components.Add("Unknown", 1);
    EXPECT_EQ(glaze.ConvertWeightVolume(1), 1);
    EXPECT_EQ(glaze.m_byVol, 0);
}

TEST_F(GlazeListOpsTest, ConvertToFritAndMixture)
{
    g_prefs.decanalysis = 3;
    g_prefs.decrecipe = 2;
    AddMaterial("Silica", "SiO2", 2.0, 1.0);
    AddMaterial("Whiting", "CaCO3", 2.0, 2.0);
    ASSERT_EQ(m_doc.Materials().GetCount(), 2);
    RecordAt(m_doc.Materials(), 1).m_hazNotes = CStringArrayEx{"dust"};
    CGlaze glaze("Clear");
    glaze.m_components.Add("Silica", 60.09);
    glaze.m_components.Add("Whiting", 100.09);
    glaze.m_additions.Add("Whiting", 10.009);

    CMaterial frit("x");
    EXPECT_EQ(glaze.ConvertToMaterial(frit, true), 0);
    EXPECT_EQ(frit.m_name, "Clear Frit");
    EXPECT_EQ(frit.m_type, "frit");
    EXPECT_EQ(frit.m_formula, "1.000 CaO 0.909 SiO2 "); // additions included: 1.1 CaO to 1 SiO2
    EXPECT_EQ(frit.m_displayKey, "\tClear Frit");
    EXPECT_EQ(frit.m_notes, (CStringArrayEx{"Converted from glaze \"Clear\"", "Recipe:",
                                            "                Silica  60.09",
                                            "               Whiting  100.09",
                                            "               Whiting  10.01"}));

    CMaterial mixture("x");
    EXPECT_EQ(glaze.ConvertToMaterial(mixture, false), 0);
    EXPECT_EQ(mixture.m_name, "Clear");
    EXPECT_EQ(mixture.m_type, "mixture");
    EXPECT_EQ(mixture.m_hazNotes, (CStringArrayEx{"dust", "dust"}));
    EXPECT_GT(mixture.m_atoms[20], 0.0);
    EXPECT_GT(mixture.m_atoms[14], 0.0);
    // The moles of the recipe's elements, rewritten as a unity formula on the alkalis.
    EXPECT_EQ(mixture.m_formula, "CaO  0.909 SiO2  CO2");

    // A colorant of a fraction of a percent keeps its place in the mixture's formula.
    AddMaterial("Cobalt Oxide", "CoO", 2.0, 1.0);
    glaze.m_additions.Add("Cobalt Oxide", 0.5);
    CMaterial blue("x");
    EXPECT_EQ(glaze.ConvertToMaterial(blue, false), 0);
    EXPECT_EQ(blue.m_formula, "0.994 CaO  0.006 CoO  0.904 SiO2  0.994 CO2");

    CGlaze unknown("u");
    unknown.m_components.Add("Unobtainium", 1);
    CMaterial untouched("kept");
    EXPECT_EQ(unknown.ConvertToMaterial(untouched, true), 1);
    EXPECT_EQ(untouched.m_name, "kept");
    EXPECT_TRUE(untouched.m_notes.empty());
}

TEST_F(GlazeListOpsTest, FindGlazesWithinALimitFormula)
{
    AddMaterial("Silica", "SiO2", 1.0);
    AddMaterial("Whiting", "CaCO3", 1.0);
    CGlaze glaze("g");
    glaze.m_components.Add("Silica", 60.09 * 3);
    glaze.m_components.Add("Whiting", 100.09);

    CLimitFormulaDB formulas;
    formulas.AddDefaultCombinations();
    CCurrentLimitFormulaDBScope scope(formulas);
    CLimitFormula within("w");
    within.m_limits.Add(CLimit("SiO2", "2.9 - 3.1"));
    CLimitFormula outside("o");
    outside.m_limits.Add(CLimit("SiO2", "< 2"));

    CGlazeSearchCriteria criteria;
    criteria.Add(kSearchWithinLimits, 0).m_limitFormula = &within;
    EXPECT_TRUE(glaze.MatchesCriteria(criteria));
    ASSERT_EQ(criteria.m_criteria.size(), 1u);
    criteria.m_criteria.front()->m_limitFormula = &outside;
    EXPECT_FALSE(glaze.MatchesCriteria(criteria));

    CGlazeSearchCriteria oxide;
    oxide.Add(kSearchOxide, 0).m_element = 20;
    EXPECT_TRUE(glaze.MatchesCriteria(oxide));
    ASSERT_EQ(oxide.m_criteria.size(), 1u);
    oxide.m_criteria.front()->m_element = 12;
    EXPECT_FALSE(glaze.MatchesCriteria(oxide));
}

} // namespace
