#pragma once

// A call made once the event loop turns again, however often it was asked for before then.
//
// Notices come in bursts: Shift Up of a thousand glazes sends a thousand, one per row. A view
// whose answer to a notice is costly (a chart over the whole database, lists of every glaze)
// asks for it here and does it once, after the burst. The call belongs to its owner: it is
// dropped when the owner is destroyed first.

#include <QObject>

#include <functional>

class CCoalescedCall {
public:
    CCoalescedCall(QObject* owner, std::function<void()> call);

    // The call runs once the work under way is done; asked again before then, still once.
    void Request();
    bool Pending() const { return m_pending; }
    // The owner did the work itself meanwhile: the waiting call is not needed any more.
    void Cancel() { m_pending = false; }

private:
    QObject* m_owner;
    std::function<void()> m_call;
    bool m_pending = false;
};
