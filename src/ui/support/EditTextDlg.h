#pragma once

// A resizable dialog that edits a multi-line text, as a whole (text) or, in lines mode, with
// the lines of a list appended after it and read back as lines. It ends with OK only when the
// text was changed; OK without a change ends it with Cancel.

#include "support/AnchoredDialog.h"
#include "support/StringArrayEx.h"

#include <string>

class CNotesEdit;
class QPushButton;

class CEditTextDlg : public CAnchoredDialog {
    Q_OBJECT

public:
    CEditTextDlg(QWidget* parent, const std::string& caption, unsigned helpId, int readOnly);

    std::string text;     // the whole text; lines end in "\r\n"
    int linesMode = 0;    // non-zero: lines are shown after text and read back
    CStringArrayEx lines; // in lines mode: the box's lines after OK
    int readOnly = 0;
    std::string caption;

    CNotesEdit* TextEdit() const { return m_edit; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* HelpButton() const { return m_helpButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void LoadData();
    void SaveData();

    CNotesEdit* m_edit = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
};
