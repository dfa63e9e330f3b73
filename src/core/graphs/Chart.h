#pragma once

// Our chart layer: one chart as a retained model that the chart builders define, that lays
// itself out with a CChartMetrics, keeps what it drew as a list of primitives, answers layout
// and hit-test questions, and replays itself on any CChartCanvas (graphs/ChartCanvas.h).
//
// Units. A chart is made with its size in pixels and a scale: its drawing area is `scale` chart
// units high (CGraph uses 1000) and scale x pixel width / pixel height units wide, origin at the
// bottom-left corner, y upward. Every position a builder passes or reads is in these units, in
// the current area (a sub-area has a unit system of its own; see ChartBeginSubArea).
//
// Defining a chart (what the builders do):
//
//     chart.ChartDefBegin();                     // forgets the previous definition's settings
//     chart.ChartSetTitleA("Glaze 1");           // titles, data, labels, colours, axes, fonts...
//     chart.ChartSetData(n, 1, values);          // point-major: point p of set s at p x sets + s
//     chart.ChartSetPointLabels(n, labels);
//     chart.ChartSetColors(n, colors);           // palette indexes (graphs/ChartPalette.h)
//     chart.ChartSetKind(kChartPie, 0x8000, 0);  // lays out and DRAWS the chart as defined so far
//     double left = chart.ChartGetLayout(6);     // layout questions after ChartSetKind
//     chart.ChartDrawLine(...);                  // drawing calls add to the picture at once
//     chart.ChartDefEnd();
//
// ChartSetKind may be called more than once in a definition: each call draws the chart again
// over what is there (an outline pass with patterns 1 and colour 0 draws outlines over the
// coloured pie; points drawn again over a background image). Settings persist until the next
// ChartDefBegin; the drawn picture persists for the chart's life.
//
// Kinds and their option bits (ChartSetKind(kind, options, flags); flags are kept, unused):
//   1 pie, 2 pie with a 3-D look (ChartSetView's elevation tilts it, ChartSetDepth's depth is
//     its thickness): 0x8000 slice labels beside the slices, 0x0001 no labels, 0x0020 kept.
//   3 bars, 4 bars with a 3-D look, 0x84 the same: 0x0800 horizontal bars, 0x2000 stacked sets,
//     0x0080 floating bars (set 0 is the invisible base of the sets above it), 0x0001 no axis
//     labels, 0x0004 vertical grid lines at the horizontal axis' ticks, 0x0008 horizontal grid
//     lines at the vertical axis' ticks.
//   8 areas (one filled area per set; the x data, when given, places the points),
//   9 points (x data and y data; one symbol per set, flags 0x100 hide points),
//   0x89 points with a 3-D look (the z data gives depth; 0x200 draws sticks to the floor),
//   0x11 box and whiskers (seven sets per point: the 5, 10, 25, 50, 75, 90 and 95 % values;
//     0x400 outlines the boxes): 0x0001, 0x0004 and 0x0008 as for bars.
// Colours and patterns go one per point when there is one set (and for box and whiskers), else
// one per set; a short list repeats. Without ChartSetColors a chart takes its automatic colours.
//
// Axes (ChartSetAxisX / ChartSetAxisY / ChartSetAxisZ(flags, ticks, unused, max, min)): flags
// 0x100 and 0x200 choose the axis' side (X: 0x200 bottom, 0x100 top - left and right for
// horizontal bars; Y: 0x100 left, 0x200 right - bottom and top for horizontal bars), 0x1000
// ticks toward increasing coordinates, 0x2000 toward decreasing ones (neither: across the
// axis), 0x0800 vertical labels (X), 0x0004 fixed minimum, 0x0008 fixed maximum, 0x0010 fixed
// number of major intervals (`ticks`); 0x0400 is kept. ChartSetMinorTicks(axis, n) puts n minor
// ticks in each major interval. Axis 0 is X, 1 is Y, 3 is Z.
//
// ChartGetLayout selectors (after ChartSetKind, in the current area's units):
//    0 / 1  maximum / minimum of the horizontal axis (bars: the category axis runs 0..n)
//    2 / 3  maximum / minimum of the vertical axis (horizontal bars: categories, counted from
//           the top)
//    4 / 5  plot area width / height     6 / 7  plot area left / bottom
//    8 / 9  drawing area width / height  10 / 11 / 12  legend left / bottom / width
//   13 / 14 major intervals / minor ticks per interval of the horizontal axis
//   15 / 16 the same of the vertical axis
//   anything else gives 0. A pie's plot area is the square round it.
//
// Hit tests. Slices, bars, boxes, areas and points remember their data cell (column = set,
// row = point; an area answers row 0); markers drawn with ChartDrawMarkers remember
// (column = k mod series, row = k / series) for marker k; boxes (ChartDrawBox, the engine's
// ChartSetBoxBorder) remember their object id. A mouse event on the chart (OnMouseEvent) becomes notices to the
// windows set with ChartSetNotifyWindow (kChartNoticeMessage: kind 8 a data cell with
// ChartCellNoticeData(column, row), kind 4 a drawn object with (id << 16) | 1, kind 2 anything else) and
// ChartSetEventWindow (kChartEventMessage with the event code).
//
// Fonts. ChartSetFont(group, family, style, size percent): group 0 the top title, 1 the other
// titles, 2 slice, axis and corner labels, 3 the legend. The drawing calls name a font by
// number: 0 to 2 those groups, 3 the text font of ChartSetTextFont. Size 100 % is a text height
// of the chart's smaller side in pixels / 28, kept between 8 and 13 pixels: a narrow window made
// taller keeps its texts' widths.
//
// Text alignment words of ChartDrawText: 0x01 right edge at x, 0x02 centre at x (else the left
// edge), 0x100 top at y (else the bottom at y); other bits are kept.
//
// Marker symbols 0..13: 0 square, 1 circle, 2 triangle, 3 diamond, 4 triangle down (filled),
// 5 to 9 the same five hollow, 10 plus, 11 cross, 12 star, 13 a filled diamond outlined in
// black. Marker size in chart units: ChartSetMarkerSize (default 20); a 3-D point chart's markers
// keep to its box, smaller where a narrow chart's width holds the box smaller than its height would.

