// The editor's pages 1 to 4 at work: their notifications, the enabled states and captions that
// follow the graph type and the 3-D and manual-axis switches, the title boxes and the background
// image question.

#include "graphs/GraphTypeEditView.h"

#include "framework/Cp1252.h"
#include "framework/Cp1252Fields.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "graphs/GraphTypeTable.h"
#include "support/NotesEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <initializer_list>

namespace {

// Switches whose state decides which other controls are enabled.
constexpr int kStateSwitches[] = {kGe3D, kGeTrue3D, kGePerspective, kGeXManual, kGeYManual, kGeZManual};

// The title boxes and the radio groups they belong to.
const std::pair<int, int> kTitleBoxes[] = {
    {kGeTitleTop, kGeTitleTopAuto},
    {kGeTitleLeft, kGeTitleLeftAuto},
    {kGeTitleRight, kGeTitleRightAuto},
    {kGeTitleBottom, kGeTitleBottomAuto},
};

bool IsOneOf(int type, std::initializer_list<int> types)
{
    for (int each : types) {
        if (each == type)
            return true;
    }
    return false;
}

void SetCaptionOf(QWidget* control, const char* text)
{
    const QString caption = QString::fromLatin1(text);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(caption);
}

} // namespace

void CGraphTypeEditView::ConnectPages()
{
    const auto modified = [this] { MarkModified(); };
    for (const auto& [id, control] : m_controls) {
        if (id == kGeTextSize || id == kGeDsName || id == kGeLimit)
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(control); edit && id < kGeDsAdd)
            connect(edit, &QLineEdit::textEdited, this, modified);
        if (auto* check = qobject_cast<QCheckBox*>(control); check && id < kGeDsAdd)
            connect(check, &QCheckBox::clicked, this, modified);
    }
    for (const auto& [groupId, group] : m_radioGroups) {
        if (groupId < kGeDsAdd)
            connect(group, &QButtonGroup::idClicked, this, modified);
    }
    for (int id : kStateSwitches)
        connect(Ctl<QCheckBox>(id), &QCheckBox::clicked, this, [this] { UpdateControlStates(); });
    for (const auto& [boxId, groupId] : kTitleBoxes)
        connect(Ctl<QLineEdit>(boxId), &QLineEdit::textEdited, this, [this, groupId] { OnTitleEdited(groupId); });
    connect(Ctl<QComboBox>(kGeType), &QComboBox::activated, this, [this] { OnTypeChosen(); });
    connect(Ctl<QPlainTextEdit>(kGeNotes), &QPlainTextEdit::textChanged, this, [this] {
        if (!m_bLoading)
            MarkModified();
    });
    connect(Ctl<QPushButton>(kGeNotesButton), &QPushButton::clicked, this, [this] { EditNotes(); });
    ConnectStylePage();
    ConnectDataPages();
}

void CGraphTypeEditView::ConnectStylePage()
{
    connect(Ctl<QListWidget>(kGeTextGroups), &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_bLoading)
            ShowTextGroup(row);
    });
    connect(Ctl<QComboBox>(kGeTextFamily), &QComboBox::activated, this, [this] { StoreTextStyle(); });
    connect(Ctl<QComboBox>(kGeTextStyle), &QComboBox::activated, this, [this] { StoreTextStyle(); });
    connect(Ctl<QLineEdit>(kGeTextSize), &QLineEdit::textEdited, this, [this] { StoreTextStyle(); });
    connect(Ctl<QListWidget>(kGeFields), &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_bLoading)
            MarkModified();
    });
    for (int id : {kGeScatterX, kGeScatterY, kGeScatterZ, kGeHistogramX})
        connect(Ctl<QComboBox>(id), &QComboBox::activated, this, [this] { MarkModified(); });
    QComboBox* limit = Ctl<QComboBox>(kGeLimit);
    connect(limit, &QComboBox::editTextChanged, this, [this] {
        if (!m_bLoading)
            MarkModified();
    });
    connect(Ctl<QPushButton>(kGeImageBrowse), &QPushButton::clicked, this, [this] { BrowseImage(); });
}

