#include "support/FloatArray.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

namespace {

double Median(const std::vector<double>& sorted)
{
    const std::size_t n = sorted.size();
    if (n % 2 == 1)
        return sorted[n / 2];
    return (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

// The bin of a value in [low, high]; rounding can never take it outside 0..bins - 1.
int BinOf(double v, double low, double high, int bins)
{
    if (v == high)
        return bins - 1;
    const double bin = std::floor((v - low) * bins / (high - low));
    if (!(bin >= 0))
        return 0;
    return bin >= bins ? bins - 1 : static_cast<int>(bin);
}

void FillHistogram(const std::vector<double>& values, double low, double high, int bins,
                   CFloatStatistics& out)
{
    out.histogram.assign(static_cast<std::size_t>(bins), 0);
    out.below = 0;
    out.above = 0;
    const bool hasRoom = high > low;
    for (const double v : values) {
        if (hasRoom && v >= low && v <= high)
            ++out.histogram[static_cast<std::size_t>(BinOf(v, low, high, bins))];
        else if (v < low)
            ++out.below;
        else
            ++out.above;
    }
}

void FillMoments(const std::vector<double>& values, CFloatStatistics& out)
{
    const double n = static_cast<double>(values.size());
    double sum = 0;
    for (const double v : values)
        sum += v;
    out.mean = sum / n;

    double absSum = 0, sum2 = 0, sum3 = 0, sum4 = 0;
    for (const double v : values) {
        const double d = v - out.mean;
        absSum += std::fabs(d);
        sum2 += d * d;
        sum3 += d * d * d;
        sum4 += d * d * d * d;
    }
    out.meanAbsDeviation = absSum / n;
    out.standardDeviation = values.size() > 1 ? std::sqrt(sum2 / (n - 1)) : 0.0;
    const double s = out.standardDeviation;
    if (s <= 0) {
        out.skewness = 0;
        out.kurtosis = 0;
        return;
    }
    out.skewness = sum3 / (n * s * s * s);
    out.kurtosis = sum4 / (n * s * s * s * s) - 3;
}

} // namespace

CFloatArray::CFloatArray(int initialSize, int growStep) : m_growStep(std::max(growStep, 1))
{
    SetSize(initialSize);
}

void CFloatArray::SetSize(int n)
{
    m_data.assign(static_cast<std::size_t>(std::max(n, 0)), 0.0);
    m_count = 0;
}

int CFloatArray::Add(double value)
{
    if (m_count == INT_MAX || (m_count >= GetCapacity() && Grow(m_count + 1) != 0))
        return 1;
    m_data[static_cast<std::size_t>(m_count++)] = value;
    return 0;
}

int CFloatArray::Grow(int n)
{
    if (n < 1)
        return 1;
    const int capacity = GetCapacity();
    if (capacity >= n)
        return 0;
    const long long step = m_growStep;
    const long long steps = (n - capacity + step - 1) / step;
    const long long grown = std::min<long long>(capacity + steps * step, INT_MAX);
    try {
        m_data.resize(static_cast<std::size_t>(grown), 0.0);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    return 0;
}

int CFloatArray::ComputeStatistics(CFloatStatistics& out, double low, double high, int bins,
                                   int n) const
{
    if (n < 0)
        n = m_count;
    if (n == 0 || n > m_count || bins < 1)
        return 1;
    std::vector<double> sorted(m_data.begin(), m_data.begin() + n);
    if (!std::all_of(sorted.begin(), sorted.end(), [](double v) { return std::isfinite(v); }))
        return 1;
    std::sort(sorted.begin(), sorted.end());

    out.count = n;
    out.minimum = sorted.front();
    out.maximum = sorted.back();
    out.median = Median(sorted);
    FillHistogram(sorted, low, high, bins, out);
    FillMoments(sorted, out);
    return 0;
}
