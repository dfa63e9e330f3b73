#pragma once

// Recipary text: glaze recipes as blocks of labelled lines, used by an outside recipe
// collection and by HyperGlaze's own labelled text. Each block:
//
//   Glaze name: <name>
//   Cone: ... Date: ... Color: ... and the other description labels, one per line
//   Recipe:<TAB>Percent<TAB>Batch
//   <material><TAB><percent><TAB><batch>      (or "<amount> <material>", or one amount column)
//   Totals:<TAB>...
//   Also add:
//   <addition lines>
//   Comments:
//   <note lines>
//
// Labels are compared at the start of a line ignoring case. The comments end at the next
// "Glaze name:" line or at one of the sections the collection appends (health hazards,
// analyses), which are not read. Import and export share the labels, so exported text reads
// back: name, description fields, recipe and additions (the batch column) and notes (re-flowed
// to 70 columns).

#include "glazes/GlazeList.h"
#include "support/TextLines.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

// Help contexts of the import's questions.
inline constexpr unsigned kReciparyMissingAmountHelpId = 198002;
inline constexpr unsigned kReciparyMissingNameHelpId = 198003;

class CReciparyIO {
public:
    // Reads the file at path, or the clipboard's text when path is empty, and appends the glazes
    // to target. An unreadable file shows "<path>: Error opening file" and reads nothing. After
    // an error or a Cancel in one of the questions target is emptied, named "Glazes" and loses
    // its information lines. Returns target's glaze count.
    static int ImportRecipes(CGlazeList& target, const std::string& path);

    // The reading itself, over text split into lines at the given line ends; source names the
    // text in messages.
    static int ImportText(CGlazeList& target, std::string_view text, LineBreaks breaks, const std::string& source);
    // The same over text whose lines end with delimiter ('\r' or '\n'; a CR LF pair is one end).
    static int ImportText(CGlazeList& target, std::string_view text, char delimiter, const std::string& source)
    {
        return ImportText(target, text, delimiter == '\r' ? LineBreaks::Cr : LineBreaks::Lf, source);
    }

    // Writes the glazes at indices (bad indices skipped) in the labelled layout. 0, or 1 when
    // the stream failed.
    static int ExportRecipes(std::ostream& out, const CGlazeList& glazes, std::span<const int> indices);
};
