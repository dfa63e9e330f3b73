#include "support/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <limits>
#include <cmath>
#include <system_error>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view text, std::size_t i)
{
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

template <typename Int>
Int ParseInteger(std::string_view text)
{
    std::size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as a negative number so that the minimum value is reachable.
    constexpr Int lowest = std::numeric_limits<Int>::min();
    Int value = 0;
    bool saturated = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const Int digit = static_cast<Int>(text[i] - '0');
        if (saturated)
            continue;
        if (value < (lowest + digit) / 10) {
            saturated = true;
            continue;
        }
        value = static_cast<Int>(value * 10 - digit);
    }
    if (saturated)
        return negative ? lowest : std::numeric_limits<Int>::max();
    if (!negative)
        return value == lowest ? std::numeric_limits<Int>::max() : static_cast<Int>(-value);
    return value;
}

} // namespace

int ParseInt(std::string_view text)
{
    return ParseInteger<int>(text);
}

long ParseLong(std::string_view text)
{
    return ParseInteger<long>(text);
}

double ParseDoublePrefix(std::string_view text, std::size_t& used)
{
    used = 0;
    std::size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            end = j;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data() + start, text.data() + end, value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Either too large (saturate) or too small (zero): the decimal exponent tells which.
        const auto number = text.substr(start, end - start);
        const auto ePos = number.find_first_of("eE");
        const auto mantissa = number.substr(0, ePos);
        long magnitude = 0;
        if (ePos != std::string_view::npos)
            magnitude = std::clamp(ParseLong(number.substr(ePos + 1)), -1000000000L, 1000000000L);
        const auto firstNonZero = mantissa.find_first_of("123456789");
        if (firstNonZero != std::string_view::npos) {
            const auto point = mantissa.find('.');
            const auto pointPos = point == std::string_view::npos ? mantissa.size() : point;
            magnitude += static_cast<long>(pointPos) - static_cast<long>(firstNonZero);
        }
        value = magnitude > 0 ? DBL_MAX : 0.0;
    } else if (result.ec != std::errc()) {
        return 0.0;
    }
    used = end;
    return negative ? -value : value;
}

namespace {

std::string_view TrimmedField(std::string_view text)
{
    const std::size_t start = SkipSpace(text, 0);
    std::size_t end = text.size();
    while (end > start && IsSpace(text[end - 1]))
        --end;
    return text.substr(start, end - start);
}

} // namespace

bool ReadWholeNumberText(std::string_view text, int& value)
{
    const std::string_view field = TrimmedField(text);
    const std::size_t digits = !field.empty() && (field[0] == '+' || field[0] == '-') ? 1 : 0;
    if (field.size() == digits || !std::all_of(field.begin() + static_cast<std::ptrdiff_t>(digits), field.end(), IsDigit))
        return false;
    const long long number = ParseInteger<long long>(field);
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(number);
    return true;
}

bool ReadNumberText(std::string_view text, double& value)
{
    const std::string_view field = TrimmedField(text);
    std::size_t used = 0;
    const double number = ParseDoublePrefix(field, used);
    // A magnitude beyond the range reads as the largest double: the field cannot hold it.
    if (field.empty() || used != field.size() || !(std::fabs(number) < DBL_MAX))
        return false;
    value = number;
    return true;
}

double ParseDouble(std::string_view text)
{
    std::size_t used = 0;
    return ParseDoublePrefix(text, used);
}

std::string FormatDoubleFixed(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 30);
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    // 309 integer digits, a sign, a point and 30 decimals fit.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    const char* first = buffer;
    const char* const last = result.ptr;
    if (*first == '-' && std::all_of(first + 1, last, [](char c) { return c == '0' || c == '.'; }))
        ++first;
    return std::string(first, last);
}

std::string FormatDoubleFixedWidth(double value, int width, int decimals)
{
    std::string text = FormatDoubleFixed(value, decimals);
    if (width > 0 && static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string FormatDoubleShortest(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
