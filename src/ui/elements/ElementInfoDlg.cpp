#include "elements/ElementInfoDlg.h"

#include "elements/ElementRecord.h"
#include "framework/Cp1252.h"
#include "support/NotesEdit.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "support/PlainTextEditLines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>

#include <cfloat>

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr double kUnknownCoefficient = -999.0;

struct CRoleItem {
    const char* text;
    std::int32_t role;
};

constexpr CRoleItem kRoleItems[kElementRoleItemCount] = {
    {"Alkali", kRoleAlkali},
    {"Alkali (amphoteric)", kRoleAlkali | kRoleAmphoteric},
    {"Neutral", kRoleNeutral},
    {"Acid", kRoleAcid},
    {"Acid (amphoteric)", kRoleAcid | kRoleAmphoteric},
    {"Volatile", kRoleVolatile},
    {"Not expected in ceramic materials", kRoleNotExpected},
};

// Layout of the dialog, in dialog units.
constexpr int kDialogWidth = 356;
constexpr int kDialogHeight = 302;
constexpr int kDefaultButtonX = 297;
constexpr int kDefaultButtonWidth = 52;
constexpr int kRowHeight = 12;

std::string CountPart(const std::string& text, int count)
{
    if (count <= 0)
        return std::string();
    return count == 1 ? text : text + std::to_string(count);
}

// One step up or down; a count already beyond a bound (an element file may hold up to 99) is
// never pushed further out, nor jumped back.
void StepCount(int& count, int delta, int minimum)
{
    if ((delta > 0 && count < CElementInfoDlg::kMaxCount) || (delta < 0 && count > minimum))
        count += delta;
}

void LoadNotesBox(CNotesEdit& box, const CStringArrayEx& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    box.setPlainText(EditTextFromCore(text));
    box.moveCursor(QTextCursor::Start);
    box.ensureCursorVisible();
    box.document()->setModified(false);
}

} // namespace

int ElementRoleToIndex(std::int32_t role)
{
    const std::int32_t alkaliBits = role & (kRoleAlkali | kRoleAmphoteric);
    const std::int32_t acidBits = role & (kRoleAcid | kRoleAmphoteric);
    if (alkaliBits == kRoleAlkali)
        return 0;
    if (alkaliBits == (kRoleAlkali | kRoleAmphoteric))
        return 1;
    if (role & kRoleNeutral)
        return 2;
    if (acidBits == (kRoleAcid | kRoleAmphoteric))
        return 4;
    if (acidBits == kRoleAcid)
        return 3;
    if (role & kRoleVolatile)
        return 5;
    return 6;
}

std::int32_t ElementRoleFromIndex(int index)
{
    return index >= 0 && index < kElementRoleItemCount ? kRoleItems[index].role : 0;
}

const char* ElementRoleItemText(int index)
{
    return index >= 0 && index < kElementRoleItemCount ? kRoleItems[index].text : "";
}

std::string ElementInfoOxideText(const std::string& symbol, int ncat, int nan)
{
    return CountPart(symbol, ncat) + CountPart("O", nan);
}

std::string CoefficientText(double value)
{
    return value >= -998.0 ? FormatDoubleShortest(value) : std::string("?");
}

double CoefficientFromText(const std::string& text)
{
    if (text.find('?') != std::string::npos)
        return kUnknownCoefficient;
    double value = 0.0;
    ReadNumberText(text, value);
    return value;
}

// --- construction -------------------------------------------------------------------------------

CElementInfoDlg::CElementInfoDlg(QWidget* parent, const std::string& caption, unsigned help)
    : CStyledDialog(parent, help), title(caption)
{
    backgroundColor = GetNamedColor("dlg_elinfo_bkg");
    CreateControls();
}

