#include "materials/MaterialSimilarity.h"

#include "elements/ElementTable.h"
#include "materials/Material.h"

#include <algorithm>
#include <cmath>

namespace {

// The totals by which each material's values are made fractions, per category.
struct SAnalysisSums {
    double oxideMoles = 0.0;
    double fixedOxideMoles = 0.0; // non-volatile
    double oxideWeights = 0.0;
    double alkaliWeights = 0.0;
    double alkaliMoles = 0.0;
};

// The elements (1..103) where a material's atoms or oxides may not be 0: the others add nothing
// to the sums and distances below.
CSlotValues::Mask HeldElements(const CMaterial& material)
{
    const CSlotValues::Mask atoms = material.m_atoms.Held();
    const CSlotValues::Mask oxides = material.m_oxides.Held();
    return {atoms[0] | oxides[0], atoms[1] | oxides[1]};
}

SAnalysisSums SumAnalysis(const CMaterial& material, const CElementRecord* table)
{
    SAnalysisSums sums;
    CSlotValues::ForEachSlot(HeldElements(material), 1, kElementCount - 1, [&](int z) {
        const double moles = table[z].OxideMolesFromAtoms(material.m_atoms[z]);
        const double weight = material.m_oxides[z];
        sums.oxideMoles += moles;
        sums.oxideWeights += weight;
        if (!(table[z].role & kRoleVolatile))
            sums.fixedOxideMoles += moles;
        if (table[z].role & kRoleAlkali) {
            sums.alkaliWeights += weight;
            sums.alkaliMoles += moles;
        }
    });
    return sums;
}

// A total of 0 divides as 1, so a material without such oxides contributes zeros.
void GuardZeroSums(SAnalysisSums& sums)
{
    for (double* sum : {&sums.oxideMoles, &sums.fixedOxideMoles, &sums.oxideWeights, &sums.alkaliWeights,
                        &sums.alkaliMoles}) {
        if (*sum == 0.0)
            *sum = 1.0;
    }
}

void ScoreCategories(const CMaterial& a, const CMaterial& b, double* scores)
{
    const CElementRecord* table = GetElementTable();
    SAnalysisSums sa = SumAnalysis(a, table);
    SAnalysisSums sb = SumAnalysis(b, table);
    const bool noAlkali = sa.alkaliMoles == 0.0 || sb.alkaliMoles == 0.0;
    GuardZeroSums(sa);
    GuardZeroSums(sb);

    double distance[kSimilarityCategories] = {};
    const CSlotValues::Mask heldA = HeldElements(a);
    const CSlotValues::Mask heldB = HeldElements(b);
    CSlotValues::ForEachSlot({heldA[0] | heldB[0], heldA[1] | heldB[1]}, 1, kElementCount - 1, [&](int z) {
        const double ma = table[z].OxideMolesFromAtoms(a.m_atoms[z]);
        const double mb = table[z].OxideMolesFromAtoms(b.m_atoms[z]);
        const double wa = a.m_oxides[z];
        const double wb = b.m_oxides[z];
        const int role = table[z].role;
        if (!(role & kRoleVolatile)) {
            // Oxide weights are already fractions of the fired oxides.
            distance[0] += std::fabs(wa - wb);
            distance[1] += std::fabs(ma / sa.fixedOxideMoles - mb / sb.fixedOxideMoles);
        }
        distance[2] += std::fabs(wa / sa.oxideWeights - wb / sb.oxideWeights);
        distance[3] += std::fabs(ma / sa.oxideMoles - mb / sb.oxideMoles);
        if (!noAlkali && (role & kRoleAlkali)) {
            distance[4] += std::fabs(wa / sa.alkaliWeights - wb / sb.alkaliWeights);
            distance[5] += std::fabs(ma / sa.alkaliMoles - mb / sb.alkaliMoles);
        }
    });
    // Distances run from 0 (same distribution) to 2 (disjoint ones).
    for (int k = 0; k < kSimilarityCategories; ++k)
        scores[k] = (1.0 - distance[k] * 0.5) * 100.0;
    if (noAlkali)
        scores[4] = scores[5] = 0.0;
}

} // namespace

double ScoreAnalysisSimilarity(const CMaterial* a, const CMaterial* b, const int* enabled, double* scores)
{
    std::fill(scores + kSimilarityCategories, scores + kSimilarityEntries, 0.0);
    if (a == b) {
        for (int k = 0; k < kSimilarityCategories; ++k)
            scores[k] = enabled[k] ? 100.0 : 0.0;
        return 100.0;
    }

    const bool anyEnabled = std::any_of(enabled, enabled + kSimilarityCategories, [](int e) { return e != 0; });
    if (!(a->m_formulaWeight > 0.0) || !(b->m_formulaWeight > 0.0) || !anyEnabled)
        std::fill(scores, scores + kSimilarityCategories, 0.0);
    else
        ScoreCategories(*a, *b, scores);

    double total = 0.0;
    int count = 0;
    for (int k = 0; k < kSimilarityCategories; ++k) {
        if (!enabled[k]) {
            scores[k] = 0.0;
            continue;
        }
        scores[k] = std::clamp(scores[k], 0.0, 100.0);
        total += scores[k];
        ++count;
    }
    return count > 0 ? total / count : 0.0;
}
