#include "graphs/Chart.h"

#include "graphs/ChartDefinition.h"
#include "graphs/ChartDrawing.h"
#include "graphs/ChartDuplicateFilter.h"
#include "graphs/ChartPalette.h"
#include "support/InputFile.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t ToIndex(int i) { return static_cast<std::size_t>(i); }

template <typename T>
std::vector<T> CopyValues(int count, std::span<const T> values, T missing)
{
    std::vector<T> out(ToIndex(std::max(count, 0)), missing);
    const std::size_t n = std::min(out.size(), values.size());
    std::copy(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n), out.begin());
    return out;
}

// Numbers that are not finite count as 0: no NaN may reach a coordinate.
std::vector<double> CopyValues(int count, std::span<const double> values, double missing)
{
    std::vector<double> out(ToIndex(std::max(count, 0)), missing);
    const std::size_t n = std::min(out.size(), values.size());
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::isfinite(values[i]) ? values[i] : 0.0;
    return out;
}

bool IsFinitePrimitive(const CChartPrimitive& p)
{
    for (const CChartPointD& point : p.points) {
        if (!std::isfinite(point.x) || !std::isfinite(point.y))
            return false;
    }
    return std::isfinite(p.left) && std::isfinite(p.bottom) && std::isfinite(p.width) && std::isfinite(p.height);
}

void SetBoundsFromPoints(CChartPrimitive& p)
{
    if (p.points.empty())
        return;
    double minX = p.points[0].x, maxX = minX, minY = p.points[0].y, maxY = minY;
    for (const CChartPointD& point : p.points) {
        minX = std::min(minX, point.x);
        maxX = std::max(maxX, point.x);
        minY = std::min(minY, point.y);
        maxY = std::max(maxY, point.y);
    }
    p.left = minX;
    p.bottom = minY;
    p.width = maxX - minX;
    p.height = maxY - minY;
}

bool PolygonContains(const std::vector<CChartPointD>& polygon, double x, double y)
{
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const CChartPointD& a = polygon[i];
        const CChartPointD& b = polygon[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

// True when (x, y) lies within reach of an edge of the polygon.
bool NearPolygonEdge(const std::vector<CChartPointD>& polygon, double x, double y, double reach)
{
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const CChartPointD& a = polygon[j];
        const double dx = polygon[i].x - a.x, dy = polygon[i].y - a.y;
        const double length = dx * dx + dy * dy;
        const double along = length > 0.0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length, 0.0, 1.0) : 0.0;
        if (std::hypot(x - a.x - along * dx, y - a.y - along * dy) <= reach)
            return true;
    }
    return false;
}

} // namespace

double CChartDefinition::Value(int point, int set) const
{
    if (point < 0 || point >= points || set < 0 || set >= sets)
        return 0.0;
    if (sparse) {
        const auto at = std::lower_bound(sparseValues.begin(), sparseValues.end(), CChartValueAt{point, set, 0.0},
                                         [](const CChartValueAt& a, const CChartValueAt& b) {
                                             return a.point != b.point ? a.point < b.point : a.set < b.set;
                                         });
        return at != sparseValues.end() && at->point == point && at->set == set ? at->value : 0.0;
    }
    const std::size_t i = ToIndex(point) * ToIndex(sets) + ToIndex(set);
    return i < values.size() ? values[i] : 0.0;
}

int CChartDefinition::Flag(int index) const
{
    return index >= 0 && ToIndex(index) < pointFlags.size() ? pointFlags[ToIndex(index)] : 0;
}

CChart::CChart(const CChartMetrics& metrics, double x, double y, double pixelWidth, double pixelHeight, double scale)
    : m_metrics(metrics), m_hostX(x), m_hostY(y), m_pixelWidth(std::max(pixelWidth, 1.0)),
      m_pixelHeight(std::max(pixelHeight, 1.0)), m_scale(scale > 0.0 ? scale : 1000.0),
      m_def(std::make_unique<CChartDefinition>()), m_draw(std::make_unique<CChartDrawState>())
{
    m_pixelsPerUnit = m_pixelHeight / m_scale;
    m_repeats = std::make_unique<CChartDuplicateFilter>(m_scale * m_pixelWidth / m_pixelHeight, m_scale);
    for (int i = 0; i < kGraphPaletteSize; ++i)
        m_palette[ToIndex(i)] = GraphPaletteColor(i);
    CChartArea main;
    main.width = m_scale * m_pixelWidth / m_pixelHeight;
    main.height = m_scale;
    m_areas.push_back(main);
}

CChart::~CChart() = default;

double CChart::ChartGetWidth() const { return m_areas.front().width; }
double CChart::ChartGetHeight() const { return m_areas.front().height; }
double CChart::ChartGetAreaWidth() const { return m_areas.back().width; }
double CChart::ChartGetAreaHeight() const { return m_areas.back().height; }
const CChartArea& CChart::CurrentArea() const { return m_areas.back(); }
CChart::CLayoutValues& CChart::CurrentLayout() { return m_areas.back().layout; }

