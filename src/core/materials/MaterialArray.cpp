#include "materials/MaterialArray.h"

#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/KeySort.h"
#include "support/NumberFormat.h"
#include "support/Services.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <climits>
#include <utility>

const char* const g_materialSortSpecs[kMaterialSortKindCount] = {
    "n", "c", "na", "nta", "nt", "nat", "nd", "n$", "nm", "nV", "nW",
};

namespace {

constexpr int kSiliconZ = 14;

// A record's key for one sort letter: a group (known values before unknown ones), then a number,
// then a text folded for comparing ignoring case. Keys compare in that order, each a strict weak
// order, so that a stable sort keeps the order of the letters before it; what a letter does not
// use stays equal.
struct SortKey {
    int group = 0;
    double number = 0.0;
    std::string text;
};

bool KeyLess(const SortKey& a, const SortKey& b)
{
    if (a.group != b.group)
        return a.group < b.group;
    if (a.number < b.number)
        return true;
    if (b.number < a.number)
        return false;
    return a.text < b.text;
}

// Known (positive) values ascending; unknown ones (0 or less) after all of them.
SortKey PositiveFirst(double value)
{
    return value > 0.0 ? SortKey{0, value, {}} : SortKey{1, 0.0, {}};
}

// The key of a sort letter: n name, c code, a available first, d density and $ cost (known ones
// first), m mapped ones first by the name they map to, V loss on ignition, W the oxide's share of
// the fired oxides (a record without oxides last). Type ('t') is ordered by the preferences.
SortKey KeyFor(char letter, const CMaterial& m, int oxide)
{
    switch (letter) {
    case 'n': return {0, 0.0, FoldedForSort(m.m_name)};
    case 'c': return {0, 0.0, FoldedForSort(m.m_code)};
    case 'a': return {m.m_available != 0 ? 0 : 1, 0.0, {}};
    case 'd': return PositiveFirst(m.m_density);
    case '$': return PositiveFirst(m.m_costPerLb);
    case 'm': return m.m_mapTo.empty() ? SortKey{1, 0.0, {}} : SortKey{0, 0.0, FoldedForSort(m.m_mapTo)};
    case 'V': return {0, m.m_loi, {}};
    case 'W':
        if (!(m.m_oxideSum > 0.0))
            return {1, 0.0, {}};
        return {0, m.m_oxides[static_cast<std::size_t>(oxide)] / m.m_oxideSum, {}};
    default: return {};
    }
}

bool IsSortLetter(char letter)
{
    return std::string_view("ncadm$VWt").find(letter) != std::string_view::npos;
}

// The part of a look-up text before its first '(', without trailing whitespace.
std::string_view NamePart(std::string_view text, std::size_t paren)
{
    std::string_view name = text.substr(0, paren);
    while (!name.empty() && IsWhitespaceChar(name.back()))
        name.remove_suffix(1);
    return name;
}

} // namespace

CMaterialArray::CMaterialArray() = default;

CMaterialArray::~CMaterialArray()
{
    ResetToDefaults();
    m_index.FreeAll();
}

void CMaterialArray::ResetToDefaults()
{
    m_records.clear();
    m_indexValid = false;
    // Built and moved in: assigning the literal trips a false -Wrestrict of GCC 12 at -O2.
    m_currencySymbol = std::string(kDefaultCurrencySymbol);
    m_costUnit = kCostPerPound;
    m_costPlacesRight = 2;
    m_costPlacesLeft = 3;
    m_densityUnit = kDensityPerCup;
    m_dbName = std::string(kDefaultMaterialDbName);
    m_infoLines.clear();
}

CMaterial* CMaterialArray::GetAt(int index)
{
    return IsValidIndex(index) ? m_records[static_cast<std::size_t>(index)].get() : nullptr;
}

const CMaterial* CMaterialArray::GetAt(int index) const
{
    return IsValidIndex(index) ? m_records[static_cast<std::size_t>(index)].get() : nullptr;
}

int CMaterialArray::IndexOf(const CMaterial* material) const
{
    return PtrArrayIndexOf(m_records, material);
}

std::unique_ptr<CMaterial> CMaterialArray::TakeAt(int index)
{
    m_indexValid = false;
    if (!IsValidIndex(index))
        return nullptr;
    std::unique_ptr<CMaterial> material = std::move(m_records[static_cast<std::size_t>(index)]);
    m_records.erase(m_records.begin() + index);
    return material;
}

CMaterialArray::RecordList CMaterialArray::TakeAll()
{
    m_indexValid = false;
    return std::exchange(m_records, {});
}

void CMaterialArray::PutBackAll(RecordList records)
{
    m_indexValid = false;
    m_records = std::move(records);
}

