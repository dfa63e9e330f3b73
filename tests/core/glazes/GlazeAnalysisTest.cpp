#include "glazes/GlazeAnalysis.h"

#include "core/support/CheckedItems.h"
#include "GlazeAnalysisTestSupport.h"
#include "elements/ElementTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kH = 1, kC = 6, kNa = 11, kAl = 13, kSi = 14, kK = 19, kCa = 20, kNe = 10;

class GlazeAnalysisTest : public GlazeChemistryTestBase {
protected:
    void AddWhitingAndSilica()
    {
        AddMaterial("CaCO3", "CaCO3", 0.50);
        AddMaterial("SiO2", "SiO2", 0.30);
    }

    void AddLeachMaterials()
    {
        AddMaterial("Potash Feldspar", "K2O Al2O3 6SiO2");
        AddMaterial("Silica", "SiO2");
        AddMaterial("Whiting", "CaCO3");
        AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O");
    }

    // Every slot and scalar of the chemistry is 0 and every oxide list is empty.
    static void ExpectNoChemistry(const CGlazeAnalysis& a)
    {
        for (int i = 0; i < CGlazeAnalysis::kSlots; ++i) {
            EXPECT_EQ(a.elementMoles[i], 0.0) << i;
            EXPECT_EQ(a.unity[i], 0.0) << i;
            EXPECT_EQ(a.weightFraction[i], 0.0) << i;
            EXPECT_EQ(a.moleFraction[i], 0.0) << i;
        }
        EXPECT_EQ(a.rawWeight, 0.0);
        EXPECT_EQ(a.firedWeight, 0.0);
        EXPECT_EQ(a.expansion, 0.0);
        EXPECT_EQ(a.viscosity[0], 0.0);
        EXPECT_EQ(a.surfaceTension[0], 0.0);
        EXPECT_TRUE(a.alkaliOxides.empty() && a.neutralOxides.empty() && a.acidOxides.empty() &&
                    a.volatileOxides.empty() && a.otherOxides.empty());
    }

    // No slot of the analysis is NaN or infinite.
    static void ExpectFinite(const CGlazeAnalysis& a)
    {
        for (int i = 0; i < CGlazeAnalysis::kSlots; ++i) {
            EXPECT_TRUE(std::isfinite(a.unity[i]) && std::isfinite(a.weightFraction[i]) &&
                        std::isfinite(a.moleFraction[i]) && std::isfinite(a.elementMoles[i]))
                << i;
        }
        EXPECT_TRUE(std::isfinite(a.otherVolatiles) && std::isfinite(a.loiFraction) && std::isfinite(a.expansion));
    }
};

