#pragma once

// The text form of a graph template for printing, print preview and Write to File: its name, notes,
// graph type, titles, styles, fonts, axes, plotted variables, overlay, limit formula and data
// sources, as the template's graph type uses them.
//
// Lines end with '\n' and carry the text printer's layout characters (support/TextPrinter.h):
// 1 keep together, 2 not printed, 5 / 6 running headers, 12 new page (with 7 the numbering
// restarts), 15 tall line, 25 a rule as long as the text. With form feeds (the print preference
// prtuseffs) each template begins a page headed by its name; without, the name is a tall ruled
// line and templates are parted by two empty lines.

#include <iosfwd>

class CGraphTemplate;

void WriteGraphTemplateSummary(std::ostream& out, const CGraphTemplate& graphTemplate, bool formFeeds);
