#pragma once

// A growable array of values with descriptive statistics. The limit-formula compiler gathers
// one oxide combination's values over many glazes in one array (made with room for 512 values,
// growing by 512) and then asks for the statistics with a 20-bin histogram.
//
// Values are kept as the doubles they were computed as, so that a range made from them holds
// every glaze they came from, and there is no limit to their number but memory: an array that
// stopped at 16382 values dropped the later glazes while they were still counted.

#include <vector>

// The results of CFloatArray::ComputeStatistics.
struct CFloatStatistics {
    int count = 0;               // the number of values used
    double mean = 0;
    double meanAbsDeviation = 0; // sum(|v - mean|) / n
    double standardDeviation = 0; // with n - 1; 0 for a single value
    double skewness = 0;         // 0 when the standard deviation is 0
    double kurtosis = 0;         // excess kurtosis (- 3); 0 when the standard deviation is 0
    double minimum = 0;
    double maximum = 0;
    double median = 0;           // the mean of the two middle values for an even count
    std::vector<int> histogram;  // one count per bin
    int below = 0;               // values below the histogram's low bound
    int above = 0;               // values above its high bound
};

class CFloatArray {
public:
    // Room for initialSize values (below 0 counts as 0); growStep < 1 counts as 1.
    explicit CFloatArray(int initialSize = 512, int growStep = 512);

    // Drops every value and makes room for n values set to 0 (below 0 counts as 0).
    void SetSize(int n);
    // Appends a value: 0, or 1 (storing nothing) when the array cannot grow.
    int Add(double value);
    // Makes room for n values in whole grow steps: 0, or 1 when n < 1 or the array cannot grow.
    int Grow(int n);

    int GetCount() const { return m_count; }
    int GetCapacity() const { return static_cast<int>(m_data.size()); }
    int GetGrowStep() const { return m_growStep; }
    double operator[](int i) const { return m_data[static_cast<std::size_t>(i)]; }

    // Statistics of the first n values (n < 0: all of them) and a histogram of `bins` bins over
    // [low, high): a value equal to high counts in the last bin, values outside count as below or
    // above. Returns 0, or 1 with `out` untouched when refused: no values, n = 0 or above the
    // count, bins < 1, or a NaN or infinite value among the n.
    // When high <= low (or a bound is NaN) the histogram has no room: every value counts outside,
    // below when it is below low and above otherwise; the other statistics are still computed.
    int ComputeStatistics(CFloatStatistics& out, double low, double high, int bins,
                          int n = -1) const;

private:
    std::vector<double> m_data; // size() is the capacity
    int m_growStep;
    int m_count = 0;
};
