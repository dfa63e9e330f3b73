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

// The text after the last white space of the trimmed line; false when it has none.
bool AmountText(const std::string& trimmed, std::string& name, std::string& amount)
{
    std::size_t i = trimmed.size();
    while (i > 0 && !IsWhitespaceChar(trimmed[i - 1]))
        --i;
    if (i == 0)
        return false;
    amount = trimmed.substr(i);
    name = trimmed.substr(0, i - 1);
    TrimStringRight(name);
    return true;
}

} // namespace

AmountLine SplitAmountLine(const std::string& line, std::string& name, double& amount)
{
    std::string trimmed = line;
    TrimString(trimmed);
    amount = 0.0;
    std::string text;
    if (!AmountText(trimmed, name, text)) {
        name = trimmed;
        return AmountLine::Name;
    }
    double value = 0.0;
    if (!ReadNumberText(text, value) || !(value <= kMaxRecipeAmount))
        return AmountLine::Refused;
    amount = value;
    return AmountLine::Amount;
}

std::string RefusedAmountMessage(const std::string& line)
{
    std::string name;
    double amount = 0.0;
    if (SplitAmountLine(line, name, amount) != AmountLine::Refused)
        return std::string();
    std::string shown = line;
    TrimString(shown);
    std::string text;
    AmountText(shown, name, text);
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
