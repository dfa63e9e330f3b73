#include "support/NumberField.h"

#include "framework/Cp1252.h"
#include "support/FocusWatcher.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <QLineEdit>
#include <QTimer>

namespace {

// The message, then the refused field given the keyboard with its text selected, for the user to
// mend (HandFocusToRefused). Always false.
template <typename Tell>
bool Refuse(QLineEdit* edit, Tell tell)
{
    HandFocusToRefused(edit, tell, [edit] { edit->selectAll(); });
    return false;
}

} // namespace

std::string WholeNumberRangeMessage(int minimum, int maximum)
{
    return "Please enter an integer between " + std::to_string(minimum) + " and " + std::to_string(maximum) + ".";
}

std::string NumberRangeMessage(double minimum, double maximum)
{
    // Whole bounds are written without a decimal point.
    return "Please enter a number between " + FormatDoubleShortest(minimum) + " and " +
           FormatDoubleShortest(maximum) + ".";
}

bool RefuseField(QLineEdit* edit, const std::string& message, unsigned type, unsigned helpId)
{
    return Refuse(edit, [&] { AppMessageBox(message, type, helpId); });
}

void CFormRefusals::Show(const std::string& message)
{
    if (m_shown)
        return;
    AppMessageBox(message, MsgOk | MsgIconExclamation, 0);
    m_shown = true;
    QTimer::singleShot(0, m_owner, [this] { m_shown = false; });
}

bool CFormRefusals::RefuseField(QLineEdit* edit, const std::string& message)
{
    return Refuse(edit, [&] { Show(message); });
}

bool ReadWholeNumberField(QLineEdit* edit, int minimum, int maximum, int& value)
{
    int number = 0;
    if (!ReadWholeNumberText(ToCp1252(edit->text()), number) || number < minimum || number > maximum)
        return RefuseField(edit, WholeNumberRangeMessage(minimum, maximum));
    value = number;
    return true;
}

bool ReadNumberField(QLineEdit* edit, double minimum, double maximum, double& value)
{
    double number = 0.0;
    if (!ReadNumberText(ToCp1252(edit->text()), number))
        return RefuseField(edit, kEnterNumberMessage);
    if (!(number >= minimum && number <= maximum))
        return RefuseField(edit, NumberRangeMessage(minimum, maximum));
    value = number;
    return true;
}

bool IsNumberBeyond(std::string text, double maximum)
{
    TrimString(text);
    std::size_t used = 0;
    const double number = ParseDoublePrefix(text, used);
    return !text.empty() && used == text.size() && !(number <= maximum);
}

std::string NumberTextRefusal(const std::string& text, double maximum)
{
    std::string trimmed = text;
    if (TrimString(trimmed).empty())
        return std::string();
    double value = 0.0;
    if (ReadNumberText(trimmed, value) && value <= maximum)
        return std::string();
    return IsNumberBeyond(trimmed, maximum) ? NumberRangeMessage(0.0, maximum) : kEnterNumberMessage;
}

bool CheckOptionalNumberField(QLineEdit* edit, double maximum)
{
    const std::string refusal = NumberTextRefusal(ToCp1252(edit->text()), maximum);
    return refusal.empty() || RefuseField(edit, refusal);
}

bool CheckNumberFieldLimit(QLineEdit* edit, double maximum)
{
    if (IsNumberBeyond(ToCp1252(edit->text()), maximum))
        return RefuseField(edit, NumberRangeMessage(0.0, maximum));
    return true;
}

void CShownNumber::Show(QLineEdit* edit, const std::string& text, double value)
{
    if (ToCp1252(edit->text()) != text)
        edit->setText(FromCp1252(text));
    m_text = ToCp1252(edit->text());
    m_value = value;
}

double CShownNumber::Value(const QLineEdit* edit, const std::function<double(double)>& asKept) const
{
    const std::string text = ToCp1252(edit->text());
    if (text == m_text)
        return m_value;
    double value = 0.0;
    ReadNumberText(text, value);
    return asKept(value);
}

bool CShownNumber::Check(QLineEdit* edit, double maximum) const
{
    return ToCp1252(edit->text()) == m_text || CheckOptionalNumberField(edit, maximum);
}
