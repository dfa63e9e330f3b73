#pragma once

// Loading an optimization parameter set (the Optimize dialog's "Load constraints..."): from the
// parameter set a glaze carries, from a glaze's chemistry as '=' oxide constraints, from a
// glaze's recipe as '=' material constraints, or from the limits of a limit formula. Every part
// of the target set that the chosen load does not name keeps its value.
//
// Numbers are written with the "Remainders" decimals and minimum decimals of the preferences.

#include <string>

class CGlaze;
class CLimitFormula;
class COptimizationParams;

// Where the Load Optimization Parameters dialog loads from.
enum LoadOptSource : int {
    kLoadFromCurrentGlaze = 0,
    kLoadFromSelectedGlaze = 1,
    kLoadFromLimitFormula = 2,
};

// What is loaded from a glaze.
enum LoadOptGlazeOption : int {
    kLoadGlazeParameters = 0, // its parameter set, whole
    kLoadGlazeUnity = 1,      // its analysis as unity constraints
    kLoadGlazeWeight = 2,     // as % weight constraints
    kLoadGlazeMolecular = 3,  // as % molecular constraints
};

// The message shown when a limit formula had limits that are no oxide bound.
inline constexpr const char* kSomeLimitsNotImported = "Some limits could not be imported";

// The dialog's choices.
struct CLoadOptParamsChoice {
    int source = kLoadFromSelectedGlaze;
    int glazeOption = kLoadGlazeParameters;
    bool includeVolatiles = false;     // with % weight: the volatile oxides too
    bool recipeAsMaterials = false;    // the recipe as material constraints
};

// Which glaze options the dialog offers for a glaze (null: none found), and the option that then
// stands: no glaze disables everything and chooses parameters; a glaze without a parameter set
// disables parameters (parameters become unity); an analysis that is not valid disables the
// analysis options and the recipe (an analysis option returns to parameters); "Include
// volatiles" only with % weight.
struct CLoadOptGlazeOptions {
    bool parametersEnabled = false;
    bool analysisEnabled = false;
    bool includeVolatilesEnabled = false;
    bool recipeEnabled = false;
    int option = kLoadGlazeParameters;
};
CLoadOptGlazeOptions GetLoadOptGlazeOptions(const CGlaze* glaze, int option);

// Loads from a glaze: its parameter set (when it has one), or, when its analysis is valid, the
// oxides of its analysis as '=' constraints in the option's unit; with recipeAsMaterials and a
// valid analysis, the recipe's components as '=' % weight material constraints.
void LoadOptimizationParamsFromGlaze(const CGlaze& glaze, const CLoadOptParamsChoice& choice,
                                     COptimizationParams& params);

// Replaces the oxide constraints with the formula's limits on single oxides, LOI and KNaO that
// share the first limit's by-percent flag; the oxide unit becomes % weight or unity with that
// flag. Combinations are looked up in the current limit-formula database. Returns the number of
// limits that could not be imported.
int LoadOptimizationParamsFromLimitFormula(const CLimitFormula& formula, COptimizationParams& params);

// The whole load of the dialog's choices: from glaze (sources 0 and 1; nothing without one) or
// formula (source 2; nothing without one). Skipped limits are reported once with
// kSomeLimitsNotImported (information icon, helpId).
void LoadOptimizationParams(const CLoadOptParamsChoice& choice, const CGlaze* glaze, const CLimitFormula* formula,
                            COptimizationParams& params, unsigned helpId);