#include "graphs/ChartCanvas.h"
#include "graphs/ChartEngine.h"
#include "shell/NamedColors.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One drawn primitive, in main-area units (y upward).
struct CChartPrimitive {
    enum class Type { Polygon, Polyline, Text, Image };
    // What a click on the primitive reports.
    enum HitKind : int { kHitNone = 0, kHitObject = 4, kHitCell = 8 };

    Type type = Type::Polygon;
    std::vector<CChartPointD> points; // polygon and polyline; a text's first point is its anchor
    CColor color;                     // fill, line or text colour
    int pattern = kChartPatternSolid; // polygons
    CColor outline;                   // polygons
    double outlineWidth = 0.0;        // polygons, pixels; 0 no outline
    double lineWidth = 1.0;           // polylines, pixels
    int dash = 0;                     // polylines
    std::string text;                 // text; the file of an image
    CChartFont font;                  // text
    int angle = 0;                    // text: 0, 90 or 270
    // The bounding box.
    double left = 0.0, bottom = 0.0, width = 0.0, height = 0.0;

    int hitKind = kHitNone;
    int objectId = 0;
    int column = 0;
    int row = 0;
    bool hitByBounds = false; // small markers answer anywhere in their box
};

// A marker of a batch drawn in one go (see CChart::CoveredMarkers): its centre in the current
// area's units, its symbol and colour.
struct CChartMarkerPlace {
    double x = 0.0;
    double y = 0.0;
    int symbol = 0;
    CColor color;
};

// An area of a chart's pixel grid (y downward); by default the whole plane.
struct CChartPixelArea {
    double left = -HUGE_VAL;
    double top = -HUGE_VAL;
    double right = HUGE_VAL;
    double bottom = HUGE_VAL;
};

