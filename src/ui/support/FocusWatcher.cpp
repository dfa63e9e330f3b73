#include "support/FocusWatcher.h"

#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

#include <utility>

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
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    const Handler& handler = event->type() == QEvent::FocusIn ? m_onEnter : m_onLeave;
    if (handler)
        handler();
    return false;
}
