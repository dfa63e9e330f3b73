// The glaze edit form's controls: the row of page buttons, the five pages (Description, Recipe,
// Notes, Analysis, Limit Formula) with their controls in form order, and the button row. Places
// are in dialog units, so the layout follows the form's font.

#include "glazes/GlazeEditView.h"

#include "framework/Cp1252.h"
#include "glazes/GlazeEditPageFields.h"
#include "glazes/RecipeAmountAligner.h"
#include "graphs/GraphWnd.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/ChoiceBox.h"
#include "support/DialogStyle.h"
#include "support/FocusWatcher.h"
#include "support/NotesEdit.h"
#include "support/TabEdit.h"
#include "support/ToggleButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>

namespace {

constexpr int kFormWidth = 416;
constexpr int kFormHeight = 256;
constexpr int kPageX = 4;
constexpr int kPageY = 20;
constexpr int kPageWidth = 408;
constexpr int kPageHeight = 214;

const char* const kPageCaptions[kGlazeEditPageCount] = {"Description", "Recipe", "Notes", "Analysis",
                                                        "Limit Formula"};

const std::vector<int> kRecipeTabStops = {70, 80, 90, 100, 110, 120, 130, 140};
const std::vector<int> kAnalysisTextTabStops = {4, 36, 68, 100, 132, 164};
const std::vector<int> kMaterialTabStops = {35, 45, 55, 65};
const std::vector<int> kLimitListTabStops = {6, 12};

const QRect kAnalysisPaneArea(6, 18, 238, 192);
const QRect kComparisonArea(142, 18, 262, 192);

void SetBackground(QWidget* widget, QPalette::ColorRole role, const char* colorName)
{
    QPalette colors = widget->palette();
    colors.setColor(role, ToQColor(GetNamedColor(colorName)));
    widget->setPalette(colors);
    widget->setAutoFillBackground(true);
}

// Tab stops at the given dialog units of the box's font; past the last one they repeat at the
// last interval.
void ApplyTabStops(QPlainTextEdit* box, const std::vector<int>& units)
{
    const std::vector<int> stops = TabStopsFromDlu(box->font(), units);
    QTextOption option = box->document()->defaultTextOption();
    QList<qreal> positions;
    for (int stop : stops)
        positions.append(stop);
    option.setTabArray(positions);
    box->document()->setDefaultTextOption(option);
    if (stops.size() >= 2)
        box->setTabStopDistance(stops[stops.size() - 1] - stops[stops.size() - 2]);
}

} // namespace

void CGlazeEditView::Place(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

QWidget* CGlazeEditView::NewPage(int page)
{
    auto* widget = new QWidget(m_form);
    widget->setObjectName(QStringLiteral("page%1").arg(page));
    Place(widget, kPageX, kPageY, kPageWidth, kPageHeight);
    SetBackground(widget, QPalette::Window, "ged_tab");
    widget->hide();
    m_pages[static_cast<std::size_t>(page - 1)] = widget;
    return widget;
}

QLabel* CGlazeEditView::AddLabel(QWidget* page, const QString& text, int x, int y, int width)
{
    auto* label = new QLabel(text, page);
    Place(label, x, y, width, 10);
    return label;
}

QLineEdit* CGlazeEditView::AddLineEdit(QWidget* page, int x, int y, int width, const char* name)
{
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    Place(edit, x, y, width, 12);
    return edit;
}

QPushButton* CGlazeEditView::AddButton(QWidget* parent, const QString& text, int id, int x, int y, int width,
                                       int height)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    Place(button, x, y, width, height);
    m_buttons.push_back(button);
    return button;
}

CToggleButton* CGlazeEditView::AddToggle(QWidget* parent, const char* caption, int x, int y, int width)
{
    auto* button = new CToggleButton(parent);
    button->Setup(GetNamedColor("ged_tab"), GetNamedColor("gan_but"), CColor{0, 0, 0}, CColor{0, 0, 0},
                  CToggleButton::ArrowNone, 1, 0, caption);
    button->setObjectName(FromCp1252(caption));
    button->setFocusPolicy(Qt::NoFocus);
    Place(button, x, y, width, 12);
    return button;
}

QPlainTextEdit* CGlazeEditView::AddPaneText(QWidget* page, const QRect& area, const char* name)
{
    auto* pane = new QPlainTextEdit(page);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setReadOnly(true);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    Place(pane, area.x(), area.y(), area.width(), area.height());
    return pane;
}