// What lies under a point of the chart.
struct CChartHit {
    int kind = CChartPrimitive::kHitNone;
    int objectId = 0;
    int column = 0;
    int row = 0;
    bool operator==(const CChartHit&) const = default;
};

struct CChartDefinition;
struct CChartDrawState;
struct CChartFontSetting;
struct CChartArea;
struct CChartRect;
struct CChartValueAxisInk;
struct CChartNumbersPlan;
class CChartDuplicateFilter;

class CChart {
public:
    // A chart of pixelWidth x pixelHeight pixels placed at (x, y) in its host (y from the host's
    // bottom), whose area is `scale` units high. The metrics must outlive the chart's definition.
    CChart(const CChartMetrics& metrics, double x, double y, double pixelWidth, double pixelHeight,
           double scale);
    ~CChart();
    CChart(const CChart&) = delete;
    CChart& operator=(const CChart&) = delete;

    // --- size ---

    double PixelWidth() const { return m_pixelWidth; }
    double PixelHeight() const { return m_pixelHeight; }
    double HostX() const { return m_hostX; }
    double HostY() const { return m_hostY; }
    // The main area's size in chart units.
    double ChartGetWidth() const;
    double ChartGetHeight() const;
    // The current area's size in its own units.
    double ChartGetAreaWidth() const;
    double ChartGetAreaHeight() const;

    // --- palette and notices ---

    void ChartSetPaletteEntry(int index, int red, int green, int blue);
    // The colour of a palette index; black outside 0..127.
    CColor PaletteColor(int index) const;
    // Notices of the kinds in mask (kChartNoticeOther | Object | Cell) go to target as message.
    void ChartSetNotifyWindow(CChartNotifyTarget* target, unsigned message, unsigned mask);
    // Every mouse event goes to target as message (kind = event code) when mask is not 0.
    void ChartSetEventWindow(CChartNotifyTarget* target, unsigned message, unsigned mask);
    // A mouse event at a pixel of the chart: remembers it, then tells the event window and, for
    // the kinds of the notify mask, the notify window (what was hit on a left press, kind 2
    // otherwise). The windows may destroy the chart: nothing of it is touched after them.
    void OnMouseEvent(int eventCode, double pixelX, double pixelY);
    int ChartGetLastEvent() const { return m_lastEvent; }
    // The last event's position in main-area units.
    double ChartGetEventX() const { return m_lastEventX; }
    double ChartGetEventY() const { return m_lastEventY; }
    // Kept for the builders' set-up; the model always redraws as it is defined.
    void ChartSetAutoRedraw(int on) { m_autoRedraw = on; }

    // --- definition ---

    void ChartDefBegin();
    void ChartDefEnd();
    bool IsDefining() const { return m_defining; }