void CChart::ChartSetPaletteEntry(int index, int red, int green, int blue)
{
    if (index < 0 || index >= kGraphPaletteSize)
        return;
    const auto byte = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    m_palette[ToIndex(index)] = CColor(byte(red), byte(green), byte(blue));
}

CColor CChart::PaletteColor(int index) const
{
    return index >= 0 && index < kGraphPaletteSize ? m_palette[ToIndex(index)] : CColor();
}

void CChart::ChartSetNotifyWindow(CChartNotifyTarget* target, unsigned message, unsigned mask)
{
    m_notifyTarget = target;
    m_notifyMessage = message;
    m_notifyMask = mask;
}

void CChart::ChartSetEventWindow(CChartNotifyTarget* target, unsigned message, unsigned mask)
{
    m_eventTarget = target;
    m_eventMessage = message;
    m_eventMask = mask;
}

void CChart::OnMouseEvent(int eventCode, double pixelX, double pixelY)
{
    m_lastEvent = eventCode;
    m_lastEventX = PixelsToUnitsX(pixelX);
    m_lastEventY = PixelsToUnitsY(pixelY);
    const CChartHit hit = eventCode == kChartEventLeftPressed ? HitTest(pixelX, pixelY) : CChartHit{};
    unsigned kind = kChartNoticeOther;
    std::uint64_t data = 0;
    if (hit.kind == CChartPrimitive::kHitCell) {
        kind = kChartNoticeCell;
        data = ChartCellNoticeData(hit.column, hit.row);
    } else if (hit.kind == CChartPrimitive::kHitObject) {
        kind = kChartNoticeObject;
        data = (static_cast<std::uint32_t>(hit.objectId) << 16) | 1u;
    }
    // Everything the notices need is copied first: a window may destroy this chart.
    CChartNotifyTarget* eventTarget = m_eventMask ? m_eventTarget : nullptr;
    const unsigned eventMessage = m_eventMessage;
    CChartNotifyTarget* notifyTarget = (m_notifyMask & kind) ? m_notifyTarget : nullptr;
    const unsigned notifyMessage = m_notifyMessage;
    const std::uint32_t position = (static_cast<std::uint32_t>(std::max(pixelY, 0.0)) << 16) |
                                   (static_cast<std::uint32_t>(std::max(pixelX, 0.0)) & 0xFFFF);
    if (eventTarget)
        eventTarget->OnChartMessage(eventMessage, static_cast<unsigned>(eventCode), position);
    if (notifyTarget)
        notifyTarget->OnChartMessage(notifyMessage, kind, data);
}

// --- definition ---

void CChart::ChartDefBegin()
{
    *m_def = CChartDefinition();
    m_defining = true;
    m_decoratedArea = -1;
}

void CChart::ChartDefEnd() { m_defining = false; }

void CChart::ChartSetData(int points, int sets, std::span<const double> values)
{
    m_def->points = std::max(points, 0);
    m_def->sets = std::max(sets, 0);
    m_def->values = CopyValues(m_def->points * m_def->sets, values, 0.0);
    m_def->sparse = false;
    m_def->sparseValues.clear();
}

namespace {

// Sorts values of points below `points` point by point, those of one point by set, values of one
// place in their order. Hundreds of thousands of values fall on a few thousand points: they are
// counted into their points, then each point's values sorted by set where they are not already.
void SortByPoint(std::vector<CChartValueAt>& values, int points)
{
    std::vector<std::size_t> starts(static_cast<std::size_t>(points) + 1, 0);
    for (const CChartValueAt& v : values)
        ++starts[static_cast<std::size_t>(v.point) + 1];
    for (std::size_t p = 1; p < starts.size(); ++p)
        starts[p] += starts[p - 1];
    std::vector<CChartValueAt> byPoint(values.size());
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    for (const CChartValueAt& v : values)
        byPoint[next[static_cast<std::size_t>(v.point)]++] = v;
    values = std::move(byPoint);
    const auto bySet = [](const CChartValueAt& a, const CChartValueAt& b) { return a.set < b.set; };
    for (std::size_t p = 0; p + 1 < starts.size(); ++p) {
        const auto from = values.begin() + static_cast<std::ptrdiff_t>(starts[p]);
        const auto to = values.begin() + static_cast<std::ptrdiff_t>(starts[p + 1]);
        if (!std::is_sorted(from, to, bySet))
            std::stable_sort(from, to, bySet);
    }
}

} // namespace

