#pragma once

// A recipe by volume meets the tools that count in grams. The batch calculator, the optimizer
// and the substitutions state their amounts by weight: a recipe by volume goes to them as
// weights and their answer comes back as volumes, through the densities of the materials
// database, and every total they are asked for is reached in the recipe's own unit. A line whose
// material is unknown or has no density can go neither way: the tool says which line it is and
// leaves the recipe as it was.

#include <initializer_list>
#include <string>
#include <vector>

class CIngredientList;

// Help context of the message that names a line without a density.
inline constexpr unsigned kDensityUnknownHelpId = 197936;

// Converts every line of lists from volumes to weights (toWeight) or from weights to volumes. A
// line whose material has no density keeps its amount and its name is added to noDensity; true
// when every line converted.
bool ConvertByDensity(std::initializer_list<CIngredientList*> lists, bool toWeight,
                      std::vector<std::string>& noDensity);

// The same, showing "Density of <name> unknown" for each line without a density, with OK (go on)
// and Cancel (stop). False when a line had none; the lists are then partly converted, so callers
// convert copies.
bool ConvertByDensityAsking(std::initializer_list<CIngredientList*> lists, bool toWeight);

// "Density of <name> unknown", one line per name, then a blank line and what the user can do.
std::string NoDensityMessage(const std::vector<std::string>& names, const std::string& advice);