void CGlazeEditView::BuildForm()
{
    m_form = new QWidget;
    const CDialogUnits units(font());
    m_form->resize(units.X(kFormWidth), units.Y(kFormHeight));
    SetBackground(m_form, QPalette::Window, "ged_bkg");
    BuildPageButtons();
    BuildDescriptionPage(NewPage(kPageDescription));
    BuildRecipePage(NewPage(kPageRecipe));
    BuildNotesPage(NewPage(kPageNotes));
    BuildAnalysisPage(NewPage(kPageAnalysis));
    BuildLimitPage(NewPage(kPageLimitFormula));
    BuildButtonRow();
    ColorPanes();
    SetTabStops();
    ConnectButtons();
    setWidget(m_form);
}

void CGlazeEditView::BuildPageButtons()
{
    for (int page = 1; page <= kGlazeEditPageCount; ++page) {
        auto* button = new CToggleButton(m_form);
        button->Setup(GetNamedColor("ged_bkg"), GetNamedColor("ged_tab"), CColor{0, 0, 0}, CColor{0, 0, 0},
                      CToggleButton::ArrowNone, 1, 0, kPageCaptions[page - 1]);
        button->setObjectName(QStringLiteral("pageButton%1").arg(page));
        button->setFocusPolicy(Qt::NoFocus);
        Place(button, 6 + 66 * (page - 1), 5, 64, 14);
        connect(button, &QAbstractButton::clicked, this, [this, page] { ShowPage(page); });
        m_pageButtons[static_cast<std::size_t>(page - 1)] = button;
    }
}

void CGlazeEditView::BuildButtonRow()
{
    AddButton(m_form, QStringLiteral("Save Changes"), kGedSave, 6, 238, 56, 14);
    AddButton(m_form, QStringLiteral("Undo Changes"), kGedUndo, 66, 238, 56, 14);
    AddButton(m_form, QStringLiteral("Edit Previous"), kGedPrevious, 126, 238, 56, 14);
    AddButton(m_form, QStringLiteral("Edit Next"), kGedNext, 186, 238, 56, 14);
    AddButton(m_form, QStringLiteral("Jump To..."), kGedJumpTo, 246, 238, 50, 14);
    AddButton(m_form, QStringLiteral("Close"), kGedClose, 300, 238, 44, 14);
    QPushButton* help = AddButton(m_form, QStringLiteral("?"), kHelpButtonId, 390, 238, 20, 14);
    connect(help, &QPushButton::clicked, this, [] { ShowDialogHelp(kGlazeEditHelpId); });
}

void CGlazeEditView::BuildDescriptionPage(QWidget* page)
{
    AddLabel(page, QStringLiteral("Name :"), 6, 8, 40);
    m_name = AddLineEdit(page, 60, 6, 196, "name");
    AddLabel(page, QStringLiteral("Date :"), 262, 8, 22);
    m_date = AddLineEdit(page, 286, 6, 52, "date");
    AddLabel(page, QStringLiteral("Index :"), 342, 8, 26);
    m_index = AddLineEdit(page, 368, 6, 34, "index");
    // Seven choice fields on the left, six on the right.
    for (std::size_t i = 0; i < kGlazeChoiceFields.size(); ++i) {
        const int column = i < 7 ? 0 : 1;
        const int row = i < 7 ? static_cast<int>(i) : static_cast<int>(i) - 7;
        const int x = column == 0 ? 6 : 208;
        const int y = 26 + 20 * row;
        AddLabel(page, QString::fromLatin1(kGlazeChoiceFields[i].label), x, y + 2, 52);
        auto* box = new QComboBox(page);
        box->setObjectName(QStringLiteral("choice%1").arg(i));
        MakeChoiceBox(box);
        Place(box, x + 54, y, 136, 12);
        m_choices[i] = box;
    }
    AddLabel(page, QStringLiteral("Image File :"), 6, 174, 52);
    m_imageFile = AddLineEdit(page, 60, 172, 240, "imageFile");
    AddButton(page, QStringLiteral("Browse"), kGedImageBrowse, 306, 171, 46, 14);
    AddButton(page, QStringLiteral("View"), kGedImageView, 356, 171, 46, 14);
}

