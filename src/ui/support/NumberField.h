#pragma once

// The one reading of the numbers typed into dialog fields. Blanks around the text are ignored;
// anything else beside the number, a fraction where a whole number is asked, or a value beyond
// what the field holds is refused with a message, the field focused and its text selected, and
// the dialog stays open.

#include "framework/MessageService.h"
#include "glazes/IngredientList.h" // kMaxRecipeAmount, which the recipe fields take

#include <functional>
#include <string>

class QLineEdit;
class QObject;

// The messages of refused number fields.
std::string WholeNumberRangeMessage(int minimum, int maximum); // "Please enter an integer between 1 and 99."
std::string NumberRangeMessage(double minimum, double maximum); // "Please enter a number between 0 and 100."
inline constexpr const char* kEnterWholeNumberMessage = "Please enter an integer.";
inline constexpr const char* kEnterNumberMessage = "Please enter a number.";

// Shows message (an exclamation box unless type says otherwise), then focuses the field and
// selects its text (a null field: the message alone). Always false, for the caller to return.
bool RefuseField(QLineEdit* edit, const std::string& message, unsigned type = MsgOk | MsgIconExclamation,
                 unsigned helpId = 0);

// The refusals of one form, each shown once in one user action: a field left as a command
// begins and the command's own check find the same fault. The next action (the program waiting
// for the user again, as it does while a message or question is up) lets it be shown again.
class CFormRefusals {
public:
    // owner: the form, which outlives nothing it refuses.
    explicit CFormRefusals(QObject* owner) : m_owner(owner) {}
    // The message in an exclamation box, unless one was shown in this action.
    void Show(const std::string& message);
    // Show, then the field focused with its text selected. Always false.
    bool RefuseField(QLineEdit* edit, const std::string& message);

private:
    QObject* m_owner;
    bool m_shown = false;
};

// A whole number from minimum to maximum; anything else gets the range message.
bool ReadWholeNumberField(QLineEdit* edit, int minimum, int maximum, int& value);
// A number from minimum to maximum: "Please enter a number." when the text is none, else the
// range message when it lies outside.
bool ReadNumberField(QLineEdit* edit, double minimum, double maximum, double& value);

// True when text (blanks around it ignored) is a number, however written, beyond maximum.
bool IsNumberBeyond(std::string text, double maximum);

// Why text typed into a field that takes a number or nothing is refused: the range message from
// 0 to maximum for a number beyond maximum however it is written, kEnterNumberMessage for text
// that is no number ("1,5", "12abc"); empty for a number up to maximum or blank text.
std::string NumberTextRefusal(const std::string& text, double maximum);
// A field that takes a number up to maximum, or nothing: false after refusing anything else with
// that message.
bool CheckOptionalNumberField(QLineEdit* edit, double maximum);

// For fields whose callers give their own message for text that is no number: true unless the
// text is a number beyond maximum (however large it is written), which is refused with the range
// message from 0 to maximum.
bool CheckNumberFieldLimit(QLineEdit* edit, double maximum);

// A number field's text as the form showed it, and the value that text stands for: while the
// text stays as shown it stands for that value exactly (digits the field does not show, or a value
// the file held beyond what the field takes, stay as read and block no save). Text typed over it
// is read whole and stored as the record keeps it; the form then shows what it stored (Show), so
// a value typed back after a save is read as typed, not taken for the one shown before.
class CShownNumber {
public:
    // Sets edit's text (when it differs) as standing for value.
    void Show(QLineEdit* edit, const std::string& text, double value);
    // The value edit's text stands for: the shown value, else the text read whole (0 for none) as
    // the record keeps it (asKept: a file that keeps fewer places rounds it).
    double Value(const QLineEdit* edit, const std::function<double(double)>& asKept) const;
    // True for the shown text and for typed text that is a number up to maximum, or nothing;
    // anything else is refused as CheckOptionalNumberField refuses it.
    bool Check(QLineEdit* edit, double maximum) const;

private:
    std::string m_text;
    double m_value = 0.0;
};
