#include "support/ListView31Model.h"

#include "framework/Cp1252.h"

#include <iterator>

CListView31Model::CListView31Model(QObject* parent) : QAbstractListModel(parent)
{
}

int CListView31Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant CListView31Model::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Count())
        return QVariant();
    return FromCp1252(Row(index.row()));
}

int CListView31Model::Insert(int index, std::string row)
{
    beginInsertRows(QModelIndex(), index, index);
    m_rows.insert(m_rows.begin() + index, std::move(row));
    endInsertRows();
    return index;
}

void CListView31Model::Append(std::vector<std::string> rows)
{
    if (rows.empty())
        return;
    beginInsertRows(QModelIndex(), Count(), Count() + static_cast<int>(rows.size()) - 1);
    if (m_rows.empty())
        m_rows = std::move(rows);
    else
        m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

void CListView31Model::Remove(int index)
{
    beginRemoveRows(QModelIndex(), index, index);
    m_rows.erase(m_rows.begin() + index);
    endRemoveRows();
}

void CListView31Model::Clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}
