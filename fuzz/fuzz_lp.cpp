// Small linear programs from arbitrary bytes: the solver must end, never crash, give a known
// status with its text, zeros after a failure, and a solution that satisfies every accepted row
// (within the tolerance, scaled by the row's magnitude) when it reports one.
//
// Bytes: variables, rows, options (trace, iteration limit, tolerance), then per row a type byte,
// a right-hand side and the coefficients, then the costs. Values are mostly small multiples of
// 1/8; the top byte values give zeros, tiny and huge numbers and non-finite ones.

#include "tools/LpSolver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

class CByteReader {
public:
    CByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    double Value()
    {
        static const double kOddValues[] = {0.0, 1e-7, -1e-7, 1e-300, 1e6, -1e6, 1e150, -1e150, 1e300, -1e300,
                                          std::numeric_limits<double>::infinity(), std::nan(""), 0.5, 2.0, 3.0, 1.0};
        const std::uint8_t b = Byte();
        return b < 240 ? (b - 120) / 8.0 : kOddValues[b - 240];
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CByteReader in(data, size);
    const int n = 1 + in.Byte() % 6;
    const int rows = in.Byte() % 8;
    const std::uint8_t options = in.Byte();
    CLinearProgram lp;
    lp.m_randomSeed = 1 + options;
    if (options & 1)
        lp.m_iterationLimit = options % 7; // 0 and below end at once
    if (options & 2)
        lp.m_tolerance = std::pow(10.0, -1.0 - options % 12);
    std::size_t traced = 0;
    lp.m_traceSink = [&traced](const std::string& line) { traced += line.size(); };

    struct SRow {
        std::vector<double> a;
        double rhs;
        int type;
    };
    std::vector<SRow> accepted;
    for (int i = 0; i < rows; ++i) {
        const int type = in.Byte() % 5; // 0 and 4 are refused
        const double rhs = in.Value();
        std::vector<double> a(static_cast<std::size_t>(n));
        for (double& value : a)
            value = in.Value();
        const bool finite = std::isfinite(rhs) && std::all_of(a.begin(), a.end(), [](double v) { return std::isfinite(v); });
        const int result = lp.AddConstraint(a, rhs, type);
        Check((result == 0) == (finite && type >= 1 && type <= 3));
        if (result == 0)
            accepted.push_back({a, rhs, type});
    }
    std::vector<double> cost(static_cast<std::size_t>(n));
    for (double& value : cost)
        value = in.Value();
    const bool hasCost = lp.SetCost(cost) == 0;

    std::vector<double> x;
    const int result = lp.Solve(x, (options & 4) != 0);
    const int status = lp.GetStatus();
    Check(x.size() == static_cast<std::size_t>(n));
    Check(status >= kLPStatusNone && status <= kLPIterationLimit);
    Check(lp.GetStatusMessage() == LPStatusMessage(status));
    if (result != 0) {
        Check(status != kLPStatusNone);
        for (double value : x)
            Check(value == 0.0);
        Check(!accepted.empty() || status == kLPNoConstraints);
        return 0;
    }
    Check(status == kLPStatusNone && hasCost && !accepted.empty());
    const double tolerance = std::max(lp.m_tolerance, 1e-9);
    for (double value : x)
        Check(std::isfinite(value) && value >= -tolerance * (1.0 + std::fabs(value)));
    for (const SRow& row : accepted) {
        double sum = 0.0;
        double magnitude = 1.0 + std::fabs(row.rhs);
        for (int j = 0; j < n; ++j) {
            sum += row.a[static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)];
            magnitude += std::fabs(row.a[static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)]);
        }
        const double excess = sum - row.rhs;
        const double allowed = 10.0 * tolerance * magnitude;
        if (row.type != kLPLessOrEqual)
            Check(excess >= -allowed);
        if (row.type != kLPGreaterOrEqual)
            Check(excess <= allowed);
    }
    return 0;
}
