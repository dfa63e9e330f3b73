#pragma once

// The Database Notes and Information dialog of every database: its name, its file and its
// information lines. The dialog can be resized; the notes box grows with it.
//
// The caller fills the fields, runs the dialog and reads them back. It ends with OK only when
// something was changed (and then the fields hold the new name and lines); OK without a change
// ends it with Cancel, leaving the fields as they were.

#include "support/AnchoredDialog.h"
#include "support/StringArrayEx.h"

#include <string>

class CNotesEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class CDbNotesDlg : public CAnchoredDialog {
    Q_OBJECT

public:
    CDbNotesDlg(QWidget* parent, const std::string& caption, unsigned helpId);
    // readOnly 1 shows the texts without letting them change (the database tree's use).
    CDbNotesDlg(QWidget* parent, const std::string& caption, unsigned helpId, int readOnly);

    std::string fileName;     // shown under the name
    std::string databaseName; // the name box
    CStringArrayEx notes;     // the information lines, one per line of the notes box
    int readOnly = 0;
    std::string caption;
    // The colour of the two edit boxes ("mono_white"); the dialog's own is backgroundColor.
    CColor editColor;

    QLineEdit* NameEdit() const { return m_nameEdit; }
    QLabel* FileNameLabel() const { return m_fileLabel; }
    CNotesEdit* NotesEdit() const { return m_notesEdit; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* HelpButton() const { return m_helpButton; }

public slots:
    // OK: ends with Cancel when neither box was changed, else saves the boxes and ends with OK.
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void CreateControls();
    void LoadData();
    void SaveData();

    QLineEdit* m_nameEdit = nullptr;
    QLabel* m_fileLabel = nullptr;
    CNotesEdit* m_notesEdit = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
};