void CMaterialArray::InsertCopy(int index, const CMaterial& material)
{
    const bool appended = index == GetCount();
    if (index >= 0 && index <= GetCount())
        m_records.insert(m_records.begin() + index, std::make_unique<CMaterial>(material));
    // A material added at the end moves no other: its keys join the index as it stands.
    // Glazes to Materials adds one for each glaze and looks materials up in between.
    if (appended && m_indexValid)
        AddIndexKeys(index);
    else
        m_indexValid = false;
}

void CMaterialArray::ReplaceAt(int index, const CMaterial& material)
{
    if (IsValidIndex(index))
        *m_records[static_cast<std::size_t>(index)] = material;
    m_indexValid = false;
}

void CMaterialArray::Swap(int a, int b)
{
    if (IsValidIndex(a) && IsValidIndex(b))
        std::swap(m_records[static_cast<std::size_t>(a)], m_records[static_cast<std::size_t>(b)]);
    m_indexValid = false;
}

void CMaterialArray::Move(int from, int to)
{
    m_indexValid = false;
    if (from == to || !IsValidIndex(from) || !IsValidIndex(to))
        return;
    std::unique_ptr<CMaterial> record = std::move(m_records[static_cast<std::size_t>(from)]);
    m_records.insert(m_records.begin() + to, std::move(record));
    m_records.erase(m_records.begin() + (to < from ? from + 1 : from));
}

// Each letter of the order sorts the whole list stably, first letter first: the last letter is
// the primary order and earlier letters order its ties.
void CMaterialArray::Sort(int kind, int oxide)
{
    if (kind < 0 || kind >= kMaterialSortKindCount)
        return;
    if (oxide < 0 || oxide >= kElementCount)
        oxide = kSiliconZ;
    for (const char* letter = g_materialSortSpecs[kind]; *letter; ++letter) {
        if (!IsSortLetter(*letter))
            continue;
        if (*letter == 't') {
            StableSortByPosition(m_records, [this](std::size_t a, std::size_t b) {
                return g_prefs.CompareMaterialTypes(m_records[a]->m_type, m_records[b]->m_type) < 0;
            });
            continue;
        }
        std::vector<SortKey> keys;
        keys.reserve(m_records.size());
        for (const auto& record : m_records)
            keys.push_back(KeyFor(*letter, *record, oxide));
        StableSortByPosition(m_records, [&keys](std::size_t a, std::size_t b) { return KeyLess(keys[a], keys[b]); });
    }
    m_indexValid = false;
}

void CMaterialArray::ScaleCosts(double factor)
{
    for (auto& record : m_records)
        record->m_costPerLb *= factor;
    m_costScalings.push_back(factor);
}

void CMaterialArray::ScaleDensities(double factor)
{
    for (auto& record : m_records)
        record->m_density *= factor;
    m_densityScalings.push_back(factor);
}

void CMaterialArray::ReparseFormulas()
{
    // A formula that no longer parses keeps its text, and loses its analysis and formula key.
    for (auto& record : m_records)
        record->KeepFormula(record->m_formula);
    m_indexValid = false;
}

void CMaterialArray::SetField(int index, int field, const std::string& text)
{
    CMaterial* record = GetAt(index);
    if (!record)
        return;
    record->SetField(field, text);
    if (field == 7)
        record->m_density = KeptDensity(record->m_density);
    else if (field == 9)
        record->m_costPerLb = KeptCost(record->m_costPerLb);
    // Name, other name, code, other-name code and formula are keys of the index.
    if (field == 1 || field == 2 || field == 3 || field == 4 || field == 10)
        m_indexValid = false;
}

CMaterial& CMaterialArray::AppendNewRecord(std::string_view name)
{
    m_records.push_back(std::make_unique<CMaterial>(name));
    m_indexValid = false;
    return *m_records.back();
}

// --- look-ups -----------------------------------------------------------------------------------

void CMaterialArray::AddIndexKeys(int record)
{
    const CMaterial& m = *m_records[static_cast<std::size_t>(record)];
    auto add = [this, record](const std::string& key, const std::string* display) {
        m_index.AddKey(key, record, display);
    };
    add(m.m_name, nullptr);
    add(m.m_code, &m.m_name);
    if (!m.m_formula.empty() && m.m_formula[0] != '%' && !m.HasUnreadableFormula())
        add(m.m_formula, &m.m_name);
    for (const std::string& aka : m.m_akaNames)
        add(aka, nullptr);
    for (std::size_t k = 0; k < m.m_akaCodes.size(); ++k) {
        const bool named = k < m.m_akaNames.size() && !m.m_akaNames[k].empty();
        add(m.m_akaCodes[k], named ? &m.m_akaNames[k] : &m.m_name);
    }
}

