#pragma once

// Selected glazes as one HTML page: a linked index of the glazes, then one section per glaze
// with its description, its recipe and additions in percent and batch columns, and its
// comments. The user's own texts from the profile section "HTML" frame the page: "Header" in the
// head, "Top" at the start of the body, "Bottom" at its end; they are written as they stand
// (they are HTML). The glazes' own texts are escaped, so a name like "Blue <Rutile> & Tin" shows
// as written and cannot break the page.

#include "glazes/GlazeList.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

class CHtmlExport {
public:
    // Writes the page for the glazes at indices (bad indices skipped), in that order. The
    // index entry of the k-th glaze links to the anchor "glz%04d" of k. 0, or 1 when the stream
    // failed.
    static int WriteGlazes(std::ostream& out, const CGlazeList& glazes, std::span<const int> indices);
};

// text with '&', '<', '>', '"' and '\'' written as character references.
std::string EscapeHtml(std::string_view text);
