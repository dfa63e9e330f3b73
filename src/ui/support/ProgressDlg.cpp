#include "support/ProgressDlg.h"

#include "framework/Cp1252.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

CProgressDlg::CProgressDlg(QWidget* parent)
    : CStyledDialog(parent, 0)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowModality(Qt::ApplicationModal);
    m_text = new QLabel(this);
    SetControlId(m_text, kTextId);
    PlaceDlu(m_text, 8, 8, 150, 10);
    m_cancel = AddButton(QStringLiteral("Cancel"), kCancelId, 58, 24, 50, 14);
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::reject);
    ResizeDlu(166, 46);
    setFixedSize(size());
}

void CProgressDlg::Open(const std::string& caption, const std::string& text)
{
    cancelFlag = 0;
    setWindowTitle(FromCp1252(caption));
    SetText(text);
    m_open = true;
    show();
    PumpMessages();
}

void CProgressDlg::SetText(const std::string& text)
{
    m_text->setText(FromCp1252(text));
}

bool CProgressDlg::KeepGoing()
{
    PumpMessages();
    return cancelFlag == 0;
}

void CProgressDlg::Close()
{
    m_open = false;
    hide();
}

void CProgressDlg::PumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Escape and the Cancel button end up here: the search sees the flag at its next step.
void CProgressDlg::reject()
{
    cancelFlag = 1;
}

void CProgressDlg::closeEvent(QCloseEvent* event)
{
    if (m_open) {
        cancelFlag = 1;
        event->ignore();
        return;
    }
    CStyledDialog::closeEvent(event);
}