QPushButton* CElementInfoDlg::AddCommand(const QString& text, int id, int x, int y, int width, int height,
                                         void (CElementInfoDlg::*handler)())
{
    QPushButton* button = AddButton(text, id, x, y, width, height);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void CElementInfoDlg::CreateOxideRow(int y, int oxideId, int firstLabelId, bool reduction)
{
    auto* oxide = new QLabel(this);
    SetControlId(oxide, oxideId);
    oxide->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    oxide->setTextFormat(Qt::PlainText);
    PlaceDlu(oxide, 62, y, 56, kRowHeight);
    auto* ncatLabel = new QLabel(QStringLiteral("? :"), this);
    SetControlId(ncatLabel, firstLabelId);
    ncatLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceDlu(ncatLabel, 122, y, 22, kRowHeight);
    auto* nanLabel = new QLabel(QStringLiteral("O :"), this);
    SetControlId(nanLabel, firstLabelId + 3);
    nanLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceDlu(nanLabel, 180, y, 22, kRowHeight);
    using Handler = void (CElementInfoDlg::*)();
    const Handler handlers[2][4] = {
        {&CElementInfoDlg::OnNcatPlus, &CElementInfoDlg::OnNcatMinus, &CElementInfoDlg::OnNanPlus,
         &CElementInfoDlg::OnNanMinus},
        {&CElementInfoDlg::OnNcatRedPlus, &CElementInfoDlg::OnNcatRedMinus, &CElementInfoDlg::OnNanRedPlus,
         &CElementInfoDlg::OnNanRedMinus},
    };
    const Handler* row = handlers[reduction ? 1 : 0];
    AddCommand(QStringLiteral("+"), firstLabelId + 1, 146, y, 14, kRowHeight, row[0]);
    AddCommand(QStringLiteral("-"), firstLabelId + 2, 161, y, 14, kRowHeight, row[1]);
    AddCommand(QStringLiteral("+"), firstLabelId + 4, 204, y, 14, kRowHeight, row[2]);
    AddCommand(QStringLiteral("-"), firstLabelId + 5, 219, y, 14, kRowHeight, row[3]);
    AddCommand(QStringLiteral("Set Default"), firstLabelId + 6, kDefaultButtonX, y, kDefaultButtonWidth, kRowHeight,
               reduction ? &CElementInfoDlg::OnOxideRedDefault : &CElementInfoDlg::OnOxideDefault);
}

void CElementInfoDlg::CreateCoefficientRow(int y, const char* label, int editId, int defaultId)
{
    PlaceDlu(new QLabel(QString::fromLatin1(label), this), 7, y + 2, 80, 8);
    auto* edit = new QLineEdit(this);
    SetControlId(edit, editId);
    PlaceDlu(edit, 90, y, 50, kRowHeight);
    void (CElementInfoDlg::*handler)() = &CElementInfoDlg::OnExpansionDefault;
    if (defaultId == IdViscosityDefault)
        handler = &CElementInfoDlg::OnViscosityDefault;
    else if (defaultId == IdSurfaceTensionDefault)
        handler = &CElementInfoDlg::OnSurfaceTensionDefault;
    AddCommand(QStringLiteral("Set Default"), defaultId, kDefaultButtonX, y, kDefaultButtonWidth, kRowHeight, handler);
}

void CElementInfoDlg::CreateControls()
{
    ResizeDlu(kDialogWidth, kDialogHeight);
    PlaceDlu(new QLabel(QStringLiteral("Oxide :"), this), 7, 9, 50, 8);
    CreateOxideRow(7, IdOxide, IdNcatLabel, false);

    PlaceDlu(new QLabel(QStringLiteral("Ceramic Role :"), this), 7, 26, 54, 8);
    auto* role = new QComboBox(this);
    SetControlId(role, IdRole);
    PlaceDlu(role, 62, 24, 171, kRowHeight + 2);
    AddCommand(QStringLiteral("Set Default"), IdRoleDefault, kDefaultButtonX, 24, kDefaultButtonWidth, kRowHeight,
               &CElementInfoDlg::OnRoleDefault);

    auto* difOx = new QCheckBox(QStringLiteral("Different oxide in reduction :"), this);
    SetControlId(difOx, IdDifOxInRed);
    PlaceDlu(difOx, 7, 46, 150, 10);
    connect(difOx, &QCheckBox::clicked, this, &CElementInfoDlg::OnDifOxInRed);
    CreateOxideRow(60, IdOxideRed, IdNcatRedLabel, true);

    auto* roleRedLabel = new QLabel(QStringLiteral("Ceramic Role :"), this);
    SetControlId(roleRedLabel, IdRoleRedLabel);
    PlaceDlu(roleRedLabel, 7, 79, 54, 8);
    auto* roleRed = new QComboBox(this);
    SetControlId(roleRed, IdRoleRed);
    PlaceDlu(roleRed, 62, 77, 171, kRowHeight + 2);
    AddCommand(QStringLiteral("Set Default"), IdRoleRedDefault, kDefaultButtonX, 77, kDefaultButtonWidth,
               kRowHeight, &CElementInfoDlg::OnRoleRedDefault);
    for (QComboBox* box : {role, roleRed}) {
        for (int index = 0; index < kElementRoleItemCount; ++index)
            box->addItem(QString::fromLatin1(ElementRoleItemText(index)));
    }

    CreateCoefficientRow(100, "Expansion :", IdExpansion, IdExpansionDefault);
    auto* unusualBox = new QCheckBox(QStringLiteral("Causes unusual expansion effects"), this);
    SetControlId(unusualBox, IdUnusual);
    PlaceDlu(unusualBox, 146, 101, 148, 10);
    CreateCoefficientRow(117, "Viscosity :", IdViscosity, IdViscosityDefault);
    CreateCoefficientRow(134, "Surface tension :", IdSurfaceTension, IdSurfaceTensionDefault);

    PlaceDlu(new QLabel(QStringLiteral("Notes to print with glaze report :"), this), 7, 153, 200, 8);
    auto* annotationBox = new CNotesEdit(this);
    SetControlId(annotationBox, IdAnnotations);
    PlaceDlu(annotationBox, 7, 163, 342, 44);
    PlaceDlu(new QLabel(QStringLiteral("Notes :"), this), 7, 211, 100, 8);
    auto* notesBox = new CNotesEdit(this);
    SetControlId(notesBox, IdNotes);
    PlaceDlu(notesBox, 7, 221, 342, 56);

    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 7, 282, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 242, 282, 50, 14);
    AddHelpButton(329, 282, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CElementInfoDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CElementInfoDlg::reject);
}

