#include "materials/Material.h"

#include "core/materials/MaterialTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class MaterialNormalizeTest : public MaterialTestBase {};

std::string Normalized(const std::string& formula, int mode)
{
    CMaterial m("x");
    EXPECT_EQ(m.SetFormula(formula), 0) << formula;
    m.NormalizePercentages(mode);
    return m.m_formula;
}

TEST_F(MaterialNormalizeTest, ScalesToOneHundred)
{
    struct Case {
        const char* formula;
        const char* result;
    };
    const Case cases[] = {
        {"% 30 SiO2  30 Al2O3", "% 50 SiO2  50 Al2O3"},
        {"%m 30 SiO2  30 Al2O3", "%m 50 SiO2  50 Al2O3"},
        {"% 3 SiO2", "% 100 SiO2"}, // one component: scaled, never fixed up
        // 33.33 three times is 0.01 short: no amount becomes whole, so the first takes it.
        {"% 1 SiO2  1 Al2O3  1 CaO", "% 33.34 SiO2  33.33 Al2O3  33.33 CaO"},
        // 6.02 + 45.78 + 46.99 + 1.2 is 0.01 short, and 46.99 becomes whole with it.
        {"% 5 SiO2  38 Al2O3  39 CaO  1 MgO", "% 6.02 SiO2  45.78 Al2O3  47 CaO  1.2 MgO"},
        // 0.02 short: two amounts are raised to the next whole number, 0.01 each.
        {"% 1 Na2O  39 SiO2  39 Al2O3  1 K2O  1 MgO  1 CaO  1 ZnO",
         "% 1.2 Na2O  47 SiO2  47 Al2O3  1.2 K2O  1.2 MgO  1.2 CaO  1.2 ZnO"},
        // 23.01 + 46.2 + 30.8 is 0.01 over: the amount whose fraction is the excess loses it.
        {"% 124 SiO2  249 Al2O3  166 CaO", "% 23 SiO2  46.2 Al2O3  30.8 CaO"},
        // 3.13 + 96.88 is 0.01 over: it comes off the largest amount that is not whole.
        {"% 1 CaO  31 SiO2", "% 3.13 CaO  96.87 SiO2"},
        // Six times 16.67 is 0.02 over.
        {"% 1 Na2O  1 K2O  1 MgO  1 CaO  1 SiO2  1 Al2O3",
         "% 16.65 Na2O  16.67 K2O  16.67 MgO  16.67 CaO  16.67 SiO2  16.67 Al2O3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(Normalized(c.formula, 0), c.result);
    }
}

TEST_F(MaterialNormalizeTest, AddsTheMissingPartAsLoi)
{
    EXPECT_EQ(Normalized("% 90 SiO2  5 LOI", 1), "% 90 SiO2  10 LOI");
    EXPECT_EQ(Normalized("% 90 SiO2", 1), "% 90 SiO2  10 LOI");
    EXPECT_EQ(Normalized("% 60.5 SiO2  30 Al2O3", 1), "% 60.5 SiO2  30 Al2O3  9.5 LOI");
    CMaterial m("x");
    m.SetFormula("% 90 SiO2  5 L.O.I.");
    m.NormalizePercentages(1);
    EXPECT_EQ(m.m_formula, "% 90 SiO2  10 L.O.I.");
    EXPECT_NEAR(m.m_loi, 0.10, 1e-12);
    // The dotted spelling is read wherever it stands, not only at the end.
    EXPECT_EQ(Normalized("% 5 L.O.I.  90 SiO2", 1), "% 10 L.O.I.  90 SiO2");
}

TEST_F(MaterialNormalizeTest, LeavesOtherFormulasAlone)
{
    const char* unchanged[] = {
        "%[Sum=100] 60 SiO2  30 Al2O3", // a forced sum
        "K2O Al2O3 6SiO2",              // not a % formula
        "[MW=200] SiO2",
        "% 60 SiO2   40 Al2O3",         // already 100: not even rebuilt
        "% 60 SiO2  45 Al2O3",          // mode 1: already 100 or more
    };
    for (const char* formula : unchanged) {
        for (int mode : {0, 1, 2}) {
            if (std::string(formula) == "% 60 SiO2  45 Al2O3" && mode == 0)
                continue;
            EXPECT_EQ(Normalized(formula, mode), formula) << formula << " mode " << mode;
        }
    }
    EXPECT_EQ(Normalized("%m 30 SiO2  30 Al2O3", 1), "%m 30 SiO2  30 Al2O3");
    EXPECT_EQ(Normalized("% 0 SiO2  0 Al2O3", 0), "% 0 SiO2  0 Al2O3"); // nothing to scale
}

TEST_F(MaterialNormalizeTest, CheckFormula)
{
    std::string text = "% 90 SiO2  5 LOI";
    EXPECT_EQ(CMaterial::CheckFormula(&text, 1), 0);
    EXPECT_EQ(text, "% 90 SiO2  10 LOI");
    text = "% 30 SiO2  30 Al2O3";
    EXPECT_EQ(CMaterial::CheckFormula(&text, 0), 0);
    EXPECT_EQ(text, "% 50 SiO2  50 Al2O3");
    text = "SiO2";
    EXPECT_EQ(CMaterial::CheckFormula(&text, 0), 0);
    EXPECT_EQ(text, "SiO2");
    text = "% 30 SiX";
    EXPECT_EQ(CMaterial::CheckFormula(&text, 0), 1);
    EXPECT_EQ(text, "% 30 SiX");
    text = "";
    EXPECT_EQ(CMaterial::CheckFormula(&text, 0), 0);
    EXPECT_EQ(text, "");
}

TEST_F(MaterialNormalizeTest, FollowsTheFormulaDecimals)
{
    g_prefs.decformulas = 1;
    g_prefs.tzsformulas = 1;
    EXPECT_EQ(Normalized("% 1 SiO2  1 Al2O3  1 CaO", 0), "% 33.4 SiO2  33.3 Al2O3  33.3 CaO");
}

} // namespace
