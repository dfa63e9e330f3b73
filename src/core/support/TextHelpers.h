#pragma once

// Small text helpers used everywhere: whitespace and trimming, control characters (the text
// printer's layout markers are control characters), padding, wrapping, tabs, quotes, the
// "name (code)" convention, the trailing number of a recipe line and a sortable key from a
// free-form date.
//
// Whitespace is the blank and the characters 9 to 13, whatever the locale. Control characters
// are 1 to 31; bytes 128 to 255 never are. Functions that change a text work on it in place and
// return it, so calls can be chained. Several functions have two names (a "buffer" name and a
// "String" name): both do the same.

#include "support/Geometry.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// --- whitespace -------------------------------------------------------------------------------

inline bool IsWhitespaceChar(char c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}
// The ASCII capital (small) letters, whatever the locale.
inline bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
inline bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
// The first character of text that is not whitespace (the terminating NUL when there is none).
const char* SkipWhitespace(const char* text);
char* SkipWhitespace(char* text);
// The number of leading whitespace characters of text.
std::size_t CountLeadingWhitespace(std::string_view text);

std::string& TrimStringLeft(std::string& text);
std::string& TrimStringRight(std::string& text);
std::string& TrimString(std::string& text); // trailing, then leading
std::string& TrimBufferLeft(std::string& text);
std::string& TrimBufferRight(std::string& text);
std::string& TrimBuffer(std::string& text);

// As many blanks as text has leading (trailing) whitespace characters; empty when none.
std::string GetLeadingWhitespace(std::string_view text);
std::string GetTrailingWhitespace(std::string_view text);

// --- values of "key = value" lines ---------------------------------------------------------------

// A line break inside a value would end its line early and let the rest be read as a line, even
// a key, of its own; a NUL would end the value for the reader. Every writer of a "key = value"
// file writes its values through these: each such character becomes a blank.
void AppendOneLineValue(std::string& text, std::string_view value);
std::string OneLineValue(std::string_view value);
// True when text holds a line break (CR or LF).
bool HasLineBreak(std::string_view text);

// --- control characters -----------------------------------------------------------------------

bool IsControlChar(char c); // 1..31

// Removes control characters; tabs stay when keepTabs is set.
std::string& StripControlCharsString(std::string& text, bool keepTabs);
std::string& StripControlChars(std::string& text, bool keepTabs);

// flags[c] = 1 for every control character c present in text, all other entries 0.
void GetControlCharFlags(std::string_view text, int flags[32]);
void GetControlCharFlagsString(std::string_view text, int flags[32]);

// Both at once: records every control character present (tabs included) and removes them
// (tabs kept when keepTabs is set).
std::string& StripControlCharsGetFlagsString(std::string& text, int flags[32], bool keepTabs);
std::string& StripControlCharsGetFlags(std::string& text, int flags[32], bool keepTabs);

// --- characters, quotes, padding --------------------------------------------------------------

// True when every character of text stands in set (true for an empty text).
bool ContainsOnlyChars(std::string_view text, std::string_view set);

// Replaces every from by to; returns how many were replaced.
int ReplaceCharInString(std::string& text, char from, char to);
int ReplaceChar(std::string& text, char from, char to);

// Removes a leading '"' and then a trailing '"', each independently.
std::string& StripQuotesString(std::string& text);
std::string& StripQuotes(std::string& text);

// Cuts text at width characters, or fills it with fill up to width.
std::string& PadOrTruncate(std::string& text, int width, char fill = ' ');
// Appends fill up to width characters; longer texts are unchanged.
std::string& PadRightString(std::string& text, int width, char fill = ' ');

// Replaces each tab by blanks up to the next multiple of tabSize (clamped to 1..100).
std::string& ExpandTabsString(std::string& text, int tabSize);

// Cuts line at whitespace to at most width characters (hard when a word is longer); the
// remainder goes to rest (empty when the line fits). A width below 1 wraps nothing.
void WrapTextLine(std::string& line, std::string& rest, int width);
// Appends to out the lines that WrapTextLine makes of line when it is applied again to each
// remainder, in time and memory linear in the line's length.
void AppendWrappedLines(std::string_view line, int width, std::vector<std::string>& out);

// The text as it is when `measure` finds it no wider than the width, else its longest beginning
// that is with "..." after it (its first character at least). Found by halving: a long text costs
// a few measures rather than one for each character.
template <class Measure>
std::string ElideToWidth(const std::string& text, double width, Measure measure)
{
    if (measure(text) <= width)
        return text;
    if (text.size() <= 1)
        return text + "...";
    std::size_t fits = 1, tooLong = text.size();
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        (measure(text.substr(0, middle) + "...") <= width ? fits : tooLong) = middle;
    }
    return text.substr(0, fits) + "...";
}

// --- names, numbers, dates --------------------------------------------------------------------

// "Name (code)": code receives the text from the first '(' on, parenthesis included, and text
// keeps the name without trailing whitespace. Without '(' code is empty.
void SplitNameAndCode(std::string& text, std::string& code);
// The name part of such a text.
std::string GetNamePart(std::string_view text);
// Look-ups read a name up to its first '(' and take the rest as a remark, so names, codes and
// other names of records hold square brackets instead: every '(' becomes '[' and every ')' ']'.
// Returns how many were replaced.
int BracketParentheses(std::string& text);

// Takes the word after the last whitespace off text into word ("Silica 12.5" -> "12.5", text
// "Silica" without the whitespace before it). A text without whitespace gives false and stays as
// it is.
bool TakeLastWord(std::string& text, std::string& word);

// Today's local date formatted with the strftime format.
std::string& GetTodayString(std::string& out, const std::string& format);
// The same for a given broken-down time (what GetTodayString does with today's).
std::string FormatDateString(const std::string& format, const std::tm& time);

// year * 10000 + month * 100 + day from a free-form date ("3/15/02", "15 Mar 2002", "Mar 2002",
// "7/99"); missing parts count as 0, a text naming no month and holding fewer than three
// numbers gives 0.
int DateSortKey(std::string_view text);

// ((left + right) / 2, (top + bottom) / 2).
CCorePoint GetRectCenter(const CCoreRect& rect);
