#include "limits/OxideCombination.h"

#include "elements/ElementTable.h"
#include "limits/OxideAmounts.h"
#include "support/CompareNoCase.h"

#include <utility>

namespace {

constexpr int kNaZ = 11;
constexpr int kKZ = 19;
constexpr int kLastElement = 103;

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsLower(char c)
{
    return c >= 'a' && c <= 'z';
}

// The words that stand for the four totals, tried before the element symbols (so "Alkalis" is
// never read as aluminium).
struct TotalWord {
    std::string_view word;
    int item;
};
constexpr TotalWord kTotalWords[] = {
    {"LOI", COxideCombination::kItemLoi},
    {"Alkalis", COxideCombination::kItemAlkalis},
    {"Neutrals", COxideCombination::kItemNeutrals},
    {"Acids", COxideCombination::kItemAcids},
};

// The element 1..103 whose symbol equals symbol exactly, else -1.
int FindElementSymbol(std::string_view symbol)
{
    const CElementRecord* table = GetElementTable();
    for (int z = 1; z <= kLastElement; ++z)
        if (symbol == table[z].symbol)
            return z;
    return -1;
}

} // namespace

COxideCombination::COxideCombination(std::string name, std::string formula, double plotMin, double plotMax)
    : m_name(std::move(name)), m_plotMin(plotMin), m_plotMax(plotMax), m_formula(std::move(formula))
{
    Parse();
}

void COxideCombination::SetFormula(std::string formula)
{
    m_formula = std::move(formula);
    m_parsed = false;
}

bool COxideCombination::HasItem(const ItemSet& set, int item)
{
    if (item < 0 || item >= static_cast<int>(set.size()) * 8)
        return false;
    return (set[static_cast<std::size_t>(item / 8)] >> (item % 8)) & 1U;
}

void COxideCombination::AddItem(ItemSet& set, int item)
{
    set[static_cast<std::size_t>(item / 8)] |= static_cast<std::uint8_t>(1U << (item % 8));
}

int COxideCombination::ParseItems(std::string_view text, ItemSet& set) const
{
    set.fill(0);
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsLetter(text[i])) {
            ++i;
            continue;
        }
        const std::string_view rest = text.substr(i);
        int item = -1;
        std::size_t used = 0;
        for (const TotalWord& total : kTotalWords) {
            if (rest.starts_with(total.word)) {
                item = total.item;
                used = total.word.size();
                break;
            }
        }
        if (used == 0) {
            // One capital or small letter, and a second one only when it is small: "Kna" reads
            // as "Kn", which names no element, so the token is consumed and ignored.
            used = rest.size() > 1 && IsLower(rest[1]) ? 2 : 1;
            item = FindElementSymbol(rest.substr(0, used));
        }
        i += used;
        if (item < 1)
            continue;
        AddItem(set, item);
        ++count;
        if (m_firstItem == -1)
            m_firstItem = item;
    }
    return count;
}

int COxideCombination::Parse() const
{
    if (m_parsed)
        return 0;
    m_firstItem = -1;
    const std::string_view text = m_formula;
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        ParseItems(text.substr(0, slash), m_setA);
        ParseItems(text.substr(slash + 1), m_setB);
        m_kind = kRatio;
    } else if (const std::size_t minus = text.find('-'); minus != std::string_view::npos) {
        const int countA = ParseItems(text.substr(0, minus), m_setA);
        const int countB = ParseItems(text.substr(minus + 1), m_setB);
        m_kind = countB > 0 ? kDifference : (countA >= 2 ? kSum : kSingle);
    } else {
        const int countA = ParseItems(text, m_setA);
        m_setB.fill(0);
        m_kind = countA >= 2 ? kSum : kSingle;
    }
    m_parsed = true;
    return 0;
}

int COxideCombination::GetKind() const
{
    Parse();
    return m_kind;
}

int COxideCombination::GetFirstItem() const
{
    Parse();
    return m_firstItem;
}

const COxideCombination::ItemSet& COxideCombination::GetSetA() const
{
    Parse();
    return m_setA;
}

const COxideCombination::ItemSet& COxideCombination::GetSetB() const
{
    Parse();
    return m_setB;
}

double COxideCombination::SumItems(const ItemSet& set, const double* values, double scale)
{
    double sum = 0.0;
    for (int item = 1; item <= kLastItem; ++item)
        if (HasItem(set, item))
            sum += values[item] * scale;
    return sum;
}

