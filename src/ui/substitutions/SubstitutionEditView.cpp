#include "substitutions/SubstitutionEditView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionLines.h"
#include "substitutions/SubstitutionList.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/TabEdit.h"
#include "support/TextHelpers.h"

#include <QFocusEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

namespace {

constexpr int kSubstitutionsKind = static_cast<int>(DbFileType::Substitutions);
constexpr int kFormWidth = 384;
constexpr int kFormHeight = 216;
constexpr unsigned kSetProblemHelpId = 0x30156;

const std::vector<int> kSetTabStops = {70, 80, 90, 100};
const std::vector<int> kMaterialTabStops = {35, 45, 55, 65};

} // namespace

CSubstitutionEditView::CSubstitutionEditView() : m_work(kNewSubstitutionName)
{
    setWidgetResizable(false);
    BuildForm();
    ConnectSignals();
    auto* saveAndNext = new QShortcut(QKeySequence(QStringLiteral("Ctrl+S")), this);
    saveAndNext->setContext(Qt::WidgetWithChildrenShortcut);
    connect(saveAndNext, &QShortcut::activated, this, [this] {
        if (CMDIMainFrame* frame = CMDIMainFrame::Instance(); frame && frame->ActiveView() == this)
            frame->ExecuteCommand(CmdSubEditSaveAndNext);
        else
            OnCommand(CmdSubEditSaveAndNext);
    });
}

CSubstitutionEditView::~CSubstitutionEditView() = default;

CSubstitutionsDoc* CSubstitutionEditView::SubstitutionsDoc() const
{
    return dynamic_cast<CSubstitutionsDoc*>(GetDocument());
}

CSubstitutionList* CSubstitutionEditView::Database() const
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    return doc ? &doc->Substitutions() : nullptr;
}

int CSubstitutionEditView::RecordCount() const
{
    const CSubstitutionList* database = Database();
    return database ? database->GetCount() : 0;
}

void CSubstitutionEditView::Broadcast(int code, int index, const void* record)
{
    COxidariumApp::BroadcastUpdate(this, SubstitutionsDoc(), kSubstitutionsKind, code, index, HintExtra(record));
}

// --- the form -------------------------------------------------------------------------------------