TEST_F(GlazeAnalysisTest, WhitingAndSilicaWorkedExample)
{
    AddWhitingAndSilica();
    CGlaze glaze = MakeGlaze({{"CaCO3", 100.0892}, {"SiO2", 60.0843}}, {}, "6");
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    ASSERT_TRUE(a.IsValid());

    EXPECT_NEAR(a.rawWeight, 1.0, 1e-9);
    EXPECT_NEAR(a.loiFraction, 0.274763, 5e-7);
    EXPECT_NEAR(a.unity[CGlazeAnalysis::kSlotLoi], 0.274763, 5e-7);
    EXPECT_NEAR(a.weightFraction[kCa] * 100, 48.28, 0.005);
    EXPECT_NEAR(a.weightFraction[kSi] * 100, 51.72, 0.005);
    EXPECT_NEAR(a.weightFraction[kC] * 100, 37.89, 0.005);
    EXPECT_NEAR(a.unity[kC], 1.0, 1e-9);
    EXPECT_NEAR(a.moleFraction[kC], 0.5, 1e-9);
    EXPECT_NEAR(a.unity[kCa], 1.0, 1e-9);
    EXPECT_NEAR(a.unity[kSi], 1.0, 1e-9);
    EXPECT_EQ(a.siAlRatio, 0.0); // no alumina

    // Groups: calcium is the alkali, silica the acid, carbon dioxide the volatile; no residue.
    ASSERT_EQ(a.alkaliOxides.size(), 1u);
    EXPECT_EQ(ItemAt(a.alkaliOxides, 0).element, kCa);
    ASSERT_EQ(a.acidOxides.size(), 1u);
    ASSERT_EQ(a.volatileOxides.size(), 1u);
    EXPECT_EQ(ItemAt(a.volatileOxides, 0).element, kC);
    EXPECT_EQ(a.otherVolatiles, 0.0);
    EXPECT_NEAR(a.groupUnity[kOxideGroupAlkali], 1.0, 1e-12);
    EXPECT_NEAR(a.unity[CGlazeAnalysis::kSlotAcid], 1.0, 1e-9);
    EXPECT_NEAR(a.weightFraction[CGlazeAnalysis::kSlotAlkali] * 100, 48.28, 0.005);

    EXPECT_NEAR(a.expansion, 89.55, 0.005);
    EXPECT_NEAR(a.expansionShare, 1.0, 1e-12);
    EXPECT_NEAR(a.viscosity[0], 48.28, 0.005);
    EXPECT_NEAR(a.viscosity[1], 48.28, 0.005);
    EXPECT_NEAR(a.surfaceTension[0], 395.55, 0.005);
    EXPECT_NEAR(a.surfaceTension[1], 395.55, 0.005);

    EXPECT_NEAR(a.costPerKg, 0.424976, 5e-7);
    EXPECT_NEAR(ItemAt(a.componentItems, 0).cost + ItemAt(a.componentItems, 1).cost, a.costPerKg, 1e-15);
    EXPECT_NEAR(a.batchSize, 160.1735, 1e-9);
    EXPECT_NEAR(ItemAt(a.componentItems, 0).amount, 100.0892, 1e-9);

    m_doc.Materials().m_costUnit = CMaterialArray::kCostPerPound;
    glaze.InvalidateAnalysis();
    EXPECT_NEAR(glaze.GetAnalysis().costPerKg, 0.936902, 5e-7);
}

TEST_F(GlazeAnalysisTest, LeachFourThreeTwoOneFromTheoreticalMaterials)
{
    AddLeachMaterials();
    CGlaze glaze = MakeGlaze({{"Potash Feldspar", 40}, {"Silica", 30}, {"Whiting", 20}, {"Kaolin", 10}}, {}, "10");
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    ASSERT_TRUE(a.IsValid());
    EXPECT_NEAR(a.unity[kK], 0.2645, 0.0005);
    EXPECT_NEAR(a.unity[kCa], 0.7355, 0.0005);
    EXPECT_NEAR(a.unity[kAl], 0.4071, 0.0005);
    EXPECT_NEAR(a.unity[kSi], 3.7099, 0.0005);
    EXPECT_NEAR(a.unity[0], a.unity[kK], 1e-15); // KNaO without sodium
    EXPECT_NEAR(a.siAlRatio, 9.11, 0.005);
    EXPECT_NEAR(a.expansion, 74.9, 0.1);
    EXPECT_NEAR(a.neutralAlkaliRatio, a.unity[kAl], 1e-12);
    EXPECT_NEAR(a.acidNeutralRatio, a.siAlRatio, 1e-12);
    // Hydrogen leaves as water and is listed with the carbon dioxide, both on the fired weight.
    ASSERT_EQ(a.volatileOxides.size(), 2u);
    EXPECT_EQ(ItemAt(a.volatileOxides, 0).element, kH);
    EXPECT_EQ(ItemAt(a.volatileOxides, 1).element, kC);
}

