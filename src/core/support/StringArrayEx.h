#pragma once

// A list of text lines: every report, export, list-row text and clipboard text is built as one.
// The helpers trim, sort, join, wrap and move lines to and from multi-line edit controls.

#include <string>
#include <vector>

class CEditLinesTarget;

class CStringArrayEx : public std::vector<std::string> {
public:
    using std::vector<std::string>::vector;

    // Join refuses results that would need more than this many characters (terminator
    // included): what one edit-control text or clipboard piece may hold.
    static constexpr int kJoinLimit = 32767;
    // WriteEditLines stops before the control would hold more than this many characters.
    static constexpr int kEditTextLimit = 65535;

    // Removes empty strings from the start (end) up to the first (last) non-empty one.
    void RemoveLeadingEmpty();
    void RemoveTrailingEmpty();

    // Adds every string of other at the end, in order.
    void Append(const std::vector<std::string>& other);
    // Adds n empty strings (nothing for n <= 0).
    void AddEmpty(int n);
    // Adds empty strings until there are n; returns how many were added.
    int PadToSize(int n);

    // Heap sort in place (not stable). Case-insensitive comparison folds ASCII letters.
    void Sort(bool ascending = true, bool caseSensitive = true);
    void Reverse();
    // Removes every string equal to its (kept) predecessor, by bytes when exact, else ignoring
    // case; only neighbours are compared. Returns the number removed.
    int RemoveDuplicates(bool exact);

    // Joins continuation lines (non-empty, not starting with a blank, after a non-empty line)
    // to the line before them, then wraps every line to width (below 1: no wrapping).
    void Reflow(int width);

    // Adds the pieces of text between separators: two separators in a row give an empty
    // piece, a final separator none. An empty text adds nothing. Returns the number added.
    int AddTextLines(const std::string& text, const std::string& separator);

    // Every string followed by separator (the last one too). Returns the length, or -1 with
    // an empty out when the result would need more than kJoinLimit characters.
    int Join(std::string& out, const std::string& separator) const;
    // The non-empty strings joined with blanks into at most width characters (the string
    // that crosses the width is cut). Returns the length.
    int JoinWrapped(std::string& out, int width) const;

    int TotalLength() const;
    int MaxLength() const; // 0 for an empty array

    // Reads the control's lines (at most 8191 characters each): trimBoth trims both ends,
    // else trimRight the right end; skipEmpty leaves out empty lines; dropTrailingEmpty
    // removes empty strings at the end afterwards. Returns 0.
    int ReadEditLines(CEditLinesTarget& edit, bool clear, bool trimRight, bool trimBoth,
                      bool dropTrailingEmpty, bool skipEmpty);
    int ReadCEditLines(CEditLinesTarget& edit, bool clear, bool trimRight, bool trimBoth,
                       bool dropTrailingEmpty, bool skipEmpty);

    // Inserts the lines, each followed by "\r\n", at the control's selection and puts the
    // caret back at the selection's start. clean first strips control characters from every
    // line (tabs kept when keepTabs), removes lines that held character 3 and trailing empty
    // lines, changing the array. WriteEditLines stops before the line that would take the
    // inserted text past kEditTextLimit and returns 1 then, else 0; it also scrolls the caret
    // into view. WriteCEditLines has no limit and returns 0.
    int WriteEditLines(CEditLinesTarget& edit, bool clear, bool clean, bool keepTabs);
    int WriteCEditLines(CEditLinesTarget& edit, bool clear, bool clean, bool keepTabs);

private:
    int WriteLines(CEditLinesTarget& edit, bool clear, bool clean, bool keepTabs, bool limited);
    void CleanForEdit(bool keepTabs);
};
