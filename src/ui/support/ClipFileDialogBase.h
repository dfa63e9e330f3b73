#pragma once

// What the program's file dialogs share: a non-native QFileDialog that starts in the current
// directory, shows the program's "Description (*.ext)|*.ext||" filters, opens the dialog's
// help topic (Help button and F1), and may offer a "Clipboard" button with which the user
// chooses the clipboard instead of a file.
//
// useClipboard: before the dialog is shown, whether the Clipboard button is offered; once it
// has ended, whether the user pressed it. Callers test it before (or instead of) the result.

#include <QFileDialog>
#include <QStringList>

#include <string>
#include <vector>

class QPushButton;

// The one conversion of the program's filter strings into Qt name filters: each description
// and pattern pair gives one filter that shows the description unchanged. Patterns are matched
// ignoring case (database files come from systems that do), and "*.*" matches every file.
QStringList ToQtNameFilters(const std::string& filter);
// The descriptions of the filter's pairs, as the dialog shows them.
QStringList FileFilterDescriptions(const std::string& filter);

class CClipFileDialogBase : public QFileDialog {
    Q_OBJECT

public:

    // The window title; an empty title keeps the dialog's own ("Open", "Save As").
    void SetTitle(const std::string& title);
    // Runs the dialog; QDialog::Accepted or QDialog::Rejected.
    int DoModal();
    // The chosen filter, counted from 1 (1 when the dialog has no filters).
    int GetFilterIndex() const;
    // Pre-selects a filter, counted from 1; other values are ignored.
    void SetFilterIndex(int index);

    QPushButton* ClipboardButton() const { return m_clipboardButton; }
    QPushButton* HelpButton() const { return m_helpButton; }

    unsigned helpId;
    bool useClipboard;

    // Whether the system clipboard holds text, which decides the button of open dialogs.
    static bool ClipboardHoldsText();

protected:
    CClipFileDialogBase(bool save, const std::string& defaultExtension, const std::string& fileName,
                        unsigned flags, const std::string& filter, QWidget* parent, unsigned helpId,
                        bool offerClipboard);

    // The chosen files as full paths, each once, in the dialog's order; empty unless the dialog
    // ended with OK and without the Clipboard button.
    std::vector<std::string> ChosenPaths() const;

    // How the Clipboard button ends this dialog.
    virtual void EndWithClipboard() = 0;

    void setVisible(bool visible) override;
    void accept() override;

private:
    void AddButtonStrip();
    void OnClipboard();
    void OnHelp();
    bool MissingFolderRefused();

    unsigned m_flags;
    bool m_save;
    bool m_initialized = false;
    QStringList m_nameFilters;
    QStringList m_descriptions;
    QPushButton* m_clipboardButton = nullptr;
    QPushButton* m_helpButton = nullptr;
};
