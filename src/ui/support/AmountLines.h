#pragma once

// Lines typed as a material name followed by an amount, as the glaze form's recipe fields and
// the substitution form's sets take them. The amount is the text after the line's last white
// space; the name is what stands before it. The amount is read whole, as every number a user
// types: "Talc 1,5", "Silica 12abc" and "Kaolin abc" hold no amount, nor does a line whose
// amount no recipe holds ("Kaolin 1e999"). Such a line is refused with a message, never read
// as the number its text begins with, nor dropped: the forms keep it as typed and save, print,
// send or check nothing until it is mended.
//
// A form reads its lines only through ReadAmountLines, which hands back the first refused line
// with the lines it took: no caller can read a form without learning of a refusal.

#include "support/StringArrayEx.h"

#include <string>

class CFormRefusals;
class CIngredientList;
class QPlainTextEdit;

enum class AmountLine {
    Name,    // no white space: the line is all name, its amount 0
    Amount,  // a name and a number (zero and negative ones too, which make no ingredient)
    Refused, // a name and a text that is no amount
};

// Splits line (trimmed first) into name and amount; amount is 0 unless the line has one.
AmountLine SplitAmountLine(const std::string& line, std::string& name, double& amount);

// The message that refuses line, empty when its amount is taken.
std::string RefusedAmountMessage(const std::string& line);

// The first line whose amount is refused, of a box or of lines read from elsewhere.
struct [[nodiscard]] CRefusedLine {
    QPlainTextEdit* box = nullptr; // the box that holds it; null for lines that came from no box
    int line = -1;                 // its number from 0; -1 when no line is refused
    std::string text;              // the line as it stands, trimmed

    explicit operator bool() const { return line >= 0; }
    std::string Message() const { return RefusedAmountMessage(text); }
};

// The one reading of amount lines: every line with a positive amount becomes an ingredient of
// ingredients (emptied first), in order, named as the materials database names the material
// when it knows it; lines that are all name or whose amount is 0 or less make none. The first
// line whose amount is refused comes back; the lines around it are read all the same, for
// what shows while the user mends it.
CRefusedLine ReadAmountLines(const CStringArrayEx& lines, CIngredientList& ingredients);
CRefusedLine ReadAmountLines(QPlainTextEdit& box, CIngredientList& ingredients);

// Shows the refusal of the line (once in one user action: refusals), then gives its box the
// keyboard with the line selected, for the user to mend (HandFocusToRefused: one refusal at a
// time). Always false, for the caller to return.
bool RefuseAmountLine(const CRefusedLine& refused, CFormRefusals& refusals);
