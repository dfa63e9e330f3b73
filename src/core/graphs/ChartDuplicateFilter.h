#pragma once

// What keeps a chart's second definition pass from drawing its texts and lines twice, at a cost
// that does not grow with the square of the picture.
//
// The rule (CChart::AddPrimitive): a text or line is dropped when an earlier primitive draws
// exactly the same (SameChartDrawing) and nothing opaque - a filled polygon or an image - was
// drawn after that earlier one over the new one's box. Checking it against every earlier
// primitive costs the length of the list for each legend entry, grid line and tick, which is
// what made charts of many thousand glazes take minutes. The filter answers the same question
// from two indexes over the primitives it has been given:
//   - every text and line by the hash of what it draws, the latest first: the earlier copy is
//     found without looking at anything else;
//   - every opaque primitive in the cells of a coarse grid over the chart's area that its box
//     touches (those that touch many cells in one list of wide ones): only the opaque ones drawn
//     since the copy, in the cells the new box touches, are tested for overlap.
//
// The filter indexes the list's primitives in order (CatchUp) and looks only at those; the
// chart checks the few not yet indexed itself. A primitive must not change once indexed.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

struct CChartPrimitive;

// True when the two draw exactly the same (type, points, colour, text, font, angle, line width,
// dash and what a click on them reports).
bool SameChartDrawing(const CChartPrimitive& a, const CChartPrimitive& b);
// True when their boxes meet (touching edges count).
bool ChartBoxesOverlap(const CChartPrimitive& a, const CChartPrimitive& b);
// True for what hides what lies under it: filled polygons and images.
bool IsOpaqueChartPrimitive(const CChartPrimitive& p);
// True for the primitives the rule drops when repeated: texts and lines.
bool IsRepeatableChartPrimitive(const CChartPrimitive& p);

class CChartDuplicateFilter {
public:
    // A chart area of width x height units (the grid's extent; boxes beyond it fall in the
    // border cells).
    CChartDuplicateFilter(double width, double height);

    // How many of the list's primitives are indexed (the first ones).
    std::size_t Indexed() const { return m_indexed; }
    // Indexes the list's first `count` primitives not yet indexed.
    void CatchUp(const std::vector<CChartPrimitive>& list, std::size_t count);
    // True when p (a text or a line) repeats an indexed primitive with nothing opaque drawn over
    // p's box among the indexed primitives after it.
    bool IsRepeat(const std::vector<CChartPrimitive>& list, const CChartPrimitive& p) const;

private:
    static constexpr std::uint32_t kNone = 0xffffffffu;
    static constexpr int kCells = 32;            // per side
    static constexpr int kMostCellsPerBox = 64;  // a box over more cells goes in the wide list

    struct CCellRange {
        int x0, x1, y0, y1;
        int Count() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
    };
    CCellRange CellsOf(const CChartPrimitive& p) const;
    int CellOf(double value, double cellSize) const;
    bool CoveredAfter(const std::vector<CChartPrimitive>& list, std::uint32_t earlier, const CChartPrimitive& p) const;
    void Add(const std::vector<CChartPrimitive>& list, std::uint32_t index);

    double m_cellWidth;
    double m_cellHeight;
    std::size_t m_indexed = 0;
    // The latest text or line of each hash, and for each indexed primitive the one before it of
    // the same hash (kNone for none, and for primitives that are not texts or lines).
    std::unordered_map<std::uint64_t, std::uint32_t> m_latest;
    std::vector<std::uint32_t> m_sameHashBefore;
    // The opaque primitives in drawing order: per grid cell, and those over many cells.
    std::vector<std::vector<std::uint32_t>> m_cells;
    std::vector<std::uint32_t> m_wide;
};