TEST_F(GlazeAnalysisTest, UnityDivisorFallsBackThroughTheGroups)
{
    AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O");
    AddMaterial("Silica", "SiO2");
    AddMaterial("Neon", "Ne");

    // No alkali: the neutral total is 1.
    CGlaze clay = MakeGlaze({{"Kaolin", 100}});
    const CGlazeAnalysis& a = clay.GetAnalysis();
    EXPECT_EQ(a.groupUnity[kOxideGroupAlkali], 0.0);
    EXPECT_DOUBLE_EQ(a.groupUnity[kOxideGroupNeutral], 1.0);
    EXPECT_DOUBLE_EQ(a.unity[kAl], 1.0);
    EXPECT_DOUBLE_EQ(a.unity[kSi], 2.0);
    EXPECT_DOUBLE_EQ(a.siAlRatio, 2.0);
    EXPECT_EQ(a.neutralAlkaliRatio, 0.0);
    // A trace of silica still gives its small ratio.
    AddMaterial("Silica-poor clay", "Al2O3 0.05SiO2");
    EXPECT_NEAR(MakeGlaze({{"Silica-poor clay", 100}}).GetAnalysis().siAlRatio, 0.05, 1e-12);

    // Only acid: the acid total is 1.
    CGlaze silica = MakeGlaze({{"Silica", 100}});
    EXPECT_DOUBLE_EQ(silica.GetAnalysis().groupUnity[kOxideGroupAcid], 1.0);
    EXPECT_EQ(silica.GetAnalysis().siAlRatio, 0.0);

    // None of the three groups: the amounts stay in moles per unit weight.
    CGlaze neon = MakeGlaze({{"Neon", 100}});
    const CGlazeAnalysis& n = neon.GetAnalysis();
    ASSERT_TRUE(n.IsValid());
    EXPECT_NEAR(n.unity[kNe], 1.0 / 20.179, 1e-12);
    EXPECT_NEAR(n.groupUnity[kOxideGroupUnexpected], 1.0 / 20.179, 1e-12);
    ASSERT_EQ(n.otherOxides.size(), 1u);
    EXPECT_EQ(n.otherOxides[0].element, kNe);
}

TEST_F(GlazeAnalysisTest, UnknownMaterialKeepsItemsAndCostButNoChemistry)
{
    AddWhitingAndSilica();
    ASSERT_EQ(m_doc.Materials().GetCount(), 2);
    CMaterial& silica = *m_doc.Materials().GetAt(1);
    silica.m_available = 0;
    silica.m_hazNotes.push_back("dust");
    silica.m_anNotes.push_back("note");

    CGlaze glaze = MakeGlaze({{"CaCO3", 60}, {"Unobtainium", 20}, {"sio2", 20}}, {{"Nothing", 5}});
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    EXPECT_EQ(a.materialsFound, 0);
    EXPECT_EQ(a.amountsValid, 1);
    EXPECT_FALSE(a.IsValid());
    ExpectNoChemistry(a);

    ASSERT_EQ(a.componentItems.size(), 3u);
    ASSERT_EQ(a.additionItems.size(), 1u);
    EXPECT_EQ(ItemAt(a.componentItems, 0).flags, 0);
    EXPECT_EQ(ItemAt(a.componentItems, 1).flags, kItemNotInDatabase);
    EXPECT_EQ(ItemAt(a.componentItems, 1).material, nullptr);
    EXPECT_EQ(ItemAt(a.componentItems, 2).flags, kItemNotAvailable | kItemHasHazards);
    EXPECT_EQ(ItemAt(a.componentItems, 2).material, &silica);
    EXPECT_EQ(ItemAt(a.additionItems, 0).flags, kItemNotInDatabase);
    EXPECT_EQ(a.hasHazards, 1);
    EXPECT_EQ(a.hasMaterialAnnotations, 1);
    EXPECT_DOUBLE_EQ(ItemAt(a.additionItems, 0).fraction, 0.05); // against the component total
    EXPECT_NEAR(a.costPerKg, 0.5 * 0.6 + 0.3 * 0.2, 1e-12);

    std::vector<const CIngredient*> missing;
    EXPECT_EQ(glaze.GetMissingMaterials(missing), 1);
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing[0]->m_name, "Unobtainium");
    EXPECT_EQ(missing[1]->m_name, "Nothing");
    std::vector<const CMaterial*> unavailable;
    EXPECT_EQ(glaze.GetUnavailableMaterials(unavailable), 1);
    EXPECT_EQ(unavailable, std::vector<const CMaterial*>{&silica});

    CGlaze known = MakeGlaze({{"CaCO3", 60}, {"SiO2", 40}});
    missing.clear();
    unavailable.clear();
    EXPECT_EQ(known.GetMissingMaterials(missing), 0);
    EXPECT_TRUE(missing.empty());
    ASSERT_EQ(known.m_components.GetCount(), 2);
    RecordAt(known.m_components, 1).m_name = "CaCO3";
    known.InvalidateAnalysis();
    EXPECT_EQ(known.GetUnavailableMaterials(unavailable), 0);
}

