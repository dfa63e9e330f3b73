#pragma once

// The series and the point table of the many-glaze point charts (scatter, 3-D scatter,
// triaxial) and of the many-glaze limit-formula charts.
//
// A glaze is plotted when its analysis is valid; every data source with at least one plotted
// glaze becomes a series, in data-source order (a data source without one leaves no trace: no
// series, legend entry or text block). With S series and P the largest number of plotted glazes
// of one series, the table holds N = P x S points, point p of series s at p x S + s; a series
// with fewer glazes is padded with missing points (flag kChartPointMissing).

#include "graphs/ChartEngine.h"

#include <array>
#include <string>
#include <vector>

class CGlaze;

struct CPointSeries {
    int source = 0;             // the data source's index
    std::string title;          // its data-set title (may be empty)
    int color = 0;              // its colour (0 in a mono chart)
    int symbol = 0;             // its marker symbol
    std::vector<CGlaze*> glazes; // its plotted glazes, in data-source order
};

struct CGraphPointTable {
    std::vector<CPointSeries> series;
    int points = 0;     // P
    int glazeCount = 0; // the plotted glazes, each counted once however many series it is in
    // The variables' values of each point (x, y, z), and its flag.
    std::array<std::vector<double>, 3> values;
    std::vector<int> flags;

    int SeriesCount() const { return static_cast<int>(series.size()); }
    int Size() const { return points * SeriesCount(); }
    int Index(int point, int set) const { return point * SeriesCount() + set; }
    std::vector<std::string> Titles() const;
    std::vector<int> Colors() const;
    std::vector<int> Symbols() const;
};
