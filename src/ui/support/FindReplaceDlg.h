#pragma once

// The Find and Replace dialog of the text windows: modeless, one per text control, owned by the
// control. Find searches down or up from the caret and wraps round once; Replace replaces the
// found text and looks for the next; Replace All replaces every occurrence in one step that a
// single Undo takes back, a long one under a progress window whose Cancel changes nothing. The
// last search is remembered for Find Next (F3) without the dialog.

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class CFindReplaceDlg : public QDialog {
    Q_OBJECT

public:
    CFindReplaceDlg(QPlainTextEdit* edit, bool replace);

    bool IsReplaceDialog() const { return m_replace; }

    // Selects the next match and returns true; false (with a beep) when there is none.
    bool FindNext();
    // Replaces the selection when it is a match, then finds the next. False when no match
    // follows.
    bool ReplaceCurrent();
    // Replaces every match from the start of the text (CReplaceAll: under a progress window
    // when long); the number replaced.
    int ReplaceAll();

    // The last search again on edit (Find Next without the dialog); false when there was no
    // search yet or no match.
    static bool FindAgain(QPlainTextEdit* edit);
    static bool HasLastSearch();

    QLineEdit* FindEdit() const { return m_findEdit; }
    QLineEdit* ReplaceEdit() const { return m_replaceEdit; }
    QCheckBox* MatchCaseBox() const { return m_matchCase; }
    QCheckBox* WholeWordBox() const { return m_wholeWord; }
    QRadioButton* UpButton() const { return m_up; }
    QPushButton* FindNextButton() const { return m_findNextButton; }
    QPushButton* ReplaceButton() const { return m_replaceButton; }
    QPushButton* ReplaceAllButton() const { return m_replaceAllButton; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    // Takes the dialog's settings as the last search.
    void Remember();
    void UpdateButtons();

    QPlainTextEdit* m_edit;
    bool m_replace;
    QLineEdit* m_findEdit = nullptr;
    QLineEdit* m_replaceEdit = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_findNextButton = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
};
