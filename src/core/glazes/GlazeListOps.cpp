// Index-based editing of a glaze list, and the recipe operations of one glaze that change its
// amounts: converting between weights and volumes, and scaling to a batch size.

#include "glazes/GlazeList.h"

#include "glazes/RecipeByVolume.h"

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
    std::vector<std::string> noDensity;
    if (!ConvertByDensity({&components, &additions}, !toVolume, noDensity))
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
