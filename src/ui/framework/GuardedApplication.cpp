#include "framework/GuardedApplication.h"

#include "framework/CommandGuard.h"

CGuardedApplication::CGuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool CGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    RunGuarded(CommandAction(std::string()), [&] { result = QApplication::notify(receiver, event); });
    return result;
}
