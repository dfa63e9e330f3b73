#pragma once

// The Element Information dialog: everything about one element that the user may change — the
// oxide (by its two atom counts), the ceramic role, whether a different oxide forms in reduction
// with its counts and role, the expansion coefficient with its unusual-effects flag, the
// viscosity and surface-tension coefficients, the note lines and the annotation lines printed
// with the glaze report. Each value has a Set Default button that puts back the caller's default.
//
// The caller fills the public fields, runs the dialog and, after OK, reads them back; the
// dialog never touches the element table itself.

#include "support/DialogStyle.h"
#include "support/StringArrayEx.h"

#include <cstdint>
#include <string>

class CNotesEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The seven role items of both combo boxes and the role each stands for.
inline constexpr int kElementRoleItemCount = 7;
// The item of a role: alkali 0, alkali amphoteric 1, neutral 2, acid 3, acid amphoteric 4,
// volatile 5, anything else (not expected, or no flag) 6.
int ElementRoleToIndex(std::int32_t role);
// The role of an item: 0x10, 0x90, 0x04, 0x08, 0x88, 0x02, 0x01; 0 outside 0..6.
std::int32_t ElementRoleFromIndex(int index);
// The text of an item ("Alkali" ... "Not expected in ceramic materials"); empty outside 0..6.
const char* ElementRoleItemText(int index);

// Oxide text of the dialog: the cation part (empty for 0, the symbol for 1, else the symbol and
// the count) joined to the oxygen part (empty for 0, "O" for 1, else "O" and the count).
std::string ElementInfoOxideText(const std::string& symbol, int ncat, int nan);

// A coefficient as its box shows it: the number, or "?" below -998 (unknown).
std::string CoefficientText(double value);
// A coefficient read from its box: -999 when the text holds a "?" anywhere, else the number it
// holds (0 when it is no number, which OK refuses).
double CoefficientFromText(const std::string& text);

class CElementInfoDlg : public CStyledDialog {
    Q_OBJECT

public:
    // Control ids of the dialog.
    enum Control : int {
        IdNotes = 2071,
        IdAnnotations = 2072,
        IdOxide = 2073,
        IdNcatLabel = 2074,
        IdNcatPlus = 2075,
        IdNcatMinus = 2076,
        IdNanLabel = 2077,
        IdNanPlus = 2078,
        IdNanMinus = 2079,
        IdOxideDefault = 2080,
        IdRole = 2082,
        IdRoleDefault = 2083,
        IdDifOxInRed = 2084,
        IdOxideRed = 2087,
        IdNcatRedLabel = 2088,
        IdNcatRedPlus = 2089,
        IdNcatRedMinus = 2090,
        IdNanRedLabel = 2091,
        IdNanRedPlus = 2092,
        IdNanRedMinus = 2093,
        IdOxideRedDefault = 2094,
        IdRoleRedLabel = 2095,
        IdRoleRed = 2096,
        IdRoleRedDefault = 2097,
        IdExpansion = 2098,
        IdExpansionDefault = 2099,
        IdUnusual = 2100,
        IdViscosity = 2101,
        IdViscosityDefault = 2102,
        IdSurfaceTension = 2103,
        IdSurfaceTensionDefault = 2104,
    };

    // The counts stay within these bounds (the oxygen counts may be 0).
    static constexpr int kMaxCount = 20;

    CElementInfoDlg(QWidget* parent, const std::string& title, unsigned helpId);

    // --- what the caller fills and reads back ---------------------------------------------------
    int roleIndex = 0;
    int difOxInRed = 0;
    int roleRedIndex = 0;
    double expansion = -999.0;
    int unusual = 0;
    double viscosity = 0.0;
    double stension = -999.0;
    int ncat = 1;
    int nan = 0;
    int ncatred = 1;
    int nanred = 0;
    CStringArrayEx annotations;
    CStringArrayEx notes;
    // The values the Set Default buttons put back.
    int defaultNcat = 1;
    int defaultNan = 0;
    int defaultRoleIndex = 0;
    int defaultNcatred = 1;
    int defaultNanred = 0;
    int defaultRoleRedIndex = 0;
    double defaultExpansion = -999.0;
    int defaultUnusual = 0;
    double defaultViscosity = 0.0;
    double defaultStension = -999.0;
    // The element's symbol, shown in the count labels.
    std::string symbol;
    std::string title;

    // The control with the id (a QWidget of the matching kind), or null.
    QWidget* Control(int id) const;
    QPushButton* Button(int id) const;
    QLineEdit* Edit(int id) const;
    QComboBox* Combo(int id) const;
    QCheckBox* Check(int id) const;
    QLabel* Label(int id) const;
    CNotesEdit* NotesBox(int id) const;
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

    // Reads the controls into the fields (what OK does before the dialog ends).
    void SaveControls();

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void CreateControls();
    void CreateOxideRow(int y, int oxideId, int firstLabelId, bool reduction);
    void CreateCoefficientRow(int y, const char* label, int editId, int defaultId);
    QPushButton* AddCommand(const QString& text, int id, int x, int y, int width, int height,
                            void (CElementInfoDlg::*handler)());
    void LoadControls();
    void LoadCoefficients();
    void UpdateOxideText();
    void UpdateReductionRow();

    void OnNcatPlus();
    void OnNcatMinus();
    void OnNanPlus();
    void OnNanMinus();
    void OnNcatRedPlus();
    void OnNcatRedMinus();
    void OnNanRedPlus();
    void OnNanRedMinus();
    void OnOxideDefault();
    void OnRoleDefault();
    void OnOxideRedDefault();
    void OnRoleRedDefault();
    void OnExpansionDefault();
    void OnViscosityDefault();
    void OnSurfaceTensionDefault();
    void OnDifOxInRed();

    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
