#pragma once

// One drawn chart: a copy of a graph template together with the chart that the chart engine
// (graphs/ChartEngine.h) drew from it, and the texts that the chart's pop-up and the Copy
// commands show.
//
// The hosts (the graph view, the glaze edit view's graph pages, the template editor's preview)
// rebuild a chart the same way: detach the graph from the chart window, delete it, construct a
// new CGraph, copy the template into it (SetTemplate), Build it, attach it to the chart window.
// A graph is built once; the chart lives as long as the graph.
//
// Writing a chart builder
// -----------------------
// Build dispatches on the graph type through a table of the 25 builder members below (one per
// row of g_graphTypeTable), so a new builder needs no change to the dispatch: define the member
// in a file of your own (e.g. graphs/GraphBuildBars.cpp) and delete its placeholder from
// graphs/GraphBuildPending*.cpp, where every builder not yet written sets an error text. A
// builder has the form of BuildOxidesPie (graphs/OxidePie.cpp, the worked example):
//   1. find the glaze(s): ShownGlaze (FirstGlaze when the template has data sources, else the
//      glaze handed in); many-glaze charts CollectAllGlazes / FilteredGlazesBySource;
//   2. compute the values; on failure set m_errorText and return (nothing drawn; Build then
//      draws the error box);
//   3. fill the cell table (m_columns, m_rows, m_cellTexts: one text per chart element, index
//      columns x row + column) and m_textLines;
//   4. define the chart through Engine() (the chart is selected while the builder runs):
//      ChartDefBegin, the family's title setter (Set*Titles), data, labels, SetFonts, 3-D view,
//      colours, patterns, legend, axes, ChartSetKind, ChartDefEnd. Pies and bars hand a
//      CChartSeries to DrawPie or DrawBarChart, which make all of these calls.
// Template settings are members of the graph itself (it is a CGraphTemplate): `oxtype`,
// `reverse`, `piebar3d`... A builder may change its own copy (bpoxides of the scatter charts).
// Shared steps of several families (the bar set-up of graphs/OxideBar.cpp; the glazes, texts and
// whole pies and bars of graphs/GraphDrawSteps.cpp) are CGraph members declared in the marked
// section below; the recipe lists of the recipe charts are in graphs/GraphRecipeLists.h. Core tests check a builder's calls against the
// recording engine of tests/core/graphs/RecordingChartEngine.h.

#include "graphs/ChartEngine.h"
#include "graphs/GraphColorLists.h"
#include "graphs/GraphTemplate.h"
#include "graphs/GraphVariables.h"
#include "support/Geometry.h"
#include "support/StringArrayEx.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CGlaze;
class CGlazesDoc;
class CGraph;
class CLimitFormula;
class CMaterialTypeColorList;
struct CGraphPointTable;
class COxideColorList;

// The plot area of a drawn chart: ChartGetLayout selectors 6, 7, 4, 5, 1, 0, 3, 2, 8, 13 and 15,
// read after ChartSetKind and before ChartDefEnd (see graphs/Chart.h for their meaning).
struct ChartPlotArea {
    static constexpr int kSelectors[11] = {6, 7, 4, 5, 1, 0, 3, 2, 8, 13, 15};

    double left = 0.0;          // 6
    double bottom = 0.0;        // 7
    double width = 0.0;         // 4
    double height = 0.0;        // 5
    double horizontalMin = 0.0; // 1 (a1)
    double horizontalMax = 0.0; // 0 (a0)
    double verticalMin = 0.0;   // 3 (a3)
    double verticalMax = 0.0;   // 2 (a2)
    double areaWidth = 0.0;     // 8
    double horizontalTicks = 0.0; // 13
    double verticalTicks = 0.0;   // 15

    double& At(int i);
};

// The number format of a value axis in percent.
inline constexpr const char* kChartPercentFormat = "##0\\%";

