#pragma once

// One substitution: a group of materials (set 1, "Material(s) :") that a recipe may give up for
// another group (set 2, "Substitution :") in fixed proportions. Amounts are parts by weight;
// only their proportions matter when the substitution is applied.
//
// The record owns its two ingredient lists and its note lines; copies never share them.

#include "glazes/IngredientList.h"
#include "support/StringArrayEx.h"

#include <string>

class CMaterialArray;

// The name of a record made by New, Insert New and Append New.
inline constexpr const char* kNewSubstitutionName = "new substitution";

class CSubstitution {
public:
    // A record with this name, dated today (the date-format preference), with empty sets and
    // no notes.
    explicit CSubstitution(std::string name = kNewSubstitutionName);

    // Replaces, in recipe, the materials of the from-set by those of the to-set in the stated
    // proportions, as far as the recipe holds every from-material. Forward (reverse 0) takes set 1
    // out and puts set 2 in; reverse non-zero the other way round. Returns 1 when the recipe
    // changed, 0 when the substitution does not apply; the recipe's duplicate lines are merged
    // in either case. Materials are recognised through the open materials database.
    int ApplyToRecipe(CIngredientList& recipe, int reverse) const;
    // The same with the materials database given (null: none, names are compared as text).
    int ApplyToRecipe(CIngredientList& recipe, int reverse, CMaterialArray* materials) const;

    std::string m_name;
    std::string m_date;     // as read or typed; never parsed
    CIngredientList m_set1; // taken out by a forward substitution
    CIngredientList m_set2; // put in by a forward substitution
    CStringArrayEx m_notes;
};
