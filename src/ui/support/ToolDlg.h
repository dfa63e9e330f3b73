#pragma once

// What the dialogs of the recipe tools share: the background of a named colour, OK, Cancel and
// "?" buttons, controls placed in dialog units and named by their control id, and the range
// checks of number fields (a message, the field focused, and the dialog stays open).

#include "support/DialogStyle.h"

#include <QString>

#include <array>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

inline constexpr int kToolIdOk = 1;
inline constexpr int kToolIdCancel = 2;

class CToolDlg : public CStyledDialog {
    Q_OBJECT

public:
    CToolDlg(QWidget* parent, unsigned helpId, const char* colorName);

    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

    // A control by its id, for the dialog's own code and for tests.
    template <class Control>
    Control* FindControl(int id) const
    {
        return findChild<Control*>(QString::number(id));
    }

    // The text of a field as the program's bytes, and a number shown in a field.
    static std::string FieldText(const QLineEdit* edit);
    static QString NumberText(double value);
    // Checks a radio group's button with value (none when no button has it).
    static void CheckRadioValue(QButtonGroup* group, int value);

    // The checks of a number field (support/NumberField.h): false after the message, with the
    // field focused and its text selected.
    static bool ReadWholeNumber(QLineEdit* edit, int minimum, int maximum, int& value);
    static bool ReadNumber(QLineEdit* edit, double minimum, double maximum, double& value);

protected:
    QLabel* AddLabel(const QString& text, int id, int x, int y, int width, int height = 10);
    QLineEdit* AddEdit(int id, int x, int y, int width, int height = 12);
    QCheckBox* AddCheck(const QString& text, int id, int x, int y, int width, int height = 10);
    QRadioButton* AddRadio(QButtonGroup* group, const QString& text, int id, int value, int x, int y, int width,
                           int height = 10);
    QComboBox* AddCombo(int id, int x, int y, int width, int height = 12);
    QGroupBox* AddGroup(const QString& text, int x, int y, int width, int height);
    // OK, Cancel and "?" in a row starting at x; OK calls accept, Cancel reject.
    void AddOkCancelHelp(int x, int y);

private:
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// The number formats the batch calculator's and the optimizer's preference dialogs edit:
// decimals (1 to 12) and least decimals kept (-1 to 12), of remainders and of recipe input, in
// that order, as the preferences file accepts them. False after the range message, with the
// offending field focused, when one is out of range; values are then left alone.
bool ReadNumberFormatFields(const std::array<QLineEdit*, 4>& fields, std::array<int, 4>& values);
