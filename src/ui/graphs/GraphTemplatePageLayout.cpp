// The controls of the six editor pages in dialog units. The pages are 392 x 206 units.

#include "graphs/GraphTemplatePage.h"

#include "graphs/StylePicker.h"
#include "support/NotesEdit.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>

namespace {

struct STitleRow {
    const char* text;
    int autoId;
    int customId;
    int editId;
    int verticalId; // 0: none
};

} // namespace

void BuildTypeTitlesPage(CGraphTemplatePage& page)
{
    page.AddLabel("Name :", 6, 8, 32);
    page.AddEdit(kGeName, 40, 6, 180);
    page.AddLabel("Graph type:", 6, 24, 42);
    page.AddCombo(kGeType, 50, 22, 170, 200, false);
    page.AddLabel("Use in Glaze Edit view :", 232, 8, 120);
    page.AddCheck(kGeUseInAnalysis, "Analysis", 240, 20, 90);
    page.AddCheck(kGeUseInLimitFormula, "Limit formula", 240, 32, 90);
    static const STitleRow kRows[] = {
        {"Graph Title:", kGeTitleTopAuto, kGeTitleTopCustom, kGeTitleTop, 0},
        {"Left Title:", kGeTitleLeftAuto, kGeTitleLeftCustom, kGeTitleLeft, kGeTitleLeftVertical},
        {"Right Title:", kGeTitleRightAuto, kGeTitleRightCustom, kGeTitleRight, kGeTitleRightVertical},
        {"Bottom Title:", kGeTitleBottomAuto, kGeTitleBottomCustom, kGeTitleBottom, 0},
    };
    int y = 50;
    for (const STitleRow& row : kRows) {
        page.AddLabel(row.text, 6, y, 52);
        page.AddRadio(row.autoId, row.autoId, 0, "Automatic", 60, y, 52);
        page.AddRadio(row.autoId, row.customId, 1, "", 114, y, 10);
        page.AddEdit(row.editId, 126, y - 2, 200);
        if (row.verticalId)
            page.AddCheck(row.verticalId, "Vertical", 332, y, 50);
        y += 16;
    }
    page.AddLabel("Notes :", 6, 116, 40);
    auto* notes = new CNotesEdit(&page);
    notes->setTabChangesFocus(true);
    page.AddControl(kGeNotes, notes, 6, 126, 362, 74);
    page.AddButton(kGeNotesButton, "...", 372, 126, 14, 12);
}

void BuildStylesPage(CGraphTemplatePage& page)
{
    static const std::pair<int, const char*> kChecks[] = {
        {kGeLabels, "Axis Labels"},     {kGeGridX, "X Grid"},           {kGeGridY, "Y Grid"},
        {kGeBorders, "Bar/Segment Borders"}, {kGeSticks, "Sticks"},   {kGeHorizontalBars, "Horizontal Bars"},
        {kGePareto, "Sort Descending"}, {kGeReverse, "Reverse Order"}, {kGeMono, "Monochrome"},
        {kGeAutoColors, "Auto Colors"}, {kGeNoLegend, "No Legend"},
    };
    int y = 6;
    for (const auto& [id, text] : kChecks) {
        page.AddCheck(id, text, 6, y, 110);
        y += 12;
    }
    page.AddLabelledEdit(kGeBarWidth, kGeBarWidthLabel, "Bar width (0 - 100) :", 6, 144, 80, 30);
    page.AddLabelledEdit(kGeSymbolSize, kGeSymbolSizeLabel, "Symbol Size (%) :", 6, 160, 80, 30);

    page.AddGroup(0, "3D", 124, 0, 134, 172);
    page.AddCheck(kGe3D, "3D Pie/Bar", 130, 10, 100);
    page.AddCheck(kGeTrue3D, "True 3D Bar", 130, 22, 100);
    page.AddCheck(kGePerspective, "Perspective", 130, 34, 100);
    page.AddCheck(kGeCageFlip, "Cage Flipping", 130, 46, 100);
    page.AddCheck(kGeThinCage, "Thin Cage", 130, 58, 100);
    page.AddLabelledEdit(kGeThickness, kGeThicknessLabel, "Thickness (10 - 200) :", 130, 72, 88, 30);
    page.AddLabelledEdit(kGeBarWidth3D, kGeBarWidth3DLabel, "Bar Width (0 - 100) :", 130, 88, 88, 30);
    page.AddLabelledEdit(kGeBarDepth, kGeBarDepthLabel, "Bar Depth (0 - 100) :", 130, 104, 88, 30);
    page.AddLabelledEdit(kGeRotation, kGeRotationLabel, "Rotation (-180 - 180) :", 130, 120, 88, 30);
    page.AddLabelledEdit(kGeElevation, kGeElevationLabel, "Elevation (-90 - 90) :", 130, 136, 88, 30);
    page.AddLabelledEdit(kGeDistance, kGeDistanceLabel, "Distance (0 - 100) :", 130, 152, 88, 30);

    page.AddLabel("Text Styles:", 266, 6, 100);
    page.AddList(kGeTextGroups, 266, 16, 120, 62);
    page.AddCombo(kGeTextFamily, 266, 84, 120, 80, false);
    page.AddCombo(kGeTextStyle, 266, 102, 120, 60, false);
    page.AddLabelledEdit(kGeTextSize, 0, "Size (%) :", 266, 120, 44, 30);
}

