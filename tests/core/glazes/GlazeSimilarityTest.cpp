#include "glazes/Glaze.h"

#include "core/glazes/GlazeAnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>

namespace {

class GlazeSimilarityTest : public GlazeChemistryTestBase {
protected:
    GlazeSimilarityTest()
    {
        AddMaterial("Silica", "SiO2");
        AddMaterial("Whiting", "CaCO3");
        AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O");
        AddMaterial("Alumina", "Al2O3");
        AddMaterial("Potash Feldspar", "K2O Al2O3 6SiO2");
        AddMaterial("Soda Feldspar", "Na2O Al2O3 6SiO2");
    }

    static std::array<int, CGlaze::kSimilaritySlots> Flags(std::initializer_list<int> measures)
    {
        std::array<int, CGlaze::kSimilaritySlots> flags{};
        for (int k : measures)
            flags[static_cast<std::size_t>(k)] = 1;
        return flags;
    }

    double Score(const CGlaze& a, const CGlaze& b, std::initializer_list<int> measures)
    {
        const auto flags = Flags(measures);
        return CGlaze::ComputeSimilarity(&a, &b, flags.data(), m_scores.data());
    }

    std::array<double, CGlaze::kSimilaritySlots> m_scores{};
};

TEST_F(GlazeSimilarityTest, ItselfScoresTheMaximumAnotherGlazeLess)
{
    const CGlaze leach = MakeGlaze({{"Potash Feldspar", 40}, {"Silica", 30}, {"Whiting", 20}, {"Kaolin", 10}});
    m_scores.fill(-7.0);
    EXPECT_EQ(Score(leach, leach, {0, 3, 17, 20}), 100.0);
    EXPECT_EQ(m_scores[0], 100.0);
    EXPECT_EQ(m_scores[1], 0.0);
    EXPECT_EQ(m_scores[17], 100.0);

    // Another record with the same recipe has the same chemistry.
    const CGlaze twin(leach);
    EXPECT_DOUBLE_EQ(Score(leach, twin, {0, 1, 2, 3, 4, 5, 16, 17}), 100.0);

    const CGlaze soda = MakeGlaze({{"Soda Feldspar", 40}, {"Silica", 30}, {"Whiting", 20}, {"Kaolin", 10}});
    const double composite = Score(leach, soda, {0, 1, 2, 3, 4, 5, 16, 17});
    EXPECT_LT(composite, 100.0);
    EXPECT_GT(composite, 0.0);
    EXPECT_LT(m_scores[5], 100.0); // calcia is the only alkali both hold
    EXPECT_NEAR(m_scores[16], 3.0 / 5.0 * 100.0, 1e-9);
    EXPECT_NEAR(m_scores[17], 60.0, 1e-9);
}

TEST_F(GlazeSimilarityTest, OxideMeasuresOfDisjointAndInvalidChemistry)
{
    const CGlaze silica = MakeGlaze({{"Silica", 100}});
    const CGlaze alumina = MakeGlaze({{"Alumina", 100}});
    EXPECT_NEAR(Score(silica, alumina, {0, 1, 2, 3, 4, 5}), 0.0, 1e-12);
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(m_scores[static_cast<std::size_t>(k)], 0.0, 1e-12) << k;

    // Without alkali in either glaze, measures 4 and 5 are 0 and pull the mean down.
    const CGlaze kaolin = MakeGlaze({{"Kaolin", 100}});
    const double mean = Score(silica, kaolin, {2, 4});
    EXPECT_EQ(m_scores[4], 0.0);
    EXPECT_NEAR(mean, m_scores[2] / 2.0, 1e-12);

    // An unknown material spoils the analysis: the oxide measure counts as 0. A flagged slot
    // without a measure keeps the caller's score (held to 0..100, a NaN as 0).
    const CGlaze unknown = MakeGlaze({{"Silica", 50}, {"Stardust", 50}});
    m_scores[9] = 250.0;
    m_scores[10] = std::nan("");
    EXPECT_DOUBLE_EQ(Score(silica, unknown, {0, 9, 10}), 100.0 / 3.0);
    EXPECT_EQ(m_scores[0], 0.0);
    EXPECT_EQ(m_scores[10], 0.0);
}

TEST_F(GlazeSimilarityTest, IngredientAndNameMeasures)
{
    const CGlaze a = MakeGlaze({{"Silica", 50}, {"Whiting", 50}});
    const CGlaze b = MakeGlaze({{"Silica", 50}, {"Kaolin", 50}});
    EXPECT_NEAR(Score(a, b, {16, 17}), (100.0 / 3.0 + 50.0) / 2.0, 1e-9);
    EXPECT_NEAR(m_scores[16], 33.333333, 1e-5);
    EXPECT_NEAR(m_scores[17], 50.0, 1e-9);

    // A material that maps to another fits it; names outside the database fit by name part.
    CMaterial& flint = AddMaterial("Flint", "SiO2");
    flint.m_mapTo = "Silica";
    const CGlaze c = MakeGlaze({{"flint", 50}, {"Mystery Frit (MF1)", 50}});
    const CGlaze d = MakeGlaze({{"Silica", 30}, {"mystery frit", 70}});
    Score(c, d, {16, 17});
    EXPECT_NEAR(m_scores[16], 100.0, 1e-9);
    EXPECT_NEAR(m_scores[17], (1.0 - 0.5 * 0.4) * 100.0, 1e-9);

    // Additions take part only while the chemistry includes them.
    const CGlaze e = MakeGlaze({{"Silica", 50}}, {{"Whiting", 50}});
    g_prefs.anchadd = 0;
    Score(a, e, {16});
    EXPECT_NEAR(m_scores[16], 50.0, 1e-9);
    g_prefs.anchadd = 1;
    Score(a, e, {16});
    EXPECT_NEAR(m_scores[16], 100.0, 1e-9);
    EXPECT_EQ(Score(a, MakeGlaze({}), {16, 17}), 0.0);

    CGlaze named1("Celadon 2");
    CGlaze named2("NODALEC");
    CGlaze named3("Tenmoku");
    EXPECT_DOUBLE_EQ(Score(named1, named2, {20}), 100.0);
    Score(named1, named3, {20});
    EXPECT_NEAR(m_scores[20], 300.0 / 7.0, 1e-9); // C L A D against T M K U
    Score(CGlaze("Ash Glaze"), CGlaze("ash"), {20});
    EXPECT_NEAR(m_scores[20], 50.0, 1e-9); // a quarter A against a third, and G L Z E
    EXPECT_EQ(Score(named1, CGlaze("42"), {20}), 0.0);
}

} // namespace
