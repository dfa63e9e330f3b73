#include "materials/MaterialSimilarity.h"

#include "core/materials/MaterialTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

class MaterialSimilarityTest : public MaterialTestBase {
protected:
    static std::array<int, kSimilarityEntries> Enabled(std::initializer_list<int> entries)
    {
        std::array<int, kSimilarityEntries> enabled{};
        for (int e : entries)
            enabled[static_cast<std::size_t>(e)] = 1;
        return enabled;
    }
    std::array<double, kSimilarityEntries> m_scores{};
};

TEST_F(MaterialSimilarityTest, ARecordAgainstItself)
{
    CMaterial m = Parsed("SiO2");
    m.m_oxides[14] = -5.0; // would spoil any arithmetic
    auto enabled = Enabled({0, 2, 5, 20});
    m_scores.fill(-1.0);
    EXPECT_EQ(ScoreAnalysisSimilarity(&m, &m, enabled.data(), m_scores.data()), 100.0);
    EXPECT_EQ(m_scores[0], 100.0);
    EXPECT_EQ(m_scores[1], 0.0);
    EXPECT_EQ(m_scores[2], 100.0);
    EXPECT_EQ(m_scores[5], 100.0);
    EXPECT_EQ(m_scores[20], 0.0); // not a category
}

TEST_F(MaterialSimilarityTest, VolatilesCountOnlyInTheAllOxideCategories)
{
    CMaterial silica = Parsed("SiO2");
    CMaterial withCarbon = Parsed("SiO2 CO2");
    auto enabled = Enabled({0, 1, 2, 3});
    double mean = ScoreAnalysisSimilarity(&silica, &withCarbon, enabled.data(), m_scores.data());
    EXPECT_DOUBLE_EQ(m_scores[0], 100.0);
    EXPECT_DOUBLE_EQ(m_scores[1], 100.0);
    // By weight: silica 1 against 60.0843 / (60.0843 + 44.0098). By moles every element counts
    // as its oxide, oxygen as O2: SiO2 is 1/2 Si, 1/2 O2; SiO2 CO2 is 1/4 Si, 1/4 C, 1/2 O2.
    EXPECT_NEAR(m_scores[2], 100.0 * 60.0843 / (60.0843 + 44.0098), 1e-9);
    EXPECT_NEAR(m_scores[3], 75.0, 1e-9);
    EXPECT_NEAR(mean, (200.0 + m_scores[2] + m_scores[3]) / 4.0, 1e-12);
    EXPECT_EQ(m_scores[4], 0.0);
}

TEST_F(MaterialSimilarityTest, AlkaliCategories)
{
    CMaterial potash = Parsed("K2O Al2O3 6SiO2");
    CMaterial soda = Parsed("Na2O Al2O3 6SiO2");
    CMaterial mixed = Parsed("0.5K2O 0.5Na2O Al2O3 6SiO2");
    auto enabled = Enabled({4, 5});
    EXPECT_DOUBLE_EQ(ScoreAnalysisSimilarity(&potash, &soda, enabled.data(), m_scores.data()), 0.0);
    // Half the alkali moles are shared; by weight, the potash share of the mixed alkali.
    const double potashShare = 0.5 * 94.196 / (0.5 * 94.196 + 0.5 * 61.979);
    EXPECT_NEAR(ScoreAnalysisSimilarity(&potash, &mixed, enabled.data(), m_scores.data()),
                (100.0 * potashShare + 50.0) / 2.0, 1e-9);
    EXPECT_NEAR(m_scores[4], 100.0 * potashShare, 1e-9);
    EXPECT_NEAR(m_scores[5], 50.0, 1e-9);

    // Without alkali in either, entries 4 and 5 score 0 and pull the mean down.
    CMaterial silica = Parsed("SiO2");
    CMaterial alumina = Parsed("Al2O3 2SiO2");
    auto all = Enabled({0, 1, 2, 3, 4, 5});
    double mean = ScoreAnalysisSimilarity(&silica, &alumina, all.data(), m_scores.data());
    EXPECT_EQ(m_scores[4], 0.0);
    EXPECT_EQ(m_scores[5], 0.0);
    EXPECT_NEAR(mean, (m_scores[0] + m_scores[1] + m_scores[2] + m_scores[3]) / 6.0, 1e-12);
}

TEST_F(MaterialSimilarityTest, EmptyFormulaAndNothingEnabled)
{
    CMaterial silica = Parsed("SiO2");
    CMaterial empty = Parsed("");
    auto all = Enabled({0, 1, 2, 3, 4, 5});
    m_scores.fill(42.0);
    EXPECT_EQ(ScoreAnalysisSimilarity(&silica, &empty, all.data(), m_scores.data()), 0.0);
    for (double score : m_scores)
        EXPECT_EQ(score, 0.0);
    EXPECT_EQ(ScoreAnalysisSimilarity(&empty, &silica, all.data(), m_scores.data()), 0.0);

    CMaterial other = Parsed("SiO2");
    auto none = Enabled({});
    EXPECT_EQ(ScoreAnalysisSimilarity(&silica, &other, none.data(), m_scores.data()), 0.0);
    auto onlyExtra = Enabled({7});
    EXPECT_EQ(ScoreAnalysisSimilarity(&silica, &other, onlyExtra.data(), m_scores.data()), 0.0);
    EXPECT_EQ(m_scores[7], 0.0);
    EXPECT_EQ(ScoreAnalysisSimilarity(&silica, &other, all.data(), m_scores.data()), 4.0 * 100.0 / 6.0);
}

TEST_F(MaterialSimilarityTest, CationCountsOfZeroContributeNothing)
{
    CElementTable table;
    table[14].ncat = 0; // silicon
    CWorkingElementTableScope scope(table);
    CMaterial silica = Parsed("SiO2");
    CMaterial wollastonite = Parsed("CaO SiO2");
    auto all = Enabled({0, 1, 2, 3, 4, 5});
    double mean = ScoreAnalysisSimilarity(&silica, &wollastonite, all.data(), m_scores.data());
    EXPECT_TRUE(std::isfinite(mean));
    // Silica counts no oxide moles at all; calcia is all of wollastonite's non-volatile moles.
    EXPECT_DOUBLE_EQ(m_scores[1], 50.0);
    for (int k = 0; k < kSimilarityCategories; ++k)
        EXPECT_TRUE(m_scores[k] >= 0.0 && m_scores[k] <= 100.0) << k;
}

} // namespace
