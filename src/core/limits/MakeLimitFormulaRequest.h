#pragma once

// Making a limit formula from glazes. The glaze list's Make Limit Formula command fills a
// request from its dialog (the name, the scope, where the statistics go and the oxide
// combinations with a by-percent flag each), every glaze list in scope adds its glazes' values
// (AddAnalysis), and the limit-formulas document compiles the new formula from the gathered
// values (CompileLimitFormula): for each combination a limit from the smallest to the largest
// value rounded outward, and optionally descriptive statistics with a 20-bin histogram.
//
// The request keeps its own copies of the combinations, so it never points into a combination
// list that might change while the command runs.

#include "limits/LimitFormula.h"
#include "limits/OxideCombination.h"
#include "support/FloatArray.h"
#include "support/StringArrayEx.h"

#include <string>
#include <string_view>
#include <vector>

class COxideAmounts;
class CLimitFormulaDB;

class CMakeLimitFormulaRequest {
public:
    // Room the accumulators start with.
    static constexpr int kInitialValues = 512;
    static constexpr int kHistogramBins = 20;

    // Appends a copy of combination with its flag and an empty accumulator.
    void AddCombination(const COxideCombination& combination, bool byPercent);
    // The dialog's "Oxide combinations": each name found (ignoring case) among combinations is
    // added with byPercent; the others are skipped. Returns the number added.
    int AddCombinationsByName(const COxideCombinationArray& combinations, const CStringArrayEx& names,
                              bool byPercent);
    // The dialog's "Limit formula": for each limit of the formula named formulaName (ignoring
    // case) in database, the combination of the limit's name with the limit's by-percent flag;
    // limits whose combination is no longer in the list are skipped. Returns the number added.
    int AddCombinationsOfFormula(const CLimitFormulaDB& database, std::string_view formulaName);

    // One glaze: a valid analysis adds each combination's value to its accumulator and counts
    // as used; any other counts as skipped and adds nothing, so the accumulators stay equally
    // long. A value an accumulator cannot hold is dropped.
    void AddAnalysis(const COxideAmounts& analysis);

    // The combinations that have their flag and accumulator (all of them, when they were added
    // through AddCombination).
    int GetCombinationCount() const;

    std::string m_name;                 // empty: the formula is named "Compiled from %d glazes"
    int m_allGlazes = 0;                // 1 every glaze of a database, 0 the selected rows
    int m_allDatabases = 0;             // 1 every open glaze database, 0 the command's own
    int m_statisticsToNotes = 0;
    int m_statisticsToInformation = 0;
    std::vector<COxideCombination> m_combinations;
    std::vector<unsigned char> m_byPercent;  // one per combination
    std::vector<CFloatArray> m_accumulators; // one per combination
    int m_glazesUsed = 0;
    int m_glazesSkipped = 0;
};

// Builds the formula the request describes: named m_name (or "Compiled from %d glazes", which is
// also its first note), one limit per combination whose range runs from the smallest to the
// largest gathered value rounded outward (to 0.1 by percent, else to 0.001, or to fewer decimals
// when declimformulas asks for fewer, so that every glaze lies within what the text says) and
// written with the decimals of the preferences declimformulas and tzslimformulas. With either statistics flag
// the statistics and histogram lines of each combination go to the notes and/or to information
// (which receives "Statistics: <name>" first). Returns 0, or 1 when no glaze was used (no value
// was gathered): formula and information are then left alone.
int CompileLimitFormula(const CMakeLimitFormulaRequest& request, CLimitFormula& formula,
                        CStringArrayEx& information);
