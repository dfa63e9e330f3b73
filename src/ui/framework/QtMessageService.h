#pragma once

// Message boxes and help on Qt.
//
// Every message box of the program is a QMessageBox with the buttons, icon and default button
// its MessageBoxType asks for. A box with a help context carries a Help button (and answers F1)
// that opens the topic without closing the box. There is no help content in this system, so
// opening a topic only names it in the main window's status bar.

#include "framework/MessageService.h"

#include <QMessageBox>

#include <memory>

class QPushButton;

// The box itself: a QMessageBox whose Help button does not end it.
class CHelpMessageBox : public QMessageBox {
    Q_OBJECT

public:
    CHelpMessageBox(const QString& text, const QString& caption, unsigned type, unsigned helpId,
                    QWidget* parent = nullptr);

    unsigned HelpId() const { return m_helpId; }
    QPushButton* HelpButton() const { return m_helpButton; }

    // The MessageBoxResult of the button that ended the box; a box closed without a button
    // answers as its Escape key would.
    int Result() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddButtons(unsigned type);
    void OnHelp();

    unsigned m_type;
    unsigned m_helpId;
    QPushButton* m_helpButton = nullptr;
};

class CQtMessageService : public CMessageService {
public:
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type,
                       unsigned helpId) override;
    void ShowHelp(HelpRequest request, unsigned contextId) override;
    int ScreenHeight() override;

    // The status-bar text that stands for opening help (empty: nothing is shown).
    static QString HelpStatusText(HelpRequest request, unsigned contextId);
};
