#pragma once

// Constraints of the recipe optimizer on the fired glaze's chemistry: one bound on one oxide, on
// sodium plus potassium oxides together (KNaO), on the loss on ignition or on the thermal
// expansion, and the owning list of such bounds with the running sums the Optimize dialog shows.
//
// The two values stay text exactly as the user typed them (the dialog shows them again, and the
// .glz file stores them as text). A number is read from a text each time a bound is needed: the
// leading decimal number, 0 when there is none, so an empty text reads as 0. The bound rules here
// are the only ones: the problem builder and the dialog's running sums both ask these queries.

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What `COxideConstraint::m_oxide` holds besides an element number 1..103.
inline constexpr int kConstraintLOI = -1;       // loss on ignition
inline constexpr int kConstraintKNaO = -2;      // sodium plus potassium oxides
inline constexpr int kConstraintExpansion = -3; // thermal expansion

// --- helpers shared by oxide and material constraints -----------------------------------------

// The leading decimal number of a constraint value, 0 when there is none; always finite.
double ReadConstraintValue(std::string_view text);
// '=' (target and tolerance), '>' (minimum and maximum) or '<' (maximum and minimum).
bool IsConstraintOp(char op);
// A value text a constraint accepts: empty when optional is set, else a number text (an optional
// '-', digits, at most one '.').
bool IsConstraintValueText(std::string_view text, bool optional);
// A value or line as a constraint message quotes it: in double quotes, cut after 24 characters.
std::string QuotedConstraintText(std::string_view text);
// What keeps an op and its two values from making a constraint, as a message says it: the
// operator ('the operator "x" is none of =, >= and <='), then each value by what it stands for
// ('the target "nan" is not a decimal number'); empty when IsConstraintOp and
// IsConstraintValueText accept them.
std::string ConstraintValuesFault(char op, std::string_view value1, std::string_view value2);
// The op as its text: one character, or nothing for op 0 (a record without an op must never put a
// NUL byte into a file).
std::string ConstraintOpText(char op);
// a + b kept within +-kConstraintValueLimit: a bound built from the longest digit run is still a
// finite number.
inline constexpr double kConstraintValueLimit = std::numeric_limits<double>::max();
double AddConstraintBounds(double a, double b);
// The range an op and its two values allow, each value read with ReadConstraintValue (an empty
// value 2 counts as not given):
//   lower  '=' value 1 - value 2, below 0 only when mayGoNegative; '>' value 1; '<' value 2 when
//          given, else 0; any other op 0.
//   upper  '=' value 1 + value 2; '<' value 1; '>' value 2 when given, else openUpper; any other
//          op 1000.
struct CConstraintRange {
    double lower = 0.0;
    double upper = 0.0;
};
CConstraintRange ConstraintRange(char op, std::string_view value1, std::string_view value2,
                                 double openUpper, bool mayGoNegative);
// A split field without its leading and trailing white space.
std::string TrimmedConstraintField(std::string field);

// --- oxide constraint ---------------------------------------------------------------------------

class COxideConstraint {
public:
    COxideConstraint() = default;
    COxideConstraint(int oxide, char op, std::string value1, std::string value2);

    // Reads the text form "oxide,op,value 1,value 2," (a final comma adds no empty field).
    // Exactly four fields set all four members (op = first character of field 2, 0 when empty;
    // both values trimmed). Any other count makes the record oxide 0 with no op and no values,
    // and the text is remembered so that Format gives it back unchanged: an unreadable line of
    // a file survives a save. Returns IsInvalid().
    bool Parse(std::string_view text);

    // "%d,%c,%s,%s,": each field followed by a comma; op 0 writes nothing between its commas.
    // A record that Parse could not split, and that nobody changed since, gives the text it was
    // read from.
    std::string Format() const;

    // True when oxide is 0 or outside -3..103, op is not '=', '>' or '<', value 1 is not a
    // number text, or value 2 is neither empty nor a number text: when there is a Fault.
    bool IsInvalid() const;

    // What makes the record invalid, as a message says it after "Error: ": "constraint on SiO2: the
    // target \"nan\" is not a decimal number", "constraint on oxide number 127: there is no such
    // oxide", "oxide constraint \"14,=\" cannot be read"; empty for a valid record.
    std::string Fault() const;

    // "KNaO", "LOI", "special" (expansion), the element table's oxide text for 1..103 (for
    // example "Al2O3"), else "(unknown)". Used in messages.
    std::string GetDisplayName() const;

    // Bound queries. percent: the oxide unit is % weight or % molecular (else unity formula).
    // A value is given when its text is not empty.
    //   lower  '=' a - b (b 0 when not given), negative results 0 except on expansion;
    //          '>' a; '<' b when given, else 0; any other op 0.
    //   upper  '=' a + b; '<' a; '>' b when given, else the default maximum; any other op 1000.
    // Default maximum of '>': expansion 1000; percent: 100 for KNaO and non-volatile elements,
    // else 1000; unity: 1 for KNaO and alkali elements, else 1000.
    bool HasLowerBound(bool percent) const;
    bool HasUpperBound(bool percent) const;
    double LowerBound(bool percent) const;
    double UpperBound(bool percent) const;

    bool IsExpansion() const { return m_oxide == kConstraintExpansion; }

    bool operator==(const COxideConstraint&) const = default;

    int m_oxide = 0;      // element 1..103, or kConstraintLOI, kConstraintKNaO, kConstraintExpansion
    char m_op = 0;        // '=', '>', '<'; 0 for none
    std::string m_value1; // '=' target, '>' minimum, '<' maximum
    std::string m_value2; // '=' +/- tolerance, '>' maximum, '<' minimum; may be empty

private:
    // True while the members are still what a failed Parse left.
    bool IsUnsplit() const;
    // Both bounds, with the default maximum of '>' for this oxide and unit.
    CConstraintRange Range(bool percent) const;

    std::optional<std::string> m_unsplitText; // the text a failed Parse could not split
};

// --- the owning list ----------------------------------------------------------------------------

// What SumGroupBounds gives back. Exact: every member is an '=' constraint; lower is then the sum
// of the targets and upper the sum of the tolerances.
struct CGroupBoundsSum {
    double lower = 0.0;
    double upper = 0.0;
    bool hasLower = false;
    bool hasUpper = false;
    bool exact = false;
};

// Role groups of SumGroupBounds.
enum EConstraintGroup : int {
    kGroupAllOxides = 0,
    kGroupNonVolatile = 1, // alkali, neutral, acid and not-expected oxides
    kGroupVolatile = 2,
    kGroupAlkali = 3,
};

// The oxide constraints of a parameter set, in the order entered. Records are held by value: a
// copy of the list copies every record.
class COxideConstraintArray : public std::vector<COxideConstraint> {
public:
    using std::vector<COxideConstraint>::vector;

    int GetCount() const { return static_cast<int>(size()); }
    // Stores a copy at index 0..count; any other index does nothing (returns false).
    bool InsertAt(int index, const COxideConstraint& record);
    void Add(const COxideConstraint& record) { push_back(record); }
    void RemoveAll() { clear(); }

    // Checks every record and sums the bounds of one role group (EConstraintGroup); unit is the
    // oxide unit (1 and 2 are percent). Returns 0, or 1 with the message "Error in constraint on
    // oxide %s" (the first invalid record) or "Conflict with KNaO constraint" (sodium and
    // potassium bounds that the KNaO bounds cannot meet, beyond the "decremainders" rounding).
    // The message is emptied on success; sum is reset in every case.
    int SumGroupBounds(int group, int unit, CGroupBoundsSum& sum, std::string& message) const;
};
