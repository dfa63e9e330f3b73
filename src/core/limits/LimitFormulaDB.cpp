#include "limits/LimitFormulaDB.h"

#include "support/CompareNoCase.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

CLimitFormulaDB* s_currentDatabase = nullptr;

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

struct DefaultCombination {
    const char* name;
    const char* formula;
    double plotMax;
};

constexpr DefaultCombination kDefaultCombinations[] = {
    {"Na2O", "Na", 1.0},   {"K2O", "K", 1.0},     {"KNaO", "Na+K", 1.0}, {"CaO", "Ca", 1.0},
    {"MgO", "Mg", 1.0},    {"Li2O", "Li", 1.0},   {"ZnO", "Zn", 1.0},    {"BaO", "Ba", 1.0},
    {"SrO", "Sr", 1.0},    {"PbO", "Pb", 1.0},    {"Al2O3", "Al", 1.0},  {"B2O3", "B", 2.0},
    {"SiO2", "Si", 10.0},  {"Si:Al", "Si/Al", 20.0},
};

// The valid positions of selected, ascending, each once.
std::vector<int> ValidSelection(std::span<const int> selected, int count)
{
    std::vector<int> rows;
    for (const int row : selected)
        if (row >= 0 && row < count)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

CLimitFormulaDB* GetCurrentLimitFormulaDB()
{
    return s_currentDatabase;
}

CLimitFormulaDB* SetCurrentLimitFormulaDB(CLimitFormulaDB* database)
{
    CLimitFormulaDB* const previous = s_currentDatabase;
    s_currentDatabase = database;
    return previous;
}

CLimitFormulaDB::~CLimitFormulaDB()
{
    if (s_currentDatabase == this)
        s_currentDatabase = nullptr;
}

void CLimitFormulaDB::Reset()
{
    m_formulas.clear();
    m_combinations.clear();
    m_infoLines.clear();
    m_name = kDefaultLimitFormulaDbName;
    m_version = 0;
}

int CompareLimitFormulaNames(const CLimitFormulaDB* database, const std::string& a, const std::string& b,
                             bool plain)
{
    if (a.empty() || b.empty())
        return a.empty() == b.empty() ? 0 : (a.empty() ? 1 : -1);
    const int byName = Sign(CompareNoCase(a, b));
    if (byName == 0 || plain || !database)
        return byName;
    const int positionA = database->m_formulas.FindIndexByName(a);
    const int positionB = database->m_formulas.FindIndexByName(b);
    if (positionA >= 0 && positionB >= 0 && positionA != positionB)
        return positionA < positionB ? -1 : 1;
    if ((positionA >= 0) != (positionB >= 0))
        return positionA >= 0 ? -1 : 1;
    return byName;
}

int CLimitFormulaDB::CompareFormulaNames(const std::string& a, const std::string& b, bool plain) const
{
    return CompareLimitFormulaNames(this, a, b, plain);
}

void CLimitFormulaDB::AddDefaultCombinations()
{
    for (const DefaultCombination& combination : kDefaultCombinations)
        m_combinations.Add(COxideCombination(combination.name, combination.formula, 0.0, combination.plotMax));
}

int CLimitFormulaDB::CombineFormulas(std::span<const int> selected, int mode)
{
    const std::vector<int> rows = ValidSelection(selected, GetCount());
    if (rows.empty())
        return -1;
    const std::string title = std::string(mode == CLimit::kUnion ? "Union" : "Intersection") + " of " +
                              std::to_string(rows.size()) + " limit formulas";
    CLimitFormula combined(title);
    combined.m_notes.push_back(title);
    const CLimitFormula& first = GetAt(rows.front());
    combined.m_limits = first.m_limits;
    combined.m_notes.push_back("  " + first.m_name);
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const CLimitFormula& next = GetAt(rows[k]);
        combined.m_notes.push_back("  " + next.m_name);
        combined.Combine(next, mode);
    }
    const int position = rows.back() + 1;
    InsertFormula(position, combined);
    return position;
}
