#pragma once

// Glazes to Materials: convert the selected glazes as mixtures (0) or as frits with the
// volatiles removed (1).

#include "support/DialogStyle.h"

class QButtonGroup;
class QPushButton;

class CGlazesToMaterialsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CGlazesToMaterialsDlg(QWidget* parent = nullptr);

    int choice = 0;

    QButtonGroup* ChoiceGroup() const { return m_choiceGroup; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QButtonGroup* m_choiceGroup = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
