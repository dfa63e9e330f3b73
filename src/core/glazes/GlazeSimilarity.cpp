// The similarity score of two glazes (Find Similar Glazes): oxide, ingredient and name measures,
// each in percent, and their mean over the measures asked for.

#include "glazes/Glaze.h"

#include "elements/ElementTable.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int kOxideMeasures = 6;

// Per glaze, the totals by which its values become fractions.
struct SOxideSums {
    double weight = 0.0; // every element's weight fraction and the unaccounted volatiles
    double moles = 0.0;
    double alkaliWeight = 0.0;
    double alkaliMoles = 0.0;
};

// The elements (1..103) where a glaze's weight or mole fractions may not be 0: the others add
// nothing to the sums and distances below.
CSlotValues::Mask HeldFractions(const CGlazeAnalysis& analysis)
{
    const CSlotValues::Mask weight = analysis.weightFraction.Held();
    const CSlotValues::Mask mole = analysis.moleFraction.Held();
    return {weight[0] | mole[0], weight[1] | mole[1]};
}

SOxideSums SumOxides(const CGlazeAnalysis& analysis, const CElementRecord* table)
{
    SOxideSums sums;
    sums.weight = analysis.otherVolatiles;
    CSlotValues::ForEachSlot(HeldFractions(analysis), 1, kElementCount - 1, [&](int z) {
        const double weight = analysis.weightFraction[static_cast<std::size_t>(z)];
        const double moles = analysis.moleFraction[static_cast<std::size_t>(z)];
        sums.weight += weight;
        sums.moles += moles;
        if (table[z].role & kRoleAlkali) {
            sums.alkaliWeight += weight;
            sums.alkaliMoles += moles;
        }
    });
    return sums;
}

// A total of exactly 0 divides as 1, so a glaze without such oxides contributes zeros.
void GuardZeroSums(SOxideSums& sums)
{
    for (double* sum : {&sums.weight, &sums.moles, &sums.alkaliWeight, &sums.alkaliMoles}) {
        if (*sum == 0.0)
            *sum = 1.0;
    }
}

// Distances from 0 (the same distribution) to 2 (disjoint ones) become scores from 100 to 0.
void ScoreOxideDistances(const CGlazeAnalysis& a, const CGlazeAnalysis& b, double* scores)
{
    const CElementRecord* table = GetElementTable();
    SOxideSums sa = SumOxides(a, table);
    SOxideSums sb = SumOxides(b, table);
    const bool noAlkali = !(sa.alkaliMoles > 0.0) || !(sb.alkaliMoles > 0.0);
    GuardZeroSums(sa);
    GuardZeroSums(sb);

    std::array<double, kOxideMeasures> d{};
    d[2] = std::fabs(a.otherVolatiles / sa.weight - b.otherVolatiles / sb.weight);
    const CSlotValues::Mask heldA = HeldFractions(a);
    const CSlotValues::Mask heldB = HeldFractions(b);
    CSlotValues::ForEachSlot({heldA[0] | heldB[0], heldA[1] | heldB[1]}, 1, kElementCount - 1, [&](int z) {
        const double wa = a.weightFraction[static_cast<std::size_t>(z)];
        const double wb = b.weightFraction[static_cast<std::size_t>(z)];
        const double ma = a.moleFraction[static_cast<std::size_t>(z)];
        const double mb = b.moleFraction[static_cast<std::size_t>(z)];
        if (!(table[z].role & kRoleVolatile)) {
            d[0] += std::fabs(wa - wb);
            d[1] += std::fabs(ma - mb);
        }
        d[2] += std::fabs(wa / sa.weight - wb / sb.weight);
        d[3] += std::fabs(ma / sa.moles - mb / sb.moles);
        if (table[z].role & kRoleAlkali) {
            d[4] += std::fabs(wa / sa.alkaliWeight - wb / sb.alkaliWeight);
            d[5] += std::fabs(ma / sa.alkaliMoles - mb / sb.alkaliMoles);
        }
    });
    for (int k = 0; k < kOxideMeasures; ++k)
        scores[k] = (1.0 - 0.5 * d[static_cast<std::size_t>(k)]) * 100.0;
    if (noAlkali)
        scores[4] = scores[5] = 0.0;
}

void ScoreOxides(const CGlaze& a, const CGlaze& b, const int* flags, double* scores)
{
    std::fill(scores, scores + kOxideMeasures, 0.0);
    if (std::none_of(flags, flags + kOxideMeasures, [](int flag) { return flag != 0; }))
        return;
    const CGlazeAnalysis& analysisA = a.GetAnalysis();
    const CGlazeAnalysis& analysisB = b.GetAnalysis();
    if (analysisA.IsValid() && analysisB.IsValid())
        ScoreOxideDistances(analysisA, analysisB, scores);
}

// A recipe line as the ingredient measures see it.
struct SLine {
    const CIngredient* line = nullptr;
    const CMaterial* material = nullptr; // null when the database does not hold it
};