void CChart::ChartSetSparseData(int points, int sets, std::span<const CChartValueAt> values)
{
    m_def->points = std::max(points, 0);
    m_def->sets = std::max(sets, 0);
    m_def->values.clear();
    m_def->sparse = true;
    std::vector<CChartValueAt>& kept = m_def->sparseValues;
    kept.clear();
    for (const CChartValueAt& v : values) {
        if (v.point >= 0 && v.point < points && v.set >= 0 && v.set < sets && std::isfinite(v.value) && v.value != 0.0)
            kept.push_back(v);
    }
    // Point by point, set by set, values of one place in their order.
    if (static_cast<std::size_t>(m_def->points) > kept.size())
        std::stable_sort(kept.begin(), kept.end(), [](const CChartValueAt& a, const CChartValueAt& b) {
            return a.point != b.point ? a.point < b.point : a.set < b.set;
        });
    else
        SortByPoint(kept, m_def->points);
    // Of a value given twice the last counts.
    const auto same = [](const CChartValueAt& a, const CChartValueAt& b) { return a.point == b.point && a.set == b.set; };
    std::vector<CChartValueAt> unique;
    unique.reserve(kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i + 1 < kept.size() && same(kept[i], kept[i + 1]))
            continue;
        unique.push_back(kept[i]);
    }
    kept = std::move(unique);
}

void CChart::ChartSetXData(int count, std::span<const double> values) { m_def->xData = CopyValues(count, values, 0.0); }
void CChart::ChartSetZData(int count, std::span<const double> values) { m_def->zData = CopyValues(count, values, 0.0); }
void CChart::ChartSetPointFlags(int count, std::span<const int> flags) { m_def->pointFlags = CopyValues(count, flags, 0); }
void CChart::ChartSetColors(int count, std::span<const int> colors) { m_def->colors = CopyValues(count, colors, 0); }
void CChart::ChartSetPatterns(int count, std::span<const int> patterns)
{
    m_def->patterns = CopyValues(count, patterns, 0);
}
void CChart::ChartSetSymbols(int count, std::span<const int> symbols) { m_def->symbols = CopyValues(count, symbols, 0); }

void CChart::ChartSetPointLabels(int count, std::span<const std::string> labels)
{
    m_def->pointLabels = CopyValues(count, labels, std::string());
}

void CChart::ChartSetLegend(int count, std::span<const std::string> labels)
{
    m_def->legend = CopyValues(count, labels, std::string());
}

void CChart::ChartSetTitleA(const std::string& text) { m_def->titles[0] = text; }
void CChart::ChartSetTitleB(const std::string& text) { m_def->titles[1] = text; }
void CChart::ChartSetTitleC(const std::string& text) { m_def->titles[2] = text; }
void CChart::ChartSetTitleD(const std::string& text) { m_def->titles[3] = text; }

void CChart::ChartSetSideTitleStyle(int style, int /*unused*/)
{
    if (style == 6)
        m_def->leftTitleVertical = true;
    else if (style == 11)
        m_def->rightTitleVertical = true;
}

namespace {

void SetAxis(CChartAxisSettings& axis, int flags, int ticks, double max, double min)
{
    axis.set = true;
    axis.flags = flags;
    axis.ticks = std::min(ticks, CChartAxisSettings::kMaxMajorTicks);
    axis.max = max;
    axis.min = min;
}

} // namespace

void CChart::ChartSetAxisX(int flags, int ticks, int, double max, double min) { SetAxis(m_def->axes[0], flags, ticks, max, min); }
void CChart::ChartSetAxisY(int flags, int ticks, int, double max, double min) { SetAxis(m_def->axes[1], flags, ticks, max, min); }
void CChart::ChartSetAxisZ(int flags, int ticks, int, double max, double min) { SetAxis(m_def->axes[3], flags, ticks, max, min); }

void CChart::ChartSetMinorTicks(int axis, int count)
{
    if (axis >= 0 && axis < 4)
        m_def->axes[ToIndex(axis)].minorTicks = std::clamp(count, 0, CChartAxisSettings::kMaxMinorTicks);
}

void CChart::ChartSetAxisFormat(int axis, const std::string& format)
{
    if (axis >= 0 && axis < 4)
        m_def->axes[ToIndex(axis)].format = format;
}

void CChart::ChartSetFont(int group, int family, int style, int sizePercent)
{
    if (group >= 0 && group < 4)
        m_def->fonts[ToIndex(group)] = {family, style, sizePercent};
}

void CChart::ChartSetThin(int thin, int, int) { m_def->thin = thin; }

void CChart::ChartSetView(int mode, int rotation, int elevation, int eye)
{
    m_def->viewMode = mode;
    m_def->rotation = rotation;
    m_def->elevation = elevation;
    m_def->eye = eye;
}

void CChart::ChartSetDepth(int mode, int depth, int xGap, int zGap)
{
    m_def->depthMode = mode;
    m_def->depth = depth;
    m_def->xGap = xGap;
    m_def->zGap = zGap;
}

void CChart::ChartSetTriaxial(int, int) { m_def->triaxial = true; }
void CChart::ChartSetBarGap(int gap) { m_def->barGap = std::clamp(gap, 0, 95); }