void CSubstitutionEditView::Place(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

QLabel* CSubstitutionEditView::AddLabel(const QString& text, int x, int y, int width)
{
    auto* label = new QLabel(text, m_form);
    Place(label, x, y, width, 10);
    return label;
}

QPushButton* CSubstitutionEditView::AddButton(const QString& text, int id, int x, int y, int width, int height)
{
    auto* button = new QPushButton(text, m_form);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    Place(button, x, y, width, height);
    m_buttons.push_back(button);
    return button;
}

QPushButton* CSubstitutionEditView::Button(int id) const
{
    for (QPushButton* button : m_buttons) {
        if (button->objectName() == QString::number(id))
            return button;
    }
    return nullptr;
}

CTabEdit* CSubstitutionEditView::AddSetBox(int id, int x)
{
    auto* box = new CTabEdit(m_form);
    box->setObjectName(QString::number(id));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabStopDistance(TabStopsFromDlu(box->font(), kSetTabStops).front());
    box->SetPartner(this);
    box->installEventFilter(this);
    Place(box, x, 35, 130, 80);
    return box;
}

void CSubstitutionEditView::BuildForm()
{
    m_form = new QWidget;
    const CDialogUnits units(font());
    m_form->resize(units.X(kFormWidth), units.Y(kFormHeight));
    QPalette colors = m_form->palette();
    colors.setColor(QPalette::Window, ToQColor(GetNamedColor("sed_bkg")));
    m_form->setPalette(colors);
    m_form->setAutoFillBackground(true);

    AddLabel(QStringLiteral("Name :"), 7, 9, 30);
    m_name = new QLineEdit(m_form);
    m_name->setObjectName(QString::number(kSubEditName));
    Place(m_name, 40, 7, 228, 12);
    AddLabel(QStringLiteral("Material(s) :"), 7, 25, 80);
    m_set1 = AddSetBox(kSubEditSet1, 7);
    AddLabel(QStringLiteral("Substitution :"), 142, 25, 80);
    m_set2 = AddSetBox(kSubEditSet2, 142);

    m_materials = new QListWidget(m_form);
    m_materials->setObjectName(QString::number(kSubEditMaterials));
    m_materials->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* delegate = new CTabStopDelegate(m_materials);
    delegate->SetTabStops(TabStopsFromDlu(m_materials->font(), kMaterialTabStops));
    m_materials->setItemDelegate(delegate);
    QPalette listColors = m_materials->palette();
    listColors.setColor(QPalette::Base, ToQColor(GetNamedColor("mat_list")));
    m_materials->setPalette(listColors);
    Place(m_materials, 280, 7, 97, 180);

    AddButton(QStringLiteral("Exchange"), kSubEditExchange, 7, 120, 50, 14);
    AddButton(QStringLiteral("Normalize"), kSubEditNormalize, 61, 120, 50, 14);
    AddButton(QStringLiteral("Check Materials"), kSubEditCheck, 115, 120, 68, 14);
    AddButton(QStringLiteral("Batch Calculation"), kSubEditBatchCalc, 187, 120, 85, 14);
    AddLabel(QStringLiteral("Notes :"), 7, 140, 30);
    m_notes = new CNotesEdit(m_form);
    m_notes->setObjectName(QString::number(kSubEditNotes));
    m_notes->setTabChangesFocus(true);
    Place(m_notes, 7, 150, 265, 37);
    BuildButtons();
    setWidget(m_form);
}

void CSubstitutionEditView::BuildButtons()
{
    AddButton(QStringLiteral("Save Changes"), kSubEditSave, 7, 195, 54, 14);
    AddButton(QStringLiteral("Undo Changes"), kSubEditUndo, 64, 195, 54, 14);
    AddButton(QStringLiteral("Edit Previous"), kSubEditPrevious, 121, 195, 52, 14);
    AddButton(QStringLiteral("Edit Next"), kSubEditNext, 176, 195, 52, 14);
    AddButton(QStringLiteral("Jump to..."), kSubEditJump, 231, 195, 44, 14);
    AddButton(QStringLiteral("Close"), kSubEditClose, 280, 195, 44, 14);
    QPushButton* help = AddButton(QStringLiteral("?"), 4200, 357, 195, 20, 14);
    connect(help, &QPushButton::clicked, this, [] { ShowDialogHelp(kSubstitutionEditHelpId); });
}

void CSubstitutionEditView::ConnectSignals()
{
    const auto onClick = [this](int id, auto handler) {
        connect(Button(id), &QPushButton::clicked, this, handler);
    };
    onClick(kSubEditExchange, [this] { Exchange(); });
    onClick(kSubEditNormalize, [this] { Normalize(); });
    onClick(kSubEditCheck, [this] { CheckMaterials(); });
    onClick(kSubEditSave, [this] {
        StoreRecord();
        ShowRecord(m_work);
    });
    onClick(kSubEditUndo, [this] { LoadRecord(m_nCurrent); });
    onClick(kSubEditPrevious, [this] { EditPrevious(); });
    onClick(kSubEditNext, [this] { EditNext(); });
    onClick(kSubEditJump, [this] { JumpTo(); });
    onClick(kSubEditClose, [this] { Close(); });
    onClick(kSubEditBatchCalc, [this] { BatchCalculation(); });

    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        SetCaption(ToCp1252(text));
        SetModified(true);
    });
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_bLoading)
            SetModified(true);
    });
    for (CTabEdit* box : {m_set1, m_set2}) {
        connect(box, &QPlainTextEdit::textChanged, this, [this, box] {
            if (m_bLoading)
                return;
            SetModified(true);
            CompleteEndedLine(box);
        });
        connect(box, &CTabEdit::tabToPartner, this, [this, box] { CompleteName(box); });
    }
    connect(m_materials, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { AddMaterial(m_materials->row(item)); });
    connect(m_materials, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { AddMaterial(m_materials->row(item)); });
}

bool CSubstitutionEditView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == m_set1 || watched == m_set2) &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        SetBoxLeft(static_cast<QPlainTextEdit*>(watched));
    return QScrollArea::eventFilter(watched, event);
}

void CSubstitutionEditView::CommitPendingEdit()
{
    QWidget* focus = m_form->focusWidget();
    if (focus == m_set1 || focus == m_set2)
        SetBoxLeft(static_cast<QPlainTextEdit*>(focus));
}

void CSubstitutionEditView::ApplyNotesFont()
{
    if (CAppContext::IsActive())
        m_editorFont = g_prefs.edboxfont;
    m_notes->setFont(EditBoxFont(m_notes->font()));
}

void CSubstitutionEditView::SetCaption(const std::string& name)
{
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->setWindowTitle(FromCp1252(name));
}

QSize CSubstitutionEditView::sizeHint() const
{
    // A little room, so that no scroll bar appears for the last pixel.
    const int border = 2 * frameWidth() + 2;
    return m_form->size() + QSize(border, border);
}

void CSubstitutionEditView::OnInitialUpdate()
{
    if (auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame())) {
        // The frame fits the form, centred in the main window's client area.
        frame->adjustSize();
        if (QMdiArea* area = frame->mdiArea()) {
            const QPoint centre = area->viewport()->rect().center() - frame->rect().center();
            frame->move(std::max(0, centre.x()), std::max(0, centre.y()));
        }
    }
    FillMaterialsList();
    LoadRecord(-1);
    ApplyNotesFont();
}

