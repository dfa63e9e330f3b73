// Check Database: four passes over the materials (duplicate keys, bad mappings, missing or
// invalid formulas, unexpected elements). Each pass first collects its problems under the wait
// cursor, then shows one OK/Cancel box per problem and a closing box; Cancel in any box ends the
// whole check.

#include "materials/MaterialArray.h"

#include "elements/ElementTable.h"
#include "framework/MessageService.h"
#include "support/Services.h"

#include <algorithm>

namespace {

constexpr unsigned kProblemBox = MsgOkCancel | MsgIconExclamation;
constexpr unsigned kClosingBox = MsgOkCancel | MsgIconInformation;

struct SProblem {
    std::string text;
    unsigned helpId = 0;
    int first = -1;  // records to flag
    int second = -1;
};

struct SPassTexts {
    const char* more;   // closing box after problems were shown
    unsigned moreHelp;
    const char* none;   // closing box of a pass without problems
    unsigned noneHelp;
};

std::string MaterialText(const CMaterial& material, const char* tail)
{
    return "Material \"" + material.m_name + "\"" + tail;
}

// Shows the pass's boxes and flags the records of each problem shown. False on Cancel.
bool ShowPass(const std::vector<SProblem>& problems, const SPassTexts& texts, std::vector<int>& flags)
{
    for (const SProblem& problem : problems) {
        if (AppMessageBox(problem.text, kProblemBox, problem.helpId) == MsgResultCancel)
            return false;
        for (int record : {problem.first, problem.second}) {
            if (record >= 0)
                flags[static_cast<std::size_t>(record)] = 1;
        }
    }
    const bool some = !problems.empty();
    return AppMessageBox(some ? texts.more : texts.none, kClosingBox, some ? texts.moreHelp : texts.noneHelp) !=
           MsgResultCancel;
}

} // namespace

std::optional<std::vector<int>> CMaterialArray::CheckDatabase()
{
    std::vector<int> flags(m_records.size(), 0);
    if (CheckNamesAndCodes(flags) < 0 || CheckMappings(flags) < 0 || CheckFormulas(flags) < 0 ||
        CheckUnexpectedElements(flags) < 0)
        return std::nullopt;
    return flags;
}

// Every later material that one of record i's names or codes finds, whatever key of it matched
// (its molecular formula too).
int CMaterialArray::CheckNamesAndCodes(std::vector<int>& flags)
{
    std::vector<SProblem> problems;
    {
        CBusyScope busy;
        BuildIndex();
        std::vector<char> marked(m_records.size(), 0);
        std::vector<int> hits;
        for (int i = 0; i + 1 < GetCount(); ++i) {
            const CMaterial& m = *m_records[static_cast<std::size_t>(i)];
            hits.clear();
            auto lookUp = [&](const std::string& key) {
                for (int n = key.empty() ? -1 : m_index.FindExact(key); n >= 0; n = m_index.GetNode(n).nextDuplicate) {
                    const int r = m_index.GetNode(n).record;
                    if (r > i && !marked[static_cast<std::size_t>(r)]) {
                        marked[static_cast<std::size_t>(r)] = 1;
                        hits.push_back(r);
                    }
                }
            };
            lookUp(m.m_name);
            lookUp(m.m_code);
            std::for_each(m.m_akaNames.begin(), m.m_akaNames.end(), lookUp);
            std::for_each(m.m_akaCodes.begin(), m.m_akaCodes.end(), lookUp);
            std::sort(hits.begin(), hits.end());
            for (int j : hits) {
                marked[static_cast<std::size_t>(j)] = 0;
                problems.push_back({"Materials \"" + m.m_name + "\" and \"" + GetAt(j)->m_name +
                                        "\" have an identical name or code",
                                    0x30202, i, j});
            }
        }
    }
    const SPassTexts texts{"No more duplicates found", 0x30204, "All material names and codes are unique", 0x30203};
    return ShowPass(problems, texts, flags) ? static_cast<int>(problems.size()) : -1;
}

int CMaterialArray::CheckMappings(std::vector<int>& flags)
{
    std::vector<SProblem> problems;
    {
        CBusyScope busy;
        for (int i = 0; i < GetCount(); ++i) {
            const CMaterial& m = *m_records[static_cast<std::size_t>(i)];
            int status = MappingOk;
            if (m.m_mapTo.empty() || ResolveMapping(&m, &status))
                continue;
            const char* tail = status == MappingMissing ? " maps to a material not in the database" : " maps to a loop";
            problems.push_back({MaterialText(m, tail), 0x30205, i});
        }
    }
    const SPassTexts texts{"No more bad mappings found", 0x30207, "All material mappings are okay", 0x30206};
    return ShowPass(problems, texts, flags) ? static_cast<int>(problems.size()) : -1;
}

int CMaterialArray::CheckFormulas(std::vector<int>& flags)
{
    std::vector<SProblem> problems;
    {
        CBusyScope busy;
        CMaterial scratch("new material");
        for (int i = 0; i < GetCount(); ++i) {
            const CMaterial& m = *m_records[static_cast<std::size_t>(i)];
            if (m.m_formula.empty())
                problems.push_back({MaterialText(m, " has no formula"), 0x30208, i});
            else if (scratch.SetFormula(m.m_formula) != 0)
                problems.push_back({MaterialText(m, " has an invalid formula"), 0x30209, i});
        }
    }
    const SPassTexts texts{"No more invalid formulas found", 0x30211, "All formulas are okay", 0x30210};
    return ShowPass(problems, texts, flags) ? static_cast<int>(problems.size()) : -1;
}

int CMaterialArray::CheckUnexpectedElements(std::vector<int>& flags)
{
    std::vector<SProblem> problems;
    {
        CBusyScope busy;
        const CElementRecord* table = GetElementTable();
        for (int i = 0; i < GetCount(); ++i) {
            const CMaterial& m = *m_records[static_cast<std::size_t>(i)];
            std::string symbols;
            int count = 0;
            for (int z = 1; z < kElementCount; ++z) {
                if (m.m_atoms[static_cast<std::size_t>(z)] > 0.0 && (table[z].role & kRoleNotExpected)) {
                    symbols += (count++ > 0 ? " " : "");
                    symbols += table[z].symbol;
                }
            }
            if (count > 0)
                problems.push_back(
                    {MaterialText(m, count > 1 ? " contains unexpected elements " : " contains unexpected element ") +
                         symbols,
                     0x30212, i});
        }
    }
    const SPassTexts texts{"No more unexpected elements found", 0x30214, "No unexpected elements found", 0x30213};
    return ShowPass(problems, texts, flags) ? static_cast<int>(problems.size()) : -1;
}
