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
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kGraphTemplatesKind = static_cast<int>(DbFileType::GraphTemplates);
constexpr int kGlazesKind = static_cast<int>(DbFileType::Glazes);
constexpr int kFormWidth = 400;
constexpr int kFormHeight = 252;
constexpr int kPageX = 4;
constexpr int kPageY = 20;
constexpr int kPageWidth = 392;
constexpr int kPageHeight = 206;

const char* const kPageCaptions[kGraphEditPageCount] = {"Type/Titles", "Styles", "Axes", "Data",
                                                        "Data Sources", "Graph"};

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
    : m_template("new graph template"), m_dataSource("new data source"), m_preview(std::make_unique<CGraphPreview>())
{
    setWidgetResizable(false);
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

CGraphTemplateDatabase* CGraphTypeEditView::Database() const
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    return doc ? &doc->Database() : nullptr;
}

int CGraphTypeEditView::TemplateCount() const
{
    const CGraphTemplateDatabase* database = Database();
    return database ? database->GetCount() : 0;
}

void CGraphTypeEditView::Broadcast(int code, int index, const void* record)
{
    COxidariumApp::BroadcastUpdate(this, GraphTypesDoc(), kGraphTemplatesKind, code, index, HintExtra(record));
}

// --- the form -------------------------------------------------------------------------------------

void CGraphTypeEditView::BuildForm()
{
    m_form = new QWidget;
    const CDialogUnits units(font());
    m_form->resize(units.X(kFormWidth), units.Y(kFormHeight));
    QPalette colors = m_form->palette();
    colors.setColor(QPalette::Window, ToQColor(GetNamedColor("grted_bkg")));
    m_form->setPalette(colors);
    m_form->setAutoFillBackground(true);
    for (int page = 1; page <= kGraphEditPageCount; ++page) {
        auto* tab = new CToggleButton(m_form);
        tab->setObjectName(QString::number(kGeFirstTab + page - 1));
        tab->setGeometry(units.Rect(4 + (page - 1) * 65, 4, 63, 14));
        m_tabs[static_cast<std::size_t>(page - 1)] = tab;
        connect(tab, &QAbstractButton::clicked, this, [this, page] { ShowPage(page); });
    }
    BuildPages();
    BuildButtons();
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

void CGraphTypeEditView::BuildButtons()
{
    static const struct {
        int id;
        const char* text;
        int x;
        int width;
    } kButtons[] = {
        {kGeSave, "Save Changes", 4, 58},  {kGeUndo, "Undo Changes", 64, 58}, {kGePrevious, "Edit Previous", 124, 58},
        {kGeNext, "Edit Next", 184, 58},   {kGeJump, "Jump to...", 244, 50},  {kGeClose, "Close", 296, 44},
        {kHelpButtonId, "?", 376, 20},
    };
    const CDialogUnits units(font());
    for (const auto& spec : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(spec.text), m_form);
        button->setObjectName(QString::number(spec.id));
        button->setAutoDefault(false);
        button->setGeometry(units.Rect(spec.x, 232, spec.width, 14));
        m_buttons.push_back(button);
    }
}

void CGraphTypeEditView::ConnectForm()
{
    const auto onClick = [this](int id, auto handler) { connect(Button(id), &QPushButton::clicked, this, handler); };
    onClick(kGeSave, [this] { SaveChangesButton(); });
    onClick(kGeUndo, [this] { LoadTemplate(m_templateIndex); });
    onClick(kGePrevious, [this] { EditPrevious(); });
    onClick(kGeNext, [this] { EditNext(); });
    onClick(kGeJump, [this] { JumpTo(); });
    onClick(kGeClose, [this] { CloseView(); });
    onClick(kHelpButtonId, [] { ShowDialogHelp(kGraphTypeEditHelpId); });
    // Every control of the form sees the editor's keys first, as a form translates them.
    for (QWidget* child : m_form->findChildren<QWidget*>())
        child->installEventFilter(this);
}

