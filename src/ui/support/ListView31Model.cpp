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

const std::string& CListView31Model::Row(int index) const
{
    const auto at = static_cast<std::size_t>(index);
    if (m_unbuilt[at]) {
        m_unbuilt[at] = false;
        if (m_builder)
            m_rows[at] = m_builder(index);
    }
    return m_rows[at];
}

int CListView31Model::Insert(int index, std::string row)
{
    return InsertRow(index, std::move(row), false);
}

int CListView31Model::InsertRow(int index, std::string row, bool unbuilt)
{
    beginInsertRows(QModelIndex(), index, index);
    m_rows.insert(m_rows.begin() + index, std::move(row));
    m_unbuilt.insert(m_unbuilt.begin() + index, unbuilt);
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
    m_unbuilt.resize(m_rows.size(), false);
    endInsertRows();
}

void CListView31Model::AppendUnbuilt(int count, RowBuilder builder)
{
    m_builder = std::move(builder);
    if (count <= 0)
        return;
    beginInsertRows(QModelIndex(), Count(), Count() + count - 1);
    m_rows.resize(m_rows.size() + static_cast<std::size_t>(count));
    m_unbuilt.resize(m_rows.size(), true);
    endInsertRows();
}

void CListView31Model::Move(int from, int to)
{
    std::string row = std::move(m_rows[static_cast<std::size_t>(from)]);
    const bool unbuilt = m_unbuilt[static_cast<std::size_t>(from)];
    Remove(from);
    InsertRow(to, std::move(row), unbuilt);
}

void CListView31Model::Remove(int index)
{
    beginRemoveRows(QModelIndex(), index, index);
    m_rows.erase(m_rows.begin() + index);
    m_unbuilt.erase(m_unbuilt.begin() + index);
    endRemoveRows();
}

void CListView31Model::Clear()
{
    beginResetModel();
    m_rows.clear();
    m_unbuilt.clear();
    m_builder = nullptr;
    endResetModel();
}
