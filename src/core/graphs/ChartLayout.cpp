// The chart's titles and legend, the dispatch of ChartSetKind to the drawing of each kind, and
// the number formats and scales of its axes.

#include "graphs/ChartDrawing.h"

#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMarginShare = 0.02; // of the area's height, round the chart and between parts

bool IsPointKind(int kind) { return kind == kChartPoints || kind == kChartPoints3D; }

// The legend at the right of the region; returns its width (0 without one). Entries that the
// region's height does not hold are left out whole, and a last line says how many ("+ 12 more");
// only the entries shown are measured and drawn (a legend of thousands of glazes costs what the
// chart shows of it).
double DrawLegend(CChart& chart, int kind, const CChartRect& region)
{
    const CChartDefinition& def = chart.Definition();
    const CChartFont font = chart.LegendFont();
    const double th = chart.TextHeightUnits(font);
    const double lineHeight = th * 1.25;
    const std::size_t total = def.legend.size();
    const double room = std::floor(std::max(region.Height(), 0.0) / lineHeight);
    const std::size_t lines = room < static_cast<double>(total) ? static_cast<std::size_t>(room) : total;
    if (lines == 0)
        return 0.0;
    // The last line that is held tells what is left out.
    const std::size_t shown = lines < total ? lines - 1 : total;
    const double swatch = th * 0.8;
    const double gap = th * 0.5;
    const double widest = chart.ChartGetAreaWidth() * 0.35;
    const double height = lineHeight * static_cast<double>(lines);
    const double top = std::min(region.top, region.CenterY() + height / 2.0);
    double textWidth = 0.0;
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < shown; ++i) {
        texts.push_back(ElideChartText(chart, font, def.legend[i], widest));
        textWidth = std::max(textWidth, chart.TextWidthUnits(font, texts.back()));
    }
    const std::string more = shown < total ? "+ " + std::to_string(total - shown) + " more" : std::string();
    textWidth = std::max(textWidth, chart.TextWidthUnits(font, more));
    const double width = swatch + gap + textWidth;
    const double left = region.right - width;
    CChart::CLayoutValues& layout = chart.CurrentLayout();
    layout.values[10] = left;
    layout.values[11] = top - height;
    layout.values[12] = width;
    const bool symbols = IsPointKind(kind);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int set = static_cast<int>(i);
        const double y = top - lineHeight * (set + 0.5);
        const CColor color = chart.PaletteColor(chart.ColorIndexFor(0, set, false));
        if (symbols) {
            const int symbol = def.symbols.empty() ? set % 14 : def.symbols[i % def.symbols.size()];
            chart.AddSymbol(left + swatch / 2.0, y, std::min(swatch, chart.DrawState().markerSize), symbol, color, set,
                            0, false);
        } else {
            const int pattern = chart.PatternFor(0, set, false);
            const bool hollow = pattern == kChartPatternHollow;
            chart.AddPolygon({{left, y - swatch / 2}, {left + swatch, y - swatch / 2}, {left + swatch, y + swatch / 2},
                              {left, y + swatch / 2}},
                             color, pattern, hollow ? color : chart.PaletteColor(0), 1.0);
        }
        chart.AddText(left + swatch + gap, y - th / 2.0, 0, font, chart.PaletteColor(0), 0, texts[i]);
    }
    const double y = top - lineHeight * (static_cast<double>(shown) + 0.5);
    chart.AddText(left + swatch + gap, y - th / 2.0, 0, font, chart.PaletteColor(0), 0, more);
    return width;
}

// The lines of a top or bottom title: broken at blanks to the width, a word wider than it
// shortened with "...", and no more lines than `room` holds, the last one then ending in "...".
std::vector<std::string> TitleLines(const CChart& chart, const CChartFont& font, const std::string& text, double width,
                                    double room)
{
    std::vector<std::string> lines = WrapChartText(chart, font, text, width);
    const double held = std::floor(room / chart.TextHeightUnits(font) + 1e-9);
    const std::size_t most = held < static_cast<double>(lines.size()) ? static_cast<std::size_t>(std::max(held, 0.0)) : lines.size();
    if (most > 0 && most < lines.size()) {
        for (std::size_t k = most; k < lines.size(); ++k)
            lines[most - 1] += " " + lines[k];
    }
    lines.resize(most);
    for (std::string& line : lines)
        line = ElideChartText(chart, font, line, width);
    return lines;
}

// As many decimals as the step needs, but no more than show its first three digits (a step of
// 1/6 labels 0.167, 0.333...).
double DecimalsForStep(double step)
{
    step = std::fabs(step);
    if (!std::isfinite(step))
        return 0;
    const int enough = step > 0.0 ? std::clamp(2 - static_cast<int>(std::floor(std::log10(step))), 0, 6) : 0;
    for (int decimals = 0; decimals < enough; ++decimals) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled))
            return decimals;
    }
    return enough;
}

} // namespace

