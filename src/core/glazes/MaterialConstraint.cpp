#include "glazes/MaterialConstraint.h"

#include "support/StringArrayEx.h"
#include "glazes/OxideConstraint.h"

#include <utility>

CMaterialConstraint::CMaterialConstraint(std::string material, char op, std::string value1,
                                         std::string value2)
    : m_material(std::move(material)), m_op(op), m_value1(std::move(value1)), m_value2(std::move(value2))
{
}

bool CMaterialConstraint::Parse(std::string_view text)
{
    CStringArrayEx fields;
    fields.AddTextLines(std::string(text), ",");
    *this = CMaterialConstraint();
    if (fields.size() < 4) {
        m_unsplitText = std::string(text);
        return IsInvalid();
    }
    // The op and the two values are always the last three fields; whatever comes before them is
    // the name, commas and all.
    const std::size_t opField = fields.size() - 3;
    std::string name = fields[0];
    for (std::size_t i = 1; i < opField; ++i) {
        name += ',';
        name += fields[i];
    }
    m_material = TrimmedConstraintField(std::move(name));
    m_op = fields[opField].empty() ? 0 : fields[opField][0];
    m_value1 = TrimmedConstraintField(fields[opField + 1]);
    m_value2 = TrimmedConstraintField(fields[opField + 2]);
    return IsInvalid();
}

bool CMaterialConstraint::IsUnsplit() const
{
    return m_unsplitText && m_material.empty() && m_op == 0 && m_value1.empty() && m_value2.empty();
}

std::string CMaterialConstraint::Format() const
{
    if (IsUnsplit())
        return *m_unsplitText;
    return m_material + ',' + ConstraintOpText(m_op) + ',' + m_value1 + ',' + m_value2 + ',';
}

bool CMaterialConstraint::IsInvalid() const
{
    return !Fault().empty();
}

std::string CMaterialConstraint::Fault() const
{
    if (IsUnsplit())
        return "material constraint " + QuotedConstraintText(*m_unsplitText) + " cannot be read";
    if (m_material.empty())
        return "material constraint names no material";
    const std::string fault = ConstraintValuesFault(m_op, m_value1, m_value2);
    return fault.empty() ? fault : "constraint on " + m_material + ": " + fault;
}

bool CMaterialConstraint::HasUpperBound(bool percent) const
{
    // In % weight a material can never pass 100 %, so there is always an upper bound.
    if (percent)
        return true;
    return m_op == '=' || (m_op == '<' && !m_value1.empty()) || (m_op == '>' && !m_value2.empty());
}

double CMaterialConstraint::LowerBound(bool percent) const
{
    return Range(percent).lower;
}

double CMaterialConstraint::UpperBound(bool percent) const
{
    return Range(percent).upper;
}

CConstraintRange CMaterialConstraint::Range(bool percent) const
{
    return ConstraintRange(m_op, m_value1, m_value2, percent ? 100.0 : 99999.0, false);
}

bool CMaterialConstraintArray::InsertAt(int index, const CMaterialConstraint& record)
{
    if (index < 0 || index > GetCount())
        return false;
    insert(begin() + index, record);
    return true;
}