    // Values beyond the given span count as 0; counts below 0 as 0.
    void ChartSetData(int points, int sets, std::span<const double> values);
    // Every value 0 but the given ones (those outside the points and sets, or not finite, are
    // left out; a value given twice counts once, the last). Bars side by side draw only the
    // values given (a bar of 0 draws nothing); every other kind reads the others as 0.
    void ChartSetSparseData(int points, int sets, std::span<const CChartValueAt> values);
    void ChartSetXData(int count, std::span<const double> values);
    void ChartSetZData(int count, std::span<const double> values);
    void ChartSetPointFlags(int count, std::span<const int> flags);
    void ChartSetColors(int count, std::span<const int> colors);
    void ChartSetPatterns(int count, std::span<const int> patterns);
    void ChartSetSymbols(int count, std::span<const int> symbols);
    void ChartSetPointLabels(int count, std::span<const std::string> labels);
    void ChartSetLegend(int count, std::span<const std::string> labels);
    // Top, bottom, left and right titles.
    void ChartSetTitleA(const std::string& text);
    void ChartSetTitleB(const std::string& text);
    void ChartSetTitleC(const std::string& text);
    void ChartSetTitleD(const std::string& text);
    // Style 6 turns the left title to read upward, 11 the right title to read downward.
    void ChartSetSideTitleStyle(int style, int unused = 0);
    void ChartSetAxisX(int flags, int ticks, int unused, double max, double min);
    void ChartSetAxisY(int flags, int ticks, int unused, double max, double min);
    void ChartSetAxisZ(int flags, int ticks, int unused, double max, double min);
    void ChartSetMinorTicks(int axis, int count);
    // A number format of "#", "0", "." and literal characters ("\x" is x): the '0's after the
    // point give the decimals; "##0\%" prints 12 as "12%", "\$###0.00" prints 1.5 as "$1.50".
    void ChartSetAxisFormat(int axis, const std::string& format);
    void ChartSetFont(int group, int family, int style, int sizePercent);
    void ChartSetThin(int thin, int unused1 = -1, int unused2 = -1);
    // 3-D view: mode, rotation and elevation in degrees, eye position.
    void ChartSetView(int mode, int rotation, int elevation, int eye);
    // 3-D depth in percent and the gaps between rows and columns in percent.
    void ChartSetDepth(int mode, int depth, int xGap, int zGap);
    // Turns the rectangular axes off (the builder draws its own triangle).
    void ChartSetTriaxial(int a, int b);
    // Space between groups of bars, percent of a category.
    void ChartSetBarGap(int gap);
    // Value axes a builder draws beside the chart's own show only their ends, beyond their lines
    // (see ChartSetAxisPartA): the plot keeps room before its start for the widest `foot` and
    // after its end for the widest `far` end, the names standing beyond that room on their side.
    // With more `columns` (up to kMostEndColumns), the ends of axes closer than their ends need
    // take turns in that many columns there.
    void ChartKeepRoomForEnds(const std::string& foot, const std::string& far, int columns = 1);
    void ChartSetMarkerSize(double size);
    // Lays out and draws the chart as defined so far.
    void ChartSetKind(int kind, int options, int flags);
    // Lays the chart out as ChartSetKind would, for ChartGetLayout, and draws nothing.
    void ChartPlanKind(int kind, int options, int flags);
    double ChartGetLayout(int selector) const;

    // --- drawing (in the current area's units) ---

    // width in pixels (0 or 1 the thinnest line), style 0 solid, 1 dashed, 2 dotted; colour a
    // palette index.
    void ChartDrawLine(double x1, double y1, double x2, double y2, int width, int style, int color);
    void ChartDrawText(double x, double y, int font, int align, int color, const std::string& text);
    double ChartMeasureTextHeight(int font, int flags, const std::string& text) const;
    double ChartMeasureTextWidth(int font, int flags, const std::string& text) const;
    // The line height of the text font (font 3).
    double ChartGetTextHeight() const;
    void ChartSetTextFont(int family, int style, int sizePercent, int unused = 0);
    // A marker of the current marker size centred at (x, y).
    void ChartDrawSymbol(double x, double y, int symbol, int color);

    // Shapes: ChartSetShapeKind(a, b) and ChartSetShapeGeometry(a, b, values) hold a x b values.
    // ChartDrawBox draws them as a polygon of a points (b = 2: x, y pairs) in the fill colour
    // with a thin black border and gives it an object id. ChartDrawMarkers draws them as a x b
    // markers (a points of b series, value k at k = point x b + series) at (left + marker x[k],
    // bottom + value[k]), colour and symbol of series k mod b, skipped when flag[k] has 0x100.
    void ChartSetShapeKind(int a, int b);
    void ChartSetShapeGeometry(int a, int b, std::span<const double> values);
    void ChartSetMarkerX(int count, std::span<const double> x);
    void ChartSetMarkerColors(int count, std::span<const int> colors);
    void ChartSetMarkerSymbols(int count, std::span<const int> symbols);
    void ChartSetMarkerFlags(int count, std::span<const int> flags);
    void ChartDrawMarkers(double left, double bottom, int flags = 0, int unused = 0);
    void ChartSetFillColor(int color);
    void ChartDrawBox();
    // The id of the last object drawn (from 1 on; 0 before any).
    int ChartGetObjectId() const { return m_lastObjectId; }