// --- lines ----------------------------------------------------------------------------------------

CStringArrayEx CSubstitutionEditView::BoxLines(QPlainTextEdit* box, bool skipEmpty)
{
    CStringArrayEx lines;
    ReadWholeEditLines(*box, lines);
    if (skipEmpty)
        lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    return lines;
}

void CSubstitutionEditView::SetBoxLines(QPlainTextEdit* box, const CStringArrayEx& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    const bool loading = m_bLoading;
    m_bLoading = true;
    box->setPlainText(EditTextFromCore(text));
    m_bLoading = loading;
}

int CSubstitutionEditView::ParseSetLines(const CStringArrayEx& lines, CIngredientList& out, bool& warn)
{
    out.clear();
    CMaterialArray* materials = g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
    int problems = 0;
    const auto report = [&problems, &warn](const std::string& text) {
        ++problems;
        if (AppMessageBox(text, MsgOkCancel | MsgIconInformation, kSetProblemHelpId) == MsgResultCancel)
            warn = false;
    };
    for (const std::string& line : lines) {
        std::string name = line;
        const double amount = ParseTrailingNumber(name);
        if (!(amount > 0.0))
            continue;
        TrimString(name);
        CMaterial* material = materials ? materials->FindMaterial(name, true) : nullptr;
        if (warn && !material)
            report("\"" + name + "\" is not in the material list");
        if (warn && material && material->m_available == 0)
            report("\"" + name + "\" is unavailable");
        int status = MappingOk;
        if (warn && material && !material->m_mapTo.empty() && !materials->ResolveMapping(material, &status))
            report("\"" + name + "\" has an invalid mapping");
        out.Add(name, amount);
    }
    return problems;
}

void CSubstitutionEditView::FormatSetLines(CStringArrayEx& lines, const CIngredientList& list)
{
    const bool prefs = CAppContext::IsActive();
    ::FormatSetLines(lines, list, prefs ? g_prefs.decrecipeinput : 3, prefs ? g_prefs.tzsrecipeinput : -1);
}

// --- loading and saving ---------------------------------------------------------------------------

void CSubstitutionEditView::LoadRecord(int index)
{
    CSubstitutionList* database = Database();
    const CSubstitution* record = database ? database->GetAt(index) : nullptr;
    if (record) {
        m_nCurrent = index;
        m_pCurrent = record;
        ShowRecord(*record);
    } else {
        m_nCurrent = -1;
        m_pCurrent = nullptr;
    }
    m_bModified = false;
    UpdateButtons();
}

void CSubstitutionEditView::ShowRecord(const CSubstitution& record)
{
    if (&record != &m_work)
        m_work = record;
    m_bLoading = true;
    m_name->setText(FromCp1252(m_work.m_name));
    CStringArrayEx lines;
    FormatSetLines(lines, m_work.m_set1);
    SetBoxLines(m_set1, lines);
    FormatSetLines(lines, m_work.m_set2);
    SetBoxLines(m_set2, lines);
    std::string notes;
    for (std::size_t i = 0; i < m_work.m_notes.size(); ++i)
        notes += (i ? "\r\n" : "") + m_work.m_notes[i];
    m_notes->setPlainText(EditTextFromCore(notes));
    m_bLoading = false;
    SetCaption(m_work.m_name);
    m_nLastSet = 0;
}

void CSubstitutionEditView::GatherRecord(CSubstitution& record)
{
    std::string name = ToCp1252(m_name->text());
    record.m_name = TrimString(name);
    bool warn = false;
    ParseSetLines(BoxLines(m_set1, true), record.m_set1, warn);
    ParseSetLines(BoxLines(m_set2, true), record.m_set2, warn);
    record.m_notes = BoxLines(m_notes, false);
}

void CSubstitutionEditView::StoreRecord()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc || !m_pCurrent || m_nCurrent < 0 || m_nCurrent >= RecordCount())
        return;
    GatherRecord(m_work);
    doc->SetRecord(m_nCurrent, m_work);
    Broadcast(HintSubstitutionChanged, m_nCurrent, m_pCurrent);
    SetModified(false);
}

int CSubstitutionEditView::AskToSave()
{
    if (!m_bModified)
        return MsgResultNo;
    const std::string question = "Save changes to \"" + ToCp1252(m_name->text()) + "\" ?";
    return AppMessageBox(question, MsgYesNoCancel | MsgIconQuestion, kSubstitutionSaveQuestionHelpId);
}

void CSubstitutionEditView::SetModified(bool modified)
{
    if (modified == m_bModified)
        return;
    m_bModified = modified;
    UpdateButtons();
}