void CMaterialArray::BuildIndex()
{
    if (m_indexValid)
        return;
    m_index.Reset();
    CBusyScope busy;
    std::size_t keys = 0;
    for (const auto& m : m_records)
        keys += 3 + m->m_akaNames.size() + m->m_akaCodes.size();
    // A little room over the count, so that adding a material does not move the whole index.
    m_index.Reserve(static_cast<int>(std::min<std::size_t>(keys + keys / 32, INT_MAX)));
    for (int i = 0; i < GetCount(); ++i)
        AddIndexKeys(i);
    m_index.Build();
    m_indexValid = true;
}

int CMaterialArray::FindKeyNode(std::string_view text, std::size_t& remark)
{
    BuildIndex();
    remark = text.find('(');
    if (remark != std::string_view::npos) {
        const int whole = m_index.FindExact(text);
        if (whole >= 0) {
            remark = std::string_view::npos;
            return whole;
        }
    }
    return m_index.FindExact(NamePart(text, remark));
}

CMaterial* CMaterialArray::FindMaterial(std::string& text, bool canonical)
{
    std::size_t paren = std::string::npos;
    const int node = FindKeyNode(text, paren);
    CMaterial* found = node >= 0 ? GetAt(m_index.GetNode(node).record) : nullptr;
    if (canonical) {
        const std::string_view name = NamePart(text, paren);
        std::string result(node >= 0 ? std::string_view(m_index.DisplayName(node)) : name);
        if (paren != std::string::npos) {
            result += ' ';
            result.append(text, paren, std::string::npos);
        }
        text = std::move(result);
    }
    return found;
}

CMaterial* CMaterialArray::FindMaterial(std::string_view text)
{
    std::size_t paren = std::string_view::npos;
    const int node = FindKeyNode(text, paren);
    return node >= 0 ? GetAt(m_index.GetNode(node).record) : nullptr;
}

CMaterial* CMaterialArray::FindByPrefix(std::string& text, bool canonical, int* status)
{
    BuildIndex();
    const std::size_t paren = text.find('(');
    const std::string_view name = NamePart(text, paren);
    const int node = m_index.FindPrefix(name);
    if (status)
        *status = node >= 0 ? PrefixFound : node;
    if (node < 0)
        return nullptr;
    CMaterial* found = GetAt(m_index.GetNode(node).record);
    if (canonical) {
        std::string result = m_index.DisplayName(node);
        if (paren != std::string::npos) {
            result += ' ';
            result.append(text, paren, std::string::npos);
        }
        text = std::move(result);
    }
    return found;
}

// --- mappings -----------------------------------------------------------------------------------

const CMaterial* CMaterialArray::ResolveMapping(const CMaterial* material, int* status)
{
    int ignored = 0;
    int& result = status ? *status : ignored;
    result = MappingOk;
    const CMaterial* current = material;
    for (int lookups = 0;;) {
        if (!current) {
            result = MappingMissing;
            return nullptr;
        }
        if (current->m_mapTo.empty())
            return current;
        const CMaterial* next = FindMaterial(std::string_view(current->m_mapTo));
        if (next == material || ++lookups == kMaxMappingLookups) {
            result = MappingLoop;
            return nullptr;
        }
        current = next;
    }
}

bool CMaterialArray::MapsTo(const CMaterial* material, const CMaterial* target)
{
    const CMaterial* current = material;
    for (int lookups = 0; lookups < kMaxMappingLookups; ++lookups) {
        if (!current || current->m_mapTo.empty())
            return false;
        current = FindMaterial(std::string_view(current->m_mapTo));
        if (current && current == target)
            return true;
    }
    return false;
}

int CMaterialArray::GetMappedValues(const CMaterial* material, double* density, double* cost, int* available,
                                    std::string* formula)
{
    int status = MappingOk;
    const CMaterial* end = ResolveMapping(material, &status);
    if (status != MappingOk || !end)
        return status;
    if (density)
        *density = end->m_density;
    if (cost)
        *cost = end->m_costPerLb;
    if (available)
        *available = end->m_available;
    if (formula)
        *formula = end->m_formula;
    return MappingOk;
}

// --- cost texts ---------------------------------------------------------------------------------

std::string CMaterialArray::BuildCostFormat() const
{
    std::string format(1, '%');
    format += std::to_string(m_costPlacesLeft + m_costPlacesRight + 1);
    format += '.';
    format += std::to_string(m_costPlacesRight);
    format += 'f';
    return format;
}

std::string CMaterialArray::FormatCost(double cost) const
{
    return FormatNumberWidth(cost, m_costPlacesLeft, m_costPlacesRight);
}
