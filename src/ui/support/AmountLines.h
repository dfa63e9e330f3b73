#pragma once

// Lines typed as a material name followed by an amount, as the glaze form's recipe fields and
// the substitution form's sets take them. The amount is the text after the line's last white
// space; the name is what stands before it. The amount is read whole, as every number a user
// types: "Talc 1,5", "Silica 12abc" and "Kaolin abc" hold no amount, nor does a line whose
// amount no recipe holds ("Kaolin 1e999"). Such a line is refused with a message, never read
// as the number its text begins with, nor dropped: the forms keep it as typed and save nothing
// until it is mended.

#include <string>

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

// The number of the first line of box whose amount is refused, -1 when there is none.
int FindRefusedAmountLine(const QPlainTextEdit& box);
// Focuses box with the line selected, for the user to mend.
void SelectEditLine(QPlainTextEdit* box, int line);
// Shows the refusal of that line, then selects it. Always false, for the caller to return.
bool RefuseAmountLine(QPlainTextEdit* box, int line);
