#pragma once

// Formula conversions: rewriting a material's formula in another form without changing the
// material (a molecular formula as a % weight analysis and back, a unity formula on one oxide or
// a role group, complex components broken into oxides, volatiles collected as LOI, forced values
// added or taken away).
//
// Every conversion works on the record's parsed components and analysis, writes a new formula
// text with the formula decimals of the preferences (`FormatFormulaAmount`) and sets it with
// `CMaterial::SetFormula`, so the record is parsed and analysed again. A conversion whose
// conditions do not hold leaves the record as it was and reports nothing. A converted text that
// does not parse (a forced weight rounded below its oxides, say) never costs the record its
// formula: the formula it had before the conversion is set again.
//
// The record operations are members of CMaterial (Material.h); the two unity conversions and
// the oxygen allocation below work on a record or on bare vectors, and the bulk operation serves
// the materials list's Convert, Normalize and Add LOI commands.

#include <functional>
#include <span>
#include <vector>

class CMaterial;
class CMaterialsDoc;
class CView;

// The conversions of `CMaterial::ConvertFormula`, in the order of the Formula Conversion dialog.
enum FormulaConversionMode : int {
    kConvertReformatNumbers = 0,
    kConvertToWeightPercent = 1,
    kConvertToMolecularPercent = 2,
    kConvertToMolecular = 3,
    kConvertToUnity = 4,         // target: an element, a role group or 1000 + a component index
    kConvertBreakApart = 5,
    kConvertOxidizeAndForce = 6,
    kConvertRemoveForcedValue = 7,
    kConvertVolatilesToLoi = 8,
};

// Unity targets besides the element numbers 1..103.
enum UnityTarget : int {
    kUnityOnAlkalis = -1,
    kUnityOnNeutrals = -2,
    kUnityOnAcids = -3,
    kUnityOnComponentBase = 1000, // 1000 + k: the k-th component of the formula
};

// The element whose standard oxide replaces an LOI component when none is chosen.
inline constexpr int kDefaultLoiOxide = 8;

// Help context of the two internal-error boxes of the unity conversions.
inline constexpr unsigned kFormulaConversionErrorHelpId = 0x39999;

// Gives the oxygen of atoms (104 element moles) to the other elements as their standard oxides:
// first to the alkali, neutral and acid elements, then to the rest, each in z order; an element
// gets what oxygen is left when there is not enough for all of it. oxides (104 entries) is
// zeroed first and receives oxide moles; atoms keeps the element moles that found no oxygen.
// Oxygen left over becomes its own oxide entry (z 8), and atoms[8] ends at 0. An element whose
// oxide has no cation count (ncat 0 or less) stays bare.
void AllocateOxygenToOxides(double* atoms, double* oxides);

// Rewrites the formula as a molecular unity formula: target 1..103 puts that element's oxide at
// one, -1, -2 or -3 the sum of the alkali, neutral or acid oxides. A target that is missing from
// the formula falls back to the alkali, neutral and acid sums, then to the first oxide and the
// first bare element. An LOI component of a % weight formula counts as the oxide of loiOxide
// (outside 1..103: oxygen). Nothing happens with a forced value, or when a % formula's sum does
// not round to 100.
void ConvertFormulaToUnity(CMaterial& material, int target, int loiOxide);

// Rewrites the formula as a molecular formula in which the component at index (a position in
// the component list) has the amount one.
void ConvertFormulaToUnityOnComponent(CMaterial& material, int index, int loiOxide);

// The materials list's bulk formula commands: operation runs on every record at the given rows
// that maps to no other material, in row order; a record counts as changed when its formula text
// differs afterwards. When any changed, the document is marked modified, the mapped materials are
// brought up to date (each with its notice, so that a form holding edits of one asks) and one
// notice goes out from sender: material changed (with the row and its record) for a single row,
// materials replaced otherwise. Returns the number changed; rows outside the database are
// skipped.
int ConvertSelectedFormulas(CMaterialsDoc& document, std::span<const int> rows,
                            const std::function<void(CMaterial&)>& operation, CView* sender = nullptr);
// The rows whose formulas operation would change, found on copies: the forms to ask first.
std::vector<int> RowsConvertedBy(const CMaterialsDoc& document, std::span<const int> rows,
                                 const std::function<void(CMaterial&)>& operation);
