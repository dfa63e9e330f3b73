#include "glazes/OxideConstraint.h"

#include "elements/ElementTable.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/StringArrayEx.h"
#include "support/TextHelpers.h"

#include <charconv>
#include <utility>

namespace {

bool IsElementOxide(int oxide)
{
    return oxide >= 1 && oxide < kElementCount;
}

// Role flags of the element whose oxide is bounded; 0 for everything that is not an element.
std::int32_t ElementRoleOf(int oxide)
{
    return IsElementOxide(oxide) ? GetElementTable()[oxide].role : 0;
}

// KNaO and the oxides that the unit itself bounds: in percent units every non-volatile oxide
// (at most 100 %), in unity units every alkali oxide (the alkalis add up to 1).
bool IsBoundedByUnit(int oxide, bool percent)
{
    if (oxide == kConstraintKNaO)
        return true;
    if (!IsElementOxide(oxide))
        return false;
    const std::int32_t role = ElementRoleOf(oxide);
    return percent ? (role & kRoleVolatile) == 0 : (role & kRoleAlkali) != 0;
}

// What value 1 and value 2 stand for under an op.
const char* ValueMeaning(char op, bool second)
{
    switch (op) {
    case '=': return second ? "tolerance" : "target";
    case '>': return second ? "maximum" : "minimum";
    default: return second ? "minimum" : "maximum";
    }
}

} // namespace

// --- shared helpers -------------------------------------------------------------------------------

std::string QuotedConstraintText(std::string_view text)
{
    // A long text is cut: the message only has to let the user recognise it.
    constexpr std::size_t kShown = 24;
    if (text.size() > kShown)
        return "\"" + std::string(text.substr(0, kShown)) + "...\"";
    return "\"" + std::string(text) + "\"";
}

std::string ConstraintValuesFault(char op, std::string_view value1, std::string_view value2)
{
    if (op == 0)
        return "there is no operator (=, >= or <=)";
    if (!IsConstraintOp(op))
        return "the operator " + QuotedConstraintText(std::string_view(&op, 1)) + " is none of =, >= and <=";
    const auto notANumber = [op](bool second, std::string_view value) {
        return std::string("the ") + ValueMeaning(op, second) + " " + QuotedConstraintText(value) +
               " is not a decimal number";
    };
    if (value1.empty())
        return std::string("there is no ") + ValueMeaning(op, false);
    if (!IsConstraintValueText(value1, false))
        return notANumber(false, value1);
    if (!IsConstraintValueText(value2, true))
        return notANumber(true, value2);
    return std::string();
}

double ReadConstraintValue(std::string_view text)
{
    return ParseDouble(text);
}

bool IsConstraintOp(char op)
{
    return op == '=' || op == '>' || op == '<';
}

bool IsConstraintValueText(std::string_view text, bool optional)
{
    return (optional && text.empty()) || IsNumberText(text);
}

std::string ConstraintOpText(char op)
{
    return op == 0 ? std::string() : std::string(1, op);
}

double AddConstraintBounds(double a, double b)
{
    const double sum = a + b;
    if (sum > kConstraintValueLimit)
        return kConstraintValueLimit;
    if (sum < -kConstraintValueLimit)
        return -kConstraintValueLimit;
    return sum;
}

CConstraintRange ConstraintRange(char op, std::string_view value1, std::string_view value2,
                                 double openUpper, bool mayGoNegative)
{
    const double a = ReadConstraintValue(value1);
    const double b = ReadConstraintValue(value2);
    switch (op) {
    case '=': {
        const double lower = AddConstraintBounds(a, -b);
        return {lower < 0.0 && !mayGoNegative ? 0.0 : lower, AddConstraintBounds(a, b)};
    }
    case '>': return {a, value2.empty() ? openUpper : b};
    case '<': return {value2.empty() ? 0.0 : b, a};
    default: return {0.0, 1000.0};
    }
}

std::string TrimmedConstraintField(std::string field)
{
    TrimString(field);
    return field;
}

