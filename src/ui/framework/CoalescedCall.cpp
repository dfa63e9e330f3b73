#include "framework/CoalescedCall.h"

#include <utility>

CCoalescedCall::CCoalescedCall(QObject* owner, std::function<void()> call) : m_owner(owner), m_call(std::move(call))
{
}

void CCoalescedCall::Request()
{
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(
        m_owner,
        [this] {
            if (!m_pending)
                return;
            m_pending = false;
            m_call();
        },
        Qt::QueuedConnection);
}
