#pragma once

// The window of a text document: a plain-text editor (no word wrap, the preferences' text-view
// font) with the text windows' commands: one-step Undo, Paste of plain text, Clear All for
// untitled windows, Remove Blank Lines, Tabs to Spaces, Alphabetize, Find and Replace, and Print,
// Print Preview and Write to File through the shared print job.
//
// Changes the program makes to the text (loading a file, appending reports, the whole-text
// commands) are not edits of the user's; every edit of the user's marks the document modified.

#include "support/LogFont.h"
#include "textfile/TextFileViewBase.h"

#include <QPlainTextEdit>

#include <string>

class CDocTemplate;
class CFindReplaceDlg;
class CTextPrinter;
class QMimeData;

class CTextFileView : public QPlainTextEdit, public CTextFileViewBase {
    Q_OBJECT

public:
    // The size a new text window gets.
    static constexpr int kInitialWidth = 600;
    static constexpr int kInitialHeight = 250;

    CTextFileView();
    ~CTextFileView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Caret line and column (1-based), the number of lines and the text's length (a line break
    // counts two characters, as in the saved text's CR LF).
    void GetCaretInfo(int& line, int& column, int& lineCount, int& length) const;

    // Fills a text printer with the text and the text windows' print layout: tabs kept, no
    // headers, page numbers from the second page on, rules under the headers. unicode gives the
    // lines as UTF-8 with every character as typed (for the clipboard), else as Windows-1252.
    void FillPrinter(CTextPrinter& printer, bool unicode = false);

    // Carries out a command as a menu would: only when it is enabled. Through the main frame
    // while this is the active view, so that the document gets its commands too.
    bool RunCommand(unsigned id);

    CFindReplaceDlg* FindDialog() const { return m_findDialog; }

    // CTextFileViewBase
    std::string UnsavableCharacters() const override;
    void ShowUnsavableCharactersAsSaved() override;

    CLogFont textFont; // the text-view font the view shows

protected:
    // CTextFileViewBase
    int GetLineCount() override;
    std::string GetLineText(int index) override;
    void SetControlText(const std::string& text) override;
    void AppendControlText(const std::string& text) override;
    void MoveCaretToStart() override;
    void SetRedraw(bool redraw) override;
    void EmptyControlUndo() override;
    void ControlUndo() override;
    void SetCaption(const std::string& caption) override;
    void SetFileCaption(const std::string& path) override;
    bool AskTabSize(std::string& answer) override;
    // QPlainTextEdit
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The caption on the text widget and on its window (see WindowCaption).
    void ShowCaption(const std::string& caption, bool fileName);
    // A key that this view turns into one of its commands (0 for none).
    unsigned CommandForKey(const QKeyEvent* event) const;
    void OnContentsChange(int position, int removed, int added);
    void ApplyFont();
    void ShowFindDialog(bool replace);
    void FindNextAgain();
    void PrintText(unsigned id);
    bool HasPlainClipboardText() const;

    int m_silent = 0; // > 0 while the program changes the text
    bool m_linesAsUtf8 = false; // GetLineText gives UTF-8 (the clipboard's lines), not Windows-1252
    CFindReplaceDlg* m_findDialog = nullptr;
};

// The text windows' menu (resource 9).
void RegisterTextFileMenu();
// Gives the text-file template its windows (a CTextFileView each) and registers its menu.
void InstallTextFileTemplate(CDocTemplate& docTemplate);