    // A value axis of its own: a line from (x, y) of `length` (mode bit 4: upward, else to the
    // right) with ticks + 1 ticks of tickLength; mode & 3: 0 ticks toward decreasing
    // coordinates, 1 toward increasing ones, 2 across.
    void ChartDrawValueAxis(double x, double y, double length, double tickLength, int ticks, int mode);
    // Labels of such an axis (its numbers): count texts in font, the first at (x, y), each next
    // one `step` further right (A: centred, bottoms at y) or up (B: right edges at x, centred on
    // y; with align bit 0x10 their tops at y), drawn as every value axis' numbers are (see
    // DrawValueAxisNumbers); where the chart keeps room for their ends (ChartKeepRoomForEnds),
    // the first and last alone, beyond the line's ends (DrawValueAxisEndsBeyond).
    void ChartSetAxisPartA(double x, double y, double step, int count, int font, std::span<const std::string> labels);
    void ChartSetAxisPartB(double x, double y, double step, int count, int font, int align,
                           std::span<const std::string> labels);

    // The image file stretched over the rectangle, under what is drawn later; 0 when it can be
    // read, 1 (nothing drawn) when not.
    int ChartSetBackgroundImage(double left, double bottom, double width, double height, const std::string& file);
    // Fills the rectangle with the chart's background.
    void ChartCall261(double x, double y, double width, double height);

    // A sub-area: the rectangle (in the current area's units) becomes the current area, `scale`
    // units high; returns its number for ChartEndSubArea, which returns to the enclosing area.
    int ChartBeginSubArea(double x, double y, double width, double height, double scale);
    void ChartEndSubArea(int area);

    // --- the picture ---

    const std::vector<CChartPrimitive>& Primitives() const { return m_primitives; }
    // What lies under a pixel of the chart (the last drawn first). A polygon answers on its edge
    // as far as it draws there: half its outline's width beyond it, half a pixel at least. Boxes
    // thinner than a pixel show nothing but their outlines.
    CChartHit HitTest(double pixelX, double pixelY) const;
    // Replays the picture on a canvas of the chart's pixel grid.
    void Draw(CChartCanvas& canvas) const;
    // Replays what may draw in the area of the pixel grid: a part of the picture drawn apart, on a
    // canvas that shows that part alone. A device whose pixels are larger than the grid's
    // spreads an edge further: `margin` grid pixels more.
    void Draw(CChartCanvas& canvas, const CChartPixelArea& area, double margin = 0.0) const;
    CColor BackgroundColor() const { return PaletteColor(15); }

    // --- what was defined (for tests and the texts of the hosts) ---

    const CChartDefinition& Definition() const { return *m_def; }
    const CChartDrawState& DrawState() const { return *m_draw; }
    int LastKind() const { return m_lastKind; }

    // Conversions between main-area units and pixels.
    double UnitsToPixelsX(double x) const { return x * m_pixelsPerUnit; }
    double UnitsToPixelsY(double y) const { return m_pixelHeight - y * m_pixelsPerUnit; }
    double PixelsToUnitsX(double px) const { return px / m_pixelsPerUnit; }
    double PixelsToUnitsY(double py) const { return (m_pixelHeight - py) / m_pixelsPerUnit; }
    double PixelsPerUnit() const { return m_pixelsPerUnit; }

    // --- for the chart's own drawing files ---

