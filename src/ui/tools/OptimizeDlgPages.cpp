// Building the Optimize dialog: the page buttons, the six pages and the buttons below them.
// Positions are in dialog units; page controls are placed relative to their page.

#include "tools/OptimizeDlg.h"

#include "framework/Cp1252.h"
#include "support/FocusWatcher.h"
#include "support/ToggleButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

constexpr const char* kPageCaptions[kOptPageCount] = {"Oxides 1",   "Oxides 2", "Materials 1",
                                                      "Materials 2", "Optimize", "Results"};
// The page area and the button row, in dialog units.
constexpr int kPageLeft = 5;
constexpr int kPageTop = 22;
constexpr int kPageWidth = 330;
constexpr int kPageHeight = 212;
constexpr int kButtonRow = 240;
constexpr int kRowPitch = 14;

QLabel* MakeLabel(QWidget* parent, const char* text, int id = 0)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    if (id != 0)
        label->setObjectName(QString::number(id));
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, int id = 0)
{
    auto* edit = new QLineEdit(parent);
    if (id != 0)
        edit->setObjectName(QString::number(id));
    return edit;
}

} // namespace

void COptimizeDlg::Place(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

QPushButton* COptimizeDlg::MakeButton(QWidget* parent, const char* text, int id, int x, int y, int width, int height)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    SetControlId(button, id);
    Place(button, x, y, width, height);
    return button;
}

QButtonGroup* COptimizeDlg::MakeRadios(QWidget* page, const std::vector<const char*>& captions, int firstId,
                                       const std::vector<std::pair<int, int>>& positions, int width)
{
    auto* group = new QButtonGroup(page);
    for (std::size_t n = 0; n < captions.size(); ++n) {
        auto* radio = new QRadioButton(QString::fromLatin1(captions[n]), page);
        SetControlId(radio, firstId + static_cast<int>(n));
        Place(radio, positions[n].first, positions[n].second, width, 10);
        group->addButton(radio, static_cast<int>(n));
    }
    return group;
}

void COptimizeDlg::BuildPageButtons()
{
    for (int page = 0; page < kOptPageCount; ++page) {
        auto* button = new CToggleButton(this);
        SetControlId(button, kOptPageButtonFirst + page);
        button->setText(QString::fromLatin1(kPageCaptions[page]));
        Place(button, kPageLeft + 55 * page, 4, 52, 14);
        connect(button, &QAbstractButton::clicked, this, [this, page] { ShowPage(page); });
        m_pageButtons[static_cast<std::size_t>(page)] = button;
    }
}

void COptimizeDlg::BuildPages()
{
    m_pages = {BuildOxidePage(0),      BuildOxidePage(1),  BuildMaterialsPage(),
               BuildMaterialRowsPage(), BuildOptimizePage(), BuildResultsPage()};
    for (QWidget* page : m_pages) {
        Place(page, kPageLeft, kPageTop, kPageWidth, kPageHeight);
        page->hide();
    }
}

// The four fields of a constraint row and the "%" labels after its values.
void COptimizeDlg::MakeRowFields(QWidget* page, COptConstraintRow& row, int x, int y)
{
    row.op1 = MakeEdit(page);
    Place(row.op1, x, y, 14, 12);
    row.value1 = MakeEdit(page);
    Place(row.value1, x + 16, y, 32, 12);
    row.percent1 = MakeLabel(page, "%");
    Place(row.percent1, x + 49, y + 2, 6, 9);
    row.op2 = MakeLabel(page, "");
    Place(row.op2, x + 56, y + 2, 14, 9);
    row.value2 = MakeEdit(page);
    Place(row.value2, x + 71, y, 32, 12);
    row.percent2 = MakeLabel(page, "%");
    Place(row.percent2, x + 104, y + 2, 6, 9);
    row.percent1->hide();
    row.percent2->hide();
}

void COptimizeDlg::WatchRow(COptConstraintRow& row, bool material)
{
    COptConstraintRow* target = &row;
    CFocusWatcher::Watch(row.op1, nullptr, [this, target] { OnOp1Left(*target); });
    CFocusWatcher::Watch(row.value1, [this, target] { OnValue1Entered(*target); },
                         [this, target] { OnValue1Left(*target); });
    CFocusWatcher::Watch(row.value2, [this, target] { OnValue2Entered(*target); },
                         [this, target] { OnValue2Left(*target); });
    if (material)
        CFocusWatcher::Watch(row.name, nullptr, [this, target] { OnMaterialNameLeft(*target); });
}

