#pragma once

// The rows of a list view as the core built them: Windows-1252 bytes, converted for the screen
// only when a row is drawn or asked for. A light model, so that tens of thousands of rows fill
// quickly.

#include <QAbstractListModel>

#include <string>
#include <vector>

class CListView31Model : public QAbstractListModel {
    Q_OBJECT

public:
    explicit CListView31Model(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int Count() const { return static_cast<int>(m_rows.size()); }
    const std::string& Row(int index) const { return m_rows[static_cast<std::size_t>(index)]; }

    // Inserts before index (index == Count() appends); returns the new row's index.
    int Insert(int index, std::string row);
    // Appends many rows in one notification.
    void Append(std::vector<std::string> rows);
    void Remove(int index);
    void Clear();

private:
    std::vector<std::string> m_rows;
};