    struct CLayoutValues {
        std::array<double, 17> values{};
    };
    // The font a drawing call names (0 to 2 the groups, 3 the text font), and the legend's.
    CChartFont FontOf(int font) const;
    CChartFont LegendFont() const;
    // Text measures in the current area's units.
    double TextWidthUnits(const CChartFont& font, const std::string& text) const;
    double TextHeightUnits(const CChartFont& font) const;
    // Adds primitives given in the current area's units.
    void AddPolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                    double outlineWidth, int hitKind = CChartPrimitive::kHitNone, int column = 0, int row = 0);
    // The polygon AddPolygon adds, made apart (on any thread), and polygons so made added in turn,
    // part after part.
    CChartPrimitive MakePolygon(const std::vector<CChartPointD>& points, CColor fill, int pattern, CColor outline,
                                double outlineWidth, int hitKind = CChartPrimitive::kHitNone, int column = 0,
                                int row = 0) const;
    void AddPolygons(std::vector<std::vector<CChartPrimitive>>&& parts);
    void AddPolyline(const std::vector<CChartPointD>& points, CColor color, double width, int dash);
    // Text with its box's corner nearest to (x, y) chosen by align (see ChartDrawText).
    void AddText(double x, double y, int align, const CChartFont& font, CColor color, int angle,
                 const std::string& text);
    // Whether such a text would stand more than `reach` (in the current area's units) clear of
    // every text drawn.
    bool TextStandsClear(double x, double y, int align, const CChartFont& font, int angle, const std::string& text,
                         double reach) const;
    // A marker of `size` centred at (x, y); with hit it answers clicks in its box as the cell
    // (column, row). A marker not `drawn` adds nothing to the picture, but still answers clicks
    // in its place in the drawing order (see CoveredMarkers).
    void AddSymbol(double x, double y, double size, int symbol, CColor color, int column, int row, bool hit,
                   bool drawn = true);
    // For each marker of a batch of one size, in drawing order: true when a later marker of the
    // batch draws the same symbol in the same colour with its centre in the same quarter of a
    // pixel. Drawn later, that marker covers the earlier one but for less than a quarter
    // pixel's shift of its antialiased edge, whatever was drawn between them: tens of
    // thousands of glazes in a column of a few hundred pixels draw a few thousand markers. A
    // batch of at most kMostMarkersDrawnWhole markers costs little to draw whole: all false.
    static constexpr std::size_t kMostMarkersDrawnWhole = 10000;
    std::vector<bool> CoveredMarkers(std::span<const CChartMarkerPlace> markers) const;
    // The colour of palette index i, with the automatic colours for "no colour given".
    CColor SeriesColor(int index) const;
    int ColorIndexFor(int point, int set, bool perPoint) const;
    int PatternFor(int point, int set, bool perPoint) const;
    CLayoutValues& CurrentLayout();
    const CChartArea& CurrentArea() const;
    // A value axis' line from (x, y) of `length` (upward or to the right) in the current area's
    // units, its ticks reaching from `from` to `to` across it: the numbers of the value axes drawn
    // after it keep clear of it, and its own numbers follow (DrawValueAxisNumbers).
    void NoteValueAxis(double x, double y, double length, bool upward, double from, double to);
    // The numbers of the value axis noted last (the chart's own axes and those a builder draws,
    // ChartSetAxisPartA and B), the i-th a text of `align` (see ChartDrawText) at anchors[i],
    // side by side (across) or one above another, level with their ticks. Each stands by its own
    // tick, its middle nearer that tick than the next, or is not drawn. Numbers too many to stand
    // apart are thinned to every k-th tick from the foot, side by side a blank apart, one above
    // another a line apart, k dividing the axis' intervals: they step evenly and the far end is
    // always among them. Of each value axis drawn before that runs their way (its line, ticks
    // and numbers) they keep what stands beside them at their height a line's height clear, two
    // axes side by side reading as two, and the rest a blank. Where the numbers of an upright
    // axis cannot stand across, they stand turned upright, a line wide. A foot that would meet a
    // name or a lying axis' number rises from its tick as little as clears them; where it finds
    // no place by its tick clear of the next number shown, every 2k-th, 3k-th... tick is tried,
    // and then it is left to the places of an end. Where the numbers cannot stand at all, the
    // axis keeps its two ends, each at its place, turned there, or within or beyond its line (a
    // lying axis' foot hanging from its start or before it, an upright one's rising from its
    // tick; the far end hanging from the top of an upright axis, over it, or after the end of a
    // lying one), where it stands by its tick, clear of those axes, clear of the texts drawn and
    // inside the area. With footBefore, a lying axis' foot stands before its line's start, level
    // with it, or hangs from the start.
    void DrawValueAxisNumbers(std::span<const CChartPointD> anchors, int align, const CChartFont& font,
                              std::span<const std::string> numbers, bool across, bool footBefore = false);
    // What a value axis of its own takes across its line, its numbers in `font` (see
    // CChartAxisRoom): upward or lying, its ticks reaching `tickReach` toward the numbers, which
    // stand an eighth of a line beyond them.
    CChartAxisRoom ValueAxisRoom(const CChartFont& font, bool upward, double tickReach,
                                 std::span<const std::string> numbers) const;
    // Whether the plot keeps room for the ends of the value axes a builder draws.
    bool EndsStandBeyond() const;
    // The first and last of the numbers of the value axis noted last, beyond its line's ends, a
    // tick and a gap away (as the names stand from theirs): lying beside a lying axis, level with
    // it; turned upright under and over an upright one, their middles in line with it. Each
    // stands in the first column of the room kept where it keeps clear of the texts drawn,
    // within the area and short of the lines of the axes that run beside its own.
    void DrawValueAxisEndsBeyond(const CChartFont& font, std::span<const std::string> numbers);
    // How far apart numbers side by side stand, and the columns of those ends: a blank, three
    // pixels at least.
    double BlankApart(const CChartFont& font) const;
    // Whether a name of `align` at (x, y) in the current area's units lies within the area and
    // clear of the value axes' numbers.
    bool NameStandsClear(double x, double y, int align, const CChartFont& font, const std::string& name) const;

