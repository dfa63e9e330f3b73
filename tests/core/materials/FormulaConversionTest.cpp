#include "materials/FormulaConversion.h"

#include "core/framework/RecordingView.h"
#include "core/support/CheckedItems.h"
#include "core/materials/MaterialTestSupport.h"
#include "core/shell/FakeMessageService.h"
#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// The worked examples are written with four decimals and trailing zeros removed.
class FormulaConversionTest : public MaterialTestBase {
protected:
    void SetUp() override
    {
        MaterialTestBase::SetUp();
        g_prefs.decformulas = 4;
    }

    static std::string Converted(const std::string& formula, int mode, int target = -1, int loiOxide = 8)
    {
        CMaterial material = Parsed(formula);
        material.ConvertFormula(mode, target, -1, 0, loiOxide);
        return material.m_formula;
    }
};

TEST_F(FormulaConversionTest, PotashFeldsparToPercentAndBack)
{
    CMaterial feldspar = Parsed("K2O Al2O3 6SiO2");
    const double weight = feldspar.m_formulaWeight;
    feldspar.ConvertFormula(kConvertToWeightPercent, 0, -1, 0, 8);
    // 94.196 + 101.9612 + 6 x 60.0843 = 556.663 per formula unit; the rounding remainder of
    // 0.0001 goes to the largest amount.
    EXPECT_EQ(feldspar.m_formula, "% 16.9215 K2O  18.3165 Al2O3  64.762 SiO2");
    EXPECT_TRUE(feldspar.m_isWeightPercent);
    EXPECT_NEAR(feldspar.m_percentSum, 100.0, 1e-9);

    feldspar.ConvertFormula(kConvertToMolecular, 0, -1, 0, 8);
    EXPECT_EQ(feldspar.m_formula, "K2O  Al2O3  6 SiO2");
    EXPECT_NEAR(feldspar.m_formulaWeight, weight, 1e-9);

    // Unity on silica: the unity oxide is written without a number, in display order.
    EXPECT_EQ(Converted("K2O Al2O3 6SiO2", kConvertToUnity, 14), "0.1667 K2O  0.1667 Al2O3  SiO2");
    EXPECT_EQ(Converted("K2O Al2O3 6SiO2", kConvertToUnity, kUnityOnNeutrals), "K2O  Al2O3  6 SiO2");
    EXPECT_EQ(Converted("2K2O 2Al2O3 12SiO2", kConvertToUnity, kUnityOnAlkalis), "K2O  Al2O3  6 SiO2");
    // The dialog's decimals replace the preferences for the one call only.
    CMaterial two = Parsed("K2O Al2O3 6SiO2");
    two.ConvertFormula(kConvertToUnity, 14, 2, 2, 8);
    EXPECT_EQ(two.m_formula, "0.17 K2O  0.17 Al2O3  1.00 SiO2");
    EXPECT_EQ(g_prefs.decformulas, 4);
    EXPECT_EQ(g_prefs.tzsformulas, -1);
}

TEST_F(FormulaConversionTest, PercentFormulaToUnity)
{
    // % weight: the amounts become moles first; the LOI is taken as the chosen oxide.
    EXPECT_EQ(Converted("% 16.92 K2O  18.32 Al2O3  64.76 SiO2", kConvertToUnity, kUnityOnAlkalis),
              "K2O  1.0003 Al2O3  6.0004 SiO2");
    EXPECT_EQ(Converted("%m 12.5 K2O  12.5 Al2O3  75 SiO2", kConvertToUnity, kUnityOnAlkalis), "K2O  Al2O3  6 SiO2");
    // 56.0794 g CaO and 44.0098 g LOI as CO2 is one mole of each.
    EXPECT_EQ(Converted("% 56.0794 CaO  44.0098 LOI", kConvertToUnity, kUnityOnAlkalis, 6), "CaO  CO2");
    // A % formula whose sum does not round to 100 is not converted (modes 2, 3 and 4).
    for (int mode : {kConvertToWeightPercent, kConvertToMolecularPercent, kConvertToMolecular, kConvertToUnity}) {
        EXPECT_EQ(Converted("% 50 SiO2  49 Al2O3", mode), "% 50 SiO2  49 Al2O3");
        EXPECT_EQ(Converted("% 50 SiO2  51 Al2O3", mode), "% 50 SiO2  51 Al2O3");
    }
    // No alkali: the neutral sum; no oxide at all: the first bare element.
    EXPECT_EQ(Converted("2Al2O3 6SiO2", kConvertToUnity, kUnityOnAlkalis), "Al2O3  3 SiO2");
    EXPECT_EQ(Converted("2Si", kConvertToUnity, kUnityOnAlkalis), "Si");
    // An element the formula lacks gives way to the groups; the last element of the table counts.
    EXPECT_EQ(Converted("2CaO 4SiO2", kConvertToUnity, 13), "CaO  2 SiO2");
    EXPECT_EQ(Converted("2Lw", kConvertToUnity, kUnityOnAlkalis), "Lw");
    EXPECT_EQ(Converted("2SiO2 4Lw", kConvertToUnity, 103), "0.5 SiO2  Lw");
    // A component as the unit; compounds follow the oxides.
    EXPECT_EQ(Converted("4CaCO3 2SiO2", kConvertToUnity, kUnityOnComponentBase + 1), "SiO2  2 CaCO3");
}

