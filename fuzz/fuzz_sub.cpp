// The substitution database reader over arbitrary bytes: a read either succeeds, and writing the
// result, reading that back and writing again gives the same bytes and the same records, or it
// fails and leaves an empty database with a message. Every record read is applied both ways to a
// recipe built from its own sets.

#include "shell/AppContext.h"
#include "substitutions/SubstitutionList.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::string Written(const CSubstitutionList& list)
{
    std::ostringstream out;
    Check(list.Write(out) == 0);
    return out.str();
}

void ExerciseApply(const CSubstitution& s)
{
    for (int reverse = 0; reverse < 2; ++reverse) {
        CIngredientList recipe = s.m_set1;
        recipe.Append(s.m_set2);
        recipe.Add("Other", 1.0);
        const int applied = s.ApplyToRecipe(recipe, reverse, nullptr);
        Check(applied == 0 || applied == 1);
        for (const auto& line : recipe)
            Check(line && line->m_amount != 0.0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    CSubstitutionList list;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (list.Read(in) != 0) {
        Check(list.GetCount() == 0 && list.m_infoLines.empty() && !list.m_errorText.empty());
        Check(list.m_dbName == kDefaultSubstitutionDbName);
        return 0;
    }
    for (const auto& record : list.m_records)
        ExerciseApply(*record);
    const std::string first = Written(list);
    CSubstitutionList copy;
    std::istringstream again(first);
    Check(copy.Read(again) == 0);
    Check(copy.GetCount() == list.GetCount());
    Check(copy.m_dbName == list.m_dbName && copy.m_infoLines == list.m_infoLines);
    for (int i = 0; i < copy.GetCount(); ++i) {
        const CSubstitution& a = *list.GetAt(i);
        const CSubstitution& b = *copy.GetAt(i);
        Check(a.m_name == b.m_name && a.m_date == b.m_date && a.m_notes == b.m_notes);
        Check(a.m_set1.GetCount() == b.m_set1.GetCount() && a.m_set2.GetCount() == b.m_set2.GetCount());
    }
    Check(Written(copy) == first);
    return 0;
}