void CGlazeEditView::BuildRecipePage(QWidget* page)
{
    AddLabel(page, QStringLiteral("Components :"), 6, 4, 80);
    m_components = new CTabEdit(page);
    m_components->setObjectName(QStringLiteral("components"));
    m_components->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_components->SetPartner(this);
    m_aligners[0] = new CRecipeAmountAligner(m_components->document());
    Place(m_components, 6, 14, 152, 96);
    AddLabel(page, QStringLiteral("Additions :"), 6, 114, 80);
    m_additions = new CTabEdit(page);
    m_additions->setObjectName(QStringLiteral("additions"));
    m_additions->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_additions->SetPartner(this);
    m_aligners[1] = new CRecipeAmountAligner(m_additions->document());
    Place(m_additions, 6, 124, 152, 48);
    m_recipeSize = AddLabel(page, QString(), 6, 176, 152);
    m_recipeSize->setObjectName(QStringLiteral("recipeSize"));
    AddLabel(page, QStringLiteral("Working Batch Size :"), 6, 190, 76);
    m_batchSize = AddLineEdit(page, 84, 188, 50, "batchSize");
    m_byVolume = new QCheckBox(QStringLiteral("Recipe by Volume"), page);
    m_byVolume->setObjectName(QStringLiteral("byVolume"));
    Place(m_byVolume, 6, 202, 90, 10);
    BuildRecipeButtons(page);
    BuildRecipeRightPane(page);
}

void CGlazeEditView::BuildRecipeButtons(QWidget* page)
{
    AddButton(page, QStringLiteral("Scale to W.B.S."), kGedScaleBatch, 164, 14, 72, 14);
    AddButton(page, QStringLiteral("Scale to 100 g"), kGedScale100, 164, 32, 72, 14);
    AddButton(page, QStringLiteral("Weight <-> Volume"), kGedWeightVolume, 164, 50, 72, 14);
    AddButton(page, QStringLiteral("Check Ingredients"), kGedCheckIngredients, 164, 76, 72, 14);
    AddButton(page, QStringLiteral("Make Substitution"), kGedMakeSubstitution, 164, 102, 72, 14);
    AddButton(page, QStringLiteral("Batch Calculation"), kGedBatchCalculation, 164, 120, 72, 14);
}

void CGlazeEditView::BuildRecipeRightPane(QWidget* page)
{
    m_materialsToggle = AddToggle(page, "Materials", 242, 2, 80);
    m_analysisToggle = AddToggle(page, "Analysis", 324, 2, 80);
    m_materialList = new QListWidget(page);
    m_materialList->setObjectName(QStringLiteral("materialList"));
    m_materialList->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* delegate = new CTabStopDelegate(m_materialList);
    m_materialList->setItemDelegate(delegate);
    Place(m_materialList, 242, 16, 162, 194);
    m_recipeAnalysis = AddPaneText(page, QRect(242, 16, 162, 178), "recipeAnalysis");
    m_recipeAnalysis->hide();
    const char* const captions[3] = {"Unity", "Weight %", "Mol %"};
    for (int i = 0; i < 3; ++i) {
        m_recipeModeButtons[static_cast<std::size_t>(i)] = AddToggle(page, captions[i], 242 + 55 * i, 197, 52);
        m_recipeModeButtons[static_cast<std::size_t>(i)]->hide();
    }
}

void CGlazeEditView::BuildNotesPage(QWidget* page)
{
    AddLabel(page, QStringLiteral("Variations :"), 6, 4, 80);
    AddButton(page, QStringLiteral("..."), kGedEnlargeVariations, 386, 2, 16, 10);
    m_variations = new CNotesEdit(page);
    m_variations->setObjectName(QStringLiteral("variations"));
    m_variations->setTabChangesFocus(true);
    Place(m_variations, 6, 14, 396, 52);
    AddLabel(page, QStringLiteral("Notes :"), 6, 70, 80);
    AddButton(page, QStringLiteral("..."), kGedEnlargeNotes, 386, 68, 16, 10);
    m_notes = new CNotesEdit(page);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setTabChangesFocus(true);
    Place(m_notes, 6, 80, 396, 88);
    AddLabel(page, QStringLiteral("Note File :"), 6, 176, 44);
    m_noteFile = AddLineEdit(page, 52, 174, 250, "noteFile");
    AddButton(page, QStringLiteral("Browse"), kGedNoteBrowse, 306, 173, 46, 14);
    AddButton(page, QStringLiteral("View"), kGedNoteView, 356, 173, 46, 14);
    AddLabel(page, QStringLiteral("Source :"), 6, 196, 44);
    m_source = AddLineEdit(page, 52, 194, 350, "source");
}

