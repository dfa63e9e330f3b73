#pragma once

// The six pages of the graph-template editor: Type/Titles, Styles, Axes, Data, Data Sources and
// Graph. A page is a plain panel of controls in the colour "grted_tab"; the editor form owns the
// meaning of every control and reaches each one by its control id. The builders below lay the
// controls out in dialog units and record, for each control that has one, its label, so that
// the form can enable a control together with its label.

#include <QWidget>

#include <map>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// Control ids of the editor form (template 190) and its pages (templates 191 to 196).
enum GraphTemplateEditControl : int {
    // The form.
    kGeSave = 6600,
    kGeUndo = 6601,
    kGePrevious = 6602,
    kGeNext = 6603,
    kGeJump = 6604,
    kGeClose = 6605,
    kGeFirstTab = 6610, // 6610..6615, pages 1..6

    // Page 1, Type/Titles.
    kGeName = 6620,
    kGeType = 6621,
    kGeNotes = 6623,
    kGeTitleTopAuto = 6624, // radio group: 6624 Automatic, 6625 custom
    kGeTitleTopCustom = 6625,
    kGeTitleTop = 6626,
    kGeTitleLeftAuto = 6627,
    kGeTitleLeftCustom = 6628,
    kGeTitleLeft = 6629,
    kGeTitleLeftVertical = 6630,
    kGeTitleBottomAuto = 6631,
    kGeTitleBottomCustom = 6632,
    kGeTitleBottom = 6633,
    kGeTitleRightAuto = 6634,
    kGeTitleRightCustom = 6635,
    kGeTitleRight = 6636,
    kGeTitleRightVertical = 6637,
    kGeUseInAnalysis = 7073,
    kGeUseInLimitFormula = 7074,
    kGeNotesButton = 7076,

    // Page 2, Styles.
    kGeLabels = 6651,
    kGeBorders = 6652,
    kGeGridX = 6653,
    kGeGridY = 6654,
    kGePareto = 6655,
    kGeSticks = 6656,
    kGeReverse = 6657,
    kGeMono = 6658,
    kGeAutoColors = 6659,
    kGeHorizontalBars = 6660,
    kGeBarWidthLabel = 6661,
    kGeBarWidth = 6662,
    kGeSymbolSizeLabel = 6663,
    kGeSymbolSize = 6664,
    kGe3D = 6666,
    kGePerspective = 6667,
    kGeCageFlip = 6668,
    kGeThinCage = 6669,
    kGeThickness = 6670,
    kGeBarWidth3D = 6671,
    kGeBarDepth = 6672,
    kGeRotation = 6673,
    kGeElevation = 6674,
    kGeDistance = 6675,
    kGeThicknessLabel = 6676,
    kGeBarWidth3DLabel = 6677,
    kGeBarDepthLabel = 6678,
    kGeRotationLabel = 6679,
    kGeElevationLabel = 6680,
    kGeDistanceLabel = 6681,
    kGeTrue3D = 6682,
    kGeTextGroups = 6684,
    kGeTextFamily = 6685,
    kGeTextStyle = 6686,
    kGeTextSize = 6688,
    kGeNoLegend = 6689,

    // Page 3, Axes.
    kGeXAxisBox = 6700,
    kGeXManual = 6701,
    kGeXMin = 6702,
    kGeXMax = 6703,
    kGeXTicks = 6704,
    kGeXMinorTicks = 6705,
    kGeXBottom = 6710,
    kGeXTop = 6711,
    kGeXVertical = 6712,
    kGeYAxisBox = 6713,
    kGeYManual = 6714,
    kGeYMin = 6715,
    kGeYMax = 6716,
    kGeYTicks = 6717,
    kGeYMinorTicks = 6718,
    kGeYLeft = 6723,
    kGeYRight = 6724,
    kGeZAxisBox = 6725,
    kGeZManual = 6726,
    kGeZMin = 6727,
    kGeZMax = 6728,
    kGeZTicks = 6729,
    kGeZMinorTicks = 6730,
    kGeTicksInside = 6735, // radio group 6735..6737
    kGeTicksAcross = 6736,
    kGeTicksOutside = 6737,

