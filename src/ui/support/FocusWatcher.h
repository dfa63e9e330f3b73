#pragma once

// Runs a handler when a control gains or loses the keyboard focus, as dialogs check and complete
// their fields on leaving them (the batch calculation and optimize dialogs do). Losing the focus
// to another window (a message box coming up, the dialog deactivated) or to a drop-down list
// does not count: the user has not left the field then.

#include <QObject>

#include <functional>

class QEvent;
class QWidget;

// Whether a focus change of this reason takes the user out of a field: the focus going to another
// window (a message box coming up) or to a drop-down list or a menu does not.
bool IsFieldFocusChange(Qt::FocusReason reason);
// Whether the focus stands on a control of form: a field left for one of them tells at once what
// it refuses; left for the menu bar or another window, it tells when the user comes back or runs
// a command.
bool FocusIsWithin(const QWidget& form);

class CFocusWatcher : public QObject {
public:
    using Handler = std::function<void()>;

    // The watcher lives as long as the widget; either handler may be empty.
    static void Watch(QWidget* widget, Handler onEnter, Handler onLeave);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CFocusWatcher(QObject* parent, Handler onEnter, Handler onLeave);

    Handler m_onEnter;
    Handler m_onLeave;
};
