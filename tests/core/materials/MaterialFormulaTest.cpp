#include "materials/MaterialFormula.h"

#include "materials/Material.h"
#include "core/materials/MaterialTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int Si = 14, O = 8, K = 19, Na = 11, Al = 13, Ca = 20, C = 6, H = 1, N = 7, S = 16;

class MaterialFormulaTest : public MaterialTestBase {};

void ExpectSlotZeroIsPotassiumPlusSodium(const CMaterial& m)
{
    EXPECT_DOUBLE_EQ(m.m_atoms[0], m.m_atoms[K] + m.m_atoms[Na]);
    EXPECT_DOUBLE_EQ(m.m_oxides[0], m.m_oxides[K] + m.m_oxides[Na]);
}

TEST_F(MaterialFormulaTest, AnalysesOfTypicalFormulas)
{
    struct Case {
        const char* formula;
        double weight, yield, loi;
    };
    const Case cases[] = {
        {"SiO2", 60.0843, 1.0, 0.0},
        {"CaCO3", 100.0892, 0.56029, 0.43971},
        {"%[Sum=100] 60 SiO2  30 Al2O3", 100.0, 0.9, 0.10},
        {"% 95 SiO2  5 LOI", 100.0, 0.95, 0.05},
        {"[MW=200] SiO2", 200.0, 0.30042, 0.69958},
        {"K2O Al2O3 6SiO2", 556.663, 1.0, 0.0},
        {"Na2O Al2O3 6SiO2", 524.4458, 1.0, 0.0},
        {"0.6 K2O  0.4 Na2O  Al2O3  6 SiO2", 543.7762, 1.0, 0.0},
        {"%m 50 SiO2  50 Al2O3", 50 * 60.0843 + 50 * 101.9612, 1.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        CMaterial m = Parsed(c.formula);
        EXPECT_NEAR(m.m_formulaWeight, c.weight, 1e-3);
        EXPECT_NEAR(m.m_firedYield, c.yield, 5e-6);
        EXPECT_NEAR(m.m_loi, c.loi, 5e-6);
        EXPECT_NEAR(m.m_loi + m.m_firedYield, 1.0, 1e-12);
        ExpectSlotZeroIsPotassiumPlusSodium(m);
    }
}

TEST_F(MaterialFormulaTest, SilicaAndFeldsparInDetail)
{
    CMaterial silica = Parsed("SiO2");
    EXPECT_TRUE(silica.m_isMolecular);
    EXPECT_FALSE(silica.m_isWeightPercent || silica.m_isMolePercent);
    EXPECT_NEAR(silica.m_atoms[Si], 1.0 / 60.0843, 1e-12);
    EXPECT_NEAR(silica.m_atoms[O], 2.0 / 60.0843, 1e-12);
    EXPECT_DOUBLE_EQ(silica.m_oxides[Si], 1.0);
    EXPECT_EQ(silica.m_oxides[O], 0.0);
    EXPECT_DOUBLE_EQ(silica.m_oxideSum, 1.0);
    EXPECT_NEAR(silica.m_firedWeight, 60.0843, 1e-9);

    CMaterial feldspar = Parsed("K2O Al2O3 6SiO2");
    EXPECT_NEAR(feldspar.m_oxides[K], 0.16922, 5e-6);
    EXPECT_NEAR(feldspar.m_oxides[Al], 0.18317, 5e-6);
    EXPECT_NEAR(feldspar.m_oxides[Si], 0.64762, 5e-6);
    EXPECT_NEAR(feldspar.m_oxides[0], 0.16922, 5e-6);
    EXPECT_NEAR(feldspar.m_atoms[K] * feldspar.m_formulaWeight, 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(feldspar.m_atoms[0], feldspar.m_atoms[K]);
    ASSERT_EQ(feldspar.m_components.size(), 3u);
    EXPECT_EQ(feldspar.m_components[2].m_amountText, "6");
    EXPECT_EQ(feldspar.m_components[2].m_text, "SiO2");
    EXPECT_EQ(feldspar.m_components[0].m_amountText, "");
    EXPECT_EQ(feldspar.m_components[0].m_kind, kComponentUnclassified);
}

TEST_F(MaterialFormulaTest, PercentSumsAndForcedValues)
{
    CMaterial forcedSum = Parsed("%[Sum=100] 60 SiO2  30 Al2O3");
    EXPECT_TRUE(forcedSum.m_isWeightPercent);
    EXPECT_TRUE(forcedSum.m_hasForcedSum);
    EXPECT_EQ(forcedSum.m_forcedSumText, "100");
    EXPECT_DOUBLE_EQ(forcedSum.m_percentSum, 100.0);
    EXPECT_DOUBLE_EQ(forcedSum.m_parsedPercentSum, 90.0);
    EXPECT_NEAR(forcedSum.m_naturalWeight, 90.0, 1e-9);
    EXPECT_NEAR(forcedSum.m_oxides[Si], 60.0 / 90.0, 1e-9);

    CMaterial forcedMW = Parsed("[MW=200] SiO2");
    EXPECT_TRUE(forcedMW.m_isMolecular);
    EXPECT_TRUE(forcedMW.m_hasForcedMW);
    EXPECT_EQ(forcedMW.m_forcedMWText, "200");
    EXPECT_NEAR(forcedMW.m_naturalWeight, 60.0843, 1e-9);
    EXPECT_NEAR(forcedMW.m_atoms[O] * 200.0, 2.0 + (200.0 - 60.0843) / 15.9994, 1e-9);

    // Bracket spellings: blanks, any case, the "=" optional.
    EXPECT_TRUE(Parsed("[ mw = 200 ] SiO2").m_hasForcedMW);
    EXPECT_DOUBLE_EQ(Parsed("[200]SiO2").m_formulaWeight, 200.0);
    EXPECT_DOUBLE_EQ(Parsed("%[SUM 100] 60 SiO2").m_percentSum, 100.0);

    EXPECT_DOUBLE_EQ(Parsed("% 50 SiO2  50 Al2O3").m_percentSum, 100.0);
    EXPECT_DOUBLE_EQ(Parsed("%w 50 SiO2").m_percentSum, 50.0);
    EXPECT_DOUBLE_EQ(Parsed("%M 20 SiO2  30 Al2O3").m_percentSum, 50.0);
    EXPECT_TRUE(Parsed("%M 20 SiO2").m_isMolePercent);
    EXPECT_EQ(Parsed("K2O Al2O3 6SiO2").m_percentSum, 0.0);
}

TEST_F(MaterialFormulaTest, NestingCountsAndVolatileComponents)
{
    CMaterial lime = Parsed("Ca(OH)2");
    double w = lime.m_formulaWeight;
    EXPECT_NEAR(w, 40.08 + 2 * 15.9994 + 2 * 1.00794, 1e-9);
    EXPECT_NEAR(lime.m_atoms[O] * w, 2.0, 1e-12);
    EXPECT_NEAR(lime.m_atoms[H] * w, 2.0, 1e-12);

    CMaterial sulfate = Parsed("2 (NH4)2SO4");
    w = sulfate.m_formulaWeight;
    // The formula unit is two of them.
    EXPECT_NEAR(sulfate.m_atoms[N] * w, 4.0, 1e-12);
    EXPECT_NEAR(sulfate.m_atoms[H] * w, 16.0, 1e-12);
    EXPECT_NEAR(sulfate.m_atoms[S] * w, 2.0, 1e-12);
    ASSERT_EQ(sulfate.m_components.size(), 1u);
    EXPECT_EQ(sulfate.m_components[0].m_amountText, "2");
    EXPECT_EQ(sulfate.m_components[0].m_text, "(NH4)2SO4");

    // Eight levels of parentheses are allowed.
    CMaterial deep = Parsed("((((((((SiO2))))))))3");
    EXPECT_NEAR(deep.m_atoms[Si] * deep.m_formulaWeight, 3.0, 1e-12);
    EXPECT_NEAR(deep.m_formulaWeight, 3 * 60.0843, 1e-9);

    // Volatile elements only: no fired oxides, values per formula unit scaled by a million.
    CMaterial carbonDioxide = Parsed("CO2");
    EXPECT_EQ(carbonDioxide.m_firedWeight, 0.0);
    EXPECT_EQ(carbonDioxide.m_firedYield, 0.0);
    EXPECT_EQ(carbonDioxide.m_loi, 1.0);
    EXPECT_NEAR(carbonDioxide.m_oxides[C], 44.0098 * 1e6, 1e-3);

    CMaterial withUnexpected = Parsed("SiO2 Rb2O");
    EXPECT_TRUE(withUnexpected.m_hasUnexpected);
    EXPECT_FALSE(Parsed("SiO2").m_hasUnexpected);

    CMaterial empty = Parsed("");
    EXPECT_EQ(empty.m_formulaWeight, 0.0);
    EXPECT_FALSE(empty.m_isMolecular);
    EXPECT_TRUE(empty.m_components.empty());
}

TEST_F(MaterialFormulaTest, ErrorsGiveCodeMessageAndPosition)
{
    struct Case {
        std::string formula;
        int code;
        std::string message;
        int position;
    };
    const std::vector<Case> cases = {
        {"%x SiO2", -1, "Unrecognized character after % sign (did you forget to leave a space?)", 1},
        {"%", -1, "Unrecognized character after % sign (did you forget to leave a space?)", 1},
        {"SiX2", -2, "Unrecognized element symbol 'X'", 2},
        {"Xa2", -2, "Unrecognized element symbol 'Xa'", 0},
        {"sio2", -3, "Unexpected character 's'", 0},
        {"SiO2 Ca-O", -3, "Unexpected character '-'", 7},
        {"(Xa)2", -20, "Unrecognized element symbol 'Xa'", 1},
        {"((LOI))", -400, "LOI is only allowed in % weight formulas", 2},
        {"LOI 5", -4, "LOI is only allowed in % weight formulas", 0},
        {"% 5 (LOI)", -40, "LOI is only allowed in % weight formulas", 5},
        {"2", -8, "Component has no atoms", 1},
        {"SiO2 2", -8, "Component has no atoms", 6},
        {"% 5 Si0", -8, "Component has no atoms", 4},
        {"(SiO2", -1, "Missing ')'", 5},
        {"(SiO2 CaO)", -1, "Missing ')'", 5},
        {"SiO2)", -1, "Unexpected ')'", 4},
        {"()", -10, "Unexpected ')'", 1},
        {"[MW=60 SiO2", -1, "Cannot understand the forced molecular weight", 7},
        {"%[Sum=x] SiO2", -1, "Cannot understand the forced percentage sum", 6},
        {"[MW=0] SiO2", -1, "Forced molecular weight must be greater than 0", 0},
        {"%[Sum=] 60 SiO2", -1, "Forced % sum must be greater than 0", 0},
        {"[MW=20] SiO2", -2, "Forced molecular weight is too low and cannot be attained (insufficient oxygen)", 0},
        {"%[Sum=28] 60 SiO2", -2, "Forced % sum is too low and cannot be attained (insufficient oxygen)", 0},
        // Nine levels of "(" are one too many: the ninth is unexpected, and the code carries
        // the eight levels it stands in.
        {"(((((((((SiO2)))))))))", -300000000, "Unexpected character '('", 8},
        // Numbers too large to represent are rejected at their first digit.
        {"Si" + std::string(400, '9') + "O2", -3, "Unexpected character '9'", 2},
        {std::string(400, '7') + " SiO2", -3, "Unexpected character '7'", 0},
        {"(Si)" + std::string(400, '5'), -3, "Unexpected character '5'", 4},
        // A NUL byte does not end the formula silently.
        {std::string("SiO2\0CaO", 8), -3, std::string("Unexpected character '\0'", 24), 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula.substr(0, 40));
        CMaterial m("test");
        m.m_formula = c.formula;
        std::string error;
        int position = -1;
        EXPECT_EQ(m.ParseFormula(&error, &position), c.code);
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(position, c.position);
    }
}

TEST_F(MaterialFormulaTest, SetFormulaDropsAFailedFormula)
{
    CMaterial m = Parsed("SiO2");
    std::string error;
    int position = -1;
    EXPECT_EQ(m.SetFormula("SiX2", &error, &position), -1);
    EXPECT_EQ(error, "Unrecognized element symbol 'X'");
    EXPECT_EQ(position, 2);
    EXPECT_EQ(m.m_formula, "");
    EXPECT_TRUE(m.m_components.empty());
    EXPECT_EQ(m.m_formulaWeight, 0.0);
    EXPECT_FALSE(m.m_isMolecular);
    for (int z = 0; z < kElementCount; ++z) {
        EXPECT_EQ(m.m_atoms[z], 0.0);
        EXPECT_EQ(m.m_oxides[z], 0.0);
    }
    EXPECT_EQ(m.SetFormula("[MW=20] SiO2"), -1); // null out-parameters are allowed
    EXPECT_EQ(m.m_loi, 0.0);

    EXPECT_EQ(m.SetFormula("SiO2", &error, &position), 0);
    EXPECT_EQ(error, "");
    EXPECT_EQ(position, 0);
}

TEST_F(MaterialFormulaTest, LexicalReaders)
{
    struct NumberCase {
        const char* text;
        double value;
        int consumed;
    };
    const NumberCase numbers[] = {
        {".5", 0.5, 2}, {".", 0.0, 1}, {"0", 0.0, 1}, {"12.25x", 12.25, 5}, {"1.2.5", 1.7, 5}, {"x", 1.0, 0}, {"", 1.0, 0},
    };
    for (const NumberCase& c : numbers) {
        const char* cursor = c.text;
        EXPECT_NEAR(ReadFormulaNumber(&cursor), c.value, 1e-12) << c.text;
        EXPECT_EQ(cursor - c.text, c.consumed) << c.text;
    }

    struct SymbolCase {
        const char* text;
        int z;
        int consumed;
    };
    const SymbolCase symbols[] = {
        {"Co", 27, 2}, {"CO", 6, 1}, {"Lw", 103, 2}, {"Xa2", -1, 2}, {"x", -1, 0}, {" Si", 0, 0}, {"2Si", 0, 0},
    };
    for (const SymbolCase& c : symbols) {
        const char* cursor = c.text;
        EXPECT_EQ(ReadElementSymbol(&cursor), c.z) << c.text;
        EXPECT_EQ(cursor - c.text, c.consumed) << c.text;
    }
}

TEST_F(MaterialFormulaTest, ComponentParserAddsIntoTheCallersVector)
{
    OxideVector atoms;
    double percentSum = 10.0;
    CFormulaComponentList components;
    const char* text = "30 SiO2  rest";
    const char* cursor = text;
    EXPECT_EQ(ParseFormulaComponent(&cursor, atoms.data(), true, nullptr, &percentSum, &components), 0);
    EXPECT_EQ(cursor - text, 7);
    EXPECT_DOUBLE_EQ(percentSum, 40.0);
    EXPECT_NEAR(atoms[Si], 30.0 / 60.0843, 1e-12);
    ASSERT_EQ(components.size(), 1u);
    EXPECT_EQ(components[0].m_amountText, "30");
    EXPECT_EQ(components[0].m_text, "SiO2");
}

TEST_F(MaterialFormulaTest, AnalysisWithoutARecord)
{
    OxideVector atoms, oxides;
    std::string error = "old";
    int position = -1;
    EXPECT_EQ(ParseFormulaAnalysis("K2O Al2O3 6SiO2 CO2", atoms.data(), oxides.data(), &error, &position), 0);
    EXPECT_EQ(error, "");
    EXPECT_EQ(position, 0);
    EXPECT_DOUBLE_EQ(atoms[K], 2.0);
    EXPECT_DOUBLE_EQ(atoms[Si], 6.0);
    EXPECT_DOUBLE_EQ(atoms[O], 18.0);
    EXPECT_DOUBLE_EQ(atoms[0], 2.0);
    EXPECT_DOUBLE_EQ(oxides[K], 1.0);
    EXPECT_DOUBLE_EQ(oxides[Al], 1.0);
    EXPECT_DOUBLE_EQ(oxides[Si], 6.0);
    EXPECT_DOUBLE_EQ(oxides[0], 1.0);
    EXPECT_EQ(oxides[C], 0.0); // volatile
    EXPECT_EQ(oxides[O], 0.0);

    // "%m" amounts are moles; "%" amounts are weights; forced values apply.
    EXPECT_EQ(ParseFormulaAnalysis("%m 50 SiO2", atoms.data(), oxides.data(), nullptr, nullptr), 0);
    EXPECT_DOUBLE_EQ(atoms[Si], 50.0);
    EXPECT_EQ(ParseFormulaAnalysis("% 60.0843 SiO2", atoms.data(), oxides.data(), nullptr, nullptr), 0);
    EXPECT_NEAR(atoms[Si], 1.0, 1e-12);
    EXPECT_EQ(ParseFormulaAnalysis("[MW=200] SiO2", atoms.data(), oxides.data(), nullptr, nullptr), 0);
    EXPECT_NEAR(atoms[O], 2.0 + (200.0 - 60.0843) / 15.9994, 1e-9);
    EXPECT_EQ(atoms[K], 0.0); // zeroed first

    EXPECT_EQ(ParseFormulaAnalysis("SiO2 (Xa)", atoms.data(), oxides.data(), &error, &position), -20);
    EXPECT_EQ(error, "Unrecognized element symbol 'Xa'");
    EXPECT_EQ(position, 6);
    EXPECT_EQ(atoms[Si], 0.0);
    EXPECT_EQ(oxides[Si], 0.0);
}

TEST_F(MaterialFormulaTest, AddScaledAnalysisAddsEverySlot)
{
    CMaterial feldspar = Parsed("K2O Na2O Al2O3 6SiO2");
    OxideVector sum;
    sum[Si] = 1.0;
    feldspar.AddScaledAnalysis(sum.data(), 2.5);
    feldspar.AddScaledAnalysis(sum.data(), 0.5);
    EXPECT_DOUBLE_EQ(sum[Si], 1.0 + 3.0 * feldspar.m_atoms[Si]);
    EXPECT_DOUBLE_EQ(sum[0], 3.0 * (feldspar.m_atoms[K] + feldspar.m_atoms[Na]));
}

TEST_F(MaterialFormulaTest, CationCountsOfZeroContributeNothing)
{
    CElementTable table;
    table[Si].ncat = 0;
    table[Al].ncat = -2;
    CWorkingElementTableScope scope(table);

    CMaterial m = Parsed("Al2O3 SiO2 CaO");
    EXPECT_EQ(m.m_oxides[Si], 0.0);
    EXPECT_EQ(m.m_oxides[Al], 0.0);
    EXPECT_DOUBLE_EQ(m.m_oxides[Ca], 1.0);
    for (int z = 0; z < kElementCount; ++z)
        EXPECT_TRUE(std::isfinite(m.m_oxides[z]) && std::isfinite(m.m_atoms[z])) << z;

    OxideVector atoms, oxides;
    EXPECT_EQ(ParseFormulaAnalysis("Al2O3 SiO2", atoms.data(), oxides.data(), nullptr, nullptr), 0);
    EXPECT_EQ(oxides[Si], 0.0);
    EXPECT_EQ(oxides[Al], 0.0);
    EXPECT_DOUBLE_EQ(atoms[Si], 1.0);
}

} // namespace
