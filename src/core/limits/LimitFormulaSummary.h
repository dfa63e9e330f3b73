#pragma once

// The text form of limit formulas for printing, print preview and Write to File: the database
// header with the combination table, and each formula with its limits and notes.
//
// Lines end with '\n' and carry the text printer's layout characters (support/TextPrinter.h):
// 1 keep together, 2 not printed, 5 / 6 running headers, 12 new page (with 7 the numbering
// restarts), 15 tall line, 25 a rule as long as the text. With form feeds (the print preference
// prtuseffs) each section begins a page headed by its title; without, titles are tall ruled
// lines and sections are parted by two empty lines.

#include "support/StringArrayEx.h"

#include <iosfwd>
#include <span>
#include <string>

class CLimitFormula;
class CLimitFormulaDB;
class COxideCombinationArray;

// The combination table: header gets "Name", "Formula" and "Plot range" in columns as wide as
// their longest entry plus two; lines gets one row per combination, the plot range written with
// the decimals of the preferences declimformulas and tzslimformulas. lines is emptied first.
void WriteCombinationTable(const COxideCombinationArray& combinations, CStringArrayEx& lines, std::string& header);

// The summary of formula, or when it is null of the formulas of database at indices (those out
// of range skipped). With withHeader the database's title (its name, else path), "File: " and
// path, its information lines and the combination table come first.
void WriteLimitFormulaSummary(std::ostream& out, const CLimitFormulaDB& database, const std::string& path,
                              std::span<const int> indices, bool withHeader, const CLimitFormula* formula,
                              bool formFeeds);