    // Page 4, Data.
    kGeFieldsLabel = 6750,
    kGeFields = 6751,
    kGeAllBars = 6752,
    kGeScatterBox = 6753,
    kGeScatterXLabel = 6754,
    kGeScatterYLabel = 6755,
    kGeScatterZLabel = 6756,
    kGeScatterX = 6757,
    kGeScatterY = 6758,
    kGeScatterZ = 6759,
    kGeUnitsUnity = 6760, // radio group 6760..6762
    kGeUnitsWeight = 6761,
    kGeUnitsMolecular = 6762,
    kGeHistogramBox = 6763,
    kGeHistogramXLabel = 6764,
    kGeHistogramX = 6765,
    kGeHistogramMinLabel = 6766,
    kGeHistogramMin = 6767,
    kGeHistogramMaxLabel = 6768,
    kGeHistogramMax = 6769,
    kGeHistogramPercent = 6770,
    kGeHistogramStepsLabel = 6771,
    kGeHistogramSteps = 6772,
    kGeImageLabel = 6773,
    kGeImage = 6774,
    kGeImageBrowse = 6775,
    kGeLimitLabel = 6776,
    kGeLimit = 6777,

    // Page 5, Data Sources.
    kGeDsAdd = 6800,
    kGeDsDelete = 6801,
    kGeDsUp = 6802,
    kGeDsDown = 6803,
    kGeDsList = 6804,
    kGeDsName = 6805,
    kGeDsCurrentDb = 6806, // radio group 6806..6808
    kGeDsAllDbs = 6807,
    kGeDsSpecificDb = 6808,
    kGeDsDatabases = 6809,
    kGeDsCurrentGlaze = 6810, // radio group: 6810 current, 6811 selected, 6813 all, 6812 specific
    kGeDsSelectedGlazes = 6811,
    kGeDsSpecificGlazes = 6812,
    kGeDsAllGlazes = 6813,
    kGeDsGlazes = 6814,
    kGeDsFirstColorSet = 6815, // 6815..6822
    kGeDsFirstColor = 6823,    // 6823..6838
    kGeDsFirstSymbol = 6839,   // 6839..6852
    kGeDsSetName = 6857,
    kGeDsClearAll = 6858,
    kGeDsCheckAll = 6859,
    kGeDsGetSelected = 6860,
    kGeDsFirstPattern = 6862, // 6862..6869
    kGeDsUsePattern = 6870,

    // Page 6, Graph.
    kGeGraphDatabase = 6880,
    kGeGraphGlaze = 6881,
    kGeRedraw = 6883,
    kGePreview = 6885,
};

inline constexpr int kGraphEditPageCount = 6;

// One page: its controls by id, their labels and the radio groups (by their first id).
class CGraphTemplatePage : public QWidget {
    Q_OBJECT

public:
    CGraphTemplatePage(int page, QWidget* parent);

    int Page() const { return m_page; }

    // Builders: each control gets its id as object name and a place in dialog units.
    QLabel* AddLabel(const char* text, int x, int y, int width, int id = 0);
    QCheckBox* AddCheck(int id, const char* text, int x, int y, int width);
    QLineEdit* AddEdit(int id, int x, int y, int width);
    QComboBox* AddCombo(int id, int x, int y, int width, int dropHeight, bool editable);
    QListWidget* AddList(int id, int x, int y, int width, int height);
    QPushButton* AddButton(int id, const char* text, int x, int y, int width, int height);
    QGroupBox* AddGroup(int id, const char* text, int x, int y, int width, int height);
    // A radio button of the group whose first button has groupId, standing for value.
    QRadioButton* AddRadio(int groupId, int id, int value, const char* text, int x, int y, int width);
    // Registers a control made elsewhere (the pickers) under its id.
    void AddControl(int id, QWidget* control, int x, int y, int width, int height);
    // A labelled edit: "text" at x, the edit after it.
    QLineEdit* AddLabelledEdit(int id, int labelId, const char* text, int x, int y, int labelWidth, int editWidth);

    void Place(QWidget* control, int x, int y, int width, int height) const;

    const std::map<int, QWidget*>& Controls() const { return m_controls; }
    // The label that belongs to a control (null when it has none).
    const std::map<int, QLabel*>& Buddies() const { return m_buddies; }
    const std::map<int, QButtonGroup*>& RadioGroups() const { return m_groups; }
    void SetBuddy(int id, QLabel* label) { m_buddies[id] = label; }

private:
    void Register(int id, QWidget* control);

    int m_page;
    std::map<int, QWidget*> m_controls;
    std::map<int, QLabel*> m_buddies;
    std::map<int, QButtonGroup*> m_groups;
};

// The page builders (GraphTemplatePageLayout.cpp).
void BuildTypeTitlesPage(CGraphTemplatePage& page);
void BuildStylesPage(CGraphTemplatePage& page);
void BuildAxesPage(CGraphTemplatePage& page);
void BuildDataPage(CGraphTemplatePage& page);
void BuildDataSourcesPage(CGraphTemplatePage& page);
void BuildGraphPage(CGraphTemplatePage& page);
