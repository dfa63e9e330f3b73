#include "glazes/IngredientList.h"

#include "materials/MaterialsDoc.h"

#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/KeySort.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>

namespace {

// The open materials database answers unless another finder is installed.
bool FindTypeInMaterialsDatabase(std::string_view material, std::string& type)
{
    if (!g_pMaterialsDoc)
        return false;
    const CMaterial* found = g_pMaterialsDoc->Materials().FindMaterial(material);
    if (!found)
        return false;
    type = found->m_type;
    return true;
}

MaterialTypeFinder s_typeFinder = &FindTypeInMaterialsDatabase;

// The material's type, or an empty text when the database does not hold the material (an
// empty type also stands for a found material without a type).
std::string MaterialTypeOf(std::string_view material, bool* found = nullptr)
{
    std::string type;
    const bool known = s_typeFinder && s_typeFinder(material, type);
    if (!known)
        type.clear();
    if (found)
        *found = known;
    return type;
}

// A line taken out of a list while it waits for its place, with its material's type.
struct CPendingLine {
    std::unique_ptr<CIngredient> line;
    std::string type;
    bool found = false;
};

std::vector<CPendingLine> TakeLines(CIngredientList& list)
{
    std::vector<CPendingLine> pending;
    pending.reserve(list.size());
    for (auto& line : list) {
        if (!line)
            continue;
        CPendingLine entry;
        entry.type = MaterialTypeOf(line->m_name, &entry.found);
        entry.line = std::move(line);
        pending.push_back(std::move(entry));
    }
    list.clear();
    return pending;
}

// Moves every waiting line that matches to the end of target; the others keep their order.
template <class Match>
void MoveMatching(std::vector<CPendingLine>& pending, CIngredientList& target, Match matches)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (matches(pending[i])) {
            target.push_back(std::move(pending[i].line));
        } else {
            if (kept != i)
                pending[kept] = std::move(pending[i]);
            ++kept;
        }
    }
    pending.resize(kept);
}

void MoveAll(std::vector<CPendingLine>& pending, CIngredientList& target)
{
    for (CPendingLine& entry : pending)
        target.push_back(std::move(entry.line));
    pending.clear();
}

} // namespace

MaterialTypeFinder SetMaterialTypeFinder(MaterialTypeFinder finder)
{
    const MaterialTypeFinder previous = s_typeFinder;
    s_typeFinder = finder;
    return previous;
}

MaterialTypeFinder GetMaterialTypeFinder()
{
    return s_typeFinder;
}

CIngredientList::CIngredientList(const CIngredientList& other)
{
    Append(other);
}

CIngredientList& CIngredientList::operator=(const CIngredientList& other)
{
    if (this != &other) {
        clear();
        Append(other);
    }
    return *this;
}

void CIngredientList::InsertAt(int index, const CIngredient& line)
{
    if (index < 0 || index > GetCount())
        return;
    insert(begin() + index, std::make_unique<CIngredient>(line));
}

void CIngredientList::Add(std::string name, double amount)
{
    push_back(std::make_unique<CIngredient>(std::move(name), amount));
}

void CIngredientList::RemoveAt(int index)
{
    if (IsValidIndex(index))
        erase(begin() + index);
}

void CIngredientList::Append(const CIngredientList& other)
{
    if (&other == this) {
        const CIngredientList copy(other);
        Append(copy);
        return;
    }
    // Room grows by doubling: a list built by many appends is copied a few times, not once each.
    if (capacity() < size() + other.size())
        reserve(std::max(2 * capacity(), size() + other.size()));
    for (const auto& line : other)
        if (line)
            push_back(std::make_unique<CIngredient>(*line));
}

double CIngredientList::GetTotalAmount() const
{
    double total = 0.0;
    for (const auto& line : *this)
        if (line)
            total += line->m_amount;
    return total;
}

double CIngredientList::GetMaxAmount() const
{
    double largest = 0.0;
    for (const auto& line : *this)
        if (line && line->m_amount > largest)
            largest = line->m_amount;
    return largest;
}

