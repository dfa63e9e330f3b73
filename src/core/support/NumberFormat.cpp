#include "support/NumberFormat.h"

#include "support/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPositivePowers[13] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6,
                                        1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
constexpr double kNegativePowers[13] = {1e0,  1e-1, 1e-2, 1e-3,  1e-4,  1e-5, 1e-6,
                                        1e-7, 1e-8, 1e-9, 1e-10, 1e-11, 1e-12};

// Beyond +-400 every power of ten is 0 or infinity as a double; clamping keeps -p defined too.
constexpr int kPowerLimit = 400;
constexpr int kMaxDecimals = 30;
constexpr int kMaxFieldWidth = 400;

int ClampPower(int p)
{
    return std::clamp(p, -kPowerLimit, kPowerLimit);
}

double WithSignOf(double magnitude, double x)
{
    return x < 0 ? -magnitude : magnitude;
}

bool IsWhole(double y)
{
    return std::isfinite(y) && y == RoundToPowerOfTen(y, 0);
}

// Removes (or blanks) '0's at the end while they stand more than `keep` places after the point;
// keep < 0 removes every trailing '0' and then a point left at the end.
std::string& TrimTrailingZeros(std::string& text, int keep, bool blank)
{
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text;
    const bool all = keep < 0;
    const std::size_t limit = all ? point : point + static_cast<std::size_t>(keep);
    std::size_t end = text.size(); // one past the last character kept
    while (end > limit + 1 && text[end - 1] == '0')
        --end;
    if (all && end == point + 1)
        end = point; // the point itself goes too
    if (blank)
        std::fill(text.begin() + static_cast<std::ptrdiff_t>(end), text.end(), ' ');
    else
        text.erase(end);
    return text;
}

} // namespace

double PowerOfTen(int n)
{
    n = ClampPower(n);
    if (n >= 0 && n <= 12)
        return kPositivePowers[n];
    if (n < 0 && n >= -12)
        return kNegativePowers[-n];
    double value = n > 0 ? kPositivePowers[12] : kNegativePowers[12];
    for (int k = 12; k < n; ++k)
        value *= 10.0;
    for (int k = -12; k > n; --k)
        value *= 0.1;
    return value;
}

double RoundToPowerOfTen(double x, int p)
{
    return RoundWithBias(x, p, 0.5);
}

double RoundWithBias(double x, int p, double bias)
{
    p = ClampPower(p);
    const double scaled = std::fabs(x) * PowerOfTen(-p);
    if (!std::isfinite(scaled))
        return x;
    const double steps = std::floor(scaled + bias);
    // 0 * 10^p would be NaN when 10^p is infinite.
    const double magnitude = steps == 0 ? 0.0 : steps * PowerOfTen(p);
    return WithSignOf(magnitude, x);
}

double TruncateToPowerOfTen(double x, int p)
{
    return RoundWithBias(x, p, 0.0);
}

double RoundUpToPowerOfTen(double x, int p)
{
    p = ClampPower(p);
    const double scaled = std::fabs(x) * PowerOfTen(-p);
    if (!std::isfinite(scaled) || scaled == std::floor(scaled))
        return x;
    return WithSignOf((std::floor(scaled) + 1.0) * PowerOfTen(p), x);
}

std::string FormatFixed(double x, int d)
{
    d = std::clamp(d, 0, kMaxDecimals);
    return FormatDoubleFixed(RoundToPowerOfTen(x, -d), d);
}

std::string FormatNumberWidth(double x, int w, int d)
{
    d = std::clamp(d, 0, kMaxDecimals);
    const long long field = std::clamp(static_cast<long long>(w) + d + 1, 0LL,
                                       static_cast<long long>(kMaxFieldWidth));
    return FormatDoubleFixedWidth(RoundToPowerOfTen(x, -d), static_cast<int>(field), d);
}

std::string& StripTrailingZerosAll(std::string& text)
{
    return TrimTrailingZeros(text, -1, false);
}

std::string& StripTrailingZeros(std::string& text, int n)
{
    return TrimTrailingZeros(text, n, false);
}

std::string& BlankTrailingZerosAll(std::string& text)
{
    return TrimTrailingZeros(text, -1, true);
}

std::string& BlankTrailingZeros(std::string& text, int n)
{
    return TrimTrailingZeros(text, n, true);
}

bool IsNumberText(std::string_view text)
{
    if (text.empty())
        return false;
    if (text.front() == '-')
        text.remove_prefix(1);
    bool seenPoint = false;
    for (const char c : text) {
        if (c == '.' && !seenPoint)
            seenPoint = true;
        else if (c < '0' || c > '9')
            return false;
    }
    return true;
}

double FindIntegerRatio(int decimals, std::span<double> values, int largestFactor, bool scale,
                        bool fallback)
{
    if (largestFactor < 1)
        largestFactor = 10;
    decimals = ClampPower(decimals);
    if (!std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); }))
        return 0;
    bool found = false;
    double smallest = 0;
    for (const double v : values) {
        if (v != 0 && (!found || v < smallest)) {
            smallest = v;
            found = true;
        }
    }
    if (!found || smallest <= 0)
        return 0;

    const auto roundsToWholes = [&](double factor) {
        return std::all_of(values.begin(), values.end(), [&](double v) {
            return v <= 0 || IsWhole(RoundToPowerOfTen(factor * v, -decimals));
        });
    };
    for (long long k = 1; k <= largestFactor; ++k) {
        const double factor = static_cast<double>(k) / smallest;
        if (!roundsToWholes(factor))
            continue;
        if (scale) {
            for (double& v : values)
                v = RoundToPowerOfTen(factor * v, 0);
        }
        return factor;
    }
    if (!fallback)
        return 0;
    for (double& v : values)
        v /= smallest;
    return 1 / smallest;
}
