#include "support/AmountLines.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// SplitAmountLine, with the amount's text.
AmountLine SplitAmountLine(const std::string& line, std::string& name, std::string& text, double& amount)
{
    name = line;
    TrimString(name);
    amount = 0.0;
    if (!TakeLastWord(name, text))
        return AmountLine::Name;
    double value = 0.0;
    if (!ReadNumberText(text, value) || !(value <= kMaxRecipeAmount))
        return AmountLine::Refused;
    amount = value;
    return AmountLine::Amount;
}

} // namespace

AmountLine SplitAmountLine(const std::string& line, std::string& name, double& amount)
{
    std::string text;
    return SplitAmountLine(line, name, text, amount);
}

std::string RefusedAmountMessage(const std::string& line)
{
    std::string name;
    std::string text;
    double amount = 0.0;
    if (SplitAmountLine(line, name, text, amount) != AmountLine::Refused)
        return std::string();
    std::string shown = line;
    TrimString(shown);
    const char* why = IsNumberBeyond(text, kMaxRecipeAmount) ? "\" is too large. " : "\" is not a number. ";
    return "The amount of \"" + shown + why + NumberRangeMessage(0.0, kMaxRecipeAmount);
}

int FindRefusedAmountLine(const QPlainTextEdit& box)
{
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        std::string name;
        double amount = 0.0;
        if (SplitAmountLine(ToCp1252(block.text()), name, amount) == AmountLine::Refused)
            return block.blockNumber();
    }
    return -1;
}

void SelectEditLine(QPlainTextEdit* box, int line)
{
    QTextCursor cursor(box->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    box->setFocus();
    box->setTextCursor(cursor);
    box->ensureCursorVisible();
}

bool RefuseAmountLine(QPlainTextEdit* box, int line)
{
    const QTextBlock block = box->document()->findBlockByNumber(line);
    AppMessageBox(RefusedAmountMessage(ToCp1252(block.text())), MsgOk | MsgIconExclamation, 0);
    SelectEditLine(box, line);
    return false;
}