// --- controls -----------------------------------------------------------------------------------

QWidget* CElementInfoDlg::Control(int id) const
{
    return findChild<QWidget*>(QString::number(id));
}

QPushButton* CElementInfoDlg::Button(int id) const
{
    return qobject_cast<QPushButton*>(Control(id));
}

QLineEdit* CElementInfoDlg::Edit(int id) const
{
    return qobject_cast<QLineEdit*>(Control(id));
}

QComboBox* CElementInfoDlg::Combo(int id) const
{
    return qobject_cast<QComboBox*>(Control(id));
}

QCheckBox* CElementInfoDlg::Check(int id) const
{
    return qobject_cast<QCheckBox*>(Control(id));
}

QLabel* CElementInfoDlg::Label(int id) const
{
    return qobject_cast<QLabel*>(Control(id));
}

CNotesEdit* CElementInfoDlg::NotesBox(int id) const
{
    return qobject_cast<CNotesEdit*>(Control(id));
}

void CElementInfoDlg::OnInitDialog()
{
    setWindowTitle(FromCp1252(title));
    for (int id : {IdNotes, IdAnnotations})
        NotesBox(id)->setFont(EditBoxFont(NotesBox(id)->font()));
    LoadControls();
}

void CElementInfoDlg::LoadControls()
{
    LoadNotesBox(*NotesBox(IdNotes), notes);
    LoadNotesBox(*NotesBox(IdAnnotations), annotations);
    const QString countLabel = FromCp1252(symbol + " :");
    Label(IdNcatLabel)->setText(countLabel);
    Label(IdNcatRedLabel)->setText(countLabel);
    Combo(IdRole)->setCurrentIndex(roleIndex);
    Combo(IdRoleRed)->setCurrentIndex(roleRedIndex);
    Check(IdDifOxInRed)->setChecked(difOxInRed != 0);
    Check(IdUnusual)->setChecked(unusual != 0);
    LoadCoefficients();
    UpdateOxideText();
    UpdateReductionRow();
}

void CElementInfoDlg::LoadCoefficients()
{
    Edit(IdExpansion)->setText(FromCp1252(CoefficientText(expansion)));
    Edit(IdViscosity)->setText(FromCp1252(CoefficientText(viscosity)));
    Edit(IdSurfaceTension)->setText(FromCp1252(CoefficientText(stension)));
}

void CElementInfoDlg::UpdateOxideText()
{
    Label(IdOxide)->setText(FromCp1252(ElementInfoOxideText(symbol, ncat, nan)));
    const std::string reduction = difOxInRed ? ElementInfoOxideText(symbol, ncatred, nanred) : std::string();
    Label(IdOxideRed)->setText(FromCp1252(reduction));
}