TEST_F(GlazeAnalysisTest, ByVolumeRecipesNeedDensities)
{
    AddMaterial("Whiting", "CaCO3", 1.0, 2.0);
    AddMaterial("Silica", "SiO2", 1.0, 0.0);

    CGlaze glaze = MakeGlaze({{"Whiting", 10}, {"Silica", 10}});
    glaze.SetField(kGlazeFieldByVolume, "yes");
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    EXPECT_EQ(a.materialsFound, 1);
    EXPECT_EQ(a.amountsValid, 0);
    EXPECT_EQ(a.costPerKg, 0.0);
    EXPECT_EQ(ItemAt(a.componentItems, 1).amount, 0.0);
    ExpectNoChemistry(a);

    // With a density the volumes become weights: 10 x 2 of whiting to 10 x 3 of silica.
    RecordAt(m_doc.Materials(), 1).m_density = 3.0;
    glaze.InvalidateAnalysis();
    const CGlazeAnalysis& b = glaze.GetAnalysis();
    ASSERT_TRUE(b.IsValid());
    EXPECT_DOUBLE_EQ(ItemAt(b.componentItems, 0).fraction, 0.4);
    EXPECT_DOUBLE_EQ(b.batchSize, 50.0);

    // An unknown material in a by-volume recipe: neither flag holds.
    CGlaze unknown = MakeGlaze({{"Whiting", 10}, {"Nothing", 10}});
    unknown.SetField(kGlazeFieldByVolume, "y");
    EXPECT_EQ(unknown.GetAnalysis().materialsFound, 0);
    EXPECT_EQ(unknown.GetAnalysis().amountsValid, 0);
}

TEST_F(GlazeAnalysisTest, AdditionsBasisAndTheAdditionsSetting)
{
    AddWhitingAndSilica();
    // Only additions: they become the basis; the components (all 0) give no chemistry unless
    // additions take part in it.
    CGlaze glaze = MakeGlaze({{"CaCO3", 0}}, {{"SiO2", 10}});
    g_prefs.anchadd = 0;
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    ASSERT_TRUE(a.IsValid());
    EXPECT_DOUBLE_EQ(ItemAt(a.additionItems, 0).fraction, 1.0);
    EXPECT_NEAR(a.costPerKg, 0.3, 1e-15); // additions are always priced
    EXPECT_EQ(a.rawWeight, 0.0);
    EXPECT_EQ(a.firedWeight, 0.0);
    EXPECT_TRUE(a.volatileOxides.empty());
    ExpectFinite(a);

    g_prefs.anchadd = 1;
    glaze.InvalidateAnalysis();
    EXPECT_DOUBLE_EQ(glaze.GetAnalysis().weightFraction[kSi], 1.0);

    // Nothing to weigh: both flags drop.
    CGlaze empty = MakeGlaze({{"CaCO3", 0}}, {{"SiO2", -1}});
    EXPECT_EQ(empty.GetAnalysis().materialsFound, 0);
    EXPECT_EQ(empty.GetAnalysis().amountsValid, 0);

    // A batch size scales the item amounts.
    CGlaze batch = MakeGlaze({{"CaCO3", 3}, {"SiO2", 1}}, {{"SiO2", 1}});
    batch.SetField(kGlazeFieldBatchSize, "1000");
    EXPECT_DOUBLE_EQ(ItemAt(batch.GetAnalysis().componentItems, 0).amount, 750.0);
    EXPECT_DOUBLE_EQ(ItemAt(batch.GetAnalysis().additionItems, 0).amount, 250.0);

    // A recipe written in hundredths is weighed against its own small total.
    CGlaze small = MakeGlaze({{"CaCO3", 0.03}, {"SiO2", 0.02}}, {{"SiO2", 0.01}});
    ASSERT_TRUE(small.GetAnalysis().IsValid());
    EXPECT_DOUBLE_EQ(ItemAt(small.GetAnalysis().componentItems, 0).fraction, 0.6);
    EXPECT_DOUBLE_EQ(ItemAt(small.GetAnalysis().additionItems, 0).fraction, 0.2);
}

