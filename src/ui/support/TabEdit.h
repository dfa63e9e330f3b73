#pragma once

// A multi-line edit field that keeps the Tab key: without a partner a tab character is typed
// into the text; with a partner nothing is typed and the partner is told instead (a form uses
// that to complete the name on the present line).

#include <QEvent>
#include <QPlainTextEdit>
#include <QPointer>

class CTabEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    // The event the partner receives for each Tab (notice number 1224).
    static QEvent::Type PartnerEventType();
    static constexpr int kPartnerMessage = 1224;

    explicit CTabEdit(QWidget* parent = nullptr);

    void SetPartner(QObject* partner) { m_partner = partner; }
    QObject* Partner() const { return m_partner; }

signals:
    // Emitted with the partner event, for owners that prefer a connection.
    void tabToPartner();

protected:
    bool event(QEvent* event) override;

private:
    void HandleTab();

    QPointer<QObject> m_partner;
};
