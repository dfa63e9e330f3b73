#include "tools/BatchCalcDlg.h"

#include "framework/Cp1252.h"
#include "glazes/RecipeByVolume.h"
#include "materials/Material.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "support/ChoiceBox.h"
#include "support/FocusWatcher.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextOption>

#include <algorithm>

namespace {

// The two layouts, in dialog units: the compact one leaves room for the scroll bar.
constexpr int kNormalWidth = 400;
constexpr int kNormalHeight = 306;
constexpr int kCompactWidth = 412;
constexpr int kCompactHeight = 305;

const std::vector<int> kRemainderTabs = {30, 40, 50, 60};
const std::vector<int> kMaterialTabs = {35, 45, 55, 65};
const std::vector<int> kRecipeBoxTabs = {65, 75, 85, 95};
const std::vector<int> kOriginalRecipeTabs = {70, 80, 90, 100, 110, 120, 130, 140};
const std::vector<int> kSuggestionTabs = {70, 75, 95, 100, 105, 110, 115, 120};

} // namespace

CBatchCalcDlg::CBatchCalcDlg(QWidget* parent, CMaterialArray* materials)
    : CStyledDialog(parent, kBatchCalcHelpId), calc(materials), m_materials(materials)
{
    setWindowTitle(QStringLiteral("Formula to Batch Calculation"));
    backgroundColor = GetNamedColor("dlg_batch_bkg");
    m_content = new QWidget(this);
    BuildFormulaArea();
    BuildRemainderArea();
    BuildMaterialArea();
    BuildRecipeArea();
    BuildButtons();
    ConnectControls();
    WatchFocus();
    ResizeDlu(kNormalWidth, kNormalHeight);
    m_content->resize(size());
}

