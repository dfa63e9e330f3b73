#include "support/ListView31Delegate.h"

#include "support/ListView31.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

CTabStops::CTabStops(std::vector<int> stops, int repeat) : m_stops(std::move(stops)), m_repeat(std::max(repeat, 1))
{
    std::sort(m_stops.begin(), m_stops.end());
}

int CTabStops::NextStop(int x) const
{
    const auto next = std::upper_bound(m_stops.begin(), m_stops.end(), x);
    if (next != m_stops.end())
        return *next;
    return (x / m_repeat + 1) * m_repeat;
}

CTabbedLayout LayoutTabbedText(const QString& text, const QFontMetrics& metrics, const CTabStops& stops)
{
    CTabbedLayout layout;
    int x = 0;
    qsizetype start = 0;
    for (;;) {
        layout.fieldStarts.push_back(x);
        const qsizetype tab = text.indexOf(QLatin1Char('\t'), start);
        const qsizetype end = tab < 0 ? text.size() : tab;
        if (end > start)
            x += metrics.horizontalAdvance(QStringView(text).mid(start, end - start).toString());
        if (tab < 0)
            break;
        x = stops.NextStop(x);
        start = tab + 1;
    }
    layout.width = x;
    return layout;
}

CListView31Delegate::CListView31Delegate(CListView31* view) : QStyledItemDelegate(view), m_view(view)
{
}

void CListView31Delegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear(); // the style draws the row's background, selection and focus; the fields are ours
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QFontMetrics metrics(opt.font);
    const CTabbedLayout layout = LayoutTabbedText(text, metrics, m_view->TabStopsInPixels());
    const int origin = opt.rect.left() + m_view->TextMargin();
    const int baseline = opt.rect.top() + (opt.rect.height() - metrics.height()) / 2 + metrics.ascent();
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                            : QPalette::Inactive;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                 : QPalette::Text));
    const QStringList fields = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (!fields[i].isEmpty())
            painter->drawText(QPoint(origin + layout.fieldStarts[static_cast<std::size_t>(i)], baseline), fields[i]);
    }
    painter->restore();
    m_view->NoteRowWidth(layout.width + 2 * m_view->TextMargin());
}

QSize CListView31Delegate::sizeHint(const QStyleOptionViewItem& /*option*/, const QModelIndex& /*index*/) const
{
    return QSize(m_view->ContentWidth(), m_view->RowHeight());
}
