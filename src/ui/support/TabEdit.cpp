#include "support/TabEdit.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

bool IsTabKey(const QKeyEvent& key)
{
    if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0)
        return false;
    return key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
}

} // namespace

QEvent::Type CTabEdit::PartnerEventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CTabEdit::CTabEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(false);
}

// Tab is caught before focus handling sees it, so it never moves the focus out of the field.
bool CTabEdit::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && IsTabKey(*static_cast<QKeyEvent*>(event))) {
        HandleTab();
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CTabEdit::HandleTab()
{
    if (m_partner) {
        QEvent notice(PartnerEventType());
        QCoreApplication::sendEvent(m_partner, &notice);
        emit tabToPartner();
        return;
    }
    if (!isReadOnly())
        insertPlainText(QStringLiteral("\t"));
}