// --- COxideConstraint -----------------------------------------------------------------------------

COxideConstraint::COxideConstraint(int oxide, char op, std::string value1, std::string value2)
    : m_oxide(oxide), m_op(op), m_value1(std::move(value1)), m_value2(std::move(value2))
{
}

bool COxideConstraint::Parse(std::string_view text)
{
    CStringArrayEx fields;
    fields.AddTextLines(std::string(text), ",");
    *this = COxideConstraint();
    if (fields.size() != 4) {
        m_unsplitText = std::string(text);
        return IsInvalid();
    }
    m_oxide = ParseInt(fields[0]);
    m_op = fields[1].empty() ? 0 : fields[1][0];
    m_value1 = TrimmedConstraintField(fields[2]);
    m_value2 = TrimmedConstraintField(fields[3]);
    return IsInvalid();
}

bool COxideConstraint::IsUnsplit() const
{
    return m_unsplitText && m_oxide == 0 && m_op == 0 && m_value1.empty() && m_value2.empty();
}

std::string COxideConstraint::Format() const
{
    if (IsUnsplit())
        return *m_unsplitText;
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, m_oxide).ptr;
    std::string text(digits, end);
    text += ',';
    text += ConstraintOpText(m_op);
    text += ',';
    text += m_value1;
    text += ',';
    text += m_value2;
    text += ',';
    return text;
}

bool COxideConstraint::IsInvalid() const
{
    return !Fault().empty();
}

std::string COxideConstraint::Fault() const
{
    if (IsUnsplit())
        return "oxide constraint " + QuotedConstraintText(*m_unsplitText) + " cannot be read";
    if (m_oxide == 0 || m_oxide < kConstraintExpansion || m_oxide >= kElementCount)
        return "constraint on oxide number " + std::to_string(m_oxide) + ": there is no such oxide";
    const std::string fault = ConstraintValuesFault(m_op, m_value1, m_value2);
    if (fault.empty())
        return fault;
    return "constraint on " + (IsExpansion() ? std::string("expansion") : GetDisplayName()) + ": " + fault;
}

std::string COxideConstraint::GetDisplayName() const
{
    switch (m_oxide) {
    case kConstraintKNaO: return "KNaO";
    case kConstraintLOI: return "LOI";
    case kConstraintExpansion: return "special";
    default: break;
    }
    if (IsElementOxide(m_oxide))
        return GetElementTable()[m_oxide].oxide;
    return "(unknown)";
}

// --- bounds ---------------------------------------------------------------------------------------

bool COxideConstraint::HasLowerBound(bool /*percent*/) const
{
    if (!IsExpansion())
        return true; // 0 at least: an oxide amount is never negative
    return m_op == '=' || (m_op == '>' && !m_value1.empty()) || (m_op == '<' && !m_value2.empty());
}

bool COxideConstraint::HasUpperBound(bool percent) const
{
    if (!IsExpansion() && IsBoundedByUnit(m_oxide, percent))
        return true;
    return m_op == '=' || (m_op == '<' && !m_value1.empty()) || (m_op == '>' && !m_value2.empty());
}

double COxideConstraint::LowerBound(bool percent) const
{
    return Range(percent).lower;
}

double COxideConstraint::UpperBound(bool percent) const
{
    return Range(percent).upper;
}

CConstraintRange COxideConstraint::Range(bool percent) const
{
    const bool unbounded = IsExpansion() || !IsBoundedByUnit(m_oxide, percent);
    const double openUpper = unbounded ? 1000.0 : (percent ? 100.0 : 1.0);
    // An expansion target may sensibly go below zero; an oxide amount cannot.
    return ConstraintRange(m_op, m_value1, m_value2, openUpper, IsExpansion());
}

// --- COxideConstraintArray ------------------------------------------------------------------------

bool COxideConstraintArray::InsertAt(int index, const COxideConstraint& record)
{
    if (index < 0 || index > GetCount())
        return false;
    insert(begin() + index, record);
    return true;
}
