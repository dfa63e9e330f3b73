// A graph-template file of arbitrary bytes through CGraphTemplateDatabase::Read. When the read
// succeeds the database is written and read again: the second reading must succeed, hold the
// same templates and colours and write the same text. (Doubles are compared after the six
// decimals the file keeps: a first reading may hold finer values than the file gives back.)

#include "graphs/GraphTemplateDatabase.h"
#include "shell/AppContext.h"
#include "support/NumberText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

double AsWritten(double value)
{
    return ParseDouble(FormatDoubleFixed(value, 6));
}

// The template as the file gives it back.
CGraphTemplate AsWritten(const CGraphTemplate& graphTemplate)
{
    CGraphTemplate t = graphTemplate;
    for (const auto member : {&CGraphTemplate::xmin, &CGraphTemplate::xmax, &CGraphTemplate::ymin,
                              &CGraphTemplate::ymax, &CGraphTemplate::zmin, &CGraphTemplate::zmax,
                              &CGraphTemplate::hmin, &CGraphTemplate::hmax})
        t.*member = AsWritten(t.*member);
    return t;
}

std::string Written(const CGraphTemplateDatabase& database)
{
    std::ostringstream out;
    Check(database.Write(out) == 0);
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CGraphTemplateDatabase first;
    if (first.Read(in) != 0) {
        Check(first.GetCount() == 0 && first.m_infoLines.empty());
        Check(first.m_oxideColors.GetCount() == 128 && first.m_materialTypeColors.GetCount() == 9);
        return 0;
    }
    const std::string text = Written(first);

    std::istringstream again(text);
    CGraphTemplateDatabase second;
    Check(second.Read(again) == 0);
    Check(second.m_name == first.m_name);
    Check(second.m_infoLines == first.m_infoLines);
    Check(second.m_oxideColors == first.m_oxideColors);
    Check(second.m_materialTypeColors == first.m_materialTypeColors);
    Check(second.GetCount() == first.GetCount());
    for (int i = 0; i < first.GetCount(); ++i)
        Check(second.GetAt(i) == AsWritten(first.GetAt(i)));
    Check(Written(second) == text);
    return 0;
}
