#pragma once

// "Oxide and Material Type Graph Colors": edits working copies of the two colour lists of the
// graph-template database, the material-type colours of the recipe and material-type charts and
// the oxide colours (one per GraphVariable code) of the oxide charts. The caller fills the two
// lists, runs the dialog and on OK takes them back.
//
// An entry is shown on the colour-set radios, the 16 swatches of its set, the 8 pattern samples
// and the "Use pattern with color" box; pressing any of them changes the selected entry at once.
//
// Also the rows of the graph-variable lists that this dialog and the template editor's pages
// offer.

#include "graphs/GraphColorLists.h"
#include "support/DialogStyle.h"

#include <array>
#include <string>
#include <vector>

class CColorSwatchButton;
class CGraphTypesDoc;
class CMarkerButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

// One row of a graph-variable list: its text and GraphVariable code (kGraphVariableSeparator for
// a separator row).
struct CGraphVariableRow {
    std::string text;
    int code = 0;
    bool operator==(const CGraphVariableRow&) const = default;
};
inline constexpr int kGraphVariableSeparator = 129;

enum class GraphVariableList {
    Colors,    // this dialog: oxides by priority, then Si/Al, Expansion and Cost/kg
    Fields,    // the editor's Pie/Bar Fields list
    Axis,      // the editor's scatter axis combos: the properties and temperatures too
    Histogram, // the histogram combo: as Axis, without the groups' remainders
};

// The rows, group by group: the group's total, its oxides (elements 1..103 whose role carries
// the group, by element number, or for the colour dialog by priority 1, 2, 3 and then element
// number), its remainder, a separator; then the non-volatile remainder and the whole remainder.
std::vector<CGraphVariableRow> BuildGraphVariableRows(GraphVariableList list);

// Control ids of the dialog (template 197).
enum GraphColorsControl : int {
    kGcMaterialTypes = 6900,
    kGcName = 6901,
    kGcAddNew = 6902,
    kGcDelete = 6903,
    kGcLoadPreferences = 6904,
    kGcLoadMaterials = 6905,
    kGcOxides = 6906,
    kGcFirstColorSet = 6907, // 6907..6914
    kGcFirstSwatch = 6915,   // 6915..6930
    kGcFirstPattern = 6934,  // 6934..6941
    kGcUsePattern = 6942,
};

inline constexpr unsigned kGraphColorsHelpId = 197;

class CGraphColorsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CGraphColorsDlg(QWidget* parent);

    // The working lists: filled by the caller, read back after OK.
    CMaterialTypeColorList materialTypes;
    COxideColorList oxides;

    // The entry shown (colour -1 when none is).
    int shownColor = -1;
    int shownPattern = 0;
    int shownUsePattern = 0;
    int selectedType = -1;
    int selectedOxideRow = -1;
    int selectedOxideCode = -1;

    QListWidget* MaterialTypeList() const { return m_typeList; }
    QLineEdit* NameEdit() const { return m_name; }
    QListWidget* OxideList() const { return m_oxideList; }
    QCheckBox* UsePatternCheck() const { return m_usePattern; }
    QPushButton* Button(int id) const;
    QRadioButton* ColorSetRadio(int set) const { return m_colorSets[static_cast<std::size_t>(set)]; }
    CColorSwatchButton* Swatch(int k) const { return m_swatches[static_cast<std::size_t>(k)]; }
    CMarkerButton* PatternButton(int p) const { return m_patterns[static_cast<std::size_t>(p)]; }

    // The handlers, as the controls call them.
    void SelectMaterialType(int index);
    void SelectOxideRow(int row);
    void RenameMaterialType(const std::string& name);
    void AddNewMaterialType();
    void DeleteMaterialType();
    void LoadFromPreferences();
    void LoadFromMaterialList();
    void ChooseColorSet(int set);
    void ChooseSwatch(int k);
    void ChoosePattern(int p);
    void SetUsePattern(bool on);

protected:
    void OnInitDialog() override;

private:
    void CreateControls();
    void CreatePickers();
    void ConnectSignals();
    void FillLists();
    // Appends every name not yet listed (ignoring case) as a new entry without colour.
    void AppendMissingTypes(const std::vector<std::string>& names);
    // Shows the selected entry on the pickers (none: colour 0, pattern 0, flag 0).
    void ShowSelection();
    void ShowEntry(int color, int pattern, int usePattern);
    // Writes the shown colour, pattern and flag into the selected entry.
    void StoreShown();
    void EnableControls();
    void SetTypeSelection(int index);
    void ClearOxideSelection();

    QListWidget* m_typeList = nullptr;
    QLineEdit* m_name = nullptr;
    QListWidget* m_oxideList = nullptr;
    QCheckBox* m_usePattern = nullptr;
    std::vector<QLabel*> m_pickerLabels;
    QButtonGroup* m_colorSetGroup = nullptr;
    std::array<QRadioButton*, 8> m_colorSets{};
    std::array<CColorSwatchButton*, 16> m_swatches{};
    std::array<CMarkerButton*, 8> m_patterns{};
    std::vector<QPushButton*> m_buttons;
    bool m_loading = false;
};

// Runs the dialog on copies of the document's two colour lists; on OK drops the material types
// without a name and hands both lists to the document (which marks itself modified). False on
// Cancel. The caller announces the change.
bool EditGraphColorLists(QWidget* parent, CGraphTypesDoc& doc);