// The arrays a builder hands the engine (and the shared drawing steps DrawPie and DrawBarChart):
// values of points x sets, point-major (point p of set s at p x sets + s), one label per point,
// the legend (one text per set; none when empty) and the colour entries.
struct CChartSeries {
    std::vector<double> values;
    // Instead of values, when not empty: the values not 0 (ChartSetSparseData).
    std::vector<CChartValueAt> sparseValues;
    std::vector<std::string> labels;
    std::vector<int> colors;
    std::vector<int> patterns;
    int sets = 1;
    std::vector<std::string> legend;

    int Points() const { return static_cast<int>(labels.size()); }
    int ColorCount() const { return static_cast<int>(colors.size()); }
    // One more point of a single-set chart, with its own colour entry.
    void AddPoint(double value, const std::string& label, CChartColor color);
};

// One set (series) of a chart of many sets: its legend text, the heading of its cells and the
// header of its block of text lines, its style, and per point its value and its item line.
struct CGraphSet {
    std::string legend;
    std::string cellHeading;
    std::string header;
    CChartColor style;
    std::vector<double> values;
    CStringArrayEx lines;
};

// Whether a glaze counts in a many-glaze chart.
using GlazeFilter = bool (*)(const CGlaze& glaze);

// One place on the category axis of a limit-formula chart: a limit of the formula (its index),
// or a gap (limit -1) before a limit whose scale differs from the one before; the scale runs
// from min (always 0) to the combination's plot maximum.
struct CLimitSlot {
    int limit = -1;
    bool byPercent = false;
    double min = 0.0;
    double max = 0.0;
};

// A chart builder: one member of CGraph per graph type.
using ChartBuilder = void (CGraph::*)(CGlazesDoc* glazeDb, CGlaze* glaze);

class CGraph : public CGraphTemplate {
public:
    // The error text of a failed builder, drawn at this side in the chart's corner.
    static constexpr double kNoticeBoxSide = 35.0;
    static constexpr int kErrorBoxColor = 12;
    static constexpr int kNoticeBoxColor = 14;
    // The chart's height in its own units.
    static constexpr double kChartScale = 1000.0;
    // The most cells of a table of sets whose texts are made beforehand (SetTableSeries).
    static constexpr std::size_t kMostCellTexts = 20'000;

    // The template defaults named "new graph template"; no chart (handle -1), no texts.
    CGraph();
    ~CGraph();
    CGraph(const CGraph&) = delete;
    CGraph& operator=(const CGraph&) = delete;

    // Copies the template into the graph's template part.
    void SetTemplate(const CGraphTemplate& graphTemplate) { CGraphTemplate::operator=(graphTemplate); }

    // Makes the chart in host at the place of frame, tells notify of its mouse events, runs the
    // builder of the graph type with the host's glaze database and glaze (either may be null)
    // and draws the error or notice box. Returns the chart handle (0 or more), or a negative
    // value when no chart was made: graphs unavailable (no engine, or it did not open), a missing
    // window, a window side below 1 pixel, or the engine refusing the chart.
    int Build(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify, CGlazesDoc* glazeDb,
              CGlaze* glaze);
    // Whether the last Build kept its reading (the values it read from the glazes, from which
    // Redraw draws the chart again at another size without reading the glazes again) and it
    // still holds: not dropped, and the data sources give the glazes it read. A glaze list's
    // selection changes with no notice, so the glazes are gathered again here; what notices tell
    // (a glaze, a material or the template changed) the host drops. The glaze database handed to
    // Build must still be open: its host drops the reading when it hears that it closes.
    bool KeepsItsReading() const;
    // Forgets the reading: the next size change builds the chart anew.
    void DropReading();
    // Makes the chart anew in host at the place of frame, as Build does, and draws it from the
    // reading the last Build kept, with the texts and cells of that build. For a window whose
    // size changed while its glazes, template and settings did not. Returns what Build returns;
    // -1 without a kept reading.
    int Redraw(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify);

    // The builder of a graph type, null outside 0..24.
    static ChartBuilder GetBuilder(int graphType);

