#pragma once

// Substitutions applied to the glazes of a glaze database.

class CGlazesDoc;
class CSubstitution;

// Applies the substitution to glaze number index's components and then to its additions
// (forward, or reversed when reverse is non-zero) and marks the document modified. 1 when either
// list changed, else 0; an index out of range changes nothing and gives 0.
int ApplySubstitution(CGlazesDoc& document, int index, const CSubstitution& substitution, int reverse);
// The same with substitution number substitutionIndex of the substitutions database; 0,
// changing nothing, when there is no such substitution.
int ApplySubstitution(CGlazesDoc& document, int index, int substitutionIndex, int reverse);
