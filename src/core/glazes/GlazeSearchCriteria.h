#pragma once

// The criteria of the Find Glazes command, read by CGlaze::MatchesCriteria.
//
// A set holds criteria on glaze fields and a combine mode. Several criteria on the same field are
// alternatives: when one of them matches, all of them count as matched. The combine mode then
// asks for all, not all, any or none of the criteria to be matched.

#include <memory>
#include <string>
#include <vector>

class CDocument;
class CGlazeAnalysis;
class CLimitFormula;

// Field codes of a criterion. The text fields compare the glaze's field in lower case with the
// criterion's text (which is kept in lower case): operator 0 equal, 1 contains.
enum GlazeSearchField : int {
    kSearchName = 1,
    kSearchIndex = 2,
    kSearchSource = 3,
    kSearchDate = 4,           // by date value, operators kSearchBefore..kSearchBetween
    kSearchType = 5,
    kSearchConeRange = 6,      // the cone ranges overlap (m_low..m_high)
    kSearchFiretype = 7,
    kSearchColor = 8,
    kSearchVisTexture = 9,
    kSearchQuality = 10,
    kSearchTransparency = 11,
    kSearchCrystals = 12,
    kSearchBubbles = 13,
    kSearchFlow = 14,
    kSearchDurability = 15,
    kSearchFlaws = 16,
    kSearchTested = 17,
    kSearchImageFile = 18,
    kSearchNoteFile = 19,
    kSearchVariations = 20,    // any variation line
    kSearchNotes = 21,         // any note line
    kSearchByVolume = 22,      // m_low 1 by volume, 0 by weight
    kSearchLimitFormulaName = 24,
    kSearchNotesOrSource = 25, // any note line, any variation line or the source
    kSearchMaterial = 26,      // any component or addition name
    kSearchOxide = 27,         // the oxide of m_element is present in the analysis
    kSearchAnyField = 28,      // any of the descriptive fields
    kSearchWithinLimits = 29,  // the analysis lies within m_limitFormula
    kSearchRangeText = 30,
    kSearchDateText = 31,
};

// Operators of a criterion.
enum GlazeSearchOperator : int {
    kSearchEquals = 0,
    kSearchContains = 1,
    kSearchBefore = 5,
    kSearchOnOrBefore = 6,
    kSearchOn = 7,
    kSearchOnOrAfter = 8,
    kSearchAfter = 9,
    kSearchBetween = 10,       // m_date1 <= date <= m_date2
};

// Combine modes of a set.
enum GlazeSearchCombine : int {
    kCombineAll = 0,
    kCombineNotAll = 1,
    kCombineAny = 2,
    kCombineNone = 3,
};

class CGlazeSearchCriterion {
public:
    int m_field = 0;
    int m_operator = 0;
    int m_element = 0;          // kSearchOxide: the element number
    std::string m_text;         // lower case
    std::string m_text2;
    int m_low = 0;              // kSearchConeRange: the cone range; kSearchByVolume: the state
    int m_high = 0;
    int m_date1 = 0;            // kSearchDate: date values (yyyymmdd)
    int m_date2 = 0;
    const CLimitFormula* m_limitFormula = nullptr; // kSearchWithinLimits; not owned
    mutable int m_matched = 0;  // work space of the evaluation
};

class CGlazeSearchCriteria {
public:
    // Appends a criterion on a field with an operator and a text; returns it for further fields.
    CGlazeSearchCriterion& Add(int field, int op, std::string text = std::string());

    int m_combineMode = kCombineAll;
    std::vector<std::unique_ptr<CGlazeSearchCriterion>> m_criteria;
};

// The request of the glaze list's Find command: which glazes of which databases are searched,
// the criteria, and what becomes of the matches (FindGlazesAction in shell/OxidariumApp.h:
// 0 select them, 1 add them to the selection, 2 copy them, 3 move them to a new database).
struct MatchCriteria {
    int m_allGlazes = 1;    // 1 every glaze of a database, 0 only its selected rows
    int m_allDatabases = 0; // 1 every open glaze database, 0 only the command's own
    int m_action = 0;
    CGlazeSearchCriteria m_criteria;
    CDocument* m_pTarget = nullptr; // the new database of actions 2 and 3; not owned
};