// The reduction row follows the check box; its role and that role's Set Default stay usable.
void CElementInfoDlg::UpdateReductionRow()
{
    for (int id : {IdOxideRed, IdNcatRedLabel, IdNanRedLabel, IdNcatRedPlus, IdNcatRedMinus, IdNanRedPlus,
                   IdNanRedMinus, IdOxideRedDefault, IdRoleRedLabel})
        Control(id)->setEnabled(difOxInRed != 0);
}

void CElementInfoDlg::SaveControls()
{
    roleIndex = Combo(IdRole)->currentIndex();
    roleRedIndex = Combo(IdRoleRed)->currentIndex();
    difOxInRed = Check(IdDifOxInRed)->isChecked() ? 1 : 0;
    unusual = Check(IdUnusual)->isChecked() ? 1 : 0;
    expansion = CoefficientFromText(ToCp1252(Edit(IdExpansion)->text()));
    viscosity = CoefficientFromText(ToCp1252(Edit(IdViscosity)->text()));
    stension = CoefficientFromText(ToCp1252(Edit(IdSurfaceTension)->text()));
    ReadWholeEditLines(*NotesBox(IdAnnotations), annotations);
    ReadWholeEditLines(*NotesBox(IdNotes), notes);
}

void CElementInfoDlg::accept()
{
    InitDialog();
    // A coefficient is a number, or unknown ("?"): "1,5" is refused, not saved as 1.
    for (int id : {IdExpansion, IdViscosity, IdSurfaceTension}) {
        if (ToCp1252(Edit(id)->text()).find('?') == std::string::npos && !CheckOptionalNumberField(Edit(id), DBL_MAX))
            return;
    }
    SaveControls();
    CStyledDialog::accept();
}

// --- buttons ------------------------------------------------------------------------------------

void CElementInfoDlg::OnNcatPlus() { StepCount(ncat, 1, 1); UpdateOxideText(); }
void CElementInfoDlg::OnNcatMinus() { StepCount(ncat, -1, 1); UpdateOxideText(); }
void CElementInfoDlg::OnNanPlus() { StepCount(nan, 1, 0); UpdateOxideText(); }
void CElementInfoDlg::OnNanMinus() { StepCount(nan, -1, 0); UpdateOxideText(); }
void CElementInfoDlg::OnNcatRedPlus() { StepCount(ncatred, 1, 1); UpdateOxideText(); }
void CElementInfoDlg::OnNcatRedMinus() { StepCount(ncatred, -1, 1); UpdateOxideText(); }
void CElementInfoDlg::OnNanRedPlus() { StepCount(nanred, 1, 0); UpdateOxideText(); }
void CElementInfoDlg::OnNanRedMinus() { StepCount(nanred, -1, 0); UpdateOxideText(); }

void CElementInfoDlg::OnOxideDefault()
{
    ncat = defaultNcat;
    nan = defaultNan;
    UpdateOxideText();
}

void CElementInfoDlg::OnOxideRedDefault()
{
    ncatred = defaultNcatred;
    nanred = defaultNanred;
    UpdateOxideText();
}

void CElementInfoDlg::OnRoleDefault()
{
    roleIndex = defaultRoleIndex;
    Combo(IdRole)->setCurrentIndex(roleIndex);
}

void CElementInfoDlg::OnRoleRedDefault()
{
    roleRedIndex = defaultRoleRedIndex;
    Combo(IdRoleRed)->setCurrentIndex(roleRedIndex);
}

void CElementInfoDlg::OnExpansionDefault()
{
    expansion = defaultExpansion;
    unusual = defaultUnusual;
    Edit(IdExpansion)->setText(FromCp1252(CoefficientText(expansion)));
    Check(IdUnusual)->setChecked(unusual != 0);
}

void CElementInfoDlg::OnViscosityDefault()
{
    viscosity = defaultViscosity;
    Edit(IdViscosity)->setText(FromCp1252(CoefficientText(viscosity)));
}

void CElementInfoDlg::OnSurfaceTensionDefault()
{
    stension = defaultStension;
    Edit(IdSurfaceTension)->setText(FromCp1252(CoefficientText(stension)));
}

void CElementInfoDlg::OnDifOxInRed()
{
    difOxInRed = Check(IdDifOxInRed)->isChecked() ? 1 : 0;
    UpdateReductionRow();
    UpdateOxideText();
}
