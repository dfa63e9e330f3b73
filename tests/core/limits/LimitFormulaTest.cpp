#include "limits/LimitFormula.h"

#include "core/support/CheckedItems.h"
#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LimitFormulaTest : public ::testing::Test {
protected:
    LimitFormulaTest()
    {
        g_prefs.declimformulas = 3;
        g_prefs.tzslimformulas = 1;
        m_database.AddDefaultCombinations();
    }

    static CLimitFormula Formula(const std::string& name, std::vector<CLimit> limits)
    {
        CLimitFormula formula(name);
        for (const CLimit& limit : limits)
            formula.m_limits.Add(limit);
        return formula;
    }

    // "combo[%]=range" for every limit, separated by "; ".
    static std::string Describe(const CLimitFormula& formula)
    {
        std::string text;
        for (int i = 0; i < formula.m_limits.GetCount(); ++i) {
            const CLimit& limit = formula.m_limits.GetAt(i);
            text += (i ? "; " : "") + limit.m_comboName + (limit.m_byPercent ? "%" : "") + "=" + limit.GetRange();
        }
        return text;
    }

    CAppContext m_context;
    CLimitFormulaDB m_database;
    CCurrentLimitFormulaDBScope m_scope{m_database};
};

TEST_F(LimitFormulaTest, NewFormula)
{
    g_prefs.datefmt = "%Y";
    const CLimitFormula formula("Cone 6 gloss");
    EXPECT_EQ(formula.m_name, "Cone 6 gloss");
    EXPECT_EQ(formula.m_date.size(), 4U);
    EXPECT_EQ(formula.m_limits.GetCount(), 0);
    EXPECT_TRUE(formula.m_notes.empty());
}

TEST_F(LimitFormulaTest, AnalysisWithinFormula)
{
    CGlazeAnalysis analysis;
    analysis.unity[20] = 0.5;
    analysis.unity[14] = 3.0;
    analysis.unity[13] = 0.3;

    const CLimitFormula empty("empty");
    EXPECT_TRUE(empty.IsAnalysisWithin(analysis));
    const CLimitFormula formula = Formula("f", {CLimit("CaO", "0.4 - 0.6"), CLimit("Si:Al", ">= 8 <= 12")});
    EXPECT_TRUE(formula.IsAnalysisWithin(analysis));
    analysis.unity[13] = 0.4; // Si:Al 7.5
    EXPECT_FALSE(formula.IsAnalysisWithin(analysis));

    // An invalid analysis is outside every formula, even one without limits.
    CGlazeAnalysis invalid;
    invalid.materialsFound = 0;
    EXPECT_FALSE(empty.IsAnalysisWithin(invalid));
    // A limit on a missing combination fails.
    EXPECT_FALSE(Formula("g", {CLimit("Fe2O3", "< 1")}).IsAnalysisWithin(analysis));
}

TEST_F(LimitFormulaTest, Intersection)
{
    CLimitFormula a = Formula("a", {CLimit("CaO", "0.1 - 0.2"), CLimit("SiO2", "> 1"), CLimit("KNaO", "< 0.3")});
    const CLimitFormula b = Formula("b", {CLimit("CaO", "0.5 - 0.6"), CLimit("SiO2", "< 4"),
                                          CLimit("SiO2", "< 4", 1), CLimit("Al2O3", ">= 0.2"),
                                          CLimit("kNaO", "< 0.2")});
    a.Combine(b, CLimit::kIntersection);
    EXPECT_EQ(Describe(a), "CaO=666 - 666; SiO2=1.0 - 4.0; KNaO=< 0.3; SiO2%=< 4; Al2O3=>= 0.2; kNaO=< 0.2");

    // Ranges that meet at one point keep that point, and a glaze there is within them.
    CLimitFormula meeting = Formula("m", {CLimit("CaO", "0.1 - 0.3")});
    meeting.Combine(Formula("n", {CLimit("CaO", "0.3 - 0.6")}), CLimit::kIntersection);
    EXPECT_EQ(Describe(meeting), "CaO=0.3 - 0.3");
    CGlazeAnalysis glaze;
    glaze.unity[20] = 0.3;
    EXPECT_TRUE(meeting.IsAnalysisWithin(glaze));
}

TEST_F(LimitFormulaTest, Union)
{
    CLimitFormula a = Formula("a", {CLimit("CaO", "0.2 - 0.6"), CLimit("SiO2", "> 0.1"), CLimit("SiO2", "< 4", 1),
                                    CLimit("KNaO", "< 0.3"), CLimit("Al2O3", "0.1 - 0.3")});
    const CLimitFormula b = Formula("b", {CLimit("CaO", "0.3 - 0.8"), CLimit("SiO2", "< 0.5"), CLimit("SiO2", "< 5"),
                                          CLimit("knao", "< 0.5"), CLimit("Al2O3", "0.2 - 0.5", 1)});
    a.Combine(b, CLimit::kUnion);
    // SiO2 meets its first counterpart "< 0.5" (no bound left); the by-percent SiO2, the case
    // changed KNaO and the by-unity Al2O3 have no counterpart at all.
    EXPECT_EQ(Describe(a), "CaO=0.2 - 0.8");

    CLimitFormula c = Formula("c", {CLimit("CaO", "0.2 - 0.6")});
    c.Combine(CLimitFormula("none"), CLimit::kUnion);
    EXPECT_EQ(c.m_limits.GetCount(), 0);

    // With itself: every limit of the unchanged formula meets the first CaO limit.
    CLimitFormula self = Formula("s", {CLimit("CaO", "0.2 - 0.6"), CLimit("CaO", "> 1")});
    self.Combine(self, CLimit::kIntersection);
    EXPECT_EQ(Describe(self), "CaO=666 - 666; CaO=> 1");
}

