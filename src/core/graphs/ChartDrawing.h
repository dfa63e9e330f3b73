#pragma once

// How a chart draws each of its kinds (used only by the chart's own files). Everything here
// works in the current area's units, y upward, and adds primitives through CChart.

#include "graphs/Chart.h"
#include "graphs/ChartDefinition.h"

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

struct CChartRect {
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;
    double top = 0.0;

    double Width() const { return right - left; }
    double Height() const { return top - bottom; }
    double CenterX() const { return (left + right) / 2.0; }
    double CenterY() const { return (bottom + top) / 2.0; }
};

// The range and divisions of a numeric axis.
struct CChartScale {
    double min = 0.0;
    double max = 1.0;
    int majors = 1; // major intervals
    int minors = 0; // minor ticks in each major interval

    double Step() const { return (max - min) / majors; }
    // The fraction 0..1 of the axis at which value lies (unclamped).
    double Fraction(double value) const { return max > min ? (value - min) / (max - min) : 0.0; }
};

// The axis' scale: fixed ends and divisions as its flags ask, the rest rounded outward to a
// step of 1, 2, 2.5 or 5 times a power of ten (about five intervals) around the data; with
// includeZero the range reaches 0.
CChartScale MakeChartScale(const CChartAxisSettings& axis, double dataMin, double dataMax, bool includeZero);

// An axis number: by the format (see CChart::ChartSetAxisFormat) or, without one, with as many
// decimals as the step needs.
std::string FormatChartNumber(double value, const std::string& format, double step);

// The text shortened with "..." until it fits the width (at least its first character).
std::string ElideChartText(const CChart& chart, const CChartFont& font, const std::string& text, double width);
// The text broken at blanks into lines no wider than the width; a word wider than the width
// stays whole on a line of its own.
std::vector<std::string> WrapChartText(const CChart& chart, const CChartFont& font, const std::string& text,
                                       double width);

// Darker (factor below 1) or lighter shade of a colour.
CColor ShadeColor(CColor color, double factor);

// Which of the names at `places` along an axis (in their order along it) are drawn, where each
// takes `size` of the axis (a line's height for names upright side by side or one above another):
// every name where they stand apart; where they would stand over one another, as hundreds of
// category names would, each that stands clear of the last one drawn (every k-th where they
// stand evenly). An empty name takes no place and no turn.
std::vector<bool> ChartNamesShown(const CChart& chart, std::span<const double> places,
                                  std::span<const std::string> names, double size);

// Which of the numbers of a scale at `places` along an axis are drawn, where each takes `size` of
// it: every k-th from the foot, k the fewest steps that divide the scale's intervals (so that the
// numbers step evenly and the far end is among them) and keep each two drawn `size` apart; the
// foot alone where not even the two ends stand apart.
std::vector<bool> ChartNumbersShown(const CChart& chart, std::span<const double> places,
                                    std::span<const std::string> numbers, double size);

// Titles and legend; returns what is left for the plot.
CChartRect DrawChartDecorations(CChart& chart, int kind);

// One bar in slot coordinates (c0..c1 along the category axis) and values (v0..v1).
struct CBar {
    int point = 0;
    int set = 0;
    double c0 = 0.0;
    double c1 = 0.0;
    double v0 = 0.0;
    double v1 = 0.0;
};

struct CBarStyle {
    bool horizontal = false;
    bool stacked = false;
    bool floating = false;
    bool perPoint = false;
};

// The bars of the definition, and the range of values they span.
std::vector<CBar> MakeBars(const CChartDefinition& def, const CBarStyle& style, double& low, double& high);

// Bars narrower than this many pixels are drawn many to a pixel (a group of many thousand
// glazes), one over another: there a bar that later ones cover leaves no trace (see CLaterSpans).
constexpr double kThinBarPixels = 0.25;

// The cell of a grid of unit cells that a coordinate falls in: value rounded down.
std::int64_t ChartCell(double value);

// A group of things drawn one over another (the bars of a pixel column, say): its members
// cover one another, and no other things.
struct CCoverGroup {
    std::int64_t a = 0;
    std::int64_t b = 0;
    std::int64_t c = 0;
    bool operator==(const CCoverGroup&) const = default;
};

// What the later of a group of things drawn one over another cover, the things taken from the
// last drawn back to the first: a thing that later ones cover from end to end leaves no trace and
// need not be drawn. The group keeps the stretch (of values, or of the picture's height) that its
// later things cover without a gap (the longest, where they leave one).
class CLaterCover {
public:
    // Whether the later things cover low..high.
    bool Covers(double low, double high) const { return low >= m_low && high <= m_high; }
    // Adds a later thing's stretch.
    void Add(double low, double high);

private:
    double m_low = 0.0;
    double m_high = -1.0; // empty
};

// Things drawn many to a pixel in groups (the bars of a pixel column, say), each covering only
// things of its own group.
class CLaterSpans {
public:
    // Takes the next thing back: true when the later things of its group cover low..high. A thing
    // that hides what lies under it and is not covered adds its stretch.
    bool Covered(const CCoverGroup& group, double low, double high, bool hides);

private:
    struct CGroupHash {
        std::size_t operator()(const CCoverGroup& g) const;
    };

