#include "framework/GuardedApplication.h"

#include "framework/CommandGuard.h"
#include "framework/PasteGuard.h"

CGuardedApplication::CGuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    InstallPasteGuard(*this);
}

bool CGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    RunGuarded(CommandAction(std::string()), [&] { result = QApplication::notify(receiver, event); });
    return result;
}
