#pragma once

// "Oxides and Oxide Combinations": the user edits the combination list of the limit-formula
// database on a copy: names, formulas built by picking oxides and group totals from two lists
// (sum and difference, or ratio), and plot ranges. The caller fills the copy, runs the dialog and
// on OK takes the copy back (ApplyOxideCombinations).

#include "limits/OxideCombination.h"
#include "support/DialogStyle.h"
#include "support/NumberField.h"

#include <string>
#include <vector>

class CLimitFormulasDoc;
class CTabStopDelegate;
class CView;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// Control ids of the dialog.
enum OxideCombosControl : int {
    kCombosListId = 2600,
    kCombosUpId = 2601,
    kCombosDownId = 2602,
    kCombosSortRoleId = 2603,
    kCombosSortNameId = 2604,
    kCombosNameId = 2605,
    kCombosSumId = 2606,
    kCombosRatioId = 2607,
    kCombosFirstListId = 2608,
    kCombosSecondListId = 2609,
    kCombosFirstLabelId = 2610,
    kCombosSecondLabelId = 2611,
    kCombosPlotMinId = 2612,
    kCombosPlotMaxId = 2613,
    kCombosAppendId = 2614,
    kCombosDeleteId = 2615,
};
inline constexpr unsigned kOxideCombosHelpId = 370;

class COxideCombosDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit COxideCombosDlg(QWidget* parent = nullptr);

    // The working list; the dialog changes only this copy.
    COxideCombinationArray combinations;

    // The formula of two item lists (element numbers 1..103, 104..107 for the totals; 0 is
    // ignored), joined with " - " or, for a ratio, " / ".
    static std::string BuildFormula(const std::vector<int>& first, const std::vector<int>& second, bool ratio);

    // OK: the plot fields hold numbers or nothing.
    void accept() override;
    // Selects combination index (-1 none) and shows it in the controls.
    void SelectCombination(int index);
    int SelectedCombination() const { return m_selected; }
    // Gives the selected combination the controls' name, formula and plot range.
    void RebuildFromControls();
    void AppendNewCombo();
    void DeleteCombo();
    void MoveUp();
    void MoveDown();
    // By role (kind, first item's role group, priority and number) or by name ignoring case.
    void SortCombinations(bool byName);
    // Picks the rows of a list (0 the first, 1 the second) carrying the items, and rebuilds.
    void PickItems(int list, const std::vector<int>& items);

    QListWidget* ComboList() const { return m_comboList; }
    QLineEdit* NameEdit() const { return m_nameEdit; }
    QRadioButton* SumRadio() const { return m_sumRadio; }
    QRadioButton* RatioRadio() const { return m_ratioRadio; }
    QListWidget* FirstList() const { return m_itemLists[0]; }
    QListWidget* SecondList() const { return m_itemLists[1]; }
    QLabel* FirstLabel() const { return m_itemLabels[0]; }
    QLabel* SecondLabel() const { return m_itemLabels[1]; }
    QLineEdit* PlotMinEdit() const { return m_plotMin; }
    QLineEdit* PlotMaxEdit() const { return m_plotMax; }
    QPushButton* UpButton() const { return m_upButton; }
    QPushButton* DownButton() const { return m_downButton; }
    QPushButton* SortRoleButton() const { return m_sortRoleButton; }
    QPushButton* SortNameButton() const { return m_sortNameButton; }
    QPushButton* OkButton() const { return m_okButton; }

protected:
    void OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateCombinationControls();
    void FillItemLists();
    void FillCombinationList();
    std::string RowText(int index) const;
    void SetLabels(bool ratio);
    // The items picked in a list, in list order.
    std::vector<int> PickedItems(const QListWidget& list) const;
    void UpdateButtons();
    void NameLeft();
    // A plot bound that is no number ("1,5") is refused and kept as typed, selected for the user
    // to mend; the combination keeps its bound.
    void PlotLeft(QLineEdit* edit);
    // False after refusing the first plot bound that is no number: OK, and every command that
    // would show another combination in the fields, stop there.
    bool BoundsTaken();

    CFormRefusals m_refusals;
    int m_selected = -1;
    // The selected combination's plot range before its fields were typed into: the fields apply
    // every keystroke, so "1" stands in the combination on the way to a refused "1,5".
    double m_committedMin = 0.0;
    double m_committedMax = 0.0;
    bool m_itemsFilled = false;
    bool m_loading = false;
    QListWidget* m_comboList = nullptr;
    CTabStopDelegate* m_comboDelegate = nullptr;
    QLineEdit* m_nameEdit = nullptr;
    QRadioButton* m_sumRadio = nullptr;
    QRadioButton* m_ratioRadio = nullptr;
    QListWidget* m_itemLists[2] = {nullptr, nullptr};
    QLabel* m_itemLabels[2] = {nullptr, nullptr};
    QLineEdit* m_plotMin = nullptr;
    QLineEdit* m_plotMax = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_downButton = nullptr;
    QPushButton* m_sortRoleButton = nullptr;
    QPushButton* m_sortNameButton = nullptr;
    QPushButton* m_okButton = nullptr;
};

// Takes an edited combination list into the document: combinations without a name are dropped,
// the list replaces the database's, the document is marked modified and kind 4 code 29 is
// announced (sender: the view that ran the dialog). Limits keep whatever combination they name.
void ApplyOxideCombinations(CLimitFormulasDoc& document, COxideCombinationArray combinations, CView* sender);
// Runs the dialog on a copy of the document's combinations and applies the result on OK; true
// when something was applied.
bool EditOxideCombinations(QWidget* parent, CLimitFormulasDoc& document, CView* sender);
