#pragma once

// How a true 3-D bar chart of very many boxes draws only what shows: a hundred thousand glazes by
// a handful of oxides put a hundred thousand rows one behind another in each category's column,
// hundreds to a pixel; by a thousand materials, boxes many to a pixel across as well. Every rule
// of it lives here; used only by the chart's own drawing files (ChartBar3D.cpp).
//
// A box draws its faces turned to the eye and its outline, half a pixel round them: its ink.
//
// Slim rows: rows closer than kSlimRowPixels in the picture make boxes whose side and top are no
// wider than that, slivers inside the outline of their own end face (the front, or the back seen
// from behind), which is drawn after them: each box draws that end face alone. (Rows from a 64th
// to a 16th of a pixel apart, 10,000 glazes, drew every face of every box, more than a hundred
// thousand glazes draw.) So do rows up to kBudgetSlimRowPixels apart whose boxes' every face would
// come to more than the chart's face budget: their sides and tops are still slivers within the
// outlines of the ends before them.
//
// The face budget (BoxFaceBudget): kBudgetFacesPerPixel faces to each pixel of the columns' depth
// in the picture, what the column runs of very many glazes draw there (kRunLayers faces to each
// kRunPixels), kept between kLeastBoxFaceBudget and kMostBoxFaceBudget. What a chart draws
// climbs with its glaze count to the budget and stays about there (BoxRowDrawing): every face of
// every box while they come to no more than the budget; then every end face, and every face of as
// many rows (spread evenly) as the budget holds; then, once the end faces alone come to more,
// column runs, each drawn kRunLayers times over, kRunPixels deep where that holds kLeastRunRows
// rows, else thin runs of a few rows each drawn once, about as many as the budget
// (kThinRunShare). So no count of glazes draws much more than a larger count at the same size of
// the window, where the budget is not raised to its least (columns some 1,300 pixels deep all
// together and more: a dozen oxides from 620 x 300 on). Charts that went from every face to end
// faces alone, or to runs eight rows deep, drew half or a third of what fewer glazes drew (2,000
// glazes of a dozen oxides drew 72,000 faces at 1400 x 900, 3,000 drew 36,000; 8,000 drew 96,000
// at 1920 x 1200, 10,000 drew 59,000; 8,000 once drew every face of every box, twice the faces of
// a hundred thousand glazes, each size of the window taking seconds), and a fixed budget let
// 12,000 glazes draw 144,000 faces at 1400 x 900, against 90,000 for 100,000.
//
// Column runs (CChartColumnRuns): the rows of one category column, taken from the nearest back,
// each reach beyond the nearer rows' faces by a sliver (the column's side and top, seen askew,
// are made of such slivers, every row's outline in its colour) or stand out above or below them.
// A row that stands out by more than kRunPixels is drawn by itself, and so are the rows of the
// column's nearest and farthest kRunPixels, its ends. The others join a run: the rows next to
// one another in the column that lie within the same run's depth in the picture and reach the
// same ends of the nearer rows (the column's top, its foot, both or neither: only rows at the top
// make the column's top), one row of which reaches over the whole run to within kRunPixels. A
// run is drawn as one end face, its farthest row's, as high and as low as its rows reach; a click
// on it answers the row that reaches over it, whose own face lies there (answering the farthest,
// perhaps a short one, named glazes whose bars were not there). A run of kLeastRunRows rows and
// more is drawn in their mean colour: the outlines of its rows, a sliver apart, lie over one
// another, and where each covers a pixel in part they darken it together as one does not, so the
// face is drawn as many times over as the run has rows, up to kRunLayers (drawn once, the ends
// and edges of the columns showed paler). The side of a column is then drawn a few faces to the
// pixel, each of the mean of the hundreds of rows' colours that the faces of every box mix there
// (taking one row in a few hundred instead showed the colours of the rows taken as stripes). A
// thin run, of a few rows, is drawn once in the colour of the row that reaches over it, as the
// outline of one row shows beside the next where every box is drawn (the mean of a few glazes'
// colours showed greyer than those walls, and runs as deep as held eight rows showed bands).
//
// Narrow boxes (CChartBoxCover): boxes of many categories, narrower than kNarrowBoxPixels, stand
// many to a pixel across as well, a thousand materials' columns a fraction of a pixel apart, and
// are covered by the boxes of their neighbours together. The cover takes each box as the strip its
// middle upright sweeps where it crosses the middle of the chart (the boxes near one another lean
// alike in perspective) and its ink as that strip grown by the outline; it keeps, in quarter-pixel
// columns across the picture, the stretch of each column that the ink of the boxes drawn after a
// box covers, and leaves the box out where in every column its ink crosses that stretch holds it.
// Boxes as wide as kNarrowBoxPixels or wider show their neighbours' sides: they are not tried (a
// column run of them leaves out what their own column covers).

