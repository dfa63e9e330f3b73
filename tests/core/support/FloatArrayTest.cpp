#include "support/FloatArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

CFloatArray ArrayOf(const std::vector<float>& values)
{
    CFloatArray array;
    for (const float v : values)
        EXPECT_EQ(array.Add(v), 0);
    return array;
}

} // namespace

TEST(FloatArrayTest, StartsWithTheCreatorsSizeAndStep)
{
    CFloatArray array;
    EXPECT_EQ(array.GetCapacity(), 512);
    EXPECT_EQ(array.GetGrowStep(), 512);
    EXPECT_EQ(array.GetCount(), 0);

    CFloatArray small(2, 3);
    EXPECT_EQ(small.Add(1.5f), 0);
    EXPECT_EQ(small.Add(2.5f), 0);
    EXPECT_EQ(small.GetCapacity(), 2);
    EXPECT_EQ(small.Add(3.5f), 0); // grows by one step
    ASSERT_EQ(small.GetCapacity(), 5);
    ASSERT_EQ(small.GetCount(), 3);
    EXPECT_EQ(small[0], 1.5f);
    EXPECT_EQ(small[2], 3.5f);
    EXPECT_EQ(small[3], 0.0f); // new slots are 0
}

TEST(FloatArrayTest, SetSizeDropsTheValues)
{
    CFloatArray array(4, 4);
    array.Add(1.0f);
    array.SetSize(10);
    EXPECT_EQ(array.GetCount(), 0);
    ASSERT_EQ(array.GetCapacity(), 10);
    EXPECT_EQ(array[0], 0.0f);
    array.SetSize(100000);
    EXPECT_EQ(array.GetCapacity(), 100000);
    array.SetSize(-5);
    EXPECT_EQ(array.GetCapacity(), 0);
}

TEST(FloatArrayTest, GrowTakesWholeSteps)
{
    CFloatArray array(10, 4);
    EXPECT_EQ(array.Grow(5), 0);
    EXPECT_EQ(array.GetCapacity(), 10); // already room
    EXPECT_EQ(array.Grow(11), 0);
    EXPECT_EQ(array.GetCapacity(), 14);
    EXPECT_EQ(array.Grow(23), 0);
    EXPECT_EQ(array.GetCapacity(), 26); // 14 + 3 steps
    EXPECT_EQ(array.Grow(0), 1);
    EXPECT_EQ(array.Grow(-1), 1);
    EXPECT_EQ(array.GetCapacity(), 26);

    CFloatArray big(512, 512);
    EXPECT_EQ(big.Grow(16383), 0);
    EXPECT_EQ(big.GetCapacity(), 16384);
}

// Regression: the array stopped at 16,382 values and dropped the rest; values were single
// precision, so a range made from them could miss the very value it came from.
TEST(FloatArrayTest, AddKeepsEveryValueAsGiven)
{
    CFloatArray array(16380, 512);
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(array.Add(1.0), 0) << i;
    EXPECT_EQ(array.Add(0.1 + 0.2), 0);
    ASSERT_EQ(array.GetCount(), 20001);
    EXPECT_EQ(array[20000], 0.1 + 0.2);
}

TEST(FloatArrayTest, StatisticsOfOneValue)
{
    const CFloatArray array = ArrayOf({2.5f});
    CFloatStatistics s;
    ASSERT_EQ(array.ComputeStatistics(s, 0, 10, 20), 0);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(s.mean, 2.5);
    EXPECT_EQ(s.meanAbsDeviation, 0.0);
    EXPECT_EQ(s.standardDeviation, 0.0);
    EXPECT_EQ(s.skewness, 0.0);
    EXPECT_EQ(s.kurtosis, 0.0);
    EXPECT_EQ(s.median, 2.5);
    EXPECT_EQ(s.minimum, 2.5);
    EXPECT_EQ(s.maximum, 2.5);
    ASSERT_EQ(s.histogram.size(), 20u);
    EXPECT_EQ(s.histogram[5], 1);
}