TEST_F(GlazeAnalysisTest, VolatileOnlyRecipeHasNoFiredWeightAndNoOtherRow)
{
    AddMaterial("Carbon dioxide", "CO2");
    CGlaze glaze = MakeGlaze({{"Carbon dioxide", 10}});
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    ASSERT_TRUE(a.IsValid());
    EXPECT_NEAR(a.rawWeight, 1.0, 1e-12);
    EXPECT_EQ(a.firedWeight, 0.0);
    EXPECT_NEAR(a.loiFraction, 1.0, 1e-12);
    EXPECT_EQ(a.otherVolatiles, 0.0);
    ASSERT_EQ(a.volatileOxides.size(), 1u); // the oxide itself, without fractions
    EXPECT_EQ(ItemAt(a.volatileOxides, 0).element, kC);
    EXPECT_EQ(ItemAt(a.volatileOxides, 0).weightFraction, 0.0);
    ExpectFinite(a);
}

TEST_F(GlazeAnalysisTest, LossOnIgnitionShowsAsOtherVolatiles)
{
    AddMaterial("Clay", "% 50 SiO2  40 Al2O3  10 LOI");
    AddMaterial("Trace", "% 99.99 SiO2  0.01 LOI");
    CGlaze glaze = MakeGlaze({{"Clay", 100}});
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    EXPECT_NEAR(a.loiFraction, 0.10, 1e-9);
    EXPECT_NEAR(a.otherVolatiles, 0.111, 1e-12); // 10 / 90 at three decimals (one of a percent)
    ASSERT_EQ(a.volatileOxides.size(), 1u);
    EXPECT_EQ(ItemAt(a.volatileOxides, 0).element, CGlazeAnalysis::kOtherVolatilesElement);
    EXPECT_EQ(ItemAt(a.volatileOxides, 0).unity, 0.0);

    // A residue below the shown decimals gives no row.
    CGlaze trace = MakeGlaze({{"Trace", 100}});
    EXPECT_EQ(trace.GetAnalysis().otherVolatiles, 0.0);
    EXPECT_TRUE(trace.GetAnalysis().volatileOxides.empty());
    EXPECT_NEAR(trace.GetAnalysis().loiFraction, 0.0001, 1e-9);
}

TEST_F(GlazeAnalysisTest, EstimatesFollowTheConesAndKnownFactors)
{
    AddMaterial("Mix", "CaO BeO SiO2 B2O3 Li2O");
    CGlaze glaze = MakeGlaze({{"Mix", 1}});
    glaze.m_lowCone = 0;
    glaze.m_highCone = 6;
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    ASSERT_TRUE(a.IsValid());
    // No low cone: neither estimate is made.
    EXPECT_EQ(a.viscosity[0], 0.0);
    EXPECT_EQ(a.viscosity[1], 0.0);
    EXPECT_EQ(a.surfaceTension[1], 0.0);
    // Beryllia has no known coefficient: it lowers the share; boron and lithium are flagged.
    EXPECT_NEAR(a.expansionShare, 1.0 - a.weightFraction[4], 1e-12);
    EXPECT_EQ(a.hasUnusualExpansion, 1);
    EXPECT_EQ(a.unusualExpansionText, "Li2O  B2O3");
    double sum = 0.0;
    const CElementRecord* table = GetElementTable();
    for (int z : {3, 5, 14, 20})
        sum += table[z].expansion * a.weightFraction[z];
    EXPECT_NEAR(a.expansion, sum * 100 / a.expansionShare, 1e-9);

    // Low cone only: values at the low cone alone, the surface tension corrected for 1201 C.
    glaze.m_lowCone = 6;
    glaze.m_highCone = 0;
    glaze.InvalidateAnalysis();
    const CGlazeAnalysis& b = glaze.GetAnalysis();
    EXPECT_GT(b.viscosity[0], 0.0);
    EXPECT_EQ(b.viscosity[1], 0.0);
    EXPECT_EQ(b.surfaceTension[1], 0.0);
    double tension = 0.0;
    for (int z : {3, 5, 14, 20})
        tension += table[z].stension * b.weightFraction[z];
    EXPECT_NEAR(b.surfaceTension[0], tension * 100 / b.surfaceTensionShare - 301 * 0.04, 1e-9);
}

