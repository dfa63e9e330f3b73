#pragma once

// The full text report of one glaze: its title, descriptive fields, recipe by volume and by
// weight, variations, notes, material hazards, a short cost line, the chemical analysis and a
// cost summary. The working preferences choose the sections ("andes", "anrec", "anvar",
// "annotes", "anhaznotes", "ancostsum", "anchem" with its parts, "ancost") and the number
// formats. The same lines feed the analysis view, printing and Write to File: the printer's
// marker characters in them (glazes/GlazeReportFormat.h) say which lines are for the screen
// only (2), for paper only (3), and how pages break and headers run.

#include <iosfwd>

class CGlaze;
class CGlazeAnalysis;

// Writes the report of glaze into out, computing the glaze's analysis when it has none.
void WriteGlazeReport(const CGlaze& glaze, std::ostream& out);

// The hazard lines of the recipe's materials under "Material Hazards:" (the additions' only
// when they take part in the chemistry). Writes nothing when no material has hazard lines;
// true when it wrote the section.
bool WriteMaterialHazards(std::ostream& out, const CGlazeAnalysis& analysis);

// The expansion coefficient estimate and the oxides with unusual expansion effects.
void WriteExpansionLines(std::ostream& out, const CGlazeAnalysis& analysis);

// The report's chemical analysis section (the analysis must be valid); headed says whether its
// heading is written. True when it wrote any line.
bool WriteChemicalAnalysisSection(std::ostream& out, const CGlaze& glaze, bool headed);
