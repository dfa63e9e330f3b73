#pragma once

// Splitting a text into its lines, by the line-break rule of where the text comes from.

#include <string>
#include <string_view>
#include <vector>

// Which line ends break a line. A CR LF pair is always one break.
enum class LineBreaks {
    CrLf, // only CR LF (texts the program writes itself)
    Lf,   // LF or CR LF; a lone CR stays in its line
    Cr,   // CR or CR LF; a lone LF stays in its line
    Any,  // LF, CR LF or a lone CR
};

// The lines of text, without their line ends. The text after the last break is a line when it
// is not empty, or always with keepEmptyLast (so "a\r\n" gives "a" and "").
std::vector<std::string> SplitLines(std::string_view text, LineBreaks breaks, bool keepEmptyLast = false);