void CChart::ChartKeepRoomForEnds(const std::string& foot, const std::string& far, int columns)
{
    m_def->endsBeyond = {foot, far};
    m_def->endsColumns = std::clamp(columns, 1, kMostEndColumns);
}
void CChart::ChartSetMarkerSize(double size) { m_draw->markerSize = std::max(size, 0.0); }

void CChart::ChartSetKind(int kind, int options, int /*flags*/)
{
    m_lastKind = kind;
    DrawChart(kind, options);
}

void CChart::ChartPlanKind(int kind, int options, int flags)
{
    // Drawn into an empty picture that is then dropped: the layout values stay.
    std::vector<CChartPrimitive> primitives;
    std::vector<CHitOnly> hitOnly;
    auto repeats = std::make_unique<CChartDuplicateFilter>(m_scale * m_pixelWidth / m_pixelHeight, m_scale);
    const auto swapPictures = [&] {
        std::swap(primitives, m_primitives);
        std::swap(hitOnly, m_hitOnly);
        std::swap(repeats, m_repeats);
    };
    const std::size_t axes = m_draw->valueAxes.size(), indexed = m_indexedLimit;
    const int lastKind = m_lastKind, objectId = m_lastObjectId, decoratedArea = m_decoratedArea;
    const std::size_t decorationsFrom = m_decorationsFrom, decorationsTo = m_decorationsTo;
    swapPictures();
    ChartSetKind(kind, options, flags);
    swapPictures();
    m_draw->valueAxes.resize(axes);
    m_indexedLimit = indexed;
    m_lastKind = lastKind;
    m_lastObjectId = objectId;
    // The titles and legend the plan drew went with its picture.
    m_decoratedArea = decoratedArea;
    m_decorationsFrom = decorationsFrom;
    m_decorationsTo = decorationsTo;
}

double CChart::ChartGetLayout(int selector) const
{
    const CChartArea& area = CurrentArea();
    if (selector == 8)
        return area.width;
    if (selector == 9)
        return area.height;
    if (selector < 0 || selector >= static_cast<int>(area.layout.values.size()))
        return 0.0;
    return area.layout.values[ToIndex(selector)];
}

// --- fonts and measures ---

CChartFont CChart::FontOf(int font) const
{
    return MakeFont(font == 3 ? m_draw->textFont : m_def->fonts[ToIndex(std::clamp(font, 0, 2))]);
}

CChartFont CChart::LegendFont() const { return MakeFont(m_def->fonts[3]); }

CChartFont CChart::MakeFont(const CChartFontSetting& setting) const
{
    const double base = std::clamp(std::min(m_pixelWidth, m_pixelHeight) / 28.0, 8.0, 13.0);
    CChartFont result;
    result.family = setting.family;
    result.style = setting.style;
    result.pixelSize = std::max(base * setting.sizePercent / 100.0, 1.0);
    return result;
}

double CChart::TextWidthUnits(const CChartFont& font, const std::string& text) const
{
    return m_metrics.TextWidth(font, text) / m_pixelsPerUnit / CurrentArea().unitScale;
}

double CChart::TextHeightUnits(const CChartFont& font) const
{
    return m_metrics.TextHeight(font) / m_pixelsPerUnit / CurrentArea().unitScale;
}

double CChart::ChartMeasureTextHeight(int font, int, const std::string&) const { return TextHeightUnits(FontOf(font)); }

double CChart::ChartMeasureTextWidth(int font, int, const std::string& text) const
{
    return TextWidthUnits(FontOf(font), text);
}

double CChart::ChartGetTextHeight() const { return TextHeightUnits(FontOf(3)); }

void CChart::ChartSetTextFont(int family, int style, int sizePercent, int) { m_draw->textFont = {family, style, sizePercent}; }

// --- drawing calls ---

void CChart::ChartDrawLine(double x1, double y1, double x2, double y2, int width, int style, int color)
{
    AddPolyline({{x1, y1}, {x2, y2}}, PaletteColor(color), std::max(width, 1), style);
}

void CChart::ChartDrawText(double x, double y, int font, int align, int color, const std::string& text)
{
    // A text placed across the chart's edge (a long corner label beside a zoomed triangle) is
    // moved in so that it shows whole; one wider or higher than the chart starts at its edge.
    const CChartFont f = FontOf(font);
    const double width = TextWidthUnits(f, text), height = TextHeightUnits(f);
    const double left = (align & 0x01) ? x - width : (align & 0x02) ? x - width / 2.0 : x;
    const double bottom = (align & 0x100) ? y - height : y;
    const CChartArea& area = CurrentArea();
    const auto inside = [](double at, double size, double origin, double scale, double chartSize) {
        const double low = -origin / scale, high = (chartSize - origin) / scale - size;
        return std::max(low, std::min(at, high)) - at;
    };
    if (area.unitScale > 0.0) {
        x += inside(left, width, area.originX, area.unitScale, m_areas.front().width);
        y += inside(bottom, height, area.originY, area.unitScale, m_areas.front().height);
    }
    AddText(x, y, align, f, PaletteColor(color), 0, text);
}

