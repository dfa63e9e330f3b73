#include "materials/FormulaComponent.h"

#include "elements/ElementTable.h"
#include "materials/MaterialFormula.h"
#include "support/CompareNoCase.h"

double FormulaAmountValue(std::string_view amountText)
{
    if (amountText.empty())
        return 1.0;
    // The amount text of a parsed component is a run of digits and points; reading it the way
    // the parser did keeps the component's value and the analysis in agreement.
    std::string terminated(amountText);
    const char* cursor = terminated.c_str();
    return ReadFormulaNumber(&cursor);
}

void CFormulaComponent::Classify()
{
    m_amount = FormulaAmountValue(m_amountText);
    m_weight = 0.0;
    m_kind = kComponentUnclassified;
    m_element = -1;

    if (EqualsNoCase(m_text, "loi") || EqualsNoCase(m_text, "l.o.i.")) {
        m_kind = kComponentLoi;
        return;
    }

    const CElementRecord* table = GetElementTable();
    for (int z = 0; z < kElementCount; ++z) {
        if (table[z].oxide == m_text) {
            m_kind = kComponentOxide;
            m_element = z;
            m_weight = table[z].oxideMW;
            return;
        }
    }

    // Anything else is read as one molecular component of amount 1; a text that does not parse
    // is classified by what was read before the error.
    OxideVector atoms;
    const char* cursor = m_text.c_str();
    ParseFormulaComponent(&cursor, atoms.data(), false, nullptr, nullptr, nullptr);

    int others = 0;
    int lastOther = -1;
    for (int z = 1; z < kElementCount; ++z) {
        if (atoms[z] == 0.0)
            continue;
        m_weight += atoms[z] * table[z].weight;
        if (z != kOxygenZ) {
            ++others;
            lastOther = z;
        }
    }
    if (others > 1) {
        m_kind = kComponentCompound;
    } else if (others == 1) {
        m_kind = kComponentElement;
        m_element = lastOther;
    } else if (atoms[kOxygenZ] != 0.0) {
        m_kind = kComponentElement;
        m_element = kOxygenZ;
    } else {
        m_kind = kComponentCompound;
    }
}

void CFormulaComponentList::InsertAt(int index, const CFormulaComponent& component)
{
    if (index < 0 || index > static_cast<int>(size()))
        return;
    insert(begin() + index, component);
}

void CFormulaComponentList::RemoveAt(int index)
{
    if (index < 0 || index >= static_cast<int>(size()))
        return;
    erase(begin() + index);
}

int CFormulaComponentList::FindByText(std::string_view text) const
{
    for (std::size_t i = 0; i < size(); ++i) {
        if ((*this)[i].m_text == text)
            return static_cast<int>(i);
    }
    return -1;
}
