#include "materials/ChemistryListChecks.h"

#include "elements/ElementList.h"
#include "materials/Material.h"

#include <algorithm>

int IsBadOxideList(const std::string& text)
{
    std::string formula = "%w " + text;
    std::replace(formula.begin(), formula.end(), ',', ' ');
    CMaterial material("new material");
    return material.SetFormula(formula) != 0 ? 1 : 0;
}

int CChemistryListChecks::IsBadElementList(const std::string& text, bool allowLoss, bool allowNk) const
{
    return ::IsBadElementList(text, allowLoss, allowNk);
}

int CChemistryListChecks::IsBadOxideList(const std::string& text) const
{
    return ::IsBadOxideList(text);
}
