#pragma once

// Runs a handler when a control gains or loses the keyboard focus, as dialogs check and complete
// their fields on leaving them (the batch calculation and optimize dialogs do). Losing the focus
// to another window (a message box coming up, the dialog deactivated) or to a drop-down list
// does not count: the user has not left the field then.
//
// A field that refuses what it holds gives the keyboard back to itself (HandFocusToRefused). That
// move is no user leaving the field it takes the focus from, so no other field is refused on
// the way: two refused fields would otherwise hand the focus to each other for ever.

#include <QObject>

#include <functional>

class QEvent;
class QWidget;

// Whether a focus change of this reason takes the user out of a field: the focus going to another
// window (a message box coming up) or to a drop-down list or a menu does not, nor does the focus
// a refusal takes back for its field.
bool IsFieldFocusChange(Qt::FocusReason reason);
// Whether the focus stands on a control of form: a field left for one of them tells at once what
// it refuses; left for the menu bar or another window, it tells when the user comes back or runs
// a command.
bool FocusIsWithin(const QWidget& form);
// A button that drops what its form holds (Undo Changes): a click on it leaves the focus where it
// is, so that the field being edited refuses nothing before the click arrives and the first click
// acts. The button is still reached by Tab.
void DropsEditsOnClick(QWidget& button);

// A refusal of field: tell says why (its message), then the field gets the keyboard whatever
// window was active: its window comes to the front of the program's windows as the active one (a
// modeless dialog that was active stays open), the field takes the focus and select marks what
// the user is to mend. While it
// tells and moves the focus, the focus leaving a field is no leaving of it (IsFieldFocusChange),
// so no other field is refused on the way.
void HandFocusToRefused(QWidget* field, const std::function<void()>& tell, const std::function<void()>& select);
// Whether field, whose leaving handler has just run on its losing the focus, took the focus back
// (a refusal). Its event filter then swallows that focus loss: the field has the focus still, and
// a line edit would drop the selection the refusal made for the user to type over.
bool TookFocusBack(const QObject* field);

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
