#pragma once

// The text form of a recipe as the glaze edit form shows it: one line per ingredient, the
// material's name, a tab and the amount. The amount is right-aligned in a field of at least 5 +
// d characters (d = the "decrecipeinput" decimals), its trailing zeros removed down to
// "tzsrecipeinput" decimals, and every blank in front of it is written twice, so that the amounts
// line up in a proportional font.
//
// A typed line is read from the right: the amount is the number after the last white space,
// the name everything before it. A line without a positive amount is no ingredient; a line whose
// amount text is no number the recipe holds is refused (AmountLines.h).
//
// These helpers hold no widget; the form (CGlazeEditView) applies them to its fields.

#include "support/NumberField.h"

#include <string>

// An amount as a typed amount: "decrecipeinput" decimals, trailing zeros removed per
// "tzsrecipeinput", no alignment.
std::string FormatInputAmount(double value);
// The amount as a recipe line writes it, doubled padding included.
std::string FormatRecipeAmount(double amount);
std::string FormatRecipeLine(const std::string& name, double amount);

// Splits a typed line (trimmed first) into its name and amount (AmountLines.h); false when the
// line has no positive amount or is refused.
bool SplitRecipeLine(const std::string& line, std::string& name, double& amount);

// Enter after a line: the line rebuilt in the written form with the material's own name, or
// empty when the line has no positive amount; a line whose amount is refused stays as typed, so
// that "Talc 1,5" never becomes "Talc 1".
std::string RebuildRecipeLine(const std::string& finished);

// Tab after a partly typed name: a known name or code, or the start of exactly one material's
// name or code, becomes that material's own name followed by a tab; a text that begins no
// material's name keeps its spelling and gets the tab; a text that begins several gets none,
// so the user types on. An empty or blank text gives an empty result.
std::string CompleteRecipeName(const std::string& typed);

// Round Off Amounts: to a multiple of 10^p, but never to fewer decimals than the amount needs
// to stay above zero (one decimal below 1, two at or below 0.1); 0.01 at or below 0.01.
double RoundRecipeAmount(double amount, int p);

// Scale Recipe of a recipe by volume: the factor that steps the smallest amount m from 1 to 2,
// ... 6 to 7, and anything else to 1.
double VolumeScaleFactor(double smallest);

// A Working Batch Size text that starts with "x", "X", "*" or "/": the components' total times
// (or, for "/", divided by) the factor that follows; 0 for a factor of 0 or less or one that is
// not wholly a number. False, leaving value alone, when the text is no such expression.
bool EvaluateBatchSizeExpression(const std::string& text, double total, double& value);
