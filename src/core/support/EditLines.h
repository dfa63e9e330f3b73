#pragma once

// A multi-line text control seen as lines, so the core can move a list of lines into and out of
// one. The UI implements it over its edit widget; tests use a fake.
//
// Positions are character offsets into the control's whole text, in which lines are separated
// by "\r\n" (two characters), as the core's texts are.

#include <string>

class CEditLinesTarget {
public:
    virtual ~CEditLinesTarget() = default;

    // The number of lines (an empty control has one empty line).
    virtual int GetLineCount() = 0;
    // The text of line index (0-based) without its line break.
    virtual std::string GetLineText(int index) = 0;
    // Replaces the whole text.
    virtual void SetText(const std::string& text) = 0;
    // The selection; start == end is a plain caret.
    virtual void GetSelection(int& start, int& end) = 0;
    // Replaces the selection by text ("\r\n" separates lines) and leaves the caret after it.
    virtual void ReplaceSelection(const std::string& text) = 0;
    // Selects start..end (start == end places the caret).
    virtual void SetSelection(int start, int end) = 0;
    // Scrolls the caret into view.
    virtual void ScrollCaretIntoView() = 0;
};
