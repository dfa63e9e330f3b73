#include "glazes/OptimizationParams.h"

COptimizationParams::COptimizationParams()
    : m_expansionConstraint(kConstraintExpansion, 0, std::string(), std::string())
{
}

double COptimizationParams::GetRecipeSize() const
{
    const double size = ReadConstraintValue(m_recipeSize);
    return size > 0.0 ? size : 100.0;
}