QWidget* CGraphTypeEditView::Control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QPushButton* CGraphTypeEditView::Button(int id) const
{
    for (QPushButton* button : m_buttons) {
        if (button->objectName() == QString::number(id))
            return button;
    }
    return Ctl<QPushButton>(id);
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

QSize CGraphTypeEditView::sizeHint() const
{
    // A little room, so that no scroll bar appears for the last pixel.
    const int border = 2 * frameWidth() + 2;
    return m_form->size() + QSize(border, border);
}

void CGraphTypeEditView::SetCaption(const std::string& caption)
{
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->setWindowTitle(FromCp1252(caption));
}

void CGraphTypeEditView::UpdateCaption()
{
    const std::string name = Text(kGeName);
    const GraphTypeInfo* info = GetGraphTypeInfo(m_template.type);
    SetCaption(info ? name + " (" + info->shortName + ")" : name);
}

void CGraphTypeEditView::ApplyNotesFont()
{
    if (CAppContext::IsActive())
        m_notesLogFont = g_prefs.edboxfont;
    if (QWidget* notes = Control(kGeNotes))
        notes->setFont(EditBoxFont(notes->font()));
}

void CGraphTypeEditView::OnInitialUpdate()
{
    m_pDoc = GraphTypesDoc();
    if (auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame())) {
        // The frame fits the form, centred in the main window's client area.
        frame->adjustSize();
        if (QMdiArea* area = frame->mdiArea()) {
            const QPoint centre = area->viewport()->rect().center() - frame->rect().center();
            frame->move(std::max(0, centre.x()), std::max(0, centre.y()));
        }
    }
    FillFixedLists();
    RefreshGlazeLists();
    LoadTemplate(-1);
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

void CGraphTypeEditView::LoadTemplate(int index)
{
    CGraphTemplateDatabase* database = Database();
    if (database && index >= 0 && index < database->GetCount()) {
        m_templateIndex = index;
        m_pTemplate = &database->GetAt(index);
        LoadTemplateIntoControls(*m_pTemplate);
    } else {
        m_templateIndex = -1;
        m_pTemplate = nullptr;
    }
    m_bModified = false;
    UpdateControlStates();
    UpdateButtons();
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

void CGraphTypeEditView::Save()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || !m_pTemplate || m_templateIndex < 0)
        return;
    StoreCurrentDataSource();
    StoreControlsIntoTemplate(m_template);
    doc->SetTemplate(m_templateIndex, m_template);
    Broadcast(HintGraphTemplateChanged, m_templateIndex, m_pTemplate);
    m_bModified = false;
    UpdateButtons();
}

void CGraphTypeEditView::SaveChangesButton()
{
    Save();
    const int dataSource = m_currentDataSource;
    const int group = m_currentTextGroup;
    m_bLoading = true;
    LoadFields(m_template);
    FillDataSourceList();
    m_bLoading = false;
    m_currentDataSource = -1;
    SelectDataSource(dataSource < static_cast<int>(m_dataSources.size()) ? dataSource : -1);
    ShowTextGroup(group);
}

int CGraphTypeEditView::AskSave()
{
    if (!m_bModified)
        return MsgResultNo;
    const std::string question = "Save changes to \"" + Text(kGeName) + "\" ?";
    return AppMessageBox(question, MsgYesNoCancel | MsgIconQuestion, kGraphSaveQuestionHelpId);
}

bool CGraphTypeEditView::AskAndSave()
{
    const int answer = AskSave();
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultYes)
        Save();
    return true;
}

void CGraphTypeEditView::SetModified(bool modified)
{
    if (m_bLoading)
        return;
    if (modified != m_bModified) {
        m_bModified = modified;
        UpdateButtons();
    }
    if (modified)
        InvalidatePreview();
}

void CGraphTypeEditView::UpdateButtons()
{
    const bool loaded = m_pTemplate != nullptr;
    Button(kGeSave)->setEnabled(m_bModified && loaded);
    Button(kGeUndo)->setEnabled(m_bModified && loaded);
    const int last = TemplateCount() - 1;
    const auto setText = [](QPushButton* button, const char* text) {
        // Only a real change of caption repaints the button.
        if (button->text() != QLatin1String(text))
            button->setText(QString::fromLatin1(text));
    };
    QPushButton* previous = Button(kGePrevious);
    QPushButton* next = Button(kGeNext);
    if (m_bSubset) {
        previous->setEnabled(m_subsetPos > 0);
        next->setEnabled(m_subsetPos < m_subsetCount - 1);
        setText(previous, "Edit Previous");
        setText(next, "Edit Next");
    } else {
        previous->setEnabled(loaded);
        next->setEnabled(loaded);
        setText(previous, m_templateIndex < 1 ? "Insert New" : "Edit Previous");
        setText(next, m_templateIndex == -1 || m_templateIndex == last ? "Append New" : "Edit Next");
    }
}

void CGraphTypeEditView::CloseQuietly()
{
    m_bClosing = true;
    m_bModified = false;
    if (CFrameHost* frame = GetFrame())
        frame->CloseFrame();
}

// --- notices --------------------------------------------------------------------------------------