void CChart::ChartDrawSymbol(double x, double y, int symbol, int color)
{
    AddSymbol(x, y, m_draw->markerSize, symbol, PaletteColor(color), 0, 0, false);
}

void CChart::ChartSetShapeKind(int a, int b)
{
    m_draw->shapeA = std::max(a, 0);
    m_draw->shapeB = std::max(b, 0);
}

void CChart::ChartSetShapeGeometry(int a, int b, std::span<const double> values)
{
    ChartSetShapeKind(a, b);
    m_draw->shapeValues = CopyValues(m_draw->shapeA * m_draw->shapeB, values, 0.0);
}

void CChart::ChartSetMarkerX(int count, std::span<const double> x) { m_draw->markerX = CopyValues(count, x, 0.0); }
void CChart::ChartSetMarkerColors(int count, std::span<const int> colors) { m_draw->markerColors = CopyValues(count, colors, 0); }
void CChart::ChartSetMarkerSymbols(int count, std::span<const int> symbols)
{
    m_draw->markerSymbols = CopyValues(count, symbols, 0);
}
void CChart::ChartSetMarkerFlags(int count, std::span<const int> flags) { m_draw->markerFlags = CopyValues(count, flags, 0); }

void CChart::ChartDrawMarkers(double left, double bottom, int, int)
{
    const CChartDrawState& d = *m_draw;
    const int series = d.shapeB;
    const int count = series > 0 ? std::min(d.shapeA * d.shapeB, static_cast<int>(d.shapeValues.size())) : 0;
    std::vector<int> shown;
    std::vector<CChartMarkerPlace> places;
    for (int k = 0; k < count; ++k) {
        const std::size_t i = ToIndex(k);
        if (i < d.markerFlags.size() && (d.markerFlags[i] & kChartPointMissing))
            continue;
        const std::size_t s = ToIndex(k % series);
        const double x = left + (i < d.markerX.size() ? d.markerX[i] : 0.0);
        const int color = s < d.markerColors.size() ? d.markerColors[s] : 0;
        const int symbol = s < d.markerSymbols.size() ? d.markerSymbols[s] : 0;
        shown.push_back(k);
        places.push_back({x, bottom + d.shapeValues[i], symbol, PaletteColor(color)});
    }
    const std::vector<bool> covered = CoveredMarkers(places);
    for (std::size_t n = 0; n < shown.size(); ++n) {
        const CChartMarkerPlace& m = places[n];
        AddSymbol(m.x, m.y, d.markerSize, m.symbol, m.color, shown[n] % series, shown[n] / series, true, !covered[n]);
    }
}

void CChart::ChartSetFillColor(int color) { m_draw->fillColor = color; }

void CChart::ChartDrawBox()
{
    const CChartDrawState& d = *m_draw;
    if (d.shapeB != 2 || d.shapeA < 3)
        return;
    std::vector<CChartPointD> points;
    for (int i = 0; i < d.shapeA; ++i)
        points.push_back({d.shapeValues[ToIndex(2 * i)], d.shapeValues[ToIndex(2 * i + 1)]});
    AddPolygon(points, PaletteColor(d.fillColor), kChartPatternSolid, PaletteColor(0), 1.0, CChartPrimitive::kHitObject);
    m_primitives.back().objectId = ++m_lastObjectId;
}

void CChart::ChartDrawValueAxis(double x, double y, double length, double tickLength, int ticks, int mode)
{
    const bool upward = (mode & 4) != 0;
    const CColor black = PaletteColor(0);
    AddPolyline({{x, y}, upward ? CChartPointD{x, y + length} : CChartPointD{x + length, y}}, black, 1.0, 0);
    const int side = mode & 3;
    const double from = side == 1 ? 0.0 : -tickLength / (side == 2 ? 2.0 : 1.0);
    const double to = side == 0 ? 0.0 : tickLength / (side == 2 ? 2.0 : 1.0);
    NoteValueAxis(x, y, length, upward, from, to);
    for (int i = 0; i <= ticks && ticks > 0; ++i) {
        const double at = length * i / ticks;
        if (upward)
            AddPolyline({{x + from, y + at}, {x + to, y + at}}, black, 1.0, 0);
        else
            AddPolyline({{x + at, y + from}, {x + at, y + to}}, black, 1.0, 0);
    }
}

void CChart::ChartSetAxisPartA(double x, double y, double step, int count, int font, std::span<const std::string> labels)
{
    std::vector<CChartPointD> anchors;
    for (int k = 0; k < count && ToIndex(k) < labels.size(); ++k)
        anchors.push_back({x + k * step, y});
    if (EndsStandBeyond())
        DrawValueAxisEndsBeyond(FontOf(font), labels.first(anchors.size()));
    else
        DrawValueAxisNumbers(anchors, 0x02, FontOf(font), labels, true, true);
}