void CIngredientList::MergeDuplicates()
{
    // The first line of each material, by its name folded as EqualsNoCase compares.
    std::unordered_map<std::string, CIngredient*> first;
    first.reserve(size());
    for (const auto& line : *this) {
        if (!line)
            continue;
        auto [slot, added] = first.try_emplace(FoldedForSort(line->m_name), line.get());
        if (!added) {
            slot->second->m_amount += line->m_amount;
            line->m_amount = 0.0;
        }
    }
    // -0.0 == 0.0, so a line holding minus zero goes as well.
    std::erase_if(*this, [](const auto& line) { return !line || line->m_amount == 0.0; });
}

void CIngredientList::SortByName()
{
    std::vector<std::string> keys;
    keys.reserve(size());
    for (const auto& line : *this)
        keys.push_back(FoldedForSort(line->m_name));
    StableSortByPosition(*this, [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
}

void CIngredientList::SortByAmount(int direction)
{
    if (direction == 0)
        return;
    for (int i = GetCount() - 1; i >= 1; --i) {
        for (int j = 0; j < i; ++j) {
            const double a = GetAt(j).m_amount;
            const double b = GetAt(i).m_amount;
            if (direction > 0 ? a > b : a < b)
                SwapItems(i, j);
        }
    }
}

void CIngredientList::Reverse()
{
    for (int i = 0, j = GetCount() - 1; i < j; ++i, --j)
        SwapItems(i, j);
}

void CIngredientList::SortByTypeOrder(const std::vector<std::string>& typeOrder)
{
    std::vector<CPendingLine> pending = TakeLines(*this);
    // Each line is taken once, by the first type name it matches: a type named twice in the
    // order must not duplicate lines.
    for (const std::string& typeName : typeOrder)
        MoveMatching(pending, *this,
                     [&](const CPendingLine& e) { return e.found && EqualsNoCase(e.type, typeName); });
    MoveMatching(pending, *this, [](const CPendingLine& e) { return e.found; });
    MoveAll(pending, *this);
}

void CIngredientList::SortByPreferredTypeOrder()
{
    SortByTypeOrder(g_prefs.mattyp);
}

void CIngredientList::DistributeTo(CIngredientList& components, CIngredientList& additions)
{
    // The old split is copied before anything moves, so that this list may even be one of the
    // two targets.
    const CIngredientList oldComponents(components);
    const CIngredientList oldAdditions(additions);
    std::vector<CPendingLine> pending = TakeLines(*this);
    components.clear();
    additions.clear();

    std::vector<std::string> componentTypes;
    for (const auto& old : oldComponents)
        componentTypes.push_back(MaterialTypeOf(old->m_name));
    auto usedByComponents = [&](const std::string& type) {
        for (const std::string& t : componentTypes)
            if (EqualsNoCase(t, type))
                return true;
        return false;
    };

    for (const auto& old : oldAdditions) {
        const std::string name = GetNamePart(old->m_name);
        MoveMatching(pending, additions, [&](const CPendingLine& e) { return EqualsNoCase(e.line->m_name, name); });
        const std::string type = MaterialTypeOf(old->m_name);
        if (!type.empty() && !usedByComponents(type))
            MoveMatching(pending, additions, [&](const CPendingLine& e) { return EqualsNoCase(e.type, type); });
    }
    for (std::size_t k = 0; k < oldComponents.size(); ++k) {
        const std::string name = GetNamePart(oldComponents[k]->m_name);
        MoveMatching(pending, components, [&](const CPendingLine& e) { return EqualsNoCase(e.line->m_name, name); });
        // An empty type matches too: unknown materials follow an unknown old component.
        const std::string& type = componentTypes[k];
        MoveMatching(pending, components, [&](const CPendingLine& e) { return EqualsNoCase(e.type, type); });
    }
    MoveAll(pending, components);
}
