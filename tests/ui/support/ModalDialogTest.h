#pragma once

// What the dialog tests share: driving a modal dialog from inside its event loop, and saving a
// screenshot of a widget for a human to look at (see TestFolders.h).

#include "ui/support/ModalWatchdog.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QStringList>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace ModalDriving {

// How long the program may wait for a dialog (SleptMs: time it works towards the dialog, however
// long a busy machine makes that, does not count).
inline constexpr double kWaitMs = 1000;

template <class Dialog>
void Retry(std::function<void(Dialog&)> drive, double giveUpAt, std::shared_ptr<CModalDriverToken> atWork)
{
    QTimer::singleShot(5, [drive = std::move(drive), giveUpAt, atWork = std::move(atWork)]() mutable {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            drive(*dialog);
            return;
        }
        if (SleptMs() > giveUpAt) {
            ADD_FAILURE() << "no dialog came up";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        Retry<Dialog>(std::move(drive), giveUpAt, std::move(atWork));
    });
}

} // namespace ModalDriving

// Runs drive on the next modal dialog of type Dialog once it is up (exec() shows it). When none
// has come up after the program waited a second for it (asleep in an event loop, SleptMs) the test
// fails and whatever modal window stands instead is closed, so the test never hangs. Until drive
// has run, the modal watchdog leaves the dialog to it.
template <class Dialog>
void WhenDialogShows(std::function<void(Dialog&)> drive)
{
    ModalDriving::Retry<Dialog>(std::move(drive), SleptMs() + ModalDriving::kWaitMs, CModalDriverToken::Make());
}

// Closes the modal dialog that is up; none up fails the test instead of ending the run.
inline void CloseModalDialog()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    else
        ADD_FAILURE() << "no dialog to close";
}

// Reads the item texts of the next pop-up menu into texts and closes it.
inline void ReadNextPopupMenu(QStringList& texts)
{
    QTimer::singleShot(0, [&texts] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                texts << action->text();
            menu->close();
        }
    });
}

inline void SaveScreenshot(QWidget& widget, const char* name)
{
    const QString folder = ScreenshotFolder();
    QDir().mkpath(folder);
    EXPECT_TRUE(widget.grab().save(folder + "/" + name + ".png"));
}