TEST_F(FormulaConversionTest, WhitingOxidisedWithItsLossOnIgnition)
{
    // Oxidize and force: CaO with the old weight, so the carbonate's loss stays.
    CMaterial whiting = Parsed("CaCO3");
    const double loi = whiting.m_loi;
    whiting.ConvertFormula(kConvertOxidizeAndForce, 0, -1, 0, 8);
    EXPECT_EQ(whiting.m_formula, "[MW=100.0892] CaO");
    EXPECT_NEAR(whiting.m_loi, loi, 1e-6);
    EXPECT_NEAR(whiting.m_loi, 0.4397, 1e-4);
    // And back: the forced oxygen returns as an oxide of its own.
    whiting.ConvertFormula(kConvertRemoveForcedValue, 0, -1, 0, 8);
    EXPECT_EQ(whiting.m_formula, "CaO  1.3754 O2");

    // The percent route: weight %, broken apart, volatiles as LOI.
    CMaterial percent = Parsed("CaCO3");
    percent.ConvertFormula(kConvertToWeightPercent, 0, -1, 0, 8);
    EXPECT_EQ(percent.m_formula, "% 100 CaCO3");
    percent.ConvertFormula(kConvertBreakApart, 0, -1, 0, 8);
    EXPECT_EQ(percent.m_formula, "% 56.0294 CaO  43.9706 CO2");
    percent.ConvertFormula(kConvertVolatilesToLoi, 0, -1, 0, 8);
    EXPECT_EQ(percent.m_formula, "% 56.0294 CaO  43.9706 LOI");
    EXPECT_NEAR(percent.m_loi, loi, 1e-5);
    percent.ConvertFormula(kConvertOxidizeAndForce, 0, -1, 0, 8);
    EXPECT_EQ(percent.m_formula, "%[Sum=100] 56.0294 CaO");
    percent.ConvertFormula(kConvertRemoveForcedValue, 0, -1, 0, 8);
    EXPECT_EQ(percent.m_formula, "% 56.0294 CaO  43.9706 O2");

    EXPECT_EQ(Converted("% 90 SiO2  5 CO2  5 LOI", kConvertVolatilesToLoi), "% 90 SiO2  10 LOI");
    EXPECT_EQ(Converted("% 90 SiO2  10 C", kConvertVolatilesToLoi), "% 90 SiO2  10 LOI");
    EXPECT_EQ(Converted("CaCO3", kConvertBreakApart), "CaO  CO2");
    EXPECT_EQ(Converted("FeS2", kConvertBreakApart), "Fe  2 S");
    EXPECT_EQ(Converted("%m 50 CaCO3  50 SiO2", kConvertBreakApart), "%m 33.3333 CaO  33.3333 SiO2  33.3333 CO2");
}