    int GetChartHandle() const { return m_chartHandle; }
    // The engine the chart was made with (null before Build).
    CChartEngine* GetEngine() const { return m_engine; }
    // The drawn picture of the chart, null before Build, when it made none, or when the engine
    // keeps no picture.
    const CChart* GetChart() const;

    // The cell text of a clicked element; empty outside the table.
    std::string GetCellText(int column, int row) const;
    // The error text (else the notice text) when objectId is the message box's; else empty.
    std::string GetMessageText(int objectId) const;
    // The title underlined with '=' (when there is one), then the text lines, each ended by CR LF.
    std::string GetText() const;
    std::string GetTitle() const { return m_title; }

    // --- values and texts (GraphBuildTexts.cpp) ---

    void GetVariableLabel(int code, std::string& label, std::string& format) const;
    int GetVariableValues(const CGlaze& glaze, CGraphValues& values) const;
    // The oxide entries with the colours of the graph-template database's oxide colour list.
    int GetOxideGroupValues(const CGlaze& glaze, std::vector<CGraphOxideEntry>& entries, bool keepSmall, bool reverse,
                            int pareto, bool addRemainder, bool includeOther) const;
    static std::string FormatVariableList(int x, int y, int z) { return FormatGraphVariableList(x, y, z); }
    std::string FormatPointValue(int code, double value) const { return FormatGraphPointValue(*this, code, value); }
    std::string GetDataSetTitle(int index, CGlazesDoc* glazeDb, CGlaze* glaze) const;
    // "Unity", "% Weight" or "% Molecular" by oxtype 0, 1, other.
    std::string GetUnitTitle() const;
    // "%s  %s%s%s": the label, the value with decanalysis (unity) or decanalysispct decimals,
    // "%" unless unity, "m" for molecular percent.
    std::string FormatOxideLine(const std::string& label, double value) const;
    // The value part of that line: "0.300", "12.50%", "12.50%m".
    std::string FormatOxideValue(double value) const;
    // The colour lists of the graph-template database (null without one).
    static const COxideColorList* GetOxideColors();
    static const CMaterialTypeColorList* GetMaterialTypeColors();

    // Font groups 0 to 3 from the template's text settings.
    void SetFonts();
    // The plot area's four edges, when force is set or exactly one of gridx and gridy is.
    void DrawPlotFrame(bool force);
    // Word-wraps text to width in font (ChartMeasureTextWidth), breaking lines at blanks only: a
    // word wider than the width stands on a line of its own, shortened with "..."; an empty text
    // gives no line.
    void WrapText(CStringArrayEx& lines, const std::string& text, double width, int font, int style);
    // A legend block of n markers and wrapped texts in the current area (the limit-formula charts);
    // a marker and the room round it take at most a quarter of the width, whatever the height.
    void DrawTextBox(double left, double bottom, double width, double height, int n, int font, int textOption,
                     const std::vector<int>& colors, const std::vector<int>& symbols, const CStringArrayEx& texts);
    static void ClearPlotArea(ChartPlotArea& area);
    void ReadPlotArea(ChartPlotArea& area) const;

    // --- glazes and titles (GlazeCollection.cpp) ---

    // Appends the glazes of data source `index`; returns the list's new size.
    int CollectDataSetGlazes(std::vector<CGlaze*>& glazes, int index, CGlazesDoc* glazeDb, CGlaze* glaze) const;
    int CollectAllGlazes(std::vector<CGlaze*>& glazes, CGlazesDoc* glazeDb, CGlaze* glaze) const;
    // The first glaze of the first data source that yields one, else null.
    CGlaze* FirstGlaze(CGlazesDoc* glazeDb, CGlaze* glaze) const;

