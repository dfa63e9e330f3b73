#pragma once

// Material Cost and Density Units: the database's currency symbol, the digits shown left and
// right of a cost's decimal point, the cost unit (per pound or per kilogram) and the density unit
// (grams per cup or per deciliter), and optional scaling of every cost and density.
//
// Clicking a unit proposes a scaling from the database's unit (the one the caller set) to the
// clicked one: the scaling box is checked and the conversion factor shown, or, back at the
// database's unit, the box is cleared and the factor 1.0 shown. The members change only when the
// dialog ends with OK; a value out of its range keeps the dialog open after a message.

#include "support/DialogStyle.h"

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CMaterialUnitsDlg : public CStyledDialog {
    Q_OBJECT

public:
    static constexpr int kMaxPlaces = 10;
    static constexpr double kMaxFactor = 999999.0;

    explicit CMaterialUnitsDlg(QWidget* parent = nullptr);

    std::string currencySymbol = "$";
    int placesLeft = 3;
    int placesRight = 2;
    int multiplyCosts = 0;
    int multiplyDensities = 0;
    double costFactor = 1.0;
    double densityFactor = 1.0;
    int costUnit = -1;    // 0 pound, 1 kilogram
    int densityUnit = -1; // 0 cup, 1 deciliter

    // Reads and checks the controls into the members; false (after the range message, with the
    // focus on the offending box) when one is not acceptable.
    bool SaveControls();

    QLineEdit* CurrencyEdit() const { return m_currency; }
    QLineEdit* PlacesLeftEdit() const { return m_placesLeft; }
    QLineEdit* PlacesRightEdit() const { return m_placesRight; }
    QLineEdit* CostFactorEdit() const { return m_costFactor; }
    QLineEdit* DensityFactorEdit() const { return m_densityFactor; }
    QCheckBox* MultiplyCostsCheck() const { return m_multiplyCosts; }
    QCheckBox* MultiplyDensitiesCheck() const { return m_multiplyDensities; }
    QRadioButton* PoundRadio() const { return m_pound; }
    QRadioButton* KilogramRadio() const { return m_kilogram; }
    QRadioButton* CupRadio() const { return m_cup; }
    QRadioButton* DeciliterRadio() const { return m_deciliter; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QLineEdit* AddEdit(const char* label, int id, int x, int y, int labelWidth);
    QCheckBox* AddCheck(const char* label, int id, int y);
    // Groups the unit buttons and lets their clicks propose scalings.
    void WireUnitButtons();
    // Proposes the scaling for a clicked unit; factor is the conversion from the other unit.
    static void ProposeScaling(QCheckBox* check, QLineEdit* factorEdit, bool fromOtherUnit, const char* factor);

    QLineEdit* m_currency = nullptr;
    QLineEdit* m_placesLeft = nullptr;
    QLineEdit* m_placesRight = nullptr;
    QLineEdit* m_costFactor = nullptr;
    QLineEdit* m_densityFactor = nullptr;
    QCheckBox* m_multiplyCosts = nullptr;
    QCheckBox* m_multiplyDensities = nullptr;
    QRadioButton* m_pound = nullptr;
    QRadioButton* m_kilogram = nullptr;
    QRadioButton* m_cup = nullptr;
    QRadioButton* m_deciliter = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// A factor as the dialog shows it: the shortest exact text, with ".0" for a whole number.
std::string FormatUnitsFactor(double factor);
