#include "support/AmountLines.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "glazes/IngredientList.h"
#include "materials/MaterialsDoc.h"
#include "support/FocusWatcher.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "support/PlainTextEditLines.h"
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

CRefusedLine ReadAmountLines(const CStringArrayEx& lines, CIngredientList& ingredients)
{
    ingredients.clear();
    CMaterialArray* materials = g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
    CRefusedLine refused;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        double amount = 0.0;
        const AmountLine kind = SplitAmountLine(lines[i], name, amount);
        if (kind == AmountLine::Refused && !refused) {
            refused.line = static_cast<int>(i);
            refused.text = lines[i];
            TrimString(refused.text);
        }
        if (kind != AmountLine::Amount || !(amount > 0.0))
            continue;
        if (materials)
            materials->FindMaterial(name, true);
        ingredients.Add(name, amount);
    }
    return refused;
}

CRefusedLine ReadAmountLines(QPlainTextEdit& box, CIngredientList& ingredients)
{
    CStringArrayEx lines;
    ReadWholeEditLines(box, lines);
    CRefusedLine refused = ReadAmountLines(lines, ingredients);
    if (refused)
        refused.box = &box;
    return refused;
}

namespace {

// The line selected in its box and scrolled into sight.
void SelectLine(QPlainTextEdit* box, int line)
{
    QTextCursor cursor(box->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    box->ensureCursorVisible();
}

} // namespace

bool RefuseAmountLine(const CRefusedLine& refused, CFormRefusals& refusals)
{
    HandFocusToRefused(
        refused.box, [&] { refusals.Show(refused.Message()); }, [&] { SelectLine(refused.box, refused.line); });
    return false;
}
