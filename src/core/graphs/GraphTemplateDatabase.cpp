#include "graphs/GraphTemplateDatabase.h"

#include <memory>

namespace {

// The first template after start (wrapping round, start itself tested last) whose flag is set;
// an absent start begins the scan at the first template. With none flagged: start when it is in
// the list, else null.
const CGraphTemplate* NextFlaggedTemplate(const CGraphTemplateDatabase& database, const CGraphTemplate* start,
                                          int CGraphTemplate::*flag)
{
    const int position = database.IndexOf(start);
    const int count = database.GetCount();
    for (int k = 1; k <= count; ++k) {
        const CGraphTemplate& candidate = database.GetAt((position + k) % count);
        if (candidate.*flag)
            return &candidate;
    }
    return position >= 0 ? start : nullptr;
}

} // namespace

CGraphTemplateDatabase::CGraphTemplateDatabase()
{
    m_materialTypeColors.SetDefaults();
    m_oxideColors.SetDefaults();
}

const CGraphTemplate* CGraphTemplateDatabase::NextAnalysisTemplate(const CGraphTemplate* graphTemplate) const
{
    return NextFlaggedTemplate(*this, graphTemplate, &CGraphTemplate::glzedan);
}

const CGraphTemplate* CGraphTemplateDatabase::NextLimitTemplate(const CGraphTemplate* graphTemplate) const
{
    return NextFlaggedTemplate(*this, graphTemplate, &CGraphTemplate::glzedlf);
}

void CGraphTemplateDatabase::Reset()
{
    m_templates.clear();
    m_name = kDefaultGraphTemplateDbName;
    m_infoLines.clear();
    m_materialTypeColors.SetDefaults();
    m_oxideColors.SetDefaults();
}
