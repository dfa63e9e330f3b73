// Index-based editing of a glaze list, and the recipe operations of one glaze that change its
// amounts: converting between weights and volumes, and scaling to a batch size.

#include "glazes/GlazeList.h"

#include "materials/MaterialsDoc.h"

#include <cmath>
#include <memory>

void CGlazeList::RemoveAt(int index)
{
    m_glazes.RemoveAt(index);
}

void CGlazeList::InsertCopyAt(int index, const CGlaze& glaze)
{
    if (index >= 0 && index <= GetCount())
        m_glazes.insert(m_glazes.begin() + index, std::make_unique<CGlaze>(glaze));
}

void CGlazeList::AssignAt(int index, const CGlaze& glaze)
{
    if (m_glazes.IsValidIndex(index))
        GetAt(index) = glaze;
}

void CGlazeList::Move(int from, int to)
{
    m_glazes.MoveItem(from, to);
}

namespace {

// The density of a recipe line's material, or 0 when it is unknown or has none.
double LineDensity(const CIngredient& line)
{
    if (!g_pMaterialsDoc)
        return 0.0;
    const CMaterial* material = g_pMaterialsDoc->Materials().FindMaterial(std::string_view(line.m_name));
    return material && material->m_density > 0.0 ? material->m_density : 0.0;
}

// Converts every line of list in place; false at the first line without a density (the list
// is then partly converted, so callers work on a copy).
bool ConvertLines(CIngredientList& list, bool toVolume)
{
    for (auto& line : list) {
        if (!line)
            continue;
        const double density = LineDensity(*line);
        if (density <= 0.0)
            return false;
        line->m_amount = toVolume ? line->m_amount / density : line->m_amount * density;
    }
    return true;
}

void ScaleLines(CIngredientList& list, double factor)
{
    for (auto& line : list)
        if (line)
            line->m_amount *= factor;
}

} // namespace

int CGlaze::ConvertWeightVolume(int target)
{
    if (target < -1 || target > 1)
        return 0;
    const bool toVolume = target == -1 ? m_byVol == 0 : target == 1;
    if (toVolume == (m_byVol != 0))
        return 0;
    CIngredientList components(m_components);
    CIngredientList additions(m_additions);
    if (!ConvertLines(components, toVolume) || !ConvertLines(additions, toVolume))
        return 1;
    m_components = std::move(components);
    m_additions = std::move(additions);
    m_byVol = toVolume ? 1 : 0;
    // The analysis holds the batch amounts of the old form: it must be computed again.
    InvalidateAnalysis();
    return 0;
}

int CGlaze::ScaleRecipe(double batch, bool includeAdditions)
{
    double total = m_components.GetTotalAmount();
    if (includeAdditions)
        total += m_additions.GetTotalAmount();
    // A batch of 0 or less would wipe out or negate the recipe for good; not-a-number would
    // leave nothing to read.
    if (!(total > 0.0) || !(batch > 0.0) || !std::isfinite(batch) || !std::isfinite(total))
        return 1;
    const double factor = batch / total;
    ScaleLines(m_components, factor);
    ScaleLines(m_additions, factor);
    // The analysis keeps the item amounts scaled to the old total.
    InvalidateAnalysis();
    return 0;
}
