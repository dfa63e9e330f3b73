#pragma once

// The Varrow Recipe Blend dialog: glaze C (the starting recipe) from the current glaze
// database with the lines of it that take part, the kaolin and silica materials, the corner
// percentages (glaze C's share in each corner is shown as the user types) and what the command
// generates: the corner recipes at a batch size, the whole blend grid, its point counts, the
// naming of the glazes and whether the grid is given as material weights or liquid volumes.
//
// The dialog opens with the settings of its last OK (kept in the working preferences for the
// run) and writes them back on OK. The caller sets request.startGlaze (or leaves -1), runs the
// dialog and on OK hands request to RunVarrowBlend.

#include "support/ToolDlg.h"
#include "tools/VarrowBlend.h"

class CGlaze;
class CGlazesDoc;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

inline constexpr unsigned kVarrowBlendHelpId = 408;
inline constexpr unsigned kVarrowConvertHelpId = 198018;
inline constexpr unsigned kVarrowCheckHelpId = 198019;

// Item data of an addition's line in the include list: this plus the addition's index.
inline constexpr int kVarrowAdditionTag = 1000;

class CVarrowBlendDlg : public CToolDlg {
    Q_OBJECT

public:
    enum ControlId : int {
        IdGlazeC = 7012,
        IdKaolinA = 7013,
        IdKaolinMaterial = 7014,
        IdSilicaD = 7015,
        IdSilicaMaterial = 7016,
        IdGenerateCorners = 7017,
        IdGenerateAll = 7018,
        IdWeights = 7019,
        IdVolumes = 7020,
        IdShareA = 7021,
        IdShareD = 7022,
        IdUnit = 7023,
        IdNameByNumber = 7029,
        IdNameByPercent = 7030,
        IdIncludeList = 7031,
        IdShareB = 7032,
        IdKaolinB = 7033,
        IdSilicaB = 7034,
        IdKaolinName = 7035,
        IdSilicaName = 7036,
        IdCornerBatch = 7037,
        IdBlendBatch = 7038,
        IdPointsCD = 7054,
        IdPointsCA = 7055,
    };

    explicit CVarrowBlendDlg(CGlazesDoc& document, QWidget* parent = nullptr);

    CVarrowBlendRequest request;
    CGlazesDoc* const document;

    QListWidget* IncludeList() const { return m_includeList; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void BuildGlazeControls();
    void BuildCornerControls();
    void BuildOutputControls();
    void LoadFromPreferences();
    void SaveToPreferences() const;
    void FillMaterialLists();
    void LoadControls();
    void ConnectControls();
    // The include list from glaze C, every line selected.
    void FillIncludeList();
    // The selected lines of a fresh copy of glaze C into request's components and additions.
    void CollectIncludedLines();
    void ShowShares();
    void ShowMaterialNames();
    void EnableGroups();
    void ShowUnit();
    // The field values into request, clamped and defaulted.
    void ReadFields();
    // The point counts when the whole blend is made: false after the range message.
    bool ReadPointCounts();
    // The percentages and batch sizes: numbers or blank; false after the message.
    bool CheckNumberFields();
    bool CheckChoices();

    QComboBox* m_glazeC = nullptr;
    QListWidget* m_includeList = nullptr;
    QLineEdit* m_kaolinA = nullptr;
    QLineEdit* m_silicaD = nullptr;
    QLineEdit* m_kaolinB = nullptr;
    QLineEdit* m_silicaB = nullptr;
    QComboBox* m_kaolinMaterial = nullptr;
    QComboBox* m_silicaMaterial = nullptr;
    QCheckBox* m_generateCorners = nullptr;
    QCheckBox* m_generateAll = nullptr;
    QLineEdit* m_cornerBatch = nullptr;
    QLineEdit* m_blendBatch = nullptr;
    QLineEdit* m_pointsCD = nullptr;
    QLineEdit* m_pointsCA = nullptr;
    QButtonGroup* m_naming = nullptr;
    QButtonGroup* m_units = nullptr;
    std::vector<QWidget*> m_cornerControls;
    std::vector<QWidget*> m_blendControls;
};

// One line of the include list: the amount right-aligned in 3 places with the recipe
// percentage decimals, its trailing zeros blanked, every blank around the number doubled, then
// "%  " and the material name; an addition's line starts with "+ ".
std::string VarrowIncludeLine(double amount, const std::string& name, bool addition);

// Glaze C's share of a corner for the typed percentages, as shown: 100 minus their sum within
// 0..100, one decimal, trailing zeros removed.
std::string VarrowShareText(double kaolin, double silica);
