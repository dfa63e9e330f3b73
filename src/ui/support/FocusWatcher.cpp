#include "support/FocusWatcher.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

#include <utility>

bool IsFieldFocusChange(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool FocusIsWithin(const QWidget& form)
{
    const QWidget* focused = QApplication::focusWidget();
    return focused && form.isAncestorOf(focused);
}

void CFocusWatcher::Watch(QWidget* widget, Handler onEnter, Handler onLeave)
{
    widget->installEventFilter(new CFocusWatcher(widget, std::move(onEnter), std::move(onLeave)));
}

CFocusWatcher::CFocusWatcher(QObject* parent, Handler onEnter, Handler onLeave)
    : QObject(parent), m_onEnter(std::move(onEnter)), m_onLeave(std::move(onLeave))
{
}

bool CFocusWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return QObject::eventFilter(watched, event);
    if (!IsFieldFocusChange(static_cast<QFocusEvent*>(event)->reason()))
        return false;
    const Handler& handler = event->type() == QEvent::FocusIn ? m_onEnter : m_onLeave;
    if (handler)
        handler();
    return false;
}
