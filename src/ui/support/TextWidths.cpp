#include "support/TextWidths.h"

#include "framework/Cp1252.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Kept widths beyond this many times a request's texts (and a floor) are dropped first.
constexpr std::size_t kKeepFactor = 4;
constexpr std::size_t kKeepFloor = 10000;

// How far below the widest measured width an estimate may lie and still be measured: the
// rounding of the measured width and the odd widening pair of letters, with room to spare.
float Slack(int widest)
{
    return std::max(3.0f, 0.03f * static_cast<float>(widest));
}

} // namespace

CTextWidths::CTextWidths(const QFont& font) : m_font(font)
{
}

void CTextWidths::SetFont(const QFont& font)
{
    if (font == m_font && font.toString() == m_font.toString())
        return;
    m_font = font;
    m_widths.clear();
    m_advancesLoaded = false;
}

int CTextWidths::Width(const std::string& text)
{
    if (const auto found = m_widths.find(text); found != m_widths.end())
        return found->second;
    const int width = QFontMetrics(m_font).horizontalAdvance(FromCp1252(text));
    m_widths.emplace(text, width);
    return width;
}

void CTextWidths::LoadAdvances()
{
    const QFontMetricsF metrics(m_font);
    for (int byte = 0; byte < 256; ++byte) {
        const QString character = FromCp1252(std::string(1, static_cast<char>(byte)));
        m_advances[static_cast<std::size_t>(byte)] =
            character.isEmpty() ? 0.0f : static_cast<float>(metrics.horizontalAdvance(character));
    }
    m_advancesLoaded = true;
}

float CTextWidths::Estimate(const std::string& text) const
{
    float sum = 0.0f;
    for (const char c : text)
        sum += m_advances[static_cast<unsigned char>(c)];
    return sum;
}

int CTextWidths::Widest(std::span<const std::string> texts)
{
    if (m_widths.size() > kKeepFactor * texts.size() + kKeepFloor)
        m_widths.clear();
    if (!m_advancesLoaded)
        LoadAdvances();
    // The candidates, widest estimate first; only the front of the order is ever needed.
    std::vector<std::pair<float, std::uint32_t>> order(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        order[i] = {Estimate(texts[i]), static_cast<std::uint32_t>(i)};
    const std::size_t front = std::min(order.size(), kMostMeasured);
    const auto wider = [](const auto& a, const auto& b) { return a.first > b.first; };
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(front), order.end(), wider);
    int widest = 0;
    for (std::size_t i = 0; i < front; ++i) {
        if (i >= kLeastMeasured && order[i].first < static_cast<float>(widest) - Slack(widest))
            break;
        widest = std::max(widest, Width(texts[order[i].second]));
    }
    return widest;
}
