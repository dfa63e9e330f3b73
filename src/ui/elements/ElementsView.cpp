#include "elements/ElementsView.h"

#include "elements/ElementCells.h"
#include "elements/ElementsDoc.h"
#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "shell/NamedColors.h"
#include "support/DialogStyle.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace {

// The grid of the table in dialog units: cells of 18 x 18 on a step of 19.
constexpr int kGridLeft = 5;
constexpr int kGridTop = 5;
constexpr int kGridStep = 19;
constexpr int kCellSize = 18;
// The rows of the lanthanides (Ce..Lu) and actinides (Th..Lw) below the table.
constexpr int kSeriesLeft = 71;
constexpr int kLanthanideTop = 130;
constexpr int kActinideTop = 149;
constexpr int kFirstLanthanide = 58;
constexpr int kFirstActinide = 90;
// The window's first size in pixels, before it is fitted to the form.
constexpr int kFirstFrameWidth = 480;
constexpr int kFirstFrameHeight = 320;
constexpr int kStartElement = 14; // silicon

struct CGridPlace {
    int column; // 1..18
    int period; // 1..7
};

// The column and period of an element of the main table (not the two series rows).
CGridPlace GridPlace(int z)
{
    if (z == 1)
        return {1, 1};
    if (z == 2)
        return {18, 1};
    if (z <= 4)
        return {z - 2, 2};
    if (z <= 10)
        return {z + 8, 2};
    if (z <= 12)
        return {z - 10, 3};
    if (z <= 18)
        return {z, 3};
    if (z <= 36)
        return {z - 18, 4};
    if (z <= 54)
        return {z - 36, 5};
    if (z <= 56)
        return {z - 54, 6};
    if (z == 57)
        return {3, 6};
    if (z >= 72 && z <= 86)
        return {z - 68, 6};
    if (z <= 88)
        return {z - 86, 7};
    return {3, 7}; // actinium
}

} // namespace

CElementsView::CElementsView()
{
    setFocusPolicy(Qt::StrongFocus);
    CreateParts();
    const CDialogUnits units(font());
    resize(units.X(kFormWidth), units.Y(kFormHeight));
    setMinimumSize(size());
}

CElementsView::~CElementsView() = default;

QRect CElementsView::CellRectDlu(int z)
{
    if (z < 1 || z >= kElementCount)
        return QRect();
    if (z >= kFirstLanthanide && z < kFirstLanthanide + 14)
        return QRect(kSeriesLeft + kGridStep * (z - kFirstLanthanide), kLanthanideTop, kCellSize, kCellSize);
    if (z >= kFirstActinide)
        return QRect(kSeriesLeft + kGridStep * (z - kFirstActinide), kActinideTop, kCellSize, kCellSize);
    const CGridPlace place = GridPlace(z);
    return QRect(kGridLeft + kGridStep * (place.column - 1), kGridTop + kGridStep * (place.period - 1), kCellSize,
                 kCellSize);
}

void CElementsView::CreateParts()
{
    const CDialogUnits units(font());
    for (int z = 1; z < kElementCount; ++z) {
        auto* cell = new CElementCellButton(z, this);
        const QRect place = CellRectDlu(z);
        cell->setGeometry(units.Rect(place.x(), place.y(), place.width(), place.height()));
        connect(cell, &QAbstractButton::clicked, this, [this, z] { OnCellClicked(z); });
        connect(cell, &CElementCellButton::doubleClicked, this, [this, z] { OnCellDoubleClicked(z); });
        m_cells[static_cast<std::size_t>(z)] = cell;
    }
    m_largeCell = new CElementValueButton(this);
    m_largeCell->setGeometry(units.Rect(40, 188, 40, 40));
    m_infoArea = new CElementInfoArea(this);
    m_infoArea->setGeometry(units.Rect(98, 178, 181, 66));
    m_infoButton = new CLabelButton(this);
    m_infoButton->Setup(CColor(192, 192, 192), CColor(192, 192, 192), true, std::string());
    m_infoButton->Setup(GetNamedColor("elv_infobut"), GetNamedColor("elv_bkg"), true, "Information");
    m_infoButton->setGeometry(units.Rect(289, 196, 56, 24));
    connect(m_infoButton, &QAbstractButton::clicked, this, [this] { RunCommand(CmdElementEditInformation); });
    m_helpButton = new QPushButton(QStringLiteral("?"), this);
    m_helpButton->setObjectName(QString::number(kHelpButtonId));
    m_helpButton->setFocusPolicy(Qt::NoFocus);
    m_helpButton->setGeometry(units.Rect(334, 228, 14, 14));
    connect(m_helpButton, &QPushButton::clicked, this, [this] { RunCommand(CmdElementHelpButton); });
}

CElementCellButton* CElementsView::Cell(int z) const
{
    return z >= 1 && z < kElementCount ? m_cells[static_cast<std::size_t>(z)] : nullptr;
}

CElementsDoc* CElementsView::ElementsDoc() const
{
    return dynamic_cast<CElementsDoc*>(GetDocument());
}

// --- showing ------------------------------------------------------------------------------------

void CElementsView::OnInitialUpdate()
{
    if (CElementsDoc* doc = ElementsDoc())
        SetCaption(doc->GetDatabaseName());
    // The frame already stands at the next cascade position; it is fitted to the form and
    // waits minimised until the user wants it.
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame())) {
        frame->resize(kFirstFrameWidth, kFirstFrameHeight);
        frame->resize(frame->sizeHint());
        frame->showMinimized();
    }
    SelectElement(kStartElement, kStartElement);
}