void CChart::ChartSetAxisPartB(double x, double y, double step, int count, int font, int align,
                               std::span<const std::string> labels)
{
    const CChartFont f = FontOf(font);
    const double drop = (align & 0x10) ? TextHeightUnits(f) : TextHeightUnits(f) / 2.0;
    std::vector<CChartPointD> anchors;
    for (int k = 0; k < count && ToIndex(k) < labels.size(); ++k)
        anchors.push_back({x, y + k * step - drop});
    if (EndsStandBeyond())
        DrawValueAxisEndsBeyond(f, labels.first(anchors.size()));
    else
        DrawValueAxisNumbers(anchors, 0x01, f, labels, false);
}

int CChart::ChartSetBackgroundImage(double left, double bottom, double width, double height, const std::string& file)
{
    if (file.empty() || !m_metrics.CanReadImage(file))
        return 1;
    CChartPrimitive image;
    image.type = CChartPrimitive::Type::Image;
    image.text = file;
    image.points = {ToMain(left, bottom), ToMain(left + width, bottom + height)};
    SetBoundsFromPoints(image);
    AddPrimitive(std::move(image));
    return 0;
}

void CChart::ChartCall261(double x, double y, double width, double height)
{
    AddPolygon({{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}}, BackgroundColor(),
               kChartPatternSolid, CColor(), 0.0);
}

int CChart::ChartBeginSubArea(double x, double y, double width, double height, double scale)
{
    const CChartArea& parent = m_areas.back();
    CChartArea area;
    area.id = m_nextAreaId++;
    area.originX = parent.originX + x * parent.unitScale;
    area.originY = parent.originY + y * parent.unitScale;
    const double s = scale > 0.0 ? scale : 1000.0;
    area.height = height > 0.0 ? s : 0.0;
    area.width = height > 0.0 ? s * width / height : 0.0;
    area.unitScale = height > 0.0 ? parent.unitScale * height / s : parent.unitScale;
    m_areas.push_back(area);
    return area.id;
}

void CChart::ChartEndSubArea(int area)
{
    for (std::size_t i = m_areas.size(); i-- > 1;) {
        if (m_areas[i].id == area) {
            m_areas.resize(i);
            return;
        }
    }
}

// --- primitives ---

CChartPointD CChart::ToMain(double x, double y) const
{
    const CChartArea& a = m_areas.back();
    return {a.originX + x * a.unitScale, a.originY + y * a.unitScale};
}

CChartPointD CChart::FromMain(const CChartPointD& p) const
{
    const CChartArea& a = m_areas.back();
    return {(p.x - a.originX) / a.unitScale, (p.y - a.originY) / a.unitScale};
}

double CChart::ToMainLength(double length) const { return length * m_areas.back().unitScale; }

void CChart::AddPrimitive(CChartPrimitive primitive)
{
    // A degenerate size or range upstream gives no drawing, never a NaN coordinate.
    if (!IsFinitePrimitive(primitive))
        return;
    // A second definition pass draws its texts and lines again: the same text or line drawn
    // twice at one place is kept once, unless something opaque was drawn over it meanwhile.
    if (IsRepeatableChartPrimitive(primitive) && (IsRepeat(primitive) || RepeatsDecoration(primitive)))
        return;
    m_primitives.push_back(std::move(primitive));
}

bool CChart::RepeatsDecoration(const CChartPrimitive& primitive) const
{
    const auto first = m_primitives.begin() + static_cast<std::ptrdiff_t>(m_decorationsFrom);
    const auto last = m_primitives.begin() + static_cast<std::ptrdiff_t>(m_decorationsTo);
    return m_redecorating && std::any_of(first, last, [&](const CChartPrimitive& p) { return SameChartDrawing(p, primitive); });
}

bool CChart::IsRepeat(const CChartPrimitive& primitive)
{
    m_repeats->CatchUp(m_primitives, m_indexedLimit);
    // The primitives not indexed yet, the latest first, then the indexed ones.
    for (std::size_t i = m_primitives.size(); i-- > m_repeats->Indexed();) {
        const CChartPrimitive& earlier = m_primitives[i];
        if (IsOpaqueChartPrimitive(earlier) && ChartBoxesOverlap(earlier, primitive))
            return false;
        if (SameChartDrawing(earlier, primitive))
            return true;
    }
    return m_repeats->IsRepeat(m_primitives, primitive);
}

void CChart::AddPolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                        double outlineWidth, int hitKind, int column, int row)
{
    if (points.size() >= 3)
        AddPrimitive(MakePolygon(points, fill, pattern, outline, outlineWidth, hitKind, column, row));
}

CChartPrimitive CChart::MakePolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                                    double outlineWidth, int hitKind, int column, int row) const
{
    CChartPrimitive p;
    p.type = CChartPrimitive::Type::Polygon;
    p.points.reserve(points.size());
    for (const CChartPointD& point : points)
        p.points.push_back(ToMain(point.x, point.y));
    p.color = fill;
    p.pattern = pattern;
    p.outline = outline;
    p.outlineWidth = outlineWidth;
    p.hitKind = hitKind;
    p.column = column;
    p.row = row;
    SetBoundsFromPoints(p);
    return p;
}