void CBatchCalcDlg::Place(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

QPushButton* CBatchCalcDlg::MakeButton(const char* text, int id, int x, int y, int width, int height)
{
    auto* button = new QPushButton(QString::fromLatin1(text), m_content);
    SetControlId(button, id);
    Place(button, x, y, width, height);
    return button;
}

QListWidget* CBatchCalcDlg::MakeList(int id, const std::vector<int>& tabStopsDlu)
{
    auto* list = new QListWidget(m_content);
    SetControlId(list, id);
    auto* delegate = new CTabStopDelegate(list);
    delegate->SetTabStops(TabStopsFromDlu(font(), tabStopsDlu));
    list->setItemDelegate(delegate);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

void CBatchCalcDlg::BuildFormulaArea()
{
    Place(new QLabel(QStringLiteral(" Formula :"), m_content), 5, 5, 36, 9);
    MakeButton("...", kBatchEditFormula, 42, 4, 14, 10)->setToolTip(QStringLiteral("Edit Formula"));
    m_formula = new QPlainTextEdit(m_content);
    SetControlId(m_formula, kBatchFormula);
    m_formula->setTabChangesFocus(true);
    Place(m_formula, 5, 16, 262, 32);
    MakeButton("Restart from Formula", kBatchRestart, 272, 4, 80, 13);
    MakeButton("Convert Formula...", kBatchConvert, 272, 19, 80, 13);
    m_combine = new QCheckBox(QStringLiteral("Combine K and Na"), m_content);
    SetControlId(m_combine, kBatchCombineKNa);
    Place(m_combine, 272, 36, 80, 10);
}

void CBatchCalcDlg::BuildRemainderArea()
{
    Place(new QLabel(QStringLiteral("Remainders :"), m_content), 5, 54, 46, 9);
    m_unitGroup = new QButtonGroup(this);
    static const char* const kUnits[4] = {"Molecular", "Weight", "% Molecular", "% Weight"};
    static const int kUnitX[4] = {50, 102, 144, 204};
    static const int kUnitWidth[4] = {50, 40, 58, 54};
    for (int unit = 0; unit < 4; ++unit) {
        auto* radio = new QRadioButton(QString::fromLatin1(kUnits[unit]), m_content);
        SetControlId(radio, kBatchUnitFirst + unit);
        Place(radio, kUnitX[unit], 53, kUnitWidth[unit], 10);
        m_unitGroup->addButton(radio, unit);
    }
    static const int kIds[kRemainderListCount] = {kBatchAlkaliList, kBatchNeutralList, kBatchOtherList};
    for (int list = 0; list < kRemainderListCount; ++list) {
        QListWidget* box = MakeList(kIds[list], kRemainderTabs);
        Place(box, 5 + 88 * list, 65, 86, 76);
        m_remainderLists[static_cast<std::size_t>(list)] = box;
    }
}

void CBatchCalcDlg::BuildMaterialArea()
{
    m_materialsList = MakeList(kBatchMaterialsList, kMaterialTabs);
    Place(m_materialsList, 272, 52, 123, 134);
    QPalette colors = m_materialsList->palette();
    colors.setColor(QPalette::Base, ToQColor(GetNamedColor("mat_list")));
    m_materialsList->setPalette(colors);

    Place(new QLabel(QStringLiteral("Material :"), m_content), 5, 148, 34, 9);
    m_material = new QLineEdit(m_content);
    SetControlId(m_material, kBatchMaterial);
    Place(m_material, 40, 146, 120, 12);
    MakeButton("?", kBatchMaterialInfo, 162, 146, 12, 12);
    Place(new QLabel(QStringLiteral("Amount :"), m_content), 178, 148, 31, 9);
    m_amount = new QComboBox(m_content);
    SetControlId(m_amount, kBatchAmount);
    MakeChoiceBox(m_amount);
    m_amount->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Place(m_amount, 210, 146, 57, 12);
    m_amount->view()->setMinimumWidth(CDialogUnits(font()).X(90));
    m_providesLine = new QLabel(m_content);
    SetControlId(m_providesLine, kBatchProvidesLine);
    Place(m_providesLine, 5, 162, 262, 9);
    m_analysisLine = new QLabel(m_content);
    SetControlId(m_analysisLine, kBatchAnalysisLine);
    Place(m_analysisLine, 5, 172, 262, 9);
    MakeButton("Use Material", kBatchUseMaterial, 5, 184, 84, 13);
    MakeButton("Make Suggestion", kBatchMakeSuggestion, 93, 184, 84, 13);
    MakeButton("Undo Last Material", kBatchUndo, 181, 184, 86, 13);
}

void CBatchCalcDlg::BuildRecipeArea()
{
    Place(new QLabel(QStringLiteral("Recipe so far :"), m_content), 5, 202, 60, 9);
    m_recipeBox = new QPlainTextEdit(m_content);
    SetControlId(m_recipeBox, kBatchRecipeBox);
    m_recipeBox->setReadOnly(true);
    m_recipeBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    QTextOption option = m_recipeBox->document()->defaultTextOption();
    QList<QTextOption::Tab> tabs;
    for (int stop : TabStopsFromDlu(font(), kRecipeBoxTabs))
        tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));
    option.setTabs(tabs);
    m_recipeBox->document()->setDefaultTextOption(option);
    QPalette colors = m_recipeBox->palette();
    colors.setColor(QPalette::Base, Qt::white);
    m_recipeBox->setPalette(colors);
    Place(m_recipeBox, 5, 212, 180, 72);

    m_modeGroup = new QButtonGroup(this);
    auto* original = new QRadioButton(QStringLiteral("Original recipe"), m_content);
    SetControlId(original, kBatchModeOriginal);
    Place(original, 192, 201, 70, 10);
    auto* suggestions = new QRadioButton(QStringLiteral("Suggestions"), m_content);
    SetControlId(suggestions, kBatchModeSuggestions);
    Place(suggestions, 266, 201, 60, 10);
    m_modeGroup->addButton(original, kBatchListOriginalRecipe);
    m_modeGroup->addButton(suggestions, kBatchListSuggestions);
    m_recipeList = MakeList(kBatchRecipeList, kOriginalRecipeTabs);
    m_recipeListDelegate = static_cast<CTabStopDelegate*>(m_recipeList->itemDelegate());
    Place(m_recipeList, 192, 212, 203, 72);
}

void CBatchCalcDlg::BuildButtons()
{
    MakeButton("OK", 1, 5, 289, 50, 13);
    MakeButton("Cancel", 2, 60, 289, 50, 13);
    MakeButton("Setup...", kBatchSetup, 290, 289, 50, 13);
    QPushButton* help = MakeButton("?", kHelpButtonId, 375, 289, 20, 13);
    connect(help, &QPushButton::clicked, this, &CBatchCalcDlg::OnHelp);
}

QPushButton* CBatchCalcDlg::Button(int id) const
{
    return m_content->findChild<QPushButton*>(QString::number(id));
}

