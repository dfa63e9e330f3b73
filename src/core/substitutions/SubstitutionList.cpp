#include "substitutions/SubstitutionList.h"

#include <memory>

void CSubstitutionList::Reset()
{
    m_records.clear();
    m_infoLines.clear();
    m_dbName = kDefaultSubstitutionDbName;
}

void ClearClipboard(CSubstitutionList& clipboard)
{
    clipboard.Reset();
}

int ClipboardCount(const CSubstitutionList& clipboard)
{
    return clipboard.GetCount();
}

const CSubstitution& ClipboardRecord(const CSubstitutionList& clipboard, int index)
{
    return *clipboard.GetAt(index);
}

void AppendToClipboard(CSubstitutionList& clipboard, const CSubstitution& record)
{
    clipboard.InsertAt(clipboard.GetCount(), record);
}