TEST_F(FormulaConversionTest, ForcedValues)
{
    // The oxygen share of a forced weight is kept as a forced sum.
    CMaterial forced = Parsed("[MW=200] SiO2");
    forced.ConvertFormula(kConvertToWeightPercent, 0, -1, 0, 8);
    EXPECT_EQ(forced.m_formula, "%[Sum=100.0] 30.0422 SiO2");
    // Two elements in a whole ratio become one compound, the volatile one second.
    EXPECT_EQ(Converted("[MW=60.0843] Si", kConvertRemoveForcedValue), "SiO2");
    EXPECT_EQ(Converted("[MW=71.8464] Fe", kConvertRemoveForcedValue), "FeO");
    // A forced sum becomes a forced weight in proportion.
    EXPECT_EQ(Converted("%[Sum=100] 50 SiO2", kConvertToMolecular), "[MW=120.1686] SiO2");
    // Nothing to do.
    EXPECT_EQ(Converted("%m 50 SiO2  50 Al2O3", kConvertOxidizeAndForce), "%m 50 SiO2  50 Al2O3");
    EXPECT_EQ(Converted("SiO2", kConvertRemoveForcedValue), "SiO2");
    EXPECT_EQ(Converted("[MW=80] SiO2", kConvertToUnity, 14), "[MW=80] SiO2");
    EXPECT_EQ(Converted("SiO2", 9), "SiO2");
}

TEST_F(FormulaConversionTest, MolecularForms)
{
    // Not a whole ratio within 1..10: divided by the smallest, which is written without a number.
    EXPECT_EQ(Converted("% 10 CaO  90 SiO2", kConvertToMolecular), "CaO  8.4001 SiO2");
    EXPECT_EQ(Converted("2CaO 2SiO2", kConvertToMolecular), "CaO  SiO2");
    EXPECT_EQ(Converted("CaO SiO2", kConvertToMolecularPercent), "%m 50 CaO  50 SiO2");
    EXPECT_EQ(Converted("%m 50 CaO  50 SiO2", kConvertToWeightPercent), "% 48.2762 CaO  51.7238 SiO2");
    EXPECT_EQ(Converted("% 56.0794 CaO  44.0098 LOI", kConvertToMolecularPercent, 0, 6), "%m 50 CaO  50 CO2");
    // Reformat only.
    CMaterial reformat = Parsed("0.33333 CaO  SiO2");
    reformat.ConvertFormula(kConvertReformatNumbers, 0, 2, 2, 8);
    EXPECT_EQ(reformat.m_formula, "0.33 CaO  1.00 SiO2");
}

TEST_F(FormulaConversionTest, OxygenAllocation)
{
    // Main roles first: silicon takes its oxygen before hydrogen, which is left bare.
    double atoms[kElementCount] = {};
    double oxides[kElementCount] = {};
    atoms[1] = 2.0;  // H
    atoms[8] = 2.0;  // O
    atoms[14] = 1.0; // Si
    AllocateOxygenToOxides(atoms, oxides);
    EXPECT_DOUBLE_EQ(oxides[14], 1.0);
    EXPECT_DOUBLE_EQ(atoms[14], 0.0);
    EXPECT_DOUBLE_EQ(oxides[1], 0.0);
    EXPECT_DOUBLE_EQ(atoms[1], 2.0);
    EXPECT_DOUBLE_EQ(atoms[8], 0.0);

    // Not enough oxygen: part of the element is oxidised; oxygen left over is an oxide of its own.
    double partial[kElementCount] = {};
    partial[8] = 1.0;
    partial[14] = 1.0;
    AllocateOxygenToOxides(partial, oxides);
    EXPECT_DOUBLE_EQ(oxides[14], 0.5);
    EXPECT_DOUBLE_EQ(partial[14], 0.5);
    double surplus[kElementCount] = {};
    surplus[8] = 3.0;
    surplus[14] = 1.0;
    AllocateOxygenToOxides(surplus, oxides);
    EXPECT_DOUBLE_EQ(oxides[8], 0.5);
    EXPECT_DOUBLE_EQ(surplus[8], 0.0);
}