std::string ElideChartText(const CChart& chart, const CChartFont& font, const std::string& text, double width)
{
    return ElideToWidth(text, width, [&](const std::string& t) { return chart.TextWidthUnits(font, t); });
}

std::vector<std::string> WrapChartText(const CChart& chart, const CChartFont& font, const std::string& text,
                                       double width)
{
    std::vector<std::string> lines;
    std::string rest = text;
    while (!rest.empty()) {
        if (chart.TextWidthUnits(font, rest) <= width) {
            lines.push_back(rest);
            break;
        }
        // Break at the last blank that lets the first part fit; a word longer than the width
        // stays whole.
        std::size_t cut = std::string::npos;
        for (std::size_t at = rest.find(' '); at != std::string::npos; at = rest.find(' ', at + 1)) {
            if (chart.TextWidthUnits(font, rest.substr(0, at)) > width && cut != std::string::npos)
                break;
            cut = at;
        }
        if (cut == std::string::npos) {
            lines.push_back(rest);
            break;
        }
        lines.push_back(rest.substr(0, cut));
        rest = rest.substr(cut + 1);
    }
    return lines;
}

CChartRect DrawChartDecorations(CChart& chart, int kind)
{
    const CChartDefinition& def = chart.Definition();
    const double margin = chart.ChartGetAreaHeight() * kMarginShare;
    CChartRect r{margin, margin, chart.ChartGetAreaWidth() - margin, chart.ChartGetAreaHeight() - margin};
    const CColor black = chart.PaletteColor(0);
    // The top and bottom titles break into lines where they are wider than the chart, each
    // taking at most a third of its height.
    const double third = r.Height() / 3.0;
    if (!def.titles[0].empty()) {
        const CChartFont font = chart.FontOf(0);
        const double height = chart.TextHeightUnits(font);
        for (const std::string& line : TitleLines(chart, font, def.titles[0], r.Width(), std::max(third, height))) {
            chart.AddText(r.CenterX(), r.top, 0x102, font, black, 0, line);
            r.top -= height;
        }
        r.top -= margin / 2.0;
    }
    const CChartFont sideFont = chart.FontOf(1);
    const double sideHeight = chart.TextHeightUnits(sideFont);
    if (!def.titles[1].empty()) {
        // Below the top title, never over it.
        const std::vector<std::string> lines =
            TitleLines(chart, sideFont, def.titles[1], r.Width(), std::min(std::max(third, sideHeight), r.Height()));
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            chart.AddText(r.CenterX(), r.bottom, 0x02, sideFont, black, 0, *line);
            r.bottom += sideHeight;
        }
        if (!lines.empty())
            r.bottom += margin / 2.0;
    }
    // A side title longer than the chart is shortened to its length.
    if (!def.titles[2].empty()) {
        const std::string title =
            ElideChartText(chart, sideFont, def.titles[2], def.leftTitleVertical ? r.Height() : r.Width());
        const double width = chart.TextWidthUnits(sideFont, title);
        if (def.leftTitleVertical) {
            chart.AddText(r.left, r.CenterY() - width / 2.0, 0, sideFont, black, 90, title);
            r.left += sideHeight + margin / 2.0;
        } else {
            chart.AddText(r.left, r.CenterY() - sideHeight / 2.0, 0, sideFont, black, 0, title);
            r.left += width + margin / 2.0;
        }
    }
    if (!def.titles[3].empty()) {
        const std::string title =
            ElideChartText(chart, sideFont, def.titles[3], def.rightTitleVertical ? r.Height() : r.Width());
        const double width = chart.TextWidthUnits(sideFont, title);
        if (def.rightTitleVertical) {
            chart.AddText(r.right - sideHeight, r.CenterY() - width / 2.0, 0, sideFont, black, 270, title);
            r.right -= sideHeight + margin / 2.0;
        } else {
            chart.AddText(r.right, r.CenterY() - sideHeight / 2.0, 0x01, sideFont, black, 0, title);
            r.right -= width + margin / 2.0;
        }
    }
    const double legendWidth = DrawLegend(chart, kind, r);
    if (legendWidth > 0.0)
        r.right -= legendWidth + margin;
    return r;
}

void CChart::DrawChart(int kind, int options)
{
    CLayoutValues& layout = CurrentLayout();
    layout = CLayoutValues();
    // The titles and legend stand once: a later pass lays the chart out in the room the first
    // left it, drawing nothing of them again that the first drew.
    const std::size_t before = m_primitives.size();
    m_redecorating = m_decoratedArea == CurrentArea().id;
    const CChartRect region = DrawChartDecorations(*this, kind);
    if (!m_redecorating) {
        m_decorationsFrom = before;
        m_decorationsTo = m_primitives.size();
        m_decoratedArea = CurrentArea().id;
    }
    m_redecorating = false;
    switch (kind) {
    case kChartPie:
    case kChartPie3D: DrawPieChart(*this, kind == kChartPie3D, options, region); break;
    case kChartBar:
    case kChartBar3D: DrawBarChart(*this, kind, options, region); break;
    case kChartBarTrue3D: DrawBar3DChart(*this, options, region); break;
    case kChartArea: DrawAreaChart(*this, options, region); break;
    case kChartPoints: DrawPointChart(*this, options, region); break;
    case kChartPoints3D: DrawPoint3DChart(*this, options, region); break;
    case kChartBoxWhiskers: DrawBoxChart(*this, options, region); break;
    default:
        // An unknown kind draws its titles and keeps the rest as its plot area.
        layout.values[4] = region.Width();
        layout.values[5] = region.Height();
        layout.values[6] = region.left;
        layout.values[7] = region.bottom;
        break;
    }
}

