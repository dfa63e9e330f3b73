#pragma once

// The steps that the formula conversions share (FormulaConversion*.cpp only).

#include "materials/Material.h"

#include <string>

// The kind and forced values of a formula text about to be written.
struct SFormulaTextKind {
    bool weightPercent = false;
    bool molePercent = false;
    bool forcedMW = false;
    std::string mwText;
    bool forcedSum = false;
    std::string sumText;

    static SFormulaTextKind Molecular() { return {}; }
    static SFormulaTextKind MolecularForced(std::string mw) { return {false, false, true, std::move(mw), false, {}}; }
    static SFormulaTextKind WeightPercent() { return {true, false, false, {}, false, {}}; }
    static SFormulaTextKind WeightPercentForced(std::string sum) { return {true, false, false, {}, true, std::move(sum)}; }
    static SFormulaTextKind MolePercent() { return {false, true, false, {}, false, {}}; }
    bool IsMolecular() const { return !weightPercent && !molePercent; }
};

inline bool IsPercentFormula(const CMaterial& material)
{
    return material.m_isWeightPercent || material.m_isMolePercent;
}

// The % sum rounded to a whole number is 100.
bool PercentSumIs100(const CMaterial& material);

// Classify for every component.
void ClassifyComponents(CMaterial& material);

// Out of a % weight formula into moles: every LOI component becomes the standard oxide of
// loiOxide (outside 1..103: oxygen), then every amount becomes amount / weight, 0 for a
// component without weight (whose amount text becomes "0" when zeroText is set).
void ReplaceLoiAndTakeMoles(CFormulaComponentList& components, int loiOxide, bool zeroText);

// Sets text as the formula. When it does not parse (the formula engine rejects, for example, a
// forced weight below the weight of its oxides, and a number that could not be written as
// digits), the formula original is set again, so the record never ends without its formula.
// 0 when text was set.
int SetConvertedFormula(CMaterial& material, const std::string& text, const std::string& original);

// Merges duplicates, orders the components, writes a molecular amount of exactly "1" without a
// number, builds the text of the kind and sets it with SetConvertedFormula.
int FinishConversion(CMaterial& material, const SFormulaTextKind& kind, const std::string& original);