#include "graphs/ChartDrawing.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// Rows closer than this many pixels in the picture are slim: their boxes draw their end faces alone.
inline constexpr double kSlimRowPixels = 1.0 / 16.0;
// Rows closer than kBudgetSlimRowPixels are slim too where every face of their boxes comes to
// more than the face budget.
inline constexpr double kBudgetSlimRowPixels = 0.25;
// The depth of a column run in the picture, and how far a row may reach beyond the nearer rows of
// its column (pixels) and still join one.
inline constexpr double kRunPixels = 0.25;
// The fewest rows a run in the rows' mean colour holds.
inline constexpr double kLeastRunRows = 8.0;
// How many times over a run of as many rows or more draws its face (see above).
inline constexpr int kRunLayers = 3;
// Thin runs are this share of the depth that makes their faces as many as the budget: standing
// out, rows drawn alone add to them no more than to the runs of more glazes.
inline constexpr double kThinRunShare = 0.9;
// Boxes narrower than this many pixels across may be covered by their neighbours (CChartBoxCover).
inline constexpr double kNarrowBoxPixels = 2.0;
// The face budget: so many faces to a pixel of the columns' depth, what runs kRunPixels deep each
// drawn kRunLayers times draw there, kept between the least and the most (the least keeps every
// face of small charts of a few thousand boxes, cheap to draw, where a hundred thousand glazes'
// runs draw fewer).
inline constexpr double kBudgetFacesPerPixel = kRunLayers / kRunPixels;
inline constexpr std::size_t kLeastBoxFaceBudget = 16000;
inline constexpr std::size_t kMostBoxFaceBudget = 100000;

// The face budget of a chart whose category columns reach `columnPixels` pixels deep in the
// picture, all of them together.
std::size_t BoxFaceBudget(double columnPixels);

// How the boxes of rows `pitch` pixels apart in the picture are drawn, `boxes` boxes of which
// `facesOfABox` faces each are turned to the eye, their category columns reaching `columnPixels`
// deep in the picture all together (see above).
struct CBoxRowDrawing {
    bool slim = false;            // boxes draw their end faces alone...
    double wholeShare = 1.0;      // ...but this share of the rows, spread evenly, every face
    bool runs = false;            // slim rows drawn in column runs...
    double runDepth = kRunPixels; // ...this deep in the picture (pixels)
    bool thin = false;            // thin runs (see above)

    // Whether row `row` (of rows 0, 1, ...) draws every face of its boxes.
    bool Whole(int row) const;
};
CBoxRowDrawing BoxRowDrawing(double pitch, std::size_t boxes, int facesOfABox, double columnPixels);

// The slim rows of a chart's category columns, taken from the last drawn back (the nearest first),
// parted into pieces each drawn as one face: a row alone, or a run of rows.
class CChartColumnRuns {
public:
    // A row of a column: its column (category), its place along the column's depth in the picture
    // (pixels), its end face's lowest and highest point in the picture (pixels, y upward) and its
    // pattern; a hollow row shows what lies behind it, so it covers nothing.
    struct CRow {
        std::size_t column = 0;
        double depth = 0.0;
        double bottom = 0.0;
        double top = 0.0;
        int pattern = 0;
        bool hollow = false;
    };

    // Runs `depth` pixels deep in the picture (CBoxRowDrawing::runDepth).
    CChartColumnRuns(std::size_t columns, double depth) : m_columns(columns), m_depth(depth) {}

    // Notes where a row lies before any row is taken: the rows of the first and last kRunPixels of
    // a column's depth (its two ends) are each drawn alone.
    void Note(std::size_t column, double depth);
    // The piece a row belongs to, whether the piece is a run (it may be of one row) or a row
    // drawn alone, and whether the row now answers for the piece (reaches over its whole face).
    struct CTaken {
        std::size_t piece = 0;
        bool run = false;
        bool answers = true;
    };
    // The piece the next row back belongs to: pieces are numbered as they begin, the nearest first.
    // A row that starts a piece is the piece's nearest: the piece is drawn in its place.
    CTaken Take(const CRow& row);

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The run the next row of a column reaching the same ends may join: how low and high its face
    // reaches, and the row that answers for it.
    struct CRun {
        std::size_t piece = kNone;
        std::int64_t window = 0;
        int pattern = 0;
        double bottom = 0.0;
        double top = 0.0;
        double answerBottom = 0.0;
        double answerTop = 0.0;
    };
    struct CColumn {
        bool any = false;    // nearer rows taken
        double bottom = 0.0; // the nearer rows' faces reach this low and high
        double top = 0.0;
        CRun runs[4]; // of rows that reach neither of those ends, the top, the bottom, or both
        std::int64_t first = INT64_MAX; // the windows of its ends
        std::int64_t last = INT64_MIN;
    };

    std::int64_t Window(double depth) const;

    std::vector<CColumn> m_columns;
    double m_depth = kRunPixels; // of a run in the picture (pixels)
    std::size_t m_pieces = 0;
};

// A narrow box as the cover takes it (pixels, y upward): the strip its middle upright sweeps,
// where that upright crosses the middle of the chart, from the box's foot to its head.
struct CCoverStrip {
    double middle = 0.0;
    double bottom = 0.0;
    double top = 0.0;
};

class CChartBoxCover {
public:
    // Columns over a picture from left to right (pixels) for boxes `across` pixels wide; boxes as
    // wide as kNarrowBoxPixels or wider are never covered, and need no columns.
    CChartBoxCover(double left, double right, double across);

    // Whether boxes of its width may be covered at all.
    bool Tries() const { return !m_columns.empty(); }
    // Takes the next box back, the last drawn first: true when later boxes cover its ink.
    // A box not covered that hides what lies under it (not hollow) covers the earlier ones.
    bool Covered(const CCoverStrip& strip, bool hides);

private:
    std::vector<CLaterCover> m_columns;
    double m_origin = 0.0;
    double m_reach = 0.0; // half the width of a box's ink
};