void CChart::AddPolygons(std::vector<std::vector<CChartPrimitive>>&& parts)
{
    // Room for all at once: the boxes of a hundred thousand glazes come in dozens of parts, and
    // room made for each part alone moved every primitive before it again.
    std::size_t count = m_primitives.size();
    for (const std::vector<CChartPrimitive>& part : parts)
        count += part.size();
    m_primitives.reserve(count);
    for (std::vector<CChartPrimitive>& part : parts) {
        for (CChartPrimitive& p : part) {
            if (p.points.size() >= 3)
                AddPrimitive(std::move(p));
        }
        std::vector<CChartPrimitive>().swap(part);
    }
}

void CChart::AddPolyline(const std::vector<CChartPointD>& points, CColor color, double width, int dash)
{
    if (points.size() < 2)
        return;
    CChartPrimitive p;
    p.type = CChartPrimitive::Type::Polyline;
    p.points.reserve(points.size());
    for (const CChartPointD& point : points)
        p.points.push_back(ToMain(point.x, point.y));
    p.color = color;
    p.lineWidth = width;
    p.dash = dash;
    SetBoundsFromPoints(p);
    AddPrimitive(std::move(p));
}

CChartRect CChart::TextBox(double x, double y, int align, const CChartFont& font, int angle, const std::string& text) const
{
    const double textWidth = TextWidthUnits(font, text);
    const double textHeight = TextHeightUnits(font);
    const bool turned = angle == 90 || angle == 270;
    const double boxWidth = turned ? textHeight : textWidth;
    const double boxHeight = turned ? textWidth : textHeight;
    const double left = (align & 0x01) ? x - boxWidth : (align & 0x02) ? x - boxWidth / 2.0 : x;
    const double bottom = (align & 0x100) ? y - boxHeight : y;
    return {left, bottom, left + boxWidth, bottom + boxHeight};
}

bool CChart::TextStandsClear(double x, double y, int align, const CChartFont& font, int angle, const std::string& text,
                             double reach) const
{
    const CChartRect box = TextBox(x, y, align, font, angle, text);
    return ClearOfTexts(PixelArea(box.left, box.bottom, box.right, box.top), reach * PixelsPerUnit() * CurrentArea().unitScale);
}

void CChart::AddText(double x, double y, int align, const CChartFont& font, CColor color, int angle,
                     const std::string& text)
{
    if (text.empty())
        return;
    const bool turned = angle == 90 || angle == 270;
    const CChartRect box = TextBox(x, y, align, font, angle, text);
    const double left = box.left, bottom = box.bottom, boxWidth = box.Width(), boxHeight = box.Height();
    // The corner the canvas turns the text about: the top-left corner of the upright text.
    CChartPointD anchor{left, bottom + boxHeight};
    if (angle == 90)
        anchor = {left, bottom};
    else if (angle == 270)
        anchor = {left + boxWidth, bottom + boxHeight};
    CChartPrimitive p;
    p.type = CChartPrimitive::Type::Text;
    p.text = text;
    p.font = font;
    p.color = color;
    p.angle = turned ? angle : 0;
    p.points = {ToMain(anchor.x, anchor.y)};
    const CChartPointD corner = ToMain(left, bottom);
    p.left = corner.x;
    p.bottom = corner.y;
    p.width = ToMainLength(boxWidth);
    p.height = ToMainLength(boxHeight);
    AddPrimitive(std::move(p));
}

CColor CChart::SeriesColor(int index) const { return PaletteColor(index); }

int CChart::ColorIndexFor(int point, int set, bool perPoint) const
{
    static constexpr int kAutomatic[] = {9, 12, 10, 14, 11, 13, 1, 4, 2, 6, 3, 5, 8, 7};
    const int i = std::max(perPoint ? point : set, 0);
    if (m_def->colors.empty())
        return kAutomatic[ToIndex(i) % std::size(kAutomatic)];
    return m_def->colors[ToIndex(i) % m_def->colors.size()];
}

int CChart::PatternFor(int point, int set, bool perPoint) const
{
    if (m_def->patterns.empty())
        return kChartPatternSolid;
    const int i = std::max(perPoint ? point : set, 0);
    return m_def->patterns[ToIndex(i) % m_def->patterns.size()];
}

