#pragma once

// Mix Glazes and Average Glazes: one new glaze made from several glazes of the current database
// and inserted into that database directly after the lowest-standing source. Mix combines up to
// four glazes in parts by weight; Average combines the selected glazes in equal shares. Each
// source is weighted by the total weight of its batch, additions included, and the result is
// expressed per 100 of components. The sources are not changed.

#include <array>
#include <string>
#include <vector>

class CGlaze;
class CGlazeList;
class CGlazesDoc;
class CView;

inline constexpr int kMixSlots = 4;

// What the Mix Glazes dialog collects: per slot a glaze index into the current database (-1 for
// none) and its part by weight. A slot takes a share when it names a glaze and its part is a
// number above 0.
struct CMixGlazesRequest {
    std::array<int, kMixSlots> glazes{-1, -1, -1, -1};
    std::array<double, kMixSlots> parts{};
};

// The request as the dialog opens: the first four selected rows (ascending) fill the slots in
// order, each with 1 part by weight.
CMixGlazesRequest MakeMixGlazesRequest(const std::vector<int>& selectedRows);

// Builds the mixture into mixture and sets insertAt to the position after the lowest-standing
// chosen glaze. 0 on success; -1, silently, when no slot names a glaze of source or no part is
// positive; 1 when a sharing glaze cannot be converted to weight, with the message in error.
int BuildGlazeMixture(const CMixGlazesRequest& request, const CGlazeList& source, CGlaze& mixture, int& insertAt,
                      std::string& error);

// Builds the average of the glazes at rows into average ("Average of %d glazes") and sets
// insertAt after the highest row. Rows outside source are ignored. 0 on success; -1, silently,
// without rows; 1 when a glaze cannot be converted to weight, with the message in error.
int BuildGlazeAverage(const std::vector<int>& rows, const CGlazeList& source, CGlaze& average, int& insertAt,
                      std::string& error);

// The commands after their dialog (Average has none): build, insert into document, announce the
// insertion (kind 5, code 14) with sender as the sending view. A failure is shown with the stop
// icon. Return the insert position, or -1 when nothing was inserted; the sending list view then
// refills itself and restores its selection.
int RunMixGlazes(const CMixGlazesRequest& request, CGlazesDoc& document, CView* sender);
int RunAverageGlazes(const std::vector<int>& selectedRows, CGlazesDoc& document, CView* sender);