void CBatchCalcDlg::ConnectControls()
{
    const std::pair<int, void (CBatchCalcDlg::*)()> buttons[] = {
        {kBatchUseMaterial, &CBatchCalcDlg::OnUseMaterial},  {kBatchMakeSuggestion, &CBatchCalcDlg::OnMakeSuggestion},
        {kBatchUndo, &CBatchCalcDlg::OnUndoLastMaterial},    {kBatchRestart, &CBatchCalcDlg::OnRestartFromFormula},
        {kBatchMaterialInfo, &CBatchCalcDlg::OnMaterialInfo}, {kBatchEditFormula, &CBatchCalcDlg::OnEditFormula},
        {kBatchConvert, &CBatchCalcDlg::OnConvertFormula},   {kBatchSetup, &CBatchCalcDlg::OnSetup},
        {1, &CBatchCalcDlg::accept},                         {2, &CBatchCalcDlg::reject},
    };
    for (const auto& [id, handler] : buttons)
        connect(Button(id), &QPushButton::clicked, this, handler);
    connect(m_combine, &QCheckBox::clicked, this, &CBatchCalcDlg::OnCombineKNa);
    connect(m_unitGroup, &QButtonGroup::idClicked, this, &CBatchCalcDlg::OnRemainderUnit);
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &CBatchCalcDlg::OnListMode);
    for (int list = 0; list < kRemainderListCount; ++list) {
        connect(m_remainderLists[static_cast<std::size_t>(list)], &QListWidget::currentRowChanged, this,
                [this, list](int row) { OnRemainderPicked(list, row); });
    }
    connect(m_materialsList, &QListWidget::itemSelectionChanged, this, &CBatchCalcDlg::OnMaterialsListPicked);
    connect(m_materialsList, &QListWidget::itemDoubleClicked, this, &CBatchCalcDlg::OnMaterialsListDoubleClicked);
    connect(m_recipeList, &QListWidget::itemSelectionChanged, this, &CBatchCalcDlg::OnListPicked);
    connect(m_recipeList, &QListWidget::itemDoubleClicked, this, &CBatchCalcDlg::OnListDoubleClicked);
    connect(m_amount, &QComboBox::activated, this, &CBatchCalcDlg::OnAmountChoice);
}

void CBatchCalcDlg::WatchFocus()
{
    CFocusWatcher::Watch(m_material, nullptr, [this] { OnMaterialLeft(); });
    CFocusWatcher::Watch(m_amount, nullptr, [this] { OnAmountLeft(); });
    CFocusWatcher::Watch(m_formula, nullptr, [this] { OnFormulaLeft(); });
}

void CBatchCalcDlg::OnInitDialog()
{
    // The batch colour is black unless the user chose one and the caller gave none: the
    // captions must stay readable on it.
    const CColor& back = backgroundColor;
    const bool dark = 299 * back.r + 587 * back.g + 114 * back.b < 128000;
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
    setPalette(colors);
    m_compact = IsSmallScreen();
    if (m_compact) {
        ResizeDlu(kCompactWidth, kCompactHeight);
        m_content->resize(CDialogUnits(font()).X(kNormalWidth), height());
    }
    FillMaterialsList();
    if (QAbstractButton* radio = m_unitGroup->button(calc.GetRemainderUnit()))
        radio->setChecked(true);
    m_modeGroup->button(calc.GetListMode())->setChecked(true);
    calc.Start();
    ShowCalc();
    if (m_compact)
        FitToSmallScreen();
    if (QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen())
        move(screen->availableGeometry().center() - rect().center());
    m_material->setFocus();
}

CMaterialArray* CBatchCalcDlg::Materials() const
{
    if (m_materials)
        return m_materials;
    return g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
}

void CBatchCalcDlg::FillMaterialsList()
{
    m_materialsList->clear();
    CMaterialArray* materials = Materials();
    if (!materials)
        return;
    for (const auto& record : materials->Records())
        m_materialsList->addItem(FromCp1252(record->m_code + "\t" + record->m_name));
}

// The window is cut to what the screen leaves beside its task bars (twice the work area less
// the screen height) and the contents scroll by whole pixels.
void CBatchCalcDlg::FitToSmallScreen()
{
    QScreen* screen = this->screen();
    if (!screen)
        return;
    const int limit = 2 * screen->availableGeometry().height() - screen->geometry().height();
    if (limit <= 0 || height() <= limit)
        return;
    const int overflow = height() - limit;
    resize(width(), limit);
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    const int barWidth = m_scrollBar->sizeHint().width();
    m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, limit);
    m_scrollBar->setRange(0, overflow);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(overflow);
    m_scrollBar->setValue(0);
    m_scrollBar->show();
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &CBatchCalcDlg::OnScroll);
}

void CBatchCalcDlg::OnScroll(int position)
{
    m_content->move(0, -position);
    m_content->repaint();
}

std::vector<std::string> CBatchCalcDlg::RowTexts(const QListWidget* list)
{
    std::vector<std::string> texts;
    for (int row = 0; row < list->count(); ++row)
        texts.push_back(ToCp1252(list->item(row)->text()));
    return texts;
}

// --- the calculator's results on the screen ----------------------------------------------------

void CBatchCalcDlg::TakeBoxes()
{
    calc.m_formulaText = ToCp1252(m_formula->toPlainText());
    calc.m_materialText = ToCp1252(m_material->text());
    calc.m_amountText = ToCp1252(m_amount->currentText());
}

