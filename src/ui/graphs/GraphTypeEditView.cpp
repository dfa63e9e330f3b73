#include "graphs/GraphTypeEditView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "graphs/GraphTemplateClipboard.h"
#include "graphs/GraphTemplateDatabase.h"
#include "graphs/GraphTypeEditViewPreview.h"
#include "graphs/GraphTypeTable.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"
#include "support/NotesEdit.h"
#include "support/ToggleButton.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kGlazesKind = static_cast<int>(DbFileType::Glazes);
constexpr int kFormWidth = 400;
constexpr int kFormHeight = 252;
constexpr int kPageX = 4;
constexpr int kPageY = 20;
constexpr int kPageWidth = 392;
constexpr int kPageHeight = 206;

const char* const kPageCaptions[kGraphEditPageCount] = {"Type/Titles", "Styles", "Axes", "Data",
                                                        "Data Sources", "Graph"};

constexpr unsigned kSelectTemplateHelpId = 324;

// Ctrl+S is one of the form's own keys (kMsgSaveAndNext), so the base installs none.
const CRecordEditKind kGraphTypeEdit = {
    {CmdGrtEditPrintSummary, CmdGrtEditPreviewSummary, CmdGrtEditWriteSummary, CmdGrtEditCut, CmdGrtEditCopy,
     CmdGrtEditPaste, CmdGrtEditSaveAsNew, CmdGrtEditInsertNew, CmdGrtEditAppendNew, CmdGrtEditPrevious,
     CmdGrtEditNext, CmdGrtEditJumpTo, CmdGrtEditLimitedAccess, CmdGrtEditCloseView},
    0,
    CmdGrtEditHelp,
    CmdGrtEditContextHelp,
    kGraphTypeEditHelpId,
    kGraphSaveQuestionHelpId,
    kSelectTemplateHelpId,
    "Select a Graph Template",
    "grted_tab",
    "Graph Template Summary to File...",
    {kGeSave, kGeUndo, kGePrevious, kGeNext, kGeJump, kGeClose},
};

} // namespace

CGraphTemplate NewGraphTemplate()
{
    CGraphTemplate graphTemplate("new graph template");
    CGraphDataSource source("new data source");
    source.m_name = "[current glaze]";
    graphTemplate.m_dataSources.InsertAt(0, source);
    return graphTemplate;
}

CGraphTypeEditView::CGraphTypeEditView()
    : CRecordEditView(kGraphTypeEdit), m_template("new graph template"), m_dataSource("new data source"),
      m_preview(std::make_unique<CGraphPreview>())
{
    BuildForm();
    ConnectForm();
    ConnectPages();
}

CGraphTypeEditView::~CGraphTypeEditView()
{
    // The chart goes before the widgets it is drawn in.
    m_preview.reset();
}

CGraphTypesDoc* CGraphTypeEditView::GraphTypesDoc() const
{
    return dynamic_cast<CGraphTypesDoc*>(GetDocument());
}

// --- the form -------------------------------------------------------------------------------------

void CGraphTypeEditView::BuildForm()
{
    MakeForm(kFormWidth, kFormHeight, "grted_bkg");
    const CDialogUnits units(font());
    for (int page = 1; page <= kGraphEditPageCount; ++page) {
        auto* tab = new CToggleButton(m_form);
        tab->setObjectName(QString::number(kGeFirstTab + page - 1));
        tab->setGeometry(units.Rect(4 + (page - 1) * 65, 4, 63, 14));
        m_tabs[static_cast<std::size_t>(page - 1)] = tab;
        connect(tab, &QAbstractButton::clicked, this, [this, page] { ShowPage(page); });
    }
    BuildPages();
    static const CButtonPlace kRow[7] = {{4, 58}, {64, 58}, {124, 58}, {184, 58}, {244, 50}, {296, 44}, {376, 20}};
    AddButtonRow(232, kRow);
    setWidget(m_form);
}

void CGraphTypeEditView::BuildPages()
{
    using Builder = void (*)(CGraphTemplatePage&);
    static const Builder kBuilders[kGraphEditPageCount] = {BuildTypeTitlesPage, BuildStylesPage, BuildAxesPage,
                                                          BuildDataPage, BuildDataSourcesPage, BuildGraphPage};
    const CDialogUnits units(font());
    for (int page = 1; page <= kGraphEditPageCount; ++page) {
        auto* widget = new CGraphTemplatePage(page, m_form);
        widget->setGeometry(units.Rect(kPageX, kPageY, kPageWidth, kPageHeight));
        kBuilders[page - 1](*widget);
        widget->hide();
        m_pages[static_cast<std::size_t>(page - 1)] = widget;
        m_controls.insert(widget->Controls().begin(), widget->Controls().end());
        m_buddies.insert(widget->Buddies().begin(), widget->Buddies().end());
        m_radioGroups.insert(widget->RadioGroups().begin(), widget->RadioGroups().end());
    }
    if (QWidget* area = Control(kGePreview))
        m_preview->Attach(area, this);
}