    void SetPieTitles(const std::string& first, const std::string& second);
    void SetBarTitles(const std::string& title, const std::string& valueTitle, bool horizontal);
    void SetHistogramTitles(const std::string& title, const std::string& xText, const std::string& yText);
    void SetScatterTitles(const std::string& title);
    void SetTriaxialTitles(const std::string& title, const std::string& leftText);
    void SetLimitFormulaTitles(const std::string& title, const std::string& valueTitle, bool horizontal);

    // --- the builders, one per graph type (see the table in GraphBuild.cpp) ---

    void BuildOxidesPie(CGlazesDoc* glazeDb, CGlaze* glaze);              // 0
    void BuildOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze);              // 1
    void BuildLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze);        // 2
    void BuildOxidesAndRecipeBar(CGlazesDoc* glazeDb, CGlaze* glaze);     // 3
    void BuildRecipePie(CGlazesDoc* glazeDb, CGlaze* glaze);              // 4
    void BuildRecipeBar(CGlazesDoc* glazeDb, CGlaze* glaze);              // 5
    void BuildRecipeAndOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze);     // 6
    void BuildCostPie(CGlazesDoc* glazeDb, CGlaze* glaze);                // 7
    void BuildCostBar(CGlazesDoc* glazeDb, CGlaze* glaze);                // 8
    void BuildMaterialTypesPie(CGlazesDoc* glazeDb, CGlaze* glaze);       // 9
    void BuildMaterialTypesBar(CGlazesDoc* glazeDb, CGlaze* glaze);       // 10
    void BuildAverageOxidesPie(CGlazesDoc* glazeDb, CGlaze* glaze);       // 11
    void BuildAverageOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze);       // 12
    void BuildAveragesOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze);      // 13
    void BuildAverageLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze); // 14
    void BuildAveragesLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze); // 15
    void BuildHistogram(CGlazesDoc* glazeDb, CGlaze* glaze);              // 16
    void BuildBoxWhiskers(CGlazesDoc* glazeDb, CGlaze* glaze);            // 17
    void BuildManyOxidesBar(CGlazesDoc* glazeDb, CGlaze* glaze);          // 18
    void BuildManyLimitFormulaBar(CGlazesDoc* glazeDb, CGlaze* glaze);    // 19
    void BuildManyRecipeBar(CGlazesDoc* glazeDb, CGlaze* glaze);          // 20
    void BuildManyMaterialTypesBar(CGlazesDoc* glazeDb, CGlaze* glaze);   // 21
    void BuildScatter(CGlazesDoc* glazeDb, CGlaze* glaze);                // 22
    void BuildScatter3D(CGlazesDoc* glazeDb, CGlaze* glaze);              // 23
    void BuildTriaxial(CGlazesDoc* glazeDb, CGlaze* glaze);               // 24

    // --- shared steps of the builder families (added by the families that need them) ---

    // The glaze of a one-glaze oxide chart (the first of the data sources, or the one given) and
    // its oxide entries (GetOxideGroupValues with the template's pareto flag); null after setting
    // the error text when there is no glaze or nothing to draw.
    CGlaze* OneGlazeOxideEntries(CGlazesDoc* glazeDb, CGlaze* glaze, std::vector<CGraphOxideEntry>& entries,
                                 bool keepSmall, bool reverseOrder);
    // The oxide entries as one column of chart points: their arrays, and for each entry its cell
    // text and text line (FormatOxideLine); columns 1, rows the entries' count.
    CChartSeries TakeOxideEntries(const std::vector<CGraphOxideEntry>& entries);

    // The bar steps of every one-glaze and average bar chart (graphs/OxideBar.cpp), in the
    // order a builder calls them after its data and fonts:
    // the 3-D view, thin cage and depth when piebar3d is set, else the bar gap 100 - barwid;
    void SetBarBody();
    // the category axis (X settings) and the value axis (Y settings) with their ticks;
    void SetBarAxes();
    // the X axis on its side with its ticks and turned labels; manual: a fixed scale of `ticks`
    // intervals from min to max with minorTicks minor ticks each;
    void SetCategoryAxis(bool manual, int ticks, double max, double min, int minorTicks);
    // the Y axis on its side with its ticks, and the template's manual scale;
    void SetValueAxis();
    // the kind (BarKind) with the bar options plus extraOptions (0x2000 stacks the sets), and
    // for flat bars with borders the outline pass over count colour entries.
    void DrawBars(int count, int extraOptions);
    // 0x84 for true 3-D bars, 4 for bars with a 3-D look, 3 for flat ones.
    int BarKind() const;

    // The steps the recipe, average, statistics and many-glaze families share
    // (graphs/GraphDrawSteps.cpp):
    // the glaze of a one-glaze chart (FirstGlaze with data sources, else the glaze handed in),
    // or null after setting the error text "No glaze to display";
    CGlaze* ShownGlaze(CGlazesDoc* glazeDb, CGlaze* glaze);
    // the glazes of each data source that pass the filter, one list per data source;
    std::vector<std::vector<CGlaze*>> FilteredGlazesBySource(CGlazesDoc* glazeDb, CGlaze* glaze,
                                                             GlazeFilter filter) const;
    // the colour and pattern of data source `index` by the data-set style rule;
    CChartColor DataSetStyle(int index) const;
    // prefix, the count and "glaze" or "glazes": "Average of 2 glazes";
    static std::string CountedGlazes(const std::string& prefix, int count);
    // the cell table as one column of texts, which are the text lines as well;
    void SetColumnTexts(const CStringArrayEx& texts);
    // a block of the text lines: an empty line, the header underlined with '-', the lines;
    void AppendTextBlock(const std::string& header, const CStringArrayEx& lines);
    void AppendTextBlock(const std::string& header, CStringArrayEx&& lines);
    // The same block appended to textLines (a part of the text built apart).
    static void AppendTextBlockTo(CStringArrayEx& textLines, const std::string& header, CStringArrayEx&& lines);
    // the sets side by side over the points: a series of point-major values with the sets'
    // legend and styles (one set: its style on every point), the cell table of a column per set
    // ("heading\r\n\r\nline"; a table of many glazes makes a cell's text when it is asked for)
    // and a block of text lines per set, taken from the sets;
    CChartSeries SetTableSeries(std::vector<CGraphSet>&& sets, const std::vector<std::string>& pointLabels);
    // a whole pie of the series' points with its two automatic titles: the 3-D tilt by elev3d,
    // the kind with its label options (markMono: and the monochrome mark of a mono chart), and
    // for flat pies with borders the outline pass;
    void DrawPie(const CChartSeries& series, const std::string& first, const std::string& second,
                 bool markMono = false);
    // a whole bar chart: titles, data, labels, legend (unless noleg), fonts, the bar body, the
    // colour entries (with libraryColors only zero patterns, the engine choosing the colours),
    // the axes with the value axis format (none when empty), the kind with extraOptions and the
    // plot frame.
    void DrawBarChart(const CChartSeries& series, const std::string& title, const std::string& valueTitle,
                      const std::string& axisFormat, int extraOptions = 0, bool libraryColors = false);
    // DrawBarChart as the builder's last step, the series and texts kept as the graph's reading
    // (m_drawReading): a size change draws the chart again from them.
    void DrawKeptBarChart(CChartSeries&& series, const std::string& title, const std::string& valueTitle,
                          const std::string& axisFormat, bool libraryColors);

    // The steps of the many-glaze point charts (graphs/GraphPointTable.cpp), in the order a
    // builder calls them: the error text of the first of xoxide, yoxide (and zoxide for three
    // dimensions) outside 0..127, false then;
    bool CheckPointVariables(int dimensions);
    // the series of the data sources (graphs/GraphPointTable.h);
    void CollectPointSeries(CGraphPointTable& table, CGlazesDoc* glazeDb, CGlaze* glaze) const;
    // the series and their points over xoxide, yoxide (and zoxide), with the cell texts and
    // text lines; false after the error text when no data source has a plotted glaze;
    bool FillPointTable(CGraphPointTable& table, int dimensions, CGlazesDoc* glazeDb, CGlaze* glaze);
    // the legend (unless noleg) and the fonts;
    void SetPointLegend(const CGraphPointTable& table);
    // the series' colours and symbols, and the marker size of symsize;
    void SetPointStyles(const CGraphPointTable& table);
    // the template's background image (ovfile) stretched over the rectangle; the notice text
    // when it cannot be read;
    void DrawBackgroundImage(double left, double bottom, double width, double height);

    // The floating bars of a limit formula's usable limits, one scale per run of equal plot
    // maxima with a value axis of its own in the gap before it (graphs/LimitFormulaAxes.cpp).
    // Defines and draws the chart from ChartDefBegin to ChartDefEnd, each gap as many slots wide
    // as its axis' numbers need on the plot the engine plans (ChartPlanKind), then the extra value
    // axes; returns the number of slots, 0 after the error text when no limit is usable.
    int SetupLimitFormulaAxes(const std::string& title, const CLimitFormula& formula, std::vector<CLimitSlot>& slots,
                              ChartPlotArea& area);
    // The value axes (ticks and labels) of the gap slots' scales over the drawn plot area.
    void DrawLimitValueAxes(const std::vector<CLimitSlot>& slots, const ChartPlotArea& area);
    // The empty slots each gap needs for its axis' numbers over the planned plot area.
    // columns: 0 where they hold them; else the columns the axes' ends take beyond their lines,
    // in room the chart keeps (CChart::ChartKeepRoomForEnds): two where axes stand closer
    // than a line.
    int GapSlotsWanted(const std::vector<CLimitSlot>& slots, const ChartPlotArea& area, int& columns);
    // The height of a line of the value axes' text, which becomes the engine's text font.
    double UseAxisTextFont();

    // --- state (the builders fill these) ---

    int m_chartHandle = -1;
    std::string m_errorText;  // why no chart was drawn
    std::string m_noticeText; // a flaw of a drawn chart
    int m_messageObjectId = -1;
    CStringArrayEx m_cellTexts; // m_columns x m_rows, row-major
    // Instead of m_cellTexts, when set: the text of a cell made when asked (a table too large
    // to hold every text).
    std::function<std::string(int column, int row)> m_cellTextOf;
    CStringArrayEx m_textLines;
    int m_columns = 0;
    int m_rows = 0;
    std::string m_title;
    // The chart's drawing from the values the builder read, when the builder keeps them (the
    // bars of many glazes, whose reading costs more than their drawing): Redraw runs it again.
    std::function<void(CGraph&)> m_drawReading;

protected:
    // The engine with this graph's chart selected; valid from the builder's start.
    CChartEngine& Engine() const { return *m_engine; }
    // The error or notice box (Build's last step).
    void DrawMessageBox();

private:
    // Sets the top, bottom, left and right titles (empty ones are not passed) and the title.
    void ApplyTitles(const std::string& top, const std::string& bottom, const std::string& left,
                     const std::string& right);

    void ForgetBuild();
    // Notes what a kept reading was read from (KeepsItsReading reads it again).
    void NoteReadGlazes(CGlazesDoc* glazeDb, CGlaze* glaze);
    // Destroys the last chart and makes a new one in host at frame's place, with the palette
    // and setup every chart starts with; false when no chart was made.
    bool StartChart(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify);
    // Places the chart in host at frame's place; false when a window is missing or too small.
    bool CreateChart(CChartWindow* host, CChartWindow* frame, CChartNotifyTarget* notify);

    CChartEngine* m_engine = nullptr;
    // What the reading was read from: the glaze database and glaze handed to Build, and the
    // glazes the data sources gave, in order.
    CGlazesDoc* m_readGlazeDb = nullptr;
    CGlaze* m_readGlaze = nullptr;
    std::vector<CGlaze*> m_readGlazes;
};
