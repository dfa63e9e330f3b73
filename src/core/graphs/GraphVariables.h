#pragma once

// The values a chart plots for a glaze, by GraphVariable code, in the unit of the template
// (oxtype), and the texts that go with them: axis labels and number formats, the entries of an
// oxide pie or bar with their "other" remainders, the text of one data point, and data-set
// titles. Everything here reads only the template, the glaze and its analysis (and, for costs,
// the materials database's currency settings), so the chart builders and the tests share it.

#include "graphs/GraphVariable.h"

#include <array>
#include <string>
#include <vector>

class CGlaze;
class CGraphTemplate;
class COxideColorList;

// A template's oxtype: 0 unity formula, 1 percent by weight, anything else percent by moles.
enum GraphUnit : int {
    kGraphUnitUnity = 0,
    kGraphUnitWeightPercent = 1,
    kGraphUnitMolePercent = 2,
};

using CGraphValues = std::array<double, kGraphVariableCount>;

// The group of oxide z by the first role flag of its element, in the order alkali, neutral, acid,
// not expected, volatile (0..4, the order of the totals 105..109 and remainders 110..114); -1
// for an oxide of no group.
int GraphOxideGroup(int z);

// The axis label and number format of a code: oxide formulas, "LOI", "Alkalis" ... "Cost per
// kg of glaze", "Firing temp (C)", and "???" for unused codes. The format of oxides, totals and
// remainders is empty for unity and "##0\%" for percentages; LOI is always a percentage; costs
// take the currency format of the materials database.
void GetGraphVariableLabel(const CGraphTemplate& graphTemplate, int code, std::string& label, std::string& format);

// The chart number format of costs: each symbol character behind a backslash, then placesLeft
// '#', "0." and placesRight '0' ("$", 3, 2 gives "\$###0.00").
std::string BuildChartCurrencyFormat(const std::string& symbol, int placesLeft, int placesRight);

// Fills values with the glaze's value of every code (0 for the unused 117 and 122..124), the "other"
// remainders taken relative to the template's oxide list, and returns the number of codes in that
// list. Returns 0 and leaves values alone when the glaze's analysis is not valid.
int GetGraphVariableValues(const CGraphTemplate& graphTemplate, const CGlaze& glaze, CGraphValues& values);

// One segment or bar of an oxide chart.
struct CGraphOxideEntry {
    double value = 0.0;
    std::string label;
    int color = 0;
    int pattern = 0;
    int code = 0;
    bool operator==(const CGraphOxideEntry&) const = default;
};

// What an oxide pie or bar shows for the glaze: one entry per code of the template's oxide list
// (with addRemainder, then the whole remainder), a group's oxides left out once the group's total
// was listed, KNaO once sodium or potassium was, LOI and the property codes only with
// includeOther. Entries below the smallest shown value (0.01 unity, 0.1 percent) are dropped
// unless keepSmall; negative values show as 0. Colours follow colors (null: none) by the colour
// rule. pareto sorts ascending (> 0) or descending (< 0); reverse turns the order round. At most
// kGraphVariableCount entries. Returns their number, 0 when the analysis is not valid.
int GetOxideGroupValues(const CGraphTemplate& graphTemplate, const COxideColorList* colors, const CGlaze& glaze,
                        std::vector<CGraphOxideEntry>& entries, bool keepSmall, bool reverse, int pareto,
                        bool addRemainder, bool includeOther);

// The oxide-list text ("%d," per code) of up to three plotted codes, in the order that keeps the
// remainders right: totals 105..109, oxides, remainders 110..114, 115, 116, then 104 and
// 118..127; within each, x before y before z. Other codes are left out.
std::string FormatGraphVariableList(int x, int y, int z);

// The text of one data point's value: "12.5%m  SiO2", "3.20%  LOI", "Si/Al: 4.25",
// "COE: 65.3 x 10e-7 per degree C", "Viscosity: 12.0", "$1.25 per kg of glaze",
// "Firing temp: 1222 C (c/6)"; empty for other codes.
std::string FormatGraphPointValue(const CGraphTemplate& graphTemplate, int code, double value);

// The name of data source index, its first "[current database]" replaced by databaseName and its
// first "[current glaze]" by glazeName when they are given; empty for an index outside the list.
std::string GetDataSetTitle(const CGraphTemplate& graphTemplate, int index, const std::string* databaseName,
                            const std::string* glazeName);