TEST(FloatArrayTest, StatisticsOfSeveralValues)
{
    const CFloatArray array = ArrayOf({8, 2, 6, 4});
    CFloatStatistics s;
    ASSERT_EQ(array.ComputeStatistics(s, 0, 10, 5), 0);
    EXPECT_EQ(s.median, 5.0);
    EXPECT_EQ(s.minimum, 2.0);
    EXPECT_EQ(s.maximum, 8.0);
    EXPECT_EQ(s.mean, 5.0);
    EXPECT_EQ(s.meanAbsDeviation, 2.0);
    EXPECT_DOUBLE_EQ(s.standardDeviation, std::sqrt(20.0 / 3));
    EXPECT_NEAR(s.skewness, 0.0, 1e-12);
    // sum(d^4) = 2 * (81 + 1) = 164; 164 / (4 * (20/3)^2) - 3
    EXPECT_DOUBLE_EQ(s.kurtosis, 164.0 / (4 * (20.0 / 3) * (20.0 / 3)) - 3);
    EXPECT_EQ(s.histogram, (std::vector<int>{0, 1, 1, 1, 1}));

    CFloatStatistics odd;
    ASSERT_EQ(array.ComputeStatistics(odd, 0, 10, 5, 3), 0); // the first three: 8, 2, 6
    EXPECT_EQ(odd.count, 3);
    EXPECT_EQ(odd.median, 6.0);

    const CFloatArray skewed = ArrayOf({0, 0, 0, 4});
    ASSERT_EQ(skewed.ComputeStatistics(s, 0, 10, 5), 0);
    EXPECT_GT(s.skewness, 0.0);
}

TEST(FloatArrayTest, HistogramBoundsAndOutsideCounts)
{
    const CFloatArray array = ArrayOf({10.0f, 10.5f, -1.0f, 0.0f, 9.99f});
    CFloatStatistics s;
    ASSERT_EQ(array.ComputeStatistics(s, 0, 10, 20), 0);
    ASSERT_EQ(s.histogram.size(), 20u);
    EXPECT_EQ(s.histogram[19], 2); // 10 (the upper end) and 9.99
    EXPECT_EQ(s.histogram[0], 1);
    EXPECT_EQ(s.above, 1);
    EXPECT_EQ(s.below, 1);
}

// Regression: (v - low) * bins / (high - low) can round up to `bins` just below high; the index
// is clamped to the last bin instead of writing past the histogram.
TEST(FloatArrayTest, RoundingNeverIndexesPastTheLastBin)
{
    const float v = 13.9679041f;
    const double low = 540 / 1000.0 - 0.5;
    const double high = std::nextafter(static_cast<double>(v), 1e9); // v lies just inside
    const int bins = 27;
    // The unclamped formula really does give the index one past the end here.
    ASSERT_EQ(std::floor((v - low) * bins / (high - low)), bins);

    const CFloatArray array = ArrayOf({v});
    CFloatStatistics s;
    ASSERT_EQ(array.ComputeStatistics(s, low, high, bins), 0);
    ASSERT_EQ(s.histogram.size(), static_cast<std::size_t>(bins));
    EXPECT_EQ(s.histogram[bins - 1], 1);
    EXPECT_EQ(s.below + s.above, 0);
}

TEST(FloatArrayTest, RefusedInputsLeaveTheResultAlone)
{
    CFloatStatistics s;
    s.mean = 42;
    const CFloatArray empty;
    EXPECT_EQ(empty.ComputeStatistics(s, 0, 10, 20), 1);
    const CFloatArray array = ArrayOf({1, 2, 3});
    EXPECT_EQ(array.ComputeStatistics(s, 0, 10, 20, 0), 1);
    EXPECT_EQ(array.ComputeStatistics(s, 0, 10, 20, 4), 1);
    EXPECT_EQ(array.ComputeStatistics(s, 0, 10, 0), 1); // no bins
    EXPECT_EQ(array.ComputeStatistics(s, 0, 10, -3), 1);
    const CFloatArray withNan = ArrayOf({1, std::numeric_limits<float>::quiet_NaN()});
    EXPECT_EQ(withNan.ComputeStatistics(s, 0, 10, 20), 1);
    EXPECT_EQ(withNan.ComputeStatistics(s, 0, 10, 20, 1), 0); // the NaN is not among the first
    s.mean = 42;
    const CFloatArray withInf = ArrayOf({1, std::numeric_limits<float>::infinity()});
    EXPECT_EQ(withInf.ComputeStatistics(s, 0, 10, 20), 1);
    EXPECT_EQ(s.mean, 42.0);
}

// Decision: an empty range (high <= low) does not divide by zero and is not refused: the other
// statistics are computed and every value counts outside the histogram.
TEST(FloatArrayTest, EmptyRangeCountsEveryValueOutside)
{
    const CFloatArray array = ArrayOf({1, 5, 9});
    CFloatStatistics s;
    ASSERT_EQ(array.ComputeStatistics(s, 5, 5, 20), 0);
    EXPECT_EQ(s.histogram, std::vector<int>(20, 0));
    EXPECT_EQ(s.below, 1);
    EXPECT_EQ(s.above, 2);
    EXPECT_EQ(s.mean, 5.0);
    ASSERT_EQ(array.ComputeStatistics(s, 10, 0, 20), 0);
    EXPECT_EQ(s.below, 3);
    EXPECT_EQ(s.above, 0);
    ASSERT_EQ(array.ComputeStatistics(s, std::nan(""), 10, 20), 0);
    EXPECT_EQ(s.above, 3);
}
