#include "graphs/ChartDuplicateFilter.h"

#include "graphs/Chart.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

namespace {

std::uint64_t Mix(std::uint64_t seed, std::uint64_t value)
{
    // splitmix64's finaliser over the running value.
    std::uint64_t z = seed ^ (value + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2));
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

// Equal numbers hash alike: minus zero as zero (the primitives are finite).
std::uint64_t Bits(double value)
{
    const double normal = value == 0.0 ? 0.0 : value;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &normal, sizeof bits);
    return bits;
}

// The hash of what SameChartDrawing compares.
std::uint64_t DrawingHash(const CChartPrimitive& p)
{
    std::uint64_t h = Mix(static_cast<std::uint64_t>(p.type), p.color.ToColorRef());
    for (const CChartPointD& point : p.points)
        h = Mix(Mix(h, Bits(point.x)), Bits(point.y));
    h = Mix(h, std::hash<std::string_view>()(p.text));
    h = Mix(Mix(Mix(h, static_cast<std::uint64_t>(p.font.family)), static_cast<std::uint64_t>(p.font.style)),
            Bits(p.font.pixelSize));
    h = Mix(Mix(h, static_cast<std::uint64_t>(p.angle)), Bits(p.lineWidth));
    return Mix(Mix(h, static_cast<std::uint64_t>(p.dash)), static_cast<std::uint64_t>(p.hitKind));
}

} // namespace

bool SameChartDrawing(const CChartPrimitive& a, const CChartPrimitive& b)
{
    return a.type == b.type && a.points == b.points && a.color == b.color && a.text == b.text && a.font == b.font &&
           a.angle == b.angle && a.lineWidth == b.lineWidth && a.dash == b.dash && a.hitKind == b.hitKind;
}

bool ChartBoxesOverlap(const CChartPrimitive& a, const CChartPrimitive& b)
{
    return a.left <= b.left + b.width && b.left <= a.left + a.width && a.bottom <= b.bottom + b.height &&
           b.bottom <= a.bottom + a.height;
}

bool IsOpaqueChartPrimitive(const CChartPrimitive& p)
{
    return p.type == CChartPrimitive::Type::Image ||
           (p.type == CChartPrimitive::Type::Polygon && p.pattern != kChartPatternHollow);
}

bool IsRepeatableChartPrimitive(const CChartPrimitive& p)
{
    return p.type == CChartPrimitive::Type::Text || p.type == CChartPrimitive::Type::Polyline;
}

CChartDuplicateFilter::CChartDuplicateFilter(double width, double height)
    : m_cellWidth(std::isfinite(width) && width > 0.0 ? width / kCells : 1.0),
      m_cellHeight(std::isfinite(height) && height > 0.0 ? height / kCells : 1.0),
      m_cells(static_cast<std::size_t>(kCells * kCells))
{
}

int CChartDuplicateFilter::CellOf(double value, double cellSize) const
{
    // Monotonic in value, so two boxes that meet share a cell.
    const double cell = std::floor(value / cellSize);
    return static_cast<int>(std::clamp(cell, 0.0, static_cast<double>(kCells - 1)));
}

CChartDuplicateFilter::CCellRange CChartDuplicateFilter::CellsOf(const CChartPrimitive& p) const
{
    const double right = p.left + p.width;
    const double top = p.bottom + p.height;
    return {CellOf(std::min(p.left, right), m_cellWidth), CellOf(std::max(p.left, right), m_cellWidth),
            CellOf(std::min(p.bottom, top), m_cellHeight), CellOf(std::max(p.bottom, top), m_cellHeight)};
}

void CChartDuplicateFilter::CatchUp(const std::vector<CChartPrimitive>& list, std::size_t count)
{
    for (count = std::min(count, list.size()); m_indexed < count; ++m_indexed)
        Add(list, static_cast<std::uint32_t>(m_indexed));
}

void CChartDuplicateFilter::Add(const std::vector<CChartPrimitive>& list, std::uint32_t index)
{
    const CChartPrimitive& p = list[index];
    std::uint32_t before = kNone;
    if (IsRepeatableChartPrimitive(p)) {
        auto [slot, added] = m_latest.try_emplace(DrawingHash(p), index);
        if (!added)
            before = std::exchange(slot->second, index);
    }
    m_sameHashBefore.push_back(before);
    if (!IsOpaqueChartPrimitive(p))
        return;
    const CCellRange cells = CellsOf(p);
    if (cells.Count() > kMostCellsPerBox) {
        m_wide.push_back(index);
        return;
    }
    for (int y = cells.y0; y <= cells.y1; ++y)
        for (int x = cells.x0; x <= cells.x1; ++x)
            m_cells[static_cast<std::size_t>(y * kCells + x)].push_back(index);
}

bool CChartDuplicateFilter::IsRepeat(const std::vector<CChartPrimitive>& list, const CChartPrimitive& p) const
{
    const auto latest = m_latest.find(DrawingHash(p));
    if (latest == m_latest.end())
        return false;
    for (std::uint32_t i = latest->second; i != kNone; i = m_sameHashBefore[i]) {
        if (SameChartDrawing(list[i], p))
            return !CoveredAfter(list, i, p);
    }
    return false;
}

bool CChartDuplicateFilter::CoveredAfter(const std::vector<CChartPrimitive>& list, std::uint32_t earlier,
                                         const CChartPrimitive& p) const
{
    // Each list holds indexes in drawing order: only its tail after the earlier copy counts.
    const auto coveredIn = [&](const std::vector<std::uint32_t>& indexes) {
        for (auto i = indexes.rbegin(); i != indexes.rend() && *i > earlier; ++i) {
            if (ChartBoxesOverlap(list[*i], p))
                return true;
        }
        return false;
    };
    if (coveredIn(m_wide))
        return true;
    const CCellRange cells = CellsOf(p);
    for (int y = cells.y0; y <= cells.y1; ++y)
        for (int x = cells.x0; x <= cells.x1; ++x)
            if (coveredIn(m_cells[static_cast<std::size_t>(y * kCells + x)]))
                return true;
    return false;
}