void CGlazeEditView::BuildGraphButtons(QWidget* page, int pane, int x, int y, const QRect& chartArea)
{
    GraphPane& graph = Pane(pane);
    graph.textButton = AddButton(page, QStringLiteral("T"), 0, x, y, 14, 12);
    graph.textButton->setObjectName(QStringLiteral("textButton%1").arg(pane));
    graph.graphButton = AddButton(page, QStringLiteral("G"), 0, x + 16, y, 14, 12);
    graph.graphButton->setObjectName(QStringLiteral("graphButton%1").arg(pane));
    graph.chart = new CGraphWnd(page);
    graph.chart->setObjectName(QStringLiteral("chart%1").arg(pane));
    graph.host = std::make_unique<CWidgetChartWindow>(page);
    Place(graph.chart, chartArea.x(), chartArea.y(), chartArea.width(), chartArea.height());
    graph.area = graph.chart->geometry();
    graph.chart->hide();
    graph.leftOut = new QLabel(page);
    graph.leftOut->setObjectName(QStringLiteral("leftOut%1").arg(pane));
    graph.leftOut->setAutoFillBackground(true);
    Place(graph.leftOut, chartArea.x() + 1, chartArea.y() + 1, chartArea.width() - 2, 10);
    graph.leftOut->hide();
    connect(graph.textButton, &QPushButton::clicked, this, [this, pane] { ShowText(pane); });
    connect(graph.graphButton, &QPushButton::clicked, this, [this, pane] { ShowGraph(pane); });
}

void CGlazeEditView::BuildAnalysisPage(QWidget* page)
{
    const char* const modes[3] = {"Unity Formula", "Weight %", "Molecular %"};
    const int modeX[3] = {6, 74, 128};
    const int modeWidth[3] = {66, 52, 56};
    for (int i = 0; i < 3; ++i)
        m_analysisModeButtons[static_cast<std::size_t>(i)] = AddToggle(page, modes[i], modeX[i], 3, modeWidth[i]);
    AddButton(page, QStringLiteral("..."), kGedEnlargeAnalysis, 188, 3, 16, 12);
    m_analysisPane = AddPaneText(page, kAnalysisPaneArea, "analysisPane");
    BuildGraphButtons(page, kGraphPaneAnalysis, 210, 3, kAnalysisPaneArea);

    // Two rows of mode buttons over the recipe pane, its enlarge button at the end of the second.
    const char* const recipeModes[4] = {"Recipe Amount", "Working Batch", "Percent", "Cost per Kg"};
    const int modeLeft[4] = {250, 328, 250, 312};
    const int modeWidths[4] = {76, 76, 60, 60};
    for (int i = 0; i < 4; ++i)
        m_recipePaneButtons[static_cast<std::size_t>(i)] =
            AddToggle(page, recipeModes[i], modeLeft[i], 3 + 13 * (i / 2), modeWidths[i]);
    AddButton(page, QStringLiteral("..."), kGedEnlargeRecipe, 388, 16, 16, 12);
    m_recipePane = AddPaneText(page, QRect(250, 31, 154, 179), "recipePane");
}

void CGlazeEditView::BuildLimitPage(QWidget* page)
{
    m_limitList = new QListWidget(page);
    m_limitList->setObjectName(QStringLiteral("limitList"));
    m_limitList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_limitList->setItemDelegate(new CTabStopDelegate(m_limitList));
    Place(m_limitList, 6, 4, 130, 186);
    AddButton(page, QStringLiteral("Set Default"), kGedSetDefault, 6, 194, 60, 14);
    m_comparisonLabel = AddLabel(page, QString(), 142, 5, 180);
    m_comparisonLabel->setObjectName(QStringLiteral("comparisonLabel"));
    AddButton(page, QStringLiteral("..."), kGedEnlargeComparison, 388, 3, 16, 12);
    m_comparisonText = AddPaneText(page, kComparisonArea, "comparisonText");
    BuildGraphButtons(page, kGraphPaneLimit, 350, 3, kComparisonArea);
}

// The panes' colours: the analysis colours, or white when the preferences turn colours off.
void CGlazeEditView::ColorPanes()
{
    const bool mono = CAppContext::IsActive() && g_prefs.m_nMonoPanes != 0;
    const char* analysis = mono ? "mono_white" : "gan_bkg";
    const char* recipe = mono ? "mono_white" : "ganr_bkg";
    SetBackground(m_materialList, QPalette::Base, "mat_list");
    SetBackground(m_recipeAnalysis, QPalette::Base, analysis);
    SetBackground(m_analysisPane, QPalette::Base, analysis);
    SetBackground(m_recipePane, QPalette::Base, recipe);
    SetBackground(m_limitList, QPalette::Base, "lim_list");
    SetBackground(m_comparisonText, QPalette::Base, analysis);
    for (CToggleButton* button : {m_materialsToggle, m_analysisToggle}) {
        const char* pressed = button == m_materialsToggle ? "mat_but" : "gan_but";
        button->Setup(GetNamedColor("ged_tab"), GetNamedColor(pressed), CColor{0, 0, 0}, CColor{0, 0, 0},
                      CToggleButton::ArrowNone, 1, button->state, ToCp1252(button->text()));
    }
    for (CToggleButton* button : m_recipePaneButtons)
        button->Setup(GetNamedColor("ged_tab"), GetNamedColor("ganr_but"), CColor{0, 0, 0}, CColor{0, 0, 0},
                      CToggleButton::ArrowNone, 1, button->state, ToCp1252(button->text()));
}

