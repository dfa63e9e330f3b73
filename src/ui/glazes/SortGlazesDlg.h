#pragma once

// "Sort glazes by...": one of the glaze sort criteria (CGlazeList::SortBy, in the order of
// g_glazeSortCriteria), the oxide of the three oxide criteria, and whether description fields
// sort by the preferences' vocabularies (0) or alphabetically (1). The caller sets the three
// values (-1 for nothing chosen), runs the dialog and reads them back; the oxide is -1 when no
// oxide or a "---" line is chosen.

#include "support/DialogStyle.h"

#include <vector>

class QButtonGroup;
class QComboBox;

// Item data of the oxide lists' lines that stand for no oxide ("<none>" and "---").
inline constexpr int kNoOxideData = 999;

// Fills combo with the oxide list of the glaze dialogs: the oxides of the alkali, then the
// neutral, then the acid elements, each group by priority 1 to 3 and element number and closed
// by a "---" line; with withNone a "<none>" line comes first. Item data: the element number.
// Returns the position of element in the list, -1 when it is not listed.
int FillGlazeOxideList(QComboBox& combo, bool withNone, int element);
class QPushButton;
class QRadioButton;

class CSortGlazesDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CSortGlazesDlg(QWidget* parent = nullptr);

    int criterion = -1;
    int alphabetical = -1;
    int element = -1;

    QRadioButton* CriterionButton(int criterion) const;
    QButtonGroup* MethodGroup() const { return m_methodGroup; }
    QComboBox* OxideCombo() const { return m_oxides; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    std::vector<QRadioButton*> m_criteria;
    QButtonGroup* m_criterionGroup = nullptr;
    QButtonGroup* m_methodGroup = nullptr;
    QComboBox* m_oxides = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
