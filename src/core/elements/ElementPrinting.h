#pragma once

// The two element reports: the element list (one row per element 1..103 under a heading with
// the database name, path and information lines) and the element summaries (a block of lines
// for each chosen element).
//
// Both are written as text lines, each ended by '\n', for the text printer, which paginates
// them; a CLineOStream turns them into the printer's lines. The layout travels inside the lines
// as control characters at their end:
//   1 keep the run of marked lines together, 2 not printed (written to text files),
//   5 / 6 the line sets the running header of first / later pages, 7 with 12: numbering
//   restarts, 12 new page, 15 tall line, 25 a rule as long as the text.
// With form feeds on (the print preference `prtuseffs`), headings become running headers and
// every summary starts a new page; with them off, headings are tall ruled lines.

#include "elements/ElementRecord.h"
#include "support/StringArrayEx.h"

#include <cstdint>
#include <iosfwd>
#include <string>

// The ceramic role as the summaries word it: "Alkali (amphoteric)", "Alkali", "Neutral",
// "Acid (amphoteric)", "Acid", "Volatile", else "Not Expected" (alkali tested first).
const char* ElementSummaryRoleWord(std::int32_t role);
// The same in the list's shorter words: "Alkali (amph.)", "Alkali", "Neutral", "Acid (amph.)",
// "Acid", "(volatile)", "(not expected)".
const char* ElementListRoleWord(std::int32_t role);

// An expansion coefficient of 0 or below -998 is unknown.
inline bool IsUnknownExpansion(double expansion) { return expansion == 0.0 || expansion < -998.0; }

// The summary of one element, as the summaries write it.
void WriteElementSummary(std::ostream& out, const CElementRecord& element, bool formFeeds);
// The summaries of every element z in 1..103 whose flag is non-zero, in z order, from table.
void WriteElementSummaries(std::ostream& out, const CElementRecord* table, const int flags[kElementCount],
                           bool formFeeds);
// The same from GetElementTable() with the working print preferences.
void WriteElementSummaries(std::ostream& out, const int flags[kElementCount]);

// One row of the element list, without a line break; Si reads
// "14  Si   28.1  Silicon       SiO2    60.1  Acid           0.35 x10e-7/deg C".
std::string FormatElementListRow(const CElementRecord& element);
// The element list of table: titled with the database name, or the path when the name is empty.
void WriteElementList(std::ostream& out, const CElementRecord* table, const std::string& dbName,
                      const std::string& path, const CStringArrayEx& infoLines, bool formFeeds);