void CGraphTypeEditView::OnTitleEdited(int radioGroupId)
{
    if (m_bLoading)
        return;
    if (RadioValue(radioGroupId) != 1)
        SetRadioValue(radioGroupId, 1);
    MarkModified();
}

bool CGraphTypeEditView::HandleTitleFocus(QObject* watched)
{
    for (const auto& [boxId, groupId] : kTitleBoxes) {
        if (watched == Control(boxId)) {
            // Clicking into a title box means a title of one's own.
            if (!m_bLoading && RadioValue(groupId) != 1)
                OnTitleEdited(groupId);
            return true;
        }
    }
    return false;
}

void CGraphTypeEditView::OnTypeChosen()
{
    const QComboBox* types = Ctl<QComboBox>(kGeType);
    if (types->currentIndex() < 0)
        return;
    m_template.type = types->currentData().toInt();
    UpdateControlStates();
    UpdateCaption();
    MarkModified();
}

void CGraphTypeEditView::BrowseImage()
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Background Image";
    request.filter = "Bitmap Files (*.bmp)|*.bmp|Bitmap Files (*.dib)|*.dib|All Files (*.*)|*.*||";
    request.flags = FileDlgHideReadOnly;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    // The template keeps the name as Windows-1252 text, which the chart turns back into the path.
    std::u32string outside;
    const std::string name = Cp1252FromFileName(answer.paths.front(), outside);
    if (!outside.empty()) {
        AppMessageBox(RefusedCharactersMessage(NameCharacters(outside)), MsgOk | MsgIconExclamation, 0);
        return;
    }
    SetText(kGeImage, name);
    MarkModified();
}

// --- enabled states -------------------------------------------------------------------------------

void CGraphTypeEditView::EnableWithBuddy(int id, bool enable)
{
    if (QWidget* control = Control(id))
        control->setEnabled(enable);
    if (const auto it = m_buddies.find(id); it != m_buddies.end())
        it->second->setEnabled(enable);
}

