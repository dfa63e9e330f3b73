#pragma once

// Constraints of the recipe optimizer on the amount of one material, and their owning list.
// Values stay text as typed; see OxideConstraint.h for how they are read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CConstraintRange;

class CMaterialConstraint {
public:
    CMaterialConstraint() = default;
    CMaterialConstraint(std::string material, char op, std::string value1, std::string value2);

    // Reads "material,op,value 1,value 2," (a final comma adds no empty field). The last three
    // fields are op (first character, 0 when empty), value 1 and value 2; every field before
    // them, joined again with ",", is the material name, so names may hold commas. Name and
    // values are trimmed. Fewer than four fields leave an empty name, no op and no values (an
    // invalid record), and the text is remembered so that Format gives it back unchanged.
    // Returns IsInvalid().
    bool Parse(std::string_view text);

    // "%s,%c,%s,%s,"; op 0 writes nothing between its commas. A record that Parse could not
    // split, and that nobody changed since, gives the text it was read from.
    std::string Format() const;

    // True when the name is empty, op is not '=', '>' or '<', value 1 is not a number text, or
    // value 2 is neither empty nor a number text: when there is a Fault.
    bool IsInvalid() const;

    // What makes the record invalid, as a message says it after "Error: ": "constraint on Silica:
    // the minimum \"abc\" is not a decimal number", "material constraint names no material",
    // "material constraint \"Silica\" cannot be read"; empty for a valid record.
    std::string Fault() const;

    // The material name, as messages show it.
    const std::string& GetDisplayName() const { return m_material; }

    // Bound queries. percent: the material unit is % weight of the recipe (else weight).
    //   lower  always present: '=' a - b (never below 0), '>' a, '<' b when given else 0,
    //          any other op 0.
    //   upper  '=' a + b, '<' a, '>' b when given else 100 (percent) or 99999 (weight),
    //          any other op 1000. Present always in percent units; in weight units for '=',
    //          for '<' with value 1 given and for '>' with value 2 given.
    bool HasLowerBound(bool /*percent*/) const { return true; }
    bool HasUpperBound(bool percent) const;
    double LowerBound(bool percent) const;
    double UpperBound(bool percent) const;

    bool operator==(const CMaterialConstraint&) const = default;

    std::string m_material; // name as typed; may contain commas
    char m_op = 0;          // '=', '>', '<'; 0 for none
    std::string m_value1;   // '=' target, '>' minimum, '<' maximum
    std::string m_value2;   // '=' +/- tolerance, '>' maximum, '<' minimum; may be empty

private:
    bool IsUnsplit() const;
    CConstraintRange Range(bool percent) const;

    std::optional<std::string> m_unsplitText; // the text a failed Parse could not split
};

// The material constraints of a parameter set, in the order entered, held by value.
class CMaterialConstraintArray : public std::vector<CMaterialConstraint> {
public:
    using std::vector<CMaterialConstraint>::vector;

    int GetCount() const { return static_cast<int>(size()); }
    // Stores a copy at index 0..count; any other index does nothing (returns false).
    bool InsertAt(int index, const CMaterialConstraint& record);
    void Add(const CMaterialConstraint& record) { push_back(record); }
    void RemoveAll() { clear(); }
};
