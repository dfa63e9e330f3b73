#pragma once

// A limit formula: a named set of limits, each bounding one oxide combination. A glaze is within
// the formula when its analysis is valid and every limit holds. Glazes name their formula by
// text (CGlaze::m_limform); formulas can be combined into their union or intersection.
//
// Copies are deep: a copied formula owns copies of every limit and of the notes.
//
// A formula may only be constructed while an application context exists: a new formula takes
// today's date in the format of the working preferences.

#include "limits/Limit.h"
#include "support/StringArrayEx.h"

#include <string>

class COxideAmounts;

class CLimitFormula {
public:
    // The name given, today's date, no limits, no notes.
    explicit CLimitFormula(std::string name = "new limit formula");

    // False for an analysis that is not valid, even when the formula has no limits; otherwise
    // true when every limit holds (the test stops at the first that fails).
    bool IsAnalysisWithin(const COxideAmounts& analysis) const;

    // Combines other into this formula: CLimit::kUnion keeps only the limits that both formulas
    // have, widened; any other mode narrows corresponding limits and adds the ones only other
    // has. Two limits correspond when their combination names are equal, case counted, and
    // their by-percent flags are equal.
    void Combine(const CLimitFormula& other, int mode);

    std::string m_name;      // file key "name"
    std::string m_date;      // file key "date"
    CLimitArray m_limits;
    CStringArrayEx m_notes;  // file key "note"

private:
    void Intersect(const CLimitFormula& other);
    void Unite(const CLimitFormula& other);
};
