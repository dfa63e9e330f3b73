#pragma once

// The Find Materials dialog: the text to look for and where to look (names, codes, formulas,
// notes and comments), and whether a whole name or code must match. The caller sets the five
// flags and the text, runs the dialog and reads them back.

#include "support/DialogStyle.h"

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

class CFindMaterialsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CFindMaterialsDlg(QWidget* parent = nullptr);

    int findCodes = 0;
    int findFormulas = 0;
    int findNames = 0;
    int findNotes = 0;
    int wholeOnly = 0;
    std::string text;

    QCheckBox* CodesCheck() const { return m_codes; }
    QCheckBox* FormulasCheck() const { return m_formulas; }
    QCheckBox* NamesCheck() const { return m_names; }
    QCheckBox* NotesCheck() const { return m_notes; }
    QCheckBox* WholeOnlyCheck() const { return m_whole; }
    QLineEdit* TextEdit() const { return m_text; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QCheckBox* AddCheck(const char* label, int id, int x, int y, int width);

    QCheckBox* m_codes = nullptr;
    QCheckBox* m_formulas = nullptr;
    QCheckBox* m_names = nullptr;
    QCheckBox* m_notes = nullptr;
    QCheckBox* m_whole = nullptr;
    QLineEdit* m_text = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
