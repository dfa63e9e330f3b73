#include "support/FocusWatcher.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

#include <utility>

namespace {

// Set while a refusal tells the user and gives its field the keyboard back.
bool s_refusing = false;

// The field's window in front of the program's windows as the active one: the keys the user types
// next go where they are asked for. (A form that refuses is the active document window already:
// whoever asks it to save or runs its command brings it forward first.)
void BringForward(QWidget& field)
{
    QWidget* window = field.window();
    if (window->isVisible() && !window->isActiveWindow()) {
        window->raise();
        window->activateWindow();
    }
}

} // namespace

bool IsFieldFocusChange(Qt::FocusReason reason)
{
    return !s_refusing && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool FocusIsWithin(const QWidget& form)
{
    const QWidget* focused = QApplication::focusWidget();
    return focused && form.isAncestorOf(focused);
}

void DropsEditsOnClick(QWidget& button)
{
    button.setFocusPolicy(Qt::TabFocus);
}

void HandFocusToRefused(QWidget* field, const std::function<void()>& tell, const std::function<void()>& select)
{
    const bool outer = s_refusing;
    s_refusing = true;
    struct Done {
        bool outer;
        ~Done() { s_refusing = outer; }
    } done{outer};
    tell();
    if (field) {
        BringForward(*field);
        field->setFocus();
        select();
    }
}

bool TookFocusBack(const QObject* field)
{
    const auto* widget = qobject_cast<const QWidget*>(field);
    return widget && widget->hasFocus();
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