TEST_F(LimitFormulaTest, CombiningSelectedFormulas)
{
    m_database.InsertFormula(0, Formula("first", {CLimit("CaO", "0.2 - 0.6")}));
    m_database.InsertFormula(1, Formula("middle", {}));
    m_database.InsertFormula(2, Formula("last", {CLimit("CaO", "0.3 - 0.8")}));

    const std::vector<int> union_ = {2, 0, 9};
    EXPECT_EQ(m_database.CombineFormulas(union_, CLimit::kUnion), 3);
    ASSERT_EQ(m_database.GetCount(), 4);
    const CLimitFormula& combined = m_database.GetAt(3);
    EXPECT_EQ(combined.m_name, "Union of 2 limit formulas");
    EXPECT_EQ(combined.m_notes, (CStringArrayEx{"Union of 2 limit formulas", "  first", "  last"}));
    EXPECT_EQ(Describe(combined), "CaO=0.2 - 0.8");

    const std::vector<int> intersection = {0, 1};
    EXPECT_EQ(m_database.CombineFormulas(intersection, CLimit::kIntersection), 2);
    ASSERT_EQ(m_database.GetCount(), 5);
    EXPECT_EQ(RecordAt(m_database, 2).m_name, "Intersection of 2 limit formulas");
    EXPECT_EQ(Describe(m_database.GetAt(2)), "CaO=0.2 - 0.6");
    EXPECT_EQ(m_database.GetCount(), 5);

    EXPECT_EQ(m_database.CombineFormulas(std::vector<int>{-1, 17}, CLimit::kUnion), -1);
    EXPECT_EQ(m_database.GetCount(), 5);
}

TEST_F(LimitFormulaTest, DatabaseRecordOperations)
{
    m_database.InsertFormula(1, CLimitFormula("bad"));
    EXPECT_EQ(m_database.GetCount(), 0);
    for (const char* name : {"P", "Q", "R"})
        m_database.InsertFormula(m_database.GetCount(), CLimitFormula(name));
    ASSERT_EQ(m_database.GetCount(), 3);
    const CLimitFormula* p = &m_database.GetAt(0);
    m_database.m_formulas.MoveItem(0, 2);
    EXPECT_EQ(RecordAt(m_database, 1).m_name, "P");
    EXPECT_EQ(m_database.FindFormula(p), 1);
    m_database.SetFormula(1, Formula("P2", {CLimit("CaO", "> 0")}));
    EXPECT_EQ(m_database.FindFormula(p), 1); // assigned in place
    EXPECT_EQ(p->m_limits.GetCount(), 1);
    m_database.SetFormula(3, CLimitFormula("ignored"));
    m_database.RemoveFormula(1);
    EXPECT_EQ(m_database.FindFormula(p), -1);
    EXPECT_EQ(m_database.FindFormula(nullptr), -1);
    ASSERT_EQ(m_database.GetCount(), 2);
    EXPECT_EQ(m_database.FindFormulaByName("r"), &m_database.GetAt(1));

    m_database.m_name = "mine";
    m_database.Reset();
    EXPECT_EQ(m_database.m_name, "Limit Formulas");
    EXPECT_EQ(m_database.GetCount(), 0);
    EXPECT_TRUE(m_database.NoCurrentItem());
}

TEST_F(LimitFormulaTest, CompareFormulaNames)
{
    for (const char* name : {"Zeta", "alpha", "Mid"})
        m_database.InsertFormula(m_database.GetCount(), CLimitFormula(name));
    struct Case {
        const char* a;
        const char* b;
        bool plain;
        int expected;
    };
    const Case cases[] = {
        {"", "", false, 0},        {"", "Zeta", false, 1},      {"Zeta", "", true, -1},
        {"zeta", "ZETA", false, 0}, // equal ignoring case
        {"Zeta", "alpha", false, -1}, // database order
        {"Zeta", "alpha", true, 1},   // plain: by name
        {"Mid", "Aardvark", false, -1}, // listed before unlisted
        {"Aardvark", "mid", false, 1},
        {"b unlisted", "a unlisted", false, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_database.CompareFormulaNames(c.a, c.b, c.plain), c.expected) << c.a << " / " << c.b;
    // Without a database every name is unlisted.
    EXPECT_EQ(CompareLimitFormulaNames(nullptr, "Zeta", "alpha", false), 1);
}

TEST_F(LimitFormulaTest, DestroyedDatabaseIsNoLongerCurrent)
{
    {
        CLimitFormulaDB temporary;
        SetCurrentLimitFormulaDB(&temporary);
    }
    EXPECT_EQ(GetCurrentLimitFormulaDB(), nullptr);
    SetCurrentLimitFormulaDB(&m_database);
}

} // namespace