namespace {

struct SAxisBox {
    int boxId;
    const char* title;
    int x;
    int manualId;
    int firstValueId; // minimum, maximum, major and minor ticks follow
    int sideId;       // 0: none
    const char* sideText;
    int oppositeId;
    int verticalId;
};

void BuildAxisBox(CGraphTemplatePage& page, const SAxisBox& axis)
{
    page.AddGroup(axis.boxId, axis.title, axis.x, 0, 126, 152);
    const int x = axis.x + 6;
    page.AddCheck(axis.manualId, "Manual settings", x, 12, 100);
    static const char* const kValueLabels[4] = {"Minimum :", "Maximum :", "Major Ticks :", "Minor Ticks :"};
    for (int k = 0; k < 4; ++k)
        page.AddLabelledEdit(axis.firstValueId + k, 0, kValueLabels[k], x, 26 + k * 16, 52, 54);
    if (axis.sideId) {
        page.AddCheck(axis.sideId, axis.sideText, x, 96, 100);
        page.AddCheck(axis.oppositeId, "Opposite side", x, 108, 100);
    }
    if (axis.verticalId)
        page.AddCheck(axis.verticalId, "Vertical Labels", x, 120, 100);
}

} // namespace

void BuildAxesPage(CGraphTemplatePage& page)
{
    BuildAxisBox(page, {kGeXAxisBox, "X Axis", 4, kGeXManual, kGeXMin, kGeXBottom, "Axis at Bottom", kGeXTop,
                        kGeXVertical});
    BuildAxisBox(page, {kGeYAxisBox, "Y Axis", 134, kGeYManual, kGeYMin, kGeYLeft, "Axis at Left", kGeYRight, 0});
    BuildAxisBox(page, {kGeZAxisBox, "Z Axis", 264, kGeZManual, kGeZMin, 0, nullptr, 0, 0});
    page.AddRadio(kGeTicksInside, kGeTicksInside, 0, "Ticks inside axes", 10, 162, 100);
    page.AddRadio(kGeTicksInside, kGeTicksAcross, 1, "Ticks across axes", 140, 162, 100);
    page.AddRadio(kGeTicksInside, kGeTicksOutside, 2, "Ticks outside axes", 270, 162, 100);
}

void BuildDataPage(CGraphTemplatePage& page)
{
    QLabel* fieldsLabel = page.AddLabel("Pie/Bar Fields :", 6, 4, 90, kGeFieldsLabel);
    QListWidget* fields = page.AddList(kGeFields, 6, 14, 100, 170);
    fields->setSelectionMode(QAbstractItemView::MultiSelection);
    page.SetBuddy(kGeFields, fieldsLabel);
    page.AddCheck(kGeAllBars, "Show all bars", 6, 190, 90);

    page.AddLabel("Oxides as", 116, 6, 38);
    page.AddRadio(kGeUnitsUnity, kGeUnitsUnity, 0, "Unity", 156, 6, 40);
    page.AddRadio(kGeUnitsUnity, kGeUnitsWeight, 1, "% Weight", 198, 6, 50);
    page.AddRadio(kGeUnitsUnity, kGeUnitsMolecular, 2, "%  Molecular", 252, 6, 64);

    page.AddGroup(kGeScatterBox, "Scatter plots :", 112, 20, 276, 62);
    struct SScatterRow { const char* text; int labelId; int comboId; int y; };
    static const SScatterRow kScatter[] = {{"X Axis :", kGeScatterXLabel, kGeScatterX, 30},
        {"Y Axis :", kGeScatterYLabel, kGeScatterY, 46}, {"Z Axis :", kGeScatterZLabel, kGeScatterZ, 62}};
    for (const SScatterRow& row : kScatter) {
        QLabel* label = page.AddLabel(row.text, 118, row.y + 2, 70, row.labelId);
        page.AddCombo(row.comboId, 190, row.y, 120, 160, false);
        page.SetBuddy(row.comboId, label);
    }

    page.AddGroup(kGeHistogramBox, "Histogram :", 112, 86, 276, 50);
    QLabel* histogramLabel = page.AddLabel("X Axis :", 118, 98, 40, kGeHistogramXLabel);
    page.AddCombo(kGeHistogramX, 160, 96, 100, 160, false);
    page.SetBuddy(kGeHistogramX, histogramLabel);
    page.AddCheck(kGeHistogramPercent, "Pct", 272, 98, 30);
    page.AddLabelledEdit(kGeHistogramMin, kGeHistogramMinLabel, "Minimum :", 118, 116, 38, 40);
    page.AddLabelledEdit(kGeHistogramMax, kGeHistogramMaxLabel, "Maximum :", 200, 116, 38, 40);
    page.AddLabelledEdit(kGeHistogramSteps, kGeHistogramStepsLabel, "# of Steps :", 284, 116, 46, 30);

    QLabel* imageLabel = page.AddLabel("2D scatter / triaxial background image file :", 112, 142, 220, kGeImageLabel);
    page.AddEdit(kGeImage, 112, 154, 220);
    page.SetBuddy(kGeImage, imageLabel);
    page.AddButton(kGeImageBrowse, "Browse...", 336, 153, 44, 14);
    QLabel* limitLabel = page.AddLabel("Limit formula :", 112, 176, 60, kGeLimitLabel);
    page.AddCombo(kGeLimit, 174, 174, 160, 120, true);
    page.SetBuddy(kGeLimit, limitLabel);
}

