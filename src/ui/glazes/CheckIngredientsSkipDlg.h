#pragma once

// Check Ingredients, unavailable ingredient: whether to mark one unavailable material as
// available. Ends with OK (1, "Mark as Available"), Cancel (2), kCheckSkipId or kCheckSkipAllId.

#include "support/DialogStyle.h"

#include <string>

class QLabel;
class QPushButton;

class CCheckIngredientsSkipDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CCheckIngredientsSkipDlg(QWidget* parent = nullptr);

    std::string name;

    QLabel* NameLabel() const { return m_name; }
    QPushButton* MarkButton() const { return m_markButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* SkipButton() const { return m_skipButton; }
    QPushButton* SkipAllButton() const { return m_skipAllButton; }

protected:
    void OnInitDialog() override;

private:
    QLabel* m_name = nullptr;
    QPushButton* m_markButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_skipButton = nullptr;
    QPushButton* m_skipAllButton = nullptr;
};