double COxideCombination::GetValue(const COxideAmounts& analysis, bool byPercent) const
{
    Parse();
    if (!analysis.IsValid())
        return 0.0;
    // A ratio of percentages is the ratio of the fractions: it divides the bare fractions.
    const auto slots = (byPercent ? analysis.weightFraction : analysis.unity).ToArray<COxideAmounts::kSlots>();
    const double* values = slots.data();
    const double scale = byPercent && m_kind != kRatio ? 100.0 : 1.0;
    switch (m_kind) {
    case kSingle:
        return m_firstItem < 1 ? 0.0 : values[m_firstItem] * scale;
    case kSum:
        return SumItems(m_setA, values, scale);
    case kDifference:
        return SumItems(m_setA, values, scale) - SumItems(m_setB, values, scale);
    case kRatio: {
        const double denominator = SumItems(m_setB, values, scale);
        return denominator == 0.0 ? kRatioOverflow : SumItems(m_setA, values, scale) / denominator;
    }
    default:
        return 0.0;
    }
}

bool COxideCombination::IsSodiumPlusPotassium() const
{
    Parse();
    if (m_kind != kSum || !HasItem(m_setA, kNaZ) || !HasItem(m_setA, kKZ))
        return false;
    for (int z = 1; z <= kLastElement; ++z)
        if (z != kNaZ && z != kKZ && HasItem(m_setA, z))
            return false;
    return true;
}

// --- COxideCombinationArray -----------------------------------------------------------------

COxideCombinationArray::COxideCombinationArray(const COxideCombinationArray& other)
{
    *this = other;
}

COxideCombinationArray& COxideCombinationArray::operator=(const COxideCombinationArray& other)
{
    if (this == &other)
        return *this;
    clear();
    reserve(other.size());
    for (const auto& record : other)
        if (record)
            push_back(std::make_unique<COxideCombination>(*record));
    return *this;
}

void COxideCombinationArray::RemoveAt(int n)
{
    if (IsValidIndex(n))
        erase(begin() + n);
}

void COxideCombinationArray::InsertAt(int n, const COxideCombination& combination)
{
    if (n >= 0 && n <= GetCount())
        insert(begin() + n, std::make_unique<COxideCombination>(combination));
}

void COxideCombinationArray::Add(const COxideCombination& combination)
{
    push_back(std::make_unique<COxideCombination>(combination));
}

void COxideCombinationArray::SetAt(int n, const COxideCombination& combination)
{
    if (IsValidIndex(n))
        GetAt(n) = combination;
}

namespace {

constexpr int kNoKey = -1;
// Keys of combinations led by LOI or a total come after every element-led key.
constexpr int kTotalKeyBase = 24576;

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// The role-order key of a combination from its kind and first item.
int RoleKey(const COxideCombination& combination)
{
    const int first = combination.GetFirstItem();
    if (first < 1)
        return kNoKey;
    if (first > kLastElement)
        return kTotalKeyBase + first;
    const CElementRecord& element = GetElementTable()[first];
    const int roleRank = (element.role & kRoleAlkali) ? 0 : ((element.role & kRoleNeutral) ? 1 : 2);
    // Element files keep the priority within 1..3; a damaged one must not overflow the key.
    const int priority = element.priority < 0 ? 0 : (element.priority > 3 ? 3 : element.priority);
    return ((combination.GetKind() * 4 + roleRank) * 4 + priority) * 256 + first;
}

} // namespace

int COxideCombinationArray::Compare(int i, int j, bool byName) const
{
    if (!IsValidIndex(i) || !IsValidIndex(j))
        return 0;
    const COxideCombination& a = GetAt(i);
    const COxideCombination& b = GetAt(j);
    if (byName) {
        if (a.m_name.empty() || b.m_name.empty())
            return a.m_name.empty() == b.m_name.empty() ? 0 : (a.m_name.empty() ? 1 : -1);
        return Sign(CompareNoCase(a.m_name, b.m_name));
    }
    const int keyA = RoleKey(a);
    const int keyB = RoleKey(b);
    if (keyA == keyB)
        return Sign(CompareNoCase(a.m_name, b.m_name));
    if (keyA == kNoKey || keyB == kNoKey)
        return keyA == kNoKey ? 1 : -1;
    return keyA < keyB ? -1 : 1;
}