TEST_F(FormulaConversionTest, FailuresKeepTheFormula)
{
    CFakeMessageService messages;
    // A component index outside the list: the internal error, and nothing changes.
    EXPECT_EQ(Converted("CaO SiO2", kConvertToUnity, kUnityOnComponentBase + 2), "CaO SiO2");
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.At(0).text, "Internal error (ConvertFormulaToUnityOnComponent)");
    EXPECT_EQ(messages.At(0).Icon(), static_cast<unsigned>(MsgIconError));
    EXPECT_EQ(messages.At(0).helpId, kFormulaConversionErrorHelpId);

    // Oxidising silicon with no decimals forces 28, below the weight of its oxide's silicon: that
    // text does not parse, and the formula is kept instead of being lost.
    g_prefs.decformulas = 0;
    EXPECT_EQ(Converted("Si", kConvertOxidizeAndForce), "Si");
    g_prefs.decformulas = 2;
    // An LOI oxide outside the table counts as oxygen rather than leaving "LOI" in moles.
    EXPECT_EQ(Converted("% 60 SiO2  40 LOI", kConvertToUnity, 14, 0), "SiO2  1.25 O2");
    // Huge amounts: the result is a number text or the formula stays as it was.
    const std::string huge = "1" + std::string(300, '0') + " SiO2  CaO";
    for (int mode = 0; mode <= 8; ++mode) {
        CMaterial material = Parsed(huge);
        material.ConvertFormula(mode, kUnityOnAlkalis, -1, 0, 8);
        EXPECT_EQ(material.m_formula.find("nan"), std::string::npos) << mode;
        EXPECT_EQ(material.m_formula.find("inf"), std::string::npos) << mode;
        EXPECT_FALSE(material.m_formula.empty()) << mode;
    }
    EXPECT_TRUE(messages.boxes.size() == 1u);
}

TEST_F(FormulaConversionTest, BulkCommandsOfTheMaterialsList)
{
    CMaterialsDoc document;
    CMaterial whiting = Parsed("CaCO3");
    whiting.m_name = "Whiting";
    CMaterial mapped = Parsed("CaCO3");
    mapped.m_name = "Chalk";
    mapped.m_mapTo = "Whiting";
    CMaterial percent = Parsed("% 100 SiO2");
    percent.m_name = "Flint";
    document.InsertMaterial(0, whiting);
    document.InsertMaterial(1, mapped);
    document.InsertMaterial(2, percent);
    document.SetModifiedFlag(false);

    auto toPercent = [](CMaterial& m) { m.ConvertFormula(kConvertToWeightPercent, 0, -1, 0, 8); };
    const int mappedOnly[] = {1};
    EXPECT_EQ(ConvertSelectedFormulas(document, mappedOnly, toPercent), 0);
    EXPECT_FALSE(document.IsModified());

    EXPECT_EQ(document.Materials().FindMaterial(std::string_view("CaCO3")), document.Materials().GetAt(0));
    const int rows[] = {0, 1, 2, 7};
    EXPECT_EQ(ConvertSelectedFormulas(document, rows, toPercent), 1);
    EXPECT_TRUE(document.IsModified());
    ASSERT_GE(document.Materials().GetCount(), 2);
    EXPECT_EQ(RecordAt(document.Materials(), 0).m_formula, "% 100 CaCO3");
    // The mapped material follows its target.
    EXPECT_EQ(RecordAt(document.Materials(), 1).m_formula, "% 100 CaCO3");
    // The formula is a look-up key: the old one no longer finds a material.
    EXPECT_EQ(document.Materials().FindMaterial(std::string_view("CaCO3")), nullptr);
    EXPECT_EQ(ConvertSelectedFormulas(document, rows, [](CMaterial& m) { m.NormalizePercentages(0); }), 0);

    // One row: the mapped material follows, and its notice reaches a form on it (regression: the
    // form kept showing the old formula); then the notice of the row.
    CRecordingFrame frame(document, "list");
    const int first[] = {0};
    EXPECT_EQ(ConvertSelectedFormulas(document, first, [](CMaterial& m) { m.ConvertFormula(kConvertToMolecular, 0, -1, 0, 8); }), 1);
    EXPECT_EQ(RecordAt(document.Materials(), 1).m_formula, "CaCO3");
    ASSERT_EQ(frame.view->received.size(), 2u);
    EXPECT_EQ(frame.view->received[0].code, HintMaterialChanged);
    EXPECT_EQ(frame.view->received[0].index, 1);
    EXPECT_EQ(frame.view->received[1].code, HintMaterialChanged);
    EXPECT_EQ(frame.view->received[1].index, 0);
}

} // namespace
