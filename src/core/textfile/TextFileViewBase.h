#pragma once

// What every text window does, whatever its text control: the text seen as lines, appending
// lines, writing the text out, the whole-text commands (Remove Blank Lines, Alphabetize, Tabs to
// Spaces) with their one-step undo, and the window's caption. The Qt view supplies the control
// through the few primitives below; tests supply a control of their own.
//
// Undo has one level: after a whole-text command Undo restores the lines as they were before it
// (the snapshot); after typing it is the control's own undo. Either kind is used once.
//
// The control's text is a list of lines; an empty control has one empty line. Texts handed to
// the primitives separate lines with "\r\n".

#include "framework/View.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <string>

class CTextFileDoc;

// The one question of Tabs to Spaces and its answer's limits.
inline constexpr const char* kUntabifyCaption = "Untabify File";
inline constexpr const char* kUntabifyPrompt = "How many spaces per tab stop?";
inline constexpr unsigned kUntabifyHelpId = 900;
inline constexpr unsigned kTabRangeHelpId = 0x30810;

class CTextFileViewBase : public CView {
public:
    CTextFileViewBase() = default;

    // Takes the document and the lines it read before this view existed.
    void OnInitialUpdate() override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // The caption becomes text, else the document's path, else its title, else "<untitled>".
    void UpdateTitle(const std::string& text = std::string());
    std::string CaptionText(const std::string& text = std::string()) const;

    // Caret to the end; a line break first when the last line is not empty; the text and a
    // line break. Marks the document modified; the undo state starts afresh.
    void AppendLine(const std::string& text);
    void AppendLines(const CStringArrayEx& lines);
    void ClearText();
    // The lines, blanks at their ends removed and the empty lines at the end dropped, each
    // followed by '\n'. False when the stream failed.
    bool WriteText(std::ostream& out);
    // Forgets both kinds of undo and empties the control's own undo buffer.
    void ResetUndo();
    // Puts lines (each followed by a line break) in place of the text without marking the
    // document modified, caret at the start, undo state afresh.
    void LoadLines(const CStringArrayEx& lines);
    // Caret to the start of the text, scrolled into view (a finished report is read from the top).
    void ShowStart() { MoveCaretToStart(); }

    // The control's lines with blanks at their ends removed; skipEmpty leaves out empty lines,
    // dropTrailingEmpty removes the empty lines at the end. Lines are never cut.
    void ReadLines(CStringArrayEx& lines, bool skipEmpty, bool dropTrailingEmpty);

    // Whole-text commands.
    void RemoveBlankLines(bool all);
    void Alphabetize(bool ascending, bool caseSensitive);
    // Asks for the tab size, then TabsToSpaces(n) or the range message.
    void TabsToSpaces();
    // 1 <= spaces <= 100 expands every tab; otherwise "Spaces must be in range 1 to 100" and
    // nothing changes. True when the text was changed.
    bool TabsToSpaces(int spaces);
    void Undo();
    bool CanUndo() const { return editUndo || snapshotUndo; }

    // The view's text document, or null (looked up each time: a view never holds on to a
    // document that may be gone).
    CTextFileDoc* TextDocument() const;

    // The user changed the text: the document is modified and Undo means the control's undo.
    void OnTextEdited();

    // Names the characters of the text that the file's Windows-1252 cannot hold ("α (U+03B1),
    // → (U+2192)", as message text); empty when every character fits. A control of bytes has none.
    virtual std::string UnsavableCharacters() const { return std::string(); }
    // After such a text was saved: shows "?" where the file now holds it, as a change that is
    // no edit of the user's.
    virtual void ShowUnsavableCharactersAsSaved() {}

    // "Information Window" unchecked: this window becomes an ordinary text window.
    void StopBeingInformation();

    CStringArrayEx undoLines;   // the text before the last whole-text command
    bool editUndo = false;      // the control's own undo is available
    bool snapshotUndo = false;  // undoLines can be restored
    int printKind = 0;          // 1 = the text: what the print commands asked for

protected:
    // --- the control ----------------------------------------------------------------------

    virtual int GetLineCount() = 0;
    virtual std::string GetLineText(int index) = 0;
    // Replaces the whole text; not an edit of the user's. Empties the control's undo buffer.
    virtual void SetControlText(const std::string& text) = 0;
    // Adds text at the end and leaves the caret there; not an edit of the user's.
    virtual void AppendControlText(const std::string& text) = 0;
    virtual void MoveCaretToStart() = 0;
    // Stops (false) and resumes (true) repainting while the text is replaced.
    virtual void SetRedraw(bool redraw) = 0;
    virtual void EmptyControlUndo() = 0;
    // The control's own undo of the user's last edit.
    virtual void ControlUndo() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // A caption that is the file's path: the file system's bytes, not Windows-1252 text.
    virtual void SetFileCaption(const std::string& path) { SetCaption(path); }
    // Asks kUntabifyPrompt; false on Cancel.
    virtual bool AskTabSize(std::string& answer) = 0;

private:
    // The snapshot becomes the undo, the lines replace the text, Undo means the snapshot.
    void ReplaceWholeText(CStringArrayEx snapshot, const CStringArrayEx& lines);
    void PutLines(const CStringArrayEx& lines);
};
