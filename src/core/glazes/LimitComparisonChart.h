#pragma once

// A glaze's analysis against a limit formula, drawn in text: one row per limit with the
// combination's name, a bar with tick marks over which the limit's range is drawn, a mark at the
// glaze's value ("*" within the limit, "o" outside it) and the value itself, under axis lines
// that label the bar's ends and middle. The glaze report and the edit view's Limit Formula page
// show it.

#include <iosfwd>
#include <string>

class CGlazeAnalysis;

// Writes the chart of the limit formula named formulaName (ignoring case) of the current
// limit-formula database; nothing when there is no such formula or it has no limits. The bar
// spans barWidth + 1 columns starting after nameWidth + gap; with keep set every line ends with
// the keep-with-next marker (character 1).
void WriteLimitComparisonChart(std::ostream& out, const CGlazeAnalysis& analysis, const std::string& formulaName,
                               int nameWidth, int gap, int barWidth, int divisions, int keep);
