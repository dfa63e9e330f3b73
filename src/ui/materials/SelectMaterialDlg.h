#pragma once

// Select a Material: picks one material of the materials database from a list of its display
// keys (code, TAB, name) in database order. No row is selected when the dialog opens; after OK
// selectedRow is the chosen material's index, -1 when none was chosen. A double click on a row
// ends the dialog as OK.

#include "support/DialogStyle.h"

class CTabStopDelegate;
class QListWidget;
class QPushButton;

class CSelectMaterialDlg : public CStyledDialog {
    Q_OBJECT

public:
    CSelectMaterialDlg(QWidget* parent, unsigned helpId);

    int selectedRow = -1;
    int filled = 0; // the list has been filled

    QListWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void Fill();

    QListWidget* m_list = nullptr;
    CTabStopDelegate* m_delegate = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