void CGraphTypeEditView::ConnectForm()
{
    // Every control of the form sees the editor's keys first, as a form translates them.
    for (QWidget* child : m_form->findChildren<QWidget*>())
        child->installEventFilter(this);
}

QWidget* CGraphTypeEditView::Control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

CToggleButton* CGraphTypeEditView::TabButton(int page) const
{
    return page >= 1 && page <= kGraphEditPageCount ? m_tabs[static_cast<std::size_t>(page - 1)] : nullptr;
}

CGraphTemplatePage* CGraphTypeEditView::PageWidget(int page) const
{
    return page >= 1 && page <= kGraphEditPageCount ? m_pages[static_cast<std::size_t>(page - 1)] : nullptr;
}

QWidget* CGraphTypeEditView::PreviewArea() const
{
    return Control(kGePreview);
}

void CGraphTypeEditView::UpdateCaption()
{
    SetCaption(CaptionFor(Text(kGeName)));
}

std::string CGraphTypeEditView::CaptionFor(const std::string& name) const
{
    const GraphTypeInfo* info = GetGraphTypeInfo(m_template.type);
    return info ? name + " (" + info->shortName + ")" : name;
}

void CGraphTypeEditView::ApplyNotesFont()
{
    RememberEditBoxFont();
    if (QWidget* notes = Control(kGeNotes))
        notes->setFont(EditBoxFont(notes->font()));
}

void CGraphTypeEditView::OnInitialUpdate()
{
    FillFixedLists();
    RefreshGlazeLists();
    CRecordEditView::OnInitialUpdate();
    for (int page = 1; page <= kGraphEditPageCount; ++page)
        TabButton(page)->Setup(GetNamedColor("grted_bkg"), GetNamedColor("grted_tab"), CColor(0, 0, 0),
                               CColor(0, 0, 0), CToggleButton::ArrowNone, 1, 0, kPageCaptions[page - 1]);
    ShowPage(1);
    ApplyNotesFont();
}

void CGraphTypeEditView::ShowPage(int page)
{
    if (page == m_currentPage || page < 1 || page > kGraphEditPageCount)
        return;
    m_preview->ClosePopup();
    if (CGraphTemplatePage* current = PageWidget(m_currentPage)) {
        current->hide();
        TabButton(m_currentPage)->state = 0;
        TabButton(m_currentPage)->Redraw();
    }
    PageWidget(page)->show();
    TabButton(page)->state = 1;
    TabButton(page)->Redraw();
    m_currentPage = page;
    if (page == kGraphEditPageCount)
        RedrawPreview();
}

// --- loading and saving ---------------------------------------------------------------------------

void CGraphTypeEditView::ShowRecordAt(int index)
{
    if (const CGraphTypesDoc* doc = GraphTypesDoc(); doc && doc->RecordAt(index))
        LoadTemplateIntoControls(*doc->RecordAt(index));
}

void CGraphTypeEditView::AfterRecordMoved()
{
    UpdateControlStates();
}

QLineEdit* CGraphTypeEditView::NameField() const
{
    return Ctl<QLineEdit>(kGeName);
}

void CGraphTypeEditView::LoadTemplateIntoControls(const CGraphTemplate& graphTemplate)
{
    m_bLoading = true;
    m_template = graphTemplate;
    LoadFields(m_template);
    m_dataSources = m_template.m_dataSources;
    m_currentDataSource = -1;
    m_bDataSourceModified = false;
    FillDataSourceList();
    m_bLoading = false;
    SelectDataSource(m_dataSources.empty() ? -1 : 0);
    ShowTextGroup(m_currentTextGroup < 0 ? 0 : m_currentTextGroup);
    UpdateControlStates();
    UpdateCaption();
    InvalidatePreview();
}

void CGraphTypeEditView::StoreControlsIntoTemplate(CGraphTemplate& graphTemplate)
{
    StoreFields(graphTemplate);
    graphTemplate.m_dataSources = m_dataSources;
}

void CGraphTypeEditView::WriteRecord(int index)
{
    StoreCurrentDataSource();
    StoreControlsIntoTemplate(m_template);
    if (CGraphTypesDoc* doc = GraphTypesDoc())
        doc->SetTemplate(index, m_template);
}

