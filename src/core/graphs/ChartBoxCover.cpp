#include "graphs/ChartBoxCover.h"

#include <algorithm>
#include <cmath>

namespace {

// The width of a column: a sixteenth of a pixel, so that the boxes of neighbouring categories
// a fraction of a pixel apart cover what they cover in whole columns.
constexpr double kColumnPixels = 1.0 / 16.0;
// A box's outline reaches this far beyond its picture.
constexpr double kInkReach = 0.5;
// Room for the outlines beyond the picture, and for uprights leaning in perspective.
constexpr double kMarginPixels = 8.0;

} // namespace

CChartBoxCover::CChartBoxCover(double left, double right)
    : m_columns(static_cast<std::size_t>(std::max(0.0, std::ceil((right - left + 2.0 * kMarginPixels) / kColumnPixels)))),
      m_origin(left - kMarginPixels)
{
}

std::pair<std::size_t, std::size_t> CChartBoxCover::Columns(double from, double to, bool whole) const
{
    const double count = static_cast<double>(m_columns.size());
    const double at = (from - m_origin) / kColumnPixels;
    const double first = whole ? std::ceil(at) : std::floor(at);
    const double end = std::floor((to - m_origin) / kColumnPixels) + (whole ? 0.0 : 1.0);
    return {static_cast<std::size_t>(std::clamp(first, 0.0, count)), static_cast<std::size_t>(std::clamp(end, 0.0, count))};
}

bool CChartBoxCover::Covered(const CCoverPicture& picture, bool hides)
{
    // The ink, the picture's bounds grown by the outline, in every column it reaches; ink beyond
    // the columns is not covered.
    const CChartRect& b = picture.bounds;
    const double right = m_origin + static_cast<double>(m_columns.size()) * kColumnPixels;
    if (b.left - kInkReach >= m_origin && b.right + kInkReach < right) {
        const auto [first, end] = Columns(b.left - kInkReach, b.right + kInkReach, false);
        bool covered = first < end;
        for (std::size_t c = first; c < end && covered; ++c)
            covered = m_columns[c].Covers(b.bottom - kInkReach, b.top + kInkReach);
        if (covered)
            return true;
    }
    const CChartRect& r = picture.inner;
    if (!hides || r.right < r.left || r.top < r.bottom)
        return false;
    // Its ink holds the inner rectangle grown by the outline: across at the rectangle's height,
    // and up and down over its width.
    const auto [first, end] = Columns(r.left - kInkReach, r.right + kInkReach, true);
    for (std::size_t c = first; c < end; ++c)
        m_columns[c].Add(r.bottom, r.top);
    const auto [coreFirst, coreEnd] = Columns(r.left, r.right, true);
    for (std::size_t c = coreFirst; c < coreEnd; ++c)
        m_columns[c].Add(r.bottom - kInkReach, r.top + kInkReach);
    return false;
}