TEST_F(GlazeAnalysisTest, OxideListsFollowTheDisplayOrder)
{
    AddMaterial("Everything", "Li2O Na2O K2O MgO CaO SrO BaO ZnO B2O3 Al2O3 SiO2 TiO2 ZrO2 Fe2O3 P2O5 CoO H2O");
    // Each group list holds its oxides in display order; together they hold every oxide present.
    auto expectDisplayOrder = [](const CGlazeAnalysis& a) {
        const auto order = GetElementDisplayOrder();
        std::size_t total = 0;
        for (const auto* list : {&a.alkaliOxides, &a.neutralOxides, &a.acidOxides, &a.volatileOxides, &a.otherOxides}) {
            std::vector<int> listed;
            for (const COxideItem& item : *list)
                if (item.element != CGlazeAnalysis::kOtherVolatilesElement)
                    listed.push_back(item.element);
            std::vector<int> expected;
            for (int z : order)
                if (std::find(listed.begin(), listed.end(), z) != listed.end())
                    expected.push_back(z);
            EXPECT_EQ(listed, expected);
            total += listed.size();
        }
        std::size_t present = 0;
        for (int z = 1; z < kElementCount; ++z)
            present += a.unity[z] > 0.0 ? 1 : 0;
        EXPECT_EQ(total, present);
    };
    CGlaze glaze = MakeGlaze({{"Everything", 1}});
    expectDisplayOrder(glaze.GetAnalysis());
    EXPECT_EQ(ItemAt(glaze.GetAnalysis().alkaliOxides, 0).element, kNa);
    EXPECT_EQ(glaze.GetAnalysis().alkaliOxides.size(), 9u);

    // A table with shuffled priorities, a role-less element and a priority out of range.
    CElementTable table;
    table[kK].priority = 3;
    table[26].role = 0;
    table[22].priority = 7;
    table[20].annotations.push_back("calcium note");
    CWorkingElementTableScope scope(table);
    glaze.InvalidateAnalysis();
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    expectDisplayOrder(a);
    ASSERT_EQ(a.otherOxides.size(), 1u); // iron without a role
    EXPECT_EQ(LastItem(a.acidOxides).element, 22); // titanium's priority puts it last
    EXPECT_EQ(a.hasElementAnnotations, 1);
}

TEST_F(GlazeAnalysisTest, ElementWithoutCationsIsSkipped)
{
    AddWhitingAndSilica();
    CElementTable table;
    table[kCa].ncat = 0;
    CWorkingElementTableScope scope(table);
    CGlaze glaze = MakeGlaze({{"CaCO3", 50}, {"SiO2", 50}});
    const CGlazeAnalysis& a = glaze.GetAnalysis();
    ASSERT_TRUE(a.IsValid());
    ExpectFinite(a);
    EXPECT_EQ(a.unity[kCa], 0.0);
    EXPECT_GT(a.elementMoles[kCa], 0.0);
    EXPECT_DOUBLE_EQ(a.weightFraction[kSi], 1.0);
    EXPECT_TRUE(a.alkaliOxides.empty());
}

} // namespace
