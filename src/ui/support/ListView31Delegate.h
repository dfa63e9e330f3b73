#pragma once

// The row drawing of the list views: a row is tab-separated text whose fields start at tab
// stops, like the columns of a report.

#include <QStyledItemDelegate>

#include <vector>

class CListView31;
class QFontMetrics;

// Tab stops in pixels from the start of a row's text. A tab moves to the first stop to the
// right of the current position; beyond the last stop (or with none) it moves to the next
// multiple of the repeat interval.
class CTabStops {
public:
    CTabStops() = default;
    CTabStops(std::vector<int> stops, int repeat);

    int NextStop(int x) const;
    int Repeat() const { return m_repeat; }
    const std::vector<int>& Stops() const { return m_stops; }

private:
    std::vector<int> m_stops; // ascending
    int m_repeat = 1;
};

// Where each field of a tab-separated text starts, and where the text ends (both in pixels
// from the text's start).
struct CTabbedLayout {
    std::vector<int> fieldStarts;
    int width = 0;
};

CTabbedLayout LayoutTabbedText(const QString& text, const QFontMetrics& metrics, const CTabStops& stops);

class CListView31Delegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit CListView31Delegate(CListView31* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Every row is one text line high; the width is the list's content width, so the horizontal
    // scroll bar covers the widest row known.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CListView31* m_view;
};
