#pragma once

// Runs a handler when a control gains or loses the keyboard focus, as the batch and optimize
// dialogs check and complete their fields on leaving them. Losing the focus to another window
// (a message box coming up, the dialog deactivated) or to a drop-down list does not count: the
// user has not left the field then.

#include <QEvent>
#include <QFocusEvent>
#include <QObject>
#include <QWidget>

#include <functional>
#include <utility>

class CFocusWatcher : public QObject {
public:
    using Handler = std::function<void()>;

    // The watcher lives as long as the widget; either handler may be empty.
    static void Watch(QWidget* widget, Handler onEnter, Handler onLeave)
    {
        widget->installEventFilter(new CFocusWatcher(widget, std::move(onEnter), std::move(onLeave)));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
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

private:
    CFocusWatcher(QObject* parent, Handler onEnter, Handler onLeave)
        : QObject(parent), m_onEnter(std::move(onEnter)), m_onLeave(std::move(onLeave))
    {
    }

    Handler m_onEnter;
    Handler m_onLeave;
};
