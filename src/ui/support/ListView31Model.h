#pragma once

// The rows of a list view as the core built them: Windows-1252 bytes, converted for the screen
// only when a row is drawn or asked for. A light model, so that tens of thousands of rows fill
// quickly.
//
// Rows may also be filled unbuilt: their texts come from the view's builder when a row is first
// asked for (drawn, read, searched), so that a long list whose rows are costly (a table of each
// glaze's analysis) fills at once and builds only the rows the user sees. The builder is asked
// with the row's index at that time: the view keeps its rows in step with its records, and a
// row moved before anyone asked for it stays unbuilt.

#include <QAbstractListModel>

#include <functional>
#include <string>
#include <vector>

class CListView31Model : public QAbstractListModel {
    Q_OBJECT

public:
    explicit CListView31Model(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    using RowBuilder = std::function<std::string(int row)>;

    int Count() const { return static_cast<int>(m_rows.size()); }
    // The row's text, built first when it was filled unbuilt.
    const std::string& Row(int index) const;

    // Inserts before index (index == Count() appends); returns the new row's index.
    int Insert(int index, std::string row);
    // Appends many rows in one notification.
    void Append(std::vector<std::string> rows);
    // Appends count unbuilt rows in one notification; builder builds every unbuilt row from now.
    void AppendUnbuilt(int count, RowBuilder builder);
    // Moves a row from one index to another (its index after the move), built or not.
    void Move(int from, int to);
    void Remove(int index);
    void Clear();

private:
    int InsertRow(int index, std::string row, bool unbuilt);

    mutable std::vector<std::string> m_rows;
    mutable std::vector<bool> m_unbuilt; // one flag per row
    RowBuilder m_builder;
};