void CElementsView::SetCaption(const std::string& caption)
{
    setWindowTitle(FromCp1252(caption));
    SetDocumentCaption(*this, caption);
}

void CElementsView::BringForward()
{
    if (CFrameHost* frame = GetFrame()) {
        frame->MinimizeFrame();
        frame->ActivateFrame();
    }
}

void CElementsView::RepaintAll()
{
    update();
    for (QWidget* part : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        part->update();
}

void CElementsView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this)
        return;
    if (!hint) {
        RepaintAll();
        return;
    }
    switch (hint->m_nCode) {
    case HintElementsReplaced:
        RepaintAll();
        if (CElementsDoc* doc = ElementsDoc())
            SetCaption(doc->GetDatabaseName());
        break;
    case HintElementChanged:
        // Changes made elsewhere (the document's own reverts) show at once too.
        RepaintAll();
        break;
    case HintBringFrameForward:
        BringForward();
        break;
    case HintBringFrameForwardWithNotes:
        BringForward();
        OnDatabaseNotes();
        break;
    default:
        break;
    }
}

void CElementsView::SelectElement(int oldZ, int newZ)
{
    if (CElementCellButton* cell = Cell(oldZ))
        cell->PaintCell(0);
    if (CElementCellButton* cell = Cell(newZ))
        cell->PaintCell(1);
    m_selZ = newZ;
    m_largeCell->SetElement(newZ);
    m_infoArea->SetElement(newZ);
    m_largeCell->PaintCell();
    m_infoArea->Paint();
}

void CElementsView::OnCellClicked(int z)
{
    SelectElement(m_selZ, z);
}

void CElementsView::OnCellDoubleClicked(int z)
{
    if (z != m_selZ)
        SelectElement(m_selZ, z);
    RunCommand(CmdElementEditInformation);
}

void CElementsView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(GetNamedColor("elv_bkg")));
}

// --- keys and moves -----------------------------------------------------------------------------

int CElementsView::MoveTarget(int z, unsigned command)
{
    switch (command) {
    case CmdElementMoveLeft:
        return z >= 2 ? z - 1 : z;
    case CmdElementMoveRight:
        return z < kElementCount - 1 ? z + 1 : z;
    case CmdElementMoveDown:
        if (z == 1)
            return 3;
        if (z >= 2 && z <= 12)
            return z + 8;
        if (z >= 13 && z <= 39)
            return z + 18;
        if (z >= 40 && z <= 71)
            return z + 32;
        return z;
    case CmdElementMoveUp:
        if (z == 3)
            return 1;
        if (z >= 10 && z <= 20)
            return z - 8;
        if (z >= 31 && z <= 57)
            return z - 18;
        if (z >= 72 && z <= 103)
            return z - 32;
        return z;
    default:
        return z;
    }
}

void CElementsView::OnMove(unsigned command)
{
    const int target = MoveTarget(m_selZ, command);
    if (target != m_selZ)
        SelectElement(m_selZ, target);
}

void CElementsView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    unsigned command = 0;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Up: command = CmdElementMoveUp; break;
        case Qt::Key_Down: command = CmdElementMoveDown; break;
        case Qt::Key_Left: command = CmdElementMoveLeft; break;
        case Qt::Key_Right: command = CmdElementMoveRight; break;
        default: break;
        }
    } else if (modifiers == Qt::ShiftModifier) {
        // The menu's shortcuts take these first; without a menu bar they arrive here.
        if (event->key() == Qt::Key_Right)
            command = CmdElementChangeRole;
        else if (event->key() == Qt::Key_Left)
            command = CmdElementRevertRole;
    }
    if (command == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    RunCommand(command);
}

// --- commands -----------------------------------------------------------------------------------

bool CElementsView::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdElementRevertRole:
        ui.Enable(CanRevertRole());
        return true;
    case CmdElementEditInformation:
    case CmdElementRevertAll:
    case CmdElementChangeRole:
    case CmdElementMoveUp:
    case CmdElementMoveDown:
    case CmdElementMoveRight:
    case CmdElementMoveLeft:
    case CmdElementDatabaseNotes:
    case CmdElementPrintSelected:
    case CmdElementPreviewSelected:
    case CmdElementWriteSelected:
    case CmdElementPrintList:
    case CmdElementPreviewList:
    case CmdElementWriteList:
    case CmdElementMerge:
    case CmdElementFilePrint:
    case CmdElementHelp:
    case CmdElementHelpButton:
    case CmdElementContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

bool CElementsView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdElementChangeRole: OnChangeRole(); return true;
    case CmdElementRevertRole: OnRevertRole(); return true;
    case CmdElementRevertAll: OnRevertAll(); return true;
    case CmdElementEditInformation: OnEditInformation(); return true;
    case CmdElementDatabaseNotes: OnDatabaseNotes(); return true;
    case CmdElementMoveUp:
    case CmdElementMoveDown:
    case CmdElementMoveRight:
    case CmdElementMoveLeft: OnMove(id); return true;
    case CmdElementPrintSelected:
    case CmdElementPreviewSelected:
    case CmdElementWriteSelected:
    case CmdElementPrintList:
    case CmdElementPreviewList:
    case CmdElementWriteList:
    case CmdElementFilePrint: RunPrint(id); return true;
    case CmdElementMerge: return true; // an elements database has nothing to merge
    case CmdElementHelp:
    case CmdElementHelpButton:
    case CmdElementContextHelp: ShowDialogHelp(kElementsHelpId); return true;
    default: return false;
    }
}

bool CElementsView::RunCommand(unsigned id)
{
    return CMDIMainFrame::RunViewCommand(*this, id);
}