// The components, then the additions when they take part in the chemistry.
std::vector<SLine> CollectLines(const CGlaze& glaze, CMaterialArray* database)
{
    std::vector<SLine> lines;
    for (const CIngredientList* list : {&glaze.m_components, &glaze.m_additions}) {
        if (list == &glaze.m_additions && !g_prefs.anchadd)
            break;
        for (const auto& line : *list) {
            if (line)
                lines.push_back({line.get(), database ? database->FindMaterial(std::string_view(line->m_name)) : nullptr});
        }
    }
    return lines;
}

// Found materials fit when they are one material or one maps to the other; otherwise the name
// parts of the two texts must agree.
bool LinesFit(const SLine& a, const SLine& b, CMaterialArray* database)
{
    if (a.material && b.material)
        return a.material == b.material || database->MapsTo(a.material, b.material)
               || database->MapsTo(b.material, a.material);
    return EqualsNoCase(GetNamePart(a.line->m_name), GetNamePart(b.line->m_name));
}

double TotalAmount(const std::vector<SLine>& lines)
{
    double total = 0.0;
    for (const SLine& line : lines)
        total += line.line->m_amount;
    return total == 0.0 ? 1.0 : total;
}

void ScoreIngredients(const CGlaze& a, const CGlaze& b, const int* flags, double* scores)
{
    double& shared = scores[CGlaze::kSimilarityIngredients];
    double& amounts = scores[CGlaze::kSimilarityIngredientAmounts];
    shared = amounts = 0.0;
    if (!flags[CGlaze::kSimilarityIngredients] && !flags[CGlaze::kSimilarityIngredientAmounts])
        return;
    CMaterialArray* database = g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
    const std::vector<SLine> linesA = CollectLines(a, database);
    const std::vector<SLine> linesB = CollectLines(b, database);
    if (linesA.empty() || linesB.empty())
        return;

    const double totalA = TotalAmount(linesA);
    const double totalB = TotalAmount(linesB);
    int common = 0;
    double shareA = 0.0;
    double shareB = 0.0;
    double diff = 0.0;
    for (const SLine& lineA : linesA) {
        const auto fit = std::find_if(linesB.begin(), linesB.end(),
                                      [&](const SLine& lineB) { return LinesFit(lineA, lineB, database); });
        if (fit == linesB.end())
            continue;
        ++common;
        const double fractionA = lineA.line->m_amount / totalA;
        const double fractionB = fit->line->m_amount / totalB;
        shareA += fractionA;
        shareB += fractionB;
        diff += std::fabs(fractionA - fractionB);
    }
    const int lineCount = static_cast<int>(linesA.size() + linesB.size());
    shared = static_cast<double>(common) / (lineCount - common) * 100.0;
    amounts = (1.0 - 0.5 * ((1.0 - shareB) + (1.0 - shareA) + diff)) * 100.0;
}

// The share of each letter A to Z among the name's letters; false when it has none.
bool LetterShares(const std::string& name, std::array<double, 26>& shares)
{
    shares.fill(0.0);
    int letters = 0;
    for (char c : name) {
        const int upper = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
        if (upper >= 'A' && upper <= 'Z') {
            shares[static_cast<std::size_t>(upper - 'A')] += 1.0;
            ++letters;
        }
    }
    for (double& share : shares)
        share = letters > 0 ? share / letters : 0.0;
    return letters > 0;
}

double ScoreNameLetters(const CGlaze& a, const CGlaze& b)
{
    std::array<double, 26> sharesA{};
    std::array<double, 26> sharesB{};
    if (!LetterShares(a.m_name, sharesA) || !LetterShares(b.m_name, sharesB))
        return 0.0;
    double distance = 0.0;
    for (std::size_t i = 0; i < sharesA.size(); ++i)
        distance += std::fabs(sharesA[i] - sharesB[i]);
    return (1.0 - 0.5 * distance) * 100.0;
}

// Unflagged slots become 0; flagged ones are held to 0..100 (a NaN left by a caller counts
// as 0) and averaged.
double Composite(const int* flags, double* scores)
{
    double total = 0.0;
    int count = 0;
    for (int k = 0; k < CGlaze::kSimilaritySlots; ++k) {
        if (!flags[k]) {
            scores[k] = 0.0;
            continue;
        }
        scores[k] = scores[k] >= 0.0 ? std::min(scores[k], 100.0) : 0.0;
        total += scores[k];
        ++count;
    }
    return count > 0 ? total / count : 0.0;
}

} // namespace

double CGlaze::ComputeSimilarity(const CGlaze* a, const CGlaze* b, const int* flags, double* scores)
{
    if (a == b && a) {
        for (int k = 0; k < kSimilaritySlots; ++k)
            scores[k] = flags[k] ? 100.0 : 0.0;
        return 100.0;
    }
    if (!a || !b) {
        std::fill(scores, scores + kSimilaritySlots, 0.0);
        return 0.0;
    }
    ScoreOxides(*a, *b, flags, scores);
    ScoreIngredients(*a, *b, flags, scores);
    if (flags[kSimilarityNameLetters])
        scores[kSimilarityNameLetters] = ScoreNameLetters(*a, *b);
    return Composite(flags, scores);
}