void BuildDataSourcesPage(CGraphTemplatePage& page)
{
    page.AddList(kGeDsList, 6, 6, 110, 150);
    page.AddButton(kGeDsAdd, "Add New", 6, 160, 54, 14);
    page.AddButton(kGeDsDelete, "Delete", 62, 160, 54, 14);
    page.AddButton(kGeDsUp, "Up", 6, 178, 54, 14);
    page.AddButton(kGeDsDown, "Down", 62, 178, 54, 14);

    page.AddLabel("Name :", 124, 8, 30);
    page.AddEdit(kGeDsName, 156, 6, 180);
    page.AddButton(kGeDsSetName, "Set", 340, 5, 30, 14);
    page.AddRadio(kGeDsCurrentDb, kGeDsCurrentDb, 0, "Current Database", 124, 24, 100);
    page.AddRadio(kGeDsCurrentDb, kGeDsAllDbs, 1, "All Databases", 124, 36, 100);
    page.AddRadio(kGeDsCurrentDb, kGeDsSpecificDb, 2, "Specific Database :", 124, 48, 100);
    page.AddList(kGeDsDatabases, 124, 60, 120, 70);
    page.AddRadio(kGeDsCurrentGlaze, kGeDsCurrentGlaze, 0, "Current Glaze", 250, 24, 100);
    page.AddRadio(kGeDsCurrentGlaze, kGeDsSelectedGlazes, 1, "Selected Glazes", 250, 36, 100);
    page.AddRadio(kGeDsCurrentGlaze, kGeDsAllGlazes, 2, "All Glazes", 250, 48, 100);
    page.AddRadio(kGeDsCurrentGlaze, kGeDsSpecificGlazes, 3, "Specific Glazes :", 250, 60, 100);
    page.AddList(kGeDsGlazes, 250, 72, 136, 58);
    page.AddButton(kGeDsCheckAll, "Check All", 250, 132, 44, 12);
    page.AddButton(kGeDsClearAll, "Clear All", 296, 132, 44, 12);
    page.AddButton(kGeDsGetSelected, "Get Selected", 342, 132, 44, 12);

    page.AddLabel("Color set :", 124, 150, 40);
    for (int set = 0; set < kGraphColorSetCount; ++set) {
        const std::string text = std::to_string(set + 1);
        page.AddRadio(kGeDsFirstColorSet, kGeDsFirstColorSet + set, set, text.c_str(), 166 + set * 18, 150, 18);
    }
    page.AddLabel("Color :", 124, 164, 40);
    for (int c = 0; c < kGraphColorSetSize; ++c)
        page.AddControl(kGeDsFirstColor + c, new CColorSwatchButton, 166 + c * 13, 162, 12, 11);
    page.AddLabel("Symbol :", 124, 178, 40);
    for (int k = 0; k < kGraphSymbolCount; ++k)
        page.AddControl(kGeDsFirstSymbol + k, new CLineStyleButton(k), 166 + k * 13, 176, 12, 11);
    page.AddLabel("Pattern :", 124, 192, 40);
    for (int p = 0; p < kGraphPatternCount; ++p)
        page.AddControl(kGeDsFirstPattern + p, new CMarkerButton(p), 166 + p * 13, 190, 12, 11);
    page.AddCheck(kGeDsUsePattern, "Use pattern with color", 276, 192, 100);
}

void BuildGraphPage(CGraphTemplatePage& page)
{
    page.AddLabel("Current database :", 6, 6, 68);
    page.AddCombo(kGeGraphDatabase, 76, 4, 130, 120, false);
    QLabel* glazeLabel = page.AddLabel("Glaze :", 214, 6, 28);
    page.AddCombo(kGeGraphGlaze, 244, 4, 110, 160, false);
    page.SetBuddy(kGeGraphGlaze, glazeLabel);
    page.AddButton(kGeRedraw, "Redraw", 358, 3, 30, 14);
    auto* area = new QFrame;
    area->setFrameShape(QFrame::Panel);
    area->setFrameShadow(QFrame::Sunken);
    page.AddControl(kGePreview, area, 4, 22, 384, 180);
}