QWidget* COptimizeDlg::BuildOxidePage(int oxidePage)
{
    auto* page = new QWidget(this);
    QButtonGroup* units = MakeRadios(page, {"Unity", "% Weight", "% Molecular"}, kOptUnitFirst,
                                     {{4, 2}, {46, 2}, {96, 2}}, 64);
    connect(units, &QButtonGroup::idClicked, this, &COptimizeDlg::OnUnit);
    m_unitGroups[static_cast<std::size_t>(oxidePage)] = units;
    QPushButton* scale = MakeButton(page, "Scale to 100%", kOptScaleTo100, 268, 1, 58, 12);
    connect(scale, &QPushButton::clicked, this, &COptimizeDlg::OnScaleTo100);
    m_scaleButtons[static_cast<std::size_t>(oxidePage)] = scale;
    BuildOxideColumn(page, 2 * oxidePage, 4);
    BuildOxideColumn(page, 2 * oxidePage + 1, 168);
    QLabel* sum = MakeLabel(page, "", kOptSumLine);
    Place(sum, 4, 196, 322, 10);
    m_sumLines[static_cast<std::size_t>(oxidePage)] = sum;
    return page;
}

void COptimizeDlg::BuildOxideColumn(QWidget* page, int column, int x)
{
    for (int r = 0; r < kOptRowsPerColumn; ++r) {
        COptConstraintRow& row = OxideRow(column, r);
        const int y = 18 + kRowPitch * r;
        row.label = MakeLabel(page, "");
        Place(row.label, x, y + 2, 34, 9);
        MakeRowFields(page, row, x + 36, y);
        WatchRow(row, false);
    }
}

QWidget* COptimizeDlg::BuildMaterialsPage()
{
    auto* page = new QWidget(this);
    Place(MakeLabel(page, "Allowed materials :"), 4, 2, 100, 9);
    m_allowedList = new QListWidget(page);
    SetControlId(m_allowedList, kOptAllowedList);
    Place(m_allowedList, 4, 13, 200, 194);
    m_materialChoice = MakeRadios(page, {"Available Materials", "All Materials"}, kOptAvailableMaterials,
                                  {{212, 16}, {212, 29}}, 100);
    connect(m_materialChoice, &QButtonGroup::idClicked, this, &COptimizeDlg::OnMaterialChoice);
    connect(MakeButton(page, "Check All", kOptCheckAll, 212, 56, 64, 14), &QPushButton::clicked, this,
            [this] { OnCheckAll(true); });
    connect(MakeButton(page, "Uncheck All", kOptUncheckAll, 212, 74, 64, 14), &QPushButton::clicked, this,
            [this] { OnCheckAll(false); });
    return page;
}

QWidget* COptimizeDlg::BuildMaterialRowsPage()
{
    auto* page = new QWidget(this);
    Place(MakeLabel(page, "Material constraints :"), 4, 3, 90, 9);
    m_materialUnit = MakeRadios(page, {"Weight", "% Weight"}, kOptMaterialWeight, {{110, 2}, {156, 2}}, 44);
    connect(m_materialUnit, &QButtonGroup::idClicked, this, [this] { ShowPercentLabels(); });
    connect(MakeButton(page, "Clear All", kOptClearMaterials, 268, 1, 58, 12), &QPushButton::clicked, this,
            &COptimizeDlg::OnClearMaterials);
    for (int r = 0; r < kOptMaterialRows; ++r) {
        COptConstraintRow& row = m_materialRows[static_cast<std::size_t>(r)];
        const int y = 18 + kRowPitch * r;
        row.name = MakeEdit(page);
        Place(row.name, 4, y, 120, 12);
        MakeRowFields(page, row, 128, y);
        WatchRow(row, true);
    }
    return page;
}

QWidget* COptimizeDlg::BuildOptimizePage()
{
    auto* page = new QWidget(this);
    Place(MakeLabel(page, "Expansion :"), 4, 6, 40, 9);
    m_expansionRow.op1 = MakeEdit(page, kOptExpansionOp1);
    Place(m_expansionRow.op1, 46, 4, 14, 12);
    m_expansionRow.value1 = MakeEdit(page, kOptExpansionValue1);
    Place(m_expansionRow.value1, 62, 4, 32, 12);
    m_expansionRow.op2 = MakeLabel(page, "", kOptExpansionOp2);
    Place(m_expansionRow.op2, 98, 6, 14, 9);
    m_expansionRow.value2 = MakeEdit(page, kOptExpansionValue2);
    Place(m_expansionRow.value2, 114, 4, 32, 12);
    WatchRow(m_expansionRow, false);

    Place(MakeLabel(page, "Default +/- tolerances :"), 4, 28, 120, 9);
    Place(MakeLabel(page, "Oxide :"), 14, 42, 40, 9);
    m_oxideTolerance = MakeEdit(page, kOptOxideTolerance);
    Place(m_oxideTolerance, 60, 40, 32, 12);
    Place(MakeLabel(page, "% of target value"), 96, 42, 80, 9);
    Place(MakeLabel(page, "Material :"), 14, 58, 40, 9);
    m_materialTolerance = MakeEdit(page, kOptMaterialTolerance);
    Place(m_materialTolerance, 60, 56, 32, 12);
    Place(MakeLabel(page, "% of target value"), 96, 58, 80, 9);
    for (QLineEdit* edit : {m_oxideTolerance, m_materialTolerance})
        CFocusWatcher::Watch(edit, nullptr, [this, edit] { OnNumberFieldLeft(edit); });
    BuildGoalControls(page);
    return page;
}