    std::unordered_map<CCoverGroup, CLaterCover, CGroupHash> m_groups;
    // The group of the last thing, found again at once: a group's things often come together.
    CCoverGroup m_lastGroup;
    CLaterCover* m_last = nullptr;
};

void DrawPieChart(CChart& chart, bool threeD, int options, const CChartRect& region);
void DrawBarChart(CChart& chart, int kind, int options, const CChartRect& region);
void DrawBoxChart(CChart& chart, int options, const CChartRect& region);
void DrawAreaChart(CChart& chart, int options, const CChartRect& region);
void DrawPointChart(CChart& chart, int options, const CChartRect& region);
void DrawPoint3DChart(CChart& chart, int options, const CChartRect& region);
// Slim rows draw their end faces alone, the rows of a category column that show only slivers in
// runs, and narrow boxes that the boxes drawn after them cover are left out (see ChartBoxCover.h);
// everyBox draws every face of every box: as far as the eye can tell the same picture, at many
// times the cost with many thousand glazes.
void DrawBar3DChart(CChart& chart, int options, const CChartRect& region, bool everyBox = false);
// The layout values of a chart drawn in a 3-D box: the box's picture and its two scales.
void StoreLayout3D(CChart& chart, const CChartRect& box, const CChartScale& horizontal, const CChartScale& vertical);

// The two rectangular axes of bars, areas, points and boxes.
struct CChartAxisPlan {
    bool category = false;           // n slots with labels, running 0..n
    int count = 0;                   // slots of a category axis
    std::vector<std::string> labels; // slot labels
    CChartScale scale;               // a numeric axis
    int flags = 0;                   // the axis settings' flags
    std::string format;
    bool farSide = false;            // top (horizontal axis) or right (vertical axis)
};

class CChartAxes {
public:
    CChartAxes(CChart& chart, CChartAxisPlan horizontal, CChartAxisPlan vertical, int options);

    // 3-D charts: the back plane lies (dx, dy) behind the front plane.
    void SetDepth(double dx, double dy);
    // Hidden axes draw nothing and take no room.
    void Hide() { m_hidden = true; }

    // Keeps room for the axes' labels and returns the plot area (its front plane).
    CChartRect Layout(const CChartRect& region);
    void DrawGrid(const CChartRect& plot);
    void DrawAxes(const CChartRect& plot);
    // The layout values of the plot (selectors 0 to 7 and 13 to 16).
    void StoreLayout(const CChartRect& plot);

    // Positions along the axes (category axes: slot coordinates 0..n, slots of a vertical axis
    // counted from the top).
    double X(const CChartRect& plot, double value) const;
    double Y(const CChartRect& plot, double value) const;
    const CChartAxisPlan& Horizontal() const { return m_h; }
    const CChartAxisPlan& Vertical() const { return m_v; }

private:
    // The band of an axis' labels across it; names turned or beside the plot take at most nameRoom.
    double LabelBand(const CChartAxisPlan& axis, bool horizontalAxis, double slotSize, double nameRoom) const;
    // A name as it stands turned under the plot or beside it: shortened at its end to `room`,
    // never cut at its start; empty where not even a letter fits.
    std::string FittedName(const std::string& name, double room) const;
    // Whether every category label wraps into lines no wider than its slot.
    bool LabelsFitSlots() const;
    // The names of a category axis (m_h or m_v) drawn where each takes `size` of it.
    std::vector<bool> NamesShown(const CChartAxisPlan& axis, const CChartRect& plot, double size) const;
    void DrawHorizontalAxis(const CChartRect& plot);
    void DrawVerticalAxis(const CChartRect& plot);
    std::vector<double> MajorPositions(const CChartAxisPlan& axis) const;
    // The numbers of a value axis at the values.
    std::vector<std::string> Numbers(const CChartAxisPlan& axis, std::span<const double> values) const;
    double TickFrom(int flags) const;
    double TickTo(int flags) const;
    // The room kept beside the plot on the side of a category axis' names for the ends of the
    // value axes a builder draws (CChart::ChartKeepRoomForEnds).
    double RoomForEnds(const CChartAxisPlan& names) const;

    CChart& m_chart;
    CChartAxisPlan m_h;
    CChartAxisPlan m_v;
    bool m_labels;
    bool m_gridVertical;
    bool m_gridHorizontal;
    bool m_hidden = false;
    double m_dx = 0.0;
    double m_dy = 0.0;
    CChartFont m_font;
    double m_textHeight = 0.0;
    double m_tick = 0.0;
    double m_gap = 0.0;
    double m_slotWidth = 0.0;
    // The length a category name may take turned under the plot, or beside it: longer ones are
    // shortened with "...".
    double m_hNameRoom = HUGE_VAL;
    double m_vNameRoom = HUGE_VAL;
    // The room kept before the start and after the end of the value axes that a builder draws
    // beside the chart's own, for their ends (bars only: one axis of names, one of values).
    double m_footRoom = 0.0;
    double m_farRoom = 0.0;
};

// The chart's markers (see Chart.h for the symbols).
std::vector<std::vector<CChartPointD>> ChartSymbolOutlines(int symbol, double x, double y, double size, bool& filled,
                                                           bool& lines);
