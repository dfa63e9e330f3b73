#pragma once

// The text form of a substitution's set in the edit boxes: one line per material, "name TAB
// amount", the amount right-aligned with 3 integer places and every leading blank of it doubled
// so the amounts line up in a proportional font.

#include "support/StringArrayEx.h"

#include <string>

class CIngredient;
class CIngredientList;

// One line: decimals places after the point, trailing zeros stripped down to keep.
std::string FormatSetLine(const CIngredient& line, int decimals, int keep);
// Every line of set; lines is emptied first.
void FormatSetLines(CStringArrayEx& lines, const CIngredientList& set, int decimals, int keep);