private:
    CChartFont MakeFont(const CChartFontSetting& setting) const;
    void DrawChart(int kind, int options);
    // Where the primitive may draw (Draw): the area of the pixel grid it reaches.
    CChartPixelArea Reach(const CChartPrimitive& p) const;
    void AddPrimitive(CChartPrimitive primitive);
    // True when a text or line repeats one drawn before and not covered since (AddPrimitive).
    bool IsRepeat(const CChartPrimitive& primitive);
    // True when a later pass draws a text or line of the titles and legend again as the first did.
    bool RepeatsDecoration(const CChartPrimitive& primitive) const;
    // The box of a text of `align` and `angle` at (x, y), in the current area's units (AddText).
    CChartRect TextBox(double x, double y, int align, const CChartFont& font, int angle, const std::string& text) const;
    CChartPointD ToMain(double x, double y) const;
    // A point of the main area in the current area's units (ToMain's inverse).
    CChartPointD FromMain(const CChartPointD& p) const;
    double ToMainLength(double length) const;
    // The pixels a box of the current area's units covers.
    CChartPixelArea PixelArea(double left, double bottom, double right, double top) const;
    // The pixels a text of `align` at (x, y) in the current area's units covers.
    CChartPixelArea TextPixelArea(double x, double y, int align, const CChartFont& font, const std::string& text) const;
    // Whether the box comes no nearer than `reach` pixels to a text drawn; a text `again` drawn
    // in that very place is the same drawn again, no obstacle.
    bool ClearOfTexts(const CChartPixelArea& box, double reach, std::string_view again = {}) const;
    // Whether the box comes no nearer than `reach` pixels to a number of the value axes drawn.
    bool ClearOfNumbers(const CChartPixelArea& box, double reach) const;
    // Whether a box of pixels lies within the current area.
    bool InsideArea(const CChartPixelArea& box) const;
    // Places the numbers of DrawValueAxisNumbers' plan, upright or turned, every k-th from the
    // foot; false where they cannot stand so.
    bool PlaceValueAxisNumbers(const CChartNumbersPlan& plan, bool turned, bool footBefore);
    void DrawShownNumbers(const CChartNumbersPlan& plan, const std::vector<bool>& shown, bool turned);
    // Where the foot of the plan stands by its tick, clear of the next number shown (`near`
    // pixels), or nowhere.
    struct CFootPlace {
        CChartPointD at;
        int align = 0;
    };
    std::optional<CFootPlace> PlaceFoot(const CChartNumbersPlan& plan, bool turned, bool footBefore,
                                        const std::optional<CChartPixelArea>& next, double near);
    // Whether a number of the axis in `box`, its foot or (far) its far end, reads as its tick's:
    // its middle lies nearer that tick than the next, or beyond the axis' end.
    bool ByItsTick(const CChartValueAxisInk& own, const CChartPixelArea& box, bool far) const;
    // A number drawn for the axis, noted among its numbers.
    void AddValueAxisNumber(CChartValueAxisInk& own, const CChartPointD& at, int align, bool turned,
                            const CChartFont& font, const std::string& number);
    // The two ends of a value axis whose numbers cannot stand at their places (see
    // DrawValueAxisNumbers).
    void DrawValueAxisEnds(CChartValueAxisInk& own, std::span<const CChartValueAxisInk* const> others,
                           std::span<const CChartPointD> anchors, std::span<const int> aligns,
                           const CChartFont& font, std::span<const std::string> numbers);
    // The pixels a value axis' number covers at `at` (as DrawValueAxisNumbers places it), or
    // turned upright there, its middle where the upright text's middle stands; and that number drawn.
    CChartPixelArea NumberPixelArea(const CChartPointD& at, int align, bool turned, const CChartFont& font,
                                    const std::string& number) const;
    void AddNumber(const CChartPointD& at, int align, bool turned, const CChartFont& font, const std::string& number);

    const CChartMetrics& m_metrics;
    double m_hostX;
    double m_hostY;
    double m_pixelWidth;
    double m_pixelHeight;
    double m_scale;
    double m_pixelsPerUnit;
    std::array<CColor, 128> m_palette{};

    CChartNotifyTarget* m_notifyTarget = nullptr;
    unsigned m_notifyMessage = kChartNoticeMessage;
    unsigned m_notifyMask = 0;
    CChartNotifyTarget* m_eventTarget = nullptr;
    unsigned m_eventMessage = kChartEventMessage;
    unsigned m_eventMask = 0;
    int m_lastEvent = kChartEventReleased;
    double m_lastEventX = 0.0;
    double m_lastEventY = 0.0;
    int m_autoRedraw = 1;

    std::unique_ptr<CChartDefinition> m_def;
    std::unique_ptr<CChartDrawState> m_draw;
    std::vector<CChartArea> m_areas; // [0] the main area, then open sub-areas
    int m_nextAreaId = 1;
    bool m_defining = false;
    int m_lastKind = 0;
    int m_lastObjectId = 0;
    std::vector<CChartPrimitive> m_primitives;
    // Markers that answer clicks but are not drawn (a later marker covers them), each with the
    // number of primitives drawn before it: the hit test takes them in drawing order.
    struct CHitOnly {
        std::size_t before = 0;
        double left = 0.0, bottom = 0.0, size = 0.0;
        int column = 0;
        int row = 0;
    };
    std::vector<CHitOnly> m_hitOnly;
    // The titles and legend the definition's first pass drew (primitives [from, to) of the area
    // whose id is noted; -1 none yet): a later pass drawing them again exactly so adds none of
    // their texts and lines, whatever it drew over them meanwhile (a title the chart of a window
    // too small for it covered stood twice, to a hit test and a text export).
    std::size_t m_decorationsFrom = 0;
    std::size_t m_decorationsTo = 0;
    int m_decoratedArea = -1;
    bool m_redecorating = false;
    // Finds repeated texts and lines among the primitives. Those from m_indexedLimit on may
    // still change (a marker's hit box) and are not indexed yet.
    std::unique_ptr<CChartDuplicateFilter> m_repeats;
    std::size_t m_indexedLimit = static_cast<std::size_t>(-1);
};
