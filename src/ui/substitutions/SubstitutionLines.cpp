#include "substitutions/SubstitutionLines.h"

#include "glazes/IngredientList.h"
#include "materials/MaterialColumns.h"
#include "support/NumberFormat.h"

std::string FormatSetLine(const CIngredient& line, int decimals, int keep)
{
    std::string amount = FormatNumberWidth(line.m_amount, 3, decimals);
    StripTrailingZeros(amount, keep);
    return line.m_name + "\t" + DoubledPadding(amount) + amount;
}

void FormatSetLines(CStringArrayEx& lines, const CIngredientList& set, int decimals, int keep)
{
    lines.clear();
    for (int i = 0; i < set.GetCount(); ++i)
        lines.push_back(FormatSetLine(set.GetAt(i), decimals, keep));
}
