#pragma once

// The program's application object: a QApplication whose event delivery is a command boundary
// (framework/CommandGuard.h). A failure thrown from any event handler (a button of a dialog, a
// timer, a key a window handles itself) stops that handler with a message instead of ending the
// program; the menu commands have their own boundary, which names the command. It also carries the
// paste guard (framework/PasteGuard.h).

#include <QApplication>

class CGuardedApplication : public QApplication {
public:
    CGuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
