#pragma once

// The progress window of the long searches (and of a long Replace All in a text window): one
// line of text and a Cancel button. The search runs on the user-interface thread and calls
// KeepGoing between its steps, which lets waiting events run (repaints, the Cancel click). The
// window is application-modal while it is open, so no other window takes input and the databases
// the search holds stay as they are.
//
// Cancel (the button, Escape or the window's close box) only raises the cancel flag: the window
// stays until the search closes it.

#include "support/DialogStyle.h"
#include "framework/ProgressSink.h"

class QLabel;
class QPushButton;

class CProgressDlg : public CStyledDialog, public CProgressSink {
    Q_OBJECT

public:
    static constexpr int kTextId = 2008;
    static constexpr int kCancelId = 2;

    explicit CProgressDlg(QWidget* parent = nullptr);

    void Open(const std::string& caption, const std::string& text) override;
    void SetText(const std::string& text) override;
    bool KeepGoing() override;
    void Close() override;

    // Lets every waiting event run once.
    static void PumpMessages();

    int cancelFlag = 0;

    QLabel* TextLabel() const { return m_text; }
    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_text = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_open = false;
};