void CGraphTypeEditView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this || m_bClosing)
        return;
    if (!hint) {
        CView::OnUpdate(sender, hint);
        return;
    }
    switch (hint->m_nCode) {
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
        RefreshGlazeLists();
        InvalidatePreview();
        break;
    case HintGraphTemplateChanged:
        // Another editor or view saved this template: its version replaces the unsaved edits.
        if (m_pTemplate && hint->m_extra == HintExtra(m_pTemplate))
            LoadTemplate(m_templateIndex);
        break;
    case HintGraphTemplatesInserted:
    case HintGraphTemplatesDeleted:
    case HintGraphTemplatesReordered: {
        bool gone = false;
        if (m_bSubset) {
            gone = RefreshSubset();
        } else if (m_pTemplate) {
            const CGraphTemplateDatabase* database = Database();
            m_templateIndex = database ? database->IndexOf(m_pTemplate) : -1;
            gone = m_templateIndex < 0;
        }
        if (gone)
            CloseQuietly();
        else
            UpdateButtons();
        break;
    }
    case HintGraphTemplatesReplaced:
        CloseQuietly();
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
        if (CAppContext::IsActive() && !(g_prefs.edboxfont == m_notesLogFont))
            ApplyNotesFont();
        InvalidatePreview();
        break;
    case HintDocumentOpened:
    case HintDocumentSaved:
    case HintDocumentClosed:
    case HintDatabaseNotesChanged:
        if (hint->m_nKind == kGlazesKind) {
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

bool CGraphTypeEditView::OnUpdateCommand(CCmdUI& ui)
{
    const bool loaded = m_pTemplate != nullptr;
    switch (ui.m_nID) {
    case CmdGrtEditPaste:
        ui.Enable(CAppContext::IsActive() && ClipboardCount(g_graphTemplateClipboard) > 0);
        return true;
    case CmdGrtEditInsertNew:
    case CmdGrtEditAppendNew:
        ui.Enable(loaded && !m_bSubset);
        return true;
    case CmdGrtEditPrevious:
        ui.Enable(m_bSubset ? m_subsetPos >= 1 && m_subsetPos < m_subsetCount
                            : m_templateIndex >= 1 && m_templateIndex < TemplateCount());
        return true;
    case CmdGrtEditNext:
        ui.Enable(m_bSubset ? m_subsetPos >= 0 && m_subsetPos < m_subsetCount - 1
                            : m_templateIndex >= 0 && m_templateIndex < TemplateCount() - 1);
        return true;
    case CmdGrtEditLimitedAccess:
        ui.Enable(m_bSubset && loaded);
        ui.SetCheck(m_bSubset ? 1 : 0);
        return true;
    case CmdGrtEditPrintGraph:
    case CmdGrtEditPreviewGraph:
    case CmdGrtEditWriteGraph:
    case CmdGrtEditCopyGraph:
    case CmdGrtEditWriteGraphFile:
        ui.Enable(!m_bPreviewStale && m_preview->HasChart());
        return true;
    case CmdGrtEditOpenGraph:
        ui.Enable(loaded);
        return true;
    case CmdGrtEditCut:
    case CmdGrtEditCopy:
    case CmdGrtEditSaveAsNew:
    case CmdGrtEditJumpTo:
    case CmdGrtEditCloseView:
    case CmdGrtEditColors:
    case CmdGrtEditPrintSummary:
    case CmdGrtEditPreviewSummary:
    case CmdGrtEditWriteSummary:
    case CmdGrtEditHelp:
    case CmdGrtEditContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CGraphTypeEditView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdGrtEditCut: CutTemplate(); return true;
    case CmdGrtEditCopy: CopyTemplate(); return true;
    case CmdGrtEditPaste: PasteTemplate(); return true;
    case CmdGrtEditInsertNew: InsertNew(); return true;
    case CmdGrtEditAppendNew: AppendNew(); return true;
    case CmdGrtEditPrevious: EditPrevious(); return true;
    case CmdGrtEditNext: EditNext(); return true;
    case CmdGrtEditJumpTo: JumpTo(); return true;
    case CmdGrtEditLimitedAccess: LeaveSubset(); return true;
    case CmdGrtEditCloseView: CloseView(); return true;
    case CmdGrtEditColors: EditColors(); return true;
    case CmdGrtEditOpenGraph: OpenGraph(); return true;
    case CmdGrtEditSaveAsNew: SaveAsNew(); return true;
    case CmdGrtEditCopyGraph: CopyGraph(); return true;
    case CmdGrtEditPrintGraph:
    case CmdGrtEditPreviewGraph:
    case CmdGrtEditWriteGraph:
    case CmdGrtEditWriteGraphFile:
    case CmdGrtEditPrintSummary:
    case CmdGrtEditPreviewSummary:
    case CmdGrtEditWriteSummary: PrintOutput(id); return true;
    case CmdGrtEditHelp:
    case CmdGrtEditContextHelp: ShowDialogHelp(kGraphTypeEditHelpId); return true;
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