bool CGraphTypeEditView::SaveChanges()
{
    if (!CRecordEditView::SaveChanges())
        return false;
    // The form shows the template as stored, on the same data source and text group.
    const int dataSource = m_currentDataSource;
    const int group = m_currentTextGroup;
    m_bLoading = true;
    LoadFields(m_template);
    FillDataSourceList();
    m_bLoading = false;
    m_currentDataSource = -1;
    SelectDataSource(dataSource < static_cast<int>(m_dataSources.size()) ? dataSource : -1);
    ShowTextGroup(group);
    return true;
}

void CGraphTypeEditView::MarkModified()
{
    if (m_bLoading)
        return;
    SetModified(true);
    InvalidatePreview();
}

// --- notices --------------------------------------------------------------------------------------

// The notices of the template database itself (changed, inserted, deleted, reordered, replaced)
// are the base's.
void CGraphTypeEditView::OnOtherNotice(const CUpdateHint& hint)
{
    switch (hint.m_nCode) {
    case HintElementChanged:
    case HintElementsReplaced:
    case HintMaterialsInserted:
    case HintMaterialsDeleted:
    case HintMaterialsReordered:
    case HintMaterialsReplaced:
    case HintGraphColorsChanged:
        InvalidatePreview();
        break;
    case HintMaterialChanged:
        if (!m_bFrozen)
            InvalidatePreview();
        break;
    case HintGlazeChanged:
        if (!m_bFrozen) {
            RefreshGlazeLists();
            InvalidatePreview();
        }
        break;
    case HintGlazesInserted:
    case HintGlazesDeleted:
    case HintGlazesReordered:
    case HintGlazesReplaced:
        m_refreshGlazeLists.Request();
        break;
    case HintLimitFormulaChanged:
    case HintLimitFormulasInserted:
    case HintLimitFormulasDeleted:
    case HintLimitFormulasReordered:
    case HintLimitFormulasReplaced:
    case HintOxideCombinationsChanged:
        FillLimitFormulaCombo();
        InvalidatePreview();
        break;
    case HintPreferencesChanged:
        if (EditBoxFontChanged())
            ApplyNotesFont();
        InvalidatePreview();
        break;
    case HintDocumentOpened:
    case HintDocumentSaved:
    case HintDocumentClosed:
    case HintDatabaseNotesChanged:
        if (hint.m_nKind == kGlazesKind) {
            RefreshGlazeLists();
            InvalidatePreview();
        }
        break;
    case HintBulkChangeBegins:
        m_bFrozen = true;
        break;
    case HintBulkChangeEndsRefreshAll:
    case HintBulkChangeEndsRefreshDocument:
        m_bFrozen = false;
        RefreshGlazeLists();
        InvalidatePreview();
        break;
    default:
        break;
    }
}

// --- commands -------------------------------------------------------------------------------------

// The shared edit commands (clipboard, navigation, Save as New, limited access, Close, help) are
// the base's; the editor adds the chart, its summary, the colours and Open Graph.
bool CGraphTypeEditView::UpdateKindCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdGrtEditPrintGraph:
    case CmdGrtEditPreviewGraph:
    case CmdGrtEditWriteGraph:
    case CmdGrtEditCopyGraph:
    case CmdGrtEditWriteGraphFile:
        ui.Enable(!m_bPreviewStale && m_preview->HasChart());
        return true;
    case CmdGrtEditOpenGraph:
        ui.Enable(StoredTemplate() != nullptr);
        return true;
    case CmdGrtEditColors:
    case CmdGrtEditPrintSummary:
    case CmdGrtEditPreviewSummary:
    case CmdGrtEditWriteSummary:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CGraphTypeEditView::RunKindCommand(unsigned id)
{
    switch (id) {
    case CmdGrtEditColors: EditColors(); return true;
    case CmdGrtEditOpenGraph: OpenGraph(); return true;
    case CmdGrtEditCopyGraph: CopyGraph(); return true;
    case CmdGrtEditPrintGraph:
    case CmdGrtEditPreviewGraph:
    case CmdGrtEditWriteGraph:
    case CmdGrtEditWriteGraphFile:
    case CmdGrtEditPrintSummary:
    case CmdGrtEditPreviewSummary:
    case CmdGrtEditWriteSummary: PrintOutput(id); return true;
    default: return false;
    }
}

// --- keys -----------------------------------------------------------------------------------------

bool CGraphTypeEditView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        HandleTitleFocus(watched);
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int message = TranslateEditorKey(key->key(), key->modifiers(), m_currentPage == kGraphEditPageCount);
        if (message != 0) {
            // The editor's keys win over menu shortcuts and over the controls' own use of them.
            event->accept();
            if (event->type() == QEvent::KeyPress)
                OnFormMessage(message);
            return true;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}
