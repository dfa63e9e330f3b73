#include "glazes/GlazeReportFormat.h"

#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <charconv>
#include <cmath>
#include <ostream>

namespace {

// The cost format of a materials database with its default settings, for reports written
// while no materials database is open.
constexpr int kDefaultCostPlacesLeft = 3;
constexpr int kDefaultCostPlacesRight = 2;

} // namespace

void WriteMarkedLine(std::ostream& out, std::string_view text, std::string_view markers)
{
    out << text << markers << '\n';
}

std::string RightAligned(std::string_view text, int width)
{
    std::string result;
    if (static_cast<int>(text.size()) < width)
        result.assign(static_cast<std::size_t>(width) - text.size(), ' ');
    result += text;
    return result;
}

std::string FixedWidth(std::string_view text, int width)
{
    std::string result(text);
    PadOrTruncate(result, width < 0 ? 0 : width);
    return result;
}

std::string TrimmedRight(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string Repeated(char c, int count)
{
    return count > 0 ? std::string(static_cast<std::size_t>(count), c) : std::string();
}

std::string BlankedNumber(double value, int places, int decimals, int keep)
{
    std::string text = FormatNumberWidth(value, places, decimals);
    return BlankTrailingZeros(text, keep);
}

std::string FormatGeneral(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string CurrencyCost(double cost)
{
    if (!g_pMaterialsDoc)
        return kDefaultCurrencySymbol + FormatNumberWidth(cost, kDefaultCostPlacesLeft, kDefaultCostPlacesRight);
    return g_pMaterialsDoc->Materials().m_currencySymbol + g_pMaterialsDoc->FormatCost(cost);
}

int CostColumnWidth()
{
    if (!g_pMaterialsDoc)
        return static_cast<int>(std::string(kDefaultCurrencySymbol).size()) + kDefaultCostPlacesLeft +
               kDefaultCostPlacesRight + 1;
    const CMaterialArray& database = g_pMaterialsDoc->Materials();
    return static_cast<int>(database.m_currencySymbol.size()) + database.m_costPlacesLeft +
           database.m_costPlacesRight + 1;
}

std::string ConeText(int cone)
{
    return cone < 0 ? "0" + std::to_string(-cone) : std::to_string(cone);
}

void WriteReportSectionHeading(std::ostream& out, const char* screenBar, const std::string& screenTitle,
                               const std::string& printTitle, const std::string& ruledTitle)
{
    if (g_prefs.prtuseffs && g_prefs.anffs)
        WriteMarkedLine(out, "", "\x0c\x03");
    WriteMarkedLine(out, "");
    WriteMarkedLine(out, screenBar, kMarkHidden);
    WriteMarkedLine(out, screenTitle, kMarkHidden);
    WriteMarkedLine(out, screenBar, kMarkHidden);
    WriteMarkedLine(out, printTitle, "\x03\x04\x0f\x01");
    WriteMarkedLine(out, ruledTitle, "\x03\x04\x0f\x01\x19");
}
