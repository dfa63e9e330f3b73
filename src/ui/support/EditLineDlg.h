#pragma once

// A one-line prompt: a text of up to two lines above an edit field. The caller sets prompt and
// text; after OK, text holds what the field holds.

#include "support/DialogStyle.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class CEditLineDlg : public CStyledDialog {
    Q_OBJECT

public:
    CEditLineDlg(QWidget* parent, const std::string& caption, unsigned helpId);

    std::string prompt;
    std::string text;
    std::string caption;

    QLabel* PromptLabel() const { return m_prompt; }
    QLineEdit* LineEdit() const { return m_edit; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* HelpButton() const { return m_helpButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QLabel* m_prompt = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
};
