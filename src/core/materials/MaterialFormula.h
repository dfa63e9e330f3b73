#pragma once

// The formula engine: reads a material's formula text and adds up what it is made of.
//
// A formula is one line: an optional prefix ("[MW=n]" forced molecular weight; "%" or "%w"
// weight percent, "%[Sum=n]" weight percent with a forced sum, "%m" molecular percent), then
// components separated by blanks. A component is an optional amount, optional blanks, and parts
// up to the next blank, ")" or the end: element symbols with optional counts, parenthesised
// sub-components with optional multipliers, or "LOI" / "L.O.I." (one oxygen; % weight only).
//
// Failures are negative codes with a message and a character position; an error inside
// parentheses comes back multiplied by 10 for each level of nesting. `CMaterial::ParseFormula`
// (Material.h) analyses a record's formula; the functions here are its building blocks and the
// record-free entry of the batch calculator. Vectors are 104 doubles indexed by element number.

#include <string>

class CFormulaComponentList;

// Deepest nesting of "(" a component may have; one more "(" is an unexpected character. With
// at most 8 levels the error codes, multiplied by 10 per level, stay well inside an int.
inline constexpr int kMaxFormulaNesting = 8;

// Blanks separate components: the space and the characters 9 to 13.
inline bool IsFormulaBlank(char c) { return c == ' ' || (c >= 9 && c <= 13); }

// A run of digits and points at the cursor. No digit or point at the cursor: 1.0 and the cursor
// stays. Each point restarts the tenths place, so "1.2.5" reads 1.7; "." alone reads 0. Very long
// digit runs give infinity, which the callers reject.
double ReadFormulaNumber(const char** cursor);

// One element symbol: a capital, and the next character too when it is a small letter (no
// backtracking: "Co" is cobalt, "CO" carbon and oxygen), compared exactly with the symbols of
// elements 1..103. Returns z and moves past the letters; -1 when they name no element (the
// cursor stays after them), or -1 without moving when no capital is at the cursor; 0 without
// moving at a blank or a digit.
int ReadElementSymbol(const char** cursor);

// Parses one component at the cursor and adds its moles into atoms (slots 1..103). In a % weight
// formula the amount is a weight and is turned into moles by the component's weight. Adds the
// raw amount to *percentSum and appends the component to *components when they are given (each
// may be null, and so may errorText). Leaves the cursor after the component. Returns 0 or an
// error code; the cursor then marks the error's position.
int ParseFormulaComponent(const char** cursor, double* atoms, bool weightPercent,
                          std::string* errorText, double* percentSum,
                          CFormulaComponentList* components);

// Bracket readers, the cursor on the "[": "[", blanks, the optional word ("mw" or "sum", any
// case), blanks, an optional "=", blanks, a run of digits and points (stored in numberText as
// written), blanks, "]". Return 0 with the cursor after the "]", or -1 with the cursor where
// reading stopped.
int ParseForcedMolecularWeight(const char** cursor, std::string* numberText);
int ParseForcedPercentSum(const char** cursor, std::string* numberText);

// Makes the weight of atoms (slots 1..103) up to the forced value with oxygen. Returns 0; -1
// when the forced value is not greater than 0; -2 when it is below the weight without oxygen
// (atoms[8] is then negative and the caller discards the analysis).
int ApplyForcedMolecularWeight(double* atoms, double forced, std::string* errorText);
int ApplyForcedPercentSum(double* atoms, double forced, std::string* errorText);

// Parses a formula text without a record (the batch calculator's entry). Both vectors are zeroed
// first. On success atoms holds the element moles of the formula as written (forced values
// applied, not divided by the formula weight) and oxideMoles the moles of each non-volatile
// element's oxide (0 for volatile ones); slot 0 of both is K + Na. On an error both vectors are
// left zero. Returns 0 or the error code, with the message and position as for a record.
int ParseFormulaAnalysis(const std::string& text, double* atoms, double* oxideMoles,
                         std::string* errorText, int* errorPos);