CChartHit CChart::HitTest(double pixelX, double pixelY) const
{
    const double x = PixelsToUnitsX(pixelX);
    const double y = PixelsToUnitsY(pixelY);
    const double tolerance = 3.0 / m_pixelsPerUnit;
    const auto near = [&](double left, double bottom, double width, double height) {
        return x >= left - tolerance && x <= left + width + tolerance && y >= bottom - tolerance &&
               y <= bottom + height + tolerance;
    };
    // The markers not drawn answer in their place among the drawn primitives.
    std::size_t hidden = m_hitOnly.size();
    const auto hiddenHit = [&](std::size_t above) -> const CHitOnly* {
        for (; hidden > 0 && m_hitOnly[hidden - 1].before >= above; --hidden) {
            const CHitOnly& h = m_hitOnly[hidden - 1];
            if (near(h.left, h.bottom, h.size, h.size))
                return &h;
        }
        return nullptr;
    };
    for (std::size_t i = m_primitives.size(); i-- > 0;) {
        if (const CHitOnly* h = hiddenHit(i + 1))
            return {CChartPrimitive::kHitCell, 0, h->column, h->row};
        const CChartPrimitive& p = m_primitives[i];
        if (p.hitKind == CChartPrimitive::kHitNone)
            continue;
        if (!near(p.left, p.bottom, p.width, p.height))
            continue;
        if (p.hitByBounds || p.type != CChartPrimitive::Type::Polygon || PolygonContains(p.points, x, y) ||
            NearPolygonEdge(p.points, x, y, std::max(p.outlineWidth, 1.0) / 2.0 / m_pixelsPerUnit))
            return {p.hitKind, p.objectId, p.column, p.row};
    }
    if (const CHitOnly* h = hiddenHit(0))
        return {CChartPrimitive::kHitCell, 0, h->column, h->row};
    return {};
}

void CChart::Draw(CChartCanvas& canvas) const { Draw(canvas, CChartPixelArea()); }

void CChart::Draw(CChartCanvas& canvas, const CChartPixelArea& area, double margin) const
{
    canvas.FillBackground(BackgroundColor());
    std::vector<CChartPointD> pixels; // one primitive's points at a time, its room kept
    for (auto at = m_primitives.begin(); at != m_primitives.end(); ++at) {
        const CChartPrimitive& p = *at;
        const CChartPixelArea reach = Reach(p);
        if (reach.right + margin < area.left || reach.left - margin > area.right || reach.bottom + margin < area.top ||
            reach.top - margin > area.bottom)
            continue;
        pixels.clear();
        for (const CChartPointD& point : p.points)
            pixels.push_back({UnitsToPixelsX(point.x), UnitsToPixelsY(point.y)});
        switch (p.type) {
        case CChartPrimitive::Type::Polygon: {
            // The same face drawn over again at once.
            const auto same = [&p](const CChartPrimitive& q) {
                return q.type == p.type && q.color == p.color && q.pattern == p.pattern && q.outline == p.outline &&
                       q.outlineWidth == p.outlineWidth && q.points == p.points;
            };
            int times = 1;
            for (; at + 1 != m_primitives.end() && same(at[1]); ++at)
                ++times;
            canvas.DrawPolygonTimes(pixels, p.color, p.pattern, p.outline, p.outlineWidth, times);
            break;
        }
        case CChartPrimitive::Type::Polyline:
            canvas.DrawPolyline(pixels, p.color, p.lineWidth, p.dash);
            break;
        case CChartPrimitive::Type::Text:
            canvas.DrawText(p.text, p.font, p.color, pixels[0].x, pixels[0].y, p.angle);
            break;
        case CChartPrimitive::Type::Image:
            canvas.DrawImage(p.text, pixels[0].x, pixels[1].y, pixels[1].x - pixels[0].x, pixels[0].y - pixels[1].y);
            break;
        }
    }
}

CChartPixelArea CChart::Reach(const CChartPrimitive& p) const
{
    // Beyond its box a polygon or line draws no further than its pen's width and a pixel of
    // antialiased edge, a text no further than twice its size (slanted and overhanging letters);
    // an image anywhere.
    double reach = 0.0;
    switch (p.type) {
    case CChartPrimitive::Type::Polygon: reach = std::max(p.outlineWidth, 1.0) + 1.0; break;
    case CChartPrimitive::Type::Polyline: reach = std::max(p.lineWidth, 1.0) + 1.0; break;
    case CChartPrimitive::Type::Text: reach = 2.0 * p.font.pixelSize; break;
    case CChartPrimitive::Type::Image: return CChartPixelArea();
    }
    return {UnitsToPixelsX(p.left) - reach, UnitsToPixelsY(p.bottom + p.height) - reach,
            UnitsToPixelsX(p.left + p.width) + reach, UnitsToPixelsY(p.bottom) + reach};
}

bool CChartMetrics::CanReadImage(const std::string& path) const
{
    // A pipe or device of that name would block the opening or never end.
    CInputFile file;
    return file.Open(path);
}

double CChartApproxMetrics::TextWidth(const CChartFont& font, const std::string& text) const
{
    return 0.55 * font.pixelSize * static_cast<double>(text.size());
}

double CChartApproxMetrics::TextHeight(const CChartFont& font) const { return 1.2 * font.pixelSize; }

const CChartMetrics& GetApproxChartMetrics()
{
    static const CChartApproxMetrics metrics;
    return metrics;
}