void CSubstitutionEditView::UpdateButtons()
{
    const bool current = m_pCurrent != nullptr;
    Button(kSubEditSave)->setEnabled(m_bModified && current);
    Button(kSubEditUndo)->setEnabled(m_bModified && current);
    QPushButton* previous = Button(kSubEditPrevious);
    QPushButton* next = Button(kSubEditNext);
    if (m_bLimited) {
        previous->setText(QStringLiteral("Edit Previous"));
        next->setText(QStringLiteral("Edit Next"));
        previous->setEnabled(m_nLimitedPosition > 0);
        next->setEnabled(m_nLimitedPosition < static_cast<int>(m_limitedIndices.size()) - 1);
        return;
    }
    const bool last = m_nCurrent < 0 || m_nCurrent >= RecordCount() - 1;
    previous->setText(m_nCurrent < 1 ? QStringLiteral("Insert New") : QStringLiteral("Edit Previous"));
    next->setText(last ? QStringLiteral("Append New") : QStringLiteral("Edit Next"));
    previous->setEnabled(current);
    next->setEnabled(current);
}

// --- notices --------------------------------------------------------------------------------------

void CSubstitutionEditView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this || m_bClosing)
        return;
    if (!hint) {
        update();
        return;
    }
    switch (hint->m_nCode) {
    case HintMaterialChanged:
    case HintMaterialsInserted:
    case HintMaterialsDeleted:
    case HintMaterialsReordered:
    case HintMaterialsReplaced:
        FillMaterialsList();
        break;
    case HintSubstitutionChanged:
        if (m_pCurrent && hint->m_extra == HintExtra(m_pCurrent))
            LoadRecord(Database()->IndexOf(m_pCurrent));
        break;
    case HintSubstitutionsInserted:
    case HintSubstitutionsDeleted:
    case HintSubstitutionsReordered:
        if (!RelocateRecord())
            CloseQuietly();
        else
            UpdateButtons();
        break;
    case HintSubstitutionsReplaced:
        CloseQuietly();
        break;
    case HintPreferencesChanged:
        if (CAppContext::IsActive() && !(g_prefs.edboxfont == m_editorFont))
            ApplyNotesFont();
        break;
    default:
        update();
        break;
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CSubstitutionEditView::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdSubEditPaste:
        ui.Enable(CAppContext::IsActive() && g_substitutionClipboard.GetCount() > 0);
        return true;
    case CmdSubEditInsertNew:
    case CmdSubEditAppendNew:
        ui.Enable(!m_bLimited && m_pCurrent != nullptr);
        return true;
    case CmdSubEditSaveAsNew:
        ui.Enable(m_pCurrent != nullptr);
        return true;
    case CmdSubEditPrevious:
    case CmdSubEditNext:
        ui.Enable(Button(ui.m_nID == CmdSubEditPrevious ? kSubEditPrevious : kSubEditNext)->isEnabled());
        return true;
    case CmdSubEditLimitedAccess:
        ui.Enable(m_bLimited);
        ui.SetCheck(m_bLimited ? 1 : 0);
        return true;
    case CmdSubEditPrint:
    case CmdSubEditPrintPreview:
    case CmdSubEditWriteToFile:
    case CmdSubEditCut:
    case CmdSubEditCopy:
    case CmdSubEditJumpTo:
    case CmdSubEditCloseView:
    case CmdSubEditSaveAndNext:
    case CmdSubEditExchange:
    case CmdSubEditNormalize:
    case CmdSubEditCheckMaterials:
    case CmdSubEditBatchCalc:
    case CmdSubEditHelp:
    case CmdSubEditContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CSubstitutionEditView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdSubEditPrint:
    case CmdSubEditPrintPreview:
    case CmdSubEditWriteToFile: PrintSummary(id); return true;
    case CmdSubEditCut: Cut(); return true;
    case CmdSubEditCopy: Copy(); return true;
    case CmdSubEditPaste: Paste(); return true;
    case CmdSubEditSaveAsNew: SaveAsNew(); return true;
    case CmdSubEditInsertNew: InsertNew(); return true;
    case CmdSubEditAppendNew: AppendNew(); return true;
    case CmdSubEditPrevious: EditPrevious(); return true;
    case CmdSubEditNext: EditNext(); return true;
    case CmdSubEditJumpTo: JumpTo(); return true;
    case CmdSubEditLimitedAccess: LeaveLimitedAccess(); return true;
    case CmdSubEditCloseView: Close(); return true;
    case CmdSubEditSaveAndNext: SaveAndNext(); return true;
    case CmdSubEditExchange: Exchange(); return true;
    case CmdSubEditNormalize: Normalize(); return true;
    case CmdSubEditCheckMaterials: CheckMaterials(); return true;
    case CmdSubEditBatchCalc: BatchCalculation(); return true;
    case CmdSubEditHelp:
    case CmdSubEditContextHelp: ShowDialogHelp(kSubstitutionEditHelpId); return true;
    default: return false;
    }
}
