#include "graphs/GraphDataSource.h"

#include <memory>

CGraphDataSourceArray::CGraphDataSourceArray(const CGraphDataSourceArray& other)
{
    *this = other;
}

CGraphDataSourceArray& CGraphDataSourceArray::operator=(const CGraphDataSourceArray& other)
{
    if (this == &other)
        return *this;
    clear();
    reserve(other.size());
    for (const auto& source : other)
        push_back(std::make_unique<CGraphDataSource>(source ? *source : CGraphDataSource()));
    return *this;
}

bool CGraphDataSourceArray::operator==(const CGraphDataSourceArray& other) const
{
    if (size() != other.size())
        return false;
    for (std::size_t i = 0; i < size(); ++i) {
        const CGraphDataSource* a = (*this)[i].get();
        const CGraphDataSource* b = other[i].get();
        if (!a || !b ? a != b : !(*a == *b))
            return false;
    }
    return true;
}

void CGraphDataSourceArray::InsertAt(int i, const CGraphDataSource& source)
{
    if (i < 0 || i > GetCount())
        return;
    insert(begin() + i, std::make_unique<CGraphDataSource>(source));
}

void CGraphDataSourceArray::SetAt(int i, const CGraphDataSource& source)
{
    if (IsValidIndex(i))
        GetAt(i) = source;
}

void CGraphDataSourceArray::RemoveAt(int i)
{
    if (IsValidIndex(i))
        erase(begin() + i);
}
