#pragma once

// Resequence: the scope (0 the selected glazes, 1 all glazes, -1 nothing chosen) and the
// starting value, a pattern such as "T-10b" whose number counts up over the glazes.

#include "support/DialogStyle.h"

#include <string>

class QButtonGroup;
class QLineEdit;
class QPushButton;

class CResequenceDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CResequenceDlg(QWidget* parent = nullptr);

    int scope = -1;
    std::string start = "1";

    QButtonGroup* ScopeGroup() const { return m_scopeGroup; }
    QLineEdit* StartEdit() const { return m_start; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QButtonGroup* m_scopeGroup = nullptr;
    QLineEdit* m_start = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
