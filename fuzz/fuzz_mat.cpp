// The materials database reader over arbitrary bytes: a read either succeeds, and writing the
// result, reading that back and writing again gives the same bytes and the same records, or it
// fails and leaves an empty database with a message. Every look-up kind runs on what was read.

#include "materials/MaterialArray.h"
#include "shell/AppContext.h"

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

std::string Written(const CMaterialArray& database)
{
    std::ostringstream out;
    Check(database.Write(out) == 0);
    return out.str();
}

// Every record finds itself by its name, and the look-ups and mappings stay in bounds.
void ExerciseLookUps(CMaterialArray& database)
{
    for (int i = 0; i < database.GetCount(); ++i) {
        CMaterial* m = database.GetAt(i);
        std::string text = m->m_name;
        const CMaterial* found = database.FindMaterial(text, true);
        Check(m->m_name.empty() || m->m_name.find('(') != std::string::npos || found != nullptr);
        int status = 0;
        std::string prefix = m->m_name.substr(0, 2);
        database.FindByPrefix(prefix, true, &status);
        Check(status == 0 || status == -1 || status == -2);
        database.ResolveMapping(m, &status);
        Check(status >= 0 && status <= 2);
        database.MapsTo(m, database.GetAt(0));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    CMaterialArray database;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (database.Read(in) != 0) {
        Check(database.GetCount() == 0 && database.m_infoLines.empty() && !database.m_errorText.empty());
        return 0;
    }
    ExerciseLookUps(database);
    const std::string first = Written(database);
    CMaterialArray copy;
    std::istringstream again(first);
    Check(copy.Read(again) == 0);
    Check(copy.GetCount() == database.GetCount());
    for (int i = 0; i < copy.GetCount(); ++i) {
        Check(copy.GetAt(i)->m_name == database.GetAt(i)->m_name);
        Check(copy.GetAt(i)->m_formula == database.GetAt(i)->m_formula);
        Check(copy.GetAt(i)->m_akaNames.size() == copy.GetAt(i)->m_akaCodes.size());
    }
    Check(Written(copy) == first);
    return 0;
}