namespace {

// Minor ticks, as many as asked while the axis keeps to its number of tick marks.
int BoundedMinors(int minors, int majors)
{
    return std::clamp(minors, 0, std::max(0, CChartAxisSettings::kMaxTickMarks / std::max(majors, 1) - 1));
}

} // namespace

CChartScale MakeChartScale(const CChartAxisSettings& axis, double dataMin, double dataMax, bool includeZero)
{
    // A manual end that is no finite number is not used.
    bool fixedMin = axis.set && (axis.flags & CChartAxisSettings::kFixedMin) && std::isfinite(axis.min);
    bool fixedMax = axis.set && (axis.flags & CChartAxisSettings::kFixedMax) && std::isfinite(axis.max);
    const bool fixedTicks = axis.set && (axis.flags & CChartAxisSettings::kFixedTicks) && axis.ticks > 0;
    double lo = std::isfinite(dataMin) ? dataMin : 0.0;
    double hi = std::isfinite(dataMax) ? dataMax : 1.0;
    if (includeZero) {
        lo = std::min(lo, 0.0);
        hi = std::max(hi, 0.0);
    }
    if (fixedMin)
        lo = axis.min;
    if (fixedMax)
        hi = axis.max;
    if (hi <= lo) {
        // All values alike: a positive one stands on 0, nothing at all (all zero) gets 0 to 1.
        if (!fixedMin && !fixedMax && lo == 0.0 && hi == 0.0)
            hi = 1.0;
        else if (!fixedMin)
            lo = hi > 0.0 ? 0.0 : hi - 1.0;
        else
            hi = lo + (lo != 0.0 ? std::fabs(lo) : 1.0);
    }
    // Ends so far apart that no number measures the distance (-1e308 to 1e308) give no steps.
    if (!std::isfinite(hi - lo)) {
        fixedMin = fixedMax = false;
        lo = 0.0;
        hi = 1.0;
    }
    CChartScale scale;
    const int minors = axis.set ? axis.minorTicks : 0;
    if (fixedTicks) {
        scale.min = lo;
        scale.max = hi;
        scale.majors = std::min(axis.ticks, CChartAxisSettings::kMaxMajorTicks);
        scale.minors = BoundedMinors(minors, scale.majors);
        return scale;
    }
    const double raw = (hi - lo) / 5.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normalized = raw / magnitude;
    const double step = (normalized <= 1.0 ? 1.0 : normalized <= 2.0 ? 2.0 : normalized <= 2.5 ? 2.5 : normalized <= 5.0 ? 5.0 : 10.0) *
                        magnitude;
    if (!fixedMin)
        lo = std::floor(lo / step + 1e-9) * step;
    if (!fixedMax)
        hi = std::ceil(hi / step - 1e-9) * step;
    scale.min = lo;
    scale.max = hi;
    const double intervals = std::round((hi - lo) / step);
    scale.majors = std::isfinite(intervals)
                       ? static_cast<int>(std::clamp(intervals, 1.0, double(CChartAxisSettings::kMaxMajorTicks)))
                       : 1;
    scale.minors = BoundedMinors(minors, scale.majors);
    return scale;
}

std::string FormatChartNumber(double value, const std::string& format, double step)
{
    if (std::fabs(value) < 1e-9 * std::max(1.0, std::fabs(step)))
        value = 0.0;
    if (format.empty())
        return FormatDoubleFixed(value, static_cast<int>(DecimalsForStep(step)));
    std::string prefix, suffix;
    bool digits = false, point = false;
    int decimals = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        const bool literal = c == '\\';
        if (literal && i + 1 < format.size())
            c = format[++i];
        if (!literal && (c == '#' || c == '0')) {
            digits = true;
            if (point)
                ++decimals;
        } else if (!literal && c == '.' && digits) {
            point = true;
        } else if (!literal && c == ',') {
            continue;
        } else {
            (digits ? suffix : prefix) += c;
        }
    }
    return prefix + FormatDoubleFixed(value, decimals) + suffix;
}

CColor ShadeColor(CColor color, double factor)
{
    const auto channel = [factor](std::uint8_t c) {
        const double v = factor <= 1.0 ? c * factor : c + (255.0 - c) * (factor - 1.0);
        return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    };
    return CColor(channel(color.r), channel(color.g), channel(color.b));
}
