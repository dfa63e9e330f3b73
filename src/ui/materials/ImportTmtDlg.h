#pragma once

// The options of Import Insight TMT File: whether the file's materials, its oxide expansions
// and its oxide roles are taken, and whether every expansion is cleared, or every non-volatile
// oxide set to Not Expected, before the file's values are applied.

#include "materials/TmtFile.h"
#include "support/DialogStyle.h"

class QCheckBox;
class QPushButton;

class CImportTmtDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CImportTmtDlg(QWidget* parent = nullptr);

    STmtImportOptions options;

    QCheckBox* ExpansionsCheck() const { return m_expansions; }
    QCheckBox* MaterialsCheck() const { return m_materials; }
    QCheckBox* RolesCheck() const { return m_roles; }
    QCheckBox* ClearExpansionsCheck() const { return m_clearExpansions; }
    QCheckBox* NotExpectedCheck() const { return m_notExpected; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QCheckBox* AddCheck(const char* label, int id, int y);

    QCheckBox* m_expansions = nullptr;
    QCheckBox* m_materials = nullptr;
    QCheckBox* m_roles = nullptr;
    QCheckBox* m_clearExpansions = nullptr;
    QCheckBox* m_notExpected = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
