#include "graphs/ChartBoxCover.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The width of a cover column: a quarter pixel.
constexpr double kColumnPixels = 0.25;
// A box's outline reaches this far beyond its picture.
constexpr double kInkReach = 0.5;
// Room for the outlines beyond the picture, and for uprights leaning in perspective.
constexpr double kMarginPixels = 8.0;

} // namespace

std::size_t BoxFaceBudget(double columnPixels)
{
    return static_cast<std::size_t>(std::clamp(kBudgetFacesPerPixel * columnPixels, static_cast<double>(kLeastBoxFaceBudget),
                                               static_cast<double>(kMostBoxFaceBudget)));
}

bool CBoxRowDrawing::Whole(int row) const
{
    return !slim || wholeShare >= 1.0 || std::floor((row + 1) * wholeShare) > std::floor(row * wholeShare);
}

CBoxRowDrawing BoxRowDrawing(double pitch, std::size_t boxes, int facesOfABox, double columnPixels)
{
    const double budget = static_cast<double>(BoxFaceBudget(columnPixels));
    const double ends = static_cast<double>(boxes), faces = ends * std::max(facesOfABox, 1);
    CBoxRowDrawing drawing;
    drawing.slim = pitch < kSlimRowPixels || (pitch < kBudgetSlimRowPixels && faces > budget);
    if (!drawing.slim)
        return drawing;
    // Every end face, and every face of as many rows as the budget holds.
    drawing.wholeShare = pitch >= kSlimRowPixels && faces > ends ? std::clamp((budget - ends) / (faces - ends), 0.0, 1.0) : 0.0;
    // Runs kRunPixels deep where that holds kLeastRunRows rows, else thin runs about as many as
    // the budget.
    drawing.thin = kLeastRunRows * pitch > kRunPixels;
    drawing.runs = ends > budget || !drawing.thin;
    drawing.runDepth = drawing.thin ? kThinRunShare * columnPixels / budget : kRunPixels;
    return drawing;
}

std::int64_t CChartColumnRuns::Window(double depth) const
{
    return ChartCell(depth / m_depth);
}

void CChartColumnRuns::Note(std::size_t column, double depth)
{
    CColumn& c = m_columns[column];
    c.first = std::min(c.first, Window(depth));
    c.last = std::max(c.last, Window(depth));
}

CChartColumnRuns::CTaken CChartColumnRuns::Take(const CRow& row)
{
    CColumn& column = m_columns[row.column];
    const std::int64_t window = Window(row.depth);
    const bool end = window == column.first || window == column.last;
    const bool standsOut = !column.any || row.bottom < column.bottom - kRunPixels || row.top > column.top + kRunPixels;
    if (row.hollow || end || standsOut) {
        // Farther rows are drawn before it, apart.
        std::fill(std::begin(column.runs), std::end(column.runs), CRun{});
        if (!row.hollow) {
            column.bottom = column.any ? std::min(column.bottom, row.bottom) : row.bottom;
            column.top = column.any ? std::max(column.top, row.top) : row.top;
            column.any = true;
        }
        return {m_pieces++, false};
    }
    // Which ends of the nearer rows it reaches: only rows at the top make the column's top.
    const int ends = (row.top >= column.top - kRunPixels ? 1 : 0) + (row.bottom <= column.bottom + kRunPixels ? 2 : 0);
    CRun& run = column.runs[ends];
    const double bottom = std::min(run.bottom, row.bottom), top = std::max(run.top, row.top);
    const auto reachesOver = [&](double low, double high) { return low <= bottom + kRunPixels && high >= top - kRunPixels; };
    const bool answerStays = reachesOver(run.answerBottom, run.answerTop);
    column.bottom = std::min(column.bottom, row.bottom);
    column.top = std::max(column.top, row.top);
    if (run.piece == kNone || run.window != window || run.pattern != row.pattern ||
        !(answerStays || reachesOver(row.bottom, row.top))) {
        run = {m_pieces++, window, row.pattern, row.bottom, row.top, row.bottom, row.top};
        return {run.piece, true, true};
    }
    run.bottom = bottom;
    run.top = top;
    if (!answerStays) {
        run.answerBottom = row.bottom;
        run.answerTop = row.top;
    }
    return {run.piece, true, !answerStays};
}

CChartBoxCover::CChartBoxCover(double left, double right, double across)
    : m_columns(across < kNarrowBoxPixels
                    ? static_cast<std::size_t>(std::max(0.0, std::ceil((right - left + 2.0 * kMarginPixels) / kColumnPixels)))
                    : 0),
      m_origin(left - kMarginPixels), m_reach(across / 2.0 + kInkReach)
{
}

bool CChartBoxCover::Covered(const CCoverStrip& strip, bool hides)
{
    // The columns whose middle lines the strip's ink crosses; ink beyond the columns is not
    // covered.
    const double from = std::ceil((strip.middle - m_reach - m_origin) / kColumnPixels - 0.5);
    const double to = std::ceil((strip.middle + m_reach - m_origin) / kColumnPixels - 0.5);
    if (m_columns.empty() || !(from >= 0.0) || !(to < static_cast<double>(m_columns.size())) || to <= from)
        return false;
    const auto first = static_cast<std::size_t>(from), end = static_cast<std::size_t>(to);
    const double low = strip.bottom - kInkReach, high = strip.top + kInkReach;
    bool covered = true;
    for (std::size_t c = first; c < end && covered; ++c)
        covered = m_columns[c].Covers(low, high);
    if (covered)
        return true;
    if (hides) {
        for (std::size_t c = first; c < end; ++c)
            m_columns[c].Add(low, high);
    }
    return false;
}
