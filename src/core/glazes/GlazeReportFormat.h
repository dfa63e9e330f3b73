#pragma once

// The small pieces every glaze report and text output is built from: the text printer's marker
// characters as these lines combine them, fixed-width number and text fields, and the cost texts
// of the open materials database.

#include <iosfwd>
#include <string>
#include <string_view>

// The printer's in-line markers (see support/TextPrinter.h).
inline constexpr const char* kMarkKeep = "\x01";       // keep with the next line
inline constexpr const char* kMarkHidden = "\x02";     // screen only, not printed
inline constexpr const char* kMarkPrintOnly = "\x03";  // left out of the screen view
inline constexpr const char* kMarkNoText = "\x04";     // left out of text files
inline constexpr const char* kMarkHeaders = "\x05\x06"; // the running headers of both page kinds
inline constexpr const char* kMarkRestart = "\x07";    // page numbering starts again
inline constexpr const char* kMarkNewPage = "\x0c";
inline constexpr const char* kMarkTall = "\x0f";
inline constexpr const char* kMarkRule = "\x19";

// Writes text, then markers, then a line break.
void WriteMarkedLine(std::ostream& out, std::string_view text, std::string_view markers = {});

// The text padded with blanks on the left to width, never cut (printf's "%<width>s").
std::string RightAligned(std::string_view text, int width);
// The text padded with blanks on the right or cut to exactly width.
std::string FixedWidth(std::string_view text, int width);
// The text without trailing blanks.
std::string TrimmedRight(std::string text);
// count copies of c (none for count below 1).
std::string Repeated(char c, int count);

// FormatNumberWidth(value, places, decimals) with the trailing zeros blanked down to keep
// decimals: the column keeps its width.
std::string BlankedNumber(double value, int places, int decimals, int keep);

// A double as an output stream writes it by default: six significant digits, no trailing zeros.
std::string FormatGeneral(double value);

// The currency symbol and the cost in the materials database's cost format.
std::string CurrencyCost(double cost);
// The width of CurrencyCost's texts.
int CostColumnWidth();
// The cone as range texts write it: 6, or 06 for cone -6.
std::string ConeText(int cone);

// The heading of a report section: with form feeds and the "anffs" preference a new page, then
// an empty line, the screen's title between two bars and the printed title, tall and ruled.
void WriteReportSectionHeading(std::ostream& out, const char* screenBar, const std::string& screenTitle,
                               const std::string& printTitle, const std::string& ruledTitle);
