// The cone table and the firing range of a glaze: its range text ("04-6", "2300F", "1200 C",
// "Cone 6") read into low and high cones and temperatures.

#include "glazes/Glaze.h"

#include <climits>
#include <cmath>
#include <string_view>

const std::array<CConeTableRow, kConeTableRows + 1> g_coneTable = {{
    {-22, 576, 1069},  {-21, 602, 1116},  {-20, 625, 1157},  {-19, 668, 1234},
    {-18, 696, 1285},  {-17, 727, 1341},  {-16, 764, 1407},  {-15, 790, 1454},
    {-14, 834, 1533},  {-13, 836, 1537},  {-12, 856, 1573},  {-11, 872, 1602},
    {-10, 880, 1616},  {-9, 915, 1679},   {-8, 945, 1733},   {-7, 973, 1783},
    {-6, 991, 1816},   {-5, 1031, 1888},  {-4, 1050, 1922},  {-3, 1086, 1987},
    {-2, 1101, 2014},  {-1, 1117, 2043},  {1, 1136, 2077},   {2, 1142, 2088},
    {3, 1152, 2106},   {4, 1168, 2134},   {5, 1177, 2151},   {6, 1201, 2194},
    {7, 1215, 2219},   {8, 1236, 2257},   {9, 1260, 2300},   {10, 1285, 2345},
    {11, 1294, 2361},  {12, 1306, 2383},  {13, 1321, 2410},  {14, 1388, 2530},
    {40, 32767, 32767},
}};

namespace {

// Below this a number of a range text is a cone, above it a temperature.
constexpr int kLargestCone = 40;
// A temperature from here on without a "C" is taken as Fahrenheit.
constexpr int kLowestFahrenheitGuess = 1401;
// The cone of a temperature below the table.
constexpr int kBelowTable = -23;

int ColumnValue(const CConeTableRow& row, bool fahrenheit)
{
    return fahrenheit ? row.fahrenheit : row.celsius;
}

// The cone whose band [row, next row) holds the temperature. The last cone's band has no upper
// end: any temperature from its value up is that cone, however absurd.
int ConeOfBand(int temperature, bool fahrenheit)
{
    for (int i = kConeTableRows - 1; i >= 0; --i) {
        if (temperature >= ColumnValue(g_coneTable[static_cast<std::size_t>(i)], fahrenheit))
            return g_coneTable[static_cast<std::size_t>(i)].cone;
    }
    return kBelowTable;
}

// The Celsius value of the last row whose cone is at or below the given one; the first row's
// value when none is.
int CelsiusOfConeAtOrBelow(int cone)
{
    for (int i = kConeTableRows; i >= 0; --i)
        if (g_coneTable[static_cast<std::size_t>(i)].cone <= cone)
            return g_coneTable[static_cast<std::size_t>(i)].celsius;
    return g_coneTable[0].celsius;
}

int FahrenheitToCelsius(int fahrenheit)
{
    return static_cast<int>(std::floor((fahrenheit - 32.0) * 0.5555555555555556 + 0.5));
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One number of a range text with the letter after it ("2300F", "1200 C").
struct CRangeNumber {
    int value = 0;
    char unit = '\0';

    bool IsFahrenheit() const
    {
        return unit == 'F' || (value >= kLowestFahrenheitGuess && unit != 'C');
    }
};

// Reads the number whose first digit stands at pos and moves pos past it. A leading 0 makes a
// cone number negative (06 is cone 06, stored as -6). Long digit runs saturate instead of
// overflowing.
CRangeNumber ReadRangeNumber(std::string_view text, std::size_t& pos)
{
    const bool negative = text[pos] == '0';
    if (negative)
        ++pos;
    long long value = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > INT_MAX)
            value = INT_MAX;
    }
    CRangeNumber number;
    number.value = static_cast<int>(negative ? -value : value);
    if (pos < text.size())
        number.unit = text[pos];
    if (number.unit == ' ')
        number.unit = pos + 1 < text.size() ? text[pos + 1] : '\0';
    return number;
}

std::size_t SkipToDigit(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && !IsDigit(text[pos]))
        ++pos;
    return pos;
}

} // namespace

int ConeFromTemperature(int celsius)
{
    return ConeOfBand(celsius, false);
}

int TemperatureFromCone(int cone)
{
    for (int i = 0; i < kConeTableRows; ++i)
        if (g_coneTable[static_cast<std::size_t>(i)].cone >= cone)
            return g_coneTable[static_cast<std::size_t>(i)].celsius;
    return 0;
}

void CGlaze::ParseRange()
{
    m_lowCone = m_highCone = m_lowTemp = m_highTemp = 0;
    const std::string_view text(m_range);
    std::size_t pos = SkipToDigit(text, 0);
    if (pos >= text.size())
        return;
    const CRangeNumber first = ReadRangeNumber(text, pos);
    CRangeNumber second; // the last further number; 0 when there is none
    while ((pos = SkipToDigit(text, pos)) < text.size())
        second = ReadRangeNumber(text, pos);

    if (first.value > kLargestCone)
        m_lowCone = ConeOfBand(first.value, first.IsFahrenheit());
    else
        m_lowCone = first.value;

    if (second.value > kLargestCone)
        m_highCone = ConeOfBand(second.value, second.IsFahrenheit());
    else
        m_highCone = second.value == 0 ? m_lowCone : second.value;

    if (first.value < kLargestCone)
        m_lowTemp = CelsiusOfConeAtOrBelow(first.value);
    else
        m_lowTemp = first.IsFahrenheit() ? FahrenheitToCelsius(first.value) : first.value;

    if (second.value == 0)
        m_highTemp = m_lowTemp;
    else if (second.value < kLargestCone)
        m_highTemp = CelsiusOfConeAtOrBelow(second.value);
    else
        m_highTemp = second.IsFahrenheit() ? FahrenheitToCelsius(second.value) : second.value;
}
