#pragma once

// Which boxes of a true 3-D bar chart of narrow boxes (many categories) the boxes drawn after
// them cover whole, so that they need not be drawn: a hundred thousand glazes by a thousand
// materials put boxes many to a pixel. Used only by the chart's own drawing files.
//
// A box draws its picture (the faces turned to the eye, or a slim row's front alone) and its
// outline, half a pixel round it: its ink. A box is left out only where the ink of boxes drawn
// after it (and drawn themselves) covers its ink whole. A box whose ink shows by a sliver, however
// thin, is drawn: the side of rows a fraction of a pixel deep is made of such slivers, each row's
// outline in its colour, and every pixel there mixes the outlines of hundreds of rows. Leaving
// out all rows but those a quarter pixel apart showed the colours of the few left as stripes,
// and leaving out any regular share of them mixes only some of the colours.
//
// The ink of the later boxes is kept column by column: narrow columns across the picture, each
// holding the stretch the later boxes' ink covers over the column's whole width (of each later
// box, a rectangle inside its picture grown by its outline). A box is covered when in every
// column its ink reaches (its picture's bounds grown by its outline) that stretch holds its ink's
// height. Boxes of wide categories show their neighbours' sides and their rows' slivers: they
// are all drawn.

#include "graphs/ChartDrawing.h"

#include <utility>
#include <vector>

// A box's picture in pixels, y upward: its bounds, and a rectangle inside it (empty when it has
// none).
struct CCoverPicture {
    CChartRect bounds;
    CChartRect inner{0.0, 0.0, -1.0, -1.0};
};

class CChartBoxCover {
public:
    // Columns over a picture from left to right (pixels).
    CChartBoxCover(double left, double right);

    // Takes the next box back, the last drawn first: true when later boxes cover its ink whole.
    // A box not covered that hides what lies under it (not hollow) covers the earlier ones.
    bool Covered(const CCoverPicture& picture, bool hides);

private:
    // The columns from..to lies in, or those wholly inside it (to is then one past the last).
    std::pair<std::size_t, std::size_t> Columns(double from, double to, bool whole) const;

    std::vector<CLaterCover> m_columns;
    double m_origin = 0.0;
};
