#pragma once

// "Choose a Substitution": the user picks one substitution of the open substitution database
// and a direction before the caller applies it to recipes.
//
// Use:
//     CChooseSubstitutionDlg dialog(parent);
//     dialog.SelectSubstitution(0);
//     if (dialog.exec() == QDialog::Accepted && dialog.current >= 0)
//         ... g_pSubstitutionsDoc->Substitutions().GetAt(dialog.current)->ApplyToRecipe(recipe, dialog.reverse);
// Callers that find the database empty show "No substitutions available" instead of the dialog.
// A caller may replace backgroundColor (default "dlg_misc_bkg") before running it.

#include "support/DialogStyle.h"
#include "support/StringArrayEx.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Control ids of the dialog.
enum ChooseSubstitutionControl : int {
    kChooseSubstitutionListId = 2420,
    kChooseSubstitutionReverseId = 2421,
    kChooseSubstitutionSet1Id = 2422,
    kChooseSubstitutionSet2Id = 2423,
};
inline constexpr unsigned kChooseSubstitutionHelpId = 363;

class CChooseSubstitutionDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CChooseSubstitutionDlg(QWidget* parent = nullptr);

    // An index of the open database makes that substitution current and fills the display
    // lines from it; any other index makes none current (-1) and empties them.
    void SelectSubstitution(int index);

    // The result: the chosen substitution (-1 none) and the direction (1 reverse: set 2 is
    // taken out and set 1 put in).
    int current = -1;
    int reverse = 0;
    // The names list has been filled.
    int listFilled = 0;
    // Set 1 and set 2 of the current substitution as the two boxes show them.
    CStringArrayEx set1Lines;
    CStringArrayEx set2Lines;
    // The names list's colour ("sub_list").
    CColor listColor;

    QListWidget* List() const { return m_list; }
    QPlainTextEdit* Set1Edit() const { return m_set1Edit; }
    QPlainTextEdit* Set2Edit() const { return m_set2Edit; }
    QPushButton* MakeButton() const { return m_makeButton; }
    QPushButton* MakeReverseButton() const { return m_reverseButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* HelpButton() const { return m_helpButton; }

public slots:
    // "Make Reverse Substitution": reverse, then OK.
    void OnMakeReverse();

protected:
    void OnInitDialog() override;

private:
    void CreateControls();
    // Fills the names list once, selects the current row and shows its two sets.
    void LoadControls();
    void OnListSelection();

    QListWidget* m_list = nullptr;
    QPlainTextEdit* m_set1Edit = nullptr;
    QPlainTextEdit* m_set2Edit = nullptr;
    QPushButton* m_makeButton = nullptr;
    QPushButton* m_reverseButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    bool m_loading = false;
};
