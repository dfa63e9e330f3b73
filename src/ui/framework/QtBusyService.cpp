#include "framework/QtBusyService.h"

#include <QApplication>
#include <QCursor>

CQtBusyService::~CQtBusyService()
{
    while (m_depth > 0)
        EndBusy();
}

void CQtBusyService::BeginBusy()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    ++m_depth;
}

void CQtBusyService::EndBusy()
{
    if (m_depth <= 0)
        return;
    --m_depth;
    QApplication::restoreOverrideCursor();
}