void CBatchCalcDlg::ShowCalc()
{
    m_showing = true;
    const QString formula = FromCp1252(calc.m_formulaText);
    if (m_formula->toPlainText() != formula)
        m_formula->setPlainText(formula);
    const QString material = FromCp1252(calc.m_materialText);
    if (m_material->text() != material)
        m_material->setText(material);
    m_providesLine->setText(FromCp1252(calc.m_providesLine));
    m_analysisLine->setText(FromCp1252(calc.m_analysisLine));
    for (int list = 0; list < kRemainderListCount; ++list)
        ShowRows(m_remainderLists[static_cast<std::size_t>(list)], calc.m_remainderRows[static_cast<std::size_t>(list)],
                 m_shownRemainders[static_cast<std::size_t>(list)]);
    ShowAmountChoices();
    ShowRecipeBox();
    ShowMaterialSelection();
    ShowListRows();
    m_combine->setChecked(calc.GetCombineKNa());
    m_showing = false;
}

// A remainder list is left without a selection; it is rebuilt only when its rows changed, so
// that picking a row does not pull the list away under the mouse.
void CBatchCalcDlg::ShowRows(QListWidget* list, const std::vector<CBatchListRow>& rows,
                             std::vector<CBatchListRow>& shown)
{
    if (rows != shown || list->count() != static_cast<int>(rows.size())) {
        list->clear();
        for (const CBatchListRow& row : rows) {
            auto* item = new QListWidgetItem(FromCp1252(row.text), list);
            item->setData(Qt::UserRole, row.data);
        }
        shown = rows;
    }
    list->clearSelection();
    list->setCurrentRow(-1);
}

void CBatchCalcDlg::ShowAmountChoices()
{
    if (m_shownChoices != calc.m_amountChoiceRows) {
        m_amount->clear();
        for (const CBatchListRow& row : calc.m_amountChoiceRows)
            m_amount->addItem(FromCp1252(row.text), row.data);
        m_shownChoices = calc.m_amountChoiceRows;
    }
    m_amount->setCurrentIndex(-1);
    m_amount->setEditText(FromCp1252(calc.m_amountText));
}

void CBatchCalcDlg::ShowRecipeBox()
{
    // The box keeps CR LF line ends in the calculator; the edit shows plain line breaks.
    std::string text = calc.m_recipeBoxText;
    std::erase(text, '\r');
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    const QString shown = FromCp1252(text);
    if (m_recipeBox->toPlainText() == shown)
        return;
    m_recipeBox->setPlainText(shown);
    m_recipeBox->moveCursor(QTextCursor::End);
    m_recipeBox->ensureCursorVisible();
}

void CBatchCalcDlg::ShowMaterialSelection()
{
    const int row = calc.m_selectedMaterial;
    if (row >= 0 && row < m_materialsList->count()) {
        m_materialsList->setCurrentRow(row);
        m_materialsList->scrollToItem(m_materialsList->item(row));
    } else {
        m_materialsList->clearSelection();
        m_materialsList->setCurrentRow(-1);
    }
}

void CBatchCalcDlg::ShowListRows()
{
    std::vector<CBatchListRow> rows = calc.BuildListRows();
    if (rows == m_shownListRows && m_recipeList->count() == static_cast<int>(rows.size()))
        return;
    m_recipeListDelegate->SetTabStops(TabStopsFromDlu(
        font(), calc.GetListMode() == kBatchListSuggestions ? kSuggestionTabs : kOriginalRecipeTabs));
    m_recipeList->clear();
    for (const CBatchListRow& row : rows) {
        auto* item = new QListWidgetItem(FromCp1252(row.text), m_recipeList);
        item->setData(Qt::UserRole, row.data);
    }
    m_shownListRows = std::move(rows);
}

bool RunBatchCalculation(CIngredientList& components, CIngredientList& additions, QWidget* parent,
                         const char* colorWhenBlack, bool byVolume)
{
    CBatchCalcDlg dialog(parent);
    if (colorWhenBlack && dialog.backgroundColor == CColor(0, 0, 0))
        dialog.backgroundColor = GetNamedColor(colorWhenBlack);
    dialog.calc.m_originalComponents = components;
    dialog.calc.m_originalAdditions = additions;
    // The calculator counts in grams: without a density for every line there is no formula.
    if (byVolume &&
        !ConvertByDensityAsking({&dialog.calc.m_originalComponents, &dialog.calc.m_originalAdditions}, true))
        return false;
    dialog.calc.m_resultByVolume = byVolume;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    components = dialog.calc.m_originalComponents;
    additions = dialog.calc.m_originalAdditions;
    return true;
}