void CGraphTypeEditView::UpdateControlStates()
{
    const QComboBox* types = Ctl<QComboBox>(kGeType);
    const int t = types->currentIndex() >= 0 ? types->currentData().toInt() : m_template.type;
    const GraphTypeInfo* info = GetGraphTypeInfo(t);
    const bool p = info && info->pie, b = info && info->bar, s = info && info->axes;
    const bool o = info && info->oxides, l = info && info->limit, one = info && info->one;
    const bool d3 = Checked(kGe3D), t3 = Checked(kGeTrue3D), pe = Checked(kGePerspective);
    const bool xm = Checked(kGeXManual), ym = Checked(kGeYManual), zm = Checked(kGeZManual);
    const bool cage = (d3 && b && t3) || t == 23;
    const auto set = [this](std::initializer_list<int> ids, bool enable) {
        for (int id : ids)
            EnableWithBuddy(id, enable);
    };
    set({kGeLabels, kGeMono}, true);
    set({kGeGridX}, !p);
    set({kGeGridY}, !p && t != 24);
    set({kGeHorizontalBars}, b || l);
    set({kGeBarWidthLabel, kGeBarWidth}, (b && !d3) || l);
    set({kGe3D}, p || b);
    set({kGeTrue3D, kGeBarWidth3DLabel, kGeBarWidth3D}, d3 && b);
    set({kGeBarDepthLabel, kGeBarDepth}, d3 && b && t3);
    set({kGePerspective, kGeCageFlip, kGeRotationLabel, kGeRotation}, cage);
    set({kGeThinCage}, (d3 && b) || t == 23);
    set({kGeThicknessLabel, kGeThickness}, (d3 && (p || b)) || t == 23);
    set({kGeElevationLabel, kGeElevation}, (d3 && (p || b) && t3) || t == 23);
    set({kGeDistanceLabel, kGeDistance}, cage && pe);
    set({kGeBorders}, ((p || b) && !d3) || t == 16 || t == 17 || l);
    set({kGePareto}, (one && (p || b)) || t == 11 || t == 12);
    set({kGeReverse}, p || b || t == 17);
    set({kGeAutoColors}, IsOneOf(t, {3, 6, 18, 20, 21}));
    set({kGeSticks}, t == 23);
    set({kGeSymbolSizeLabel, kGeSymbolSize}, s || l);
    set({kGeNoLegend}, IsOneOf(t, {3, 6, 13, 15, 16, 18, 19, 20, 21, 22, 23, 24}));
    set({kGeXAxisBox, kGeXManual}, !p && !l);
    set({kGeXMin, kGeXMax, kGeXTicks}, !p && xm && !l);
    set({kGeXMinorTicks}, !p && xm && t != 24 && !l);
    set({kGeXBottom, kGeXTop, kGeYLeft, kGeYRight}, !p && t != 23 && t != 24 && !l);
    set({kGeXVertical}, !p && t != 24 && !l);
    set({kGeYAxisBox, kGeYManual, kGeTicksInside, kGeTicksAcross, kGeTicksOutside}, !p);
    set({kGeYMin}, ym && !p && !l);
    set({kGeYMax, kGeYMinorTicks}, ym && !p && t != 24 && !l);
    set({kGeYTicks}, ym && !p && t != 24);
    set({kGeZAxisBox, kGeZManual}, t == 23);
    set({kGeZMin, kGeZMax, kGeZTicks, kGeZMinorTicks}, zm && t == 23);
    set({kGeFieldsLabel, kGeFields}, (p || b || t == 17) && o);
    set({kGeAllBars}, (b || t == 17) && o);
    set({kGeScatterBox, kGeScatterXLabel, kGeScatterYLabel, kGeScatterX, kGeScatterY}, s && o);
    set({kGeScatterZLabel, kGeScatterZ}, (t == 23 || t == 24) && o);
    set({kGeUnitsUnity, kGeUnitsWeight, kGeUnitsMolecular}, o && !l);
    set({kGeHistogramBox, kGeHistogramXLabel, kGeHistogramX, kGeHistogramMinLabel, kGeHistogramMin,
         kGeHistogramMaxLabel, kGeHistogramMax, kGeHistogramPercent, kGeHistogramStepsLabel, kGeHistogramSteps},
        t == 16);
    set({kGeImageLabel, kGeImage, kGeImageBrowse}, t == 22 || t == 24);
    set({kGeLimitLabel, kGeLimit}, l);
    UpdateStateCaptions(t);
}

void CGraphTypeEditView::UpdateStateCaptions(int type)
{
    const GraphTypeInfo* info = GetGraphTypeInfo(type);
    const bool pie = info && info->pie;
    const bool triaxial = type == kGraphTriaxial;
    SetCaptionOf(Control(kGeLabels), pie ? "Segment Labels" : "Axis Labels");
    SetCaptionOf(Control(kGeGridX), triaxial ? "Grid" : "X Grid");
    SetCaptionOf(Control(kGeThicknessLabel), triaxial ? "X/Y Scale (10-200)" : "Thickness (10-200)");
    SetCaptionOf(Control(kGeBorders), type == kGraphHistogram ? "Area Borders" : "Bar/Segment Borders");
    SetCaptionOf(Control(kGeXAxisBox), triaxial ? "Bottom Axis" : "X Axis");
    SetCaptionOf(Control(kGeYAxisBox), triaxial ? "Left Axis" : "Y Axis");
    SetCaptionOf(Control(kGeScatterXLabel), triaxial ? "Lower right corner :" : "X Axis :");
    SetCaptionOf(Control(kGeScatterYLabel), triaxial ? "Top corner :" : "Y Axis :");
    SetCaptionOf(Control(kGeScatterZLabel), triaxial ? "Lower left corner :" : "Z Axis :");
    SetCaptionOf(Control(kGeDsSpecificGlazes), info && info->one ? "Specific glaze :" : "Specific glazes :");
}
