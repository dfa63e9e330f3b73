#pragma once

// The Select Elements to Print dialog: every element 1..103 in a list of many choices, with
// its number, name and group. The caller sets the flags of the elements to start selected,
// runs the dialog and, after OK, reads the flags (and the count) of the chosen elements.

#include "elements/ElementRecord.h"
#include "support/DialogStyle.h"

#include <array>
#include <string>

class CTabStopDelegate;
class QListWidget;
class QPushButton;

// The group word of a list row: "Acid", "Neutral", "Alkali", "(volatile)" or "(not expected)",
// tested in that order.
const char* SelectElementsGroupWord(std::int32_t role);
// The list row of an element: "%3d\t%s\t%s" with the number, the name and the group word.
std::string SelectElementsRow(const CElementRecord& element);

class CSelectElementsDlg : public CStyledDialog {
    Q_OBJECT

public:
    static constexpr unsigned kHelpId = 331;

    explicit CSelectElementsDlg(QWidget* parent);

    // Selection flags by element number (entry 0 is not used).
    std::array<int, kElementCount> flags{};
    // The number of elements chosen at OK.
    int count = 0;

    QListWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    const std::vector<int>& TabStops() const;

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
