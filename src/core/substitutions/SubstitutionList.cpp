#include "substitutions/SubstitutionList.h"

#include <memory>

void CSubstitutionList::Reset()
{
    m_records.clear();
    m_infoLines.clear();
    m_dbName = kDefaultSubstitutionDbName;
}

CSubstitution* CSubstitutionList::GetAt(int index)
{
    return m_records.IsValidIndex(index) ? m_records[static_cast<std::size_t>(index)].get() : nullptr;
}

const CSubstitution* CSubstitutionList::GetAt(int index) const
{
    return m_records.IsValidIndex(index) ? m_records[static_cast<std::size_t>(index)].get() : nullptr;
}

int CSubstitutionList::IndexOf(const CSubstitution* record) const
{
    if (!record)
        return -1;
    for (int i = 0; i < GetCount(); ++i) {
        if (m_records[static_cast<std::size_t>(i)].get() == record)
            return i;
    }
    return -1;
}

void CSubstitutionList::InsertAt(int index, const CSubstitution& record)
{
    if (index >= 0 && index <= GetCount())
        m_records.insert(m_records.begin() + index, std::make_unique<CSubstitution>(record));
}

void CSubstitutionList::RemoveAt(int index)
{
    if (m_records.IsValidIndex(index))
        m_records.erase(m_records.begin() + index);
}

void CSubstitutionList::SetAt(int index, const CSubstitution& record)
{
    if (CSubstitution* target = GetAt(index))
        *target = record;
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
