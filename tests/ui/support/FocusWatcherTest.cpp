#include "support/FocusWatcher.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>

namespace {

void SendFocus(QWidget* widget, QEvent::Type type, Qt::FocusReason reason)
{
    QFocusEvent event(type, reason);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(FocusWatcherTest, EnteringAndLeavingAFieldRunTheirHandlersButAnotherWindowOrAListDoesNot)
{
    QLineEdit field;
    std::string log;
    CFocusWatcher::Watch(&field, [&log] { log += "enter "; }, [&log] { log += "leave "; });

    SendFocus(&field, QEvent::FocusIn, Qt::TabFocusReason);
    SendFocus(&field, QEvent::FocusOut, Qt::MouseFocusReason);
    EXPECT_EQ(log, "enter leave ");

    // A message box coming up, the dialog deactivated, a drop-down list opening: the user is
    // still in the field.
    log.clear();
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        SendFocus(&field, QEvent::FocusOut, reason);
        SendFocus(&field, QEvent::FocusIn, reason);
    }
    EXPECT_EQ(log, "");

    // Either handler may be missing.
    QLineEdit leaveOnly;
    CFocusWatcher::Watch(&leaveOnly, nullptr, [&log] { log += "left "; });
    SendFocus(&leaveOnly, QEvent::FocusIn, Qt::OtherFocusReason);
    SendFocus(&leaveOnly, QEvent::FocusOut, Qt::OtherFocusReason);
    EXPECT_EQ(log, "left ");
}