void COptimizeDlg::BuildGoalControls(QWidget* page)
{
    Place(MakeLabel(page, "Goal :"), 4, 80, 40, 9);
    m_direction = MakeRadios(page, {"Minimize", "Maximize"}, kOptMinimize, {{14, 92}, {70, 92}}, 52);
    m_goal = MakeRadios(page, {"Cost", "Loss on ignition", "Expansion"}, kOptGoalFirst,
                        {{14, 106}, {70, 106}, {146, 106}}, 72);
    Place(MakeLabel(page, "Recipe size :"), 4, 128, 50, 9);
    m_recipeSize = MakeEdit(page, kOptRecipeSize);
    Place(m_recipeSize, 60, 126, 40, 12);
    CFocusWatcher::Watch(m_recipeSize, nullptr, [this] { OnNumberFieldLeft(m_recipeSize); });
    m_weightBasis = MakeRadios(page, {"raw weight", "fired weight"}, kOptRawWeight, {{106, 127}, {160, 127}}, 52);
    connect(MakeButton(page, "Find Optimal Recipe", kOptFindRecipe, 4, 152, 90, 16), &QPushButton::clicked, this,
            &COptimizeDlg::OnFindOptimalRecipe);
    m_debug = new QCheckBox(QStringLiteral("Debugging output"), page);
    SetControlId(m_debug, kOptDebugOutput);
    Place(m_debug, 110, 155, 90, 10);
}

QWidget* COptimizeDlg::BuildResultsPage()
{
    auto* page = new QWidget(this);
    m_status = MakeLabel(page, "", kOptStatusLine);
    m_status->setWordWrap(true);
    m_leftPane = new QPlainTextEdit(page);
    m_rightPane = new QPlainTextEdit(page);
    SetControlId(m_leftPane, kOptLeftPane);
    SetControlId(m_rightPane, kOptRightPane);
    ShowStatus(std::string());
    for (QPlainTextEdit* pane : {m_leftPane, m_rightPane}) {
        pane->setReadOnly(true);
        pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    m_leftButtons = new QButtonGroup(page);
    m_rightButtons = new QButtonGroup(page);
    static const char* const kLeft[2] = {"Recipe", "Cost"};
    for (int n = 0; n < 2; ++n) {
        QPushButton* button = MakeButton(page, kLeft[n], kOptRecipeButton + n, 4 + 54 * n, 193, 50, 13);
        button->setCheckable(true);
        m_leftButtons->addButton(button, n + 1);
    }
    static const char* const kRight[3] = {"Unity Formula", "Weight %", "Molecular %"};
    for (int n = 0; n < 3; ++n) {
        QPushButton* button = MakeButton(page, kRight[n], kOptUnityButton + n, 136 + 64 * n, 193, 60, 13);
        button->setCheckable(true);
        m_rightButtons->addButton(button, n + 1);
    }
    connect(m_leftButtons, &QButtonGroup::idClicked, this, &COptimizeDlg::OnLeftPane);
    connect(m_rightButtons, &QButtonGroup::idClicked, this, &COptimizeDlg::OnRightPane);
    return page;
}

// The status line holds two lines: a failure says which row is wrong and why, which does not fit
// in one. A longer message (one that lists every oxide a unity formula cannot hold) takes the
// lines it needs, and the panes below start lower: a run that failed has no results to show.
void COptimizeDlg::ShowStatus(const std::string& message)
{
    constexpr int kStatusLines = 19; // dialog units
    constexpr int kPanesTop = 21;
    constexpr int kPanesHeight = 168;
    m_status->setText(FromCp1252(message));
    Place(m_status, 4, 1, 322, kStatusLines);
    const int grown = std::max(m_status->heightForWidth(m_status->width()) - m_status->height(), 0);
    m_status->resize(m_status->width(), m_status->height() + grown);
    Place(m_leftPane, 4, kPanesTop, 128, kPanesHeight);
    Place(m_rightPane, 136, kPanesTop, 190, kPanesHeight);
    for (QPlainTextEdit* pane : {m_leftPane, m_rightPane})
        pane->setGeometry(pane->geometry().adjusted(0, grown, 0, 0));
}

void COptimizeDlg::BuildBottomButtons()
{
    connect(MakeButton(this, "Load constraints...", kOptLoadConstraints, 5, kButtonRow, 72, 14),
            &QPushButton::clicked, this, &COptimizeDlg::OnLoadConstraints);
    connect(MakeButton(this, "Clear all constraints", kOptClearConstraints, 81, kButtonRow, 78, 14),
            &QPushButton::clicked, this, &COptimizeDlg::OnClearConstraints);
    connect(MakeButton(this, "Save", 1, 170, kButtonRow, 40, 14), &QPushButton::clicked, this,
            &COptimizeDlg::OnSave);
    connect(MakeButton(this, "Cancel", 2, 214, kButtonRow, 40, 14), &QPushButton::clicked, this,
            &COptimizeDlg::reject);
    connect(MakeButton(this, "Setup...", kOptSetup, 262, kButtonRow, 44, 14), &QPushButton::clicked, this,
            &COptimizeDlg::OnSetup);
    AddHelpButton(315, kButtonRow, 20, 14);
}
