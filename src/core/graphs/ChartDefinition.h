#pragma once

// What a chart has been told since its last ChartDefBegin (graphs/Chart.h), and the areas it
// draws in. Read by the chart's own drawing files and by tests; the builders set it only through
// CChart's operations.

#include "graphs/Chart.h"

#include <array>
#include <string>
#include <vector>

struct CChartAxisSettings {
    static constexpr int kSideFirst = 0x100;  // X: top; Y: left (see Chart.h)
    static constexpr int kSideSecond = 0x200; // X: bottom; Y: right
    static constexpr int kFixedMin = 0x04;
    static constexpr int kFixedMax = 0x08;
    static constexpr int kFixedTicks = 0x10;
    static constexpr int kVerticalLabels = 0x800;
    static constexpr int kTicksIncreasing = 0x1000;
    static constexpr int kTicksDecreasing = 0x2000;
    // However many a template asks for: more major intervals or minor ticks per interval would
    // only blacken the axis, and an axis draws at most kMaxTickMarks ticks in all.
    static constexpr int kMaxMajorTicks = 1000;
    static constexpr int kMaxMinorTicks = 100;
    static constexpr int kMaxTickMarks = 10000;

    bool set = false;
    int flags = 0;
    int ticks = 0;
    double min = 0.0;
    double max = 0.0;
    int minorTicks = 0;
    std::string format;
};

struct CChartFontSetting {
    int family = 0;
    int style = 0;
    int sizePercent = 100;
    bool operator==(const CChartFontSetting&) const = default;
};

struct CChartDefinition {
    static constexpr int kDefaultBarGap = 30;
    static constexpr double kDefaultMarkerSize = 20.0;

    int points = 0;
    int sets = 0;
    std::vector<double> values; // points x sets, point-major
    // Instead of values, when sparse: the values not 0, by point, then set.
    bool sparse = false;
    std::vector<CChartValueAt> sparseValues;
    std::vector<double> xData;
    std::vector<double> zData;
    std::vector<int> pointFlags;
    std::vector<int> colors; // empty: the automatic colours
    std::vector<int> patterns;
    std::vector<int> symbols;
    std::vector<std::string> pointLabels;
    std::vector<std::string> legend;
    std::array<std::string, 4> titles; // top, bottom, left, right
    bool leftTitleVertical = false;
    bool rightTitleVertical = false;
    std::array<CChartAxisSettings, 4> axes; // X, Y, (unused), Z
    std::array<CChartFontSetting, 4> fonts; // top title, other titles, labels, legend
    int thin = 0;
    int viewMode = 0;
    int rotation = 20;
    int elevation = 30;
    int eye = 0;
    int depthMode = 0;
    int depth = 100;
    int xGap = 50;
    int zGap = 50;
    bool triaxial = false;
    int barGap = kDefaultBarGap;
    // The widest foot and far end of the value axes a builder draws beside the chart's own,
    // which stand beyond their lines' ends; empty: they stand along their lines.
    std::array<std::string, 2> endsBeyond;
    int endsColumns = 1; // side by side, for ends of axes closer than their ends need

    // The value of point p of set s; 0 outside the data.
    double Value(int point, int set) const;
    // The flag of index i (point x sets + set); 0 when none was given.
    int Flag(int index) const;
};

// A value axis as drawn, in pixels: its line with its ticks, the way it runs, the far end of its
// line (in main-area units) and its numbers.
struct CChartValueAxisInk {
    CChartPixelArea line;
    bool lined = false; // no line was noted: numbers alone
    bool upward = false;
    CChartPointD start; // the line's foot and far end
    CChartPointD end;
    std::vector<CChartPixelArea> numbers;
    std::vector<std::string> texts; // the numbers it was given, shown or not
    std::vector<double> ticks;      // along it, in pixels, where each of them stands level with its tick
};

// The drawing calls' own settings, kept across definitions.
struct CChartDrawState {
    CChartFontSetting textFont;
    // Each value axis drawn, in drawing order.
    std::vector<CChartValueAxisInk> valueAxes;
    double markerSize = CChartDefinition::kDefaultMarkerSize;
    int fillColor = 0;
    int shapeA = 0;
    int shapeB = 0;
    std::vector<double> shapeValues;
    std::vector<double> markerX;
    std::vector<int> markerColors;
    std::vector<int> markerSymbols;
    std::vector<int> markerFlags;
};

// An area of the chart: the main area, or a sub-area inside it.
struct CChartArea {
    int id = 0;
    double originX = 0.0;   // the area's bottom-left corner in main-area units
    double originY = 0.0;
    double unitScale = 1.0; // main-area units per area unit
    double width = 0.0;     // in the area's units
    double height = 0.0;
    CChart::CLayoutValues layout;
};