void CGlazeEditView::SetTabStops()
{
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(m_components), static_cast<QPlainTextEdit*>(m_additions),
                                m_recipePane})
        ApplyTabStops(box, kRecipeTabStops);
    ApplyTabStops(m_recipeAnalysis, kAnalysisTextTabStops);
    static_cast<CTabStopDelegate*>(m_materialList->itemDelegate())
        ->SetTabStops(TabStopsFromDlu(m_materialList->font(), kMaterialTabStops));
    static_cast<CTabStopDelegate*>(m_limitList->itemDelegate())
        ->SetTabStops(TabStopsFromDlu(m_limitList->font(), kLimitListTabStops));
}

void CGlazeEditView::ConnectButtons()
{
    const auto onClick = [this](int id, auto handler) {
        connect(Button(id), &QPushButton::clicked, this, handler);
    };
    onClick(kGedSave, [this] {
        if (!CommitForSave())
            return;
        SaveGlaze();
        if (m_nModified == 0)
            GlazeToControls(m_work);
    });
    DropsEditsOnClick(*Button(kGedUndo));
    onClick(kGedUndo, [this] { EditGlaze(m_nSourceIndex); });
    onClick(kGedPrevious, [this] { EditPrevious(); });
    onClick(kGedNext, [this] { EditNext(); });
    onClick(kGedJumpTo, [this] { JumpTo(); });
    onClick(kGedClose, [this] { Close(); });
    onClick(kGedScaleBatch, [this] { ScaleRecipe(); });
    onClick(kGedScale100, [this] { ScaleTo100(); });
    onClick(kGedWeightVolume, [this] { ConvertWeightVolume(); });
    onClick(kGedCheckIngredients, [this] { CheckIngredients(); });
    onClick(kGedMakeSubstitution, [this] { MakeSubstitution(); });
    onClick(kGedBatchCalculation, [this] { BatchCalculation(); });
    onClick(kGedImageBrowse, [this] { BrowseFile(true); });
    onClick(kGedImageView, [this] { ViewFile(true); });
    onClick(kGedNoteBrowse, [this] { BrowseFile(false); });
    onClick(kGedNoteView, [this] { ViewFile(false); });
    onClick(kGedEnlargeVariations, [this] { EnlargeNotes(true); });
    onClick(kGedEnlargeNotes, [this] { EnlargeNotes(false); });
    for (int id : {kGedEnlargeAnalysis, kGedEnlargeRecipe, kGedEnlargeComparison})
        onClick(id, [this, id] { EnlargePane(id); });
    onClick(kGedSetDefault, [this] { SetDefaultLimitFormula(); });
    connect(m_materialsToggle, &QAbstractButton::clicked, this, [this] { SetRecipeRightPane(1); });
    connect(m_analysisToggle, &QAbstractButton::clicked, this, [this] { SetRecipeRightPane(2); });
    for (int i = 0; i < 3; ++i) {
        connect(m_recipeModeButtons[static_cast<std::size_t>(i)], &QAbstractButton::clicked, this,
                [this, i] { SetAnalysisMode(i + 1); });
        connect(m_analysisModeButtons[static_cast<std::size_t>(i)], &QAbstractButton::clicked, this,
                [this, i] { SetAnalysisMode(i + 1); });
    }
    for (int i = 0; i < 4; ++i)
        connect(m_recipePaneButtons[static_cast<std::size_t>(i)], &QAbstractButton::clicked, this,
                [this, i] { SetRecipePaneMode(i + 1); });
    connect(m_materialList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { InsertMaterial(m_materialList->row(item)); });
    connect(m_limitList, &QListWidget::itemSelectionChanged, this, [this] { OnLimitFormulaSelected(); });
}

QPushButton* CGlazeEditView::Button(int id) const
{
    const QString name = QString::number(id);
    for (QPushButton* button : m_buttons) {
        if (button->objectName() == name)
            return button;
    }
    return nullptr;
}

// Every control of the form reports its focus changes and the form's keys to the view.
void CGlazeEditView::InstallFilters()
{
    for (QWidget* child : m_form->findChildren<QWidget*>())
        child->installEventFilter(this);
}
